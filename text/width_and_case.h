// ToUpperCase() and ToHalfWidth(): the two character-aware conversions.
#ifndef QUORVEL_TEXT_WIDTH_AND_CASE_H_
#define QUORVEL_TEXT_WIDTH_AND_CASE_H_

#include "text/text.h"

namespace quorvel {

// ToUpperCase() returns `t` with the bytes a ... z changed to A ... Z. Both
// bytes of a double-byte character pass unchanged, even a second byte that
// looks like a letter; every other byte stays.
//   ToUpperCase("abc\xD6\xD0") == "ABC\xD6\xD0"  // abc中
//   ToUpperCase("\x81" "a") == "\x81" "a"        // 0x81 0x61 is one character
Text ToUpperCase(const Text& t);

// ToHalfWidth() returns `t` with full-width characters replaced by their
// single-byte forms: the full-width space 0xA1 0xA1 becomes a space, the
// full-width tilde 0xA1 0xAB a ~, the stars 0xA1 0xEE and 0xA1 0xEF a *, and
// the full-width forms of the printable ASCII characters, 0xA3 0xA1 ... 0xA3
// 0xFE, the byte 33 ... 126. Other characters are copied; a lead byte that
// is the last byte of `t` (an incomplete character) is dropped.
//   ToHalfWidth("\xA3\xC1\xA3\xB1") == "A1"  // Ａ１
//   ToHalfWidth("\xD6\xD0") == "\xD6\xD0"    // 中
Text ToHalfWidth(const Text& t);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_WIDTH_AND_CASE_H_
