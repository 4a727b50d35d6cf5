#include "text/replace_subtext.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "tests/text/text_test_support.h"

namespace quorvel {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(ReplaceSubtextTest, Cases) {
  struct {
    const char* t;
    const char* sought;
    std::optional<Text> replacement;
    std::optional<int32_t> start;
    std::optional<int32_t> count;
    bool caseSensitive;
    std::string want;
  } cases[] = {
      {"aaa", "aa", Text("b"), std::nullopt, std::nullopt, true, "ba"},
      {"Cookie: x", "cookie:", Text(""), std::nullopt, std::nullopt, false, " x"},
      {"Cookie: x", "cookie:", Text(""), std::nullopt, std::nullopt, true, "Cookie: x"},
      {"abab", "a", Text("x"), 3, std::nullopt, false, "abxb"},
      {"abab", "a", Text("x"), 0, std::nullopt, false, "xbxb"},
      {"abab", "a", Text("x"), -3, std::nullopt, false, "xbxb"},
      {"abab", "a", Text("x"), 5, std::nullopt, false, "abab"},
      {"abab", "a", Text("x"), kMax, std::nullopt, false, "abab"},
      {"abab", "a", std::nullopt, std::nullopt, std::nullopt, true, "bb"},  // omitted: delete
      {"a-a-a", "a", Text("b"), std::nullopt, 2, true, "b-b-a"},
      {"a-a-a", "a", Text("b"), 2, 1, true, "a-b-a"},
      {"a-a-a", "a", Text("b"), std::nullopt, 0, true, "a-a-a"},
      {"a-a-a", "a", Text("b"), std::nullopt, -1, true, "b-b-b"},
      {"a-a-a", "a", Text("b"), std::nullopt, kMax, true, "b-b-b"},
      {"", "a", Text("b"), std::nullopt, std::nullopt, true, ""},
      {"abc", "", Text("b"), std::nullopt, std::nullopt, true, "abc"},
      {"abc", "abcd", Text("x"), std::nullopt, std::nullopt, true, "abc"},
      // The replacement is never searched again.
      {"aXa", "a", Text("aa"), std::nullopt, std::nullopt, true, "aaXaa"},
      {"xx", "x", Text("xx"), std::nullopt, std::nullopt, true, "xxxx"},
      // Only on character boundaries: 0xB0 0x61 is one character.
      {"\xB0" "aa", "a", Text("b"), std::nullopt, std::nullopt, true, "\xB0" "ab"},
      {"\xB0\xA1\xB0\xA1", "\xA1\xB0", Text("-"), std::nullopt, std::nullopt, true,
       "\xB0\xA1\xB0\xA1"},
      {"\xD6\xD0\xCE\xC4\xD6\xD0", "\xD6\xD0", Text("z"), std::nullopt, std::nullopt, true,
       "z\xCE\xC4z"},  // 中文中
      // A lead byte as the last byte is copied, not read past.
      {"a\xB0", "a", Text("b"), std::nullopt, std::nullopt, true, "b\xB0"},
      {"ab\xB0", "c", Text("d"), std::nullopt, std::nullopt, true, "ab\xB0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.t) + " / " + Printable(c.sought) + " -> " +
                 (c.replacement ? Printable(c.replacement->bytes()) : "(omitted)"));
    EXPECT_EQ(ReplaceSubtext(c.t, c.sought, c.replacement, c.start, c.count, c.caseSensitive).bytes(),
              c.want);
  }
}

TEST(ReplaceSubtextTest, OmittedArgumentsReadNaturally) {
  EXPECT_EQ(ReplaceSubtext("abab", "a", "x", 3).bytes(), "abxb");
  EXPECT_EQ(ReplaceSubtext("aBAb", "b").bytes(), "aA");  // omitted: delete, any case
  EXPECT_EQ(ReplaceSubtext("aBAb", "b", "", 1, std::nullopt, true).bytes(), "aBA");
}

TEST(ReplaceSubtextTest, LongTextStaysIntact) {
  std::string big;
  std::string want;
  for (int i = 0; i < 100000; ++i) {
    big += "ab\xB0" "a";
    want += "xb\xB0" "a";
  }
  EXPECT_EQ(ReplaceSubtext(Text(big), "a", Text("x"), std::nullopt, std::nullopt, true).bytes(),
            want);
}

}  // namespace
}  // namespace quorvel
