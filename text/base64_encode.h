// Base64Encode(): the Base64 form of a byte sequence.
#ifndef QUORVEL_TEXT_BASE64_ENCODE_H_
#define QUORVEL_TEXT_BASE64_ENCODE_H_

#include "text/text.h"

namespace quorvel {

// Base64Encode() returns the Base64 text of `data` as RFC 4648 section 4
// defines it: the standard alphabet, "=" padding, and no line breaks however
// long it grows. n bytes give 4 * ceil(n / 3) characters; missing or empty
// data gives the empty text.
//   Base64Encode(TextToBytes("f")) == "Zg=="
//   Base64Encode(TextToBytes("foobar")) == "Zm9vYmFy"
//   Base64Encode(Bytes{255, 255, 255}) == "////"
Text Base64Encode(const Bytes& data);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_BASE64_ENCODE_H_
