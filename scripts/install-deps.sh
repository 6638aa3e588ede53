#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building and running Tovmar need; without --run also
# what testing it needs (the test libraries, the virtual display, the desktop files' validators,
# the packaging tools, the ja_JP.UTF-8 and de_DE.UTF-8 locales) and the glTF validator that the
# tests run. Does nothing when they are all there already.
# scripts/install-deps.sh [--run]
set -euo pipefail

run_only=false
[ "${1:-}" = --run ] && run_only=true

packages=(
  g++ cmake ninja-build pkg-config git python3-markdown
  libwxgtk3.2-dev libxml2-dev libcurl4-openssl-dev libpng-dev zlib1g-dev libjpeg-dev libtiff-dev
  libisal-dev libtinygltf-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libglx-mesa0 libegl-dev libegl-mesa0
  librsvg2-bin fonts-ipafont-gothic
)
if ! $run_only; then
  packages+=(
    python3 libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    xvfb xauth libx11-dev locales
    desktop-file-utils shared-mime-info appstream dpkg-dev lintian
    xdotool imagemagick
    blender python3-numpy
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# node and npm run the glTF validator of the command-line tests; some builds of nodejs bring
# their own npm.
if ! $run_only; then
  command -v node >/dev/null || missing+=(nodejs)
  command -v npm >/dev/null || missing+=(npm)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

$run_only && exit 0

# The window tests run under Japanese and German locales (dialog texts, number reading); the
# locales are generated once and left alone when they are there.
wanted_locales=(ja_JP.UTF-8 de_DE.UTF-8)
missing_locales=()
for l in "${wanted_locales[@]}"; do
  locale -a 2>/dev/null | grep -qix "${l/UTF-8/utf8}" || missing_locales+=("$l")
done
if [ ${#missing_locales[@]} -gt 0 ]; then
  echo "Generating locales: ${missing_locales[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  for l in "${missing_locales[@]}"; do
    grep -qx "$l UTF-8" /etc/locale.gen 2>/dev/null || echo "$l UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  done
  $sudo locale-gen >/dev/null
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
