#include "text/find_text.h"

#include <string_view>

#include "text/character_walk.h"

namespace quorvel {

int32_t FindText(const Text& t, const Text& sought, std::optional<int32_t> start,
                 bool caseInsensitive) {
  const int32_t first = (start.has_value() && *start >= 1) ? *start : 1;
  if (first > t.length()) return -1;
  if (sought.empty()) return 1;
  const size_t found = character_walk::FindOnCharacterBoundary(
      t.bytes(), static_cast<size_t>(first) - 1, sought.bytes(), caseInsensitive);
  if (found == std::string_view::npos) return -1;
  return static_cast<int32_t>(found) + 1;
}

}  // namespace quorvel
