#!/usr/bin/env bash
# CPU use of a recording beside arecord on the same device, inside the test rig: once without
# a window, once with the main window shown under Xvfb. The input is the sound server's (the
# desktop's usual input), fed by playing a tone into a sink of the rig and recording its
# monitor, which the recorder reads on the server's own client library; BREVOIR_CAPTURE_PATH=alsa
# records it through the server's ALSA plugin instead, and BREVOIR_BENCH_DEVICE=brevoir_test_capture
# measures the rig's ALSA file device.
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

device=${BREVOIR_BENCH_DEVICE:-pulse}
# Inside the rig: the tone plays into a sink of its own, whose monitor is the input, as a
# microphone would be; the playthrough goes to the rig's sink, as to the speakers. (Playing
# through into the very sink that is recorded would feed the recording back into itself.)
feed='pactl load-module module-null-sink sink_name=bench_feed rate=44100 channels=2 \
    format=s16le >/dev/null; pacat --latency-msec=50 --playback --device=bench_feed --format=s16le --rate=44100 \
    --channels=2 --raw "$BREVOIR_TEST_CAPTURE_FILE" & player=$!; \
    export PULSE_SOURCE=bench_feed.monitor; '
status=0
"$root/scripts/test-rig.sh" bash -c "$feed \"\$0\" \"\$@\"; s=\$?; kill \$player 2>/dev/null; exit \$s" \
    "$bench" --seconds "$seconds" --device "$device" || status=1
QT_QPA_PLATFORM=xcb "$root/scripts/test-rig.sh" bash -c \
    "$feed xvfb-run -a -s '-screen 0 1280x1024x24' \"\$0\" \"\$@\"; s=\$?; kill \$player 2>/dev/null; exit \$s" \
    "$bench" --seconds "$seconds" --device "$device" --window || status=1
exit $status
