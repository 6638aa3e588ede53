#!/usr/bin/env bash
# Installs what is missing, builds from scratch twice (a normal build, and one under
# AddressSanitizer + UndefinedBehaviorSanitizer), warnings as errors, and runs every test of
# both through CTest. Window tests run in a virtual X display.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/install-deps.sh"

build_and_test() {
  local dir="$root/build/$1"
  shift
  rm -rf "$dir"
  cmake -S "$root" -B "$dir" -G Ninja "$@"
  cmake --build "$dir"
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$dir" --output-on-failure
}

# GCC 12's optimiser reports false -Wrestrict and -Wmaybe-uninitialized warnings in the
# standard library's inline code, so warnings are errors in the unoptimised build below.
build_and_test test-release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVMAR_WERROR=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
  build_and_test test-sanitize -DCMAKE_BUILD_TYPE=Debug -DTOVMAR_SANITIZE=ON -DTOVMAR_WERROR=ON \
  -DTOVMAR_BUILD_BENCHMARKS=OFF
