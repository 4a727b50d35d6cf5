#include "text/code_page_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "tests/platform/under_wine.h"

namespace quorvel {
namespace {

using namespace std::string_view_literals;

Bytes BytesOf(std::string_view s) { return Bytes(s.data(), static_cast<int32_t>(s.size())); }

TEST(Utf8ToAnsiTest, ConvertsUtf8ToCodePage936) {
  struct {
    std::string_view in;
    std::string_view want;
  } cases[] = {
      {"", ""},
      {"abc 123 (0)\r\n", "abc 123 (0)\r\n"},
      {"\xE8\xBF\x9B\xE8\xA1\x8C\xE4\xB8\xAD", "\xBD\xF8\xD0\xD0\xD6\xD0"},  // 进行中
      {"\xE8\xBF\x9B\xE8\xA1\x8C\xE4\xB8\xAD(3)", "\xBD\xF8\xD0\xD0\xD6\xD0(3)"},
      {"\xEF\xBC\x88" "0\xEF\xBC\x89", "\xA3\xA8" "0\xA3\xA9"},  // （0）
      {"\xE2\x82\xAC", "\x80"},                                  // €
      // Characters code page 936 lacks, and text that is not UTF-8 at all
      // (code page 936 bytes): replaced, the ASCII around them kept.
      {"a\xE0\xB8\x81z", "a?z"},
      {"abc\xBD\xF8" "def", "abc??def"},
      {"\xBD\xF8(0)", "?" "?(0)"},
      {"x\xE8\xBF", "x?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.in));
    EXPECT_EQ(Utf8ToAnsi(Text(c.in)), Text(c.want));
  }
}

TEST(TextToWideTest, GivesUtf16WithOneNulUnit) {
  struct {
    std::string_view in;
    std::optional<int32_t> codePage;
    std::string_view want;
  } cases[] = {
      {"", std::nullopt, ""},
      {"", 936, ""},
      {"A", std::nullopt, "A\0\0\0"sv},
      {"A", 65001, "A\0\0\0"sv},
      {"\xE8\xBF\x9B", std::nullopt, "\xDB\x8F\0\0"sv},
      {"\xBD\xF8", 936, "\xDB\x8F\0\0"sv},
      {"\xBD\xF8" "A", 936, "\xDB\x8F" "A\0\0\0"sv},
      {"\xF0\x9F\x98\x80", std::nullopt, "\x3D\xD8\x00\xDE\0\0"sv},
      {"\xFF", std::nullopt, "\xFD\xFF\0\0"sv},
      // A code page nobody knows converts nothing.
      {"A", 12345, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(c.in) << " " << c.codePage.value_or(-1));
    EXPECT_EQ(TextToWide(Text(c.in), c.codePage), BytesOf(c.want));
  }
}

TEST(WideToTextTest, ReadsUpToTheFirstNulUnit) {
  struct {
    std::string_view wide;
    int32_t codePage;
    std::string_view want;
  } cases[] = {
      {"", 936, ""},
      {"\0\0"sv, 936, ""},
      {"\xDB\x8F\0\0"sv, 936, "\xBD\xF8"},
      {"\xDB\x8F\0\0" "A\0\0\0"sv, 936, "\xBD\xF8"},
      // No NUL unit at all, and half a unit at the end that is never read.
      {"A\0B\0"sv, 936, "AB"},
      {"A\0B"sv, 936, "A"},
      {"\x01\x0E" "A\0"sv, 936, "?A"},
      {"\xDB\x8F\0\0"sv, 65001, "\xE8\xBF\x9B"},
      // Three bytes each in UTF-8 and one "?" each in the ANSI code page: the
      // text does not fit the room asked for, and still comes back whole.
      {"\x01\x0E\x01\x0E\x01\x0E\0\0"sv, 65001, "\xE0\xB8\x81\xE0\xB8\x81\xE0\xB8\x81"},
      {"A\0"sv, 12345, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(c.wide) << " " << c.codePage);
    EXPECT_EQ(WideToText(BytesOf(c.wide), c.codePage), Text(c.want));
  }
}

TEST(WideToTextTest, DefaultIsTheAnsiCodePage) {
  const Bytes wide = BytesOf("\xDB\x8F" "A\0\0\0"sv);
  EXPECT_EQ(WideToText(wide), WideToText(wide, 0));
  if (AnsiCodePage() != 936) {
    GTEST_SKIP() << "the system's ANSI code page is " << AnsiCodePage() << ", not 936";
  }
  EXPECT_EQ(WideToText(wide), Text("\xBD\xF8" "A"));
}

TEST(WideToTextTest, RoundTripsCodePage936Text) {
  const char* cases[] = {
      "",
      "\xBD\xF8\xD0\xD0\xD6\xD0(0)",              // 进行中(0)
      "\xC7\xA9\xB5\xBD\xCE\xB4\xBF\xAA\xCA\xBC",  // 签到未开始
      "\xA3\xA8\xA3\xA9\xA1\xA1 x\r\n",            // （）and a full-width space
  };
  for (const char* c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c)));
    EXPECT_EQ(WideToText(TextToWide(Text(c), 936), 936), Text(c));
  }
}

TEST(AutomationStringTest, CrossesAsUtf16ReadInCodePage936) {
  struct {
    const char* text;
    std::u16string wide;
  } cases[] = {
      {"", u""},
      {"abc", u"abc"},
      {"\xBD\xF8\xD0\xD0\xD6\xD0(2)", u"\u8FDB\u884C\u4E2D(2)"},
      {"\x80", u"\u20AC"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ToAutomationString(Text(c.text)), c.wide);
    EXPECT_EQ(FromAutomationString(c.wide), Text(c.text));
  }
  // A Text ends at its first zero byte; a missing character becomes "?".
  EXPECT_EQ(FromAutomationString(std::u16string(u"A\0B", 3)), Text("A"));
  EXPECT_EQ(FromAutomationString(u"\u0E01"), Text("?"));
}

}  // namespace
}  // namespace quorvel
