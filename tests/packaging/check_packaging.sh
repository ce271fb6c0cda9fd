#!/usr/bin/env bash
# Checks of the installation and the Debian package, one step per call (run by CTest):
#   install          cmake --install into $TAVRIN_STAGE/install (a DESTDIR with prefix /usr)
#   installed_files  exactly the expected files are there, programs executable, icons sized
#   desktop_file     desktop-file-validate, and the entry's program and icon are installed
#   metainfo         appstreamcli validate (file and whole tree), id and file name agree
#   man_page         the manual pages (English and German) render without warnings; those of
#                    tavrin-convert document the tool's options and exit codes
#   deb              cpack -G DEB into $TAVRIN_STAGE/deb, control fields, unpacked to deb/root
#   deb_files        the package holds the same files as the installation
#   deb_lintian      lintian finds no error and no warning in the package
#   deb_version      the packaged tavrin-convert tells its version
#   deb_convert      the packaged tavrin-convert converts examples/Beispiel as expected
#   deb_window       the packaged Tavrin starts headless and keeps running
# Environment: TAVRIN_BUILD_DIR, TAVRIN_SOURCE_DIR, TAVRIN_STAGE, TAVRIN_VERSION_TEXT.
set -euo pipefail

: "${TAVRIN_BUILD_DIR:?}" "${TAVRIN_SOURCE_DIR:?}" "${TAVRIN_STAGE:?}" "${TAVRIN_VERSION_TEXT:?}"
install_root="$TAVRIN_STAGE/install"
deb_dir="$TAVRIN_STAGE/deb"
deb_root="$deb_dir/root"
appstream_id="de.tavrin.Tavrin"

# Files below the prefix /usr, as installation and package must hold them.
expected_files() {
  cat <<EOF
usr/bin/Tavrin
usr/bin/tavrin-convert
usr/share/applications/tavrin.desktop
usr/share/doc/tavrin/Benutzerhandbuch.md
usr/share/doc/tavrin/changelog.gz
usr/share/doc/tavrin/copyright
usr/share/icons/hicolor/16x16/apps/tavrin.png
usr/share/icons/hicolor/32x32/apps/tavrin.png
usr/share/icons/hicolor/scalable/apps/tavrin.svg
usr/share/man/de/man1/Tavrin.1.gz
usr/share/man/de/man1/tavrin-convert.1.gz
usr/share/man/man1/Tavrin.1.gz
usr/share/man/man1/tavrin-convert.1.gz
usr/share/metainfo/$appstream_id.metainfo.xml
EOF
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

need_tool() {
  command -v "$1" >/dev/null || fail "$1 is not installed (scripts/install-deps.sh installs it)"
}

# Compares the files below $1 with the expected list.
check_file_list() {
  local root="$1" actual
  actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
  if ! diff <(expected_files | LC_ALL=C sort) <(echo "$actual"); then
    fail "the files below $root differ from the expected list (< expected, > found)"
  fi
}

# A temporary folder of the step, removed when the script ends.
scratch=""
trap '[ -z "$scratch" ] || rm -rf "$scratch"' EXIT
make_scratch_folder() {
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/tavrin-packaging.XXXXXX")
}

step_install() {
  need_tool cmake
  rm -rf "$install_root"
  DESTDIR="$install_root" cmake --install "$TAVRIN_BUILD_DIR" --prefix /usr >/dev/null
  [ -d "$install_root/usr" ] || fail "nothing was installed below $install_root/usr"
}

step_installed_files() {
  need_tool file
  check_file_list "$install_root"
  for program in Tavrin tavrin-convert; do
    [ -x "$install_root/usr/bin/$program" ] || fail "usr/bin/$program is not executable"
  done
  for size in 16 32; do
    local png="$install_root/usr/share/icons/hicolor/${size}x${size}/apps/tavrin.png"
    file "$png" | grep -q "PNG image data, $size x $size," || fail "$png is no $size x $size PNG: $(file "$png")"
  done
  grep -q '<svg' "$install_root/usr/share/icons/hicolor/scalable/apps/tavrin.svg" ||
    fail "the scalable icon is no SVG drawing"
  cmp -s "$TAVRIN_SOURCE_DIR/LICENSE" "$install_root/usr/share/doc/tavrin/copyright" ||
    fail "usr/share/doc/tavrin/copyright is not the licence"
}

step_desktop_file() {
  need_tool desktop-file-validate
  local entry="$install_root/usr/share/applications/tavrin.desktop"
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
  local exec_line icon_name
  exec_line=$(sed -n 's/^Exec=//p' "$entry")
  icon_name=$(sed -n 's/^Icon=//p' "$entry")
  [ -x "$install_root/usr/bin/${exec_line%% *}" ] || fail "Exec=$exec_line names no installed program"
  for icon in "scalable/apps/$icon_name.svg" "16x16/apps/$icon_name.png" "32x32/apps/$icon_name.png"; do
    [ -f "$install_root/usr/share/icons/hicolor/$icon" ] || fail "Icon=$icon_name: hicolor/$icon is missing"
  done
}

step_metainfo() {
  need_tool appstreamcli
  local metainfo="$install_root/usr/share/metainfo/$appstream_id.metainfo.xml"
  appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli validate rejects $metainfo"
  # The whole tree: the launchable desktop entry must be installed beside it.
  appstreamcli validate-tree --no-net --strict "$install_root" || fail "appstreamcli validate-tree rejects the installation"
  grep -q "<id>$appstream_id</id>" "$metainfo" || fail "the metainfo id is not $appstream_id"
  grep -q '<launchable type="desktop-id">tavrin.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch tavrin.desktop"
  grep -q "<release version=\"$TAVRIN_VERSION_TEXT\"" "$metainfo" ||
    fail "the metainfo names no release $TAVRIN_VERSION_TEXT"
}

# Renders one manual page; fails on any warning of groff or man. Prints the rendered text.
render_man_page() {
  local page="$1" warnings rendered
  warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1) || fail "groff failed on $page"
  [ -z "$warnings" ] || fail "groff warns about $page: $warnings"
  rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>"$TAVRIN_STAGE/man-warnings.txt") ||
    fail "man cannot show $page"
  [ ! -s "$TAVRIN_STAGE/man-warnings.txt" ] || fail "man warns about $page: $(cat "$TAVRIN_STAGE/man-warnings.txt")"
  printf '%s\n' "$rendered"
}

step_man_page() {
  need_tool man
  need_tool groff
  local man="$install_root/usr/share/man" help page rendered
  help=$("$install_root/usr/bin/tavrin-convert" --help)
  # Section headings, English and German; EXIT STATUS / EXIT-STATUS only for the tool.
  for page in man1/tavrin-convert.1.gz de/man1/tavrin-convert.1.gz man1/Tavrin.1.gz de/man1/Tavrin.1.gz; do
    rendered=$(render_man_page "$man/$page") || exit 1
    local sections="NAME SYNOPSIS DESCRIPTION"
    case $page in de/*) sections="BEZEICHNUNG \xc3\x9cBERSICHT BESCHREIBUNG" ;; esac
    for section in $sections; do
      section=$(printf '%b' "$section")
      grep -q "^$section\$" <<<"$rendered" || fail "$page has no section $section"
    done
    case $page in *Tavrin.1.gz) continue ;; esac
    local exit_heading="EXIT STATUS"
    case $page in de/*) exit_heading="EXIT-STATUS" ;; esac
    grep -q "^$exit_heading\$" <<<"$rendered" || fail "$page has no section $exit_heading"
    # Every option and exit code that the tool's own help names is documented.
    for option in $(grep -o -- '--[a-z-]*[a-z]' <<<"$help" | sort -u); do
      grep -q -- "$option" <<<"$rendered" || fail "$page does not document $option"
    done
    for code in $(sed -n 's/^  \([0-9]\{1,3\}\)  *.*/\1/p' <<<"$help"); do
      sed -n "/^$exit_heading/,/^[A-Z]/p" <<<"$rendered" | grep -qE "^       $code[ ,]" ||
        fail "$page does not document exit code $code"
    done
  done
}

step_deb() {
  need_tool cpack
  need_tool dpkg-deb
  need_tool dpkg-shlibdeps
  rm -rf "$deb_dir"
  mkdir -p "$deb_dir"
  cpack -G DEB --config "$TAVRIN_BUILD_DIR/CPackConfig.cmake" -B "$deb_dir" >"$deb_dir/cpack.log" 2>&1 ||
    { cat "$deb_dir/cpack.log" >&2; fail "cpack could not build the package"; }
  local packages=("$deb_dir"/*.deb)
  [ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] || fail "cpack made no single .deb: ${packages[*]}"
  local deb="${packages[0]}"
  dpkg-deb -I "$deb"
  [ "$(dpkg-deb -f "$deb" Package)" = tavrin ] || fail "the package is not called tavrin"
  [ "$(dpkg-deb -f "$deb" Version)" = "$TAVRIN_VERSION_TEXT" ] || fail "the package version is not $TAVRIN_VERSION_TEXT"
  [ "$(dpkg-deb -f "$deb" Section)" = devel ] || fail "the package section is not devel"
  grep -qE '^Tavrin-Projekt <[^ @>]+@[^ @>]+\.[a-z]+>$' <<<"$(dpkg-deb -f "$deb" Maintainer)" ||
    fail "the maintainer is not Tavrin-Projekt with a mail address: $(dpkg-deb -f "$deb" Maintainer)"
  local depends names
  depends=$(dpkg-deb -f "$deb" Depends)
  names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
  for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6; do
    grep -qxF "$library" <<<"$names" || fail "Depends lacks $library: $depends"
  done
  dpkg --validate-version "$(dpkg-deb -f "$deb" Version)" || fail "the package version is no valid Debian version"
  dpkg-deb -x "$deb" "$deb_root"
}

step_deb_files() {
  check_file_list "$deb_root"
  # Packed programs are stripped of debugging data.
  for program in Tavrin tavrin-convert; do
    file "$deb_root/usr/bin/$program" | grep -q ', stripped' || fail "usr/bin/$program is not stripped"
  done
}

step_deb_lintian() {
  need_tool lintian
  local deb report
  deb=$(ls "$deb_dir"/*.deb)
  # Errors and warnings fail; informational tags are shown.
  report=$(lintian --info --display-info "$deb" 2>&1) || true
  printf '%s\n' "$report"
  if grep -E '^[EW]: ' <<<"$report"; then
    fail "lintian reports errors or warnings"
  fi
}

step_deb_version() {
  local version
  version=$("$deb_root/usr/bin/tavrin-convert" --version)
  [ "$version" = "tavrin-convert $TAVRIN_VERSION_TEXT" ] || fail "--version says '$version'"
}

step_deb_convert() {
  local status=0
  make_scratch_folder
  "$deb_root/usr/bin/tavrin-convert" "$TAVRIN_SOURCE_DIR/examples/Beispiel" "$scratch/Ziel" >"$scratch/summary.txt" ||
    status=$?
  cat "$scratch/summary.txt"
  [ "$status" -eq 0 ] || fail "tavrin-convert exited with $status"
  diff -r "$TAVRIN_SOURCE_DIR/tests/data/expected/Beispiel" "$scratch/Ziel" ||
    fail "the converted example differs from tests/data/expected/Beispiel"
  grep -q '^Konvertierung abgeschlossen\.\.\.$' "$scratch/summary.txt" || fail "the summary has no closing text"
}

step_deb_window() {
  need_tool timeout
  local status=0
  make_scratch_folder
  # The program must use the system's libraries only.
  if ldd "$deb_root/usr/bin/Tavrin" | grep -E 'not found|'"$TAVRIN_BUILD_DIR"; then
    fail "Tavrin needs libraries that are missing or lie in the build folder"
  fi
  (cd "$scratch" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch" timeout 3 "$deb_root/usr/bin/Tavrin") \
    >"$scratch/output.txt" 2>&1 || status=$?
  cat "$scratch/output.txt"
  [ "$status" -eq 124 ] || fail "Tavrin ended with status $status within 3 seconds instead of running on"
}

step="${1:?which step}"
declare -F "step_$step" >/dev/null || fail "unknown step $step"
"step_$step"
echo "packaging $step: ok"
