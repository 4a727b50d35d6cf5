#include "resources/alert_sound.h"

namespace quorvel {

namespace embedded {
extern const unsigned char kAlertSound[];
extern const int kAlertSoundSize;
}  // namespace embedded

const Bytes& AlertSound() {
  static const Bytes sound(embedded::kAlertSound, embedded::kAlertSoundSize);
  return sound;
}

}  // namespace quorvel
