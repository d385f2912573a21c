#!/usr/bin/env bash
# Notes: RTF reading and writing at 1 and 4 MB, then notes at their largest (20,000 tiny
# pictures, and a 30 MB note through the note view with the event loop's longest gap).
# Usage: bench/text/run.sh   (BREVOIR_BUILD names the build folder)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BREVOIR_BUILD:-$root/build}
for bench in bench_rtf bench_notes; do
    [ -x "$build/bin/$bench" ] || { echo "build $bench first (cmake --build $build --target $bench)" >&2; exit 1; }
done
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$build/bin/bench_rtf"
"$build/bin/bench_notes"
