#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Brevoir needs.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config ccache clang libclang-rt-14-dev
    qt6-base-dev qt6-l10n-tools qt6-tools-dev qt6-tools-dev-tools qt6-translations-l10n libgl-dev
    qt6-gtk-platformtheme
    portaudio19-dev libpulse-dev libasound2-dev libjack-jackd2-dev
    libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
    libgtest-dev libgmock-dev libbenchmark-dev libplist-dev libplist-utils
    xvfb xauth x11-apps xdotool imagemagick dbus ffmpeg sox alsa-utils unrtf
    pulseaudio pulseaudio-utils libasound2-plugins fonts-dejavu-core
    mpd mpc flac
    dpkg-dev desktop-file-utils appstream man-db librsvg2-bin libglib2.0-bin
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "setup: these Debian packages are missing: ${missing[*]}" >&2
        echo "setup: installing them needs root and there is no sudo here: run the setup as" \
            "root (su -c ./scripts/setup.sh), then run make again" >&2
        exit 1
    fi
    sudo=(sudo)
fi
echo "setup: installing ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
