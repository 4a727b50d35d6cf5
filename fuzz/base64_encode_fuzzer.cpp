// Base64Encode() against a decoder of our own: the text has the length and
// the alphabet of RFC 4648, its padding is where it belongs, and decoding it
// gives the bytes back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "text/base64_encode.h"

namespace {

// The value of a Base64 character, -1 for a byte outside the alphabet.
int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Decodes strict padded Base64; false when `text` is not such a text.
bool Decode(const std::string& text, std::vector<uint8_t>& out) {
  if (text.size() % 4 != 0) return false;
  for (size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    int padding = 0;
    uint32_t group = 0;
    for (size_t k = 0; k < 4; ++k) {
      const char c = text[i + k];
      if (c == '=') {
        // Padding only in the last group, only in its last two places, and
        // nothing but padding after it.
        if (!last || k < 2) return false;
        ++padding;
        group <<= 6;
        continue;
      }
      const int sextet = SextetOf(c);
      if (sextet < 0 || padding > 0) return false;
      group = group << 6 | static_cast<uint32_t>(sextet);
    }
    const uint8_t bytes[3] = {static_cast<uint8_t>(group >> 16), static_cast<uint8_t>(group >> 8),
                              static_cast<uint8_t>(group)};
    // The bits below the last whole byte are zero in canonical output.
    if (padding == 1 && bytes[2] != 0) return false;
    if (padding == 2 && (bytes[1] != 0 || bytes[2] != 0)) return false;
    out.insert(out.end(), bytes, bytes + (3 - padding));
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvel;
  const Bytes input(data, static_cast<int32_t>(size));
  const Text encoded = Base64Encode(input);
  FUZZ_CHECK(static_cast<size_t>(encoded.length()) == (size + 2) / 3 * 4);
  std::vector<uint8_t> decoded;
  FUZZ_CHECK(Decode(encoded.bytes(), decoded));
  FUZZ_CHECK(decoded == std::vector<uint8_t>(data, data + size));
  return 0;
}
