#!/usr/bin/env bash
# Makes the README's screenshot: the window with the sample mesh, texture and appearance, shown in
# a virtual X display and captured by its caption. Needs a built tree (default build/release)
# and ImageMagick's `import` (apt-get install imagemagick).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build/release}"
out="${2:-$root/docs/images/window.png}"
command -v import >/dev/null || { echo "screenshot: needs ImageMagick's import" >&2; exit 1; }
sample="$build/sample"
mkdir -p "$(dirname "$out")"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1/app/tovmar" --mesh "$2/sample.llm" --texture "$2/sample.png" --appearance "$2/sample.xml" &
  pid=$!
  sleep 5
  import -window "Untitled - Tovmar" "$3"
  kill $pid
' _ "$build" "$sample" "$out"
echo "Screenshot written to $out"
