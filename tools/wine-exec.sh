#!/usr/bin/env bash
# Runs one Windows program under Wine in the test run's prefix and display
# (set up by tools/wine-session.sh), bounded in time so that a hung program
# fails its test instead of hanging the run.
#
# Now and then, on a busy machine, Wine ends a start at once with a failing
# status and not a word of output, before the program has run at all. No
# program of ours can fail that fast (a bare start of a test program takes
# over 100 ms), so such an end is taken for Wine's and the start is tried
# again, saying so on standard error.
set -u
: "${WINEPREFIX:?run the Windows tests through tools/test-all.sh}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
quick_us=${QUANDREL_WINE_QUICK_US:-60000}
for attempt in 1 2 3; do
  started=${EPOCHREALTIME/./}
  timeout -k 5 "${QUANDREL_PROGRAM_TIMEOUT:-290}" "${QUANDREL_WINE:-wine}" "$@"
  status=$?
  took=$(( ${EPOCHREALTIME/./} - started ))
  # 124 and 137 are the time limit's: never tried again.
  if [ $status -eq 0 ] || [ $status -eq 124 ] || [ $status -eq 137 ] || [ $took -ge "$quick_us" ] || [ $attempt -eq 3 ]; then
    exit $status
  fi
  echo "wine-exec: Wine ended the start of $1 after $((took / 1000)) ms with status $status, before the program ran; starting it again" >&2
done
