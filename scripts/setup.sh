#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, when missing.
set -euo pipefail

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-webengine-dev qt6-multimedia-dev qt6-svg-dev
  libcurl4-openssl-dev zlib1g-dev libgumbo-dev libcpp-httplib-dev libssl-dev openssl ca-certificates
  libgtest-dev libgmock-dev libbenchmark-dev tzdata fonts-dejavu-core ccache xvfb xdotool poppler-utils libxcb1-dev dbus-daemon dbus-bin python3-dbusmock
  libx11-dev libxtst-dev openbox trayer python3
  qt6-gtk-platformtheme adwaita-icon-theme)  # the desktop theme's look (dark and light) checked by hand

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi
