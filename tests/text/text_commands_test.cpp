#include "text/text_commands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "tests/text/text_test_support.h"

namespace quorvel {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(TextCommandsTest, LengthsCountBytes) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength(Text()), 0);
  EXPECT_EQ(TextLength("abc"), 3);
  EXPECT_EQ(TextLength("\xD6\xD0"), 2);  // 中
  EXPECT_EQ(BytesLength(Bytes()), 0);
  EXPECT_EQ(BytesLength(Bytes{104, 0, 105}), 3);
}

TEST(TextCommandsTest, LeftAndRight) {
  struct {
    const char* t;
    int32_t n;
    std::string left;
    std::string right;
  } cases[] = {
      {"abc", 5, "abc", "abc"},
      {"abc", 3, "abc", "abc"},
      {"abc", 2, "ab", "bc"},
      {"abc", 0, "", ""},
      {"abc", -1, "", ""},
      {"abc", kMax, "abc", "abc"},
      {"abc", kMin, "", ""},
      {"", 2, "", ""},
      {"\xD6\xD0" "a", 1, "\xD6", "a"},  // counts bytes: a character can be cut in two
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.t) + " n=" + std::to_string(c.n));
    EXPECT_EQ(TextLeft(c.t, c.n).bytes(), c.left);
    EXPECT_EQ(TextRight(c.t, c.n).bytes(), c.right);
  }
}

TEST(TextCommandsTest, Mid) {
  struct {
    const char* t;
    int32_t start;
    int32_t n;
    std::string want;
  } cases[] = {
      {"abcdef", 3, 10, "cdef"},
      {"abcdef", 1, 2, "ab"},
      {"abcdef", 6, 1, "f"},
      {"abc", 0, 2, ""},  // a start below 1 is not moved to 1
      {"abc", -5, 10, ""},
      {"abc", 4, 1, ""},
      {"abc", 2, 0, ""},
      {"abc", 2, -1, ""},
      {"abc", 2, kMax, "bc"},  // start + n beyond the 32-bit range
      {"abc", kMax, kMax, ""},
      {"abc", kMin, 3, ""},
      {"", 1, 1, ""},
      {"a\xD6\xD0", 3, 1, "\xD0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.t) + " start=" + std::to_string(c.start) + " n=" + std::to_string(c.n));
    EXPECT_EQ(TextMid(c.t, c.start, c.n).bytes(), c.want);
  }
}

TEST(TextCommandsTest, CharFromCodeKeepsTheLowByte) {
  struct {
    int32_t code;
    std::string want;
  } cases[] = {
      {65, "A"}, {256 + 66, "B"}, {0, ""}, {256, ""}, {-1, "\xFF"}, {176, "\xB0"}, {kMin, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(CharFromCode(c.code).bytes(), c.want);
  }
}

TEST(TextCommandsTest, CharCodeIsSigned) {
  struct {
    const char* t;
    std::optional<int32_t> position;
    int32_t want;
  } cases[] = {
      {"", std::nullopt, 0},
      {"", 1, 0},
      {"A", std::nullopt, 65},
      {"\xB0\xA1", std::nullopt, -80},  // 啊 starts with a lead byte
      {"\xB0\xA1", 2, -95},
      {"\xFF", 1, -1},
      {"ab", 2, 98},
      {"ab", 3, 0},  // one past the end
      {"ab", 0, 0},
      {"ab", -1, 0},
      {"ab", kMax, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.t) + " at " + (c.position ? std::to_string(*c.position) : "-"));
    EXPECT_EQ(CharCode(c.t, c.position), c.want);
  }
}

TEST(TextCommandsTest, ToByteKeepsTheLow8Bits) {
  EXPECT_EQ(ToByte(0x141), 0x41);
  EXPECT_EQ(ToByte(-1), 255);
  EXPECT_EQ(ToByte(256), 0);
  EXPECT_EQ(ToByte(kMin), 0);
}

TEST(TextCommandsTest, TextAndBytes) {
  EXPECT_EQ(BytesToText(Bytes{104, 105, 0, 106}).bytes(), "hi");
  EXPECT_EQ(BytesToText(Bytes{104, 105}).bytes(), "hi");
  EXPECT_EQ(BytesToText(Bytes{0, 104}).bytes(), "");
  EXPECT_TRUE(BytesToText(Bytes()).empty());
  EXPECT_EQ(BytesToText(Bytes{0xD6, 0xD0}).bytes(), "\xD6\xD0");
  EXPECT_EQ(TextToBytes("hi"), (Bytes{104, 105}));
  EXPECT_TRUE(TextToBytes("").empty());
  EXPECT_EQ(TextToBytes("\xB0\xA1"), (Bytes{0xB0, 0xA1}));
}

TEST(TextCommandsTest, Blanks) {
  EXPECT_EQ(BlankText(3).bytes(), "   ");
  EXPECT_TRUE(BlankText(0).empty());
  EXPECT_TRUE(BlankText(-4).empty());
  EXPECT_EQ(BlankBytes(2), (Bytes{0, 0}));
  EXPECT_TRUE(BlankBytes(0).empty());
  EXPECT_TRUE(BlankBytes(kMin).empty());
}

}  // namespace
}  // namespace quorvel
