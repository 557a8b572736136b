#!/usr/bin/env bash
# Source this file: it gives the caller an X display (Xvfb) and a Wine prefix
# of its own, made ready for Japanese text and for tests, and ends both when
# the calling shell exits.
#   QUANDREL_PREFIX   the prefix folder (made when missing)
#   QUANDREL_SANDBOX  the folder the end-to-end tests work in, drive S: of
#                     the prefix (default: "e2e" beside the prefix)
#   QUANDREL_SCREEN   the X screen, default 1024x768x24
#   QUANDREL_DPI      the prefix's screen DPI (LogPixels), when given

session_prefix=${QUANDREL_PREFIX:?set QUANDREL_PREFIX}
# shellcheck source=tools/facts.sh
source "$(dirname "${BASH_SOURCE[0]}")/facts.sh"
# QUANDREL_WINE names the loader to use: the one that runs both kinds of
# program, or wine64 where 32-bit programs cannot run.
if runs_32bit_programs; then
  export QUANDREL_WINE=wine
else
  export QUANDREL_WINE=/usr/lib/wine/wine64
fi
export WINEPREFIX=$session_prefix
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
unset WINEARCH

session_xvfb_pid=
if [ -z "${QUANDREL_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
  # Xvfb takes the first display number free at that moment and writes it
  # to the given descriptor once it accepts clients: sessions started at
  # the same time on one machine never pick the same display.
  session_display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${QUANDREL_SCREEN:-1024x768x24}" -nolisten tcp \
    3>"$session_display_file" >/dev/null 2>&1 &
  session_xvfb_pid=$!
  for _ in $(seq 300); do
    [ -s "$session_display_file" ] || ! kill -0 $session_xvfb_pid 2>/dev/null && break
    sleep 0.1
  done
  session_display=$(head -n 1 "$session_display_file")
  rm -f "$session_display_file"
  if [ -z "$session_display" ]; then
    kill $session_xvfb_pid 2>/dev/null
    session_xvfb_pid=
    echo "wine-session: no X display could be started" >&2
    return 1
  fi
  export DISPLAY=:$session_display
fi

session_end() {
  timeout 20 wineserver -k >/dev/null 2>&1 || true
  [ -n "$session_xvfb_pid" ] && kill $session_xvfb_pid 2>/dev/null
  true
}
trap session_end EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  timeout 180 "$QUANDREL_WINE" wineboot -i >/dev/null 2>&1
  timeout 60 wineserver -w
fi
session_reg() { timeout 60 "$QUANDREL_WINE" reg add "$@" /f >/dev/null 2>&1; }
if [ ! -f "$WINEPREFIX/.quandrel-ready" ]; then
  # Without a window manager Wine waits about 2 s for each window that hides
  # or closes; unmanaged windows skip that wait.
  session_reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
  # Wine's own UI fonts, and the Japanese faces the windows ask for, drawn
  # with the IPA fonts (the proportional face for the proportional one).
  fonts='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
  session_reg "$fonts" /v 'Tahoma (TrueType)' /d 'Z:\usr\share\wine\fonts\tahoma.ttf'
  session_reg "$fonts" /v 'Tahoma Bold (TrueType)' /d 'Z:\usr\share\wine\fonts\tahomabd.ttf'
  session_reg "$fonts" /v 'Marlett (TrueType)' /d 'Z:\usr\share\wine\fonts\marlett.ttf'
  subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  session_reg "$subst" /v 'ＭＳ Ｐゴシック' /d IPAPGothic
  session_reg "$subst" /v 'ＭＳ ゴシック' /d IPAGothic
  session_reg "$subst" /v 'MS UI Gothic' /d IPAPGothic
  # Program files are opened as themselves, as on Windows (a fresh 64-bit
  # prefix has no association for them).
  session_reg 'HKCR\.exe' /ve /d exefile
  session_reg 'HKCR\exefile\shell\open\command' /ve /d '"%1" %*'
  session_reg 'HKCR\.bat' /ve /d batfile
  session_reg 'HKCR\batfile\shell\open\command' /ve /d '"%1" %*'
  touch "$WINEPREFIX/.quandrel-ready"
fi
if [ -n "${QUANDREL_DPI:-}" ]; then
  # Wine takes a new DPI when the prefix's server starts again.
  session_reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QUANDREL_DPI"
  timeout 20 wineserver -k >/dev/null 2>&1 || true
  timeout 60 wineserver -w >/dev/null 2>&1 || true
fi
# The end-to-end tests make their folders on drive S:, a link to a folder of
# the session, so that their paths are short wherever the project sits.
session_sandbox=$(realpath -m "${QUANDREL_SANDBOX:-$(dirname "$session_prefix")/e2e}")
mkdir -p "$session_sandbox"
ln -sfn "$session_sandbox" "$WINEPREFIX/dosdevices/s:"
export QUANDREL_SANDBOX_DRIVE=S:
# Keep one server alive for the whole session: every start is then quick.
wineserver -p >/dev/null 2>&1 || true
# The first Windows program of a session starts Wine's own background
# programs, which keep the standard handles they inherit: start them here,
# on /dev/null, or a test runner reading a program's output through a pipe
# waits for an end of file that never comes.
timeout 60 "$QUANDREL_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
