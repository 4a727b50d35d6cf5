// DedupeTextList() and SplitChars(): the characters of a text put back
// together give its half-width form, and a deduplicated list is its items at
// their first occurrence, as a plain model computes it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/reference_text.h"
#include "text/text_extraction.h"
#include "text/width_and_case.h"

namespace quorvel {
namespace {

std::vector<std::string> FirstOccurrences(const std::vector<std::string>& items) {
  std::set<std::string> seen;
  std::vector<std::string> kept;
  for (const std::string& item : items) {
    if (seen.insert(item).second) kept.push_back(item);
  }
  return kept;
}

std::vector<std::string> CheckSplitChars(const Text& text) {
  TextArray characters{"left over"};
  const int32_t count = SplitChars(text, characters);
  FUZZ_CHECK(count == characters.ElementCount());
  std::string joined;
  std::vector<std::string> items;
  for (int32_t i = 1; i <= count; ++i) {
    const std::string& c = characters[i].bytes();
    FUZZ_CHECK(c.size() == 1 || c.size() == 2);
    if (c.size() == 2) FUZZ_CHECK(reference::IsLead(c[0]) || c == "\r\n");
    if (c.size() == 1) FUZZ_CHECK(!reference::IsLead(c[0]) && c[0] != '\0');
    // A CR is an element of its own only when no LF follows it.
    if (c == "\r" && i < count) FUZZ_CHECK(characters[i + 1].bytes()[0] != '\n');
    joined += c;
    items.push_back(c);
  }
  FUZZ_CHECK(joined == reference::HalfWidth(text.bytes()));
  FUZZ_CHECK(joined == ToHalfWidth(text).bytes());
  return items;
}

}  // namespace
}  // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvel;
  FuzzedDataProvider input(data, size);
  const bool splitAtDelimiter = input.ConsumeBool();
  // DedupeTextList() compares every item with those kept before it: short
  // texts keep the executions fast.
  const Text text = fuzz::ConsumeText(input, 512);
  const Text delimiter = fuzz::ConsumeText(input, 8);

  const std::vector<std::string> characters = CheckSplitChars(text);

  const Text deduped = DedupeTextList(text, delimiter, splitAtDelimiter);
  FUZZ_CHECK(fuzz::HoldsNoZeroByte(deduped));
  const std::vector<std::string> items =
      splitAtDelimiter ? reference::Split(text.bytes(), delimiter.bytes(), std::nullopt)
                       : characters;
  FUZZ_CHECK(deduped.bytes() == reference::Join(FirstOccurrences(items), delimiter.bytes()));
  return 0;
}
