#!/usr/bin/env bash
# Builds the conversion core, tavrin-convert.exe, the window Tavrin.exe and their tests for
# 64-bit Windows with the MinGW-w64 cross compiler and runs them under Wine, the window's on a
# virtual display (Xvfb) of their own. Then converts every project
# under examples/ with the .exe from a folder whose path holds characters of no single code
# page and compares the result byte for byte with tests/data/expected/, and packs and checks
# tavrin-<version>-win64.zip, and builds the installer tavrin-<version>-win64-setup.exe (NSIS)
# and installs and uninstalls it silently. Installs what is missing (apt-get).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/virtual-display.sh
scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 googletest unzip xvfb fonts-wine nsis

build=$root/build-windows
# A Wine installation of our own, made on the first run; Windows keeps no folder hidden for a
# leading "." in its name, and neither shall Wine (ShowDotFiles).
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
xvfb_pid=
work=
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  if [ -n "$work" ]; then rm -rf "$work"; fi
}
trap cleanup EXIT
# A Wine server of this prefix left from an earlier run would keep its own display.
/usr/lib/wine/wineserver -k 2>/dev/null || true

# A virtual display for the windows, before any Wine program.
start_virtual_display 1024x768x24

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot --init >/dev/null 2>&1
fi
"$wine" reg add 'HKCU\Software\Wine' /v ShowDotFiles /d Y /f >/dev/null 2>&1
# Wine's own fonts in the prefix, so that the window's "MS Sans Serif" and Tahoma are there.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true

# Wine shows the Linux root as drive Z:, so the tests find the sources there. Optimized as the
# Linux build is (-O2; GCC 12's string code trips a false -Wrestrict warning at -O3), without
# debugging information.
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DTAVRIN_TEST_SOURCE_DIR="Z:$root"
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2

for program in tavrin-convert Tavrin; do
  exe=$build/bin/$program.exe
  echo "== $program.exe: no DLLs beyond Windows' own, the version resource"
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  echo "$dlls" | tr '\n' ' '; echo
  if echo "$dlls" | grep -v -E '^(kernel32|msvcrt|ntdll|advapi32|user32|gdi32|comctl32|shell32|ucrtbase|api-ms-win-.*)\.dll$'; then
    echo "$program.exe needs a DLL that Windows does not have" >&2
    exit 1
  fi
  python3 - "$exe" "$program.exe" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
for text in ("FileDescription", "Austausch der VB5-Common Controls gegen die erweiterten VB6-Common Controls",
             "FileVersion", "1.00.0006", sys.argv[2]):
    if text.encode("utf-16-le") not in data:
        sys.exit(f"version resource lacks {text!r}")
PY
done
exe=$build/bin/tavrin-convert.exe
echo "== Tavrin.exe: the manifest asks for comctl32 version 6 and per-monitor DPI awareness"
python3 - "$build/bin/Tavrin.exe" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
for text in (b'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', b"PerMonitorV2"):
    if text not in data:
        sys.exit(f"manifest lacks {text!r}")
PY

echo "== examples/ converted by tavrin-convert.exe from a folder named in several scripts"
work=$(mktemp -d)
folder="$work/Prüfung äöü 日本語 Кириллица"
# Every example with a plain conversion among the expected results ("Lager+r" is one with
# --recursive, checked by the tests).
for expected_folder in tests/data/expected/*/; do
  name=$(basename "$expected_folder")
  case $name in *+*) continue ;; esac
  example=examples/$name
  mkdir -p "$folder"
  cp -r "$example" "$folder/$name"
  out=$("$wine" "$exe" "Z:$folder/$name" "Z:$folder/$name-Ziel")
  echo "$out" | grep -q '^Dateien nicht übertragen: *0$' || { echo "$out" >&2; exit 1; }
  expected=tests/data/expected/$name
  if [ "$(cd "$expected" && ls -A | sort)" != "$(cd "$folder/$name-Ziel" && ls -A | sort)" ]; then
    echo "$name: other files than expected" >&2
    exit 1
  fi
  for file in "$expected"/*; do
    cmp "$file" "$folder/$name-Ziel/$(basename "$file")"
  done
  diff -r "$example" "$folder/$name" >/dev/null || { echo "$name: the source was changed" >&2; exit 1; }
  echo "$name: byte for byte as expected"
done

echo "== tavrin-*-win64.zip"
(cd "$build" && cpack -G ZIP >/dev/null)
zip=$build/tavrin-1.00.0006-win64.zip
[ -f "$zip" ] || { echo "cpack made no $(basename "$zip")" >&2; exit 1; }
listing=$(unzip -Z1 "$zip" | sort)
echo "$listing"
for file in Tavrin.exe tavrin-convert.exe LIESMICH.txt LICENSE.txt Benutzerhandbuch.txt; do
  echo "$listing" | grep -q "^tavrin-1.00.0006-win64/$file\$" || { echo "$(basename "$zip") lacks $file" >&2; exit 1; }
done
unzip -q "$zip" -d "$work/zip"
unpacked=$work/zip/tavrin-1.00.0006-win64
"$wine" "$unpacked/tavrin-convert.exe" --version | tr -d '\r' | grep -qx 'tavrin-convert 1.00.0006'
# The read-me as Notepad wants it: UTF-8 with a byte order mark, every line ending in CR LF.
python3 - "$unpacked/LIESMICH.txt" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
if not data.startswith(b"\xef\xbb\xbf"):
    sys.exit("LIESMICH.txt: no UTF-8 byte order mark")
text = data[3:].decode("utf-8")
if text.replace("\r\n", "").count("\n") or text.replace("\r\n", "").count("\r") or not text.endswith("\r\n"):
    sys.exit("LIESMICH.txt: a line not ending in CR LF")
for word in ("Tavrin.exe", "tavrin-convert.exe", "Startmenü", "tavrin-1.00.0006-win64-setup.exe", "Benutzerhandbuch.txt"):
    if word not in text:
        sys.exit(f"LIESMICH.txt does not mention {word!r}")
PY
echo "$(basename "$zip"): $(stat -c %s "$zip") bytes, tavrin-convert.exe $(unzip -Zl "$zip" | awk '/tavrin-convert.exe/ {print $4}') bytes"

echo "== tavrin-*-win64-setup.exe: installed and uninstalled silently"
cmake --build "$build" --target tavrin_installer
setup=$build/tavrin-1.00.0006-win64-setup.exe
python3 - "$setup" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
pe = int.from_bytes(data[0x3c:0x40], "little")
if data[pe:pe + 6] != b"PE\0\0\x64\x86":
    sys.exit("the installer is not a 64-bit program")
for text in ("ProductVersion", "1.00.0006", "Tavrin"):
    if text.encode("utf-16-le") not in data:
        sys.exit(f"the installer's version resource lacks {text!r}")
PY
installed="$WINEPREFIX/drive_c/Program Files/Tavrin"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tavrin.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrin'
files="Tavrin.exe tavrin-convert.exe LIESMICH.txt LICENSE.txt Benutzerhandbuch.txt Uninstall.exe"
# An installation left by an interrupted earlier run would hide a fault of this one (the prefix
# is the test's own).
rm -rf "$installed" "$shortcut"
"$wine" reg delete "$key" /f >/dev/null 2>&1 || true
started=$(date +%s)
timeout 120 "$wine" "$setup" /S
for file in $files; do
  [ -f "$installed/$file" ] || { echo "the installer did not install $file" >&2; exit 1; }
done
# The files as packed (stripped again for the installer: strip stamps the time into an .exe, so
# those of the zip may differ in it).
for file in Tavrin.exe tavrin-convert.exe LIESMICH.txt LICENSE.txt Benutzerhandbuch.txt; do
  cmp "$build/installer/files/$file" "$installed/$file"
done
[ -f "$shortcut" ] || { echo "no Start menu entry Tavrin.lnk" >&2; exit 1; }
# The shortcut points at the installed window (a .lnk keeps the target path in UTF-16 or ANSI).
python3 - "$shortcut" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
if not any(t in data for t in (b"Tavrin\\Tavrin.exe", "Tavrin\\Tavrin.exe".encode("utf-16-le"))):
    sys.exit("Tavrin.lnk does not point at Tavrin\\Tavrin.exe")
PY
registry=$(timeout 60 "$wine" reg query "$key" | tr -d '\r')
echo "$registry"
for value in 'DisplayName REG_SZ Tavrin$' 'DisplayVersion REG_SZ 1.00.0006$' 'Publisher REG_SZ Tavrin-Projekt$' \
    'UninstallString REG_SZ "C:\\Program Files\\Tavrin\\Uninstall.exe"$' \
    'QuietUninstallString REG_SZ "C:\\Program Files\\Tavrin\\Uninstall.exe" /S$' \
    'DisplayIcon REG_SZ C:\\Program Files\\Tavrin\\Tavrin.exe,0$' \
    'InstallLocation REG_SZ C:\\Program Files\\Tavrin$' 'NoModify REG_DWORD 0x1$' 'NoRepair REG_DWORD 0x1$' \
    'EstimatedSize REG_DWORD 0x[0-9a-f]*[1-9a-f][0-9a-f]*$'; do
  echo "$registry" | sed 's/^ *//; s/  */ /g' | grep -q "^$value" || { echo "uninstall entry lacks: $value" >&2; exit 1; }
done
"$wine" "$installed/tavrin-convert.exe" --version | tr -d '\r' | grep -qx 'tavrin-convert 1.00.0006'
# A file of the user's in the program folder stays, and so does the folder then.
echo kept > "$installed/Notizen.txt"
# The uninstaller copies itself to a temporary folder, starts the copy and returns at once: wait
# until it has removed its own file (the last but the folder), at most 60 s.
timeout 60 "$wine" "$installed/Uninstall.exe" /S
for _ in $(seq 600); do
  [ -e "$installed/Uninstall.exe" ] || break
  sleep 0.1
done
for file in $files; do
  [ ! -e "$installed/$file" ] || { echo "the uninstaller left $file" >&2; exit 1; }
done
[ ! -e "$shortcut" ] || { echo "the uninstaller left the Start menu entry" >&2; exit 1; }
[ "$(cat "$installed/Notizen.txt")" = kept ] || { echo "the uninstaller removed a file it had not installed" >&2; exit 1; }
rm "$installed/Notizen.txt"
if timeout 60 "$wine" reg query "$key" >/dev/null 2>&1; then
  echo "the uninstaller left the uninstall entry" >&2
  exit 1
fi
# Without the user's file the folder goes as well.
timeout 120 "$wine" "$setup" /S
timeout 60 "$wine" "$installed/Uninstall.exe" /S
for _ in $(seq 600); do
  [ -e "$installed" ] || break
  sleep 0.1
done
[ ! -e "$installed" ] || { echo "the uninstaller left the empty program folder" >&2; exit 1; }
echo "$(basename "$setup"): $(stat -c %s "$setup") bytes; installed, checked and uninstalled twice in $(($(date +%s) - started)) s"
