#!/usr/bin/env bash
# Runs the screen-fit tests (tests/win32/screen_fit_test.cpp) at 96, 144
# and 192 DPI on a 1366x768 screen, each DPI in a Wine session of its own,
# and keeps their screenshots (named dpi<N>-...) in the build's screenshot
# folder. Expects a built Windows tree; the argument names its arch
# (x86_64, the zip's Quandrel.exe, by default; i686 where this machine
# runs 32-bit programs).
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-x86_64}
build=build/windows-$arch
# One fresh prefix for the run, its DPI set anew by each session.
rm -rf "$build/wineprefix-dpi"
status=0
for dpi in 96 144 192; do
  echo "== screen fit at $dpi DPI, 1366x768"
  (
    export QUANDREL_PREFIX=$PWD/$build/wineprefix-dpi QUANDREL_SCREEN=1366x768x24 QUANDREL_DPI=$dpi
    # shellcheck source=tools/wine-session.sh
    source tools/wine-session.sh
    QUANDREL_EXPECT_DPI=$dpi ctest --preset "windows-$arch" -R 'ScreenFit'
  ) || status=1
done
tools/convert-screenshots.sh "$build/screenshots" || true
exit $status
