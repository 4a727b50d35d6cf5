#include <windows.h>

#include <string>

#include "text/code_page_functions.h"

namespace quorvel {

// wchar_t is 16 bits wide on Windows, so char16_t and wchar_t buffers agree.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

int MultiByteToWideChar(unsigned codePage, unsigned long flags, const char* text, int length,
                        char16_t* out, int outSize) {
  return ::MultiByteToWideChar(codePage, flags, text, length, reinterpret_cast<wchar_t*>(out),
                               outSize);
}

int WideCharToMultiByte(unsigned codePage, unsigned long flags, const char16_t* wide, int length,
                        char* out, int outSize) {
  return ::WideCharToMultiByte(codePage, flags, reinterpret_cast<const wchar_t*>(wide), length, out,
                               outSize, nullptr, nullptr);
}

int Utf8ToCodePage936(const char* text, int length, char* out, int outSize) {
  if (text == nullptr || length <= 0) return 0;
  // No UTF-8 byte gives more than one UTF-16 unit.
  std::u16string units(static_cast<size_t>(length), u'\0');
  const int n = MultiByteToWideChar(65001, 0, text, length, units.data(), length);
  if (n <= 0) return 0;
  return WideCharToMultiByte(936, 0, units.data(), n, out, outSize);
}

}  // namespace quorvel
