#!/usr/bin/env bash
# Installs what is missing, checks that every C++ file is formatted, builds from scratch twice (a
# normal build, and one under AddressSanitizer + UndefinedBehaviorSanitizer), warnings as errors,
# and runs every test of both through CTest; then runs every fuzz target for a minute
# (fuzz/run.sh, which keeps its build and its growing corpus in build/fuzz). Window tests run in a
# virtual X display.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/install-deps.sh"

# Every C++ file as the repository's .clang-format lays it out.
git -C "$root" ls-files -z '*.cpp' '*.h' | (cd "$root" && xargs -0 clang-format --dry-run --Werror)
# Every include within the layers.
bash "$root/scripts/check-layers.sh"

# build_and_test DIR [CTEST_OPTION...] -- [CMAKE_OPTION...]
build_and_test() {
  local dir="$root/build/$1"
  shift
  local ctest_options=()
  while [ "$1" != "--" ]; do
    ctest_options+=("$1")
    shift
  done
  shift
  rm -rf "$dir"
  # A compiler cache, where the machine has one, makes the second full check of a day a quick one;
  # the build is still made from scratch.
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" "$@"
  cmake --build "$dir"
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$dir" --output-on-failure \
    "${ctest_options[@]}"
}

build_and_test test-release -- -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVMAR_WERROR=ON
# LeakSanitizer's own tracer, which stops the threads to look for leaks at exit, now and then
# crashes ("Tracer caught signal 11") in a program that drew with OpenGL and passed, while the
# driver's threads wind down (the window tests look for leaks before that; tovmar-cli, which the
# command-line tests run, cannot); a test that fails under the sanitizers gets one more run. A
# real leak or fault fails both.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
  build_and_test test-sanitize --repeat until-pass:2 -- -DCMAKE_BUILD_TYPE=Debug \
  -DTOVMAR_SANITIZE=ON -DTOVMAR_WERROR=ON -DTOVMAR_BUILD_BENCHMARKS=OFF

# Every fuzz target for a minute from its seeds and saved reproducers, in a clang build of its
# own; a crash, a leak, a hang or a memory flood fails the run.
bash "$root/fuzz/run.sh" 60
