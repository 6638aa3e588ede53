#!/usr/bin/env bash
# The first command to run: installs what building and running need, builds Tovmar in Release
# into build/release, shows what the generated sample mesh holds, exports it deformed by two morph
# weights as a Wavefront OBJ file and draws it to a PNG picture, all without a display. With
# --window it then opens the window with the sample mesh, its texture and its appearance, and
# returns when the window is closed. Running it again only rebuilds what changed.
# scripts/run.sh [--window]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
window=false
case "${1:-}" in
  "") ;;
  --window) window=true ;;
  *) echo "usage: scripts/run.sh [--window]" >&2; exit 2 ;;
esac
bash "$root/scripts/install-deps.sh" --run

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTOVMAR_BUILD_TESTS=OFF -DTOVMAR_BUILD_BENCHMARKS=OFF -DTOVMAR_WERROR=OFF
cmake --build "$build"

cli="$build/cli/tovmar-cli"
sample="$build/sample"
obj="$sample/sample-deformed.obj"
picture="$sample/sample-deformed.png"
"$cli" info "$sample/sample.llm"
"$cli" export-obj "$sample/sample.llm" --weight Big_Belly_Torso=1.5 --weight Long_Legs=1 -o "$obj"
"$cli" render "$sample/sample.llm" --appearance "$sample/sample.xml" --texture "$sample/sample.png" \
  -o "$picture"
echo
echo "Sample files: $sample (sample.llm, sample.png, sample.xml)"
echo "Deformed sample written to: $obj"
echo "Its picture: $picture"

window_command=("$build/app/tovmar" --mesh "$sample/sample.llm" --texture "$sample/sample.png"
  --appearance "$sample/sample.xml")
if ! $window; then
  echo
  echo "To open the window with the sample: bash scripts/run.sh --window"
  printf '(or:%s)\n' "$(printf ' %q' "${window_command[@]}")"
  exit 0
fi
# Without a display, the program says how to get one.
echo "Opening Tovmar with the sample mesh..."
exec "${window_command[@]}"
