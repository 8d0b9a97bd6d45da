#!/bin/bash
# Prints the share of test code among all code lines of the repository:
# non-blank lines that are not whole-line // comments, in tracked C/C++
# sources and headers (and resource scripts for the total). Test code is
# everything under tests/ and fuzz/ and every *_test.* file.
# Usage: tools/test-share.sh
set -eu
cd "$(dirname "$0")/.."
t=$(git ls-files | grep -E '\.(c|cc|cpp|h|hpp)$' | grep -E '^(tests|fuzz)/|_test\.' | xargs -r cat | grep -cvE '^\s*(//.*)?$')
a=$(git ls-files | grep -E '\.(c|cc|cpp|h|hpp|rc)$' | xargs -r cat | grep -cvE '^\s*(//.*)?$')
echo "test share $((100 * t / a)) % ($t of $a)"
