#!/usr/bin/env bash
# Refreshes the user guide's pictures (docs/ja/images) from the screenshots of
# the last end-to-end run (build/windows-x86_64/screenshots, made by
# tools/test-all.sh). Each picture the guide names is taken from the
# screenshot of the same name, cut to what differs from the empty desktop.
#   tools/update-guide-pictures.sh [screenshots-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
shots=${1:-build/windows-x86_64/screenshots}
[ -d "$shots" ] || { echo "update-guide-pictures: no screenshots; run tools/test-all.sh" >&2; exit 1; }

status=0
for picture in $(grep -o 'src="images/[^"]*\.png"' docs/ja/guide.html | sed 's/^src="images\///; s/"$//' | sort -u); do
  if [ ! -f "$shots/$picture" ]; then
    echo "update-guide-pictures: $shots/$picture is missing" >&2
    status=1
    continue
  fi
  # -trim cuts the borders of the desktop's colour around the windows;
  # -strip leaves out time stamps, so an unchanged picture stays unchanged.
  convert "$shots/$picture" -trim +repage -strip "docs/ja/images/$picture"
  echo "docs/ja/images/$picture"
done
exit $status
