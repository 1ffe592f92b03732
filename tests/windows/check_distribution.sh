#!/usr/bin/env bash
# Checks the distribution zip as a panel designer unpacks it: exactly the module, the sample panel
# and the install note; the module stripped, built from this tree and carrying the project's
# version; the texts those of the source tree, with Windows line ends.
# usage: check_distribution.sh ZIP BUILT_MODULE STRIP OBJDUMP WINDRES VERSION SOURCE_DIR
set -u
zip=$(realpath -m "$1") module=$2 strip=$3 objdump=$4 windres=$5 version=$6 source=$7
fail=0
say() { echo "$zip: $*"; fail=1; }

[ -f "$zip" ] || { echo "$zip: missing; expected the zip that the package target makes"; exit 1; }
listing=$(cmake -E tar tf "$zip" | grep -v '/$' | sort | paste -sd' ')
expected="INSTALL.txt panels/radio-stack.cfg radios.gau"
[ "$listing" = "$expected" ] || say "expected exactly the files $expected; got: $listing"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && cmake -E tar xf "$zip") || { echo "$zip: cannot be unpacked"; exit 1; }
gau=$scratch/radios.gau
[ -f "$gau" ] || { echo "$zip: holds no radios.gau"; exit 1; }

debug=$("$objdump" -h "$gau" | grep -Eo '\.debug_[a-z_]+' | tr '\n' ' ')
[ -z "$debug" ] || say "radios.gau carries debug sections ($debug); expected it stripped"

# strip stamps the PE header with the time it runs and so changes the header checksum; every
# other byte must be the module just built, stripped.
without_stamp() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  cp "$1" "$2"
  for offset in $((pe + 8)) $((pe + 88)); do
    printf '\0\0\0\0' | dd of="$2" bs=1 seek="$offset" conv=notrunc status=none
  done
}
"$strip" -o "$scratch/fresh.gau" "$module" || { echo "$module: $strip could not strip it"; exit 1; }
without_stamp "$scratch/fresh.gau" "$scratch/fresh.masked"
without_stamp "$gau" "$scratch/shipped.masked"
cmp -s "$scratch/fresh.masked" "$scratch/shipped.masked" ||
  say "radios.gau is not $module stripped; expected the module just built"

resources=$("$windres" -i "$gau" -O rc 2>/dev/null)
grep -q "FILEVERSION ${version//./, }, 0" <<<"$resources" &&
  grep -q "\"FileVersion\", \"$version\"" <<<"$resources" ||
  say "expected version $version in radios.gau's version resource"

for pair in "INSTALL.txt:docs/install.md" "panels/radio-stack.cfg:panels/radio-stack.cfg"; do
  shipped=${pair%%:*} original=${pair#*:}
  [ -f "$scratch/$shipped" ] || continue
  tr -d '\r' <"$scratch/$shipped" | cmp -s - "$source/$original" ||
    say "$shipped differs from $original; expected the same text"
  ! grep -qv $'\r$' "$scratch/$shipped" || say "$shipped: expected Windows line ends on every line"
done
while read -r line; do
  grep -qF "${line%$'\r'}" "$scratch/INSTALL.txt" 2>/dev/null ||
    say "INSTALL.txt does not show the panel line \"${line%$'\r'}\" of panels/radio-stack.cfg"
done < <(grep '^gauge[0-9]' "$source/panels/radio-stack.cfg")

[ $fail -eq 0 ] && echo "$zip: $(stat -c %s "$zip") bytes: $listing; stripped, version $version"
exit $fail
