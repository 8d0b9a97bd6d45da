#!/bin/bash
# Runs one libFuzzer target for a bounded time over a copy of its seed
# corpus, so the committed seeds stay as they are. Fails on any crash or
# sanitizer report (libFuzzer exits non-zero then).
set -u
target=$1 seeds=$2 seconds=${3:-30}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
if [ -d "$seeds" ]; then cp -r "$seeds"/. "$work/corpus/"; fi
cd "$work" || exit 1
"$target" -max_total_time="$seconds" -print_final_stats=1 -max_len=4096 \
    -artifact_prefix="$work/" corpus >log 2>&1
status=$?
grep -E 'stat::number_of_executed_units|stat::peak_rss' log
if [ "$status" -ne 0 ]; then
    tail -n 80 log
    echo "fuzz target $(basename "$target") failed with status $status"
fi
exit "$status"
