// The regular-expression engine that RegexMatcher drives. Its members mirror
// those of the system's regular-expression automation component and behave as
// late-bound calls do: a call that fails raises nothing and yields the empty
// value of its result (false, 0, an empty string, a null object). Strings are
// UTF-16; collections are indexed from 0; numbers come back as doubles.
//
// Backends: RegexEngineVbscript (Windows, "VBScript.RegExp" by late binding)
// and RegexEnginePcre2 (Linux, PCRE2 16-bit in UTF mode).
#ifndef QUORVEL_PATTERN_REGEX_ENGINE_H_
#define QUORVEL_PATTERN_REGEX_ENGINE_H_

#include <memory>
#include <string>

namespace quorvel {

class Text;

// The groups of one match ("SubMatches").
class RegexGroupCollection {
 public:
  virtual ~RegexGroupCollection() = default;
  virtual double Count() = 0;
  // The group's text; empty when the group took no part or `index` is outside.
  virtual std::u16string Item(int index) = 0;
};

class RegexMatch {
 public:
  virtual ~RegexMatch() = default;
  virtual std::u16string Value() = 0;
  // 0-based offset of the match in the subject, in UTF-16 units.
  virtual double FirstIndex() = 0;
  virtual std::shared_ptr<RegexGroupCollection> SubMatches() = 0;
};

class RegexMatchCollection {
 public:
  virtual ~RegexMatchCollection() = default;
  virtual double Count() = 0;
  // Null when `index` is outside 0 ... Count() - 1.
  virtual std::shared_ptr<RegexMatch> Item(int index) = 0;
};

class RegexEngine {
 public:
  virtual ~RegexEngine() = default;
  virtual bool PutIgnoreCase(bool value) = 0;
  virtual bool GetIgnoreCase() = 0;
  virtual bool PutMultiline(bool value) = 0;
  // The component has no such member: the write is attempted and fails.
  virtual bool PutSingleline(bool value) = 0;
  virtual bool PutGlobal(bool value) = 0;
  virtual bool PutPattern(const std::u16string& pattern) = 0;
  virtual std::u16string GetPattern() = 0;
  // Null when the pattern does not compile or the engine gives up.
  virtual std::shared_ptr<RegexMatchCollection> Execute(const std::u16string& subject) = 0;
  // Empty on failure.
  virtual std::u16string Replace(const std::u16string& subject,
                                 const std::u16string& replacement) = 0;
};

// Makes engine objects and enters and leaves the automation runtime of the
// calling thread. Each CoInitialize() is balanced by one CoUninitialize().
class RegexEngineProvider {
 public:
  virtual ~RegexEngineProvider() = default;
  virtual void CoInitialize() = 0;
  virtual void CoUninitialize() = 0;
  // A new engine object for the component named `progId`; null on failure.
  virtual std::shared_ptr<RegexEngine> CreateObject(const Text& progId) = 0;
};

}  // namespace quorvel

#endif  // QUORVEL_PATTERN_REGEX_ENGINE_H_
