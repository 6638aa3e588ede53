#!/usr/bin/env bash
# Times this tree's tovmar-cli against the one of an earlier commit, side by side: both are built
# in Release under build/compare/ and run alternately, as whole processes, on the same files.
#
#   render batch, JPEG   50 meshes at 512 x 512, each dressed with one 2048 x 2048 JPEG texture
#   render batch         the same 50 meshes without the texture
#   info                 `info` of one mesh, 20 runs per measurement
#
# The meshes are 50 copies of the real lower body (977 vertices) when ../shared/realdata holds
# it, of the generated sample (6120 vertices) otherwise; the texture is the generated sample
# texture scaled to 2048 x 2048 and saved as JPEG at quality 90. Each case is measured RUNS times
# per program, the two programs taking turns to go first; the table gives the median with the
# minimum and maximum in milliseconds, the ratio of the medians (earlier / current) and the range
# of the ratios of the rounds. Nothing here asserts a time: read the figures with the load
# average printed beside them.
#
# Usage: bench/compare-with.sh [REV [RUNS]]   (b3871b0 and 5 by default)
# Needs git, cmake, ninja, a C++ compiler and ImageMagick's convert (scripts/install-deps.sh).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rev="${1:-b3871b0}"
runs="${2:-5}"
work="$root/build/compare"
commit="$(git -C "$root" rev-parse --short "$rev^{commit}")"
mkdir -p "$work"

# Builds tovmar-cli and the sample files of the source tree $1 in the folder $2.
build() {
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVMAR_WERROR=OFF \
    -DTOVMAR_BUILD_TESTS=OFF -DTOVMAR_BUILD_BENCHMARKS=OFF -DTOVMAR_BUILD_GUI=OFF \
    "${launcher[@]}" >/dev/null
  cmake --build "$2" --target tovmar-cli tovmar_sample_data >/dev/null
}

echo "Building $commit and the current tree (Release) under $work ..."
if [ ! -f "$work/src-$commit/CMakeLists.txt" ]; then
  mkdir -p "$work/src-$commit"
  git -C "$root" archive "$commit" | tar -x -C "$work/src-$commit"
fi
build "$work/src-$commit" "$work/build-$commit"
build "$root" "$work/build-current"
old="$work/build-$commit/cli/tovmar-cli"
new="$work/build-current/cli/tovmar-cli"

# The files both programs read.
data="$work/data"
rm -rf "$data"
mkdir -p "$data/meshes" "$data/out-old" "$data/out-new"
mesh="$root/../shared/realdata/avatar_lower_body.llm"
[ -f "$mesh" ] || mesh="$work/build-current/sample/sample.llm"
for i in $(seq -w 1 50); do cp "$mesh" "$data/meshes/mesh$i.llm"; done
convert "$work/build-current/sample/sample.png" -resize '2048x2048!' -quality 90 "$data/texture.jpg"

# Runs the command and prints how long it took in microseconds; a failed run ends the script.
time_us() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || { echo "compare: this failed: $*" >&2; exit 1; }
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}

# run_case PROGRAM OUT CASE: one measurement of one case.
run_case() {
  local i
  case "$3" in
    texture) "$1" render "$data"/meshes/*.llm --texture "$data/texture.jpg" --size 512x512 -o "$2" ;;
    plain) "$1" render "$data"/meshes/*.llm --size 512x512 -o "$2" ;;
    info) for i in $(seq 20); do "$1" info "$data/meshes/mesh01.llm"; done ;;
  esac
}

# How many pictures of the two programs differ in their pixels.
differing_pictures() {
  local f differ=0
  for f in "$data/out-old"/*.png; do
    cmp -s <(convert "$f" rgb:-) <(convert "$data/out-new/$(basename "$f")" rgb:-) ||
      differ=$((differ + 1))
  done
  echo $differ
}

# The median, minimum and maximum of the numbers on standard input.
stats() {
  sort -g | awk '{ v[NR] = $1 } END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%s %s %s\n", m, v[1], v[NR] }'
}

echo "Machine: $(nproc) processors; load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Meshes: 50 copies of $(basename "$mesh")"
pixels=""
printf '\n%-18s %-26s %-26s %s\n' "case" "$commit ms" "current ms" "ratio (range)"
for name in texture plain info; do
  old_times=()
  new_times=()
  ratios=()
  # One warm-up run each, so that both start from files in the page cache.
  run_case "$old" "$data/out-old" $name >/dev/null 2>&1 || true
  run_case "$new" "$data/out-new" $name >/dev/null 2>&1 || true
  for round in $(seq "$runs"); do
    if [ $((round % 2)) -eq 1 ]; then
      o=$(time_us run_case "$old" "$data/out-old" $name)
      n=$(time_us run_case "$new" "$data/out-new" $name)
    else
      n=$(time_us run_case "$new" "$data/out-new" $name)
      o=$(time_us run_case "$old" "$data/out-old" $name)
    fi
    old_times+=("$o")
    new_times+=("$n")
    ratios+=("$(awk -v o="$o" -v n="$n" 'BEGIN { printf "%.2f", o / n }')")
  done
  read -r om omin omax < <(printf '%s\n' "${old_times[@]}" | stats)
  read -r nm nmin nmax < <(printf '%s\n' "${new_times[@]}" | stats)
  read -r _ rmin rmax < <(printf '%s\n' "${ratios[@]}" | stats)
  if [ $name = info ]; then div=20000; else div=1000; fi
  awk -v name="$name" -v om="$om" -v omin="$omin" -v omax="$omax" -v nm="$nm" -v nmin="$nmin" \
    -v nmax="$nmax" -v rmin="$rmin" -v rmax="$rmax" -v d="$div" 'BEGIN {
      label = name == "texture" ? "render batch, JPEG" : name == "plain" ? "render batch" : "info (one run)"
      printf "%-18s %-26s %-26s %.2fx (%s-%s)\n", label,
        sprintf("%.1f (%.1f-%.1f)", om / d, omin / d, omax / d),
        sprintf("%.1f (%.1f-%.1f)", nm / d, nmin / d, nmax / d), om / nm, rmin, rmax }'
  [ $name = info ] || pixels="$pixels $name: $(differing_pictures) of 50;"
done
echo
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

echo "Pictures whose pixels differ between the two programs:$pixels"
