#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building, running and testing Tovmar need, and the
# glTF validator that the tests run; does nothing when they are all there already.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git python3 python3-markdown
  libwxgtk3.2-dev libxml2-dev libcurl4-openssl-dev libpng-dev zlib1g-dev libjpeg-dev libtiff-dev
  libtinygltf-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libglx-mesa0 libegl-dev libegl-mesa0
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth libx11-dev fonts-ipafont-gothic
  librsvg2-bin desktop-file-utils appstream dpkg-dev
  xdotool imagemagick
  blender python3-numpy
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# node and npm run the glTF validator of the command-line tests; some builds of nodejs bring
# their own npm.
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Khronos glTF validator, at the version that tools/node/package-lock.json names, into
# tools/node/node_modules. Without the npm registry the tests that run it skip.
node_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../tools/node" && pwd)"
version_of() { node -p "try { require('$1').version } catch (e) { '' }"; }
wanted="$(node -p "require('$node_dir/package-lock.json').packages['node_modules/gltf-validator'].version")"
if [ "$(version_of "$node_dir/node_modules/gltf-validator/package.json")" != "$wanted" ]; then
  echo "Installing gltf-validator $wanted into tools/node"
  (cd "$node_dir" && npm ci --no-audit --no-fund --loglevel=error) ||
    echo "warning: gltf-validator could not be installed; the tests that run it will skip" >&2
fi
