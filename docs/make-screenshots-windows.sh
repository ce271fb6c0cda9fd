#!/usr/bin/env bash
# Renders the three pages of the Windows window Tavrin.exe to docs/screenshot-windows-page0.png,
# -page1.png and -page2.png. Not run by CI. It builds Tavrin.exe if needed (build folder:
# build-windows/, as scripts/test-windows.sh makes it), runs it under Wine on a virtual X display
# (Xvfb) of its own, with Wine's own fonts in the prefix (so "MS Sans Serif" and Tahoma are
# there), and works it as a user would, with mouse and keyboard (xdotool), in a small example
# tree on Wine's drive C:
#   C:\Projekte\Kunden       a copy of examples/Beispiel (the source project)
#   C:\Projekte\Kunden-VB6   an empty target folder
# The Wine prefix is one of its own (build-windows/wine-screenshots), in which Wine draws the
# windows' frames itself (there is no window manager on the virtual display); the tests' prefix
# stays as it is. Missing packages are installed by scripts/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/virtual-display.sh
repository=$PWD
build=$repository/build-windows
export WINEPREFIX=$build/wine-screenshots WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
title="CommonControls - Projektkonvertierung"

scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 xvfb fonts-wine xdotool imagemagick
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DTAVRIN_TEST_SOURCE_DIR="Z:$repository"
fi
cmake --build "$build" --target Tavrin

xvfb_pid=
program_pid=
tree=
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  [ -z "$tree" ] || rm -rf "$tree"
}
trap cleanup EXIT
/usr/lib/wine/wineserver -k 2>/dev/null || true

# A virtual display for the windows, before any Wine program.
start_virtual_display 800x600x24

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot --init >/dev/null 2>&1
fi
# Wine draws the frame and caption of its windows itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true

tree=$WINEPREFIX/drive_c/Projekte
rm -rf "$tree"
mkdir -p "$tree/Kunden" "$tree/Kunden-VB6"
cp "$repository"/examples/Beispiel/* "$tree/Kunden/"

# The folder lists start in the current folder, so both show C:\Projekte at first.
(cd "$tree" && exec "$wine" "$build/bin/Tavrin.exe") &
program_pid=$!
window=$(timeout 60 xdotool search --sync --name "^$title\$" | head -n 1)
[ -n "$window" ] || { echo "The window did not appear." >&2; exit 1; }
sleep 2

# Places in the window, in pixels from the top-left corner of its frame, as Wine draws it (the
# layout is fixed).
folder_list=(40 163)                # first row of the folder list on pages 0 and 1
tab_source=(60 77)                  # tab "Ausgangsprojekt"
tab_target=(153 77)                 # tab "Zielprojekt"
tab_conversion=(258 77)             # tab "Projektkonvertierung"
resting_place=(380 328)             # right end of the status bar, where nothing reacts

click() {
  xdotool mousemove --window "$window" "$1" "$2" click 1
  sleep 0.5
}

key() {
  xdotool key --window "$window" "$@"
  sleep 0.5
}

shoot() {
  xdotool mousemove --window "$window" "${resting_place[@]}"
  sleep 1
  import -window "$window" "$repository/docs/$1"
  echo "docs/$1"
}

# Page 0: open the source project Kunden (the second to last row below C:\Projekte).
click "${tab_source[@]}"
click "${folder_list[@]}"
key End Up Return
shoot screenshot-windows-page0.png

# Page 1: open the empty target Kunden-VB6 (the last row).
click "${tab_target[@]}"
click "${folder_list[@]}"
key End Return
shoot screenshot-windows-page1.png

# Page 2: ready to convert.
click "${tab_conversion[@]}"
shoot screenshot-windows-page2.png
