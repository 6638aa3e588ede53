#!/usr/bin/env bash
# Times a textured render batch of this tree's tovmar-cli with one worker against two, and the
# peak memory of each: 50 meshes at 512 x 512, each dressed with one 2048 x 2048 JPEG texture.
# The meshes are 50 copies of the real lower body when ../shared/realdata holds it, of the
# generated sample otherwise. The two settings take turns to go first; each is run RUNS times and
# the table gives the median with the minimum and maximum of the wall-clock time and of the peak
# resident memory, and the ratio of the medians. Nothing here asserts a time: read the figures
# with the load average printed beside them.
#
# Usage: bench/compare-jobs.sh BUILD_DIR [RUNS]   (a Release build with tovmar-cli and
# tovmar_sample_data built; 5 runs by default). Needs GNU time (/usr/bin/time) and ImageMagick's
# convert.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "$1" && pwd)"
runs="${2:-5}"
cli="$build/cli/tovmar-cli"
data="$build/compare-jobs"
rm -rf "$data"
mkdir -p "$data/meshes" "$data/out1" "$data/out2"
mesh="$root/../shared/realdata/avatar_lower_body.llm"
[ -f "$mesh" ] || mesh="$build/sample/sample.llm"
for i in $(seq -w 1 50); do cp "$mesh" "$data/meshes/mesh$i.llm"; done
convert "$build/sample/sample.png" -resize '2048x2048!' -quality 90 "$data/texture.jpg"

# One batch with $1 workers into $2; prints the wall-clock time in ms and the peak memory in MB.
batch() {
  /usr/bin/time -f '%e %M' -o "$data/time" "$cli" render "$data"/meshes/*.llm \
    --texture "$data/texture.jpg" --size 512x512 --jobs "$1" -o "$2" >/dev/null 2>&1
  awk '{ printf "%.0f %.1f\n", $1 * 1000, $2 / 1024 }' "$data/time"
}

stats() {
  sort -g | awk '{ v[NR] = $1 } END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%s (%s to %s)", m, v[1], v[NR] }'
}

echo "Machine: $(nproc) processors; load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
batch 1 "$data/out1" >/dev/null
batch 2 "$data/out2" >/dev/null
t1=() m1=() t2=() m2=()
for round in $(seq "$runs"); do
  if [ $((round % 2)) -eq 1 ]; then
    read -r t m < <(batch 1 "$data/out1"); t1+=("$t"); m1+=("$m")
    read -r t m < <(batch 2 "$data/out2"); t2+=("$t"); m2+=("$m")
  else
    read -r t m < <(batch 2 "$data/out2"); t2+=("$t"); m2+=("$m")
    read -r t m < <(batch 1 "$data/out1"); t1+=("$t"); m1+=("$m")
  fi
done
echo "--jobs 1: $(printf '%s\n' "${t1[@]}" | stats) ms, peak $(printf '%s\n' "${m1[@]}" | stats) MB"
echo "--jobs 2: $(printf '%s\n' "${t2[@]}" | stats) ms, peak $(printf '%s\n' "${m2[@]}" | stats) MB"
mt1=$(printf '%s\n' "${t1[@]}" | stats | cut -d' ' -f1)
mt2=$(printf '%s\n' "${t2[@]}" | stats | cut -d' ' -f1)
mm1=$(printf '%s\n' "${m1[@]}" | stats | cut -d' ' -f1)
mm2=$(printf '%s\n' "${m2[@]}" | stats | cut -d' ' -f1)
awk -v a="$mt1" -v b="$mt2" -v c="$mm1" -v d="$mm2" \
  'BEGIN { printf "speed-up jobs 2 / jobs 1: %.2f; peak memory jobs 2 / jobs 1: %.2f\n", a / b, d / c }'
cmp_out=0
for f in "$data/out1"/*.png; do cmp -s "$f" "$data/out2/$(basename "$f")" || cmp_out=$((cmp_out + 1)); done
echo "pictures that differ between the two: $cmp_out"
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
