#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, the shipped
# i686 Quandrel.exe with its import check, then the Windows tests and
# end-to-end tests under Wine (Xvfb display and a fresh Wine prefix of this
# run's own). They run on the i686 build where this machine can run 32-bit
# programs, else on the x86_64 build; both builds are compiled whole.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh

echo "== native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== fuzzing the settings codec (60 s)"
tools/fuzz.sh 60

echo "== Windows builds"
cmake --preset windows-i686 >/dev/null
cmake --build --preset windows-i686
tools/check-imports.sh build/windows-i686/Quandrel.exe
cmake --preset windows-x86_64 >/dev/null
cmake --build --preset windows-x86_64 --target Quandrel
tools/check-imports.sh build/windows-x86_64/Quandrel.exe

echo "== distribution package"
tools/package.sh --from build/windows-i686
tools/check-package.sh dist/Quandrel-*-win32.zip

if /usr/lib/wine/wine --version >/dev/null 2>&1; then arch=i686; else
  arch=x86_64
  echo "(this machine runs no 32-bit programs: the Wine tests use the x86_64 build)"
fi
echo "== Windows ($arch) tests under Wine"
cmake --build --preset "windows-$arch"
build=build/windows-$arch
rm -rf "$build/wineprefix" "$build/e2e" "$build/screenshots"
export QUANDREL_PREFIX=$PWD/$build/wineprefix
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
status=0
ctest --preset "windows-$arch" || status=$?
echo "== screen fit at 96, 144 and 192 DPI"
tools/dpi-check.sh "$arch" || status=1
tools/convert-screenshots.sh "$build/screenshots" || true
exit $status
