#include "text/trim_both_ends.h"

#include <string_view>

#include "text/character_walk.h"

namespace quorvel {

Text TrimBothEnds(const Text& t) {
  const std::string_view in = t.bytes();
  const size_t n = in.size();
  size_t first = n;  // where the first character that is not a space begins
  size_t end = 0;    // where the last character that is not a space ends
  size_t pos = 0;
  while (pos < n) {
    if (in[pos] == ' ') {
      pos += 1;
    } else if (in[pos] == '\xA1' && pos + 1 < n && in[pos + 1] == '\xA1') {
      pos += 2;
    } else {
      if (first == n) first = pos;
      pos += (character_walk::IsLeadByte(in[pos]) && pos + 1 < n) ? 2 : 1;
      end = pos;
    }
  }
  if (first == n) return Text();
  return Text(in.substr(first, end - first));
}

}  // namespace quorvel
