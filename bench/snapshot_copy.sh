#!/usr/bin/env bash
# Benchmark: the launcher's snapshot of a 512 MiB target under Wine, against
# `cp` of the same file in the same run (both flushed to disk with sync).
# Prints both times and their ratio. Not part of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
size_mib=${1:-512}
if /usr/lib/wine/wine --version >/dev/null 2>&1; then arch=i686; else arch=x86_64; fi
cmake --preset "windows-$arch" >/dev/null
cmake --build --preset "windows-$arch" --target snapshot_copy_win32 >/dev/null
work=$PWD/build/bench
mkdir -p "$work"
target=$work/TARGET.MDB
head -c $((size_mib * 1024 * 1024)) /dev/urandom > "$target"
sync

export QUANDREL_PREFIX=$PWD/build/bench-prefix
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh

runs=3
for i in $(seq $runs); do
  rm -f "$work/cp.TMP"; sync
  t0=$(date +%s.%N); cp "$target" "$work/cp.TMP"; sync; t1=$(date +%s.%N)
  cp_s=$(awk "BEGIN{print $t1 - $t0}")
  rm -f "$target.TMP"; sync
  t0=$(date +%s.%N)
  inner=$("$QUANDREL_WINE" "build/windows-$arch/snapshot_copy_win32.exe" "Z:${target//\//\\}" | tr -d "\r")
  sync; t1=$(date +%s.%N)
  q_s=$(awk "BEGIN{print $t1 - $t0}")
  cmp -s "$target" "$target.TMP" || { echo "snapshot differs from the target"; exit 1; }
  printf 'run %d: cp+sync %.2f s; snapshot under Wine %.2f s with the start of Wine, %.2f s inside; ratio %.2f (inside %.2f)\n' \
    "$i" "$cp_s" "$q_s" "$inner" "$(awk "BEGIN{print $q_s / $cp_s}")" "$(awk "BEGIN{print $inner / $cp_s}")"
done
rm -f "$target" "$target.TMP" "$work/cp.TMP"
