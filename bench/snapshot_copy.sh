#!/usr/bin/env bash
# Benchmark: the launcher's snapshot of a 512 MiB target under Wine, against
# `cp` of the same file in the same run (both flushed to disk with sync).
# Prints both times and their ratio. Not part of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
size_mib=${1:-512}
cmake --preset windows-i686 >/dev/null
cmake --build --preset windows-i686 --target snapshot_copy_win32 >/dev/null
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
  wine build/windows-i686/snapshot_copy_win32.exe "Z:${target//\//\\}" >/dev/null
  sync; t1=$(date +%s.%N)
  q_s=$(awk "BEGIN{print $t1 - $t0}")
  cmp -s "$target" "$target.TMP" || { echo "snapshot differs from the target"; exit 1; }
  printf 'run %d: cp %.2f s, snapshot %.2f s, ratio %.2f\n' "$i" "$cp_s" "$q_s" "$(awk "BEGIN{print $q_s / $cp_s}")"
done
rm -f "$target" "$target.TMP" "$work/cp.TMP"
