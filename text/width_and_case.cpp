#include "text/width_and_case.h"

#include <string>
#include <string_view>
#include <utility>

#include "text/character_walk.h"

namespace quorvel {

namespace {

// The single byte that stands for the double-byte character `lead`, `trail`,
// or 0 when it has none.
unsigned char HalfWidthOf(unsigned char lead, unsigned char trail) {
  if (lead == 0xA1) {
    if (trail == 0xA1) return ' ';
    if (trail == 0xAB) return '~';
    if (trail == 0xEE || trail == 0xEF) return '*';
  }
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<unsigned char>(trail - 128);
  return 0;
}

}  // namespace

Text ToUpperCase(const Text& t) {
  std::string out = t.bytes();
  const size_t n = out.size();
  size_t pos = 0;
  while (pos < n) {
    if (character_walk::IsLeadByte(out[pos])) {
      pos += 2;
    } else {
      if (out[pos] >= 'a' && out[pos] <= 'z') out[pos] = static_cast<char>(out[pos] - ('a' - 'A'));
      pos += 1;
    }
  }
  return Text(std::move(out));
}

Text ToHalfWidth(const Text& t) {
  const std::string_view in = t.bytes();
  const size_t n = in.size();
  std::string out;
  out.reserve(n);
  size_t pos = 0;
  while (pos < n) {
    if (!character_walk::IsLeadByte(in[pos])) {
      out.push_back(in[pos]);
      pos += 1;
      continue;
    }
    if (pos + 1 >= n) break;  // an incomplete character at the end is dropped
    const unsigned char half = HalfWidthOf(static_cast<unsigned char>(in[pos]),
                                           static_cast<unsigned char>(in[pos + 1]));
    if (half != 0) {
      out.push_back(static_cast<char>(half));
    } else {
      out.append(in.substr(pos, 2));
    }
    pos += 2;
  }
  return Text(std::move(out));
}

}  // namespace quorvel
