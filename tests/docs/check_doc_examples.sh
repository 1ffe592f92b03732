#!/usr/bin/env bash
# Runs every example of the docs, as a reader would, so that none of them goes stale:
#   ```scn   a scenario script: `panelhost run` must exit 0
#   ```cfg   a panel file: a scenario that places it and starts the module must exit 0
#   ```sh    one command per line, from the top of the source tree; `panelhost` or
#            `build/PRESET/bin/panelhost` at its start stands for the panelhost under test
# Other blocks (```text and plain ```) are not examples. Usage: PANELHOST SOURCE_DIR DOC...
set -uo pipefail
panelhost=$1
source_dir=$2
shift 2

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The commands write where a reader would, so the source tree is mirrored by links, with an out/.
for entry in "$source_dir"/*; do ln -s "$entry" "$scratch/$(basename "$entry")"; done
rm -f "$scratch/out" "$scratch/build"
mkdir -p "$scratch/out"

failed=0
count=0
fail() {
  echo "$1: $2"
  failed=$((failed + 1))
}

run_block() {
  local doc=$1 line=$2 kind=$3 body=$4
  local where="${doc#"$source_dir"/}:$line"
  count=$((count + 1))
  case $kind in
    scn)
      printf '%s\n' "$body" >"$scratch/example.scn"
      (cd "$scratch" && "$panelhost" run example.scn) || fail "$where" "the scenario example failed"
      ;;
    cfg)
      printf '%s\n' "$body" >"$scratch/example.cfg"
      printf 'panel example.cfg\nstart\n' >"$scratch/example.scn"
      (cd "$scratch" && "$panelhost" run example.scn) || fail "$where" "the panel file example failed"
      ;;
    sh)
      local offset=0 command
      while IFS= read -r command; do
        offset=$((offset + 1))
        [[ -z "${command// /}" || $command == \#* ]] && continue
        read -r first rest <<<"$command"
        if [[ $first != panelhost && $first != */bin/panelhost ]]; then
          fail "${doc#"$source_dir"/}:$((line + offset))" "expected a panelhost command, got: $command"
          continue
        fi
        local output
        if ! output=$(cd "$scratch" && eval "\"\$panelhost\" $rest" 2>&1); then
          echo "$output"
          fail "${doc#"$source_dir"/}:$((line + offset))" "the command failed: $command"
        fi
      done <<<"$body"
      ;;
  esac
}

for doc in "$@"; do
  kind=""
  body=""
  start=0
  number=0
  while IFS= read -r text || [ -n "$text" ]; do
    number=$((number + 1))
    if [ -z "$kind" ]; then
      if [[ $text =~ ^\`\`\`(scn|cfg|sh)[[:space:]]*$ ]]; then
        kind=${BASH_REMATCH[1]}
        body=""
        start=$number
      fi
    elif [[ $text =~ ^\`\`\`[[:space:]]*$ ]]; then
      run_block "$doc" "$start" "$kind" "${body%$'\n'}"
      kind=""
    else
      body+="$text"$'\n'
    fi
  done <"$doc"
  [ -z "$kind" ] || fail "$doc:$start" "expected the closing \`\`\` of this block"
done

echo "$count examples, $failed failed"
[ "$count" -gt 0 ] && [ "$failed" -eq 0 ]
