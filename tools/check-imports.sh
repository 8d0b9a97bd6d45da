#!/bin/bash
# Fails unless an executable imports exactly the DLLs that the Configurator
# needs at start: it is linked statically and must run from its folder
# alone, and what only some dialogs use (COMDLG32, SHELL32, NETAPI32,
# WinSock) is loaded when first needed, so each DLL more here is paid at
# every start.
set -eu
objdump=$1
exe=$2
expected='advapi32.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll'
imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u | xargs)
echo "imports: $imports"
if [ "$imports" != "$expected" ]; then
    echo "expected: $expected"
    exit 1
fi
