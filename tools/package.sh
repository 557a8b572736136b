#!/usr/bin/env bash
# Builds the Windows distribution from a clean tree of its own:
#   dist/Quandrel-<version>-win32.zip, holding in Quandrel-<version>/
#     Quandrel.exe            the i686 program (static, stripped)
#     Quandrel.INI            a sample settings file with every key
#     Quandrel-guide-ja.html  the user guide, its pictures inside it
#     NOTICE.txt              licence and the third-party parts built in
# The version comes from CMakeLists.txt alone.
#
#   tools/package.sh                        clean build in build/package-i686
#   tools/package.sh --from build/windows-i686   package that tree's program
#                                           (the test run has just built it)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools/bootstrap.sh

version=$(sed -n 's/^project(Quandrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }
name=Quandrel-$version

if [ "${1:-}" = --from ]; then
  build=${2:?build tree}
  cmake --build "$build" --target Quandrel
else
  echo "== clean i686 build of Quandrel $version"
  build=build/package-i686
  rm -rf "$build"
  cmake --preset windows-i686 -B "$build" -DQUANDREL_TESTS=OFF >/dev/null
  cmake --build "$build" --target Quandrel -j 2
fi
tools/check-imports.sh "$build/Quandrel.exe"

echo "== $name"
stage=build/package-stage/$name
rm -rf build/package-stage
mkdir -p "$stage"
cp "$build/Quandrel.exe" "$stage/Quandrel.exe"
# The linker's map of each packed program stays beside the stage (not in the
# zip): tools/check-package.sh holds NOTICE.txt to what it names.
mkdir -p build/package-stage/link-maps
cp "$build/Quandrel.map" build/package-stage/link-maps/Quandrel.exe.map
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
