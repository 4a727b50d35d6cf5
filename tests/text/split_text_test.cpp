#include "text/split_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/text/text_test_support.h"

namespace quorvel {
namespace {

TEST(SplitTextTest, Cases) {
  struct {
    const char* t;
    const char* delimiter;
    std::optional<int32_t> maxCount;
    std::vector<std::string> want;
  } cases[] = {
      {"a,,b", ",", std::nullopt, {"a", "", "b"}},
      {",a", ",", std::nullopt, {"", "a"}},
      {"a,", ",", std::nullopt, {"a"}},
      {",", ",", std::nullopt, {""}},
      {",,", ",", std::nullopt, {"", ""}},
      {"abc", ",", std::nullopt, {"abc"}},
      {"", ",", std::nullopt, {}},
      {"abc", "", std::nullopt, {"abc"}},
      {"", "", std::nullopt, {}},
      {"a; b; ", "; ", std::nullopt, {"a", "b"}},
      {"aXbxc", "x", std::nullopt, {"aXb", "c"}},  // exact: no case folding
      {"a,b,c", ",", 2, {"a", "b"}},
      {"a,b,c", ",", 3, {"a", "b", "c"}},
      {"a,b,c", ",", 5, {"a", "b", "c"}},
      {"a,b,c", ",", 0, {}},
      {"a,b,c", ",", -1, {}},
      {"abc", "", 0, {}},
      // The delimiter is found only on character boundaries.
      {"\xB0,a,b", ",", std::nullopt, {"\xB0,a", "b"}},
      {"\xD6\xD0,\xCE\xC4", ",", std::nullopt, {"\xD6\xD0", "\xCE\xC4"}},
      {"\xB0\xA1\xB0\xA1", "\xA1\xB0", std::nullopt, {"\xB0\xA1\xB0\xA1"}},
      {"a,\xB0", ",", std::nullopt, {"a", "\xB0"}},  // an incomplete character stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.t) + " by " + Printable(c.delimiter) +
                 (c.maxCount ? " max " + std::to_string(*c.maxCount) : ""));
    EXPECT_EQ(Elements(SplitText(c.t, c.delimiter, c.maxCount)), c.want);
  }
}

TEST(SplitTextTest, ManyPieces) {
  std::string big;
  for (int i = 0; i < 200000; ++i) big += "ab\r\n";
  const TextArray lines = SplitText(Text(big), "\r\n");
  ASSERT_EQ(ElementCount(lines), 200000);
  EXPECT_EQ(lines[1].bytes(), "ab");
  EXPECT_EQ(lines[200000].bytes(), "ab");
}

}  // namespace
}  // namespace quorvel
