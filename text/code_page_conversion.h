// Conversion between code pages by way of UTF-16.
#ifndef QUORVEL_TEXT_CODE_PAGE_CONVERSION_H_
#define QUORVEL_TEXT_CODE_PAGE_CONVERSION_H_

#include <cstdint>
#include <optional>
#include <string>

#include "text/text.h"

namespace quorvel {

// TextToWide() reads `text` in `codePage` (65001, UTF-8, when left out) and
// returns its UTF-16 units, little-endian, followed by one NUL unit; the empty
// Bytes when nothing could be converted.
//   TextToWide("A") == Bytes{0x41, 0, 0, 0}
Bytes TextToWide(const Text& text, std::optional<int32_t> codePage = std::nullopt);

// WideToText() turns the UTF-16 in `wide`, up to its first NUL unit, into a
// Text in `codePage` (0, the system's ANSI code page, when left out).
Text WideToText(const Bytes& wide, std::optional<int32_t> codePage = std::nullopt);

// Utf8ToAnsi() turns a text whose bytes are UTF-8 into code page 936.
Text Utf8ToAnsi(const Text& text);

// A Text crosses into an automation component as a UTF-16 string read in code
// page 936, and comes back the same way.
std::u16string ToAutomationString(const Text& text);
Text FromAutomationString(const std::u16string& s);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_CODE_PAGE_CONVERSION_H_
