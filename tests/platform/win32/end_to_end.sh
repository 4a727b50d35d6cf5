#!/usr/bin/env bash
# Quorvel.exe under Wine, started as a user would from a fresh directory,
# watching a local page that goes from 进行中(0) to 进行中(1). Run on a display
# (xvfb-run). drive_quorvel.exe does what the user does and checks the window.
#
#   end_to_end.sh QUORVEL.EXE DRIVE_QUORVEL.EXE SOURCE-DIR
set -euo pipefail
quorvel_exe=$1
driver_exe=$2
source_dir=$3
wine=${WINE:-wine}

work=$(mktemp -d)
server=""
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

cp "$quorvel_exe" "$work/Quorvel.exe"
sound="$work/签到提示.mp3"
[ ! -e "$sound" ] || { echo "FAILED: the sound file exists before the first start"; exit 1; }

python3 "$source_dir/tests/platform/win32/quorvel_page_server.py" "$work/port" "$work/requests.log" &
server=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
port=$(cat "$work/port")

(cd "$work" && exec timeout 180 "$wine" Quorvel.exe) &
program=$!

status=0
timeout 240 "$wine" "$driver_exe" "http://127.0.0.1:$port/course/activities" "uid=7; token=a b" \
  "$(winepath -w "$work")" || status=1

if [ $status -ne 0 ]; then exit 1; fi
program_status=0
wait "$program" || program_status=$?
program=""
[ $program_status -eq 0 ] || { echo "FAILED: Quorvel.exe ended with $program_status"; exit 1; }
echo "ok: Quorvel.exe ended with 0 after Esc"

cmp "$sound" "$source_dir/resources/alert_sound.mp3" \
  || { echo "FAILED: the sound file beside the program holds the alert sound"; exit 1; }
echo "ok: the sound file beside the program holds the 6264 bytes of the alert sound"
grep -q "GET /course/activities Cookie: uid=7; token=a b" "$work/requests.log" \
  || { echo "FAILED: the page was asked for with the cookies"; cat "$work/requests.log"; exit 1; }
echo "ok: the page was asked for with the user's cookies"
