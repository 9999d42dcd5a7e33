#!/usr/bin/env bash
# Sets up, builds and runs Merivane's main job on its bundled sample collection: a fresh
# home, pictures and a theme named after events, one change now, and what it did.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
bin=./build/release/src
export MERIVANE_HOME="${MERIVANE_HOME:-$(mktemp -d)}"
echo "Home: $MERIVANE_HOME"
# First-run settings; the setup window that /i opens on a desktop is not wanted here.
env -u DISPLAY -u WAYLAND_DISPLAY "$bin/merivane" /i
"$bin/merivanectl" sample "$MERIVANE_HOME/Pictures" "$MERIVANE_HOME/drive_c/WINDOWS/Resources/Themes" >/dev/null
cat > "$MERIVANE_HOME/sample-settings.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Brennock\\Merivane\\Setup]
"FilesToUse"=dword:00000002
"WallpaperPath"="$MERIVANE_HOME/Pictures/"
REG
"$bin/merivanectl" reg import "$MERIVANE_HOME/sample-settings.reg"
echo
echo "The collection, each file with its window of days:"
"$bin/merivanectl" files | cut -f1,4-6 | sed "s|$MERIVANE_HOME/||" | tr '\t' ' '
echo
"$bin/merivane" /n
stats=$("$bin/merivanectl" reg export 'HKEY_CURRENT_USER\Software\Brennock\Merivane\Stats')
chosen=$(sed -n 's/^"LastFilenameUsed"="\(.*\)"$/\1/p' <<<"$stats" | sed 's/\\\\/\\/g')
reason=$(sed -n 's/^"LastChangeReason"="\(.*\)"$/\1/p' <<<"$stats")
wallpaper=$("$bin/merivanectl" reg export 'HKEY_CURRENT_USER\Control Panel\Desktop' 2>/dev/null |
            sed -n 's/^"Wallpaper"="\(.*\)"$/\1/p' | sed 's/\\\\/\\/g')
echo "Chosen:    ${chosen#"$MERIVANE_HOME/"}"
echo "Why:       $reason"
echo "Wallpaper: ${wallpaper:-(none)}"
echo
echo "The collection in the setup window (on a desktop):  MERIVANE_HOME=$MERIVANE_HOME $bin/merivane"
echo "What each day of the year gets:  MERIVANE_HOME=$MERIVANE_HOME $bin/merivanectl preview --out year.png"
