// Fakes of the window operations and of the two automation components, for
// running the handlers without a window system or a network.
//
// FakeWindow keeps the window's state (edit box texts, caption, timer period,
// always-on-top flag), a small file system of its own, and a log of every
// call in order. FakeHttpProvider answers every request with one configured
// page and records what was asked. FakeRegexProvider matches the one kind of
// pattern the poll cycle uses, as the system component does.
#ifndef QUORVEL_TESTS_APP_FAKE_SERVICES_H_
#define QUORVEL_TESTS_APP_FAKE_SERVICES_H_

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window_description.h"
#include "app/window_operations.h"
#include "pattern/regex_engine.h"
#include "text/code_page_conversion.h"
#include "web/http_request.h"

namespace quorvel::testing {

// A code page 936 text as UTF-8, for readable logs and messages.
inline std::string Utf8(const Text& text) { return WideToText(TextToWide(text, 936), 65001).bytes(); }
// A UTF-8 literal as a code page 936 Text.
inline Text Cp936(const char* utf8) { return Utf8ToAnsi(Text(utf8)); }

class FakeWindow final : public WindowOperations {
 public:
  Text ReadEditText(EditBox box) override {
    log.push_back("ReadEditText " + BoxName(box));
    return boxes[box];
  }
  Text ReadDetectButtonCaption() override {
    log.push_back("ReadDetectButtonCaption");
    return caption;
  }
  void WriteDetectButtonCaption(const Text& text) override {
    log.push_back("WriteDetectButtonCaption " + Utf8(text));
    caption = text;
  }
  void WriteDetectTimerPeriod(int32_t milliseconds) override {
    log.push_back("WriteDetectTimerPeriod " + std::to_string(milliseconds));
    period = milliseconds;
  }
  void AppendEditText(EditBox box, const Text& text) override {
    log.push_back("AppendEditText " + BoxName(box) + " " + Utf8(text));
    boxes[box] += text;
  }
  void SetAlwaysOnTop(int32_t flag) override {
    log.push_back("SetAlwaysOnTop " + std::to_string(flag));
    alwaysOnTop = flag == 1;
  }
  void ShowMessageBox(const Text& text) override {
    log.push_back("ShowMessageBox " + Utf8(text));
  }
  void PlayMp3(int32_t playCount, const Text& path) override {
    log.push_back("PlayMp3 " + std::to_string(playCount) + " " + Utf8(path));
  }
  bool WriteFileBytes(const Text& path, const Bytes& bytes) override {
    log.push_back("WriteFileBytes " + Utf8(path));
    if (path.empty() || directories.count(path.bytes()) != 0 || readOnly) return false;
    files[path.bytes()] = bytes;
    return true;
  }
  int32_t PathFileExistsA(const Text& path) override {
    log.push_back("PathFileExistsA " + Utf8(path));
    return files.count(path.bytes()) != 0 || directories.count(path.bytes()) != 0 ? 1 : 0;
  }
  Text AlertSoundPath() override {
    log.push_back("AlertSoundPath");
    return soundPath;
  }

  static std::string BoxName(EditBox box) {
    switch (box) {
      case EditBox::kAddress:
        return "address";
      case EditBox::kCookies:
        return "cookies";
      case EditBox::kStatus:
        return "status";
    }
    return "?";
  }

  std::map<EditBox, Text> boxes;
  Text caption = kStartCaption;
  int32_t period = 0;
  bool alwaysOnTop = false;
  // 目录/签到提示.mp3
  Text soundPath = ConcatText({Cp936("/opt/quorvel/"), kAlertSoundFileName});
  std::map<std::string, Bytes> files;
  std::set<std::string> directories;
  bool readOnly = false;
  std::vector<std::string> log;
};

// FakeWindow's log of one poll cycle: the two boxes read, then either the
// status line or the alert's steps in their order.
inline std::vector<std::string> CycleLog(bool nothingRunning) {
  std::vector<std::string> log = {"ReadEditText address", "ReadEditText cookies"};
  if (nothingRunning) {
    log.push_back("AppendEditText status 签到未开始\r\n");
    return log;
  }
  log.insert(log.end(), {
                            "SetAlwaysOnTop 0",
                            "AppendEditText status 签到已经开始，请自行签到！！\r\n",
                            "AlertSoundPath",
                            "PlayMp3 3 /opt/quorvel/签到提示.mp3",
                            "WriteDetectTimerPeriod 0",
                            "WriteDetectButtonCaption 开始检测",
                            "ShowMessageBox 签到已经开始，请自行签到！！",
                            "SetAlwaysOnTop 1",
                        });
  return log;
}

// What the fake web saw of one request.
struct FakeExchange {
  std::u16string verb;
  std::u16string url;
  std::vector<std::pair<std::u16string, std::u16string>> headers;
};

class FakeHttpProvider final : public HttpRequestProvider {
 public:
  void CoInitialize() override { ++comDepth; }
  void CoUninitialize() override { --comDepth; }
  std::shared_ptr<HttpRequest> CreateObject(const Text& progId) override;

  // The page every request gets, or none when `reachable` is false.
  Bytes page;
  bool reachable = true;
  std::u16string responseHeaders = u"Content-Type: text/html\r\nSet-Cookie: session=renewed\r\n";
  int comDepth = 0;
  std::vector<FakeExchange> exchanges;
};

class FakeHttpRequest final : public HttpRequest {
 public:
  explicit FakeHttpRequest(FakeHttpProvider& web) : web_(web) {}
  bool SetTimeouts(int32_t, int32_t, int32_t, int32_t) override { return true; }
  bool SetProxy(int32_t, const std::u16string&) override { return true; }
  bool Open(const std::u16string& verb, const std::u16string& url, bool) override {
    exchange_ = FakeExchange{verb, url, {}};
    return true;
  }
  bool PutOption(int32_t, int32_t) override { return true; }
  bool SetRequestHeader(const std::u16string& name, const std::u16string& value) override {
    exchange_.headers.emplace_back(name, value);
    return true;
  }
  bool Send(const std::u16string&) override { return Answer(); }
  bool Send(const Bytes&) override { return Answer(); }
  Bytes ResponseBody() override { return answered_ ? web_.page : Bytes(); }
  std::u16string GetAllResponseHeaders() override {
    return answered_ ? web_.responseHeaders : std::u16string();
  }
  double Status() override { return answered_ ? 200 : 0; }

 private:
  bool Answer() {
    web_.exchanges.push_back(exchange_);
    answered_ = web_.reachable;
    return answered_;
  }
  FakeHttpProvider& web_;
  FakeExchange exchange_;
  bool answered_ = false;
};

inline std::shared_ptr<HttpRequest> FakeHttpProvider::CreateObject(const Text& progId) {
  if (progId != Text("WinHttp.WinHttpRequest.5.1")) return nullptr;
  return std::make_shared<FakeHttpRequest>(*this);
}

class FakeRegexGroups final : public RegexGroupCollection {
 public:
  explicit FakeRegexGroups(std::vector<std::u16string> groups) : groups_(std::move(groups)) {}
  double Count() override { return static_cast<double>(groups_.size()); }
  std::u16string Item(int index) override {
    return index >= 0 && index < static_cast<int>(groups_.size()) ? groups_[index] : u"";
  }

 private:
  std::vector<std::u16string> groups_;
};

class FakeRegexMatch final : public RegexMatch {
 public:
  FakeRegexMatch(std::u16string value, double firstIndex, std::vector<std::u16string> groups)
      : value_(std::move(value)), firstIndex_(firstIndex), groups_(std::move(groups)) {}
  std::u16string Value() override { return value_; }
  double FirstIndex() override { return firstIndex_; }
  std::shared_ptr<RegexGroupCollection> SubMatches() override {
    return std::make_shared<FakeRegexGroups>(groups_);
  }

 private:
  std::u16string value_;
  double firstIndex_;
  std::vector<std::u16string> groups_;
};

class FakeRegexMatches final : public RegexMatchCollection {
 public:
  explicit FakeRegexMatches(std::vector<std::shared_ptr<RegexMatch>> matches)
      : matches_(std::move(matches)) {}
  double Count() override { return static_cast<double>(matches_.size()); }
  std::shared_ptr<RegexMatch> Item(int index) override {
    return index >= 0 && index < static_cast<int>(matches_.size()) ? matches_[index] : nullptr;
  }

 private:
  std::vector<std::shared_ptr<RegexMatch>> matches_;
};

class FakeRegexEngine final : public RegexEngine {
 public:
  bool PutIgnoreCase(bool value) override { return Set(ignoreCase_, value); }
  bool GetIgnoreCase() override { return ignoreCase_; }
  bool PutMultiline(bool value) override { return Set(multiline_, value); }
  bool PutSingleline(bool) override { return false; }
  bool PutGlobal(bool value) override { return Set(global_, value); }
  bool PutPattern(const std::u16string& pattern) override {
    pattern_ = pattern;
    return true;
  }
  std::u16string GetPattern() override { return pattern_; }
  // Knows the one shape of pattern the poll cycle uses, LITERAL\((.*?)\):
  // the literal and "(", then the shortest run of characters other than a
  // line feed up to the next ")". Any other pattern fails, like one that
  // does not compile.
  std::shared_ptr<RegexMatchCollection> Execute(const std::u16string& subject) override {
    const std::u16string tail = u"\\((.*?)\\)";
    if (pattern_.size() < tail.size() ||
        pattern_.compare(pattern_.size() - tail.size(), tail.size(), tail) != 0) {
      return nullptr;
    }
    const std::u16string opening = pattern_.substr(0, pattern_.size() - tail.size()) + u"(";
    std::vector<std::shared_ptr<RegexMatch>> found;
    size_t at = 0;
    while (at + opening.size() <= subject.size()) {
      const size_t groupStart = at + opening.size();
      size_t close = groupStart;
      while (close < subject.size() && subject[close] != u')' && subject[close] != u'\n') ++close;
      if (!Same(subject.substr(at, opening.size()), opening) || close == subject.size() ||
          subject[close] != u')') {
        ++at;
        continue;
      }
      found.push_back(std::make_shared<FakeRegexMatch>(
          subject.substr(at, close + 1 - at), static_cast<double>(at),
          std::vector<std::u16string>{subject.substr(groupStart, close - groupStart)}));
      if (!global_) break;
      at = close + 1;
    }
    return std::make_shared<FakeRegexMatches>(std::move(found));
  }
  std::u16string Replace(const std::u16string&, const std::u16string&) override { return u""; }

 private:
  static bool Set(bool& option, bool value) {
    option = value;
    return true;
  }
  // Equal, with ASCII letters folded when case is ignored.
  bool Same(const std::u16string& a, const std::u16string& b) const {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (a[i] == b[i]) continue;
      if (!ignoreCase_ || Fold(a[i]) != Fold(b[i])) return false;
    }
    return true;
  }
  static char16_t Fold(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
  }
  bool ignoreCase_ = false;
  bool multiline_ = false;
  bool global_ = false;
  std::u16string pattern_;
};

class FakeRegexProvider final : public RegexEngineProvider {
 public:
  void CoInitialize() override { ++comDepth; }
  void CoUninitialize() override { --comDepth; }
  std::shared_ptr<RegexEngine> CreateObject(const Text& progId) override {
    if (broken || progId != Text("VBScript.RegExp")) return nullptr;
    return std::make_shared<FakeRegexEngine>();
  }

  bool broken = false;  // the component cannot be made
  int comDepth = 0;
};

}  // namespace quorvel::testing

#endif  // QUORVEL_TESTS_APP_FAKE_SERVICES_H_
