#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when some are missing.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n
    libgl-dev libglx-dev libopengl-dev libegl-dev libvulkan-dev
    libcurl4-openssl-dev zlib1g-dev libssl-dev libxlsxwriter-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
