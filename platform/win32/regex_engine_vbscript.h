// The regular-expression engine on Windows: the system component
// "VBScript.RegExp", driven by late binding. Every member is called by name;
// a call that fails yields the empty value of its result. Its "Singleline"
// write is made like any other and fails, for the component has no such member.
#ifndef QUORVEL_PLATFORM_WIN32_REGEX_ENGINE_VBSCRIPT_H_
#define QUORVEL_PLATFORM_WIN32_REGEX_ENGINE_VBSCRIPT_H_

#include <memory>
#include <string>

#include "pattern/regex_engine.h"
#include "platform/win32/automation.h"

namespace quorvel {

class RegexEngineVbscript final : public RegexEngine {
 public:
  // Keeps the reference it is given.
  explicit RegexEngineVbscript(ComPtr<IDispatch> regExp) : regExp_(std::move(regExp)) {}

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
  ComPtr<IDispatch> regExp_;
};

// Makes RegexEngineVbscript objects from a ProgID, and enters and leaves the
// automation runtime of the calling thread: CoUninitialize() is passed on
// only for a CoInitialize() that succeeded, so the thread's count stays balanced.
class RegexEngineProviderVbscript final : public RegexEngineProvider {
 public:
  void CoInitialize() override;
  void CoUninitialize() override;
  std::shared_ptr<RegexEngine> CreateObject(const Text& progId) override;
};

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_WIN32_REGEX_ENGINE_VBSCRIPT_H_
