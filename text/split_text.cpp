#include "text/split_text.h"

#include <string_view>

#include "text/character_walk.h"

namespace quorvel {

TextArray SplitText(const Text& t, const Text& delimiter, std::optional<int32_t> maxCount) {
  TextArray pieces;
  if (t.empty() || (maxCount.has_value() && *maxCount <= 0)) return pieces;
  if (delimiter.empty()) {
    AppendElement(pieces, t);
    return pieces;
  }
  const std::string_view in = t.bytes();
  const std::string_view d = delimiter.bytes();
  size_t pieceStart = 0;
  for (;;) {
    const size_t found = character_walk::FindOnCharacterBoundary(in, pieceStart, d, false);
    if (found == std::string_view::npos) break;
    AppendElement(pieces, Text(in.substr(pieceStart, found - pieceStart)));
    if (maxCount.has_value() && ElementCount(pieces) >= *maxCount) return pieces;
    pieceStart = found + d.size();
  }
  if (pieceStart < in.size()) AppendElement(pieces, Text(in.substr(pieceStart)));
  return pieces;
}

}  // namespace quorvel
