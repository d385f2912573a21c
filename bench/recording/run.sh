#!/usr/bin/env bash
# CPU use of a recording beside arecord on the same device, inside the test rig: once without
# a window, once with the main window shown under Xvfb.
# Usage: bench/recording/run.sh [SECONDS]   (default 60; BREVOIR_BUILD names the build folder)
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BREVOIR_BUILD:-$root/build}
bench=$build/bin/bench_recording
[ -x "$bench" ] || { echo "build bench_recording first (cmake --build $build --target bench_recording)" >&2; exit 1; }

work=$(mktemp -d /tmp/brevoir-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
# A tone that swells and fades, so the meter moves; longer than both recordings need.
sox -n -r 44100 -c 2 -b 16 -e signed-integer -t raw "$work/tone.raw" \
    synth $((seconds + 30)) sine 440 tremolo 0.5 90
export BREVOIR_TEST_CAPTURE_FILE="$work/tone.raw"

status=0
"$root/scripts/test-rig.sh" "$bench" --seconds "$seconds" || status=1
QT_QPA_PLATFORM=xcb "$root/scripts/test-rig.sh" \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$bench" --seconds "$seconds" --window || status=1
exit $status
