#!/usr/bin/env bash
# Runs the Windows-side test programs under wine64, each in a wine prefix of its own inside the
# build tree, and stops that prefix's wineserver afterwards so that nothing outlives the test.
#
# usage: wine_test.sh prepare PREFIX...
#          creates each prefix unless it exists (the first takes 20-60 s; the others are copies)
#        wine_test.sh run PREFIX window|no-window PROGRAM MODULE
#          window:    needs DISPLAY (an X server such as Xvfb); the program makes its main window
#          no-window: runs with DISPLAY unset, so the prefix's wineserver has no display at all
set -u

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEDEBUG=-all
export WINEARCH=win64
# Keeps prefix creation from offering to install Mono and Gecko, which would wait for an answer.
export WINEDLLOVERRIDES="mscoree,mshtml="

fail() {
  echo "wine_test.sh: $*"
  exit 1
}

[ -x "$wine" ] || fail "expected wine64 at $wine (scripts/setup installs it)"

stop_wineserver() { WINEPREFIX=$1 "$wineserver" -k >/dev/null 2>&1 || true; }

prepare() {
  local first=""
  for prefix in "$@"; do
    if [ -f "$prefix/system.reg" ]; then
      echo "wine_test.sh: prefix $prefix is ready"
    elif [ -n "$first" ]; then
      rm -rf "$prefix" && cp -a "$first" "$prefix" || fail "could not copy $first to $prefix"
      echo "wine_test.sh: prefix $prefix copied from $first"
    else
      rm -rf "$prefix"
      mkdir -p "$(dirname "$prefix")"
      echo "wine_test.sh: creating prefix $prefix"
      WINEPREFIX=$prefix timeout 240 env -u DISPLAY "$wine" wineboot --init >/dev/null 2>&1
      local status=$?
      WINEPREFIX=$prefix timeout 60 "$wineserver" -w
      stop_wineserver "$prefix"
      [ $status -eq 0 ] && [ -f "$prefix/system.reg" ] ||
        fail "wineboot could not create the prefix $prefix (status $status)"
    fi
    first=${first:-$prefix}
  done
}

# Wine reads a program's arguments as Windows paths: "/x/y" becomes "Z:\x\y".
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

run() {
  [ $# -eq 4 ] || fail "usage: wine_test.sh run PREFIX window|no-window PROGRAM MODULE"
  local prefix=$1 mode=$2 program=$3 module=$4
  [ -f "$prefix/system.reg" ] || fail "expected a wine prefix at $prefix (made by the wine_prefixes test)"
  [ -f "$program" ] || fail "expected the test program at $program"
  [ -f "$module" ] || fail "expected the module at $module"
  local -a arguments=("$(windows_path "$module")")
  case $mode in
    window)
      [ -n "${DISPLAY:-}" ] ||
        fail "DISPLAY is not set: the windowed run needs an X server (scripts/test starts Xvfb; by hand: Xvfb :95 & then DISPLAY=:95 ctest ...)"
      ;;
    no-window) unset DISPLAY; arguments+=(--no-window) ;;
    *) fail "expected the mode window or no-window, got '$mode'" ;;
  esac
  export WINEPREFIX=$prefix
  # A wineserver left from an earlier run may hold another display; start this one afresh.
  stop_wineserver "$prefix"
  trap 'stop_wineserver "$WINEPREFIX"' EXIT
  timeout 90 "$wine" "$program" "${arguments[@]}"
  local status=$?
  case $status in
    0 | 1) ;;
    124) echo "wine_test.sh: $program did not finish within 90 s" ;;
    *) echo "wine_test.sh: $program ended with status $status (expected 0 or 1: did wine fail to start it?)" ;;
  esac
  return $status
}

command=${1:-}
shift || true
case $command in
  prepare) [ $# -ge 1 ] || fail "usage: wine_test.sh prepare PREFIX..."; prepare "$@" ;;
  run) run "$@" ;;
  *) fail "usage: wine_test.sh prepare PREFIX... | run PREFIX window|no-window PROGRAM MODULE" ;;
esac
