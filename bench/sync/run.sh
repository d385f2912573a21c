#!/usr/bin/env bash
# The window's event loop during a long sync: converts MINUTES of recordings (default 3) with
# ENCODER (default AAC) and reports the longest wait of a 5 ms timer (goal: under 50 ms).
# Usage: bench/sync/run.sh [MINUTES] [ENCODER]   (BREVOIR_BUILD names the build folder)
#        bench/sync/run.sh --playlist-mb MB     a sync into another player's playlist of MB
#        megabytes: the time until the import begins, and an entry appended against a rewrite
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BREVOIR_BUILD:-$root/build}
bench=$build/bin/bench_sync
[ -x "$bench" ] || { echo "build bench_sync first (cmake --build $build --target bench_sync)" >&2; exit 1; }
if [ "${1:-}" = "--playlist-mb" ]; then
    exec "$bench" --playlist-mb "${2:-60}"
fi
exec "$bench" --minutes "${1:-3}" --encoder "${2:-AAC}"
