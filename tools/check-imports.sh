#!/usr/bin/env bash
# Fails unless the given Windows program imports only DLLs that no file put
# beside it can stand in for: the system's known DLLs, which the loader
# always takes from the system directory, and Common Controls, which the
# embedded manifest binds to the system's side-by-side copy. Any other DLL
# the loader looks for in the program's folder first, and the program's
# folder is often one that many people can write to.
set -euo pipefail
exe=$1
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v i686-w64-mingw32-objdump)
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
known='^(kernel32|user32|gdi32|advapi32|shell32|comdlg32|ole32|oleaut32|msvcrt|ws2_32)\.dll$'
echo "imports: $(echo $dlls)"
status=0
bad=$(echo "$dlls" | grep -v -E "$known" | grep -v -x 'comctl32.dll' || true)
if [ -n "$bad" ]; then
  echo "not a known DLL of the system (the loader would look beside the program first): $(echo $bad)"
  status=1
fi
if echo "$dlls" | grep -q -x 'comctl32.dll' &&
   ! grep -a -q 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' "$exe"; then
  echo "comctl32.dll without the embedded Common Controls 6 manifest"
  status=1
fi
exit $status
