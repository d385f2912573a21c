#!/usr/bin/env bash
# FLAC export of MINUTES (default 60) of 16-bit stereo PCM through the export job, beside the
# flac tool on the same samples; exits non-zero below 100x real time.
# Usage: bench/media/run.sh [MINUTES]   (BREVOIR_BUILD names the build folder)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BREVOIR_BUILD:-$root/build}
bench=$build/bin/bench_export
[ -x "$bench" ] || { echo "build bench_export first (cmake --build $build --target bench_export)" >&2; exit 1; }
exec "$bench" --minutes "${1:-60}"
