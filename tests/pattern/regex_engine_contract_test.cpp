// What RegexMatcher relies on from its engine, checked against the real engine
// of the build: PCRE2 on Linux, the system's "VBScript.RegExp" on Windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <string>

#include "tests/pattern/real_regex_engine.h"
#include "tests/platform/under_wine.h"
#include "text/text.h"

namespace quorvel {
namespace {

struct Options {
  bool ignoreCase = false;
  bool multiline = false;
  bool global = true;
};

class RegexEngineContractTest : public ::testing::Test {
 protected:
  void SetUp() override { provider_.CoInitialize(); }
  void TearDown() override { provider_.CoUninitialize(); }

  std::shared_ptr<RegexEngine> Engine(const std::u16string& pattern, Options options = {}) {
    std::shared_ptr<RegexEngine> engine = provider_.CreateObject("VBScript.RegExp");
    EXPECT_TRUE(engine);
    if (!engine) return nullptr;
    EXPECT_TRUE(engine->PutIgnoreCase(options.ignoreCase));
    EXPECT_TRUE(engine->PutMultiline(options.multiline));
    EXPECT_TRUE(engine->PutGlobal(options.global));
    EXPECT_TRUE(engine->PutPattern(pattern));
    return engine;
  }

  // The matches as "value@FirstIndex" joined by "|"; "null" for a failed Execute.
  std::u16string Matches(const std::u16string& pattern, const std::u16string& subject,
                         Options options = {}) {
    std::shared_ptr<RegexEngine> engine = Engine(pattern, options);
    if (!engine) return u"no engine";
    std::shared_ptr<RegexMatchCollection> matches = engine->Execute(subject);
    if (!matches) return u"null";
    std::u16string out;
    const int count = static_cast<int>(matches->Count());
    for (int i = 0; i < count; ++i) {
      std::shared_ptr<RegexMatch> match = matches->Item(i);
      if (!match) return u"missing item";
      if (i > 0) out += u"|";
      out += match->Value() + u"@" + std::u16string(1, static_cast<char16_t>(u'0' + match->FirstIndex()));
    }
    return out;
  }

  RealRegexEngineProvider provider_;
};

std::string Printable(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buffer[12];
      std::snprintf(buffer, sizeof(buffer), "\\u%04X", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out;
}

TEST_F(RegexEngineContractTest, FindsMatchesWithTheComponentsRules) {
  struct {
    std::u16string pattern;
    std::u16string subject;
    Options options;
    std::u16string want;  // offsets below 10 only
    const char* wineDiffers = nullptr;  // why Wine's component is skipped
  } cases[] = {
      {u"\u8FDB\u884C\u4E2D\\((.*?)\\)", u"x\u8FDB\u884C\u4E2D(2)\u8FDB\u884C\u4E2D(0)", {},
       u"\u8FDB\u884C\u4E2D(2)@1|\u8FDB\u884C\u4E2D(0)@7"},
      {u"a.*?b", u"aXbYb", {}, u"aXb@0"},
      {u"a.*b", u"aXbYb", {}, u"aXbYb@0"},
      {u"abc", u"xABC", {true}, u"ABC@1"},
      {u"abc", u"xABC", {false}, u""},
      {u"a", u"aaa", {false, false, false}, u"a@0"},
      {u"a", u"aaa", {}, u"a@0|a@1|a@2"},
      {u"x*", u"ab", {}, u"@0|@1|@2",
       "Wine's Execute never ends after an empty match with Global"},
      // A dot does not match a line feed: no single-line mode.
      {u"a.b", u"a\nb", {}, u""},
      {u"a.b", u"a-b", {}, u"a-b@0"},
      // Anchors: at line ends only in multi-line mode; $ never before a final LF otherwise.
      {u"^b", u"a\nb", {}, u""},
      {u"^b", u"a\nb", {false, true}, u"b@2"},
      {u"a$", u"a\n", {}, u""},
      {u"a$", u"a\n", {false, true}, u"a@0"},
      {u"a$", u"a", {}, u"a@0"},
      {u"^b", u"a\rb", {false, true}, u"b@2"},
      // Offsets count UTF-16 units.
      {u"b", u"\u8FDBb", {}, u"b@1"},
      {u"b", u"\U0001F600b", {}, u"b@2"},
      // \d is ASCII only; back references.
      {u"\\d+", u"\uFF11\uFF12" u"3", {}, u"3@2"},
      {u"(a)\\1", u"xaa", {}, u"aa@1"},
      {u"", u"", {}, u"@0"},
      // A pattern that does not compile.
      {u"a(", u"a(", {}, u"null"},
      {u"[a", u"a", {}, u"null"},
      {u"a)", u"a)", {}, u"null"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.pattern) + " in " + Printable(c.subject));
    if (c.wineDiffers != nullptr && UnderWine()) {
      GTEST_LOG_(INFO) << "skipped under Wine: " << c.wineDiffers;
      continue;
    }
    EXPECT_EQ(Printable(Matches(c.pattern, c.subject, c.options)), Printable(c.want));
  }
}

TEST_F(RegexEngineContractTest, GroupsReadAsTextAndEmptyWhenTheyTookNoPart) {
  std::shared_ptr<RegexEngine> engine = Engine(u"a(b)?(c)");
  ASSERT_TRUE(engine);
  std::shared_ptr<RegexMatchCollection> matches = engine->Execute(u"xac abc");
  ASSERT_TRUE(matches);
  ASSERT_EQ(matches->Count(), 2);
  std::shared_ptr<RegexGroupCollection> first = matches->Item(0)->SubMatches();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Count(), 2);
  EXPECT_EQ(first->Item(0), u"");
  EXPECT_EQ(first->Item(1), u"c");
  std::shared_ptr<RegexGroupCollection> second = matches->Item(1)->SubMatches();
  EXPECT_EQ(second->Item(0), u"b");
  EXPECT_EQ(matches->Item(1)->FirstIndex(), 4);
  // Indexes outside the collections give empty values.
  EXPECT_EQ(first->Item(2), u"");
  EXPECT_EQ(first->Item(-1), u"");
  EXPECT_FALSE(matches->Item(2));
  EXPECT_FALSE(matches->Item(-1));
}

TEST_F(RegexEngineContractTest, PropertiesReadBackAndSinglelineIsRefused) {
  std::shared_ptr<RegexEngine> engine = Engine(u"a+b", {true, true, true});
  ASSERT_TRUE(engine);
  EXPECT_TRUE(engine->GetIgnoreCase());
  EXPECT_EQ(engine->GetPattern(), u"a+b");
  EXPECT_FALSE(engine->PutSingleline(true));
  EXPECT_TRUE(engine->PutIgnoreCase(false));
  EXPECT_FALSE(engine->GetIgnoreCase());
  // The refused write left the dot as it was.
  EXPECT_TRUE(engine->PutPattern(u"a.b"));
  std::shared_ptr<RegexMatchCollection> matches = engine->Execute(u"a\nb");
  ASSERT_TRUE(matches);
  EXPECT_EQ(matches->Count(), 0);
}

TEST_F(RegexEngineContractTest, ObjectsAliveTogetherKeepTheirOwnPatternAndOptions) {
  // Objects made one after another for the same pattern, as polls make them,
  // and used in turns, also after one of them changes.
  struct Object {
    std::u16string pattern;
    Options options;
    std::shared_ptr<RegexEngine> engine;
  };
  Object objects[] = {
      {u"ab", {true, false, true}, nullptr},  {u"ab", {false, false, true}, nullptr},
      {u"^b", {false, true, true}, nullptr},  {u"^b", {false, false, true}, nullptr},
      {u"a", {false, false, false}, nullptr}, {u"a", {false, false, true}, nullptr},
  };
  for (Object& o : objects) {
    o.engine = Engine(o.pattern, o.options);
    ASSERT_TRUE(o.engine);
  }
  const std::u16string subject = u"AB a\nb ab";
  const int want[] = {2, 1, 1, 0, 1, 2};
  for (int round = 0; round < 2; ++round) {
    for (size_t i = 0; i < std::size(objects); ++i) {
      SCOPED_TRACE(testing::Message() << "round " << round << ", object " << i);
      std::shared_ptr<RegexMatchCollection> matches = objects[i].engine->Execute(subject);
      ASSERT_TRUE(matches);
      EXPECT_EQ(matches->Count(), want[i]);
    }
    // The first object changes; the second, with the same pattern, must not.
    EXPECT_TRUE(objects[0].engine->PutIgnoreCase(false));
    std::shared_ptr<RegexMatchCollection> changed = objects[0].engine->Execute(subject);
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->Count(), 1);
    EXPECT_TRUE(objects[0].engine->PutIgnoreCase(true));
  }
}

TEST_F(RegexEngineContractTest, ReplaceUsesTheEnginesSyntax) {
  struct {
    std::u16string pattern;
    std::u16string subject;
    std::u16string replacement;
    bool global;
    std::u16string want;
  } cases[] = {
      {u"(\\w+) (\\w+)", u"john smith", u"$2 $1", true, u"smith john"},
      {u"b", u"abc", u"[$&]", true, u"a[b]c"},
      {u"b", u"abc", u"[$`]", true, u"a[a]c"},
      {u"b", u"abc", u"[$']", true, u"a[c]c"},
      {u"b", u"abc", u"$$", true, u"a$c"},
      {u"b", u"abc", u"$", true, u"a$c"},
      {u"b", u"abcb", u"x", true, u"axcx"},
      {u"b", u"abcb", u"x", false, u"axcb"},
      {u"b", u"abcb", u"", true, u"ac"},
      {u"(a)(b)?", u"a", u"[$2]", true, u"[]"},
      {u"(a)", u"a", u"$10", true, u"a0"},
      {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)", u"abcdefghijk", u"$11$1", true, u"ka"},
      {u"x", u"abc", u"y", true, u"abc"},
      {u"\u8FDB", u"\u8FDB\u884C", u"<$&>", true, u"<\u8FDB>\u884C"},
      {u"a(", u"abc", u"y", true, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.pattern) + " -> " + Printable(c.replacement));
    std::shared_ptr<RegexEngine> engine = Engine(c.pattern, {false, false, c.global});
    ASSERT_TRUE(engine);
    EXPECT_EQ(Printable(engine->Replace(c.subject, c.replacement)), Printable(c.want));
  }
}

TEST_F(RegexEngineContractTest, AnEngineThatGivesUpFailsExecute) {
  if (UnderWine()) {
    GTEST_SKIP() << "Wine's engine has no match limit: this search would run for hours";
  }
  // Catastrophic backtracking from the first position on.
  std::shared_ptr<RegexEngine> engine = Engine(u"(a+)+c");
  ASSERT_TRUE(engine);
  EXPECT_FALSE(engine->Execute(std::u16string(64, u'a') + u"!c"));
  EXPECT_EQ(engine->Replace(std::u16string(64, u'a') + u"!c", u"x"), u"");
}

TEST(RegexEngineProviderTest, MakesObjectsOnlyInsideTheAutomationRuntime) {
  RealRegexEngineProvider provider;
  ASSERT_FALSE(ThreadInAutomationRuntime());
  EXPECT_FALSE(provider.CreateObject("VBScript.RegExp"));
  provider.CoInitialize();
  EXPECT_TRUE(ThreadInAutomationRuntime());
  provider.CoInitialize();
  EXPECT_TRUE(provider.CreateObject("VBScript.RegExp"));
  EXPECT_TRUE(provider.CreateObject("vbscript.regexp"));
  EXPECT_FALSE(provider.CreateObject("Quorvel.NoSuchComponent"));
  provider.CoUninitialize();
  EXPECT_TRUE(ThreadInAutomationRuntime());
  provider.CoUninitialize();
  EXPECT_FALSE(ThreadInAutomationRuntime());
}

}  // namespace
}  // namespace quorvel
