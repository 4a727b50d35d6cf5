// The three handlers against the fake window, web and regular-expression
// component: the watching state, the poll cycle's outcomes for every kind of
// page, and the exact order of the alert's steps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/handlers.h"
#include "app/main_window_description.h"
#include "resources/alert_sound.h"
#include "tests/app/fake_services.h"

namespace quorvel {
namespace {

using ::quorvel::testing::Cp936;
using ::quorvel::testing::CycleLog;
using ::quorvel::testing::FakeHttpProvider;
using ::quorvel::testing::FakeRegexProvider;
using ::quorvel::testing::FakeWindow;
using ::quorvel::testing::Utf8;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

class HandlersTest : public ::testing::Test {
 protected:
  Bytes Page(const std::string& utf8) { return Bytes(utf8.data(), static_cast<int32_t>(utf8.size())); }

  FakeWindow window;
  FakeHttpProvider web;
  FakeRegexProvider regex;
  MonitorServices services{window, web, regex};
};

TEST_F(HandlersTest, WindowCreatedWritesTheSoundFileWhenNothingIsThere) {
  OnWindowCreated(services);
  const std::string path = window.soundPath.bytes();
  ASSERT_EQ(window.files.count(path), 1u);
  EXPECT_EQ(window.files[path], AlertSound());
  EXPECT_EQ(window.files[path].length(), 6264);
  EXPECT_THAT(window.log, ElementsAre("AlertSoundPath", "PathFileExistsA /opt/quorvel/签到提示.mp3",
                                      "AlertSoundPath", "WriteFileBytes /opt/quorvel/签到提示.mp3"));
}

TEST_F(HandlersTest, WindowCreatedLeavesAnythingOfThatNameAlone) {
  const std::string path = window.soundPath.bytes();
  struct {
    const char* what;
    bool directory;
    Bytes content;
  } cases[] = {
      {"an empty file", false, Bytes()},
      {"a file of other content", false, Bytes{1, 2, 3}},
      {"a directory", true, Bytes()},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    window.files.clear();
    window.directories.clear();
    window.log.clear();
    if (c.directory) {
      window.directories.insert(path);
    } else {
      window.files[path] = c.content;
    }
    OnWindowCreated(services);
    EXPECT_THAT(window.log, ElementsAre("AlertSoundPath", "PathFileExistsA /opt/quorvel/签到提示.mp3"));
    if (!c.directory) {
      EXPECT_EQ(window.files[path], c.content);
    }
  }
}

TEST_F(HandlersTest, WindowCreatedGoesOnWhenTheFileCannotBeWritten) {
  window.readOnly = true;
  OnWindowCreated(services);
  EXPECT_THAT(window.files, IsEmpty());
  EXPECT_EQ(window.log.back(), "WriteFileBytes /opt/quorvel/签到提示.mp3");
}

TEST_F(HandlersTest, ButtonSwitchesBetweenStoppedAndWatching) {
  struct {
    Text captionBefore;
    std::vector<std::string> calls;
    int32_t period;
  } cases[] = {
      {kStartCaption,
       {"ReadDetectButtonCaption", "WriteDetectTimerPeriod 3000", "WriteDetectButtonCaption 停止检测"},
       3000},
      {kStopCaption,
       {"ReadDetectButtonCaption", "WriteDetectTimerPeriod 0", "WriteDetectButtonCaption 开始检测"},
       0},
      // Only "开始检测" means stopped: any other caption is taken as watching.
      {Text(""),
       {"ReadDetectButtonCaption", "WriteDetectTimerPeriod 0", "WriteDetectButtonCaption 开始检测"},
       0},
      {Cp936("开始检测 "),
       {"ReadDetectButtonCaption", "WriteDetectTimerPeriod 0", "WriteDetectButtonCaption 开始检测"},
       0},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(Utf8(c.captionBefore));
    window.log.clear();
    window.caption = c.captionBefore;
    OnDetectButtonClicked(services);
    EXPECT_EQ(window.log, c.calls);
    EXPECT_EQ(window.period, c.period);
  }
}

TEST_F(HandlersTest, TwoClicksGoToWatchingAndBack) {
  OnDetectButtonClicked(services);
  EXPECT_EQ(window.caption, Text(kStopCaption));
  EXPECT_EQ(window.period, 3000);
  OnDetectButtonClicked(services);
  EXPECT_EQ(window.caption, Text(kStartCaption));
  EXPECT_EQ(window.period, 0);
  EXPECT_TRUE(web.exchanges.empty());
}

// A literal with its zero bytes.
template <size_t N>
std::string Raw(const char (&s)[N]) {
  return std::string(s, N - 1);
}

// The page as served (UTF-8) and whether the cycle finds nothing running.
struct PageCase {
  const char* what;
  std::string page;
  bool nothingRunning;
};

TEST_F(HandlersTest, CycleComparesTheFirstCounterWithZero) {
  const PageCase cases[] = {
      {"counter 0", "<span>进行中(0)</span>", true},
      {"counter 1", "<span>进行中(1)</span>", false},
      {"counter 00", "进行中(00)", false},
      {"space before 0", "进行中( 0)", false},
      {"space after 0", "进行中(0 )", false},
      {"two counters, 0 first", "进行中(0) ... 进行中(2)", true},
      {"two counters, 2 first", "进行中(2) ... 进行中(0)", false},
      {"empty brackets", "进行中()", false},
      {"full-width brackets", "进行中（0）", false},
      {"no counter", "<html>login</html>", false},
      {"empty page", "", false},
      {"counter across a line feed", "进行中(\n0)", false},
      {"counter among other lines", "活动\r\n已结束(3)\r\n进行中(0)\r\n", true},
      {"zero byte before the counter", Raw("<p>\0</p>进行中(0)"), false},
      {"zero byte after the counter", Raw("进行中(0)\0进行中(1)"), true},
      {"page that is not UTF-8", "\xBD\xF8\xD0\xD0\xD6\xD0(0)", false},
  };
  for (const PageCase& c : cases) {
    SCOPED_TRACE(c.what);
    window = FakeWindow();
    window.caption = kStopCaption;
    window.period = 3000;
    window.boxes[EditBox::kAddress] = "http://127.0.0.1:8000/course";
    web.page = Page(c.page);

    OnDetectTimerTick(services);

    if (c.nothingRunning) {
      EXPECT_EQ(window.period, 3000);
      EXPECT_EQ(window.caption, Text(kStopCaption));
    } else {
      EXPECT_EQ(window.period, 0);
      EXPECT_EQ(window.caption, Text(kStartCaption));
      EXPECT_TRUE(window.alwaysOnTop);
    }
    EXPECT_EQ(window.log, CycleLog(c.nothingRunning));
    EXPECT_EQ(web.comDepth, 0);
    EXPECT_EQ(regex.comDepth, 0);
  }
}

TEST_F(HandlersTest, FailuresEndAsAnAlert) {
  struct {
    const char* what;
    bool reachable;
    bool regexBroken;
    const char* address;
  } cases[] = {
      {"request that gets no answer", false, false, "http://127.0.0.1:9/"},
      {"empty address box", false, false, ""},
      {"regular-expression component that cannot be made", true, true, "http://127.0.0.1:8000/"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    window = FakeWindow();
    window.caption = kStopCaption;
    window.period = 3000;
    window.boxes[EditBox::kAddress] = c.address;
    web.page = Page("进行中(0)");
    web.reachable = c.reachable;
    regex.broken = c.regexBroken;

    OnDetectTimerTick(services);

    EXPECT_EQ(window.log, CycleLog(false));
    EXPECT_EQ(web.comDepth, 0);
    EXPECT_EQ(regex.comDepth, 0);
  }
}

TEST_F(HandlersTest, CycleGetsTheAddressWithTheBoxsCookies) {
  struct {
    const char* what;
    const char* cookies;
  } cases[] = {
      {"cookie text", "uid=42; token=abc"},
      {"empty cookie box", ""},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    web.exchanges.clear();
    window.boxes[EditBox::kAddress] = "http://127.0.0.1:8000/course?id=7";
    window.boxes[EditBox::kCookies] = c.cookies;
    web.page = Page("进行中(0)");

    OnDetectTimerTick(services);

    ASSERT_EQ(web.exchanges.size(), 1u);
    EXPECT_EQ(web.exchanges[0].verb, u"GET");
    EXPECT_EQ(web.exchanges[0].url, u"http://127.0.0.1:8000/course?id=7");
    std::vector<std::u16string> cookieHeaders;
    for (const auto& [name, value] : web.exchanges[0].headers) {
      if (name == u"Cookie") cookieHeaders.push_back(value);
    }
    EXPECT_THAT(cookieHeaders, ElementsAre(ToAutomationString(c.cookies)));
    // The cookies the server set are not kept: the box holds what was typed.
    EXPECT_EQ(window.boxes[EditBox::kCookies], Text(c.cookies));
  }
}

TEST_F(HandlersTest, EachCycleReadsTheBoxesAnew) {
  web.page = Page("进行中(0)");
  window.boxes[EditBox::kAddress] = "http://127.0.0.1:8000/a";
  window.boxes[EditBox::kCookies] = "k=1";
  OnDetectTimerTick(services);
  window.boxes[EditBox::kAddress] = "http://127.0.0.1:8000/b";
  window.boxes[EditBox::kCookies] = "k=2";
  OnDetectTimerTick(services);

  ASSERT_EQ(web.exchanges.size(), 2u);
  EXPECT_EQ(web.exchanges[1].url, u"http://127.0.0.1:8000/b");
  EXPECT_THAT(web.exchanges[1].headers, Contains(Pair(u"Cookie", u"k=2")));
}

TEST_F(HandlersTest, StatusLinesFollowWhatTheUserTyped) {
  window.boxes[EditBox::kStatus] = Cp936("我的笔记");
  web.page = Page("进行中(0)");
  OnDetectTimerTick(services);
  OnDetectTimerTick(services);
  web.page = Page("进行中(1)");
  OnDetectTimerTick(services);
  EXPECT_EQ(Utf8(window.boxes[EditBox::kStatus]),
            "我的笔记签到未开始\r\n签到未开始\r\n签到已经开始，请自行签到！！\r\n");
}

TEST_F(HandlersTest, EveryAlertLeavesTheTopmostBandAndComesBack) {
  web.page = Page("进行中(1)");
  OnDetectTimerTick(services);
  window.log.clear();
  OnDetectTimerTick(services);

  EXPECT_EQ(window.log, CycleLog(false));
  EXPECT_TRUE(window.alwaysOnTop);
}

}  // namespace
}  // namespace quorvel
