#!/bin/bash
# Runs one Windows program under Wine in an isolated prefix, for ctest and
# for the demo. Used as CMAKE_CROSSCOMPILING_EMULATOR.
#
#   wine-exec.sh program.exe [arguments...]
#
# - A template prefix is initialised once per build tree (wineboot --init),
#   with the settings that make Wine fit for unattended tests: no Mono or
#   Gecko prompt, winedbg's crash dialog off (a crash fails fast), and
#   windows unmanaged (no window-manager wait on every dialog).
# - Each run gets its own prefix: a hard-linked copy of the template, with
#   the registry and INI files copied for real so that nothing written by
#   one run reaches the template or another run.
# - Without a display an Xvfb server is started for the run.
# - A run is ended after RC_WINE_TIMEOUT seconds (default 240), so a hung
#   dialog fails its test instead of hanging CI.
# - Everything started is ended afterwards: the Xvfb by its process id and
#   the prefix's own wineserver with wineserver -k.
#
# Environment:
#   RC_WINE_ROOT     where prefixes live (default: build tree's wine/ folder,
#                    found from the program's path)
#   RC_WINE_PREFIX   use this prefix as it is instead of a fresh copy (kept)
#   RC_WINE_SEED     a shell command run with WINEPREFIX set before the program,
#                    to seed registry keys and files
#   RC_WINE_KEEP=1   keep the run's prefix for inspection
#   RC_WINE_TIMEOUT  seconds before the run is killed
set -u

program=$1
shift

program_dir=$(realpath -m "$(dirname "$program")")
root=${RC_WINE_ROOT:-$program_dir/wine}
timeout_s=${RC_WINE_TIMEOUT:-240}

export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64

mkdir -p "$root"

init_template() {
    local template=$root/template
    [ -f "$template/.rc-ready" ] && return 0
    (
        flock 9
        [ -f "$template/.rc-ready" ] && exit 0
        rm -rf "$template"
        mkdir -p "$template"
        export WINEPREFIX=$template
        wineboot --init >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d 'false' /f >/dev/null 2>&1
        wineserver -w
        touch "$template/.rc-ready"
    ) 9>"$root/.template.lock"
}

xvfb_pid=
prefix=
cleanup() {
    if [ -n "$prefix" ]; then
        WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
        if [ -z "${RC_WINE_PREFIX:-}" ] && [ "${RC_WINE_KEEP:-0}" != 1 ]; then
            rm -rf "$prefix"
        fi
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" >/dev/null 2>&1
        wait "$xvfb_pid" 2>/dev/null
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -n "${RC_WINE_PREFIX:-}" ]; then
    prefix=$RC_WINE_PREFIX
    if [ ! -f "$prefix/system.reg" ]; then
        init_template
        mkdir -p "$(dirname "$prefix")"
        cp -a "$root/template" "$prefix"
    fi
else
    init_template
    mkdir -p "$root/runs"
    prefix=$(mktemp -d "$root/runs/$(basename "$program" .exe).XXXXXX")
    rmdir "$prefix"
    cp -al "$root/template" "$prefix"
    # Files that Wine rewrites must not be shared with the template.
    find "$prefix" -maxdepth 1 -name '*.reg' -exec sh -c 'cp --remove-destination "$1" "$1.tmp" && mv "$1.tmp" "$1"' _ {} \;
    for f in "$prefix"/drive_c/windows/*.ini; do
        [ -f "$f" ] && cp --remove-destination "$f" "$f.tmp" && mv "$f.tmp" "$f"
    done
fi
export WINEPREFIX=$prefix

if [ -z "${DISPLAY:-}" ]; then
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 7 -screen 0 1024x768x24 -nolisten tcp 7>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r -t 20 display_number <"$fifo"
    rm -f "$fifo"
    if [ -z "${display_number:-}" ]; then
        echo "wine-exec: Xvfb did not start" >&2
        exit 1
    fi
    export DISPLAY=:$display_number
fi

if [ -n "${RC_WINE_SEED:-}" ]; then
    bash -c "$RC_WINE_SEED" || { echo "wine-exec: seed command failed" >&2; exit 1; }
fi

timeout --kill-after=10 "$timeout_s" wine "$program" "$@"
status=$?
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "wine-exec: $(basename "$program") did not finish within ${timeout_s}s" >&2
fi
exit "$status"
