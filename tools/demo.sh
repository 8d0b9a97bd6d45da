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
# Without a display it starts Xvfb, writes a screenshot of the main window
# to build/demo/main-window.png and ends.
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

window=
for _ in $(seq 1 120); do
    window=$(xdotool search --name '^Brennix Configurator 32$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.5
done
if [ -z "$window" ]; then
    echo "The main window did not appear." >&2
    exit 1
fi
sleep 1
import -window root -crop "$(xdotool getwindowgeometry --shell "$window" | awk -F= '/WIDTH/{w=$2}/HEIGHT/{h=$2}/^X/{x=$2}/^Y/{y=$2}END{print w"x"h"+"x"+"y}')" \
    "$demo/main-window.png"
echo "No display: the Configurator ran under Xvfb; its main window is in $demo/main-window.png"
