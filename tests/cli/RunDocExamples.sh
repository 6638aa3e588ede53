#!/usr/bin/env bash
# Runs the tovmar-cli examples of the README, docs/cli.md and the manual page as they are written,
# in a copy of the generated sample files with the built tovmar-cli first on the PATH. An example
# followed by a "tovmar-cli:" line is one that fails, and must; every other one must succeed.
# Examples that need the network or Blender are left out, and those of a character folder run
# only where the shared real files stand in for one.
# RunDocExamples.sh SOURCE_DIR CLI_DIR SAMPLE_DIR REALDATA_DIR
set -uo pipefail
source_dir=$1 cli_dir=$2 sample_dir=$3 realdata_dir=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 ran=0

# A fresh copy of the samples, with the real files as the character folder.
new_folder() {
  folder=$(mktemp -d "$work/examples.XXXXXX")
  cp -r "$sample_dir"/. "$folder"
  ln -s "$realdata_dir" "$folder/character"
}

# Runs one example in $folder; `expected` is "fails" or "succeeds".
run() {
  local example=$1 expected=$2
  case $example in
    *http://* | *https://* | *blender* | *import.py*) return ;;
    *--avatar*) [ -d "$realdata_dir" ] || return ;;
  esac
  (cd "$folder" && PATH="$cli_dir:$PATH" bash -c "$example" >/dev/null 2>"$work/err")
  local status=$?
  ran=$((ran + 1))
  if { [ "$expected" = fails ] && [ $status -eq 0 ]; } ||
     { [ "$expected" = succeeds ] && [ $status -ne 0 ]; }; then
    echo "example $expected not: $example" >&2
    cat "$work/err" >&2
    failures=$((failures + 1))
  fi
}

# "$ " lines of the fenced blocks of a Markdown file, continuation lines joined, each with
# whether the line after it shows a failure: "fails|succeeds<TAB>command".
markdown_examples() {
  awk '
    function flush(outcome) { if (cmd != "") print outcome "\t" cmd; cmd = "" }
    /^```/ { flush("succeeds"); inside = !inside; next }
    !inside { next }
    cmd != "" && continued { line = $0; sub(/^ +/, "", line); continued = sub(/\\$/, "", line)
                             cmd = cmd " " line; next }
    /^\$ / { flush("succeeds"); cmd = substr($0, 3); continued = sub(/\\$/, "", cmd); next }
    { flush(/^tovmar-cli: / ? "fails" : "succeeds") }
  ' "$1"
}

# The examples of one file run one after another in one folder: a later one may use what an
# earlier one wrote.
new_folder
while IFS=$'\t' read -r expected example; do
  run "$example" "$expected"
done < <(markdown_examples "$source_dir/docs/cli.md")

# The manual page's EXAMPLES, its escapes undone.
new_folder
while IFS= read -r example; do
  run "$example" succeeds
done < <(sed -n '/^\.SH EXAMPLES/,/^\.fi/p' "$source_dir/docs/tovmar-cli.1" | sed '1,2d;$d' |
  sed 's/\\-/-/g; s/\\e$/\\/' | sed -e ':a' -e '/\\$/N; s/\\\n */ /; ta')

# The README's block, run from a tree shaped like the one it names.
readme=$(awk '/^From the folder of the sample files:/ { found = 1; next }
              found && /^```/ { if (inside) exit; inside = 1; next }
              inside' "$source_dir/README.md")
mkdir -p "$work/readme/build/release"
cp -r "$sample_dir" "$work/readme/build/release/sample"
ln -s "$cli_dir" "$work/readme/build/release/cli"
if ! (cd "$work/readme" && bash -e -c "$readme" >/dev/null); then
  echo "the README's example fails:" >&2
  echo "$readme" >&2
  failures=$((failures + 1))
fi

echo "$ran examples of cli.md and the manual page, and the README's, run; $failures failed"
[ "$failures" -eq 0 ]
