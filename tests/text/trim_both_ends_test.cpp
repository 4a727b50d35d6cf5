#include "text/trim_both_ends.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/text/text_test_support.h"

namespace quorvel {
namespace {

TEST(TrimBothEndsTest, Cases) {
  struct {
    const char* t;
    std::string want;
  } cases[] = {
      {"\xA1\xA1 a b \xA1\xA1", "a b"},
      {"  a  ", "a"},
      {"\tab\r\n", "\tab\r\n"},  // tabs, CR and LF are not spaces
      {" \ta ", "\ta"},
      {"", ""},
      {"   ", ""},
      {"\xA1\xA1\xA1\xA1 ", ""},
      {"a", "a"},
      // 0xB0 0xA1 is a character; the 0xA1 0xA1 that follows it is the space.
      {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      // 0xA1 0x20 is one character: its trail byte is no space.
      {"\xA1 ", "\xA1 "},
      {" \xA1", "\xA1"},  // an incomplete character at the end stays
      {"\xA1\xA1\xB0", "\xB0"},
      {" \xD6\xD0 ", "\xD6\xD0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.t));
    EXPECT_EQ(TrimBothEnds(c.t).bytes(), c.want);
  }
}

}  // namespace
}  // namespace quorvel
