#include <windows.h>

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

}  // namespace quorvel
