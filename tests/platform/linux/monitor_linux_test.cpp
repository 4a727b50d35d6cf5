// The monitor with its real Linux parts: the handlers over libcurl and PCRE2
// against a course page served on 127.0.0.1 (course_page_server.py, which
// runs this suite), the real Qt window end to end, and the program's first
// start.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "app/handlers.h"
#include "app/main_window_description.h"
#include "platform/linux/file_operations_linux.h"
#include "platform/linux/http_request_curl.h"
#include "platform/linux/main_window_qt.h"
#include "platform/linux/regex_engine_pcre2.h"
#include "resources/alert_sound.h"
#include "tests/app/fake_services.h"
#include "tests/platform/linux/qt_test_support.h"
#include "text/text_commands.h"
#include "web/web_request.h"

extern char** environ;

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using ::quorvel::testing::Cp936;
using ::quorvel::testing::CycleLog;
using ::quorvel::testing::FakeWindow;
using ::quorvel::testing::ProcessEventsUntil;
using ::quorvel::testing::TestApplication;
using ::quorvel::testing::Utf8;

constexpr int64_t kSoundSamples = 87 * 576;

std::string ServerAddress() {
  const char* address = std::getenv("QUORVEL_COURSE_PAGE");
  return address != nullptr ? address : "";
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char b : bytes) {
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  return hex;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string SoundBytes() {
  return std::string(AlertSound().data().begin(), AlertSound().data().end());
}

class MonitorLinuxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(ServerAddress().empty()) << "run through course_page_server.py";
  }

  // A GET of the page server's own endpoints.
  std::string Fetch(const std::string& path) {
    WebRequestParams params;
    params.url = Text(ServerAddress() + path);
    return BytesToText(WebRequest(http_, params)).bytes();
  }

  // The requests the server saw since the last reset, each as its request
  // line and header lines.
  std::vector<std::string> ServerLog() {
    std::vector<std::string> requests;
    const std::string log = Fetch("/log");
    size_t start = 0;
    for (size_t end; (end = log.find("\r\n\r\n", start)) != std::string::npos; start = end + 4) {
      requests.push_back(log.substr(start, end - start + 2));
    }
    return requests;
  }

  HttpRequestProviderCurl http_;
  RegexEngineProviderPcre2 regex_;
};

TEST_F(MonitorLinuxTest, CycleOverCurlAndPcre2) {
  struct {
    const char* what;
    std::string page;  // served as it is; empty for the address given below
    const char* address;
    bool nothingRunning;
  } cases[] = {
      {"counter 0", "<li>进行中(0)</li>", nullptr, true},
      {"counter 1", "<li>进行中(1)</li>", nullptr, false},
      {"counter 00", "进行中(00)", nullptr, false},
      {"space before 0", "进行中( 0)", nullptr, false},
      {"two counters, 0 first", "进行中(0)<br>进行中(2)", nullptr, true},
      {"empty brackets", "进行中()", nullptr, false},
      {"full-width brackets", "进行中（0）", nullptr, false},
      {"login page", "<form>登录</form>", nullptr, false},
      {"zero byte before the counter", std::string("<p>\0</p>进行中(0)", 8 + 12), nullptr, false},
      {"refused connection", "", "http://127.0.0.1:1/course", false},
      {"empty address", "", "", false},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeWindow window;
    window.caption = kStopCaption;
    window.period = 3000;
    window.boxes[EditBox::kAddress] =
        c.address != nullptr ? Text(c.address) : Text(ServerAddress() + "/raw/" + Hex(c.page));
    window.boxes[EditBox::kCookies] = "uid=7; token=abc";
    MonitorServices services{window, http_, regex_};

    OnDetectTimerTick(services);

    EXPECT_EQ(window.log, CycleLog(c.nothingRunning));
    EXPECT_EQ(HttpRequestProviderCurl::InitializationDepth(), 0);
  }
}

TEST_F(MonitorLinuxTest, EmptyCookieBoxStillFetchesThePage) {
  ASSERT_EQ(Fetch("/reset?zeros=5"), "ok");
  FakeWindow window;
  window.boxes[EditBox::kAddress] = Text(ServerAddress() + "/course");
  MonitorServices services{window, http_, regex_};
  OnDetectTimerTick(services);
  EXPECT_EQ(Utf8(window.boxes[EditBox::kStatus]), "签到未开始\r\n");
  EXPECT_EQ(ServerLog().size(), 1u);
}

// The window, the button, the real 3 s timer, the request over libcurl, the
// alert with its message box (dismissed here), the sound on SDL's dummy
// device and the window on top at the end.
TEST_F(MonitorLinuxTest, WindowWatchesUntilTheSignInStarts) {
  TestApplication();
  ASSERT_EQ(Fetch("/reset?zeros=2"), "ok");
  MainWindowQt window;
  MonitorServices services{window, http_, regex_};
  window.SetEventHandlers([&services] { OnDetectButtonClicked(services); },
                          [&services] { OnDetectTimerTick(services); });
  fs::remove_all(FileSystemPath(window.AlertSoundPath()));
  OnWindowCreated(services);
  EXPECT_EQ(ReadAll(FileSystemPath(window.AlertSoundPath())), SoundBytes());
  window.Show();

  const std::string page = ServerAddress() + "/course";
  window.widget()->findChild<QLineEdit*>(QString::fromUtf8("编辑框_网址"))
      ->setText(QString::fromStdString(page));
  window.widget()->findChild<QPlainTextEdit*>(QString::fromUtf8("编辑框_cookies"))
      ->setPlainText(QStringLiteral("uid=7; token=abc"));

  QString boxTitle;
  QString boxText;
  int boxButtons = 0;
  QTimer dismisser;
  QObject::connect(&dismisser, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    boxTitle = box->windowTitle();
    boxText = box->text();
    boxButtons = static_cast<int>(box->buttons().size());
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  dismisser.start(50);

  auto* button = window.widget()->findChild<QPushButton*>(QString::fromUtf8("按钮_检测"));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(button->text(), QString::fromUtf8("停止检测"));
  ASSERT_TRUE(ProcessEventsUntil([&] { return window.IsAlwaysOnTop(); }, 30000))
      << "no alert within three cycles";
  dismisser.stop();

  EXPECT_EQ(Utf8(window.ReadEditText(EditBox::kStatus)),
            "签到未开始\r\n签到未开始\r\n签到已经开始，请自行签到！！\r\n");
  EXPECT_EQ(button->text(), QString::fromUtf8("开始检测"));
  EXPECT_FALSE(window.widget()->findChild<QTimer*>(QString::fromUtf8("时钟_检测"))->isActive());
  EXPECT_TRUE(window.widget()->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(boxTitle, QString::fromUtf8("信息："));
  EXPECT_EQ(boxText, QString::fromUtf8("签到已经开始，请自行签到！！"));
  EXPECT_EQ(boxButtons, 1);
  // The cookie box keeps what was typed, whatever the server set.
  EXPECT_EQ(window.ReadEditText(EditBox::kCookies), Text("uid=7; token=abc"));

  const std::vector<std::string> requests = ServerLog();
  ASSERT_EQ(requests.size(), 3u);
  for (const std::string& request : requests) {
    SCOPED_TRACE(request);
    EXPECT_EQ(request.rfind("GET /course HTTP/1.1\r\n", 0), 0u);
    for (const std::string& line :
         {std::string("Cookie: uid=7; token=abc"), std::string("Accept: */*"),
          "Referer: " + page, std::string("Accept-Language: zh-cn"),
          std::string("User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)")}) {
      EXPECT_NE(request.find("\r\n" + line + "\r\n"), std::string::npos) << line;
    }
  }

  // The alert sound plays three times on the player's own worker.
  ASSERT_TRUE(window.player().WaitUntilFinished(std::chrono::seconds(60)));
  EXPECT_EQ(window.player().FramesPlayed(), 3 * kSoundSamples);
}

TEST_F(MonitorLinuxTest, SoundFileOfThatNameIsLeftAlone) {
  TestApplication();
  MainWindowQt window;
  MonitorServices services{window, http_, regex_};
  const fs::path sound = FileSystemPath(window.AlertSoundPath());
  struct {
    const char* what;
    bool directory;
    std::string content;
  } cases[] = {
      {"empty file", false, ""},
      {"other content", false, "not the alert"},
      {"directory", true, ""},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(sound);
    if (c.directory) {
      fs::create_directory(sound);
    } else {
      std::ofstream(sound, std::ios::binary) << c.content;
    }
    OnWindowCreated(services);
    EXPECT_EQ(fs::is_directory(sound), c.directory);
    if (!c.directory) {
      EXPECT_EQ(ReadAll(sound), c.content);
    }
  }
  fs::remove_all(sound);
}

// The program itself, copied into a fresh directory with a Chinese name:
// its first start writes the alert sound file beside it.
TEST_F(MonitorLinuxTest, FirstStartWritesTheSoundFile) {
  std::string pattern = (fs::temp_directory_path() / "quorvel-start-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const fs::path dir = fs::path(pattern) / "签到 监控";
  fs::create_directory(dir);
  const fs::path program = dir / "quorvel";
  fs::copy_file(QUORVEL_PROGRAM, program);

  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::string programPath = program.string();
  char* argv[] = {programPath.data(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(::posix_spawn(&pid, programPath.c_str(), nullptr, nullptr, argv, environ), 0);

  const fs::path sound = dir / "签到提示.mp3";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline &&
         !(fs::exists(sound) && fs::file_size(sound) == 6264u)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  // Still running: the window is up and its message loop goes on.
  int status = 0;
  EXPECT_EQ(::waitpid(pid, &status, WNOHANG), 0);
  ::kill(pid, SIGTERM);
  ::waitpid(pid, &status, 0);

  EXPECT_EQ(ReadAll(sound), SoundBytes());
  fs::remove_all(pattern);
}

// Without a window system the start-up window cannot be made: the program
// says so and ends with exit code -1, before it writes anything.
TEST_F(MonitorLinuxTest, StartWithoutAWindowSystemIsAFatalError) {
  std::string pattern = (fs::temp_directory_path() / "quorvel-nodisplay-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const fs::path dir(pattern);
  const fs::path program = dir / "quorvel";
  fs::copy_file(QUORVEL_PROGRAM, program);

  std::vector<std::string> variables = {"QT_QPA_PLATFORM=xcb", "PATH=/usr/bin:/bin"};
  if (const char* home = std::getenv("HOME")) variables.push_back(std::string("HOME=") + home);
  std::vector<char*> env;
  for (std::string& v : variables) env.push_back(v.data());
  env.push_back(nullptr);
  std::string programPath = program.string();
  char* argv[] = {programPath.data(), nullptr};
  const std::string errors = (dir / "stderr.txt").string();
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  ASSERT_EQ(::posix_spawn(&pid, programPath.c_str(), &actions, nullptr, argv, env.data()), 0);
  ::posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);

  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 255);
  EXPECT_NE(ReadAll(errors).find("fatal error: 启动窗口载入失败"), std::string::npos) << ReadAll(errors);
  EXPECT_FALSE(fs::exists(dir / "签到提示.mp3"));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace quorvel
