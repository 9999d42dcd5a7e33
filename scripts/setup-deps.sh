#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only those missing.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev libglib2.0-bin gsettings-desktop-schemas qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev fonts-dejavu-core desktop-file-utils appstream groff-base xvfb openbox x11-utils xdotool poppler-utils dbus-daemon dbus-bin systemd)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
