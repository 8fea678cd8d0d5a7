#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing Masumemo needs.
# Runs apt-get only when something is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n libqt6svg6
    qt6-image-formats-plugins
    libgl-dev libxcb1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-ipafont-gothic fonts-monapo
    xvfb xauth xdotool xclip openbox x11-utils imagemagick
    clang libclang-rt-14-dev
    desktop-file-utils appstream
    dpkg-dev lintian man-db groff-base
    ibus ibus-mozc dbus procps
    python3-html5lib
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "Installing these packages needs root: run this as root, or install sudo." >&2
        exit 1
    fi
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
