#include "platform/linux/regex_engine_pcre2.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "text/text.h"

namespace quorvel {

namespace {

// Bounds of one search. The match limit counts backtracking steps at each
// start position; the heap limit (KiB) bounds the interpreter's backtracking
// frames, which live on the heap; the JIT stack is heap memory of its own.
constexpr uint32_t kMatchLimit = 10'000'000;
constexpr uint32_t kHeapLimitKib = 256 * 1024;
constexpr size_t kJitStackStart = 32 * 1024;
constexpr size_t kJitStackMax = 16 * 1024 * 1024;

PCRE2_SPTR AsPcre(const std::u16string& s) { return reinterpret_cast<PCRE2_SPTR>(s.data()); }

class GroupsPcre2 final : public RegexGroupCollection {
 public:
  explicit GroupsPcre2(std::vector<std::u16string> texts) : texts_(std::move(texts)) {}
  double Count() override { return static_cast<double>(texts_.size()); }
  std::u16string Item(int index) override {
    if (index < 0 || static_cast<size_t>(index) >= texts_.size()) return std::u16string();
    return texts_[static_cast<size_t>(index)];
  }

 private:
  std::vector<std::u16string> texts_;
};

class MatchPcre2 final : public RegexMatch {
 public:
  MatchPcre2(std::u16string value, size_t firstIndex, std::shared_ptr<GroupsPcre2> groups)
      : value_(std::move(value)), firstIndex_(firstIndex), groups_(std::move(groups)) {}
  std::u16string Value() override { return value_; }
  double FirstIndex() override { return static_cast<double>(firstIndex_); }
  std::shared_ptr<RegexGroupCollection> SubMatches() override { return groups_; }

 private:
  std::u16string value_;
  size_t firstIndex_;
  std::shared_ptr<GroupsPcre2> groups_;
};

class MatchesPcre2 final : public RegexMatchCollection {
 public:
  explicit MatchesPcre2(std::vector<std::shared_ptr<RegexMatch>> items)
      : items_(std::move(items)) {}
  double Count() override { return static_cast<double>(items_.size()); }
  std::shared_ptr<RegexMatch> Item(int index) override {
    if (index < 0 || static_cast<size_t>(index) >= items_.size()) return nullptr;
    return items_[static_cast<size_t>(index)];
  }

 private:
  std::vector<std::shared_ptr<RegexMatch>> items_;
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

thread_local int threadInitializationCount = 0;

}  // namespace

// A compiled pattern with what a search needs besides the subject. A search
// runs to its end before another starts on the same thread, so the objects of
// one thread can share it.
struct RegexEnginePcre2::Compiled {
  std::u16string pattern;
  uint32_t options = 0;
  pcre2_code* code = nullptr;
  pcre2_match_data* matchData = nullptr;
  pcre2_match_context* matchContext = nullptr;
  pcre2_jit_stack* jitStack = nullptr;
  uint32_t groupCount = 0;

  Compiled() = default;
  Compiled(const Compiled&) = delete;
  Compiled& operator=(const Compiled&) = delete;
  ~Compiled() {
    pcre2_jit_stack_free(jitStack);
    pcre2_match_context_free(matchContext);
    pcre2_match_data_free(matchData);
    pcre2_code_free(code);
  }
};

RegexEnginePcre2::RegexEnginePcre2() = default;
RegexEnginePcre2::~RegexEnginePcre2() = default;

bool RegexEnginePcre2::PutIgnoreCase(bool value) {
  ignoreCase_ = value;
  compiled_.reset();
  return true;
}

bool RegexEnginePcre2::GetIgnoreCase() { return ignoreCase_; }

bool RegexEnginePcre2::PutMultiline(bool value) {
  multiline_ = value;
  compiled_.reset();
  return true;
}

// The component has no single-line mode: the write fails and changes nothing.
bool RegexEnginePcre2::PutSingleline(bool) { return false; }

bool RegexEnginePcre2::PutGlobal(bool value) {
  global_ = value;
  return true;
}

bool RegexEnginePcre2::PutPattern(const std::u16string& pattern) {
  pattern_ = pattern;
  compiled_.reset();
  return true;
}

std::u16string RegexEnginePcre2::GetPattern() { return pattern_; }

// A poll makes a new object for the same pattern every few seconds, and
// compiling it (with the JIT, which maps memory of its own) takes longer than
// searching a page.
std::shared_ptr<RegexEnginePcre2::Compiled>& RegexEnginePcre2::LastCompiled() {
  thread_local std::shared_ptr<Compiled> last;
  return last;
}

bool RegexEnginePcre2::Compile() {
  if (compiled_) return true;
  // ^ after a final line break and $ only at the very end (not before a
  // final LF) as in the component; invalid UTF-16 in a subject simply does
  // not match, and the subject is not checked again at every search.
  uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_DOLLAR_ENDONLY |
                     PCRE2_ALT_CIRCUMFLEX | PCRE2_ALT_BSUX;
  if (ignoreCase_) options |= PCRE2_CASELESS;
  if (multiline_) options |= PCRE2_MULTILINE;
  std::shared_ptr<Compiled>& last = LastCompiled();
  if (last && last->options == options && last->pattern == pattern_) {
    compiled_ = last;
    return true;
  }
  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  if (context == nullptr) return false;
  pcre2_set_newline(context, PCRE2_NEWLINE_ANYCRLF);
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  auto compiled = std::make_shared<Compiled>();
  compiled->pattern = pattern_;
  compiled->options = options;
  compiled->code =
      pcre2_compile(AsPcre(pattern_), pattern_.size(), options, &error, &errorOffset, context);
  pcre2_compile_context_free(context);
  if (compiled->code == nullptr) return false;
  // Without the JIT (not built in, or no executable memory) the interpreter runs.
  pcre2_jit_compile(compiled->code, PCRE2_JIT_COMPLETE);
  pcre2_pattern_info(compiled->code, PCRE2_INFO_CAPTURECOUNT, &compiled->groupCount);
  compiled->matchData = pcre2_match_data_create_from_pattern(compiled->code, nullptr);
  compiled->matchContext = pcre2_match_context_create(nullptr);
  if (compiled->matchData == nullptr || compiled->matchContext == nullptr) return false;
  pcre2_set_match_limit(compiled->matchContext, kMatchLimit);
  pcre2_set_depth_limit(compiled->matchContext, kMatchLimit);
  pcre2_set_heap_limit(compiled->matchContext, kHeapLimitKib);
  compiled->jitStack = pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr);
  if (compiled->jitStack != nullptr) {
    pcre2_jit_stack_assign(compiled->matchContext, nullptr, compiled->jitStack);
  }
  compiled_ = std::move(compiled);
  last = compiled_;
  return true;
}

bool RegexEnginePcre2::FindAll(const std::u16string& subject, std::vector<Found>& found) {
  found.clear();
  if (!Compile()) return false;
  const Compiled& c = *compiled_;
  size_t position = 0;
  while (position <= subject.size()) {
    const int rc = pcre2_match(c.code, AsPcre(subject), subject.size(), position, 0, c.matchData,
                               c.matchContext);
    if (rc == PCRE2_ERROR_NOMATCH) break;
    if (rc < 0) return false;  // a limit was reached, or memory ran out
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(c.matchData);
    Found f;
    f.end = ovector[1];
    f.start = std::min(ovector[0], f.end);  // \K can put the start after the end
    for (uint32_t g = 1; g <= c.groupCount; ++g) {
      if (ovector[2 * g] == PCRE2_UNSET) {
        f.groups.emplace_back(kUnset, kUnset);
      } else {
        f.groups.emplace_back(ovector[2 * g], ovector[2 * g + 1]);
      }
    }
    found.push_back(std::move(f));
    if (!global_) break;
    // After an empty match the search moves on by one character.
    const Found& last = found.back();
    size_t next = last.end;
    if (last.end == last.start) {
      const bool pair = next + 1 < subject.size() && subject[next] >= 0xD800 &&
                        subject[next] <= 0xDBFF && subject[next + 1] >= 0xDC00 &&
                        subject[next + 1] <= 0xDFFF;
      next += pair ? 2 : 1;
    }
    position = std::max(next, position + 1);
  }
  return true;
}

std::shared_ptr<RegexMatchCollection> RegexEnginePcre2::Execute(const std::u16string& subject) {
  std::vector<Found> found;
  if (!FindAll(subject, found)) return nullptr;
  std::vector<std::shared_ptr<RegexMatch>> items;
  items.reserve(found.size());
  for (const Found& f : found) {
    std::vector<std::u16string> groups;
    groups.reserve(f.groups.size());
    for (const auto& [start, end] : f.groups) {
      groups.push_back(start == kUnset || end < start ? std::u16string()
                                                      : subject.substr(start, end - start));
    }
    items.push_back(std::make_shared<MatchPcre2>(subject.substr(f.start, f.end - f.start),
                                                 f.start,
                                                 std::make_shared<GroupsPcre2>(std::move(groups))));
  }
  return std::make_shared<MatchesPcre2>(std::move(items));
}

std::u16string RegexEnginePcre2::Replace(const std::u16string& subject,
                                         const std::u16string& replacement) {
  std::vector<Found> found;
  if (!FindAll(subject, found)) return std::u16string();
  std::u16string out;
  size_t copied = 0;
  for (const Found& f : found) {
    const size_t start = std::max(f.start, copied);
    out.append(subject, copied, start - copied);
    auto group = [&](size_t n) {
      const auto& [s, e] = f.groups[n - 1];
      if (s != kUnset && e >= s) out.append(subject, s, e - s);
    };
    for (size_t i = 0; i < replacement.size(); ++i) {
      const char16_t ch = replacement[i];
      if (ch != u'$' || i + 1 == replacement.size()) {
        out.push_back(ch);
        continue;
      }
      const char16_t next = replacement[i + 1];
      if (next == u'$') {
        out.push_back(u'$');
        ++i;
      } else if (next == u'&') {
        out.append(subject, f.start, f.end - f.start);
        ++i;
      } else if (next == u'`') {
        out.append(subject, 0, f.start);
        ++i;
      } else if (next == u'\'') {
        out.append(subject, f.end, std::u16string::npos);
        ++i;
      } else if (IsDigit(next)) {
        // Two digits when they name a group, else one; otherwise a literal "$".
        const size_t one = next - u'0';
        const bool hasSecond = i + 2 < replacement.size() && IsDigit(replacement[i + 2]);
        const size_t two = hasSecond ? one * 10 + (replacement[i + 2] - u'0') : 0;
        if (hasSecond && two >= 1 && two <= f.groups.size()) {
          group(two);
          i += 2;
        } else if (one >= 1 && one <= f.groups.size()) {
          group(one);
          ++i;
        } else {
          out.push_back(u'$');
        }
      } else {
        out.push_back(u'$');
      }
    }
    copied = std::max(f.end, copied);
  }
  out.append(subject, copied, std::u16string::npos);
  return out;
}

void RegexEngineProviderPcre2::CoInitialize() { ++threadInitializationCount; }

void RegexEngineProviderPcre2::CoUninitialize() {
  if (threadInitializationCount > 0) --threadInitializationCount;
}

std::shared_ptr<RegexEngine> RegexEngineProviderPcre2::CreateObject(const Text& progId) {
  if (threadInitializationCount <= 0) return nullptr;
  // ProgIDs are compared without regard to letter case, as the system does.
  std::string name = progId.bytes();
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (name != "vbscript.regexp") return nullptr;
  return std::make_shared<RegexEnginePcre2>();
}

int RegexEngineProviderPcre2::ThreadInitializationCount() { return threadInitializationCount; }

}  // namespace quorvel
