#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need,
# and only those not installed yet.
set -euo pipefail

packages=(
    cmake make g++ pkg-config clang-format
    qt6-base-dev libgl-dev libxcb1-dev libxcb-xtest0-dev libxcb-xkb-dev fonts-noto-cjk qt6-translations-l10n
    libcurl4-openssl-dev
    libgtest-dev
    clang libclang-rt-14-dev clang-tidy-22
    libcpp-httplib-dev tinyproxy-bin openssl
    g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth
    fcitx5 fcitx5-pinyin fcitx5-frontend-qt6 ibus ibus-libpinyin dbus-daemon at-spi2-core
    dpkg-dev xdotool firefox-esr fcitx5-frontend-gtk3
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
