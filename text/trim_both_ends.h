// TrimBothEnds(): removing the spaces around a text.
#ifndef QUORVEL_TEXT_TRIM_BOTH_ENDS_H_
#define QUORVEL_TEXT_TRIM_BOTH_ENDS_H_

#include "text/text.h"

namespace quorvel {

// TrimBothEnds() returns `t` without the run of spaces at its beginning and at
// its end. A space is the byte 32 or the full-width space 0xA1 0xA1, in any
// mix; tabs, CR, LF and the spaces inside the text stay. The text is walked
// character by character, so the second byte of a double-byte character is
// never taken for a space.
//   TrimBothEnds("\xA1\xA1 a b \xA1\xA1") == "a b"
//   TrimBothEnds("\ta\r\n") == "\ta\r\n"
//   TrimBothEnds("\xB0\xA1\xA1\xA1") == "\xB0\xA1"  // 啊 and a full-width space
Text TrimBothEnds(const Text& t);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_TRIM_BOTH_ENDS_H_
