#!/usr/bin/env bash
# Builds Quandrel.exe and runs it under Wine on a small demo folder: a
# database file "売上台帳.mdb" whose type is associated, in the demo's own Wine
# prefix, with Wine's Notepad, so the whole cycle can be seen (snapshot,
# tray icon while Notepad runs, end mode with save / discard afterwards).
#
# With an X display (DISPLAY set) the program appears on it and the script
# ends when the program ends. Without one it runs on a virtual display, closes
# Notepad after a while, and leaves screenshots in build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh
# The x86_64 build: the zip's Quandrel.exe, and the one every machine here runs.
arch=x86_64
cmake --preset "windows-$arch" >/dev/null
cmake --build --preset "windows-$arch" --target Quandrel

demo=$PWD/build/demo
mkdir -p "$demo"
cp "build/windows-$arch/Quandrel.exe" "$demo/"
# Texts in the demo files are Shift-JIS, as on a Japanese Windows; file names
# on the Linux side are UTF-8, which Wine shows to the program as CP932.
to_sjis() { iconv -f UTF-8 -t CP932; }
db='売上台帳.mdb'
rm -f "$demo"/*.mdb* 2>/dev/null || true
[ -f "$demo/$db" ] || printf '伝票番号,得意先,金額\r\n1001,山田商店,12000\r\n' | to_sjis > "$demo/$db"
printf '[Execute]\r\nDBPath=売上台帳.mdb\r\n[System]\r\nTitle=販売管理システム（デモ）\r\n' | to_sjis > "$demo/Quandrel.INI"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then export QUANDREL_KEEP_DISPLAY=1; fi
export QUANDREL_PREFIX=$PWD/build/demo-prefix
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
"$QUANDREL_WINE" reg add 'HKCR\.mdb' /ve /d QuandrelDemo.Database /f >/dev/null
"$QUANDREL_WINE" reg add 'HKCR\QuandrelDemo.Database\shell\open\command' /ve \
  /d 'C:\windows\system32\notepad.exe "%1"' /f >/dev/null

cd "$demo"
if [ -n "${QUANDREL_KEEP_DISPLAY:-}" ]; then
  echo "Quandrel runs on $DISPLAY; close Notepad, then choose an action in its window."
  "$QUANDREL_WINE" Quandrel.exe
else
  echo "No display: running on a virtual one; screenshots go to $demo"
  "$QUANDREL_WINE" Quandrel.exe &
  sleep 8; import -window root "$demo/1-running.png"
  "$QUANDREL_WINE" taskkill /im notepad.exe >/dev/null 2>&1 || true
  sleep 4; import -window root "$demo/2-end-mode.png"
  echo "Screenshots: $demo/1-running.png (Notepad on the database, launcher in the tray)," \
       "$demo/2-end-mode.png (the main window in end mode)"
fi
