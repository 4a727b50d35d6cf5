// The byte-counting text commands and the conversions between Text and Bytes.
//
// These count raw bytes: they know nothing of double-byte characters and can
// cut one in two. Positions are 1-based. A position, count or length out of
// range gives the empty result (0 for CharCode()); nothing here fails.
#ifndef QUORVEL_TEXT_TEXT_COMMANDS_H_
#define QUORVEL_TEXT_TEXT_COMMANDS_H_

#include <cstdint>
#include <optional>

#include "text/text.h"

namespace quorvel {

// TextLength() is the number of bytes of `t`.
//   TextLength("") == 0
//   TextLength("\xD6\xD0") == 2  // 中
int32_t TextLength(const Text& t);

// BytesLength() is the number of bytes of `b`; missing or empty gives 0.
//   BytesLength(Bytes{104, 0, 105}) == 3
int32_t BytesLength(const Bytes& b);

// TextLeft() is the first min(n, length) bytes of `t`; n <= 0 gives the empty
// text.
//   TextLeft("abc", 5) == "abc"
//   TextLeft("abc", 0) == ""
Text TextLeft(const Text& t, int32_t n);

// TextRight() is the last min(n, length) bytes of `t`; n <= 0 gives the empty
// text.
//   TextRight("abc", 2) == "bc"
Text TextRight(const Text& t, int32_t n);

// TextMid() is the `n` bytes of `t` from the 1-based byte position `start`, cut
// short at the end of `t`. A start below 1 (it is not moved to 1), a start
// beyond the end, or n <= 0 gives the empty text.
//   TextMid("abcdef", 3, 10) == "cdef"
//   TextMid("abc", 0, 2) == ""
//   TextMid("abc", 4, 1) == ""
Text TextMid(const Text& t, int32_t start, int32_t n);

// CharFromCode() is the one-byte text holding the low 8 bits of `code`; a code
// whose low 8 bits are 0 gives the empty text (a Text holds no zero byte).
//   CharFromCode(65) == "A"
//   CharFromCode(256 + 66) == "B"
//   CharFromCode(0) == ""
Text CharFromCode(int32_t code);

// CharCode() is the byte at the 1-based `position` (1 when omitted) as a signed
// value from -128 to 127, so a lead byte gives a value below 0. A position
// outside 1 ... length, and every position of the empty text, gives 0.
//   CharCode("A") == 65
//   CharCode("\xB0\xA1") == -80  // 啊
//   CharCode("ab", 3) == 0
//   CharCode("") == 0
int32_t CharCode(const Text& t, std::optional<int32_t> position = std::nullopt);

// ToByte() is the low 8 bits of `v`.
//   ToByte(-1) == 255
//   ToByte(0x141) == 0x41
uint8_t ToByte(int32_t v);

// TextToBytes() is the bytes of `t` without a terminator.
//   TextToBytes("hi") == Bytes{104, 105}
//   TextToBytes("").empty()
Bytes TextToBytes(const Text& t);

// BytesToText() is the bytes of `b` up to, not including, its first zero byte,
// or all of them when it holds none.
//   BytesToText(Bytes{104, 105, 0, 106}) == "hi"
//   BytesToText(Bytes()) == ""
Text BytesToText(const Bytes& b);

// BlankText() is `n` spaces; n <= 0 gives the empty text.
//   BlankText(3) == "   "
Text BlankText(int32_t n);

// BlankBytes() is `n` zero bytes; n <= 0 gives the empty Bytes.
//   BlankBytes(2) == Bytes{0, 0}
//   BlankBytes(0).empty()
Bytes BlankBytes(int32_t n);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_TEXT_COMMANDS_H_
