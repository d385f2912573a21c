#!/usr/bin/env bash
# Runs a command inside Brevoir's headless test rig:
#   - a private PulseAudio server with a null sink, a real-time null source and a loopback,
#   - an ALSA PCM "brevoir_test_capture" that captures at real-time pace from the file named by
#     $BREVOIR_TEST_CAPTURE_FILE (default /dev/zero), played back through the "pulse" device,
#   - a private D-Bus session bus, Qt's offscreen platform and a throw-away HOME.
# Usage: scripts/test-rig.sh COMMAND [ARGS...]
set -euo pipefail

rig=$(mktemp -d /tmp/brevoir-rig.XXXXXX)
mkdir -p "$rig/home" "$rig/config/alsa" "$rig/data" "$rig/runtime" "$rig/pulse"
chmod 700 "$rig/runtime" "$rig/pulse"

cleanup() {
    if [ -f "$rig/pulse.pid" ]; then kill "$(cat "$rig/pulse.pid")" 2>/dev/null || true; fi
    rm -rf "$rig"
}
trap cleanup EXIT

cat >"$rig/pulse.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$rig/pulse/native
load-module module-null-sink sink_name=brevoir_sink rate=44100 channels=2 format=s16le
load-module module-null-source source_name=brevoir_source rate=44100 channels=2 format=s16le max_latency_msec=20
set-default-sink brevoir_sink
set-default-source brevoir_source
load-module module-loopback source=brevoir_source sink=brevoir_sink latency_msec=20
PA

cat >"$rig/asoundrc" <<'ALSA'
pcm.brevoir_test_capture {
    type file
    slave.pcm "pulse"
    file "/dev/null"
    format "raw"
    infile {
        @func getenv
        vars [ BREVOIR_TEST_CAPTURE_FILE ]
        default "/dev/zero"
    }
    hint.description "Brevoir test capture"
}
ALSA
cp "$rig/asoundrc" "$rig/config/alsa/asoundrc"

export HOME="$rig/home" XDG_CONFIG_HOME="$rig/config" XDG_DATA_HOME="$rig/data"
export XDG_RUNTIME_DIR="$rig/runtime" PULSE_RUNTIME_PATH="$rig/pulse"
export PULSE_SERVER="unix:$rig/pulse/native"
export BREVOIR_RIG_ASOUNDRC="$rig/asoundrc" BREVOIR_TEST_CAPTURE_PCM="brevoir_test_capture"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# Inside the rig a test that lacks what it needs fails instead of skipping.
export BREVOIR_IN_TEST_RIG=1

pulseaudio -n -F "$rig/pulse.pa" --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --disallow-exit --log-target=file:"$rig/pulse.log" >/dev/null 2>&1 &
echo $! >"$rig/pulse.pid"
for _ in $(seq 1 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.05
done
if ! pactl info >/dev/null 2>&1; then
    echo "test-rig: PulseAudio did not start" >&2
    cat "$rig/pulse.log" >&2 || true
    exit 1
fi

set +e
dbus-run-session -- "$@"
status=$?
set -e
exit $status
