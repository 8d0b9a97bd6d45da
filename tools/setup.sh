#!/bin/bash
# Installs what the build and the tests need on Debian 12, when missing:
# the mingw-w64 cross compilers, Wine with Xvfb, clang with libFuzzer,
# GoogleTest sources, Google Benchmark, CMake, ImageMagick (screenshots) and
# Halibut (the help files).
set -eu
packages=(cmake make g++ mingw-w64 wine wine64 fonts-wine xvfb xauth xdotool clang libclang-rt-14-dev
          googletest libbenchmark-dev python3 imagemagick procps unzip halibut)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
