#include "pattern/regex_matcher.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/pattern/real_regex_engine.h"

namespace quorvel {
namespace {

// Code page 936 texts.
const char kCounterPattern[] = "\xBD\xF8\xD0\xD0\xD6\xD0\\((.*?)\\)";  // 进行中\((.*?)\)
const char kRunning2[] = "\xBD\xF8\xD0\xD0\xD6\xD0(2)";                // 进行中(2)
const char kRunning0[] = "\xBD\xF8\xD0\xD0\xD6\xD0(0)";                // 进行中(0)
const char kQuoteMarker[] = "#\xD2\xFD\xBA\xC5";                       // #引号

class RegexMatcherTest : public ::testing::Test {
 protected:
  RealRegexEngineProvider provider_;
};

TEST_F(RegexMatcherTest, ReadsTheCounterOfRunningActivities) {
  struct {
    const char* subject;
    bool wantCreate;
    int32_t wantCount;
    int32_t wantGroups;
    const char* wantMatch;
    const char* wantGroup;
  } cases[] = {
      {kRunning2, true, 1, 1, kRunning2, "2"},
      {kRunning0, true, 1, 1, kRunning0, "0"},
      {"<li>\xC7\xA9\xB5\xBD</li>\xBD\xF8\xD0\xD0\xD6\xD0(0)</span>", true, 1, 1, kRunning0, "0"},
      {"abc", true, 0, 0, "", ""},
      {"", true, 0, 0, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.subject);
    RegexMatcher matcher(provider_);
    EXPECT_EQ(matcher.Create(kCounterPattern, c.subject), c.wantCreate);
    EXPECT_EQ(matcher.MatchCount(), c.wantCount);
    EXPECT_EQ(matcher.SubMatchCount(), c.wantGroups);
    EXPECT_EQ(matcher.MatchText(1), Text(c.wantMatch));
    EXPECT_EQ(matcher.SubMatchText(1, 1), Text(c.wantGroup));
  }
}

TEST_F(RegexMatcherTest, LookupsOutsideTheCollectionsAreEmpty) {
  RegexMatcher matcher(provider_);
  ASSERT_TRUE(matcher.Create(kCounterPattern, "x\xBD\xF8\xD0\xD0\xD6\xD0(2)"));
  EXPECT_EQ(matcher.MatchText(0), Text());
  EXPECT_EQ(matcher.MatchText(2), Text());
  EXPECT_EQ(matcher.MatchText(-5), Text());
  EXPECT_EQ(matcher.MatchText(INT32_MIN), Text());
  EXPECT_EQ(matcher.SubMatchText(1, 2), Text());
  EXPECT_EQ(matcher.SubMatchText(1, 0), Text());
  EXPECT_EQ(matcher.SubMatchText(2, 1), Text());
  EXPECT_EQ(matcher.SubMatchText(1, INT32_MIN), Text());
}

TEST_F(RegexMatcherTest, APatternThatDoesNotCompileLeavesNothing) {
  RegexMatcher matcher(provider_);
  EXPECT_FALSE(matcher.Create("a(b", "ab"));
  EXPECT_EQ(matcher.MatchCount(), 0);
  EXPECT_EQ(matcher.SubMatchCount(), 0);
  EXPECT_EQ(matcher.MatchText(1), Text());
  EXPECT_EQ(matcher.SubMatchText(1, 1), Text());
  EXPECT_EQ(matcher.PatternText(), Text("a(b"));
  EXPECT_EQ(matcher.ReplaceMatches("x"), Text());
}

TEST_F(RegexMatcherTest, OptionsAndTheirDefaults) {
  struct {
    const char* pattern;
    const char* subject;
    std::optional<bool> caseSensitive;
    std::optional<bool> multiline;
    std::optional<bool> global;
    bool expandQuoteMarker;
    int32_t wantCount;
    const char* wantFirst;
  } cases[] = {
      {"abc", "ABC", std::nullopt, std::nullopt, std::nullopt, false, 1, "ABC"},
      {"abc", "ABC", true, std::nullopt, std::nullopt, false, 0, ""},
      {"abc", "ABC", false, std::nullopt, std::nullopt, false, 1, "ABC"},
      {"a", "aaa", std::nullopt, std::nullopt, std::nullopt, false, 3, "a"},
      {"a", "aaa", std::nullopt, std::nullopt, false, false, 1, "a"},
      {"^b", "a\r\nb", std::nullopt, std::nullopt, std::nullopt, false, 1, "b"},
      {"^b", "a\r\nb", std::nullopt, false, std::nullopt, false, 0, ""},
      {"a.b", "a\nb", std::nullopt, std::nullopt, std::nullopt, false, 0, ""},
      // The quote marker becomes a double quote only when asked for.
      {"#\xD2\xFD\xBA\xC5\\d#\xD2\xFD\xBA\xC5", "x=\"7\"", std::nullopt, std::nullopt,
       std::nullopt, true, 1, "\"7\""},
      {"#\xD2\xFD\xBA\xC5\\d#\xD2\xFD\xBA\xC5", "x=\"7\"", std::nullopt, std::nullopt,
       std::nullopt, false, 0, ""},
      {"#\xD2\xFD\xBA\xC5\\d", "#\xD2\xFD\xBA\xC5" "7", std::nullopt, std::nullopt, std::nullopt,
       false, 1, "#\xD2\xFD\xBA\xC5" "7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pattern << " in " << c.subject);
    RegexMatcher matcher(provider_);
    EXPECT_TRUE(matcher.Create(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global,
                               c.expandQuoteMarker));
    EXPECT_EQ(matcher.MatchCount(), c.wantCount);
    EXPECT_EQ(matcher.MatchText(1), Text(c.wantFirst));
  }
}

TEST_F(RegexMatcherTest, PatternTextShowsTheExpandedMarker) {
  RegexMatcher matcher(provider_);
  EXPECT_EQ(matcher.PatternText(), Text());
  const Text pattern = ConcatText({kQuoteMarker, "(\\d+)", kQuoteMarker});
  matcher.Create(pattern, "", std::nullopt, std::nullopt, std::nullopt, true);
  EXPECT_EQ(matcher.PatternText(), Text("\"(\\d+)\""));
  matcher.Create(pattern, "");
  EXPECT_EQ(matcher.PatternText(), pattern);
}

TEST_F(RegexMatcherTest, AGroupThatTookNoPartIsEmpty) {
  RegexMatcher matcher(provider_);
  ASSERT_TRUE(matcher.Create("a(b)?", "a"));
  EXPECT_EQ(matcher.MatchCount(), 1);
  EXPECT_EQ(matcher.SubMatchCount(), 1);
  EXPECT_EQ(matcher.SubMatchText(1, 1), Text());
}

TEST_F(RegexMatcherTest, PositionsAreByteOffsetsInTheSubject) {
  struct {
    const char* pattern;
    const char* subject;
    int32_t match;
    int32_t group;  // 0: MatchText
    const char* want;
    int32_t wantPosition;
  } cases[] = {
      {"abc", "xxabc", 1, 0, "abc", 2},
      {"a(a)", "xaa", 1, 1, "a", 1},
      {"b", "abab", 2, 0, "b", 3},
      // Double-byte characters before the match count two bytes each.
      {"abc", "\xBD\xF8\xD0\xD0" "abc", 1, 0, "abc", 4},
      {kCounterPattern, "\xC7\xA9\xB5\xBD\xBD\xF8\xD0\xD0\xD6\xD0(3)", 1, 0, "\xBD\xF8\xD0\xD0\xD6\xD0(3)", 4},
      {kCounterPattern, "\xC7\xA9\xB5\xBD\xBD\xF8\xD0\xD0\xD6\xD0(3)", 1, 1, "3", 11},
      {"\xD6\xD0", "\xD6\xD0\xD6\xD0\xD6\xD0", 3, 0, "\xD6\xD0", 4},
      {"A", "\xB0" "AA", 1, 0, "A", 2},
      // The group's first occurrence from the start of its match, in the engine's case mode.
      {"a(A)", "zaA", 1, 1, "A", 1},
      // A lookup that fails: 0 in a non-empty subject, -2 in an empty one.
      {"z", "abc", 1, 0, "", 0},
      {"z", "", 1, 0, "", -2},
      {"(a)", "a", 1, 2, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pattern << " in " << c.subject << " #" << c.match);
    RegexMatcher matcher(provider_);
    ASSERT_TRUE(matcher.Create(c.pattern, c.subject));
    int32_t position = 12345;
    const Text got = c.group == 0 ? matcher.MatchText(c.match, &position)
                                  : matcher.SubMatchText(c.match, c.group, &position);
    EXPECT_EQ(got, Text(c.want));
    EXPECT_EQ(position, c.wantPosition);
  }
}

TEST_F(RegexMatcherTest, OperationsBeforeCreateAreEmpty) {
  RegexMatcher matcher(provider_);
  EXPECT_EQ(matcher.PatternText(), Text());
  EXPECT_EQ(matcher.ReplaceMatches("x"), Text());
  EXPECT_EQ(matcher.MatchCount(), 0);
  EXPECT_EQ(matcher.SubMatchCount(), 0);
  int32_t position = 12345;
  EXPECT_EQ(matcher.MatchText(1, &position), Text());
  // The subject of a new instance is the integer 0, which reads as "0".
  EXPECT_EQ(position, 0);
  EXPECT_EQ(matcher.SubMatchText(1, 1), Text());
}

TEST_F(RegexMatcherTest, ReplaceMatchesUsesTheStoredSubjectAndOptions) {
  RegexMatcher matcher(provider_);
  ASSERT_TRUE(matcher.Create("(\\d)", "a1b2\xBD\xF8" "3"));
  EXPECT_EQ(matcher.ReplaceMatches("<$1>"), Text("a<1>b<2>\xBD\xF8<3>"));
  EXPECT_EQ(matcher.ReplaceMatches(), Text("ab\xBD\xF8"));
  EXPECT_EQ(matcher.MatchCount(), 3);
  ASSERT_TRUE(matcher.Create("(\\d)", "a1b2", std::nullopt, std::nullopt, false));
  EXPECT_EQ(matcher.ReplaceMatches("$1$1"), Text("a11b2"));
}

TEST_F(RegexMatcherTest, CopiesShareTheEngineObjectsAndOwnTheirSubject) {
  auto original = std::make_unique<RegexMatcher>(provider_);
  ASSERT_TRUE(original->Create(kCounterPattern, kRunning2));
  RegexMatcher copy(*original);
  original->Create("z", "zzz");
  EXPECT_EQ(copy.SubMatchText(1, 1), Text("2"));
  original.reset();
  EXPECT_EQ(copy.MatchText(1), Text(kRunning2));
  EXPECT_EQ(copy.PatternText(), Text(kCounterPattern));
  int32_t position = -1;
  copy.MatchText(1, &position);
  EXPECT_EQ(position, 0);
}

TEST_F(RegexMatcherTest, EachInstanceHoldsOneComInitialization) {
  ASSERT_FALSE(ThreadInAutomationRuntime());
  {
    auto first = std::make_unique<RegexMatcher>(provider_);
    EXPECT_TRUE(ThreadInAutomationRuntime());
    {
      RegexMatcher second(*first);
      first.reset();
      EXPECT_TRUE(ThreadInAutomationRuntime());
      EXPECT_TRUE(second.Create("a", "a"));
    }
    EXPECT_FALSE(ThreadInAutomationRuntime());
  }
  EXPECT_FALSE(ThreadInAutomationRuntime());
}

// A fake engine that records the calls made on it.
class RecordingEngine final : public RegexEngine {
 public:
  explicit RecordingEngine(std::vector<std::string>& log) : log_(log) {}
  bool PutIgnoreCase(bool value) override { return Log("IgnoreCase", value); }
  bool GetIgnoreCase() override { return false; }
  bool PutMultiline(bool value) override { return Log("Multiline", value); }
  bool PutSingleline(bool value) override {
    Log("Singleline", value);
    return false;
  }
  bool PutGlobal(bool value) override { return Log("Global", value); }
  bool PutPattern(const std::u16string& pattern) override {
    log_.push_back("Pattern " + std::to_string(pattern.size()));
    return true;
  }
  std::u16string GetPattern() override { return u""; }
  std::shared_ptr<RegexMatchCollection> Execute(const std::u16string& subject) override {
    log_.push_back("Execute " + std::to_string(subject.size()));
    return nullptr;
  }
  std::u16string Replace(const std::u16string&, const std::u16string&) override { return u""; }

 private:
  bool Log(const char* name, bool value) {
    log_.push_back(std::string(name) + (value ? " true" : " false"));
    return true;
  }
  std::vector<std::string>& log_;
};

class RecordingProvider final : public RegexEngineProvider {
 public:
  void CoInitialize() override { ++initializations; }
  void CoUninitialize() override { --initializations; }
  std::shared_ptr<RegexEngine> CreateObject(const Text& progId) override {
    log.push_back("CreateObject " + progId.bytes());
    if (!makeObjects) return nullptr;
    return std::make_shared<RecordingEngine>(log);
  }
  int initializations = 0;
  bool makeObjects = true;
  std::vector<std::string> log;
};

TEST(RegexMatcherCallsTest, CreateWritesTheOptionsInOrderThenExecutes) {
  struct {
    std::optional<bool> caseSensitive;
    std::optional<bool> multiline;
    std::optional<bool> global;
    std::vector<std::string> want;
  } cases[] = {
      {std::nullopt, std::nullopt, std::nullopt,
       {"CreateObject VBScript.RegExp", "IgnoreCase true", "Multiline true", "Singleline true",
        "Global true", "Pattern 6", "Execute 2"}},
      {true, false, false,
       {"CreateObject VBScript.RegExp", "IgnoreCase false", "Multiline false", "Singleline true",
        "Global false", "Pattern 6", "Execute 2"}},
  };
  for (const auto& c : cases) {
    RecordingProvider provider;
    {
      RegexMatcher matcher(provider);
      EXPECT_EQ(provider.initializations, 1);
      // 进行中(.) is six UTF-16 units, 进行 two.
      EXPECT_FALSE(matcher.Create("\xBD\xF8\xD0\xD0\xD6\xD0(.)", "\xBD\xF8\xD0\xD0",
                                  c.caseSensitive, c.multiline, c.global));
      EXPECT_EQ(provider.log, c.want);
    }
    EXPECT_EQ(provider.initializations, 0);
  }
}

TEST(RegexMatcherCallsTest, WithoutAnEngineObjectEverythingIsEmpty) {
  RecordingProvider provider;
  provider.makeObjects = false;
  RegexMatcher matcher(provider);
  EXPECT_FALSE(matcher.Create("a", "a"));
  EXPECT_EQ(provider.log, std::vector<std::string>{"CreateObject VBScript.RegExp"});
  EXPECT_EQ(matcher.PatternText(), Text());
  EXPECT_EQ(matcher.ReplaceMatches("b"), Text());
  EXPECT_EQ(matcher.MatchCount(), 0);
  EXPECT_EQ(matcher.SubMatchText(1, 1), Text());
  {
    RegexMatcher copy(matcher);
    EXPECT_EQ(provider.initializations, 2);
  }
  EXPECT_EQ(provider.initializations, 1);
}

}  // namespace
}  // namespace quorvel
