// The window system's wide API takes UTF-16. A Text is code page 936 whatever
// the system's ANSI code page is, so texts cross with code page 936 named
// explicitly; on a system whose ANSI code page is 936 this is what the ANSI API
// would do, and on every other system it is still right.
#ifndef QUORVEL_PLATFORM_WIN32_WIDE_TEXT_H_
#define QUORVEL_PLATFORM_WIN32_WIDE_TEXT_H_

#include <string>
#include <string_view>

#include "text/text.h"

namespace quorvel {

// WideFromText() reads `text` as code page 936; a byte sequence the code page
// does not define becomes U+FFFD or the code page's default.
//   WideFromText("\xD0\xC5") == L"\u4FE1"  // 信
std::wstring WideFromText(const Text& text);

// TextFromWide() writes `wide` in code page 936, up to its first NUL; a
// character the code page cannot represent becomes "?".
//   TextFromWide(L"\u4FE1") == "\xD0\xC5"
Text TextFromWide(std::wstring_view wide);

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_WIN32_WIDE_TEXT_H_
