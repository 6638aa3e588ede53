#!/usr/bin/env bash
# The first command to run: installs what is missing, builds Tovmar in Release into
# build/release, shows what the generated sample mesh holds and exports it, deformed by two morph
# weights, as a Wavefront OBJ file, then opens the window with the sample mesh,
# its texture and its appearance. Running it again
# only rebuilds what changed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/install-deps.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTOVMAR_BUILD_TESTS=OFF -DTOVMAR_BUILD_BENCHMARKS=OFF -DTOVMAR_WERROR=OFF
cmake --build "$build"

cli="$build/cli/tovmar-cli"
sample="$build/sample"
obj="$sample/sample-deformed.obj"
"$cli" info "$sample/sample.llm"
"$cli" export-obj "$sample/sample.llm" --weight Big_Belly_Torso=1.5 --weight Long_Legs=1 -o "$obj"
echo
echo "Sample files: $sample (sample.llm, sample.png, sample.xml)"
echo "Deformed sample written to: $obj"

# The window with the sample mesh (without a display, the program says how to get one).
echo "Opening Tovmar with the sample mesh..."
exec "$build/app/tovmar" --mesh "$sample/sample.llm" --texture "$sample/sample.png" \
  --appearance "$sample/sample.xml"
