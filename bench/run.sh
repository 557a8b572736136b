#!/usr/bin/env bash
# The benchmark suite: each figure against its baseline in interleaved rounds
# (the order of the modes rotates from round to round), under Wine on this
# machine. For each figure it prints min/median/max and one line
#   <figure>: median ratio <x> (goal <y>)   or   <figure>: median <v> (goal <y>)
# Not part of the tests. Needs about 5 GiB free under build/ (the history
# part 14 times the largest size: a database, its .TMP, .BAK, 10 generations
# and a copy) and, for the cold page cache, root (echo 3 > /proc/sys/vm/drop_caches).
#   BENCH_SIZES="64 512 1536"  sizes of the snapshot (and of the history part's database) in MiB
#   BENCH_ROUNDS=5             rounds of each snapshot figure (3 at 1536 MiB)
#   BENCH_START_ROUNDS=15      rounds of the start figures
#   BENCH_IDLE_SECONDS=60      length of each idle CPU measurement
#   BENCH_IDLE_ROUNDS=3        rounds of the idle figures (without and with a lock file)
#   BENCH_PARTS="snapshot memory start idle history"   the parts to run
set -euo pipefail
# A step that fails ends the run: say which, since its output may be none.
trap 'echo "bench/run.sh: line $LINENO failed: $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/.."
sizes=${BENCH_SIZES:-64 512 1536}
rounds=${BENCH_ROUNDS:-5}
start_rounds=${BENCH_START_ROUNDS:-15}
idle_seconds=${BENCH_IDLE_SECONDS:-60}
parts=" ${BENCH_PARTS:-snapshot memory start idle history} "
part() { [[ $parts == *" $1 "* ]]; }

# The zip's Quandrel.exe.
arch=x86_64
build=build/windows-$arch
cmake --preset "windows-$arch" >/dev/null
cmake --build --preset "windows-$arch" --target Quandrel snapshot_copy_win32 start_time_win32 empty_launcher_win32 \
  history_win32 >/dev/null
work=$PWD/build/bench
rm -rf "$work"
mkdir -p "$work"
export QUANDREL_PREFIX=$PWD/build/bench-prefix
# shellcheck source=tools/wine-session.sh
source tools/wine-session.sh
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
# Through the tests' runner: a start that Wine could not make is made again.
wine_run() { QUANDREL_PROGRAM_TIMEOUT=7200 tools/wine-exec.sh "$@" </dev/null | tr -d '\r'; }

echo "machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.1f GiB", $2/1048576}' /proc/meminfo)," \
  "$(uname -r), $(wine --version 2>/dev/null || "$QUANDREL_WINE" --version), build $arch," \
  "load $(cut -d' ' -f1-3 /proc/loadavg)"

# Prints min/median/max of the numbers given, then the figure's line.
#   summary <figure> <unit> <goal> <kind: ratio|value|plain> <numbers...>
# (plain: the min/median/max line alone, for a baseline)
summary() {
  python3 - "$@" <<'EOF'
import statistics, sys
figure, unit, goal, kind, *values = sys.argv[1:]
v = sorted(float(x) for x in values)
m = statistics.median(v)
fmt = "%.3f" if kind == "ratio" else "%.4g"
print(f"  {figure}: min {fmt % v[0]} median {fmt % m} max {fmt % v[-1]} {unit} ({len(v)} rounds)")
if kind == "plain":
    sys.exit(0)
word = "median ratio" if kind == "ratio" else "median"
shown = fmt % m if kind == "ratio" else f"{fmt % m} {unit}"
print(f"{figure}: {word} {shown} (goal {goal})")
EOF
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", a / b }'; }

can_drop=no
if [ -w /proc/sys/vm/drop_caches ] && sync && echo 3 >/proc/sys/vm/drop_caches 2>/dev/null; then can_drop=yes; fi
[ $can_drop = yes ] || echo "(the page cache cannot be dropped here: only warm figures are measured)"
prepare_cache() {  # <cache> <file>
  sync
  if [ "$1" = cold ]; then echo 3 >/proc/sys/vm/drop_caches; else cat "$2" >/dev/null; fi
}

snap_exe=$(winpath "$PWD/$build/snapshot_copy_win32.exe")
start_exe=$(winpath "$PWD/$build/start_time_win32.exe")
quandrel_exe=$(winpath "$PWD/$build/Quandrel.exe")
empty_exe=$(winpath "$PWD/$build/empty_launcher_win32.exe")
history_exe=$(winpath "$PWD/$build/history_win32.exe")

part snapshot && echo "== snapshot against cp+fsync and CopyFileA+flush"
part snapshot && for size in $sizes; do
  target=$work/TARGET.MDB
  head -c $((size * 1024 * 1024)) /dev/urandom >"$target"
  n=$rounds
  [ "$size" -ge 1024 ] && n=${BENCH_ROUNDS:-3}
  caches=warm
  [ $can_drop = yes ] && caches="warm cold"
  for cache in $caches; do
    snaps=() cps=() cfs=() vs_cp=() vs_cf=()
    for r in $(seq "$n"); do
      modes=(snapshot cp copyfile)
      k=$((r % 3))
      modes=("${modes[@]:k}" "${modes[@]:0:k}")
      for mode in "${modes[@]}"; do
        rm -f "$target.TMP" "$target.CF" "$work/cp.copy"
        prepare_cache "$cache" "$target"
        case $mode in
          snapshot) s=$(wine_run "$snap_exe" snapshot "$(winpath "$target")") ;;
          copyfile) c=$(wine_run "$snap_exe" copyfile "$(winpath "$target")") ;;
          cp)
            t0=$(date +%s.%N)
            cp "$target" "$work/cp.copy"
            sync "$work/cp.copy"
            t1=$(date +%s.%N)
            p=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f", b - a }')
            ;;
        esac
      done
      if [ "$r" = 1 ]; then
        cmp -s "$target" "$target.TMP" || { echo "the snapshot differs from the target" >&2; exit 1; }
      fi
      echo "  round $r ($cache, $size MiB, order ${modes[*]}): snapshot $s s, cp+fsync $p s, CopyFileA+flush $c s"
      snaps+=("$s") cps+=("$p") cfs+=("$c")
      vs_cp+=("$(ratio "$s" "$p")") vs_cf+=("$(ratio "$s" "$c")")
    done
    summary "snapshot $size MiB $cache" s - plain "${snaps[@]}"
    summary "cp+fsync $size MiB $cache" s - plain "${cps[@]}"
    summary "CopyFileA+flush $size MiB $cache" s - plain "${cfs[@]}"
    summary "snapshot/cp+fsync $size MiB $cache" "" "<= 1.10" ratio "${vs_cp[@]}"
    summary "snapshot/CopyFileA+flush $size MiB $cache" "" "<= 1.05" ratio "${vs_cf[@]}"
  done
  rm -f "$target" "$target.TMP" "$target.CF" "$work/cp.copy"
done

if part memory; then
echo "== peak memory of the snapshot of 1536 MiB, over that of a 1 MiB file"
big=$work/BIG.MDB small=$work/SMALL.MDB
head -c $((1536 * 1024 * 1024)) /dev/urandom >"$big"
head -c $((1024 * 1024)) /dev/urandom >"$small"
peak() {  # peak resident KiB of one snapshot under Wine
  rm -f "$1.TMP"
  /usr/bin/time -f %M -o "$work/peak" "$QUANDREL_WINE" "$snap_exe" snapshot "$(winpath "$1")" >/dev/null </dev/null
  cat "$work/peak"
}
extra=()
for r in 1 2 3; do
  if [ $((r % 2)) = 1 ]; then b=$(peak "$big"); s=$(peak "$small"); else s=$(peak "$small"); b=$(peak "$big"); fi
  echo "  round $r: 1536 MiB $b KiB, 1 MiB $s KiB"
  extra+=("$(awk -v a="$b" -v b="$s" 'BEGIN { printf "%.2f", (a - b) / 1024 }')")
done
summary "peak memory added by a 1536 MiB snapshot" MiB "<= 6.5 MiB, flat in the size" value "${extra[@]}"
rm -f "$big" "$big.TMP" "$small" "$small.TMP"
fi

if part start; then
echo "== start: Quandrel.exe to the start of its program, against starting the program directly"
# The empty launcher (Quandrel.exe's DLLs and manifest, nothing else) runs in
# the same rounds: its overhead is what any launcher pays under this Wine
# before its own work, the floor under the goal.
wine_run "$start_exe" start "$quandrel_exe" "$(winpath "$work/start")" "$start_rounds" "$empty_exe" >"$work/start.txt"
directs=() launchers=() overheads=() windows=() empties=() floors=() owns=()
minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a - b }'; }
while read -r d l w e; do
  directs+=("$d") launchers+=("$l") windows+=("$w") empties+=("$e")
  overheads+=("$(minus "$l" "$d")") floors+=("$(minus "$e" "$d")") owns+=("$(minus "$l" "$e")")
done <"$work/start.txt"
summary "program started directly" ms - plain "${directs[@]}"
summary "program started by an empty launcher" ms - plain "${empties[@]}"
summary "program started by Quandrel" ms - plain "${launchers[@]}"
summary "start overhead of the empty launcher (this machine's floor)" ms - plain "${floors[@]}"
summary "start overhead above the empty launcher's" ms - plain "${owns[@]}"
summary "start overhead" ms "<= 50 ms" value "${overheads[@]}"
summary "end of the program to main window visible" ms "about 19 ms, as before" value "${windows[@]}"

fi

if part idle; then
  idle_rounds=${BENCH_IDLE_ROUNDS:-3}
  echo "== idle CPU of Quandrel.exe in the tray over $idle_seconds s, without and with a lock file beside the database"
  # Wine does not report another process's CPU times: the kernel's count of
  # the launcher's threads is read instead (run time in ns, /proc schedstat;
  # the clock ticks of /proc stat are 10 ms, too coarse for this figure).
  cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d", s }'; }
  idle_round() {  # <folder> [lockfile]: prints the % of a core
    local folder=$1 pid= c0 c1 t0 t1 job
    rm -rf "${work:?}/$folder"
    wine_run "$start_exe" idle "$quandrel_exe" "$(winpath "$work/$folder")" $((idle_seconds + 9)) ${2:-} >/dev/null &
    job=$!
    for _ in $(seq 60); do  # its start may take long on a busy machine
      pid=$( (grep -l "$folder.Quandrel\\.exe" /proc/[0-9]*/cmdline 2>/dev/null || true) | head -1 | cut -d/ -f3)
      [ -n "$pid" ] && [ -f "$work/$folder/PROBE.EXE.start" ] && break
      sleep 1
    done
    [ -n "$pid" ] || { echo "the launcher of the idle measurement was not found" >&2; exit 1; }
    # The launcher readies its main window once the program has run a second;
    # the idle figure is the wait in the tray that follows.
    sleep 3
    c0=$(cpu_ns "$pid") t0=$(date +%s.%N)
    sleep "$idle_seconds"
    c1=$(cpu_ns "$pid") t1=$(date +%s.%N)
    wait "$job" || true
    awk -v c="$((c1 - c0))" -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f", c / 1e9 / (b - a) * 100 }'
  }
  bases=() locks=()
  for r in $(seq "$idle_rounds"); do
    if [ $((r % 2)) = 1 ]; then
      b=$(idle_round idle) l=$(idle_round idlelock lockfile)
      order="without, with"
    else
      l=$(idle_round idlelock lockfile) b=$(idle_round idle)
      order="with, without"
    fi
    echo "  round $r ($order): without a lock file $b %, with one $l % of a core"
    bases+=("$b") locks+=("$l")
  done
  summary "idle CPU in the tray" "% of a core" "<= 0.05 % of a core" value "${bases[@]}"
  summary "idle CPU in the tray, lock file present" "% of a core" "<= 0.05 % of a core" value "${locks[@]}"
fi

if part history; then
echo "== history: a restore against CopyFileA+flush of the same generation; save & continue with history on against off"
# One database, its 10 generations, its .TMP and .BAK serve both figures.
# Each round starts from the same files: a restore keeps the target as a
# generation and prunes the oldest, so 10 remain; a save & continue with
# history on moves the .BAK into the history and prunes the oldest, one with
# history off replaces the .BAK; both leave a fresh .TMP and a .BAK.
# The restore's baseline is the copy by hand over the target: CopyFileA onto
# a file of the same size, which frees that file's space as the restore's
# pruning frees the oldest generation's. A copy to a new name, which frees
# nothing, is shown beside it.
hwork=$work/history
target=$hwork/HISTORY.MDB settings=$hwork/Quandrel.INI
folder="$target の履歴"
sound_database() {  # <path> <MiB>: random pages behind a Jet 4 header
  head -c $(($2 * 1024 * 1024)) /dev/urandom >"$1"
  printf '\000\001\000\000Standard Jet DB\000\001' | dd of="$1" conv=notrunc status=none
}
# The newest generation as a path here.
newest() { wine_run "$history_exe" newest "$(winpath "$target")" | iconv -f CP932 -t UTF-8 | sed 's/^Z://; s#\\#/#g'; }
generations() { find "$folder" -maxdepth 1 -type f | wc -l; }
for size in $sizes; do
  rm -rf "$hwork"
  mkdir -p "$hwork"
  sound_database "$target" "$size"
  wine_run "$history_exe" fill "$(winpath "$target")" 10
  cp "$target" "$target.TMP"
  cp "$target" "$target.BAK"
  cp "$target" "$hwork/RESTORE.OVER"
  n=$rounds
  [ "$size" -ge 1024 ] && n=${BENCH_ROUNDS:-3}
  caches=warm
  [ $can_drop = yes ] && caches="warm cold"
  for cache in $caches; do
    restores=() overs=() news=() vs_over=() vs_new=() ons=() offs=() vs_off=()
    for r in $(seq "$n"); do
      modes=(restore over new)
      k=$((r % 3))
      modes=("${modes[@]:k}" "${modes[@]:0:k}")
      for mode in "${modes[@]}"; do
        chosen=$(newest)
        rm -f "$hwork/RESTORE.NEW"
        prepare_cache "$cache" "$chosen"
        case $mode in
          restore) s=$(wine_run "$history_exe" restore "$(winpath "$target")" "$(winpath "$settings")") ;;
          over) o=$(wine_run "$history_exe" copyfile "$(winpath "$chosen")" "$(winpath "$hwork/RESTORE.OVER")") ;;
          new) c=$(wine_run "$history_exe" copyfile "$(winpath "$chosen")" "$(winpath "$hwork/RESTORE.NEW")") ;;
        esac
        if [ "$mode" = restore ]; then
          cmp -s "$target" "$chosen" || { echo "the restored target differs from the generation" >&2; exit 1; }
          [ "$(generations)" = 10 ] || { echo "a restore left $(generations) generations, not 10" >&2; exit 1; }
        fi
      done
      echo "  round $r ($cache, $size MiB, order ${modes[*]}): restore $s s, CopyFileA+flush over a copy $o s, to a new name $c s"
      restores+=("$s") overs+=("$o") news+=("$c") vs_over+=("$(ratio "$s" "$o")") vs_new+=("$(ratio "$s" "$c")")
    done
    rm -f "$hwork/RESTORE.NEW"
    for r in $(seq "$n"); do
      modes=(on off)
      k=$((r % 2))
      modes=("${modes[@]:k}" "${modes[@]:0:k}")
      for mode in "${modes[@]}"; do
        prepare_cache "$cache" "$target"
        t=$(wine_run "$history_exe" save "$(winpath "$target")" "$(winpath "$settings")" "$mode")
        [ "$mode" = on ] && on=$t || off=$t
        [ "$(generations)" = 10 ] || { echo "a save & continue left $(generations) generations, not 10" >&2; exit 1; }
        [ -f "$target.TMP" ] && [ -f "$target.BAK" ] || { echo "a save & continue left no .TMP or no .BAK" >&2; exit 1; }
      done
      echo "  round $r ($cache, $size MiB, order ${modes[*]}): save & continue, history on $on s, off $off s"
      ons+=("$on") offs+=("$off") vs_off+=("$(ratio "$on" "$off")")
    done
    summary "restore $size MiB $cache" s - plain "${restores[@]}"
    summary "CopyFileA+flush of the generation over a copy $size MiB $cache" s - plain "${overs[@]}"
    summary "CopyFileA+flush of the generation to a new name $size MiB $cache" s - plain "${news[@]}"
    summary "restore/CopyFileA+flush to a new name $size MiB $cache" "" - plain "${vs_new[@]}"
    summary "restore/CopyFileA+flush $size MiB $cache" "" "<= 1.05" ratio "${vs_over[@]}"
    summary "save & continue, history on $size MiB $cache" s - plain "${ons[@]}"
    summary "save & continue, history off $size MiB $cache" s - plain "${offs[@]}"
    summary "save & continue history on/off $size MiB $cache" "" "<= 1.05" ratio "${vs_off[@]}"
  done
  echo "  log: $(wc -l <"${settings%.INI}.LOG") lines"
  rm -rf "$hwork"
done
fi

for exe in build/windows-i686/Quandrel.exe "$build/Quandrel.exe"; do
  [ -f "$exe" ] && echo "size of $exe: $(($(stat -c %s "$exe") / 1024)) KiB ($(objdump -p "$exe" | grep -c 'DLL Name') DLLs imported)"
done
true
