// The alert sound the program carries inside itself.
#ifndef QUORVEL_RESOURCES_ALERT_SOUND_H_
#define QUORVEL_RESOURCES_ALERT_SOUND_H_

#include "text/text.h"

namespace quorvel {

// AlertSound() is a short chime of 6,264 bytes: MPEG-2 Audio Layer III,
// 16 kbit/s, 16,000 Hz, one channel, 87 frames of 72 bytes, about 3.1 seconds,
// no ID3 tag and no encoder info frame. The alert sound file holds exactly
// these bytes.
const Bytes& AlertSound();

}  // namespace quorvel

#endif  // QUORVEL_RESOURCES_ALERT_SOUND_H_
