#!/bin/bash
# Checks a portable package: exactly the expected files under the one top
# folder, the program built for the package's architecture, the guide with
# Windows line ends.
#
#   check-package.sh rcsetup32-<version>-<win32|win64>.zip
set -eu
zip=$1
top=$(basename "$zip" .zip)
case "$top" in
    *-win32) machine=332 ;;    # IMAGE_FILE_MACHINE_I386
    *-win64) machine=34404 ;;  # IMAGE_FILE_MACHINE_AMD64
    *) echo "package name ends in neither -win32 nor -win64: $zip"; exit 1 ;;
esac
expected=$(printf '%s\n' "$top/BRX.hlp" "$top/README.txt" "$top/classroom/qvt.hlp" "$top/rcsetup32.exe")
# Files only (directory entries end in /), in name order.
actual=$(unzip -Z1 "$zip" | grep -v '/$' | LC_ALL=C sort)
status=0
if [ "$actual" != "$(LC_ALL=C sort <<<"$expected")" ]; then
    echo "$zip holds:"; echo "$actual" | sed 's/^/  /'
    echo "expected:"; LC_ALL=C sort <<<"$expected" | sed 's/^/  /'
    status=1
fi
exe=$(mktemp)
trap 'rm -f "$exe"' EXIT
unzip -p "$zip" "$top/rcsetup32.exe" >"$exe" 2>/dev/null || true
pe=$(od -An -t u4 -j 60 -N 4 "$exe" 2>/dev/null | tr -d ' ')
found=$([ -n "$pe" ] && od -An -t u2 -j $((pe + 4)) -N 2 "$exe" | tr -d ' ')
if [ "${found:-}" != "$machine" ]; then
    echo "$top/rcsetup32.exe: machine ${found:-none}, expected $machine"
    status=1
fi
if ! unzip -p "$zip" "$top/README.txt" 2>/dev/null | head -n 1 | grep -q $'\r$'; then
    echo "$top/README.txt: no Windows line ends"
    status=1
fi
[ $status -eq 0 ] && echo "package ok: $zip ($(echo "$actual" | wc -l) files)"
exit $status
