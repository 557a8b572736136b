#!/usr/bin/env bash
# Builds the Windows distribution from clean trees of its own:
#   dist/Quandrel-<version>-win32.zip, holding in Quandrel-<version>/
#     Quandrel.exe            the x86_64 program, for 64-bit Windows (static,
#                             stripped): the build the end-to-end tests run
#     32bit/Quandrel.exe      the i686 program, for 32-bit Windows
#     Quandrel.INI            a sample settings file with every key
#     Quandrel-guide-ja.html  the user guide, its pictures inside it
#     NOTICE.txt              licence and the third-party parts built in
# The version comes from CMakeLists.txt alone.
#
#   tools/package.sh          clean builds in build/package-x86_64 and
#                             build/package-i686
#   tools/package.sh --from build/windows-x86_64 build/windows-i686
#                             package those trees' programs (the test run
#                             has just built them)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# shellcheck source=tools/facts.sh
source tools/facts.sh
tools/bootstrap.sh

version=$(project_version)
name=Quandrel-$version

if [ "${1:-}" = --from ]; then
  build64=${2:?x86_64 build tree}
  build32=${3:?i686 build tree}
  cmake --build "$build64" --target Quandrel
  cmake --build "$build32" --target Quandrel
else
  build64=build/package-x86_64
  build32=build/package-i686
  for arch in x86_64 i686; do
    echo "== clean $arch build of Quandrel $version"
    build=build/package-$arch
    rm -rf "$build"
    cmake --preset "windows-$arch" -B "$build" -DQUANDREL_TESTS=OFF >/dev/null
    cmake --build "$build" --target Quandrel -j 2
  done
fi
# Each program where the zip has its place for it, whatever the order given.
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v i686-w64-mingw32-objdump)
"$objdump" -f "$build64/Quandrel.exe" | grep -q 'file format pei-x86-64' ||
  { echo "package: $build64/Quandrel.exe is not the x86_64 program" >&2; exit 1; }
"$objdump" -f "$build32/Quandrel.exe" | grep -q 'file format pei-i386' ||
  { echo "package: $build32/Quandrel.exe is not the i686 program" >&2; exit 1; }
tools/check-imports.sh "$build64/Quandrel.exe"
tools/check-imports.sh "$build32/Quandrel.exe"

echo "== $name"
stage=build/package-stage/$name
rm -rf build/package-stage
mkdir -p "$stage/32bit"
cp "$build64/Quandrel.exe" "$stage/Quandrel.exe"
cp "$build32/Quandrel.exe" "$stage/32bit/Quandrel.exe"
# The linker's map of each packed program stays beside the stage (not in the
# zip): tools/check-package.sh holds NOTICE.txt to what they name.
mkdir -p build/package-stage/link-maps
cp "$build64/Quandrel.map" build/package-stage/link-maps/Quandrel.exe.map
cp "$build32/Quandrel.map" build/package-stage/link-maps/32bit-Quandrel.exe.map
cp package/Quandrel.INI "$stage/Quandrel.INI"
sed "s/@VERSION@/$version/g" package/NOTICE.txt | sed 's/$/\r/' >"$stage/NOTICE.txt"
tools/embed-pictures.sh docs/ja/guide.html "$version" >"$stage/Quandrel-guide-ja.html"

mkdir -p dist
zip_path=$root/dist/$name-win32.zip
rm -f "$zip_path"
# -X: no Unix extra fields; names are stored as given (all ASCII).
(cd build/package-stage && zip -q -X -r "$zip_path" "$name")
unzip -l "$zip_path"
echo "package: dist/$name-win32.zip"
