// RegexMatcher runs one regular-expression search of one subject text and
// hands out its matches and their groups as Text, numbered from 1.
#ifndef QUORVEL_PATTERN_REGEX_MATCHER_H_
#define QUORVEL_PATTERN_REGEX_MATCHER_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "pattern/regex_engine.h"
#include "text/text.h"

namespace quorvel {

class RegexMatcher {
 public:
  // Enters the automation runtime through `provider`; the destructor leaves it.
  explicit RegexMatcher(RegexEngineProvider& provider);
  RegexMatcher(const RegexMatcher& other);
  RegexMatcher& operator=(const RegexMatcher& other) = delete;
  ~RegexMatcher();

  // Searches `subject` for `pattern`. Options left out: case-insensitive,
  // multi-line, global. True when the engine delivered a match collection,
  // even an empty one.
  bool Create(const Text& pattern, const Text& subject,
              std::optional<bool> caseSensitive = std::nullopt,
              std::optional<bool> multiline = std::nullopt,
              std::optional<bool> global = std::nullopt, bool expandQuoteMarker = false);
  Text PatternText() const;
  Text ReplaceMatches(const Text& replacement = Text()) const;
  int32_t MatchCount() const;
  // Match `index` (1-based); `position`, when given, receives its 0-based byte
  // offset in the subject.
  Text MatchText(int32_t index, int32_t* position = nullptr) const;
  // Group `subMatchIndex` of match `matchIndex`, both 1-based; `position`,
  // when given, receives the 0-based byte offset of the first occurrence of
  // the group's text from the start of its match. A lookup that fails gives
  // the empty text and the position 0 (-2 in an empty subject).
  Text SubMatchText(int32_t matchIndex, int32_t subMatchIndex, int32_t* position = nullptr) const;
  int32_t SubMatchCount() const;

 private:
  // The stored subject back as Text.
  Text SubjectText() const;
  // The 0-based byte offset of the first `found` in the subject from the match
  // that begins `firstIndex` UTF-16 units into it; see the .cpp.
  int32_t PositionOf(const Text& found, double firstIndex) const;
  std::shared_ptr<RegexMatch> MatchAt(int32_t index) const;

  RegexEngineProvider& provider_;
  std::shared_ptr<RegexEngine> regExp_;
  std::shared_ptr<RegexMatchCollection> matches_;
  std::optional<std::u16string> subject_;  // empty optional: the integer 0 of a new instance
};

}  // namespace quorvel

#endif  // QUORVEL_PATTERN_REGEX_MATCHER_H_
