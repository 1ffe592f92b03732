#!/usr/bin/env bash
# The stack drawn from the shipped .gau's own bitmaps, in the emulator, must be the stack drawn
# from the resource script beside the native module: the same PNG, byte for byte. Options after
# the three folders go to both renders (--panel FILE).
set -euo pipefail
emulated=$1
native=$2
out=$3
shift 3
mkdir -p "$out"
"$emulated" render "$@" "$out/from-gau.png"
"$native" render "$@" "$out/from-script.png"
if ! cmp -s "$out/from-gau.png" "$out/from-script.png"; then
  echo "$out/from-gau.png: expected the same picture as $out/from-script.png (drawn from the .rc)"
  exit 1
fi
echo "$out/from-gau.png: the same picture as from the resource script"
