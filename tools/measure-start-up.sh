#!/usr/bin/env bash
# Measures the Linux program: the time from its start to its window shown
# (mapped and viewable, as xwininfo reports it) over five starts, then its
# resident memory after five idle seconds. Runs on a virtual X display.
#   tools/measure-start-up.sh [PROGRAM]   (default build/linux/quorvel)
set -euo pipefail
program=$(realpath "${1:-build/linux/quorvel}")
if [ -z "${QUORVEL_MEASURING:-}" ]; then
  # The program writes its alert sound beside itself: run a copy in a scratch directory.
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  cp "$program" "$scratch/"
  QUORVEL_MEASURING=1 SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x800x24" \
    "$0" "$scratch/$(basename "$program")"
  exit
fi
for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  "$program" 2>/dev/null &
  pid=$!
  until xwininfo -name Quorvel 2>/dev/null | grep -q IsViewable; do sleep 0.005; done
  echo "start $run: window shown after $(( ($(date +%s%N) - start) / 1000000 )) ms"
  if [ $run -eq 5 ]; then
    sleep 5
    echo "idle resident memory: $(awk '/VmRSS/ {print $2, $3}' /proc/$pid/status)"
  fi
  kill $pid
  wait $pid 2>/dev/null || true
done
