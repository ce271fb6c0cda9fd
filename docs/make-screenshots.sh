#!/usr/bin/env bash
# Renders the three pages of Tavrin's window to docs/screenshot-page0.png, -page1.png and
# -page2.png. It builds Tavrin if needed (build folder: $TAVRIN_BUILD_DIR, default build/),
# runs the real program on a virtual X display (Xvfb) and works it as a user would, with
# mouse and keyboard (xdotool), in a small example tree:
#   /tmp/Projekte/Kunden       a copy of examples/Beispiel (the source project)
#   /tmp/Projekte/Kunden-VB6   an empty target folder
# The tree is made afresh and removed at the end (an existing /tmp/Projekte that this script
# did not make is left alone, and the script stops). Missing packages are installed by
# scripts/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
repository=$PWD
build_dir=${TAVRIN_BUILD_DIR:-build}
tree=/tmp/Projekte
marker="$tree/.tavrin-screenshots"
title="CommonControls - Projektkonvertierung"

if [ -z "${TAVRIN_SCREENSHOT_DISPLAY:-}" ]; then
  scripts/install-deps.sh xvfb xauth xdotool x11-apps netpbm
  [ -d "$build_dir" ] || cmake -S . -B "$build_dir" -G Ninja
  cmake --build "$build_dir" --target Tavrin
  # Once more, on a virtual display of its own.
  exec xvfb-run -a -s "-screen 0 800x600x24" env TAVRIN_SCREENSHOT_DISPLAY=1 "$0" "$@"
fi

if [ -e "$tree" ] && [ ! -e "$marker" ]; then
  echo "$tree exists and was not made by this script; please move it away." >&2
  exit 1
fi
rm -rf "$tree"
mkdir -p "$tree/Kunden" "$tree/Kunden-VB6"
touch "$marker"
cp "$repository"/examples/Beispiel/* "$tree/Kunden/"

program_pid=""
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  rm -rf "$tree"
}
trap cleanup EXIT

# The folder lists start in the current folder, so both show /tmp/Projekte at first.
(cd "$tree" && unset QT_QPA_PLATFORM && exec "$repository/$build_dir/bin/Tavrin") &
program_pid=$!
window=$(timeout 20 xdotool search --sync --name "^$title\$" | head -n 1)
[ -n "$window" ] || { echo "The window did not appear." >&2; exit 1; }
sleep 1

# Places in the window, in pixels from its top-left corner (the layout is fixed).
folder_list=(30 142)                # first row of the folder list on pages 0 and 1
tab_target=(193 53)                 # tab "Zielprojekt"
tab_conversion=(320 53)             # tab "Projektkonvertierung"
resting_place=(380 312)             # right end of the status bar, where nothing reacts

click() {
  xdotool mousemove --window "$window" "$1" "$2" click 1
  sleep 0.3
}

key() {
  xdotool key "$@"
  sleep 0.3
}

shoot() {
  xdotool mousemove --window "$window" "${resting_place[@]}"
  sleep 0.5
  xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng -compression 9 >"$repository/docs/$1"
  echo "docs/$1"
}

# Page 0: open the source project Kunden (the second to last row below /tmp/Projekte).
click "${folder_list[@]}"
key End Up Return
shoot screenshot-page0.png

# Page 1: open the empty target Kunden-VB6 (the last row).
click "${tab_target[@]}"
click "${folder_list[@]}"
key End Return
shoot screenshot-page1.png

# Page 2: ready to convert.
click "${tab_conversion[@]}"
shoot screenshot-page2.png
