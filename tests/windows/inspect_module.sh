#!/usr/bin/env bash
# Inspects a built radios.gau the way the simulator's loader will meet it.
# usage: inspect_module.sh OBJDUMP WINDRES MODULE FORMAT MAGIC RESOURCE_DIR   (e.g. pei-i386 "010b")
set -u
objdump=$1 windres=$2 module=$3 format=$4 magic=$5 resources=$6
fail=0
say() { echo "$module: $*"; fail=1; }

[ -f "$module" ] || { echo "$module: no such file (expected the built module)"; exit 1; }
headers=$("$objdump" -p "$module") || { echo "$module: objdump could not read it"; exit 1; }

grep -q "file format $format" <<<"$headers" || say "expected file format $format"
grep -Eq "^Magic[[:space:]]+$magic" <<<"$headers" || say "expected optional header magic $magic"
grep -Eq "^AddressOfEntryPoint[[:space:]]+0*[1-9a-fA-F]" <<<"$headers" || say "expected an entry point"

# The export names, from the name table that follows "[Ordinal/Name Pointer] Table".
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | grep -E '^\s+\[ *[0-9]+\]' | awk '{print $NF}' | sort | tr '\n' ' ')
[ "$exports" = "ImportTable Linkage " ] || say "expected exactly the exports ImportTable and Linkage, got: $exports"

imports=$(grep -Eo 'DLL Name: .*' <<<"$headers" | cut -d' ' -f3 | sort -f | tr '\n' ' ')
for dll in $imports; do
  case "${dll,,}" in
    kernel32.dll|user32.dll|msvcrt.dll) ;;
    *) say "imports $dll; expected only Windows system DLLs (KERNEL32, USER32, msvcrt)" ;;
  esac
done
grep -qi 'user32.dll' <<<"$imports" || say "expected USER32.dll for the timers"

# No formatted printing, linked or imported: the general formatter alone was twice the module's
# own code, and the displays and calculator texts are made without it.
printing=$({ echo "$headers"; "$objdump" -t "$module"; } |
  grep -Eo '[A-Za-z_]*printf[A-Za-z_]*|__mingw_pformat|__gdtoa' | sort -u | tr '\n' ' ')
[ -z "$printing" ] || say "expected no printf family in the module, found: $printing"

sections=$("$objdump" -h "$module")
grep -q '\.rsrc' <<<"$sections" || say "expected a resource section"

# Every bitmap the resource scripts number must be in the image under that id.
wanted=$(cat "$resources"/*.rc | grep -Eo '^[[:space:]]*[0-9]+[[:space:]]+BITMAP' | grep -Eo '[0-9]+' | sort -n | tr '\n' ' ')
carried=$("$windres" -i "$module" -O rc 2>/dev/null |
  awk '/Type: /{bitmap = /Type: bitmap/} bitmap && /Name: [0-9]+/{gsub(/[^0-9]/, ""); print}' | sort -n | tr '\n' ' ')
[ -n "$wanted" ] || say "expected bitmaps numbered in $resources/*.rc, found none"
[ "$wanted" = "$carried" ] || say "expected bitmaps $wanted; the image carries: $carried"

[ $fail -eq 0 ] && echo "$module: $format, exports: $exports; imports: $imports; bitmaps: $(wc -w <<<"$carried")"
exit $fail
