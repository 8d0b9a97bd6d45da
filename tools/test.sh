#!/bin/bash
# Builds everything and runs every test:
#  - the native build of the window-free core with AddressSanitizer and
#    UBSan: unit tests and a bounded run of every fuzz target;
#  - the x86_64 Windows build: unit tests, dialog tests and end-to-end tests
#    under Wine (each in its own prefix, under Xvfb when no display is set);
#  - the i686 Windows build of the product (the 32-bit program), warning-free
#    and free of non-system DLL imports;
#  - the portable package of each build (rcsetup32-<version>-win32.zip and
#    -win64.zip), checked for its contents.
# Usage: tools/test.sh [--quick]   (--quick: fuzz targets run 5 s each)
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh

fuzz_seconds=${RC_FUZZ_SECONDS:-30}
[ "${1:-}" = "--quick" ] && fuzz_seconds=5
jobs=$(nproc)

echo "== native build (core, sanitizers, fuzz targets)"
cmake --preset native -DRC_WERROR=ON -DRC_FUZZ_SECONDS="$fuzz_seconds" >/dev/null
cmake --build --preset native -j "$jobs"

echo "== win64 build"
cmake --preset win64 -DRC_WERROR=ON >/dev/null
cmake --build --preset win64 -j "$jobs"

echo "== win32 build (the 32-bit product and its package)"
cmake --preset win32 -DRC_WERROR=ON >/dev/null
cmake --build --preset win32 -j "$jobs" --target rc_package
tools/check-imports.sh i686-w64-mingw32-objdump build/win32/rcsetup32.exe

echo "== win64 package"
cmake --build --preset win64 -j "$jobs" --target rc_package

status=0
echo "== packages"
version=$(sed -n 's/^project(.* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for arch in win32 win64; do
    tools/check-package.sh "build/$arch/rcsetup32-$version-$arch.zip" || status=1
done
echo "== native tests"
ctest --preset native -j "$jobs" || status=1
echo "== Windows tests under Wine"
ctest --preset win64 -j "$jobs" || status=1
exit $status
