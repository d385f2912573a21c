#!/usr/bin/env bash
# Checks Brevoir as installed: the files in place (and nothing of the tests), the launcher,
# metainfo and manual page through their validators, the D-Bus service starting the installed
# program, and the installed program recording through the test rig.
# Usage: scripts/check-package.sh [--deb] [BUILD]
#   BUILD (default build/) holds a built `brevoir`. Without --deb it is installed into a
#   temporary folder with `cmake --install`; with --deb, BUILD's Debian package (make package)
#   is installed with apt, checked under /usr and removed again (needs root).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
app_id=org.brevoir.Brevoir

fail() {
    echo "check-package: $*" >&2
    exit 1
}

# The program at PREFIX inside the test rig: started by the bus from its service file, then
# started by hand with the rig's capture input; each records a while and quits.
inside_rig() {
    local prefix=$1 work=$2
    local brevoir=$prefix/bin/brevoir
    local call=(gdbus call --session --dest $app_id --object-path /org/brevoir/Brevoir)
    local bus=(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus)

    has_owner() { "${bus[@]}" --method org.freedesktop.DBus.NameHasOwner $app_id | grep -q true; }
    state() {
        "${call[@]}" --method org.freedesktop.DBus.Properties.Get $app_id State |
            sed -n "s/^(<'\(.*\)'>,)$/\1/p"
    }
    # Each wait is bounded (30 s) and ends as soon as its condition holds.
    await() {
        local what=$1
        shift
        for _ in $(seq 1 300); do
            "$@" && return 0
            sleep 0.1
        done
        fail "$what"
    }
    is_recording() { [ "$(state)" = recording ]; }
    # About a second of sound (16-bit stereo at 44.1 kHz) written into the one recording.
    has_a_second() {
        local file
        file=$(find "$1/Recordings" -name '*.mov' 2>/dev/null | head -n 1)
        [ -n "$file" ] && [ "$(stat -c %s "$file")" -ge 200000 ]
    }
    is_gone() { ! has_owner; }
    # Records into the library FOLDER until the file holds a second, then quits, which completes
    # the recording; answers the recording's path.
    record_and_quit() {
        local folder=$1 files seconds
        "${call[@]}" --method $app_id.Start >/dev/null
        await "Brevoir did not start recording" is_recording
        await "the recording did not grow" has_a_second "$folder"
        "${call[@]}" --method $app_id.Quit >/dev/null
        await "Brevoir did not quit" is_gone
        files=("$folder"/Recordings/*.mov)
        [ ${#files[@]} = 1 ] && [ -f "${files[0]}" ] || fail "recorded ${files[*]}"
        seconds=$(ffprobe -v error -select_streams a:0 -show_entries format=duration -of csv=p=0 \
            "${files[0]}")
        awk -v s="$seconds" 'BEGIN { exit !(s >= 1) }' || fail "${files[0]} lasts ${seconds}s"
        echo "check-package: recorded ${files[0]} (${seconds}s)" >&2
        echo "${files[0]}"
    }

    [ "$("$brevoir" --status || true)" = "not running" ] || fail "a Brevoir already runs"

    # The launcher's call: the bus starts the installed program from its service file.
    local pid path
    "${call[@]}" --method org.freedesktop.Application.Activate "{}" >/dev/null
    pid=$("${bus[@]}" --method org.freedesktop.DBus.GetConnectionUnixProcessID $app_id |
        sed 's/[^0-9 ]//g' | awk '{ print $NF }')
    [ "$(readlink "/proc/$pid/exe")" = "$(readlink -f "$brevoir")" ] ||
        fail "the bus started $(readlink "/proc/$pid/exe"), not $brevoir"
    echo "check-package: the session bus started $brevoir (pid $pid)"
    record_and_quit "$HOME/Music/Brevoir" >/dev/null

    # Started by hand without a window, recording a tone from the rig's capture input.
    sox -n -r 44100 -c 2 -b 16 -e signed-integer -t raw "$work/tone.raw" synth 60 sine 440
    BREVOIR_TEST_CAPTURE_FILE=$work/tone.raw "$brevoir" --headless --library "$work/library" \
        --input-device brevoir_test_capture &
    local headless=$!
    await "brevoir --headless did not answer on the bus" has_owner
    path=$(record_and_quit "$work/library")
    wait $headless || fail "brevoir --headless exited with $?"
    ffmpeg -v info -nostats -i "$path" -af volumedetect -f null - 2>&1 |
        grep -q 'max_volume: -\?[0-9]\.' || fail "$path does not hold the tone"
}

if [ "${1:-}" = --inside-rig ]; then
    inside_rig "$2" "$3"
    exit 0
fi

deb=0
if [ "${1:-}" = --deb ]; then
    deb=1
    shift
fi
build=$(cd "${1:-$root/build}" && pwd)
work=$(mktemp -d /tmp/brevoir-check.XXXXXX)
installed=0
cleanup() {
    if [ $installed = 1 ]; then
        DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq brevoir >/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

if [ $deb = 1 ]; then
    [ "$(id -u)" -eq 0 ] || fail "installing the package needs root"
    if dpkg-query -W -f='${Status}' brevoir 2>/dev/null | grep -q "install ok installed"; then
        fail "brevoir is installed already; remove it first (apt remove brevoir)"
    fi
    package=$(ls -t "$build"/brevoir_*.deb 2>/dev/null | head -n 1)
    [ -n "$package" ] || fail "no package in $build (make package)"
    echo "check-package: installing $package"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$package" >/dev/null
    installed=1
    prefix=/usr
    files=$(dpkg -L brevoir)
else
    cmake --install "$build" --prefix "$work/usr" >/dev/null
    prefix=$work/usr
    files=$(find "$prefix")
fi

for file in bin/brevoir share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$app_id.svg share/icons/hicolor/48x48/apps/$app_id.png \
    share/icons/hicolor/256x256/apps/$app_id.png share/dbus-1/services/$app_id.service \
    share/dbus-1/interfaces/$app_id.xml share/man/man1/brevoir.1.gz; do
    [ -f "$prefix/$file" ] || fail "$prefix/$file is missing"
done
if [ -f "$root/resources/help/index.html" ]; then
    [ -f "$prefix/share/brevoir/help/index.html" ] || fail "the help pages are missing"
fi
if grep -E '/bin/.+' <<<"$files" | grep -v '/bin/brevoir$'; then
    fail "more than the program is installed into bin"
fi
[ "$(sed -n 's/^Exec=//p' "$prefix/share/dbus-1/services/$app_id.service")" = "$prefix/bin/brevoir" ] ||
    fail "the D-Bus service does not start $prefix/bin/brevoir"

desktop-file-validate "$prefix/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml"
warnings=$(LC_ALL=C.UTF-8 man --warnings -l "$prefix/share/man/man1/brevoir.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page: $warnings"
echo "check-package: desktop file, metainfo and manual page validate"

# The rig's bus finds the service file where the desktop's would: through XDG_DATA_DIRS.
XDG_DATA_DIRS="$prefix/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}" \
    "$root/scripts/test-rig.sh" "$0" --inside-rig "$prefix" "$work"
echo "check-package: all checks passed"
