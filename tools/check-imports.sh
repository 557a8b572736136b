#!/usr/bin/env bash
# Fails unless the given Windows program imports system DLLs only, so that it
# runs as one file with nothing beside it.
set -euo pipefail
exe=$1
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v i686-w64-mingw32-objdump)
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
allowed='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|msvcrt|msimg32|ole32|oleaut32|ws2_32|api-ms-win-crt-[a-z0-9-]+|ucrtbase)\.dll$'
bad=$(echo "$dlls" | grep -v -E "$allowed" || true)
echo "imports: $(echo $dlls)"
if [ -n "$bad" ]; then
  echo "not a system DLL: $bad"
  exit 1
fi
