#!/usr/bin/env bash
# Runs one Windows program under Wine in the test run's prefix and display
# (set up by tools/wine-session.sh), bounded in time so that a hung program
# fails its test instead of hanging the run.
set -u
: "${WINEPREFIX:?run the Windows tests through tools/test-all.sh}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
exec timeout -k 5 "${QUANDREL_PROGRAM_TIMEOUT:-290}" "${QUANDREL_WINE:-wine}" "$@"
