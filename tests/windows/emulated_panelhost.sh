#!/usr/bin/env bash
# Puts the native panelhost beside the shipped 32-bit radios.gau in a folder of their own, so that
# the scenarios' `radios!...` panels load the .gau in panelhost's emulator, as they load radios.so
# beside the native build. No resource script goes there: the .gau draws from its own bitmaps.
set -euo pipefail
panelhost=$1
module=$2
folder=$3
if [ ! -x "$panelhost" ]; then
  echo "$panelhost: expected the native panelhost; build the native preset first"
  exit 1
fi
rm -rf "$folder"
mkdir -p "$folder"
cp "$panelhost" "$folder/panelhost"
cp "$module" "$folder/radios.gau"
echo "$folder: panelhost with radios.gau ($(stat -c %s "$module") bytes)"
