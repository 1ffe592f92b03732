#!/usr/bin/env bash
# Runs a scenario that must fail and checks how it fails; options after the scenario go to
# `panelhost run`. The scenario's header says:
#   # exit: 1                                   the exit status panelhost must end with
#   # output: @FILE@:7: expected ..., got ...   a line that must appear in the output
# @FILE@ stands for the scenario's path as given to panelhost, @DIR@ for its folder, @BIN@ for the folder of panelhost (where the module is),
# @MODULE@ for the radios module there: radios.so, or the shipped radios.gau where only that is.
set -uo pipefail
panelhost=$1
scenario=$2
shift 2

expected_exit=$(sed -n 's/^# exit: *//p' "$scenario" | head -n1)
if [ -z "$expected_exit" ]; then
  echo "$scenario:1: expected a '# exit: N' line in the header"
  exit 1
fi

output=$("$panelhost" run "$scenario" "$@" 2>&1)
status=$?
echo "$output"

ok=1
if [ "$status" -ne "$expected_exit" ]; then
  echo "check: expected exit status $expected_exit, got $status"
  ok=0
fi
while IFS= read -r wanted; do
  wanted=${wanted//@FILE@/$scenario}
  wanted=${wanted//@DIR@/$(dirname "$scenario")}
  bin=$(dirname "$panelhost")
  module=$bin/radios.so
  [ -e "$module" ] || [ ! -e "$bin/radios.gau" ] || module=$bin/radios.gau
  wanted=${wanted//@MODULE@/$module}
  wanted=${wanted//@BIN@/$bin}
  if ! grep -qxF -- "$wanted" <<<"$output"; then
    echo "check: expected the line: $wanted"
    ok=0
  fi
done < <(sed -n 's/^# output: //p' "$scenario")
[ "$ok" -eq 1 ]
