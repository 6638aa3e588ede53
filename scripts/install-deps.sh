#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building, running and testing Tovmar need; does
# nothing when they are all there already.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git python3
  libwxgtk3.2-dev libxml2-dev libcurl4-openssl-dev libpng-dev zlib1g-dev libjpeg-dev libtiff-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libglx-mesa0 libegl-dev libegl-mesa0
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth libx11-dev fonts-ipafont-gothic
  librsvg2-bin desktop-file-utils appstream dpkg-dev
  xdotool imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
