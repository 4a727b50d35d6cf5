// One poll cycle's processing of a fetched page: the body read as UTF-8 and
// converted to code page 936, then searched by RegexMatcher with the real
// PCRE2 engine for the program's pattern. The count read from the page must
// be the one a plain scan of the page finds. A second mode hands the engine a
// pattern from the input, where matches must come from the page and positions
// must stay within it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "pattern/regex_matcher.h"
#include "platform/linux/regex_engine_pcre2.h"
#include "text/code_page_conversion.h"
#include "text/code_page_functions.h"

namespace quorvel {
namespace {

// 进行中\((.*?)\)
const Text kPattern("\xBD\xF8\xD0\xD0\xD6\xD0\\((.*?)\\)");

// Group 1 of the first match of the pattern in `subject`: after the first
// 进行中( that has a ")" behind it before any line break, the characters up to
// that ")". Empty when there is none.
std::u16string FirstCount(const std::u16string& subject) {
  const std::u16string opening = u"\u8FDB\u884C\u4E2D(";
  for (size_t at = subject.find(opening); at != std::u16string::npos;
       at = subject.find(opening, at + 1)) {
    const size_t from = at + opening.size();
    for (size_t i = from; i < subject.size(); ++i) {
      if (subject[i] == u'\r' || subject[i] == u'\n') break;
      if (subject[i] == u')') return subject.substr(from, i - from);
    }
  }
  return std::u16string();
}

std::u16string Units(const Text& text, int codePage) {
  const Bytes wide = TextToWide(text, codePage);
  std::u16string units;
  for (int32_t i = 0; i + 1 < wide.length(); i += 2) {
    units.push_back(static_cast<char16_t>(wide.data()[i] | wide.data()[i + 1] << 8));
  }
  if (!units.empty()) units.pop_back();  // the NUL unit
  return units;
}

// The body converted: every character of the body comes back as itself, or as
// "?" when code page 936 has no code for it; and the conversion in one pass
// gives the bytes of the way through UTF-16.
void CheckConversion(const Text& body, const Text& page) {
  FUZZ_CHECK(fuzz::HoldsNoZeroByte(page));
  FUZZ_CHECK(page.length() <= body.length());
  FUZZ_CHECK(page == WideToText(TextToWide(body, 65001), 936));
  const std::u16string before = Units(body, 65001);
  const std::u16string after = Units(page, 936);
  FUZZ_CHECK(before.size() == after.size());
  for (size_t i = 0; i < before.size(); ++i) {
    if (after[i] == before[i]) continue;
    FUZZ_CHECK(after[i] == u'?');
    char out[4] = {};
    const char16_t unit[2] = {before[i], 0};
    FUZZ_CHECK(WideCharToMultiByte(936, 0, unit, -1, out, sizeof(out)) == 2 && out[0] == '?');
  }
}

void CheckProgramPattern(RegexEngineProvider& provider, const Text& page) {
  RegexMatcher matcher(provider);
  FUZZ_CHECK(matcher.Create(kPattern, page));
  const Text count = matcher.SubMatchText(1, 1);
  FUZZ_CHECK(fuzz::HoldsNoZeroByte(count));
  FUZZ_CHECK(count == FromAutomationString(FirstCount(ToAutomationString(page))));
  FUZZ_CHECK(matcher.SubMatchCount() == (matcher.MatchCount() > 0 ? 1 : 0));
}

void CheckAnyPattern(RegexEngineProvider& provider, const Text& pattern, const Text& page,
                     bool caseSensitive, bool multiline, bool global) {
  RegexMatcher matcher(provider);
  const bool created = matcher.Create(pattern, page, caseSensitive, multiline, global);
  const int32_t matches = matcher.MatchCount();
  FUZZ_CHECK(matches >= 0 && matches <= page.length() + 1);
  if (!created) FUZZ_CHECK(matches == 0);
  if (!global) FUZZ_CHECK(matches <= 1);
  // The page as it reads after a trip through the engine's strings.
  const Text seen = FromAutomationString(ToAutomationString(page));
  for (int32_t i = 0; i <= matches + 1 && i <= 8; ++i) {
    int32_t position = 12345;
    const Text match = matcher.MatchText(i, &position);
    FUZZ_CHECK(fuzz::HoldsNoZeroByte(match));
    FUZZ_CHECK(seen.bytes().find(match.bytes()) != std::string::npos);
    FUZZ_CHECK(position >= -2 && position <= page.length());
    if (i < 1 || i > matches) FUZZ_CHECK(match.empty());
    const Text group = matcher.SubMatchText(i, 1, &position);
    FUZZ_CHECK(seen.bytes().find(group.bytes()) != std::string::npos);
    FUZZ_CHECK(position >= -2 && position <= page.length());
  }
  FUZZ_CHECK(fuzz::HoldsNoZeroByte(matcher.ReplaceMatches("<$1>")));
  FUZZ_CHECK(fuzz::HoldsNoZeroByte(matcher.PatternText()));
}

}  // namespace
}  // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvel;
  static RegexEngineProviderPcre2 provider;
  FuzzedDataProvider input(data, size);
  const bool ownPattern = input.ConsumeIntegralInRange<int>(0, 3) == 0;
  if (ownPattern) {
    const bool caseSensitive = input.ConsumeBool();
    const bool multiline = input.ConsumeBool();
    const bool global = input.ConsumeBool();
    const Text pattern = Utf8ToAnsi(fuzz::ConsumeText(input, 64));
    const Text page = Utf8ToAnsi(fuzz::ConsumeText(input));
    CheckAnyPattern(provider, pattern, page, caseSensitive, multiline, global);
    return 0;
  }
  const Text body(input.ConsumeRemainingBytesAsString());
  const Text page = Utf8ToAnsi(body);
  CheckConversion(body, page);
  CheckProgramPattern(provider, page);
  return 0;
}
