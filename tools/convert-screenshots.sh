#!/usr/bin/env bash
# Turns the tests' screen captures (.bmp) into .png files beside them.
dir=${1:?folder}
[ -d "$dir" ] || exit 0
for bmp in "$dir"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
echo "screenshots: $dir"
