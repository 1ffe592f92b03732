#!/usr/bin/env bash
# The committed bitmaps must be exactly what the art generator draws today: regenerates them into
# a scratch folder and compares, file by file, both ways.
# usage: check_committed_bitmaps.sh RADIOS_ART COMMITTED_DIR
set -u
generator=$1 committed=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$generator" "$scratch" >/dev/null || { echo "$generator failed"; exit 1; }
fail=0
for f in "$scratch"/*.bmp; do
  name=$(basename "$f")
  if [ ! -f "$committed/$name" ]; then
    echo "$committed/$name: missing; the generator draws it (run radios-art $committed)"; fail=1
  elif ! cmp -s "$f" "$committed/$name"; then
    echo "$committed/$name: differs from what the generator draws now (run radios-art $committed)"; fail=1
  fi
done
for f in "$committed"/*.bmp; do
  [ -f "$scratch/$(basename "$f")" ] || { echo "$f: committed but no longer drawn by the generator"; fail=1; }
done
[ $fail -eq 0 ] && echo "$(ls "$scratch" | wc -l) bitmaps match the generator"
exit $fail
