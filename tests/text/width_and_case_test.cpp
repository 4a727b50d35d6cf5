#include "text/width_and_case.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/text/text_test_support.h"

namespace quorvel {
namespace {

TEST(ToUpperCaseTest, Cases) {
  struct {
    const char* t;
    std::string want;
  } cases[] = {
      {"abc\xD6\xD0", "ABC\xD6\xD0"},  // abc中
      {"aZz{`@", "AZZ{`@"},
      {"", ""},
      {"\x81" "a", "\x81" "a"},       // 0x81 0x61 is one character
      {"\x81" "ab", "\x81" "aB"},
      {"\xA3\xE1", "\xA3\xE1"},       // the full-width a stays
      {"a\xB0", "A\xB0"},             // an incomplete character at the end stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.t));
    EXPECT_EQ(ToUpperCase(c.t).bytes(), c.want);
  }
}

TEST(ToHalfWidthTest, Cases) {
  struct {
    const char* t;
    std::string want;
  } cases[] = {
      {"\xA3\xC1\xA3\xC2\xA3\xC3\xA3\xB1\xA3\xB2\xA3\xB3", "ABC123"},  // ＡＢＣ１２３
      {"\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4"},                          // 中文
      {"\xA1\xA1", " "},
      {"\xA1\xAB", "~"},
      {"\xA1\xEE\xA1\xEF", "**"},
      {"\xA3\xA1", "!"},
      {"\xA3\xFE", "~"},
      {"\xA3\xA0\xA3\xFF", "\xA3\xA0\xA3\xFF"},  // just outside the range
      {"\xA1\xA2", "\xA1\xA2"},                  // 、 stays
      {"a\xA3\xE1z", "aaz"},
      {"", ""},
      {"ab\xA3", "ab"},  // an incomplete character at the end is dropped
      {"\xB0\xA3\xC1", "\xB0\xA3"},  // 0xB0 0xA3 is one character; the lone 0xC1 is dropped
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.t));
    EXPECT_EQ(ToHalfWidth(c.t).bytes(), c.want);
  }
}

TEST(ToHalfWidthTest, EveryFullWidthAsciiCharacter) {
  for (int b = 33; b <= 126; ++b) {
    SCOPED_TRACE(b);
    const char full[] = {static_cast<char>(0xA3), static_cast<char>(b + 128), '\0'};
    EXPECT_EQ(ToHalfWidth(full).bytes(), std::string(1, static_cast<char>(b)));
  }
}

}  // namespace
}  // namespace quorvel
