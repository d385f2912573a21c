#!/usr/bin/env bash
# CPU use of the player while it plays a recording, beside ffplay on the same file and output,
# inside the test rig.
# Usage: bench/playback/run.sh [SECONDS]   (default 60; BREVOIR_BUILD names the build folder)
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BREVOIR_BUILD:-$root/build-playback}
bench=$build/bin/bench_playback
[ -x "$bench" ] || { echo "build bench_playback first (cmake --build $build --target bench_playback)" >&2; exit 1; }
exec "$root/scripts/test-rig.sh" "$bench" --seconds "$seconds"
