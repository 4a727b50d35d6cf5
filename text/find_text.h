// FindText(): the search every routine of the program uses.
#ifndef QUORVEL_TEXT_FIND_TEXT_H_
#define QUORVEL_TEXT_FIND_TEXT_H_

#include <cstdint>
#include <optional>

#include "text/text.h"

namespace quorvel {

// FindText() returns the 1-based byte position, counted from the beginning of
// `t`, of the first `sought` at or after `start`, or -1 when there is none.
//
// The search walks the characters of `t` from `start` (from 1 when `start` is
// omitted or below 1) and steps over a double-byte character as a unit, so a
// match never begins on the second byte of one. A start beyond the end leaves
// nothing to search. An empty `sought` gives 1, whatever the start, when at
// least one byte is left to search, else -1. With `caseInsensitive` the
// letters A ... Z equal a ... z in every compared byte; all other bytes
// compare exactly. A lead byte that is the last byte of `t` ends the search.
//   FindText("abcabc", "c", 4) == 6
//   FindText("abc", "") == 1
//   FindText("", "") == -1
//   FindText("abc", "b", 10) == -1
//   FindText("ABC", "b", std::nullopt, true) == 2
//   FindText("\xB0" "AA", "A") == 3  // the A of the character 0xB0 0x41 is skipped
int32_t FindText(const Text& t, const Text& sought, std::optional<int32_t> start = std::nullopt,
                 bool caseInsensitive = false);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_FIND_TEXT_H_
