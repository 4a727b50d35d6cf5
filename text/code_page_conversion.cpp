#include "text/code_page_conversion.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "text/code_page_functions.h"

namespace quorvel {

namespace {

constexpr int32_t kUtf8CodePage = 65001;
constexpr int32_t kChineseCodePage = 936;
constexpr int32_t kAnsiCodePage = 0;

// The most units or bytes a conversion can give, so that one pass converts
// into a buffer of that size without asking for the size first: no code page
// here gives more than one UTF-16 unit per byte, and a UTF-16 unit takes at
// most two bytes in code page 936 and three in UTF-8.
constexpr size_t kMostUnitsPerByte = 1;
size_t MostBytesFor(unsigned codePage, size_t units) {
  return codePage == static_cast<unsigned>(kChineseCodePage) ? 2 * units : 3 * units;
}

// The UTF-16 units of `length` bytes of `text` read in `codePage`; empty when
// nothing could be converted.
std::u16string ToUnits(unsigned codePage, const char* text, int length) {
  if (text == nullptr || length <= 0) return std::u16string();
  std::u16string units(kMostUnitsPerByte * static_cast<size_t>(length), u'\0');
  const int written =
      MultiByteToWideChar(codePage, 0, text, length, units.data(), static_cast<int>(units.size()));
  units.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return units;
}

// The bytes of `length` units of `wide` in `codePage`; empty when nothing
// could be converted.
std::string ToBytes(unsigned codePage, const char16_t* wide, int length) {
  if (wide == nullptr || length <= 0) return std::string();
  const size_t most = MostBytesFor(codePage, static_cast<size_t>(length));
  // A result too long for a 32-bit count is asked for at the size it needs.
  const int room = most > INT32_MAX ? WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0)
                                    : static_cast<int>(most);
  if (room <= 0) return std::string();
  std::string bytes(static_cast<size_t>(room), '\0');
  const int written = WideCharToMultiByte(codePage, 0, wide, length, bytes.data(), room);
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
  return Text(ToBytes(cp, input, static_cast<int>(units.size())));
}

Text Utf8ToAnsi(const Text& text) {
  // TextToWide() and then WideToText() under 936 give exactly this: a Text
  // holds no NUL, so neither does its UTF-16, and WideToText() converts every
  // unit. Converting in one go saves a page the UTF-16 in between and the
  // copies of the Bytes on every poll.
  if (text.empty()) return Text();
  std::string bytes(static_cast<size_t>(text.length()), '\0');
  const int written = Utf8ToCodePage936(text.c_str(), text.length(), bytes.data(), text.length());
  bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return Text(std::move(bytes));
}

std::u16string ToAutomationString(const Text& text) {
  return ToUnits(kChineseCodePage, text.c_str(), text.length());
}

Text FromAutomationString(const std::u16string& s) {
  return Text(ToBytes(kChineseCodePage, s.data(), static_cast<int>(s.size())));
}

}  // namespace quorvel
