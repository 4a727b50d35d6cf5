// The character-aware text commands against their plain models, plus the
// properties every result must have: no zero byte, positions within the text,
// matches only where the sought bytes are.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "fuzz/fuzz_check.h"
#include "fuzz/reference_text.h"
#include "text/find_text.h"
#include "text/replace_subtext.h"
#include "text/split_text.h"
#include "text/trim_both_ends.h"
#include "text/width_and_case.h"

namespace quorvel {
namespace {

// Small positions and counts, the edges around 0 and the text's end included,
// or left out.
std::optional<int32_t> ConsumeOptionalSmall(FuzzedDataProvider& input) {
  if (input.ConsumeBool()) return std::nullopt;
  return input.ConsumeIntegralInRange<int32_t>(-3, 64);
}

void CheckFindText(const Text& t, const Text& sought, std::optional<int32_t> start,
                   bool caseInsensitive) {
  const int32_t found = FindText(t, sought, start, caseInsensitive);
  FUZZ_CHECK(found == reference::Find(t.bytes(), sought.bytes(), start, caseInsensitive));
  FUZZ_CHECK(found == -1 || (found >= 1 && found <= t.length()));
  if (found > 0 && !sought.empty()) {
    FUZZ_CHECK(found + sought.length() - 1 <= t.length());
    FUZZ_CHECK(reference::SameAt(t.bytes(), static_cast<size_t>(found - 1), sought.bytes(),
                                 caseInsensitive));
  }
}

void CheckReplaceSubtext(const Text& t, const Text& sought, const Text& replacement,
                         std::optional<int32_t> start, std::optional<int32_t> count,
                         bool caseSensitive) {
  const Text result = ReplaceSubtext(t, sought, replacement, start, count, caseSensitive);
  FUZZ_CHECK(fuzz::HoldsNoZeroByte(result));
  FUZZ_CHECK(result.bytes() == reference::Replace(t.bytes(), sought.bytes(), replacement.bytes(),
                                                  start, count, caseSensitive));
  // Replacing every exact occurrence by itself changes nothing.
  FUZZ_CHECK(ReplaceSubtext(t, sought, sought, start, count, true) == t);
  // Deleting leaves no more bytes than there were.
  FUZZ_CHECK(ReplaceSubtext(t, sought, Text(), start, count, caseSensitive).length() <= t.length());
}

void CheckSplitText(const Text& t, const Text& delimiter, std::optional<int32_t> maxCount) {
  const TextArray pieces = SplitText(t, delimiter, maxCount);
  const std::vector<std::string> want = reference::Split(t.bytes(), delimiter.bytes(), maxCount);
  FUZZ_CHECK(pieces.ElementCount() == static_cast<int32_t>(want.size()));
  std::vector<std::string> got;
  for (int32_t i = 1; i <= pieces.ElementCount(); ++i) {
    FUZZ_CHECK(fuzz::HoldsNoZeroByte(pieces[i]));
    FUZZ_CHECK(pieces[i].bytes() == want[static_cast<size_t>(i - 1)]);
    got.push_back(pieces[i].bytes());
  }
  // Without a limit the pieces joined again give the text back, short of a
  // final delimiter.
  if (!maxCount && !delimiter.empty() && !t.empty()) {
    const std::string joined = reference::Join(got, delimiter.bytes());
    FUZZ_CHECK(joined == t.bytes() || joined + delimiter.bytes() == t.bytes());
  }
}

void CheckTrimBothEnds(const Text& t) {
  const Text trimmed = TrimBothEnds(t);
  FUZZ_CHECK(trimmed.bytes() == reference::Trim(t.bytes()));
  FUZZ_CHECK(t.bytes().find(trimmed.bytes()) != std::string::npos);
  FUZZ_CHECK(TrimBothEnds(trimmed) == trimmed);
}

void CheckToHalfWidth(const Text& t) {
  const Text half = ToHalfWidth(t);
  FUZZ_CHECK(fuzz::HoldsNoZeroByte(half));
  FUZZ_CHECK(half.bytes() == reference::HalfWidth(t.bytes()));
  FUZZ_CHECK(half.length() <= t.length());
  FUZZ_CHECK(ToHalfWidth(half) == half);
}

}  // namespace
}  // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvel;
  FuzzedDataProvider input(data, size);
  const int command = input.ConsumeIntegralInRange<int>(0, 4);
  const Text t = fuzz::ConsumeText(input);
  const Text other = fuzz::ConsumeText(input, 16);
  switch (command) {
    case 0: {
      const std::optional<int32_t> start = ConsumeOptionalSmall(input);
      CheckFindText(t, other, start, input.ConsumeBool());
      break;
    }
    case 1: {
      const Text replacement = fuzz::ConsumeText(input, 16);
      const std::optional<int32_t> start = ConsumeOptionalSmall(input);
      const std::optional<int32_t> count = ConsumeOptionalSmall(input);
      CheckReplaceSubtext(t, other, replacement, start, count, input.ConsumeBool());
      break;
    }
    case 2:
      CheckSplitText(t, other, ConsumeOptionalSmall(input));
      break;
    case 3:
      CheckTrimBothEnds(t);
      break;
    default:
      CheckToHalfWidth(t);
      break;
  }
  return 0;
}
