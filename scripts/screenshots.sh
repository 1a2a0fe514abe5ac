#!/usr/bin/env bash
# Makes the README's screenshots (docs/screenshots/*.png) from the program itself, so they always show
# what the program shows: each one starts the built window on a virtual display with fresh settings, sets
# it up as the walk-through's step describes (by the program's arguments or a project), goes to the tab
# shown and captures the screen. Needs a build (bash scripts/dev.sh run or test), xvfb-run, xdotool and
# ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--on-display" ]; then
    exec xvfb-run -a -s '-screen 0 1280x800x24' bash "$0" --on-display
fi

TAVRIK=build/src/gui/tavrik
OUT=docs/screenshots
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
DEMO=$(pwd)/examples/demo.uss
TILES=(--address '+$20000' --bitplanes 5 --tile 16x16 --size 320x80 --palette copper)
mkdir -p "$OUT"

# shot NAME TABS ARGUMENTS...: the window started with ARGUMENTS, TABS presses of Ctrl+Tab (which also
# passes the hidden "Map Data" tab), then the screen.
shot() {
    local name=$1 tabs=$2
    shift 2
    local settings="$WORK/settings-$name"
    mkdir -p "$settings"
    # A fresh start, with the first-run question about updates already answered No.
    printf '[Settings]\nAutomaticUpdates=0\n' >"$settings/Tavrik.ini"
    TAVRIK_CONFIG_DIR="$settings" "$TAVRIK" "$@" &
    local program=$!
    local window
    window=$(xdotool search --sync --onlyvisible --name '^Tavrik|demo.uss - Tavrik' | head -n 1)
    sleep 2
    xdotool windowfocus --sync "$window"
    for ((i = 0; i < tabs; i++)); do
        xdotool key --window "$window" ctrl+Tab
        sleep 0.5
    done
    # Buttons to press, by their place in the window on this screen ("x,y" each).
    for point in ${CLICKS:-}; do
        xdotool mousemove --sync "${point%,*}" "${point#*,}" click 1
        sleep 3
    done
    sleep 1
    import -window root "$OUT/$name.png"
    kill "$program"
    wait "$program" || true
    echo "$OUT/$name.png"
}

# The project of steps 2 to 5: the tiles ripped, the level drawn on the "Map Ripper" tab.
cat >"$WORK/level.ini" <<EOF
[File]
GfxFileName=$DEMO
[Gfx]
Address=\$20034
Bitplanes=5
RipHeight=80
[Map]
Address=\$38034
WidthInTiles=64
HeightInTiles=32
EOF

# Step 6: the level's picture as the screenshot, a corner of it selected; "Match Tiles", "Search for map".
cat >"$WORK/search.ini" <<EOF
[File]
GfxFileName=$DEMO
[Search]
FileName=$(pwd)/tests/data/demo_map/level.png
SelectionLeft=0
SelectionTop=0
SelectionRight=240
SelectionBottom=240
EOF

shot title 0 "$DEMO" --address '+$10000' --bitplanes 5 --tile 320x256 --palette copper
shot tiles 0 "$DEMO" "${TILES[@]}" --grid 1 --actual-tile 16x16
shot info 4 "$DEMO" "${TILES[@]}" --stop-line '$B0'
shot map 1 "$WORK/level.ini" "${TILES[@]}"
CLICKS="1058,145 952,401" shot search 2 "$WORK/search.ini" "${TILES[@]}"
