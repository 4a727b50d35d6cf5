#!/usr/bin/env bash
# Makes alert_sound.mp3, the alert sound the program carries: a two-note chime
# played twice, as MPEG-2 Layer III, 16 kbit/s, 16,000 Hz, mono, exactly 87
# frames of 72 bytes (6,264 bytes), without ID3 tag and without an encoder
# info frame. Needs sox and lame.
#   bash resources/make-alert-sound.sh
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rate=16000
note() {  # note FILE SECONDS HERTZ
  sox -R -D -n -r $rate -c 1 -b 16 "$work/$1" synth "$2" sine "$3" fade q 0.01 "$2" "$(awk "BEGIN { print $2 * 0.8 }")" vol 0.7
}
note high.wav 0.35 988
note low.wav 0.6 784
sox -R -D -n -r $rate -c 1 -b 16 "$work/gap.wav" trim 0 0.25
# ding-dong, pause, ding-dong, then silence up to a little over 87 frames.
sox -R -D "$work/high.wav" "$work/low.wav" "$work/gap.wav" "$work/high.wav" "$work/low.wav" \
  "$work/chime.wav"
sox -R -D "$work/chime.wav" "$work/tone.wav" pad 0 1

lame --quiet -b 16 --cbr --resample 16 -m m -t --noreplaygain "$work/tone.wav" "$work/long.mp3"

frames=87
frame_bytes=72
size=$((frames * frame_bytes))
if [ "$(stat -c %s "$work/long.mp3")" -lt $size ]; then
  echo "the encoder gave fewer than $frames frames" >&2
  exit 1
fi
# Every frame has the same size at this bit rate, so the first 87 frames are
# the first 6,264 bytes; later frames only ever borrow from earlier ones.
head -c $size "$work/long.mp3" >"$work/alert_sound.mp3"

python3 - "$work/alert_sound.mp3" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
assert len(data) == 87 * 72, len(data)
assert not data.startswith(b"ID3") and b"TAG" != data[-128:-125]
for i in range(87):
    h = data[i * 72:i * 72 + 4]
    # FF F3: sync, MPEG-2, Layer III, no CRC. 0x28: 16 kbit/s, 16,000 Hz, no
    # padding. Top bits of the fourth byte 11: one channel.
    assert h[0] == 0xFF and h[1] == 0xF3 and h[2] == 0x28 and (h[3] >> 6) == 3, (i, h.hex())
    if i == 0:
        # An info frame would carry "Xing", "Info" or "LAME" in its first frame.
        assert all(tag not in data[:72] for tag in (b"Xing", b"Info", b"LAME")), "info frame"
PY
mv "$work/alert_sound.mp3" alert_sound.mp3
echo "resources/alert_sound.mp3: $size bytes, $frames frames"
