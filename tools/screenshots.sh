#!/bin/bash
# Takes screenshots of the Configurator's windows under Xvfb: runs the
# end-to-end and dialog tests with RC_SCREENSHOT_DIR set, so each test that
# shows a window writes a BMP of it, and converts them to PNG in
# build/screenshots.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)"
out=$PWD/build/screenshots
rm -rf "$out"
mkdir -p "$out"
export RC_SCREENSHOT_DIR=$out
export RC_CONFIGURATOR_EXE=$PWD/build/win64/rcsetup32.exe RC_PROGMAN_STANDIN_EXE=$PWD/build/win64/progman_standin.exe
tools/wine-exec.sh build/win64/e2e_tests.exe --gtest_brief=1 || true
tools/wine-exec.sh build/win64/dialog_tests.exe --gtest_brief=1 || true
for f in "$out"/*.bmp; do
    [ -f "$f" ] || continue
    convert "$f" "${f%.bmp}.png" && rm -f "$f"
done
ls "$out"
