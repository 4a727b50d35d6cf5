#!/usr/bin/env bash
# Runs COMMAND on a virtual X display, in a Wine prefix of its own:
#
#   run_on_display.sh WINEPREFIX COMMAND...
#
# Wine chooses its display driver once per prefix session, when the session's
# desktop starts. A desktop started by a program without a display (any suite
# that runs under plain Wine at the same time in the shared prefix) leaves
# every window of that session without a driver, so the windowed suites get a
# prefix and a Wine server of their own, one run at a time, started fresh.
set -uo pipefail
export WINEPREFIX=$1
shift
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
wineserver -k >/dev/null 2>&1
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout 300 wineboot --init >/dev/null 2>&1
  wineserver -w
fi
status=0
xvfb-run -a -n 150 "$@" || status=$?
wineserver -k >/dev/null 2>&1
exit $status
