#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, then the
# Windows build's tests under Wine (Xvfb display and a fresh Wine prefix of
# this run's own), then a compile of the x86_64 build.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh

echo "== native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== Windows (i686) build and tests under Wine"
cmake --preset windows-i686 >/dev/null
cmake --build --preset windows-i686
rm -rf build/windows-i686/wineprefix build/windows-i686/e2e build/windows-i686/screenshots
export QUANDREL_PREFIX=$PWD/build/windows-i686/wineprefix
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
status=0
ctest --preset windows-i686 || status=$?
tools/convert-screenshots.sh build/windows-i686/screenshots || true

echo "== Windows (x86_64) compile check"
cmake --preset windows-x86_64 >/dev/null
cmake --build --preset windows-x86_64 --target Quandrel
exit $status
