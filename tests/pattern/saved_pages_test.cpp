// Pages as the poll cycle sees them: the body's bytes become a Text (which
// ends at a zero byte), Utf8ToAnsi converts it to code page 936, and the
// counter of running activities is group 1 of match 1.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "pattern/regex_matcher.h"
#include "tests/pattern/real_regex_engine.h"
#include "tests/platform/under_wine.h"
#include "text/code_page_conversion.h"

namespace quorvel {
namespace {

const char kCounterPattern[] = "\xBD\xF8\xD0\xD0\xD6\xD0\\((.*?)\\)";  // 进行中\((.*?)\)

std::string ReadPage(const std::string& name) {
  std::ifstream in("pages/" + name, std::ios::binary);
  EXPECT_TRUE(in) << "pages/" << name;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What the poll cycle reads from a fetched body.
Text Counter(RegexEngineProvider& provider, const std::string& body, bool* created = nullptr,
             int32_t* count = nullptr) {
  RegexMatcher matcher(provider);
  const bool ok = matcher.Create(kCounterPattern, Utf8ToAnsi(Text(std::string_view(body))));
  if (created != nullptr) *created = ok;
  if (count != nullptr) *count = matcher.MatchCount();
  return matcher.SubMatchText(1, 1);
}

TEST(SavedPagesTest, TheCounterIsReadFromEachPage) {
  struct {
    const char* page;
    const char* want;
  } cases[] = {
      {"counter_zero.html", "0"},
      {"counter_three.html", "3"},
      {"counter_after_chinese.html", "1"},
      // Full-width brackets are not the counter: nothing is read, which alerts.
      {"full_width_brackets.html", ""},
      // The text ends at the zero byte, before the counter.
      {"zero_byte_before_counter.html", ""},
  };
  RealRegexEngineProvider provider;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    const std::string body = ReadPage(c.page);
    ASSERT_FALSE(body.empty());
    bool created = false;
    EXPECT_EQ(Counter(provider, body, &created), Text(c.want));
    EXPECT_TRUE(created);
  }
}

TEST(SavedPagesTest, ConversionKeepsTheTextAroundTheCounter) {
  const Text page = Utf8ToAnsi(Text(std::string_view(ReadPage("counter_after_chinese.html"))));
  // 全部活动 and 进行中(1) in code page 936.
  EXPECT_NE(page.bytes().find("\xC8\xAB\xB2\xBF\xBB\xEE\xB6\xAF"), std::string::npos);
  EXPECT_NE(page.bytes().find("\xBD\xF8\xD0\xD0\xD6\xD0(1)"), std::string::npos);
  EXPECT_EQ(page.bytes().find('?'), std::string::npos);
}

// A page of about `size` bytes of UTF-8: blocks of Chinese and ASCII text, then
// the counter.
std::string LargePage(size_t size, const std::string& counter) {
  const std::string block =
      "<div class=\"item\">\xE7\xAC\xAC\xE4\xB8\x89\xE7\xAB\xA0 \xE5\xAF\xBC\xE6\x95\xB0"
      " (chapter 3) \xE5\xB7\xB2\xE7\xBB\x93\xE6\x9D\x9F</div>\n";  // 第三章 导数 … 已结束
  std::string page;
  page.reserve(size + block.size() + counter.size());
  while (page.size() < size) page += block;
  return page + counter;
}

TEST(LargePagesTest, ASixteenMebibytePageIsConvertedAndSearched) {
  const std::string body =
      LargePage(16u << 20, "<li>\xE8\xBF\x9B\xE8\xA1\x8C\xE4\xB8\xAD(7)</li>");  // 进行中(7)
  const Text converted = Utf8ToAnsi(Text(std::string_view(body)));
  // Each Chinese character loses one of its three bytes.
  EXPECT_LT(converted.length(), static_cast<int32_t>(body.size()));
  EXPECT_GT(converted.length(), static_cast<int32_t>(body.size() / 2));
  RealRegexEngineProvider provider;
  RegexMatcher matcher(provider);
  ASSERT_TRUE(matcher.Create(kCounterPattern, converted));
  EXPECT_EQ(matcher.MatchCount(), 1);
  int32_t position = 0;
  EXPECT_EQ(matcher.SubMatchText(1, 1, &position), Text("7"));
  EXPECT_EQ(position, converted.length() - 7);
}

TEST(LargePagesTest, HostilePagesFinishWithoutACrash) {
  if (UnderWine()) {
    GTEST_SKIP() << "Wine's engine retries the lazy group at every start: hours on these pages";
  }
  std::string opens;
  for (int i = 0; i < 300000; ++i) opens += "\xE8\xBF\x9B\xE8\xA1\x8C\xE4\xB8\xAD(";  // 进行中(
  const std::string bodies[] = {
      opens,
      opens + "\n)",
      opens + "\n" + opens + ")",
      LargePage(16u << 20, opens),
  };
  RealRegexEngineProvider provider;
  for (const std::string& body : bodies) {
    SCOPED_TRACE(body.size());
    int32_t count = -1;
    const Text counter = Counter(provider, body, nullptr, &count);
    // However the engine ends (no match, or giving up), nothing reads as "0".
    EXPECT_NE(counter, Text("0"));
    EXPECT_LE(count, 1);
  }
}

}  // namespace
}  // namespace quorvel
