#include "text/find_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "tests/text/text_test_support.h"

namespace quorvel {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

struct FindCase {
  const char* t;
  const char* sought;
  std::optional<int32_t> start;
  bool caseInsensitive;
  int32_t want;
};

void ExpectFinds(const std::vector<FindCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.t) + " / " + Printable(c.sought) + " from " +
                 (c.start ? std::to_string(*c.start) : "-") + (c.caseInsensitive ? " ci" : ""));
    EXPECT_EQ(FindText(c.t, c.sought, c.start, c.caseInsensitive), c.want);
  }
}

TEST(FindTextTest, Positions) {
  ExpectFinds({
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", std::nullopt, false, 3},
      {"abcabc", "abc", 2, false, 4},
      {"abcabc", "abc", 5, false, -1},
      {"abc", "", std::nullopt, false, 1},
      {"abc", "", 3, false, 1},  // an empty sought text gives 1 whatever the start
      {"abc", "", 4, false, -1},
      {"", "", std::nullopt, false, -1},
      {"", "a", std::nullopt, false, -1},
      {"abc", "b", 10, false, -1},
      {"abc", "b", kMax, false, -1},
      {"abc", "b", 0, false, 2},  // a start below 1 is 1
      {"abc", "b", -7, false, 2},
      {"abc", "abcd", std::nullopt, false, -1},
      {"abc", "abc", std::nullopt, false, 1},
      {"ABC", "b", std::nullopt, true, 2},
      {"ABC", "b", std::nullopt, false, -1},
      {"x-Content", "CONTENT", std::nullopt, true, 3},
      {"a[b", "{", std::nullopt, true, -1},  // only letters fold: [ is not {
      {"a@", "`", std::nullopt, true, -1},
  });
}

TEST(FindTextTest, StepsOverDoubleByteCharacters) {
  ExpectFinds({
      // The character 176, 65 followed by the letter A: its trail byte is no match.
      {"\xB0" "AA", "A", std::nullopt, false, 3},
      {"\xB0" "A", "A", std::nullopt, false, -1},
      {"\xB0" "a", "A", std::nullopt, true, -1},
      // Two characters whose middle bytes look like a third one.
      {"\xB0\xA1\xB0\xA1", "\xA1\xB0", std::nullopt, false, -1},
      // A start on a trail byte walks from there: 0xA1 0xB0 is then one character.
      {"\xB0\xA1\xB0\xA1", "\xB0\xA1", 2, false, -1},
      {"\xB0\xA1" "a\xB0\xA1", "\xB0\xA1", 2, false, 4},
      {"\xB0\xA1\xB0\xA1", "\xB0\xA1", 3, false, 3},
      {"a\xD6\xD0" "b", "b", std::nullopt, false, 4},
      {"a\xD6\xD0" "b", "\xD6\xD0", std::nullopt, false, 2},
      // Case folding reaches the bytes of double-byte characters too.
      {"\xB0" "a", "\xB0" "A", std::nullopt, true, 1},
      {"\xB0" "a", "\xB0" "A", std::nullopt, false, -1},
      // A lead byte as the last byte: nothing is read past it.
      {"ab\xB0", "c", std::nullopt, false, -1},
      {"ab\xB0", "\xB0", std::nullopt, false, 3},
      {"\xB0", "\xB0", std::nullopt, false, 1},
  });
}

TEST(FindTextTest, LongTextIsSearchedToTheEnd) {
  std::string big(1 << 20, 'x');
  big += "needle";
  EXPECT_EQ(FindText(Text(big), "needle"), (1 << 20) + 1);
  EXPECT_EQ(FindText(Text(big), "NEEDLE", std::nullopt, true), (1 << 20) + 1);
  EXPECT_EQ(FindText(Text(big), "needles"), -1);
}

}  // namespace
}  // namespace quorvel
