#!/usr/bin/env bash
# Takes docs/screenshot-linux.png: the monitor window as it first opens, on a
# virtual X display, framed by openbox when that window manager is installed.
# Expects the program built by tools/run-monitor.sh.
#   bash tools/screenshot-linux.sh [PROGRAM]   (default build/linux/quorvel)
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/linux/quorvel}
[ -x "$program" ] || { echo "build the program first: bash tools/run-monitor.sh" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy, so that the alert sound file it writes lands in the scratch directory.
cp "$program" "$work/quorvel"

width=1024
height=600
# shellcheck disable=SC2016 # the inner script expands its own arguments
xvfb-run -a -s "-screen 0 ${width}x${height}x24" bash -c '
  if command -v openbox >/dev/null; then openbox & sleep 1; fi
  "$1/quorvel" &
  pid=$!
  sleep 3
  import -window root "$1/screen.png"
  kill $pid
' _ "$work"
# The window, frame included, is centred on the screen.
convert "$work/screen.png" -crop "703x338+$(((width - 703) / 2))+$(((height - 338) / 2))" +repage \
  -strip docs/screenshot-linux.png
echo "docs/screenshot-linux.png"
