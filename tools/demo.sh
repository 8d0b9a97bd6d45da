#!/bin/bash
# Builds the Configurator and starts it under Wine against a seeded demo
# station: a Wine prefix in build/demo whose product folder holds
# rcsetup32.exe with the edition's help file, placeholder STATN32.EXE,
# VIEWDESK.EXE and the six transport modules, a small MODEMDEF.MDM, and the
# Statn32 service key with a realistic client option string.
#
#   tools/demo.sh            the default edition
#   tools/demo.sh --tutor    the classroom edition (Quorvel Tutor)
#
# Without a display it starts Xvfb, writes screenshots of the main window,
# of Client Configuration and of Control Icon Maintenance (with the
# Program Manager stand-in) to build/demo, prints their paths and ends.
set -eu
cd "$(dirname "$0")/.."
repo=$PWD
tools/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target rcsetup32
cmake --build --preset win64 -j "$(nproc)" --target progman_standin

edition=
[ "${1:-}" = "--tutor" ] && edition=Tutor
demo=$repo/build/demo
prefix=$demo/prefix
product="$prefix/drive_c/Quorvel/Brennix"
mkdir -p "$demo"

seed() {
    mkdir -p "$product"
    cp "$repo/build/win64/rcsetup32.exe" "$product/"
    # The edition's help file, as an installation carries it: BRX.hlp, or
    # qvt.hlp alone for the classroom edition (BRX.hlp would win over it).
    if [ -n "$edition" ]; then
        rm -f "$product/BRX.hlp"
        cp "$repo/build/win64/qvt.hlp" "$product/"
    else
        rm -f "$product/qvt.hlp"
        cp "$repo/build/win64/BRX.hlp" "$product/"
    fi
    for f in STATN32.EXE VIEWDESK.EXE SXIPX32.DLL SXNBS32.DLL SXTCP32.DLL CXIPX.DLL CXNBS.DLL CXTCP.DLL; do
        [ -f "$product/$f" ] || printf 'MZ placeholder\r\n' >"$product/$f"
    done
    [ -f "$product/MODEMDEF.MDM" ] || cp "$repo/tools/demo/MODEMDEF.MDM" "$product/MODEMDEF.MDM"
    if ! WINEPREFIX=$prefix wine reg query 'HKLM\SYSTEM\CurrentControlSet\Services\Statn32' /v ImagePath >/dev/null 2>&1; then
        WINEPREFIX=$prefix wine reg add 'HKLM\SYSTEM\CurrentControlSet\Services\Statn32' /v ImagePath /t REG_SZ \
            /d 'C:\Quorvel\Brennix\STATN32.EXE /* STATION1 4211 /UNB /A0 /I /K /Z /X7788 /T15 /L3 /BRIDGE COM2 5521 /B9600 /T10' /f >/dev/null
    fi
    if [ -n "$edition" ]; then
        WINEPREFIX=$prefix wine reg add 'HKLM\SOFTWARE\Quorvel\Configurator32' /v Edition /t REG_SZ /d "$edition" /f >/dev/null
    else
        WINEPREFIX=$prefix wine reg delete 'HKLM\SOFTWARE\Quorvel\Configurator32' /v Edition /f >/dev/null 2>&1 || true
    fi
    # The edition's program group, empty, where the stand-in keeps groups.
    mkdir -p "$prefix/drive_c/windows/Profiles/All Users/Start Menu/Programs/Quorvel ${edition:-Brennix}"
    # Program Manager for the icon dialogs: our stand-in, in the background (tools/progman-standin).
    WINEPREFIX=$prefix wine "$repo/build/win64/progman_standin.exe" >/dev/null 2>&1 &
}
export -f seed
export repo prefix product edition

headless=
xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    for n in $(seq 90 120); do [ -e /tmp/.X11-unix/X$n ] || break; done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:$n
    sleep 1
fi
cleanup() {
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

RC_WINE_ROOT=$repo/build/win64/wine RC_WINE_PREFIX=$prefix RC_WINE_SEED=seed RC_WINE_TIMEOUT=86400 \
    tools/wine-exec.sh "$product/rcsetup32.exe" &
app=$!
if [ -z "$headless" ]; then
    echo "Brennix Configurator 32 is running (prefix: $prefix)."
    wait $app || true
    exit 0
fi

# Headless: screenshots of the main window, of Client Configuration on the
# demo station and of Control Icon Maintenance with the stand-in.
find_window() {  # the X window titled exactly $1, waiting up to 60 s
    local w=
    for _ in $(seq 1 120); do
        w=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1) || true
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 0.5
    done
    echo "The window \"$1\" did not appear." >&2
    return 1
}
wait_gone() {  # waits up to 60 s until no window is titled exactly $1
    for _ in $(seq 1 120); do
        xdotool search --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.5
    done
    echo "The window \"$1\" did not close." >&2
    return 1
}
shot() {  # shot WINDOW FILE
    import -window root -crop "$(xdotool getwindowgeometry --shell "$1" | awk -F= '/WIDTH/{w=$2}/HEIGHT/{h=$2}/^X/{x=$2}/^Y/{y=$2}END{print w"x"h"+"x"+"y}')" "$2"
    echo "$2"
}
menu() {  # menu KEY...: the main window's Configure menu, then the item's access key
    xdotool mousemove --window "$window" 40 35 click 1
    sleep 0.5
    xdotool key "$@"
}
window=$(find_window 'Brennix Configurator 32')
sleep 1
echo "No display: the Configurator ran under Xvfb; its windows are in:"
shot "$window" "$demo/main-window.png"
menu l
dialog=$(find_window 'Client Configuration')
sleep 1
shot "$dialog" "$demo/client-configuration.png"
xdotool key Escape
sleep 1
menu c
dialog=$(find_window 'Control Icon Maintenance')
sleep 1
# New: a Control icon named CONTROL1 in the program group, made through
# Control Configuration and Create Program Icon; the list then shows it.
xdotool key alt+n
find_window 'Control Configuration' >/dev/null
sleep 1
xdotool type CONTROL1
xdotool key Return
find_window 'Create Program Icon' >/dev/null
sleep 1
xdotool type 'Viewdesk CONTROL1'
xdotool key Return
wait_gone 'Control Configuration'
sleep 1
shot "$dialog" "$demo/control-icon-maintenance.png"
