#!/usr/bin/env bash
# Fails unless the given Windows program imports only DLLs that no file put
# beside it can stand in for: the system's known DLLs, which the loader
# always takes from the system directory. Any other DLL the loader looks for
# in the program's folder first, and the program's folder is often one that
# many people can write to.
# Common Controls is not imported either: the program loads it with its
# first control (ui/win32/common_controls), where an import would load it
# before the launch and cost every start its loading. The embedded manifest
# must bind it to the system's side-by-side version 6.
set -euo pipefail
exe=$1
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v i686-w64-mingw32-objdump)
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
known='^(kernel32|user32|gdi32|advapi32|shell32|comdlg32|ole32|oleaut32|msvcrt|ws2_32)\.dll$'
echo "imports: $(echo $dlls)"
status=0
bad=$(echo "$dlls" | grep -v -E "$known" || true)
if [ -n "$bad" ]; then
  echo "not a known DLL of the system (the loader would look beside the program first): $(echo $bad)"
  if echo "$bad" | grep -q -x 'comctl32.dll'; then
    echo "comctl32.dll is loaded with the first control; imported, it loads before every launch"
  fi
  status=1
fi
if ! grep -a -q 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' "$exe"; then
  echo "no embedded Common Controls 6 manifest: the controls would come from version 5"
  status=1
fi
exit $status
