#!/usr/bin/env bash
# Runs one Windows program under Wine in the test run's prefix and display
# (set up by tools/wine-session.sh), bounded in time so that a hung program
# fails its test instead of hanging the run.
#
# Now and then Wine cannot start a program at all: the address it keeps for
# the system's shared data is taken in the new process ("failed to map the
# shared user data", status 1 within some 20 ms, before the program runs).
# Such a start is made again, saying so on standard error. Wine's errors
# about address space are let through for this; they are rare otherwise.
# The program's standard error comes out when it has ended.
set -u
: "${WINEPREFIX:?run the Windows tests through tools/test-all.sh}"
export WINEDEBUG=-all,err+virtual WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
quick_us=60000  # no program of ours ends sooner: a bare start takes over 100 ms
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for attempt in 1 2 3; do
  started=${EPOCHREALTIME/./}
  timeout -k 5 "${QUANDREL_PROGRAM_TIMEOUT:-290}" "${QUANDREL_WINE:-wine}" "$@" 2>"$errors"
  status=$?
  took=$((${EPOCHREALTIME/./} - started))
  cat "$errors" >&2
  if [ $status -ne 0 ] && [ $status -ne 124 ] && [ $status -ne 137 ] && [ $attempt -lt 3 ] &&
    { grep -q "failed to map the shared user data" "$errors" || [ $took -lt $quick_us ]; }; then
    echo "wine-exec: Wine could not start $1 (status $status after $((took / 1000)) ms); starting it again" >&2
    continue
  fi
  exit $status
done
