#!/usr/bin/env bash
# Makes the user guide's pictures (docs/ja/images) afresh from one run staged
# the way an office sets Quandrel up (tests/win32/pictures/guide_pictures.cpp):
# C:\販売管理 with the settings file and the database データ\売上.mdb, a
# second drive E: for the backup, a desktop with a taskbar and the tray. It
# builds the x86_64 program, runs the scenes in a Wine virtual desktop of a
# fresh prefix and writes each picture the guide names; a picture the guide
# names that no scene made stops it with an error.
#   tools/update-guide-pictures.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh

build=build/windows-x86_64
cmake --preset windows-x86_64 >/dev/null
cmake --build --preset windows-x86_64 --target guide_pictures -j 2
shots=$build/screenshots
mkdir -p "$shots"
rm -f "$shots"/guide-*.bmp "$shots"/guide-*.png

prefix=$PWD/$build/wineprefix-pictures
rm -rf "$prefix"
(
  export QUANDREL_PREFIX=$prefix QUANDREL_SCREEN=1024x768x24
  # shellcheck source=tools/wine-session.sh
  source tools/wine-session.sh
  # An office desktop's colour, not black.
  timeout 60 "$QUANDREL_WINE" reg add 'HKCU\Control Panel\Colors' /v Background /d '0 99 177' /f >/dev/null
  # Drive E:, the backup disk.
  mkdir -p "$prefix/backup-disk"
  ln -sfn "$prefix/backup-disk" "$prefix/dosdevices/e:"
  windows_path() { echo "Z:$1" | tr / '\\'; }
  # The virtual desktop has a taskbar with the tray; every window the scenes
  # look for must be inside it, so the scenes start there too.
  timeout -k 5 900 "$QUANDREL_WINE" explorer /desktop=Office,1024x768 \
    "$(windows_path "$PWD/$build/guide_pictures.exe")" \
    "--gtest_output=xml:$(windows_path "$PWD/$shots/guide-pictures.xml")" </dev/null >/dev/null 2>&1 || true
  timeout 60 wineserver -w || true
)
if ! grep -q 'failures="0"' "$shots/guide-pictures.xml" 2>/dev/null; then
  echo "update-guide-pictures: a scene failed; see $shots/guide-pictures.xml" >&2
  grep -o 'message="[^"]*"' "$shots/guide-pictures.xml" 2>/dev/null | head -20 >&2 || true
  exit 1
fi

status=0
for picture in $(grep -o 'src="images/[^"]*\.png"' docs/ja/guide.html | sed 's/^src="images\///; s/"$//' | sort -u); do
  shot=$shots/guide-${picture%.png}.bmp
  if [ ! -f "$shot" ]; then
    echo "update-guide-pictures: no scene made $picture" >&2
    status=1
    continue
  fi
  # -strip leaves out time stamps, so an unchanged picture stays unchanged.
  convert "$shot" -strip "docs/ja/images/$picture"
  echo "docs/ja/images/$picture"
done
exit $status
