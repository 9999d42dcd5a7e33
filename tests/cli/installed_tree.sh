#!/usr/bin/env bash
# An installed Merivane works from its installed tree alone: installed into a DESTDIR, run
# where neither the source tree nor the build tree can be seen.
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null || fail "cmake --install failed"
for f in usr/bin/merivane usr/bin/merivanectl usr/share/merivane/Merivane.hol \
         usr/share/applications/com.brennock.Merivane.desktop \
         usr/share/metainfo/com.brennock.Merivane.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/com.brennock.Merivane.svg \
         usr/share/icons/hicolor/48x48/apps/com.brennock.Merivane.png \
         usr/share/man/man1/merivane.1 usr/share/man/man1/merivanectl.1; do
    [ -f "$root/$f" ] || fail "not installed: /$f"
done
# An event only the installed table has: seen, the data came from the installed tree.
printf 'Installed Tree Day\tx\t7\t4\t1\t\r\n' >>"$root/usr/share/merivane/Merivane.hol"

hide=()
hidden=no
if unshare -rm true 2>/dev/null; then
    hide=(unshare -rm)
    hidden=yes
else
    echo "note: no mount namespace here; the trees stay visible, and the installed table still shows where the data came from"
fi
cd "$work"
"${hide[@]}" bash -s "$root" "$work" "$source" "$build" "$hidden" <<'INNER' || exit 1
set -euo pipefail
root=$1 work=$2 source=$3 build=$4 hidden=$5
fail() { echo "FAIL: $*" >&2; exit 1; }
if [ "$hidden" = yes ]; then
    # Empty folders over both trees, in this namespace only.
    mount -t tmpfs tmpfs "$source" || fail "cannot hide the source tree"
    case "$build" in "$source"/*) ;; *) mount -t tmpfs tmpfs "$build" || fail "cannot hide the build tree" ;; esac
    [ ! -e "$source/CMakeLists.txt" ] || fail "the source tree is still visible"
    [ ! -e "$build/CMakeCache.txt" ] || fail "the build tree is still visible"
fi
unset DISPLAY WAYLAND_DISPLAY MERIVANE_DATA_DIR
export MERIVANE_HOME=$work/home MERIVANE_NOW=2026-12-24T09:00 PATH=$root/usr/bin:/usr/bin:/bin
merivane /i || fail "merivane /i exited $?"
events=$(merivanectl events)
grep -q '^Installed Tree Day	2026-07-04' <<<"$events" || fail "the installed event table was not used"
grep -q 'Installed Tree Day' "$MERIVANE_HOME/Merivane.hol" || fail "the home's table is not the installed one"
merivanectl sample "$work/Pictures" "$MERIVANE_HOME/drive_c/WINDOWS/Resources/Themes" >/dev/null \
    || fail "merivanectl sample exited $?"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Brennock\\Merivane\\Setup]\n"FilesToUse"=dword:00000002\n"WallpaperPath"="%s/"\n' \
    "$work/Pictures" >"$work/settings.reg"
merivanectl reg import "$work/settings.reg" || fail "reg import exited $?"
out=$(merivane /n 2>/dev/null) || fail "merivane /n exited $?"
[[ "$out" == "Changed to Christmas "* ]] || fail "merivane /n: $out"
files=$(merivanectl files) || fail "merivanectl files exited $?"
grep -q "$work/Pictures/Christmas Snow.jpg	wallpaper" <<<"$files" || fail "merivanectl files lacks the sample: $files"
INNER
echo "installed tree: ok"
