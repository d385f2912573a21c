#!/usr/bin/env bash
# Notes at their largest: many tiny pictures, and a 30 MB note through the note view.
# Usage: bench/text/run.sh   (BREVOIR_BUILD names the build folder)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BREVOIR_BUILD:-$root/build}
for bench in bench_rtf bench_notes; do
    [ -x "$build/bin/$bench" ] || { echo "build $bench first (cmake --build $build --target $bench)" >&2; exit 1; }
done
"$build/bin/bench_rtf"
exec "$root/scripts/test-rig.sh" "$build/bin/bench_notes"
