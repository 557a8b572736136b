#!/usr/bin/env bash
# Writes the user guide as one self-contained HTML file to standard output:
# every <img src="images/NAME.png"> becomes a data: URI of that picture, and
# @VERSION@ becomes the given version. A picture that is missing stops it.
#   tools/embed-pictures.sh docs/ja/guide.html 1.0.0 >guide.html
set -euo pipefail
guide=${1:?guide.html}
version=${2:?version}
dir=$(dirname "$guide")

# Every picture the guide names must be there before anything is written.
missing=0
while read -r picture; do
  [ -f "$dir/$picture" ] || { echo "embed-pictures: $dir/$picture is missing" >&2; missing=1; }
done < <(grep -o 'src="images/[^"]*\.png"' "$guide" | sed 's/^src="//; s/"$//' | sort -u)
[ $missing -eq 0 ] || exit 1

awk -v dir="$dir" -v version="$version" '
{
  line = $0
  gsub(/@VERSION@/, version, line)
  out = ""
  while (match(line, /src="images\/[^"]*\.png"/)) {
    picture = substr(line, RSTART + 5, RLENGTH - 6)
    cmd = "base64 -w0 \"" dir "/" picture "\""
    data = ""
    cmd | getline data
    close(cmd)
    out = out substr(line, 1, RSTART - 1) "src=\"data:image/png;base64," data "\""
    line = substr(line, RSTART + RLENGTH)
  }
  print out line
}' "$guide"
