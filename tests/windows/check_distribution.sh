#!/usr/bin/env bash
# Checks the distribution zip as a panel designer unpacks it: one folder radios-VERSION/ with
# exactly the module, the install note, the two sample panels and SHA256SUMS of them; the module
# the one just built, stripped, without a time stamp, carrying the project's version; the texts
# those of the source tree with the version filled in and Windows line ends.
# usage: check_distribution.sh ZIP BUILT_MODULE STRIP OBJDUMP WINDRES VERSION SOURCE_DIR
set -u
zip=$(realpath -m "$1") module=$2 strip=$3 objdump=$4 windres=$5 version=$6 source=$7
fail=0
say() { echo "$zip: $*"; fail=1; }

[ -f "$zip" ] || { echo "$zip: missing; expected the zip that the package target makes"; exit 1; }
top=radios-$version
panels=(panels/lines-for-an-existing-window.cfg panels/window-of-their-own.cfg)
listing=$(cmake -E tar tf "$zip" | paste -sd' ')
expected="$top/ $top/panels/ $top/INSTALL.txt $top/SHA256SUMS ${panels[*]/#/$top/} $top/radios.gau"
[ "$listing" = "$expected" ] || say "expected exactly, in this order: $expected; got: $listing"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && cmake -E tar xf "$zip") || { echo "$zip: cannot be unpacked"; exit 1; }
unpacked=$scratch/$top
gau=$unpacked/radios.gau
[ -f "$gau" ] || { echo "$zip: holds no $top/radios.gau"; exit 1; }

(cd "$unpacked" && sha256sum --quiet -c SHA256SUMS) || say "SHA256SUMS does not hold for the files"
sums=$(cut -d' ' -f3 "$unpacked/SHA256SUMS" | sort | paste -sd' ')
[ "$sums" = "$(cd "$unpacked" && find . -type f ! -name SHA256SUMS | cut -c3- | sort | paste -sd' ')" ] ||
  say "SHA256SUMS lists $sums; expected every other file of $top/"

debug=$("$objdump" -h "$gau" | grep -Eo '\.debug_[a-z_]+' | tr '\n' ' ')
[ -z "$debug" ] || say "radios.gau carries debug sections ($debug); expected it stripped"
pe=$(od -An -tu4 -j60 -N4 "$gau" | tr -d ' ')
stamp=$(od -An -tu4 -j$((pe + 8)) -N4 "$gau" | tr -d ' ')
[ "$stamp" = 0 ] || say "radios.gau carries the time stamp $stamp; expected none (0)"
SOURCE_DATE_EPOCH=0 "$strip" --strip-all -o "$scratch/fresh.gau" "$module" ||
  { echo "$module: $strip could not strip it"; exit 1; }
cmp -s "$scratch/fresh.gau" "$gau" || say "radios.gau is not $module stripped; expected the module just built"

resources=$("$windres" -i "$gau" -O rc 2>/dev/null)
grep -q "FILEVERSION ${version//./, }, 0" <<<"$resources" &&
  grep -q "\"FileVersion\", \"$version\"" <<<"$resources" ||
  say "expected version $version in radios.gau's version resource"

for pair in "INSTALL.txt:docs/install.md" "${panels[0]}:${panels[0]}" "${panels[1]}:${panels[1]}"; do
  shipped=$unpacked/${pair%%:*} original=$source/${pair#*:}
  [ -f "$shipped" ] || continue
  tr -d '\r' <"$shipped" | cmp -s - <(sed "s/@PROJECT_VERSION@/$version/g" "$original") ||
    say "${pair%%:*} differs from ${pair#*:}; expected the same text, with the version $version"
  ! grep -qv $'\r$' "$shipped" || say "${pair%%:*}: expected Windows line ends on every line"
done
grep -q "$version" "$unpacked/INSTALL.txt" || say "INSTALL.txt does not name the version $version"
while read -r line; do
  grep -qF "$line" "$unpacked/INSTALL.txt" 2>/dev/null ||
    say "INSTALL.txt does not show the panel line \"$line\" of the sample panels"
done < <(cat "${panels[@]/#/$source/}" | grep -E '^(gauge[0-9]|Window[0-9]|size_mm|position|visible)')

[ $fail -eq 0 ] && echo "$zip: $(stat -c %s "$zip") bytes: $listing; stripped, version $version"
exit $fail
