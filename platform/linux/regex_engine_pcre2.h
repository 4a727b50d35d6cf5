// The regular-expression engine on Linux: PCRE2's 16-bit library in UTF mode,
// so that subjects are UTF-16 and offsets count UTF-16 units, with the options
// that bring it closest to the system component it stands in for.
//
// What matches the component: case-insensitive matching when IgnoreCase is
// set; with Multiline, ^ and $ also match at line ends (CR, LF, CR LF),
// including after a final line break; without it, ^ matches only at the start
// and $ only at the very end (not before a final LF); a dot matches anything
// but CR and LF; no single-line mode; lazy quantifiers; a group that took no
// part reads as empty; with Global every match, an empty match moving the
// search on by one character. Replace knows $1 ... $99, $&, $`, $' and $$.
//
// What still differs: CR LF is one line end, so in multi-line mode ^ and $ do
// not match between its CR and LF; U+2028 and U+2029 are no line ends; \w, \d
// and \b stay ASCII as in the component, but case folding covers all of
// Unicode; PCRE2 accepts constructs the component rejects (lookbehind, named
// groups, possessive quantifiers).
//
// Limits: the pattern is compiled with the JIT where it is available, and the
// last one compiled on a thread is kept for the next object there that asks
// for the same pattern and options. An object is used on one thread at a
// time, as the component's apartment rules have it. Each
// search stops at a match limit, a heap limit and a JIT stack limit rather
// than run away or overflow the stack; a search that stops is a failed
// Execute (null) or Replace (empty).
#ifndef QUORVEL_PLATFORM_LINUX_REGEX_ENGINE_PCRE2_H_
#define QUORVEL_PLATFORM_LINUX_REGEX_ENGINE_PCRE2_H_

#include <memory>
#include <string>
#include <vector>

#include "pattern/regex_engine.h"

namespace quorvel {

class RegexEnginePcre2 final : public RegexEngine {
 public:
  RegexEnginePcre2();
  ~RegexEnginePcre2() override;
  RegexEnginePcre2(const RegexEnginePcre2&) = delete;
  RegexEnginePcre2& operator=(const RegexEnginePcre2&) = delete;

  bool PutIgnoreCase(bool value) override;
  bool GetIgnoreCase() override;
  bool PutMultiline(bool value) override;
  bool PutSingleline(bool value) override;
  bool PutGlobal(bool value) override;
  bool PutPattern(const std::u16string& pattern) override;
  std::u16string GetPattern() override;
  std::shared_ptr<RegexMatchCollection> Execute(const std::u16string& subject) override;
  std::u16string Replace(const std::u16string& subject,
                         const std::u16string& replacement) override;

 private:
  // One match: [start, end) and, per group, its bounds or none.
  struct Found {
    size_t start;
    size_t end;
    std::vector<std::pair<size_t, size_t>> groups;  // kUnset bounds: took no part
  };
  static constexpr size_t kUnset = static_cast<size_t>(-1);

  // Every match of the pattern in `subject` (only the first without Global)
  // into `found`; false when the pattern does not compile or a limit stops the search.
  bool FindAll(const std::u16string& subject, std::vector<Found>& found);
  bool Compile();

  struct Compiled;
  // The last pattern compiled on the calling thread, with its options.
  static std::shared_ptr<Compiled>& LastCompiled();
  // null until needed and after any option changes; shared with the other
  // objects of the thread that use the same pattern and options
  std::shared_ptr<Compiled> compiled_;
  bool ignoreCase_ = false;
  bool multiline_ = false;
  bool global_ = false;
  std::u16string pattern_;
};

// Makes RegexEnginePcre2 objects for the ProgID "VBScript.RegExp" and keeps a
// per-thread count of CoInitialize() calls not yet balanced, as the automation
// runtime does; like the runtime, it makes no object on a thread whose count is 0.
class RegexEngineProviderPcre2 final : public RegexEngineProvider {
 public:
  void CoInitialize() override;
  void CoUninitialize() override;
  std::shared_ptr<RegexEngine> CreateObject(const Text& progId) override;

  // The calling thread's count of CoInitialize() calls not yet balanced.
  static int ThreadInitializationCount();
};

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_LINUX_REGEX_ENGINE_PCRE2_H_
