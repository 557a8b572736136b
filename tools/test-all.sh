#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, the same
# tests under AddressSanitizer and UndefinedBehaviorSanitizer, both Windows
# builds, the distribution zip made of them and its check (which starts the
# packaged programs under Wine), then the Windows tests and end-to-end tests
# under Wine (Xvfb display and a fresh Wine prefix of this run's own) on the
# x86_64 build, the zip's Quandrel.exe. The i686 build, the zip's program for
# 32-bit Windows, is compiled whole with its tests; its packaged program is
# started where this machine can start 32-bit programs.
# Ends with the time each part took.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/facts.sh
source tools/facts.sh

timings=
part_name=
part_start=$SECONDS
part() { # part NAME: ends the running part and starts the next
  [ -n "$part_name" ] && timings+="  $part_name: $((SECONDS - part_start)) s"$'\n'
  part_name=$1
  part_start=$SECONDS
  [ "$1" = end ] || echo "== $1"
}

part "bootstrap"
tools/bootstrap.sh

part "native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

part "native build and unit tests under ASan and UBSan"
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan
ctest --preset native-asan

part "fuzzing the settings codec (60 s)"
tools/fuzz.sh 60

part "Windows builds"
cmake --preset windows-i686 >/dev/null
cmake --build --preset windows-i686
cmake --preset windows-x86_64 >/dev/null
cmake --build --preset windows-x86_64

part "distribution package"
tools/package.sh --from build/windows-x86_64 build/windows-i686
tools/check-package.sh "dist/Quandrel-$(project_version)-win32.zip"

part "Windows (x86_64) tests under Wine"
build=build/windows-x86_64
rm -rf "$build/wineprefix" "$build/e2e" "$build/screenshots"
export QUANDREL_PREFIX=$PWD/$build/wineprefix QUANDREL_SANDBOX=$PWD/$build/e2e
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
status=0
ctest --preset windows-x86_64 || status=$?
tools/convert-screenshots.sh "$build/screenshots" || true

part "screen fit at 96, 144 and 192 DPI"
tools/dpi-check.sh || status=1

part end
echo "== time taken"
printf '%s' "$timings"
exit $status
