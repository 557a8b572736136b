#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests, the same
# tests under AddressSanitizer and UndefinedBehaviorSanitizer, the shipped
# i686 Quandrel.exe with its import check, then the Windows tests and
# end-to-end tests under Wine (Xvfb display and a fresh Wine prefix of this
# run's own). They run on the i686 build where this machine can run 32-bit
# programs, else on the x86_64 build; both builds are compiled whole.
# Ends with the time each part took.
set -euo pipefail
cd "$(dirname "$0")/.."

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

if /usr/lib/wine/wine --version >/dev/null 2>&1; then arch=i686; else
  arch=x86_64
  echo "(this machine runs no 32-bit programs: the Wine tests use the x86_64 build)"
fi

part "fuzzing the settings codec (60 s)"
tools/fuzz.sh 60

part "Windows builds"
cmake --preset windows-i686 >/dev/null
cmake --build --preset windows-i686
tools/check-imports.sh build/windows-i686/Quandrel.exe
cmake --preset windows-x86_64 >/dev/null
cmake --build --preset windows-x86_64 --target Quandrel
tools/check-imports.sh build/windows-x86_64/Quandrel.exe

part "distribution package"
tools/package.sh --from build/windows-i686
tools/check-package.sh dist/Quandrel-*-win32.zip

cmake --build --preset "windows-$arch"

part "Windows ($arch) tests under Wine"
build=build/windows-$arch
rm -rf "$build/wineprefix" "$build/e2e" "$build/screenshots"
export QUANDREL_PREFIX=$PWD/$build/wineprefix QUANDREL_SANDBOX=$PWD/$build/e2e
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
status=0
ctest --preset "windows-$arch" || status=$?
tools/convert-screenshots.sh "$build/screenshots" || true

part "screen fit at 96, 144 and 192 DPI"
tools/dpi-check.sh "$arch" || status=1

part end
echo "== time taken"
printf '%s' "$timings"
exit $status
