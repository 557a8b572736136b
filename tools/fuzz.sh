#!/usr/bin/env bash
# Builds the libFuzzer target over the settings codec and the Shift-JIS
# helpers (preset "fuzz", clang) and runs it for a bounded time, starting
# from the seed corpus in tests/fuzz/corpus. Inputs it finds go to
# build/fuzz/found, never into the tree; an input that breaks a property is
# saved as build/fuzz/crash-* and the script fails.
#   tools/fuzz.sh [seconds]     (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target settings_codec_fuzz
mkdir -p build/fuzz/found
build/fuzz/settings_codec_fuzz -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix=build/fuzz/ build/fuzz/found tests/fuzz/corpus 2>&1 | tail -n 20
