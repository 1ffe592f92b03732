#!/usr/bin/env bash
# usage: check_distribution.sh ZIP BUILT_MODULE
set -u
zip=$1 module=$2
[ -f "$zip" ] || { echo "$zip: missing; expected the distribution zip"; exit 1; }
listing=$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')
[ "$listing" = "INSTALL.txt panel.cfg radios.gau " ] ||
  { echo "$zip: expected INSTALL.txt panel.cfg radios.gau, got: $listing"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && cmake -E tar xf "$zip") || { echo "$zip: cannot be unpacked"; exit 1; }
cmp -s "$scratch/radios.gau" "$module" || { echo "$zip: radios.gau is not the module just built"; exit 1; }
grep -q '^gauge00=radios!Com1Nav1' "$scratch/panel.cfg" || { echo "$zip: panel.cfg does not place radios!Com1Nav1"; exit 1; }
echo "$zip: $listing"
