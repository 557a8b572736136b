#!/usr/bin/env bash
# Tests the distribution zip as a user gets it: unpacks it and checks the file
# list, that Quandrel.exe is the stripped i686 program importing only system
# DLLs, and (tests/package, built by the native preset) its version resource,
# the sample settings file, the self-contained guide and that NOTICE.txt
# carries the licence of every runtime part the link maps of
# tools/package.sh name.
#   tools/check-package.sh dist/Quandrel-<version>-win32.zip
set -euo pipefail
cd "$(dirname "$0")/.."
zip_path=${1:?zip}
version=$(sed -n 's/^project(Quandrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=Quandrel-$version
[ "$(basename "$zip_path")" = "$name-win32.zip" ] || { echo "check-package: expected $name-win32.zip" >&2; exit 1; }

unpacked=build/package-check
rm -rf "$unpacked"
mkdir -p "$unpacked"
unzip -q "$zip_path" -d "$unpacked"

expected="$name/
$name/NOTICE.txt
$name/Quandrel-guide-ja.html
$name/Quandrel.INI
$name/Quandrel.exe"
listed=$(unzip -Z1 "$zip_path" | LC_ALL=C sort)
if [ "$listed" != "$expected" ]; then
  echo "check-package: the zip holds"; echo "$listed"; echo "instead of"; echo "$expected"
  exit 1
fi
if unzip -Z1 "$zip_path" | LC_ALL=C grep -q '[^ -~]'; then
  echo "check-package: a name in the zip is not ASCII"; exit 1
fi

exe=$unpacked/$name/Quandrel.exe
objdump=$(command -v i686-w64-mingw32-objdump || command -v x86_64-w64-mingw32-objdump)
"$objdump" -f "$exe" | grep -q 'file format pei-i386' || { echo "check-package: Quandrel.exe is not i686"; exit 1; }
"$objdump" -t "$exe" 2>&1 | grep -q 'no symbols' || { echo "check-package: Quandrel.exe is not stripped"; exit 1; }
tools/check-imports.sh "$exe"
cmp package/Quandrel.INI "$unpacked/$name/Quandrel.INI"

cmake --preset native >/dev/null
cmake --build --preset native --target package_tests
QUANDREL_PACKAGE_DIR=$PWD/$unpacked/$name QUANDREL_LINK_MAPS=$PWD/build/package-stage/link-maps \
  build/native/package_tests
echo "check-package: $zip_path is good"
