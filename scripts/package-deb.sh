#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get, tries the installed programs, and
# removes it again, checking that nothing of it stays behind.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
# cpack's DEB generator finds the runtime dependencies with dpkg-shlibdeps, and the
# programs among the files with file.
for p in dpkg-dev file; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$p"
done
cmake --preset release >/dev/null
cmake --build --preset release
rm -f build/release/merivane_*.deb
(cd build/release && cpack -G DEB >/dev/null)
deb=$(ls build/release/merivane_*.deb)
echo "Built $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends

DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "./$deb" >/dev/null
echo "Installed:"
dpkg -L merivane
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
MERIVANE_HOME=$home/merivane /usr/bin/merivane /? | head -1
MERIVANE_HOME=$home/merivane /usr/bin/merivanectl events --year 2027 | grep '^Christmas	'
[ -f "$home/merivane/Merivane.hol" ] || { echo "FAIL: the installed program did not find its table" >&2; exit 1; }

files=$(dpkg -L merivane | while read -r f; do [ -f "$f" ] && echo "$f"; done)
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq merivane >/dev/null
if dpkg-query -W -f='${Status}' merivane 2>/dev/null | grep -q "install ok installed"; then
    echo "FAIL: merivane is still installed" >&2
    exit 1
fi
left=""
while read -r f; do
    [ -e "$f" ] && left="$left $f"
done <<<"$files"
[ -z "$left" ] || { echo "FAIL: left behind after removal:$left" >&2; exit 1; }
echo "package: built, installed, tried and removed cleanly"
