#!/bin/bash
# Fails when an executable imports a DLL that is not part of the system:
# the Configurator is linked statically and must run from its folder alone.
set -eu
objdump=$1
exe=$2
allowed='^(kernel32|user32|gdi32|advapi32|comdlg32|shell32|netapi32|msvcrt|ws2_32|wsock32)\.dll$'
imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || { echo "no imports found in $exe"; exit 1; }
bad=0
for dll in $imports; do
    if [[ ! $dll =~ $allowed ]]; then
        echo "not a system DLL: $dll"
        bad=1
    fi
done
echo "imports: $(echo $imports)"
exit $bad
