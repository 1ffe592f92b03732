#!/usr/bin/env bash
# Every command of panelhost's overview answers `panelhost help COMMAND` and `COMMAND --help`
# with its usage, exit 0; `panelhost --version` gives the project's version.
# usage: check_help.sh PANELHOST VERSION
set -u
panelhost=$1 version=$2
status=0
commands=$("$panelhost" --help | sed -nE 's/^  panelhost ([a-z]+) .*/\1/p' | grep -v '^help$')
[ -n "$commands" ] || { echo "panelhost --help lists no command"; exit 1; }
for command in $commands; do
  for asked in "help $command" "$command --help"; do
    # shellcheck disable=SC2086
    if ! text=$("$panelhost" $asked); then
      echo "panelhost $asked: expected exit 0"
      status=1
    elif ! grep -q "^usage: panelhost $command " <<<"$text"; then
      echo "panelhost $asked: expected \"usage: panelhost $command ...\", got: $text"
      status=1
    fi
  done
done
shown=$("$panelhost" --version)
[ "$shown" = "panelhost $version" ] || { echo "panelhost --version: expected \"panelhost $version\", got \"$shown\""; status=1; }
[ $status -eq 0 ] && echo "help for" $commands "and version $version"
exit $status
