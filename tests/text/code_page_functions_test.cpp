// The two code page functions: on Windows the system's, elsewhere our own
// layer; both must give these results.
#include "text/code_page_functions.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "tests/platform/under_wine.h"

namespace quorvel {
namespace {

using namespace std::string_view_literals;

std::u16string ToWide(unsigned codePage, std::string_view in, int length) {
  const int n = MultiByteToWideChar(codePage, 0, in.data(), length, nullptr, 0);
  std::u16string out(n > 0 ? static_cast<size_t>(n) : 0, u'\0');
  const int written = MultiByteToWideChar(codePage, 0, in.data(), length, out.data(), n);
  EXPECT_EQ(written, n);
  return out;
}

std::string ToMulti(unsigned codePage, std::u16string_view in, int length) {
  const int n = WideCharToMultiByte(codePage, 0, in.data(), length, nullptr, 0);
  std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  const int written = WideCharToMultiByte(codePage, 0, in.data(), length, out.data(), n);
  EXPECT_EQ(written, n);
  return out;
}

TEST(MultiByteToWideCharTest, ConvertsAndReplacesInvalidInput) {
  struct {
    unsigned codePage;
    std::string_view in;  // -1 cases end with their NUL
    int length;
    std::u16string_view want;
    const char* wineDiffers;  // why Wine's component is skipped, or null
  } cases[] = {
      {65001, "A\0"sv, -1, u"A\0"sv, nullptr},
      {65001, "A"sv, 1, u"A"sv, nullptr},
      {65001, "A\0B"sv, 3, u"A\0B"sv, nullptr},
      {65001, "\xE8\xBF\x9B\0"sv, -1, u"\u8FDB\0"sv, nullptr},
      {65001, "\xF0\x9F\x98\x80\0"sv, -1, u"\U0001F600\0"sv, nullptr},
      // A sequence cut short, a stray trail byte, bytes never used by UTF-8.
      {65001, "\xE8\xBF" "A\0"sv, -1, u"\uFFFDA\0"sv, nullptr},
      {65001, "\xE8\xBF"sv, 2, u"\uFFFD"sv, nullptr},
      {65001, "\xBF" "A\0"sv, -1, u"\uFFFDA\0"sv, nullptr},
      {65001, "\xFF\xFE" "A\0"sv, -1, u"\uFFFD\uFFFDA\0"sv, nullptr},
      // Overlong forms and encoded surrogates: one U+FFFD per byte that fits no sequence.
      {65001, "\xC0\xAF" "A\0"sv, -1, u"\uFFFD\uFFFDA\0"sv, nullptr},
      {65001, "\xED\xA0\x80" "A\0"sv, -1, u"\uFFFD\uFFFD\uFFFDA\0"sv,
       "Wine replaces ED A0 80 with two U+FFFD"},
      {65001, "\xF0\x80\x80" "A\0"sv, -1, u"\uFFFD\uFFFD\uFFFDA\0"sv,
       "Wine replaces F0 80 80 with two U+FFFD"},
      {65001, "\xF4\x90\x80\x80\0"sv, -1, u"\uFFFD\uFFFD\uFFFD\uFFFD\0"sv,
       "Wine replaces F4 90 80 80 with three U+FFFD"},
      {65001, "\xE4\xB8" "\xE8\xBF\x9B\0"sv, -1, u"\uFFFD\u8FDB\0"sv, nullptr},
      {936, "\xBD\xF8\0"sv, -1, u"\u8FDB\0"sv, nullptr},
      {936, "\xBD\xF8" "(0)\0"sv, -1, u"\u8FDB(0)\0"sv, nullptr},
      {936, "\x80\xFF\0"sv, -1, u"\u20AC\uF8F5\0"sv, nullptr},
      {936, "\xA3\xA8\0"sv, -1, u"\uFF08\0"sv, nullptr},  // full-width (
      {936, "\xAA\xA1\0"sv, -1, u"\uE000\0"sv, nullptr},  // user-defined area
      // A lead byte takes any following byte but NUL; what is no character becomes "?".
      {936, "\x81\x20" "A\0"sv, -1, u"?A\0"sv, nullptr},
      {936, "A\x81\0"sv, -1, u"A?\0"sv, nullptr},
      {936, "A\x81"sv, 2, u"A?"sv, nullptr},
      {936, "\x81\0" "A"sv, 3, u"?\0A"sv, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.codePage << " " << testing::PrintToString(c.in));
    if (c.wineDiffers != nullptr && UnderWine()) {
      GTEST_LOG_(INFO) << "skipped under Wine: " << c.wineDiffers;
      continue;
    }
    const std::u16string got = ToWide(c.codePage, c.in, c.length);
    EXPECT_EQ(got, c.want);
  }
}

TEST(MultiByteToWideCharTest, CodePageZeroIsTheAnsiCodePage) {
  if (AnsiCodePage() != 936) {
    GTEST_SKIP() << "the system's ANSI code page is " << AnsiCodePage() << ", not 936";
  }
  EXPECT_EQ(ToWide(0, "\xBD\xF8\0"sv, -1), u"\u8FDB\0"sv);
}

TEST(MultiByteToWideCharTest, FailsWithoutInputOrRoomOrKnownCodePage) {
  char16_t out[8];
  EXPECT_EQ(MultiByteToWideChar(65001, 0, nullptr, -1, out, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "A", 0, out, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(12345, 0, "A", -1, out, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "ABC", -1, out, 3), 0);
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "ABC", -1, out, 4), 4);
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "ABC", -1, nullptr, 0), 4);
  EXPECT_EQ(MultiByteToWideChar(936, 0, "\xBD\xF8", -1, nullptr, 0), 2);
}

TEST(WideCharToMultiByteTest, ConvertsAndReplacesMissingCharacters) {
  struct {
    unsigned codePage;
    std::u16string_view in;
    int length;
    std::string_view want;
  } cases[] = {
      {936, u"\u8FDB\u884C\u4E2D\0"sv, -1, "\xBD\xF8\xD0\xD0\xD6\xD0\0"sv},
      {936, u"A\0B"sv, 3, "A\0B"sv},
      {936, u"\u20AC\uF8F5\uE000\0"sv, -1, "\x80\xFF\xAA\xA1\0"sv},
      {936, u"\uFF08\uFF09\0"sv, -1, "\xA3\xA8\xA3\xA9\0"sv},
      // Characters the code page lacks become "?", one per UTF-16 unit.
      {936, u"\u0E01A\0"sv, -1, "?A\0"sv},
      {936, u"\U0001F600\0"sv, -1, "??\0"sv},
      {936, u"\xD83D" u"A\0"sv, -1, "?A\0"sv},
      {65001, u"\u8FDB\0"sv, -1, "\xE8\xBF\x9B\0"sv},
      {65001, u"\U0001F600\0"sv, -1, "\xF0\x9F\x98\x80\0"sv},
      {65001, u"\xD83D" u"A\0"sv, -1, "\xEF\xBF\xBD" "A\0"sv},
      {65001, u"\xDE00\0"sv, -1, "\xEF\xBF\xBD\0"sv},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.codePage << " " << testing::PrintToString(c.want));
    EXPECT_EQ(ToMulti(c.codePage, c.in, c.length), c.want);
  }
}

TEST(WideCharToMultiByteTest, FailsWithoutInputOrRoomOrKnownCodePage) {
  char out[8];
  EXPECT_EQ(WideCharToMultiByte(936, 0, nullptr, -1, out, 8), 0);
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"A", 0, out, 8), 0);
  EXPECT_EQ(WideCharToMultiByte(12345, 0, u"A", -1, out, 8), 0);
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\u8FDB", -1, out, 2), 0);
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\u8FDB", -1, nullptr, 0), 3);
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\u8FDB", -1, out, 3), 3);
}

// UTF-8 to code page 936 in one call: the same bytes as the way through UTF-16.
std::string ThroughUtf16(std::string_view in) {
  const std::u16string wide = ToWide(65001, in, static_cast<int>(in.size()));
  return wide.empty() ? std::string() : ToMulti(936, wide, static_cast<int>(wide.size()));
}

std::string Direct(std::string_view in) {
  const int n = Utf8ToCodePage936(in.data(), static_cast<int>(in.size()), nullptr, 0);
  std::string out(in.size(), '\0');
  const int written =
      Utf8ToCodePage936(in.data(), static_cast<int>(in.size()), out.data(), static_cast<int>(out.size()));
  EXPECT_EQ(written, n);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return out;
}

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

TEST(Utf8ToCodePage936Test, GivesWhatTheWayThroughUtf16Gives) {
  const std::string_view cases[] = {
      "A"sv,
      "\xE8\xBF\x9B\xE8\xA1\x8C\xE4\xB8\xAD(0)"sv,  // 进行中(0)
      "\xE2\x82\xAC\xEF\xA3\xB5\xEE\x80\x80"sv,      // U+20AC U+F8F5 U+E000
      "\xF0\x9F\x98\x80" "A"sv,                       // outside the BMP: "??"
      "\xE0\xB8\x81" "A"sv,                            // Thai: "?"
      "\xE8\xBF" "A"sv, "\xE8\xBF"sv, "\xBF" "A"sv, "\xFF\xFE"sv, "\xC0\xAF"sv,
      "\xED\xA0\x80"sv, "\xF0\x80\x80"sv, "\xF4\x90\x80\x80"sv, "\xE4\xB8\xE8\xBF\x9B"sv,
      "A\0B"sv,
  };
  for (std::string_view in : cases) {
    SCOPED_TRACE(testing::PrintToString(in));
    EXPECT_EQ(Direct(in), ThroughUtf16(in));
  }
  // Every character of the BMP but the surrogates, and a few beyond it.
  std::string all;
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (c < 0xD800 || c > 0xDFFF) all += Utf8Of(c);
  }
  for (char32_t c : {0x10000, 0x1F600, 0x10FFFF}) all += Utf8Of(c);
  EXPECT_EQ(Direct(all), ThroughUtf16(all));
  // Random bytes drawn mostly from the pieces of UTF-8, well-formed or not.
  std::mt19937 random(20261211);
  const unsigned char pieces[] = {'A', '(', ')', 0x80, 0xBF, 0xC2, 0xDF, 0xE0, 0xE8,
                                  0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 0xA0, 0x9F, 0x8F};
  for (int round = 0; round < 300; ++round) {
    std::string in;
    const size_t length = 1 + random() % 64;
    for (size_t k = 0; k < length; ++k) {
      const unsigned pick = random() % (sizeof(pieces) + 1);
      in += static_cast<char>(pick < sizeof(pieces) ? pieces[pick] : 1 + random() % 255);
    }
    SCOPED_TRACE(testing::PrintToString(in));
    ASSERT_EQ(Direct(in), ThroughUtf16(in));
  }
}

TEST(Utf8ToCodePage936Test, FailsWithoutInputOrRoom) {
  char out[8];
  EXPECT_EQ(Utf8ToCodePage936(nullptr, 3, out, 8), 0);
  EXPECT_EQ(Utf8ToCodePage936("A", 0, out, 8), 0);
  // 进 is two bytes in code page 936.
  EXPECT_EQ(Utf8ToCodePage936("\xE8\xBF\x9B", 3, out, 1), 0);
  EXPECT_EQ(Utf8ToCodePage936("\xE8\xBF\x9B", 3, nullptr, 0), 2);
  ASSERT_EQ(Utf8ToCodePage936("\xE8\xBF\x9B", 3, out, 2), 2);
  EXPECT_EQ(std::string_view(out, 2), "\xBD\xF8"sv);
}

TEST(CodePage936Test, EveryDoubleByteCharacterRoundTrips) {
  int characters = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
      char16_t unit = 0;
      ASSERT_EQ(MultiByteToWideChar(936, 0, pair, 2, &unit, 1), 1);
      if (unit == u'?') continue;
      ++characters;
      char back[2] = {};
      ASSERT_EQ(WideCharToMultiByte(936, 0, &unit, 1, back, 2), 2) << lead << " " << trail;
      EXPECT_EQ(std::string_view(back, 2), std::string_view(pair, 2)) << lead << " " << trail;
    }
  }
  // GBK defines 21886 double-byte characters, plus the user-defined areas.
  EXPECT_GT(characters, 21000);
}

}  // namespace
}  // namespace quorvel
