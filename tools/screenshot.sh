#!/usr/bin/env bash
# Makes the pictures of the README and the user's guide (docs/guide.md), each from the built
# program in a virtual X display:
#   window.png        the window with the sample mesh, its texture and its appearance file
#   mesh.png          the window with the sample mesh alone
#   morph-dialog.png  the window with the morph parameter dialog open beside it
# The mouse and keyboard are driven by xdotool: a click gives the 3D view the keyboard, the F key
# frames the whole model, and a click on "モーフィング" opens the dialog. The program's profile goes
# to a temporary folder.
#
# Usage: tools/screenshot.sh [BUILD_DIR [OUT_DIR]]   (build/release and docs/images by default)
# Needs the targets tovmar and tovmar_sample_data built in BUILD_DIR, and xvfb-run, xdotool and
# ImageMagick's import (scripts/install-deps.sh installs them).
set -euo pipefail

# Inside the virtual display: $build is the build folder, $out the folder of the pictures, $pid
# and $window the running program and its main window.

# Starts the program with the given options and waits for its window and its first pictures.
start() {
  "$build/app/tovmar" "$@" &
  pid=$!
  window=$(timeout 30 xdotool search --sync --name "^Untitled - Tovmar$" | head -n 1)
  sleep 2
}

stop() {
  kill "$pid"
  wait "$pid" || true
}

# Moves the pointer off the windows, so that no control shows it hovering, and lets them repaint.
pointer_away() {
  xdotool mousemove 1023 767
  sleep 1
}

# Clicks the 3D view (a click in place turns nothing) and presses F, which frames the whole model.
frame_model() {
  xdotool mousemove --window "$window" 300 300 click 1
  sleep 0.5
  xdotool key f
  pointer_away
}

# Clicks "モーフィング", the second button under "LLM メッシュ", and prints the id of the dialog
# window that opens to the right of the main window.
open_morph_dialog() {
  xdotool mousemove --window "$window" 43 184 click 1
  pointer_away
  local dialog
  for _ in $(seq 50); do
    dialog=$(xdotool search --onlyvisible --pid "$pid" | grep -v -x "$window" | head -n 1 || true)
    if [ -n "$dialog" ]; then
      echo "$dialog"
      return 0
    fi
    sleep 0.2
  done
  echo "screenshot: the morph parameter dialog did not open" >&2
  return 1
}

take_pictures() {
  local sample="$build/sample"
  start --mesh "$sample/sample.llm"
  frame_model
  import -window "$window" "$out/mesh.png"
  stop

  start --mesh "$sample/sample.llm" --texture "$sample/sample.png" --appearance "$sample/sample.xml"
  frame_model
  import -window "$window" "$out/window.png"

  local dialog X Y WIDTH HEIGHT
  dialog=$(open_morph_dialog) || { stop; return 1; }
  sleep 1
  # Both windows, from the screen's corner to the lower of their bottom edges.
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  local bottom=$((Y + HEIGHT))
  eval "$(xdotool getwindowgeometry --shell "$dialog" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  local right=$((X + WIDTH))
  [ "$bottom" -ge $((Y + HEIGHT)) ] || bottom=$((Y + HEIGHT))
  import -window root -crop "${right}x${bottom}+0+0" +repage "$out/morph-dialog.png"
  stop
}

if [ "${1:-}" = "--in-display" ]; then
  build="$2"
  out="$3"
  take_pictures
  exit
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build/release}" && pwd)"
out="${2:-$root/docs/images}"
for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshot: needs $tool" >&2; exit 1; }
done
if [ ! -x "$build/app/tovmar" ] || [ ! -f "$build/sample/sample.llm" ]; then
  echo "screenshot: build the targets tovmar and tovmar_sample_data in $build first" >&2
  exit 1
fi
mkdir -p "$out"
out="$(cd "$out" && pwd)"

# The profile and the per-user desktop files go to a folder of their own, not the user's.
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
# -wr: a white screen behind the windows.
XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
  xvfb-run -a -s "-screen 0 1024x768x24 -wr" bash "${BASH_SOURCE[0]}" --in-display "$build" "$out"
echo "Pictures written to $out: window.png, mesh.png, morph-dialog.png"
