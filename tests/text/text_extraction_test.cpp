#include "text/text_extraction.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "tests/text/text_test_support.h"

namespace quorvel {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
// "#引号" in code page 936.
#define QUOTE_MARKER "#\xD2\xFD\xBA\xC5"

TEST(TextLeftOfTest, Cases) {
  struct {
    const char* text;
    const char* delimiter;
    int32_t start;
    bool caseInsensitive;
    std::string want;
  } cases[] = {
      {"Set-Cookie: a=b", ": ", 0, false, "Set-Cookie"},
      {"a:b:c", ":", 3, false, "a:b"},  // the bytes before start belong to the result
      {"a:b:c", ":", 0, false, "a"},
      {"a:b:c", ":", -4, false, "a"},
      {"a:b:c", ":", 6, false, ""},
      {"a:b:c", ":", kMax, false, ""},
      {"abc", "x", 0, false, ""},
      {"abc", "", 0, false, ""},
      {"", ":", 0, false, ""},
      {"x-Content", "CONTENT", 0, true, "x-"},
      {"x-Content", "CONTENT", 0, false, ""},
      {":abc", ":", 0, false, ""},  // a delimiter at position 1
      {"\xB0:x:", ":", 0, false, "\xB0:x"},  // 0xB0 0x3A is one character
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.text) + " / " + Printable(c.delimiter) + " from " +
                 std::to_string(c.start));
    EXPECT_EQ(TextLeftOf(c.text, c.delimiter, c.start, c.caseInsensitive).bytes(), c.want);
  }
}

TEST(TextBetweenTest, Cases) {
  struct {
    const char* text;
    const char* left;
    const char* right;
    int32_t start;
    bool caseSensitive;
    std::string want;
  } cases[] = {
      {"Set-Cookie: sid=1; path=/", "Set-Cookie:", ";", 0, false, " sid=1"},
      {"Set-Cookie: sid=1; path=/", "set-cookie:", ";", 0, false, " sid=1"},
      {"Set-Cookie: sid=1; path=/", "set-cookie:", ";", 0, true, ""},
      {"Set-Cookie: sid=1; path=/", "SET-COOKIE:", "; PATH", 0, false, " sid=1"},
      {"abc", "x", "c", 0, false, ""},  // the left delimiter is missing
      {"abc", "a", "x", 0, false, ""},  // the right one does not follow
      {"c-a-b", "a", "c", 0, false, ""},  // a right delimiter before the left does not count
      {"a;b", "a", ";", 0, false, ""},  // the right delimiter directly follows
      {"abc", "a", "", 0, false, ""},   // an empty right delimiter gives nothing
      {"abc", "", "", 0, false, ""},
      {"ab;c;", "", ";", 0, false, "ab"},  // an empty left delimiter starts at byte 1
      {"ab;c;", "", ";", 3, false, "ab"},  // whatever start is
      {"ab;c;", "", ";", 5, false, "ab"},
      {"ab;c;", "", ";", 6, false, ""},  // but not beyond the end
      {"x=1;x=2;", "x=", ";", 3, false, "2"},
      {"x=1;x=2;", "x=", ";", -5, false, "1"},
      {"x=1;x=2;", "x=", ";", kMax, false, ""},
      {"aba", "ab", "ba", 0, false, ""},  // the right delimiter never overlaps the left
      {"ab", "ab", "", 0, false, ""},    // the left delimiter ends the text
      {"ab", "ab", "x", 0, false, ""},
      {"name=\"v\"", "name=" QUOTE_MARKER, QUOTE_MARKER, 0, false, "v"},
      {"a\"b\"c", QUOTE_MARKER, QUOTE_MARKER, 0, false, "b"},
      {"\xD6\xD0" "[x]", "[", "]", 0, false, "x"},
      {"\xB0[x[y]", "[", "]", 0, false, "y"},  // 0xB0 0x5B is one character
      {"", "a", "b", 0, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.text) + " between " + Printable(c.left) + " and " +
                 Printable(c.right) + " from " + std::to_string(c.start));
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.caseSensitive).bytes(), c.want);
  }
}

TEST(DedupeTextListTest, Cases) {
  struct {
    const char* text;
    const char* delimiter;
    bool splitAtDelimiter;
    std::string want;
  } cases[] = {
      {"a; b; a; c", "; ", true, "a; b; c"},
      {"a; b; ", "; ", true, "a; b"},  // a trailing delimiter does not survive
      {"a;;;b", ";", true, "a;;b"},    // a repeated empty item survives once
      {"a=1; A=1; a=1", "; ", true, "a=1; A=1"},  // items compare exactly
      {"aabca", ",", false, "a,b,c"},
      {"aabca", "", false, "abc"},
      {"\xA3\xC1" "A", ",", false, "A"},  // full-width A counts as A
      {"\xA3\xC1" "A", "; ", false, "A"},
      {"\xA3\xC1" "A", "", false, "A"},
      {"\xD6\xD0" "a\xD6\xD0", "", false, "\xD6\xD0" "a"},
      {"a\r\nb\r\n", "|", false, "a|\r\n|b"},
      {"abc", "", true, "abc"},
      {"", "; ", true, ""},
      {"", ",", false, ""},
      {"", "", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.text) + " by " + Printable(c.delimiter) +
                 (c.splitAtDelimiter ? " split" : " chars"));
    EXPECT_EQ(DedupeTextList(c.text, c.delimiter, c.splitAtDelimiter).bytes(), c.want);
  }
}

TEST(SplitCharsTest, Cases) {
  struct {
    const char* text;
    std::vector<std::string> want;
  } cases[] = {
      {"a\xD6\xD0\r\n\rb", {"a", "\xD6\xD0", "\r\n", "\r", "b"}},
      {"", {}},
      {"\n\r", {"\n", "\r"}},
      {"\r\r\n", {"\r", "\r\n"}},
      {"\xA3\xC1\xA1\xA1x", {"A", " ", "x"}},  // full-width forms become single bytes first
      {"a\xB0", {"a"}},                      // an incomplete character is dropped
      {"\xB0\r\n", {"\xB0\r", "\n"}},         // 0xB0 0x0D is one character
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.text));
    TextArray characters{"old", "contents"};
    EXPECT_EQ(SplitChars(c.text, characters), static_cast<int32_t>(c.want.size()));
    EXPECT_EQ(Elements(characters), c.want);
  }
}

TEST(IndexOfTextTest, Cases) {
  const TextArray list{"Abc", "abc", "", "abc", "\xD6\xD0"};
  struct {
    const char* text;
    int32_t want;
  } cases[] = {
      {"abc", 2}, {"Abc", 1}, {"ABC", -1}, {"", 3}, {"\xD6\xD0", 5}, {"ab", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.text));
    EXPECT_EQ(IndexOfText(list, c.text), c.want);
  }
  EXPECT_EQ(IndexOfText(TextArray{}, ""), -1);
  EXPECT_EQ(IndexOfText(TextArray{Text()}, ""), 1);  // a missing element is the empty text
  TextArray sized;
  ResizeArray(sized, false, 2);
  EXPECT_EQ(IndexOfText(sized, Text()), 1);
}

}  // namespace
}  // namespace quorvel
