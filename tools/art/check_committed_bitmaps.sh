#!/usr/bin/env bash
# The committed bitmaps and their resource script must be exactly what the art generator writes
# today: regenerates them into a scratch folder and compares, file by file, both ways.
# usage: check_committed_bitmaps.sh RADIOS_ART RESOURCE_DIR
set -u
generator=$1 committed=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$generator" "$scratch" >/dev/null || { echo "$generator failed"; exit 1; }
fail=0
for f in "$scratch"/bitmaps.rc "$scratch"/bitmaps/*.bmp; do
  name=${f#"$scratch"/}
  if [ ! -f "$committed/$name" ]; then
    echo "$committed/$name: missing; the generator writes it (run radios-art $committed)"; fail=1
  elif ! cmp -s "$f" "$committed/$name"; then
    echo "$committed/$name: differs from what the generator writes now (run radios-art $committed)"; fail=1
  fi
done
for f in "$committed"/bitmaps/*.bmp; do
  [ -f "$scratch/bitmaps/$(basename "$f")" ] || { echo "$f: committed but no longer drawn by the generator"; fail=1; }
done
[ $fail -eq 0 ] && echo "$(ls "$scratch/bitmaps" | wc -l) bitmaps and their script match the generator"
exit $fail
