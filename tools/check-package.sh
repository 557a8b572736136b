#!/usr/bin/env bash
# Tests the distribution zip as a user gets it: unpacks it and checks the file
# list; that Quandrel.exe is the stripped x86_64 program and 32bit/Quandrel.exe
# the stripped i686 one, each importing only system DLLs; (tests/package,
# built by the native preset) their version resources, the sample settings
# file, the self-contained guide and that NOTICE.txt carries the licence of
# every runtime part the link maps kept by tools/package.sh name; and then
# starts the packaged programs themselves under Wine on a small database
# (tests/package/package_run_test, built by the windows-x86_64 preset): the
# i686 one only where this machine can start 32-bit programs.
#   tools/check-package.sh dist/Quandrel-<version>-win32.zip
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/facts.sh
source tools/facts.sh
zip_path=${1:?zip}
name=Quandrel-$(project_version)
[ "$(basename "$zip_path")" = "$name-win32.zip" ] || { echo "check-package: expected $name-win32.zip" >&2; exit 1; }

unpacked=build/package-check
rm -rf "$unpacked"
mkdir -p "$unpacked"
unzip -q "$zip_path" -d "$unpacked"

expected="$name/
$name/32bit/
$name/32bit/Quandrel.exe
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

objdump=$(command -v x86_64-w64-mingw32-objdump || command -v i686-w64-mingw32-objdump)
check_program() { # check_program PATH-IN-PACKAGE OBJDUMP-FORMAT ARCH
  local exe=$unpacked/$name/$1
  "$objdump" -f "$exe" | grep -q "file format $2\$" || { echo "check-package: $1 is not $3"; exit 1; }
  "$objdump" -t "$exe" 2>&1 | grep -q 'no symbols' || { echo "check-package: $1 is not stripped"; exit 1; }
  tools/check-imports.sh "$exe"
}
check_program Quandrel.exe pei-x86-64 x86_64
check_program 32bit/Quandrel.exe pei-i386 i686
cmp package/Quandrel.INI "$unpacked/$name/Quandrel.INI"

cmake --preset native >/dev/null
cmake --build --preset native --target package_tests
QUANDREL_PACKAGE_DIR=$PWD/$unpacked/$name QUANDREL_LINK_MAPS=$PWD/build/package-stage/link-maps \
  build/native/package_tests

echo "== the packaged programs under Wine"
cmake --preset windows-x86_64 >/dev/null
cmake --build --preset windows-x86_64 --target package_run_tests
if runs_32bit_programs; then runs32=1; else
  runs32=0
  echo "(this machine runs no 32-bit programs: 32bit/Quandrel.exe is checked above but not started)"
fi
wine_dir=$PWD/build/package-check-wine
rm -rf "$wine_dir"
# Everything the run needs goes onto the session's sandbox drive, so that its
# paths are short wherever the project is checked out.
mkdir -p "$wine_dir/e2e/tools"
cp -r "$unpacked/$name" "$wine_dir/e2e/package"
cp build/windows-x86_64/package_run_tests.exe build/windows-x86_64/standin_db.exe "$wine_dir/e2e/tools/"
(
  export QUANDREL_PREFIX=$wine_dir/prefix QUANDREL_SANDBOX=$wine_dir/e2e
  # shellcheck source=tools/wine-session.sh
  source tools/wine-session.sh
  QUANDREL_PACKAGE_WINDIR='S:\package' QUANDREL_STANDIN_DB='S:\tools\standin_db.exe' QUANDREL_RUNS_32BIT=$runs32 \
    tools/wine-exec.sh 'S:\tools\package_run_tests.exe' </dev/null
)
echo "check-package: $zip_path is good"
