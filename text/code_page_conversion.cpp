#include "text/code_page_conversion.h"

#include <vector>

#include "text/code_page_functions.h"

namespace quorvel {

namespace {

constexpr int32_t kUtf8CodePage = 65001;
constexpr int32_t kChineseCodePage = 936;
constexpr int32_t kAnsiCodePage = 0;

// The UTF-16 units of `text` read in `codePage`, `length` bytes of it or up to
// and including its NUL for -1; empty when nothing could be converted.
std::u16string ToUnits(unsigned codePage, const char* text, int length) {
  if (text == nullptr || length == 0) return std::u16string();
  const int n = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
  if (n <= 0) return std::u16string();
  std::u16string units(static_cast<size_t>(n), u'\0');
  const int written = MultiByteToWideChar(codePage, 0, text, length, units.data(), n);
  units.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return units;
}

// The bytes of `wide` in `codePage`: `length` units of it, or up to and
// including its NUL for -1; empty when nothing could be converted.
std::string ToBytes(unsigned codePage, const char16_t* wide, int length) {
  if (wide == nullptr || length == 0) return std::string();
  const int n = WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0);
  if (n <= 0) return std::string();
  std::string bytes(static_cast<size_t>(n), '\0');
  const int written = WideCharToMultiByte(codePage, 0, wide, length, bytes.data(), n);
  bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return bytes;
}

}  // namespace

Bytes TextToWide(const Text& text, std::optional<int32_t> codePage) {
  const unsigned cp = static_cast<unsigned>(codePage.value_or(kUtf8CodePage));
  // The empty text is no input at all, so it gives the empty Bytes rather
  // than a lone NUL unit.
  const char* input = text.empty() ? nullptr : text.c_str();
  const int n = input == nullptr ? 0 : MultiByteToWideChar(cp, 0, input, -1, nullptr, 0);
  if (n <= 0) return Bytes();
  std::vector<char16_t> units(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(cp, 0, input, -1, units.data(), n);
  std::vector<unsigned char> bytes(2 * units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    bytes[2 * i] = static_cast<unsigned char>(units[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<unsigned char>(units[i] >> 8);
  }
  return Bytes(std::move(bytes));
}

Text WideToText(const Bytes& wide, std::optional<int32_t> codePage) {
  const unsigned cp = static_cast<unsigned>(codePage.value_or(kAnsiCodePage));
  // The units up to the first NUL unit, never beyond the last whole unit,
  // with a NUL of our own after them.
  const std::vector<unsigned char>& data = wide.data();
  std::u16string units;
  units.reserve(data.size() / 2 + 1);
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  const char16_t* input = wide.empty() ? nullptr : units.c_str();
  // The size is asked in the system's ANSI code page and doubled: room enough
  // for code page 936, where no character takes more than two bytes.
  const int m =
      input == nullptr ? 0 : WideCharToMultiByte(kAnsiCodePage, 0, input, -1, nullptr, 0);
  if (m <= 0) return Text();
  std::string buffer(2 * static_cast<size_t>(m) + 1, '\0');
  if (WideCharToMultiByte(cp, 0, input, -1, buffer.data(), 2 * m) > 0) return Text(buffer);
  // A code page with longer characters (UTF-8) did not fit: convert with the
  // size it asks for rather than lose the text.
  return Text(ToBytes(cp, input, -1));
}

Text Utf8ToAnsi(const Text& text) {
  // TextToWide() and then WideToText() under 936 give exactly this: a Text
  // holds no NUL, so neither does its UTF-16, and WideToText() converts every
  // unit. Going without the Bytes in between saves a page two passes and
  // three copies on every poll. (Buffers of the size asked for, rather than
  // of the largest size possible, touch fewer fresh pages: on large pages
  // these page faults cost more than the passes that ask for the size.)
  const std::u16string units = ToUnits(kUtf8CodePage, text.c_str(), text.length());
  return Text(ToBytes(kChineseCodePage, units.data(), static_cast<int>(units.size())));
}

std::u16string ToAutomationString(const Text& text) {
  return ToUnits(kChineseCodePage, text.c_str(), text.length());
}

Text FromAutomationString(const std::u16string& s) {
  return Text(ToBytes(kChineseCodePage, s.data(), static_cast<int>(s.size())));
}

}  // namespace quorvel
