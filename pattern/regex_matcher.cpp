#include "pattern/regex_matcher.h"

#include <algorithm>
#include <climits>

#include "text/code_page_conversion.h"
#include "text/find_text.h"
#include "text/replace_subtext.h"

namespace quorvel {

namespace {

const Text kProgId("VBScript.RegExp");
const Text kQuoteMarker("#\xD2\xFD\xBA\xC5");  // #引号
const Text kQuote("\"");

// A 1-based number as the engine's 0-based index; -1 when it has none.
int ZeroBased(int32_t oneBased) {
  const int64_t index = static_cast<int64_t>(oneBased) - 1;
  return index < 0 || index > INT_MAX ? -1 : static_cast<int>(index);
}

}  // namespace

RegexMatcher::RegexMatcher(RegexEngineProvider& provider) : provider_(provider) {
  provider_.CoInitialize();
}

RegexMatcher::RegexMatcher(const RegexMatcher& other) : provider_(other.provider_) {
  provider_.CoInitialize();
  regExp_ = other.regExp_;
  matches_ = other.matches_;
  subject_ = other.subject_;
}

RegexMatcher::~RegexMatcher() {
  regExp_.reset();
  matches_.reset();
  subject_.reset();
  provider_.CoUninitialize();
}

bool RegexMatcher::Create(const Text& pattern, const Text& subject,
                          std::optional<bool> caseSensitive, std::optional<bool> multiline,
                          std::optional<bool> global, bool expandQuoteMarker) {
  const bool ignoreCase = !caseSensitive.value_or(false);
  regExp_.reset();
  matches_.reset();
  regExp_ = provider_.CreateObject(kProgId);
  // Every write goes through even without an engine object, failing as a
  // late-bound call on an empty reference does.
  if (regExp_) {
    regExp_->PutIgnoreCase(ignoreCase);
    regExp_->PutMultiline(multiline.value_or(true));
    regExp_->PutSingleline(true);  // the component has no such member: the write fails
    regExp_->PutGlobal(global.value_or(true));
  }
  const Text prepared = expandQuoteMarker
                            ? ReplaceSubtext(pattern, kQuoteMarker, kQuote, 1, std::nullopt, true)
                            : pattern;
  if (regExp_) regExp_->PutPattern(ToAutomationString(prepared));
  subject_ = ToAutomationString(subject);
  if (regExp_) matches_ = regExp_->Execute(*subject_);
  return matches_ != nullptr;
}

Text RegexMatcher::PatternText() const {
  if (!regExp_) return Text();
  return FromAutomationString(regExp_->GetPattern());
}

Text RegexMatcher::ReplaceMatches(const Text& replacement) const {
  if (!regExp_ || !subject_) return Text();
  const std::u16string with = ToAutomationString(replacement);
  return FromAutomationString(regExp_->Replace(*subject_, with));
}

int32_t RegexMatcher::MatchCount() const {
  if (!matches_) return 0;
  return TruncateToInt32(matches_->Count());
}

Text RegexMatcher::MatchText(int32_t index, int32_t* position) const {
  const std::shared_ptr<RegexMatch> match = MatchAt(index);
  const Text result = match ? FromAutomationString(match->Value()) : Text();
  if (position != nullptr) *position = PositionOf(result, match ? match->FirstIndex() : 0.0);
  return result;
}

Text RegexMatcher::SubMatchText(int32_t matchIndex, int32_t subMatchIndex,
                                int32_t* position) const {
  const std::shared_ptr<RegexMatch> match = MatchAt(matchIndex);
  const std::shared_ptr<RegexGroupCollection> groups = match ? match->SubMatches() : nullptr;
  const int group = ZeroBased(subMatchIndex);
  const Text result =
      groups && group >= 0 ? FromAutomationString(groups->Item(group)) : Text();
  if (position != nullptr) *position = PositionOf(result, match ? match->FirstIndex() : 0.0);
  return result;
}

int32_t RegexMatcher::SubMatchCount() const {
  const std::shared_ptr<RegexMatch> match = MatchAt(1);
  const std::shared_ptr<RegexGroupCollection> groups = match ? match->SubMatches() : nullptr;
  return groups ? TruncateToInt32(groups->Count()) : 0;
}

std::shared_ptr<RegexMatch> RegexMatcher::MatchAt(int32_t index) const {
  const int i = ZeroBased(index);
  if (!matches_ || i < 0) return nullptr;
  return matches_->Item(i);
}

Text RegexMatcher::SubjectText() const {
  // A new instance holds the integer 0, which reads as the text "0".
  if (!subject_) return Text("0");
  return FromAutomationString(*subject_);
}

// FirstIndex counts UTF-16 units, the Text counts bytes: the search starts at
// the byte length, in code page 936, of the subject's first FirstIndex units,
// which is where the match begins in the Text (each character of a subject
// converted from valid code page 936 comes back as the same bytes). FindText
// then finds the text looked for from there, in the engine's case mode.
int32_t RegexMatcher::PositionOf(const Text& found, double firstIndex) const {
  int64_t units = TruncateToInteger(firstIndex);
  int32_t start = 1;
  if (subject_ && units > 0) {
    units = std::min<int64_t>(units, static_cast<int64_t>(subject_->size()));
    start += FromAutomationString(subject_->substr(0, static_cast<size_t>(units))).length();
  } else if (units > 0) {
    start += static_cast<int32_t>(std::min<int64_t>(units, INT_MAX - 1));
  }
  const bool caseInsensitive = regExp_ && regExp_->GetIgnoreCase();
  return FindText(SubjectText(), found, start, caseInsensitive) - 1;
}

}  // namespace quorvel
