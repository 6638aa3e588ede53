#!/usr/bin/env bash
# scripts/check-layers.sh: checks that every file includes only the layers its folder may use
# (the table in CONTRIBUTING.md). Prints each include that breaks the order and fails if any does.
# Window code inside render/ and appearance/ (the 3D view, the morph dialog) is told apart by its
# use of the toolkit: it is built into the window library and may use the window layers too.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

core="base|texture/decode|mesh|render|texture|appearance|avatar"
windows="app|panel|resources"
status=0

# check FOLDER ALLOWED [TOOLKIT]: the project includes of FOLDER's own files (not its subfolders)
# must name one of ALLOWED (an alternation of folders); TOOLKIT "no-wx" also forbids <wx/...>.
check() {
  local folder="$1" allowed="$2" toolkit="${3:-}"
  local file line target
  for file in "$folder"/*.h "$folder"/*.cpp "$folder"/*.h.in; do
    [ -f "$file" ] || continue
    local may="$allowed"
    if [ "$toolkit" = "core" ] && grep -q '#include <wx/' "$file"; then may="$allowed|$windows"; fi
    while IFS= read -r line; do
      target="${line#*\"}"
      target="${target%\"*}"
      [[ "$target" == */* ]] || continue
      if ! [[ "$target" =~ ^($may)/[^/]+$ ]]; then
        echo "$file: includes $target" >&2
        status=1
      fi
    done < <(grep -h '^#include "' "$file" || true)
    if [ "$toolkit" = "no-wx" ] && grep -q '#include <wx/' "$file"; then
      echo "$file: uses the toolkit" >&2
      status=1
    fi
  done
}

check base "base" no-wx
check texture/decode "base|texture/decode" no-wx
check mesh "base|mesh" no-wx
for folder in render texture appearance; do check "$folder" "$core" core; done
check avatar "base|texture/decode|mesh|appearance|avatar" no-wx
check cli "$core|cli" no-wx
for folder in app panel resources; do check "$folder" "$core|$windows"; done
check tools "$core|tools"

[ "$status" -eq 0 ] && echo "Every include follows the layers."
exit "$status"
