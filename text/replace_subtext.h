// ReplaceSubtext(): replacing the occurrences of a text inside another.
#ifndef QUORVEL_TEXT_REPLACE_SUBTEXT_H_
#define QUORVEL_TEXT_REPLACE_SUBTEXT_H_

#include <cstdint>
#include <optional>

#include "text/text.h"

namespace quorvel {

// ReplaceSubtext() returns `t` with the occurrences of `sought` at or after the
// 1-based byte position `start` replaced by `replacement`, at most `count` of
// them.
//
// Omitted arguments: `replacement` is empty (the occurrences are deleted),
// `start` is 1 (so is any start below 1), `count` is unlimited (so is any
// count below 0). Occurrences are found left to right as FindText() finds
// them: only on character boundaries, never overlapping, and an inserted
// replacement is never searched again. The bytes before `start` are kept as they are. With `caseSensitive`
// false the letters A ... Z equal a ... z. `t` comes back unchanged when it is
// empty, `sought` is empty, `count` is 0, or `start` lies beyond the end.
//   ReplaceSubtext("aaa", "aa", "b", std::nullopt, std::nullopt, true) == "ba"
//   ReplaceSubtext("Cookie: x", "cookie:", "", std::nullopt, std::nullopt, false) == " x"
//   ReplaceSubtext("abab", "a", "x", 3) == "abxb"
//   ReplaceSubtext("a-a-a", "a", "b", std::nullopt, 2, true) == "b-b-a"
Text ReplaceSubtext(const Text& t, const Text& sought,
                    const std::optional<Text>& replacement = std::nullopt,
                    std::optional<int32_t> start = std::nullopt,
                    std::optional<int32_t> count = std::nullopt, bool caseSensitive = false);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_REPLACE_SUBTEXT_H_
