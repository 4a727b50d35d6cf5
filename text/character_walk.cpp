#include "text/character_walk.h"

#include <cstring>

namespace quorvel {
namespace character_walk {

namespace {

bool EqualsFolded(const char* a, std::string_view b) {
  for (size_t i = 0; i < b.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

}  // namespace

size_t FindOnCharacterBoundary(std::string_view t, size_t from, std::string_view sought,
                               bool foldCase) {
  const size_t n = t.size();
  const size_t m = sought.size();
  const char* p = t.data();
  const unsigned char first = FoldAsciiCase(sought[0]);
  size_t pos = from;
  while (pos <= n && n - pos >= m) {
    const bool match = foldCase ? (FoldAsciiCase(p[pos]) == first && EqualsFolded(p + pos, sought))
                                : (p[pos] == sought[0] && std::memcmp(p + pos, sought.data(), m) == 0);
    if (match) return pos;
    if (IsLeadByte(p[pos])) {
      // A lead byte with no trail byte ends the text: there is no further boundary.
      if (pos + 1 >= n) return std::string_view::npos;
      pos += 2;
    } else {
      pos += 1;
    }
  }
  return std::string_view::npos;
}

}  // namespace character_walk
}  // namespace quorvel
