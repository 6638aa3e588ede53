#!/usr/bin/env bash
# scripts/check.sh [LABEL...]: the quick loop while working on one area. Builds what changed in
# build/check (Release, warnings as errors, no benchmarks) and runs the tests of the areas named,
# or every test when none is named, on all cores. The areas are the test folders' labels: mesh,
# render, texture, appearance, avatar, cli, app, panel, gui. Window tests run in a virtual X display, one
# at a time (they share its pointer and focus). The full check stays scripts/test.sh.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$root/build/check"

if [ ! -f "$dir/build.ninja" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVMAR_WERROR=ON \
    -DTOVMAR_BUILD_BENCHMARKS=OFF "${launcher[@]}"
fi
cmake --build "$dir"

labels=()
if [ $# -gt 0 ]; then
  pattern="^($(IFS='|'; echo "$*"))\$"
  labels=(-L "$pattern")
fi
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$dir" --output-on-failure \
  -j "$(nproc)" "${labels[@]}"
