#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with, in one apt call and without the packages
# they merely recommend. Installs nothing that is already there.
set -euo pipefail

packages=(
    g++ clang lld cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libpng-dev libjpeg-dev libgif-dev zlib1g-dev
    libcairo2-dev libpixman-1-dev
    libfreetype-dev libfontconfig-dev fonts-liberation
    libwxgtk3.2-dev libwxgtk-webview3.2-dev libgtk-3-dev libx11-dev libpugixml-dev xvfb xauth xclip chromium openbox
    python3 libcurl4-openssl-dev python3-pyftpdlib microsocks dante-server
    desktop-file-utils shared-mime-info xdg-utils libglib2.0-bin
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
