#include "platform/win32/wide_text.h"

#include <windows.h>

namespace quorvel {
namespace {

constexpr UINT kTextCodePage = 936;

}  // namespace

std::wstring WideFromText(const Text& text) {
  if (text.empty()) return std::wstring();
  const int n = ::MultiByteToWideChar(kTextCodePage, 0, text.c_str(), text.length(), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(kTextCodePage, 0, text.c_str(), text.length(), wide.data(), n);
  return wide;
}

Text TextFromWide(std::wstring_view wide) {
  const size_t nul = wide.find(L'\0');
  if (nul != std::wstring_view::npos) wide = wide.substr(0, nul);
  if (wide.empty()) return Text();
  const int length = static_cast<int>(wide.size());
  const int n = ::WideCharToMultiByte(kTextCodePage, 0, wide.data(), length, nullptr, 0, nullptr,
                                      nullptr);
  if (n <= 0) return Text();
  std::string bytes(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(kTextCodePage, 0, wide.data(), length, bytes.data(), n, nullptr, nullptr);
  return Text(std::string_view(bytes));
}

}  // namespace quorvel
