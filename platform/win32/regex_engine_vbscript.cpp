#include "platform/win32/regex_engine_vbscript.h"

#include "text/code_page_conversion.h"

namespace quorvel {

namespace {

// Reads member `name` of `object`; the empty Variant when the call fails.
Variant Get(const ComPtr<IDispatch>& object, const wchar_t* name,
            const std::vector<Variant>& args = {}) {
  Variant result;
  GetMember(object.get(), name, args, &result);
  return result;
}

bool Put(const ComPtr<IDispatch>& object, const wchar_t* name, const Variant& value) {
  return SUCCEEDED(PutMember(object.get(), name, {}, value));
}

class GroupsVbscript final : public RegexGroupCollection {
 public:
  explicit GroupsVbscript(ComPtr<IDispatch> groups) : groups_(std::move(groups)) {}
  double Count() override { return Get(groups_, L"Count").ToDouble(); }
  // A group that took no part reads as Empty, which gives "".
  std::u16string Item(int index) override {
    return Get(groups_, L"Item", {Variant(int32_t{index})}).ToU16String();
  }

 private:
  ComPtr<IDispatch> groups_;
};

class MatchVbscript final : public RegexMatch {
 public:
  explicit MatchVbscript(ComPtr<IDispatch> match) : match_(std::move(match)) {}
  std::u16string Value() override { return Get(match_, L"Value").ToU16String(); }
  double FirstIndex() override { return Get(match_, L"FirstIndex").ToDouble(); }
  std::shared_ptr<RegexGroupCollection> SubMatches() override {
    ComPtr<IDispatch> groups = Get(match_, L"SubMatches").ToDispatch();
    if (!groups) return nullptr;
    return std::make_shared<GroupsVbscript>(std::move(groups));
  }

 private:
  ComPtr<IDispatch> match_;
};

class MatchesVbscript final : public RegexMatchCollection {
 public:
  explicit MatchesVbscript(ComPtr<IDispatch> matches) : matches_(std::move(matches)) {}
  double Count() override { return Get(matches_, L"Count").ToDouble(); }
  std::shared_ptr<RegexMatch> Item(int index) override {
    ComPtr<IDispatch> match = Get(matches_, L"Item", {Variant(int32_t{index})}).ToDispatch();
    if (!match) return nullptr;
    return std::make_shared<MatchVbscript>(std::move(match));
  }

 private:
  ComPtr<IDispatch> matches_;
};

// CoInitialize() calls of this thread that succeeded and are not yet balanced.
thread_local int threadInitializations = 0;

}  // namespace

bool RegexEngineVbscript::PutIgnoreCase(bool value) {
  return Put(regExp_, L"IgnoreCase", Variant(value));
}

bool RegexEngineVbscript::GetIgnoreCase() { return Get(regExp_, L"IgnoreCase").ToBool(); }

bool RegexEngineVbscript::PutMultiline(bool value) {
  return Put(regExp_, L"Multiline", Variant(value));
}

bool RegexEngineVbscript::PutSingleline(bool value) {
  return Put(regExp_, L"Singleline", Variant(value));
}

bool RegexEngineVbscript::PutGlobal(bool value) { return Put(regExp_, L"Global", Variant(value)); }

bool RegexEngineVbscript::PutPattern(const std::u16string& pattern) {
  return Put(regExp_, L"Pattern", Variant(pattern));
}

std::u16string RegexEngineVbscript::GetPattern() { return Get(regExp_, L"Pattern").ToU16String(); }

std::shared_ptr<RegexMatchCollection> RegexEngineVbscript::Execute(const std::u16string& subject) {
  Variant result;
  if (FAILED(CallMethod(regExp_.get(), L"Execute", {Variant(subject)}, &result))) return nullptr;
  ComPtr<IDispatch> matches = result.ToDispatch();
  if (!matches) return nullptr;
  return std::make_shared<MatchesVbscript>(std::move(matches));
}

std::u16string RegexEngineVbscript::Replace(const std::u16string& subject,
                                            const std::u16string& replacement) {
  Variant result;
  CallMethod(regExp_.get(), L"Replace", {Variant(subject), Variant(replacement)}, &result);
  return result.ToU16String();
}

void RegexEngineProviderVbscript::CoInitialize() {
  if (SUCCEEDED(::CoInitialize(nullptr))) ++threadInitializations;
}

void RegexEngineProviderVbscript::CoUninitialize() {
  if (threadInitializations <= 0) return;
  --threadInitializations;
  ::CoUninitialize();
}

std::shared_ptr<RegexEngine> RegexEngineProviderVbscript::CreateObject(const Text& progId) {
  ComPtr<IDispatch> object = quorvel::CreateObject(ToAutomationString(progId));
  if (!object) return nullptr;
  return std::make_shared<RegexEngineVbscript>(std::move(object));
}

}  // namespace quorvel
