#!/usr/bin/env bash
# The Windows launcher stays free of the toolkit: zarnolith.exe imports no Qt
# DLL (a second start must not pay for loading Qt), while the GUI library it
# loads imports Qt and exports the one entry the launcher looks up. And it is a
# windowed program: started from Explorer it must not open a console window.
#   launcher-imports.sh OBJDUMP zarnolith.exe zarnolith-gui.dll
set -euo pipefail
objdump=$1 launcher=$2 gui=$3
imports() { "$objdump" -p "$1" | sed -n 's/^\s*DLL Name: //p'; }

launcher_imports=$(imports "$launcher")
gui_imports=$(imports "$gui")
echo "zarnolith.exe imports: $(echo $launcher_imports)"
if grep -qi '^qt' <<<"$launcher_imports"; then
  echo "FAIL: the launcher imports the toolkit" >&2
  exit 1
fi
grep -qi '^qt6core' <<<"$gui_imports" || { echo "FAIL: the GUI library imports no Qt6Core.dll" >&2; exit 1; }
grep -q ' zarnolith_gui_main$' <<<"$("$objdump" -p "$gui")" || { echo "FAIL: zarnolith_gui_main is not exported" >&2; exit 1; }
subsystem=$("$objdump" -p "$launcher" | sed -n 's/^Subsystem\s*[0-9a-f]*\s*//p')
[ "$subsystem" = "(Windows GUI)" ] || { echo "FAIL: zarnolith.exe is a $subsystem program" >&2; exit 1; }
echo "ok"
