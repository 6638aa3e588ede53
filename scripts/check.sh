#!/usr/bin/env bash
# scripts/check.sh [AREA...]: the quick loop while working on one area. In build/check (Release,
# warnings as errors, no benchmarks) it builds what changed of the test programs of the areas
# named and of what they need, nothing else, and runs those tests on all cores; with no area
# named it builds everything and runs every test. The areas are the folders of tests/ (mesh,
# render, texture, appearance, avatar, cli, tools, app, panel, gui), each with a target
# check_<area>. Window tests run in a virtual X display, one at a time (they share its pointer and
# focus). The full check stays scripts/test.sh.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$root/build/check"

if [ ! -f "$dir/build.ninja" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVMAR_WERROR=ON \
    -DTOVMAR_BUILD_BENCHMARKS=OFF "${launcher[@]}"
fi

labels=()
if [ $# -gt 0 ]; then
  targets=()
  for area in "$@"; do
    if [ "$area" = support ] || [ ! -f "$root/tests/$area/CMakeLists.txt" ]; then
      echo "check.sh: \"$area\" is no test area; the areas are the folders of tests/" >&2
      exit 2
    fi
    targets+=(--target "check_$area")
  done
  cmake --build "$dir" "${targets[@]}"
  pattern="^($(IFS='|'; echo "$*"))\$"
  labels=(-L "$pattern")
else
  cmake --build "$dir"
fi

xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$dir" --output-on-failure \
  -j "$(nproc)" "${labels[@]}"
