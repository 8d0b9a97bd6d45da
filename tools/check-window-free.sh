#!/bin/bash
# The window-free core (every source under src/ not named *_win.*) must not
# include <windows.h> or any other platform header.
set -u
src=$1
bad=0
while IFS= read -r f; do
    if grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](windows|winsock|nb30|commctrl|commdlg|shellapi|winreg|winuser)\.h[>"]' "$f"; then
        echo "platform header in window-free file: $f"
        bad=1
    fi
    if grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*_win\.h"' "$f"; then
        echo "window-free file includes a platform header of ours: $f"
        bad=1
    fi
done < <(find "$src" -type f \( -name '*.cpp' -o -name '*.h' \) ! -name '*_win.*')
[ $bad -eq 0 ] && echo "window-free core: $(find "$src" -type f \( -name '*.cpp' -o -name '*.h' \) ! -name '*_win.*' | wc -l) files checked"
exit $bad
