// Full poll cycles against hostile servers on 127.0.0.1 (hostile_servers.py),
// with the real Linux backends: libcurl behind WebRequest and PCRE2 behind
// RegexMatcher; only the window is a fake. Each row ends in its documented
// outcome: the status line "签到未开始" when the counter 进行中(0) was read,
// else the alert. No row may crash or hang past the time-outs.
//
// The bounds the rows run into are HttpRequestCurl's: a body of more than
// 64 MiB fails the request, and so do response headers beyond what libcurl
// takes (about 300 KiB in all); at most 10 redirects in a row; only http and
// https are fetched, also after a redirect.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/handlers.h"
#include "app/main_window_description.h"
#include "platform/linux/http_request_curl.h"
#include "platform/linux/regex_engine_pcre2.h"
#include "tests/app/fake_services.h"
#include "text/code_page_conversion.h"
#include "text/text_commands.h"
#include "web/web_request.h"

namespace quorvel {
namespace {

using testing::Cp936;
using testing::FakeWindow;

std::string Server() {
  const char* base = std::getenv("QUORVEL_HOSTILE_SERVER");
  return base == nullptr ? std::string() : std::string(base);
}

// A file that holds the counter 进行中(0): a cycle that read it would see no alert.
std::string CounterFile() {
  const std::string path = ::testing::TempDir() + "quorvel-counter-page.html";
  std::ofstream(path) << "\xE8\xBF\x9B\xE8\xA1\x8C\xE4\xB8\xAD(0)";  // 进行中(0) in UTF-8
  return path;
}

class HostileServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Server().empty()) GTEST_SKIP() << "run through hostile_servers.py";
  }

  // One poll cycle with the given boxes, the window in the watching state.
  // Returns true when it raised the alert.
  bool Cycle(const Text& address, const Text& cookies) {
    FakeWindow window;
    window.boxes[EditBox::kAddress] = address;
    window.boxes[EditBox::kCookies] = cookies;
    window.period = kDetectPeriodMs;
    window.caption = kStopCaption;
    MonitorServices services{window, http_, regex_};
    const auto start = std::chrono::steady_clock::now();
    OnDetectTimerTick(services);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("  %-60.60s %6.2f s\n", testing::Utf8(address).c_str(), seconds);
    // Well past any time-out the rows run into: a hang, not slowness.
    EXPECT_LT(seconds, 120.0);
    const Text status = window.boxes[EditBox::kStatus];
    if (status == Text(kNothingRunningLine)) {
      EXPECT_EQ(window.period, kDetectPeriodMs);
      return false;
    }
    EXPECT_EQ(status, Text(kAlertLine));
    EXPECT_EQ(window.period, 0);
    EXPECT_EQ(window.caption, Text(kStartCaption));
    return true;
  }

  HttpRequestProviderCurl http_;
  RegexEngineProviderPcre2 regex_;
};

TEST_F(HostileServerTest, EachAnswerEndsInItsOutcome) {
  const std::string s = Server();
  const std::string file = CounterFile();
  struct {
    std::string address;
    bool alert;
  } cases[] = {
      {s + "/ok", false},
      // A body beyond 64 MiB fails the request instead of filling memory.
      {s + "/huge", true},
      {s + "/endless", true},
      {s + "/redirect-loop", true},
      // A redirect elsewhere than http(s) is the final answer: nothing is read there.
      {s + "/redirect-to?u=file://" + file, true},
      {s + "/redirect-to?u=FILE://" + file, true},
      {s + "/redirect-to?u=ftp://127.0.0.1:1/page", true},
      {s + "/redirect-to?u=" + s + "/ok", false},
      // A zero byte in the body ends the text before the counter; binary
      // garbage without one is no obstacle.
      {s + "/garbage", true},
      {s + "/garbage?zeros=no", false},
      // Invalid UTF-8 becomes replacement characters; the counter survives.
      {s + "/invalid-utf8", false},
      // libcurl refuses some 300 KiB of response headers, below the backend's
      // own bound of 1 MiB: 1 MB of them fails the request.
      {s + "/headers?kib=200", false},
      {s + "/headers?kib=1000", true},
      // Addresses of other schemes are never fetched.
      {"file://" + file, true},
      {"FILE://" + file, true},
      {"ftp://127.0.0.1:1/page", true},
      {"dict://127.0.0.1:1/x", true},
      {"gopher://127.0.0.1:1/x", true},
      {"", true},
      {"http://", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(Cycle(Text(c.address), ""), c.alert);
  }
}

TEST_F(HostileServerTest, OddAddressesEitherReachThePageOrAlert) {
  const std::string s = Server();
  struct {
    Text address;
    bool alert;
  } cases[] = {
      // Non-ASCII text in the path goes out as UTF-8 and reaches /课程.
      {ConcatText({Text(s + "/"), Cp936("课程")}), false},
      // Spaces inside an address make no valid address: the request fails.
      {Text(s + "/o k"), true},
      {Text(" " + s + "/ok"), true},
      {Cp936("http://课程.invalid/ok"), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Utf8(c.address));
    EXPECT_EQ(Cycle(c.address, ""), c.alert);
  }
}

TEST_F(HostileServerTest, CookieBoxCannotInjectHeaders) {
  const std::string s = Server();
  // CR LF inside the cookie box: the Cookie header is refused as malformed,
  // the request goes out without it and no header of the user's making.
  EXPECT_FALSE(Cycle(Text(s + "/ok"), "a=1\r\nX-Injected: yes"));
  WebRequestParams params;
  params.url = Text(s + "/seen");
  const Text seen = BytesToText(WebRequest(http_, params));
  EXPECT_EQ(seen.bytes().find("X-Injected"), std::string::npos) << seen.bytes();
  EXPECT_EQ(seen.bytes().find("a=1"), std::string::npos) << seen.bytes();

  // A cookie box of 1 MB: the server refuses a header line that long, so the
  // answer holds no counter and the cycle raises the alert.
  EXPECT_TRUE(Cycle(Text(s + "/ok"), Text("a=" + std::string(1000 * 1000, 'x'))));
}

TEST_F(HostileServerTest, SlowDripIsReadWholeOnlyWithinTheTimeOuts) {
  // The cycle's time-outs are 15 s; a request with a 1 s time-out shows the
  // same rules faster: the receive time-out bounds each wait between packets,
  // and four time-outs the whole request, however steadily the bytes drip.
  const std::string s = Server();
  struct {
    std::string path;
    bool read;
  } cases[] = {
      {"/drip?gap=0.4&n=4", true},
      {"/drip?gap=2.5&n=2", false},
      {"/drip?gap=0.5&n=16", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    WebRequestParams params;
    params.url = Text(s + c.path);
    params.timeoutSeconds = 1;
    const Text page = BytesToText(WebRequest(http_, params));
    EXPECT_EQ(page.bytes().find("\xE8\xBF\x9B\xE8\xA1\x8C\xE4\xB8\xAD(0)") != std::string::npos,
              c.read);
  }
}

}  // namespace
}  // namespace quorvel
