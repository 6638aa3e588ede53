#!/usr/bin/env bash
# scripts/check-layers.sh: checks that every file includes only the layers its folder may use
# (the table in CONTRIBUTING.md). Prints each include that breaks the order and fails if any does.
# The build enforces the same order through each layer's library; this check also covers the
# folders outside the product and builds where the layers' include folders are not made.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

core="base|texture/decode|mesh|render|texture|appearance|avatar"
windows="app|panel|resources|render/window|appearance/window"
product="$core|exchange|$windows|cli"
# The folders of the tree: an include in angle brackets that starts with one of them names a file
# of the project just as a quoted one does.
project="$(find . -mindepth 1 -maxdepth 1 -type d ! -name '.*' ! -name build -printf '%f|')"
project="${project%|}"
status=0
checked=" "

# check FOLDER ALLOWED [no-wx]: every project include of FOLDER's own files (not its subfolders'
# files, which are checked as folders of their own) must name a file directly in one of ALLOWED,
# an alternation of folders; "no-wx" also forbids the toolkit's headers.
check() {
  local folder="$1" allowed="$2" toolkit="${3:-}"
  local file include target
  checked+="$folder "
  for file in "$folder"/*.h "$folder"/*.cpp "$folder"/*.h.in; do
    [ -f "$file" ] || continue
    while IFS= read -r include; do
      target="${include:1}"
      if [[ "$include" == \"* ]] && ! [[ "$target" =~ ^($project)/ ]]; then
        # A quoted include names a file of the project by its path from the root of the tree, so
        # that no path relative to the including file slips past the layers.
        echo "$file: includes $target, not by its path from the root" >&2
        status=1
        continue
      fi
      [[ "$target" =~ ^($project)/ ]] || continue
      if ! [[ "$target" =~ ^($allowed)/[^/]+$ ]]; then
        echo "$file: includes $target" >&2
        status=1
      fi
    done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"][^>"]+)[>"].*/\1/p' "$file")
    if [ "$toolkit" = "no-wx" ] && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<wx/' "$file"; then
      echo "$file: uses the toolkit" >&2
      status=1
    fi
  done
}

check base "base" no-wx
check texture/decode "base|texture/decode" no-wx
check mesh "base|mesh" no-wx
check render "base|mesh|render" no-wx
check texture "base|mesh|texture/decode|texture" no-wx
check appearance "base|mesh|appearance" no-wx
check avatar "base|mesh|appearance|avatar" no-wx
check exchange "base|mesh|texture|appearance|avatar|exchange" no-wx
for folder in render/window appearance/window app panel resources; do
  check "$folder" "$core|exchange|$windows"
done
check cli "$core|exchange|cli" no-wx
check tools "$product|tools"
check bench "$product|tools|bench"
check fuzz "$product|tools|fuzz"
for folder in tests tests/*/; do check "${folder%/}" "($project)(/[^/]+)*"; done

# A folder of source files that no rule above names has no place in the layers yet.
while IFS= read -r folder; do
  folder="${folder#./}"
  if [[ "$checked" != *" $folder "* ]]; then
    echo "$folder: a folder of source files without a layer (add it to this check and to CONTRIBUTING.md)" >&2
    status=1
  fi
done < <(find . \( -path './.*' -o -path ./build -o -path ./tools/node \) -prune -o -type f \
  \( -name '*.h' -o -name '*.cpp' \) -printf '%h\n' | sort -u)

[ "$status" -eq 0 ] && echo "Every include follows the layers."
exit "$status"
