#!/usr/bin/env bash
# Screenshots of Brevoir as a user meets it, under Xvfb inside the test rig (private PulseAudio,
# session bus and HOME): scripts/screenshots.sh [OUT_DIR] (default build/screenshots). Then the
# main states again under a light and a dark theme, in English and German (VARIANT-*.png; the
# dark theme is the desktop's Adwaita dark through Qt's GTK platform theme).
# Needs xvfb-run, xdotool and ImageMagick's import. BREVOIR names the executable to show
# (default build/bin/brevoir).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$top/build/screenshots}")
brevoir=$(realpath "${BREVOIR:-$top/build/bin/brevoir}")
for tool in xvfb-run xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (apt-get install xvfb xdotool imagemagick)" >&2; exit 1; }
done
mkdir -p "$out"

if [ -z "${BREVOIR_SCREENSHOTS_INSIDE:-}" ]; then
    export BREVOIR_SCREENSHOTS_INSIDE=1 BREVOIR="$brevoir" QT_QPA_PLATFORM=xcb
    exec "$top/scripts/test-rig.sh" xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$out"
fi

# From here on: inside the rig, on the virtual display.
library="$HOME/Music/Brevoir/Recordings"
mkdir -p "$library"
i=0
for tone in "440:3" "660:12" "550:65" "330:7"; do
    i=$((i + 1))
    ffmpeg -v error -nostdin -f lavfi -i "sine=frequency=${tone%%:*}:duration=${tone##*:}" \
        -ar 44100 -ac 2 -c:a pcm_s16le "$library/Recording 12070${i}3005.mov"
done

pid=
launch() {
    "$brevoir" >>"$out/brevoir.log" 2>&1 &
    pid=$!
    window=$(xdotool search --sync --onlyvisible --name '^Brevoir$' | head -n 1)
    # No window manager here: the window is given the keyboard focus by hand.
    xdotool mousemove --window "$window" 400 300 windowfocus --sync "$window"
    settle
}
quit() {
    "$brevoir" --quit >/dev/null 2>&1 || kill -TERM "$pid"
    wait "$pid" || true
}
# Gives the window a moment to paint what the last input changed.
settle() { sleep 0.7; }
shot() {
    import -window root "$out/$1.png"
    echo "screenshot: $out/$1.png"
}
key() {
    xdotool key --clearmodifiers "$@"
    settle
}

launch
shot fresh-start
for menu in f:file e:edit v:view r:recording p:playback h:help; do
    key "alt+${menu%%:*}"
    shot "menu-${menu##*:}"
    key Escape Escape # the menu, then the menu bar
done

"$brevoir" --start >/dev/null
settle
key alt+r
shot recording-menu-while-recording
key Escape Escape
sleep 1.5 # let the clock run
shot recording
"$brevoir" --stop >/dev/null
settle

# Click the first recording in the list and play it with Space.
xdotool mousemove --window "$window" 200 112 click 1
settle
key space
sleep 1
shot playing
key space

key alt+h a
about=$(xdotool search --sync --onlyvisible --name '^About Brevoir$' | head -n 1)
shot about
xdotool windowfocus --sync "$about"
key Escape
xdotool windowfocus --sync "$window"

key alt+v c
palette=$(xdotool search --sync --onlyvisible --name '^Customize Toolbar$' | head -n 1)
shot palette
# Drag Timer (the last tile but one of the first row) from the palette to the start of the
# toolbar, and Sync (the last item) out of the toolbar.
eval "$(xdotool getwindowgeometry --shell "$palette")"
px=$X py=$Y pw=$WIDTH
eval "$(xdotool getwindowgeometry --shell "$window")"
wx=$X wy=$Y ww=$WIDTH
drag() { # from-x from-y to-x to-y
    xdotool mousemove "$1" "$2" mousedown 1
    for step in 1 2 3 4 5 6 7 8; do
        xdotool mousemove $(($1 + ($3 - $1) * step / 8)) $(($2 + ($4 - $2) * step / 8))
        sleep 0.05
    done
    xdotool mouseup 1
    settle
}
drag $((px + pw - 110)) $((py + 60)) $((wx + 4)) $((wy + 50))
drag $((wx + ww - 30)) $((wy + 50)) $((wx + ww / 2)) $((wy + 400))
shot palette-after-dragging
xdotool windowfocus --sync "$palette"
key Escape
quit

launch
shot customized-toolbar-after-relaunch
quit

# The light and the dark theme, in English and German: the list with a recording selected, a
# recording running (its state in words beside the clock and in the title) and the menus'
# texts. Each image also comes as a half-size copy, small enough to keep with the tests
# (tests/app/screenshots holds those of a recording running).
for variant in en-light en-dark de-light de-dark; do
    (
        case $variant in de-*) export LANG=de_DE.UTF-8 LANGUAGE=de ;; esac
        case $variant in *-dark) export QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark ;; esac
        launch
        key Home # the list has the focus: the newest recording is selected
        shot "$variant-fresh-start"
        "$brevoir" --start >/dev/null
        sleep 1.5
        shot "$variant-recording"
        "$brevoir" --stop >/dev/null
        settle
        key alt+r
        shot "$variant-menu-recording"
        key Escape Escape
        quit
    )
    for state in fresh-start recording menu-recording; do
        convert "$out/$variant-$state.png" -crop 960x680+0+0 +repage -resize 50% -colors 48 \
            "PNG8:$out/$variant-$state-small.png"
    done
done
