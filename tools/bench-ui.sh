#!/bin/bash
# Times the Configurator's start and its About, Client Configuration and
# Options dialogs against a bare Win32 program with the same window and
# dialog templates (bench/ui), under Wine and Xvfb. Not a test: it prints
# medians, minimum, maximum and the product/bare ratios.
#
#   tools/bench-ui.sh [runs [warmups]]      default 20 runs after 3 warm-ups
#   RC_BENCH_SELF=1 tools/bench-ui.sh       the bare program against itself,
#                                           to see the method's own spread
#   RC_BENCH_VERBOSE=1                      print every run's figures too
#   RC_BENCH_PRESET=win64                   the build to time (must run here)
#   RC_BENCH_PRODUCT=path/rcsetup32.exe     time this copy of the program
#                                           instead (e.g. an earlier build)
#   RC_BENCH_BARE=path/ui_bare.exe          the same for the bare program
#
# The programs run from build/<preset>/bench-ui beside stand-ins of the three
# Client transport modules, in one prefix (a copy of the tests' template)
# whose Client service holds an option string, so that the Client dialog
# opens normally and nothing else opens over it.
set -eu
cd "$(dirname "$0")/.."
runs=${1:-20}
warmups=${2:-3}
preset=${RC_BENCH_PRESET:-win64}
build=$PWD/build/$preset
cmake --preset "$preset" >/dev/null
nice -n 10 cmake --build --preset "$preset" --target rcsetup32 ui_bare ui_timer >/dev/null
dir=$build/bench-ui
rm -rf "$dir"
mkdir -p "$dir"
cp "${RC_BENCH_BARE:-$build/ui_bare.exe}" "$dir/ui_bare.exe"
cp "$build/ui_timer.exe" "$dir/"
cp "${RC_BENCH_PRODUCT:-$build/rcsetup32.exe}" "$dir/rcsetup32.exe"
for module in SXIPX32.DLL SXNBS32.DLL SXTCP32.DLL; do echo "MZ stand-in" >"$dir/$module"; done
printf '; modem definitions\r\n@[M1] Generic 28800 Modem\r\n' >"$dir/MODEMDEF.MDM"
product=rcsetup32.exe
[ "${RC_BENCH_SELF:-0}" = 1 ] && product=ui_bare.exe
export RC_WINE_ROOT=$build/wine RC_WINE_TIMEOUT=1800
export RC_WINE_SEED='wine reg add "HKLM\SYSTEM\CurrentControlSet\Services\Statn32" /v ImagePath /t REG_SZ /f /d "C:\Quorvel\Brennix\STATN32.EXE /* BENCH 4211 /UNB /A0 /I /K /T15 " >/dev/null 2>&1'
# Raised priority (where allowed) keeps background builds from blurring the
# figures; the two programs share it, so the ratios stay fair.
renice -n -5 $$ >/dev/null 2>&1 || true
exec tools/wine-exec.sh "$dir/ui_timer.exe" "$runs" "$warmups" "$product" ui_bare.exe
