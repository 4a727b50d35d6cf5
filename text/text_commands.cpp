#include "text/text_commands.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

int32_t TextLength(const Text& t) { return t.length(); }

int32_t BytesLength(const Bytes& b) { return b.length(); }

Text TextLeft(const Text& t, int32_t n) {
  if (n <= 0) return Text();
  if (n >= t.length()) return t;
  return Text(std::string_view(t.bytes()).substr(0, static_cast<size_t>(n)));
}

Text TextRight(const Text& t, int32_t n) {
  if (n <= 0) return Text();
  if (n >= t.length()) return t;
  return Text(std::string_view(t.bytes()).substr(static_cast<size_t>(t.length() - n)));
}

Text TextMid(const Text& t, int32_t start, int32_t n) {
  if (start < 1 || start > t.length() || n <= 0) return Text();
  // substr() cuts the count short at the end, so start + n cannot overflow.
  return Text(std::string_view(t.bytes()).substr(static_cast<size_t>(start) - 1,
                                                 static_cast<size_t>(n)));
}

Text CharFromCode(int32_t code) {
  const char byte = static_cast<char>(ToByte(code));
  return Text(std::string_view(&byte, 1));
}

int32_t CharCode(const Text& t, std::optional<int32_t> position) {
  const int32_t p = position.value_or(1);
  if (p < 1 || p > t.length()) return 0;
  return static_cast<int32_t>(static_cast<signed char>(t.at(p - 1)));
}

uint8_t ToByte(int32_t v) { return static_cast<uint8_t>(static_cast<uint32_t>(v) & 0xFFu); }

Bytes TextToBytes(const Text& t) { return Bytes(t.c_str(), t.length()); }

Text BytesToText(const Bytes& b) {
  // Text stops at the first zero byte itself.
  const auto& d = b.data();
  return Text(std::string_view(reinterpret_cast<const char*>(d.data()), d.size()));
}

Text BlankText(int32_t n) {
  if (n <= 0) return Text();
  return Text(std::string(static_cast<size_t>(n), ' '));
}

Bytes BlankBytes(int32_t n) {
  if (n <= 0) return Bytes();
  return Bytes(std::vector<unsigned char>(static_cast<size_t>(n), 0));
}

}  // namespace quorvel
