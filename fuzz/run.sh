#!/usr/bin/env bash
# fuzz/run.sh SECONDS: builds the fuzz targets in build/fuzz with clang, makes their seed inputs,
# runs every seed and saved reproducer once, then fuzzes each target for SECONDS seconds in turn.
# Exits non-zero when any input crashes, leaks, hangs or runs out of memory; the inputs a run
# finds go to build/fuzz/artifacts/<target>/, its growing corpus stays in build/fuzz/corpus/.
set -euo pipefail
seconds="${1:?usage: fuzz/run.sh SECONDS}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/fuzz"

# The whole tree is instrumented, so that the project's code guides the fuzzers; assertions stay.
flags="-O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined"
flags+=" -fno-sanitize-recover=all"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" -DTOVMAR_BUILD_FUZZERS=ON \
  -DTOVMAR_BUILD_GUI=OFF -DTOVMAR_BUILD_TESTS=OFF -DTOVMAR_BUILD_BENCHMARKS=OFF -DTOVMAR_WERROR=ON
cmake --build "$build" --parallel "$(nproc)"

# Temporary files of the targets go to the folder the tests use too, inside the build, and are
# cleared at the end: a crashing input leaves its files behind.
export TMPDIR="$build/fuzz/tmp"
mkdir -p "$TMPDIR"
trap 'find "$TMPDIR" -mindepth 1 -delete' EXIT
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
# The toolkit's own leaks (its GIF decoder loses a failed frame) are not ours to report.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# Each run's whole output goes to a log in build/fuzz/logs/; the console gets one line a run,
# and at the end, for every run that failed, each input it found (gzip, then base64, so that a
# failure on a machine without its files can be reproduced) and the report that ends its log.
logs="$build/logs"
mkdir -p "$logs"
started="$logs/started"
touch "$started"
status=0
failed=()
if ctest --test-dir "$build/fuzz" --output-on-failure >"$logs/inputs.log" 2>&1; then
  echo "== seeds and saved reproducers: $(grep -o '[0-9]*% tests passed.*' "$logs/inputs.log")"
else
  echo "== seeds and saved reproducers: FAILED (log: $logs/inputs.log)"
  failed+=(inputs)
  status=1
fi

# target:dictionary
for pair in fuzz_llm:llm fuzz_bmp:bmp fuzz_image:image fuzz_appearance:xml fuzz_skeleton:skeleton; do
  target="${pair%%:*}"
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  inputs=("$corpus" "$build/fuzz/seeds/$target")
  # The real meshes beside the project, when they are there, seed the mesh reader too.
  if [[ "$target" == fuzz_llm && -d "$root/../shared/realdata" ]]; then
    inputs+=("$root/../shared/realdata")
  fi
  # The world's skeleton seeds the skeleton reader, when it is there.
  if [[ "$target" == fuzz_skeleton && -f "$root/../shared/realdata/avatar_skeleton.xml" ]]; then
    mkdir -p "$build/real-skeleton"
    cp "$root/../shared/realdata/avatar_skeleton.xml" "$build/real-skeleton/"
    inputs+=("$build/real-skeleton")
  fi
  log="$logs/$target.log"
  if "$build/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -dict="$root/fuzz/${pair#*:}.dict" -artifact_prefix="$artifacts/" -print_final_stats=1 \
    "${inputs[@]}" >"$log" 2>&1; then
    echo "== $target: $seconds seconds, clean: $(grep -m1 -o 'Done [0-9]* runs' "$log")," \
      "$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)"
  else
    echo "== $target: FAILED (log: $log)"
    failed+=("$target")
    status=1
  fi
done

for run in "${failed[@]}"; do
  if [[ -d "$build/artifacts/$run" ]]; then
    find "$build/artifacts/$run" -type f -newer "$started" | while read -r input; do
      echo "==== $run: $(basename "$input"), gzip then base64 (base64 -d | gunzip >FILE)"
      gzip -9c "$input" | base64
    done
  fi
  echo "==== $run: the end of its log"
  tail -n 60 "$logs/$run.log"
done
exit "$status"
