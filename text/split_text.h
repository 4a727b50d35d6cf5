// SplitText(): cutting a text into the pieces between its delimiters.
#ifndef QUORVEL_TEXT_SPLIT_TEXT_H_
#define QUORVEL_TEXT_SPLIT_TEXT_H_

#include <cstdint>
#include <optional>

#include "text/text.h"

namespace quorvel {

// SplitText() returns the pieces of `t` between occurrences of `delimiter`.
//
// The delimiter is found exactly (no case folding) and only on character
// boundaries, as FindText() finds it. An empty piece between two delimiters,
// or before the first, is an empty element; the piece after the last
// delimiter is an element only when it is not empty. An empty `t`, or a given
// `maxCount` of 0 or less, gives no elements; an empty delimiter gives `t` as
// the one element. A given `maxCount` stops the split once that many elements
// exist and drops the rest of `t`.
//   SplitText("a,,b", ",") == TextArray{"a", "", "b"}
//   SplitText(",a", ",") == TextArray{"", "a"}
//   SplitText("a,", ",") == TextArray{"a"}
//   SplitText(",", ",") == TextArray{""}
//   SplitText("abc", "") == TextArray{"abc"}
//   SplitText("a,b,c", ",", 2) == TextArray{"a", "b"}
TextArray SplitText(const Text& t, const Text& delimiter,
                    std::optional<int32_t> maxCount = std::nullopt);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_SPLIT_TEXT_H_
