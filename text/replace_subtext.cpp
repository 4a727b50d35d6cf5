#include "text/replace_subtext.h"

#include <string>
#include <string_view>
#include <utility>

#include "text/character_walk.h"

namespace quorvel {

Text ReplaceSubtext(const Text& t, const Text& sought, const std::optional<Text>& replacement,
                    std::optional<int32_t> start, std::optional<int32_t> count,
                    bool caseSensitive) {
  const size_t offset = (start.has_value() && *start >= 1) ? static_cast<size_t>(*start) - 1 : 0;
  if (t.empty() || sought.empty() || (count.has_value() && *count == 0) ||
      offset >= t.bytes().size()) {
    return t;
  }
  const std::string_view in = t.bytes();
  const std::string_view with = replacement.has_value() ? std::string_view(replacement->bytes())
                                                        : std::string_view();
  std::string out;
  out.reserve(in.size());
  out.append(in.substr(0, offset));
  size_t pos = offset;
  int32_t replaced = 0;
  // A negative count is never reached, so it replaces every occurrence.
  while (!count.has_value() || *count < 0 || replaced < *count) {
    const size_t found =
        character_walk::FindOnCharacterBoundary(in, pos, sought.bytes(), !caseSensitive);
    if (found == std::string_view::npos) break;
    out.append(in.substr(pos, found - pos));
    out.append(with);
    pos = found + sought.bytes().size();
    ++replaced;
  }
  out.append(in.substr(pos));
  return Text(std::move(out));
}

}  // namespace quorvel
