#!/usr/bin/env bash
# Takes a screenshot of Brevoir's main window under Xvfb: scripts/screenshot.sh OUT.png
# Runs with a throw-away HOME holding a few sample recordings so that the library shows rows.
set -euo pipefail
out=$(realpath -m "${1:-build/screenshot.png}")
top=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d /tmp/brevoir-shot.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home/Music/Brevoir/Recordings" "$tmp/config" "$tmp/data" "$tmp/run"
chmod 700 "$tmp/run"
i=0
for spec in "440:3" "660:12" "550:65" "330:7"; do
    i=$((i + 1))
    f=${spec%%:*}; d=${spec##*:}
    ffmpeg -v error -f lavfi -i "sine=frequency=$f:duration=$d" -ar 44100 -ac 2 -c:a pcm_s16le \
        "$tmp/home/Music/Brevoir/Recordings/Recording 12070${i}3005.mov"
done
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" \
    XDG_RUNTIME_DIR="$tmp/run"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
    '$top/build/bin/brevoir' & pid=\$!
    sleep 3
    import -window root '$tmp/full.png'
    kill -TERM \$pid; wait \$pid || true
"
convert "$tmp/full.png" -trim +repage "$out"
echo "screenshot: $out"
