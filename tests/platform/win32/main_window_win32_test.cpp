// MainWindowWin32 with the real Win32 controls: the frame, the controls read
// back against the window description, the keys, the timer, the button
// through the real handler, the message box and the file operations.
#include "platform/win32/main_window_win32.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "app/handlers.h"
#include "app/main_window_description.h"
#include "gtest/gtest.h"
#include "platform/win32/wide_text.h"
#include "resources/alert_sound.h"

namespace quorvel {
namespace {

// Runs this thread's messages until `done` holds or `limitMs` has passed.
// Returns whether `done` held. A WM_QUIT is noted in `sawQuit`.
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 10000,
               bool* sawQuit = nullptr) {
  const ULONGLONG start = ::GetTickCount64();
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        if (sawQuit != nullptr) *sawQuit = true;
        continue;
      }
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (done()) return true;
    if (::GetTickCount64() - start > limitMs) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

std::wstring WindowText(HWND window) {
  wchar_t buffer[512] = {};
  ::GetWindowTextW(window, buffer, 512);
  return buffer;
}

RECT ClientPlace(HWND control) {
  RECT place;
  ::GetWindowRect(control, &place);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

const ControlDescription& Described(const char* name) {
  for (const ControlDescription& c : kMainWindowControls) {
    if (std::string(c.name) == name) return c;
  }
  ADD_FAILURE() << "no control " << name;
  return kMainWindowControls[0];
}

int IndexOf(const char* name) { return static_cast<int>(&Described(name) - kMainWindowControls); }

// Automation providers that make nothing: the button handler never asks.
class NoHttp final : public HttpRequestProvider {
 public:
  void CoInitialize() override {}
  void CoUninitialize() override {}
  std::shared_ptr<HttpRequest> CreateObject(const Text&) override { return nullptr; }
};

class NoRegex final : public RegexEngineProvider {
 public:
  void CoInitialize() override {}
  void CoUninitialize() override {}
  std::shared_ptr<RegexEngine> CreateObject(const Text&) override { return nullptr; }
};

// A temporary directory, removed with what is in it.
class TempDirectory {
 public:
  TempDirectory() {
    wchar_t base[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, base);
    path_ = std::wstring(base) + L"quorvel_test_" + std::to_wstring(::GetCurrentProcessId()) +
            L"_" + std::to_wstring(counter_++);
    ::CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempDirectory() { Remove(path_); }
  const std::wstring& path() const { return path_; }

 private:
  static void Remove(const std::wstring& directory) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((directory + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring full = directory + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          Remove(full);
        } else {
          ::DeleteFileW(full.c_str());
        }
      } while (::FindNextFileW(search, &found));
      ::FindClose(search);
    }
    ::RemoveDirectoryW(directory.c_str());
  }
  static inline int counter_ = 0;
  std::wstring path_;
};

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  ::CloseHandle(file);
  return bytes;
}

void WriteRawFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

class MainWindowWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    // A WM_QUIT left by an earlier window would end the next modal loop at once.
    PumpFor(0);
    ASSERT_TRUE(window_.Create(::GetModuleHandleW(nullptr)));
    window_.SetEventHandlers([this] { OnDetectButtonClicked(services_); }, [this] { ++ticks_; });
    window_.Show(SW_SHOWNORMAL);
    PumpFor(50);
  }

  HWND Control(const char* name) { return window_.control(IndexOf(name)); }

  MainWindowWin32 window_;
  NoHttp http_;
  NoRegex regex_;
  MonitorServices services_{window_, http_, regex_};
  int ticks_ = 0;
};

TEST_F(MainWindowWin32Test, FrameIsFixedCentredAndExactlyItsOuterSize) {
  HWND w = window_.window();
  RECT outer;
  ASSERT_TRUE(::GetWindowRect(w, &outer));
  EXPECT_EQ(outer.right - outer.left, 703);
  EXPECT_EQ(outer.bottom - outer.top, 338);
  EXPECT_EQ(outer.left, (::GetSystemMetrics(SM_CXSCREEN) - 703) / 2);
  EXPECT_EQ(outer.top, (::GetSystemMetrics(SM_CYSCREEN) - 338) / 2);

  const DWORD style = static_cast<DWORD>(::GetWindowLongW(w, GWL_STYLE));
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP | WS_VSCROLL | WS_HSCROLL),
            0u);
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(w, GWL_EXSTYLE));
  EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), 0u);
  EXPECT_EQ(::GetWindow(w, GW_OWNER), nullptr);
  EXPECT_EQ(::GetMenu(w), nullptr);
  EXPECT_EQ(WindowText(w), L"Quorvel");
  EXPECT_EQ(::GetClassLongPtrW(w, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(::SendMessageW(w, WM_GETFONT, 0, 0)),
            ::GetStockObject(DEFAULT_GUI_FONT));

  // The icon DEFAULT_ICON of the program's resources, large and small.
  struct {
    WPARAM which;
    int metric;
  } icons[] = {{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}};
  for (const auto& icon : icons) {
    SCOPED_TRACE(icon.which);
    HICON shown = reinterpret_cast<HICON>(::SendMessageW(w, WM_GETICON, icon.which, 0));
    ASSERT_NE(shown, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(shown, &info));
    BITMAP mask = {};
    ::GetObjectW(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, ::GetSystemMetrics(icon.metric));
    if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
  }

  HMENU systemMenu = ::GetSystemMenu(w, FALSE);
  ASSERT_NE(systemMenu, nullptr);
  const UINT move = ::GetMenuState(systemMenu, SC_MOVE, MF_BYCOMMAND);
  ASSERT_NE(move, static_cast<UINT>(-1));
  EXPECT_EQ(move & (MF_GRAYED | MF_DISABLED), 0u);
  // The frame offers no edge to size the window by.
  POINT corner = {outer.right - 1, outer.bottom - 1};
  const LRESULT cornerHit = ::SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y));
  EXPECT_NE(cornerHit, HTBOTTOMRIGHT);
  EXPECT_NE(cornerHit, HTBOTTOM);
  EXPECT_NE(cornerHit, HTRIGHT);

  // Dragging the client area does not move the window.
  RECT client;
  ::GetClientRect(w, &client);
  POINT middle = {client.right / 2, client.bottom - 4};
  ::ClientToScreen(w, &middle);
  EXPECT_EQ(::SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(middle.x, middle.y)), HTCLIENT);
}

TEST_F(MainWindowWin32Test, ControlsHaveTheirPlaceTextFontAndStyle) {
  constexpr DWORD kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT;
  struct {
    const char* name;
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
  } cases[] = {
      {"透明标签3", L"QuorvelTransparentLabel", WS_CHILD | WS_VISIBLE, WS_EX_TRANSPARENT},
      {"透明标签2", L"QuorvelTransparentLabel", WS_CHILD | WS_VISIBLE, WS_EX_TRANSPARENT},
      {"透明标签1", L"QuorvelTransparentLabel", WS_CHILD | WS_VISIBLE, WS_EX_TRANSPARENT},
      {"编辑框_提示", L"Edit", kEdit | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
       WS_EX_CLIENTEDGE},
      {"按钮_检测", L"Button",
       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0},
      {"编辑框_cookies", L"Edit", kEdit | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
       WS_EX_CLIENTEDGE},
      {"编辑框_网址", L"Edit", kEdit | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ControlDescription& d = Described(c.name);
    HWND control = Control(c.name);
    ASSERT_NE(control, nullptr);
    const RECT place = ClientPlace(control);
    EXPECT_EQ(place.left, d.left);
    EXPECT_EQ(place.top, d.top);
    EXPECT_EQ(place.right - place.left, d.width);
    EXPECT_EQ(place.bottom - place.top, d.height);
    EXPECT_EQ(TextFromWide(WindowText(control)), Text(d.initialText));
    wchar_t className[64] = {};
    ::GetClassNameW(control, className, 64);
    EXPECT_EQ(::lstrcmpiW(className, c.className), 0) << TextFromWide(className).c_str();
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE));
    EXPECT_EQ(style & ~static_cast<DWORD>(WS_CLIPSIBLINGS), c.style) << std::hex << style;
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(control, GWL_EXSTYLE)), c.exStyle);
    EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL), 0u);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)),
              ::GetStockObject(DEFAULT_GUI_FONT));
    if (d.kind == ControlKind::kEditBox) {
      // EM_LIMITTEXT with 0: the largest limit the control allows.
      EXPECT_GE(static_cast<unsigned long>(::SendMessageW(control, EM_GETLIMITTEXT, 0, 0)),
                0x7FFFFFFEul);
      EXPECT_EQ(style & (ES_NOHIDESEL | ES_READONLY | ES_PASSWORD), 0u);
    }
    if (d.kind == ControlKind::kTransparentLabel) {
      EXPECT_EQ(::SendMessageW(control, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    }
  }
  EXPECT_EQ(window_.control(IndexOf("时钟_检测")), nullptr);
}

TEST_F(MainWindowWin32Test, LabelsDrawOnlyTheirTextInBlackOverTheBackground) {
  HWND w = window_.window();
  ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpFor(100);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  HDC dc = ::GetDC(w);
  for (const char* name : {"透明标签1", "透明标签2", "透明标签3"}) {
    SCOPED_TRACE(name);
    const ControlDescription& d = Described(name);
    int black = 0;
    int background = 0;
    int other = 0;
    for (int y = d.top; y < d.top + d.height; ++y) {
      for (int x = d.left; x < d.left + d.width; ++x) {
        const COLORREF pixel = ::GetPixel(dc, x, y);
        if (pixel == RGB(0, 0, 0)) {
          ++black;
        } else if (pixel == face) {
          ++background;
        } else {
          ++other;  // the smoothed edges of the letters
        }
      }
    }
    EXPECT_GT(black, 0);
    // No background of their own: the window's shows around the letters.
    EXPECT_GT(background, d.width * d.height / 2);
    EXPECT_LT(other, black + background);
  }
  ::ReleaseDC(w, dc);
}

TEST_F(MainWindowWin32Test, TextsCrossTheWideApiFromCodePage936) {
  // 开始检测 and 监控网址： whatever the system's ANSI code page is.
  EXPECT_EQ(WindowText(Control("按钮_检测")), L"\u5F00\u59CB\u68C0\u6D4B");
  EXPECT_EQ(WindowText(Control("透明标签1")), L"\u76D1\u63A7\u7F51\u5740\uFF1A");
  ::SetWindowTextW(Control("编辑框_网址"), L"http://127.0.0.1/\u8FDB\u884C");  // 进行
  EXPECT_EQ(window_.ReadEditText(EditBox::kAddress), Text("http://127.0.0.1/\xBD\xF8\xD0\xD0"));
  window_.WriteDetectButtonCaption("\xCD\xA3\xD6\xB9\xBC\xEC\xB2\xE2");  // 停止检测
  EXPECT_EQ(WindowText(Control("按钮_检测")), L"\u505C\u6B62\u68C0\u6D4B");
  EXPECT_EQ(window_.ReadDetectButtonCaption(), Text("\xCD\xA3\xD6\xB9\xBC\xEC\xB2\xE2"));
}

TEST_F(MainWindowWin32Test, ControlsStackInTheDescribedOrder) {
  std::vector<HWND> stacked;
  for (HWND child = ::GetWindow(window_.window(), GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    stacked.push_back(child);
  }
  std::vector<HWND> described;
  for (int i = 0; i < static_cast<int>(std::size(kMainWindowControls)); ++i) {
    if (window_.control(i) != nullptr) described.push_back(window_.control(i));
  }
  EXPECT_EQ(stacked, described);
}

TEST_F(MainWindowWin32Test, ButtonTogglesCaptionAndTimerThroughTheHandler) {
  HWND button = Control("按钮_检测");
  ::SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(WindowText(button), L"\u505C\u6B62\u68C0\u6D4B");  // 停止检测
  EXPECT_EQ(window_.detectTimerPeriod(), 3000);
  PumpFor(500);
  ::SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(WindowText(button), L"\u5F00\u59CB\u68C0\u6D4B");  // 开始检测
  EXPECT_EQ(window_.ReadDetectButtonCaption(), Text(kStartCaption));
  EXPECT_EQ(window_.detectTimerPeriod(), 0);
  // The second click came within the period: no cycle runs, also later.
  PumpFor(3500);
  EXPECT_EQ(ticks_, 0);
}

TEST_F(MainWindowWin32Test, FirstTickComesOnePeriodAfterTheClick) {
  ::SendMessageW(Control("按钮_检测"), BM_CLICK, 0, 0);
  PumpFor(1500);
  EXPECT_EQ(ticks_, 0);
  EXPECT_TRUE(PumpUntil([this] { return ticks_ >= 1; }, 10000));
}

TEST_F(MainWindowWin32Test, TimerTicksThroughTheMessageLoopUntilStopped) {
  window_.WriteDetectTimerPeriod(100);
  ASSERT_TRUE(PumpUntil([this] { return ticks_ >= 3; }));
  window_.WriteDetectTimerPeriod(0);
  const int stoppedAt = ticks_;
  PumpFor(500);
  EXPECT_EQ(ticks_, stoppedAt);
  window_.WriteDetectTimerPeriod(-5);
  PumpFor(300);
  EXPECT_EQ(ticks_, stoppedAt);
}

TEST_F(MainWindowWin32Test, WritingTheSamePeriodDoesNotRestartTheCount) {
  // Rewritten far more often than it elapses: a timer restarted by each write
  // would never tick.
  window_.WriteDetectTimerPeriod(400);
  const ULONGLONG start = ::GetTickCount64();
  while (::GetTickCount64() - start < 2500 && ticks_ == 0) {
    PumpFor(40);
    window_.WriteDetectTimerPeriod(400);
  }
  EXPECT_GE(ticks_, 1);
}

TEST_F(MainWindowWin32Test, AppendGoesAfterTypedTextWithCaretAtTheEndAndNoUndo) {
  struct {
    EditBox box;
    const char* name;
  } cases[] = {{EditBox::kStatus, "编辑框_提示"}, {EditBox::kCookies, "编辑框_cookies"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND edit = Control(c.name);
    ::SetFocus(edit);
    for (wchar_t typed : std::wstring(L"ab\rc")) ::SendMessageW(edit, WM_CHAR, typed, 1);
    ::SendMessageW(edit, EM_SETSEL, 0, 0);
    ASSERT_EQ(window_.ReadEditText(c.box), Text("ab\r\nc"));
    // 签到未开始\r\n
    window_.AppendEditText(c.box, "\xC7\xA9\xB5\xBD\xCE\xB4\xBF\xAA\xCA\xBC\r\n");
    window_.AppendEditText(c.box, "x");
    EXPECT_EQ(window_.ReadEditText(c.box),
              Text("ab\r\nc\xC7\xA9\xB5\xBD\xCE\xB4\xBF\xAA\xCA\xBC\r\nx"));
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const DWORD length = static_cast<DWORD>(::GetWindowTextLengthW(edit));
    EXPECT_EQ(start, length);
    EXPECT_EQ(end, length);
    EXPECT_EQ(::SendMessageW(edit, EM_CANUNDO, 0, 0), 0);
  }
}

TEST(MainWindowWin32KeysTest, EscClosesTheWindowFromEveryControl) {
  struct {
    const char* name;
    bool watching;
  } cases[] = {{"编辑框_网址", false}, {"编辑框_cookies", false}, {"编辑框_提示", false},
               {"编辑框_提示", true},  {"按钮_检测", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.watching ? " watching" : ""));
    PumpFor(0);
    MainWindowWin32 window;
    ASSERT_TRUE(window.Create(::GetModuleHandleW(nullptr)));
    window.Show(SW_SHOWNORMAL);
    if (c.watching) window.WriteDetectTimerPeriod(3000);
    HWND control = window.control(IndexOf(c.name));
    ::SetFocus(control);
    ::PostMessageW(control, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessageW(control, WM_CHAR, VK_ESCAPE, 0x00010001);
    bool quit = false;
    EXPECT_TRUE(PumpUntil([&] { return window.window() == nullptr; }, 5000, &quit));
    PumpFor(20);
    // With its only window gone the program's message loop ends.
    EXPECT_TRUE(quit);
  }
}

TEST_F(MainWindowWin32Test, EnterNeverPressesTheButton) {
  int clicks = 0;
  window_.SetEventHandlers([&clicks] { ++clicks; }, [] {});
  for (const char* name : {"按钮_检测", "编辑框_网址"}) {
    SCOPED_TRACE(name);
    HWND control = Control(name);
    ::SetFocus(control);
    ::PostMessageW(control, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ::PostMessageW(control, WM_CHAR, VK_RETURN, 0x001C0001);
    ::PostMessageW(control, WM_KEYUP, VK_RETURN, 0xC01C0001);
    ::PostMessageW(control, WM_KEYDOWN, VK_F1, 0x003B0001);
    ::PostMessageW(control, WM_KEYUP, VK_F1, 0xC03B0001);
    PumpFor(200);
  }
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(window_.ReadEditText(EditBox::kAddress), Text(""));
  EXPECT_NE(window_.window(), nullptr);
  EXPECT_EQ(window_.ReadDetectButtonCaption(), Text(kStartCaption));
}

TEST_F(MainWindowWin32Test, TabMovesTheFocusRoundTheInputs) {
  const char* order[] = {"编辑框_网址", "编辑框_cookies", "按钮_检测", "编辑框_提示", "编辑框_网址"};
  ::SetFocus(Control(order[0]));
  ASSERT_EQ(::GetFocus(), Control(order[0]));
  for (int i = 1; i < 5; ++i) {
    SCOPED_TRACE(order[i]);
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
    ::PostMessageW(::GetFocus(), WM_CHAR, VK_TAB, 0x000F0001);
    PumpFor(50);
    EXPECT_EQ(::GetFocus(), Control(order[i]));
  }
  EXPECT_EQ(window_.ReadEditText(EditBox::kCookies), Text(""));
  EXPECT_EQ(window_.ReadEditText(EditBox::kStatus), Text(""));
}

TEST_F(MainWindowWin32Test, AlwaysOnTopEntersAndLeavesTheTopmostBandWithoutMoving) {
  HWND w = window_.window();
  RECT before;
  ::GetWindowRect(w, &before);
  struct {
    int32_t flag;
    bool topmost;
  } cases[] = {{1, true}, {0, false}, {1, true}, {2, false}, {-1, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flag);
    window_.SetAlwaysOnTop(c.flag);
    EXPECT_EQ((::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, c.topmost);
    EXPECT_EQ(window_.alwaysOnTop(), c.topmost);
    RECT after;
    ::GetWindowRect(w, &after);
    EXPECT_TRUE(::EqualRect(&before, &after));
  }
}

TEST_F(MainWindowWin32Test, MessageBoxHasCaptionTextOneOkButtonAndBlocksTheWindow) {
  struct Seen {
    std::atomic<bool> found{false};
    std::wstring text;
    bool mainEnabled = true;
    bool hasOwner = true;
    bool hasOk = false;
    bool hasCancel = true;
  } seen;
  HWND mainWindow = window_.window();
  std::thread presser([&seen, mainWindow] {
    const ULONGLONG start = ::GetTickCount64();
    HWND box = nullptr;
    while (box == nullptr && ::GetTickCount64() - start < 10000) {
      box = ::FindWindowW(L"#32770", L"\u4FE1\u606F\uFF1A");  // 信息：
      if (box == nullptr) ::Sleep(20);
    }
    if (box == nullptr) return;
    ::Sleep(100);
    wchar_t text[256] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 256);
    seen.text = text;
    seen.mainEnabled = ::IsWindowEnabled(mainWindow) != FALSE;
    seen.hasOwner = ::GetWindow(box, GW_OWNER) != nullptr;
    seen.hasOk = ::GetDlgItem(box, IDOK) != nullptr;
    seen.hasCancel = ::GetDlgItem(box, IDCANCEL) != nullptr;
    seen.found = true;
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  // 签到已经开始，请自行签到！！
  window_.ShowMessageBox(kAlertMessage);
  presser.join();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text, L"\u7B7E\u5230\u5DF2\u7ECF\u5F00\u59CB\uFF0C\u8BF7\u81EA\u884C\u7B7E\u5230"
                       L"\uFF01\uFF01");
  EXPECT_FALSE(seen.mainEnabled);
  EXPECT_FALSE(seen.hasOwner);
  EXPECT_TRUE(seen.hasOk);
  EXPECT_FALSE(seen.hasCancel);
  EXPECT_TRUE(::IsWindowEnabled(window_.window()));
}

TEST(MainWindowWin32FilesTest, WriteFileBytesCreatesOrEmptiesAndReportsFailure) {
  TempDirectory dir;
  const std::wstring existing = dir.path() + L"\\existing.mp3";
  WriteRawFile(existing, std::string(10000, 'z'));
  const std::wstring subdirectory = dir.path() + L"\\sub";
  ::CreateDirectoryW(subdirectory.c_str(), nullptr);
  MainWindowWin32 window;
  const Bytes bytes{0x49, 0x00, 0xFF, 0x33};
  struct {
    const char* what;
    std::wstring path;
    Bytes bytes;
    bool want;
    std::string content;
  } cases[] = {
      {"new file", dir.path() + L"\\new.mp3", bytes, true, std::string("I\0\xFF" "3", 4)},
      {"existing file is emptied first", existing, bytes, true, std::string("I\0\xFF" "3", 4)},
      {"no bytes", dir.path() + L"\\empty.mp3", Bytes(), true, ""},
      {"missing directory", dir.path() + L"\\missing\\x.mp3", bytes, false, "<missing>"},
      {"a directory", subdirectory, bytes, false, "<missing>"},
      {"empty path", L"", bytes, false, "<missing>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(window.WriteFileBytes(TextFromWide(c.path), c.bytes), c.want);
    if (!c.path.empty()) {
      EXPECT_EQ(ReadFileBytes(c.path), c.content);
    }
  }

  // A file another program holds open without sharing cannot be written.
  HANDLE held = ::CreateFileW(existing.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(window.WriteFileBytes(TextFromWide(existing), Bytes{1, 2, 3}));
  ::CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(existing), std::string("I\0\xFF" "3", 4));
}

TEST(MainWindowWin32FilesTest, PathFileExistsSeesFilesAndDirectories) {
  TempDirectory dir;
  WriteRawFile(dir.path() + L"\\f.mp3", "");
  MainWindowWin32 window;
  struct {
    std::wstring path;
    int32_t want;
  } cases[] = {{dir.path() + L"\\f.mp3", 1}, {dir.path(), 1}, {dir.path() + L"\\none.mp3", 0},
               {L"", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(TextFromWide(c.path).c_str());
    EXPECT_EQ(window.PathFileExistsA(TextFromWide(c.path)), c.want);
  }
}

TEST(MainWindowWin32FilesTest, AlertSoundPathIsBesideTheExecutable) {
  wchar_t exe[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring directory(exe);
  directory.resize(directory.rfind(L'\\'));
  MainWindowWin32 window;
  // 签到提示.mp3
  EXPECT_EQ(window.AlertSoundPath(),
            TextFromWide(directory + L"\\\u7B7E\u5230\u63D0\u793A.mp3"));
}

TEST(MainWindowWin32FilesTest, AlertSoundPathWorksInADirectoryOutsideCodePage936) {
  TempDirectory dir;
  // A Thai letter has no code page 936 form.
  const std::wstring directory = dir.path() + L"\\\u0E01";
  ASSERT_TRUE(::CreateDirectoryW(directory.c_str(), nullptr));
  MainWindowWin32 window(directory + L"\\Quorvel.exe");
  const Text path = window.AlertSoundPath();
  EXPECT_NE(path.bytes().find('?'), std::string::npos);
  EXPECT_EQ(window.PathFileExistsA(window.AlertSoundPath()), 0);
  EXPECT_TRUE(window.WriteFileBytes(window.AlertSoundPath(), AlertSound()));
  EXPECT_EQ(window.PathFileExistsA(window.AlertSoundPath()), 1);
  const std::string written = ReadFileBytes(directory + L"\\\u7B7E\u5230\u63D0\u793A.mp3");
  EXPECT_EQ(written.size(), 6264u);
}

TEST(MainWindowWin32SoundTest, AFileThatCannotBeOpenedPlaysNothing) {
  TempDirectory dir;
  WriteRawFile(dir.path() + L"\\not-a-sound.mp3", "");
  MainWindowWin32 window;
  const std::wstring paths[] = {dir.path() + L"\\missing.mp3", dir.path(), L""};
  for (const auto& path : paths) {
    SCOPED_TRACE(TextFromWide(path).c_str());
    window.PlayMp3(3, TextFromWide(path));
    EXPECT_FALSE(window.soundPlayer().IsOpen());
    EXPECT_EQ(window.soundPlayer().PlaysStarted(), 0);
  }
}

TEST(MainWindowWin32SoundTest, TheAlertSoundPlaysItsCountThenStopsAndANewPlayRestarts) {
  TempDirectory dir;
  const std::wstring path = dir.path() + L"\\alert.mp3";
  const Bytes& sound = AlertSound();
  WriteRawFile(path, std::string(sound.data().begin(), sound.data().end()));
  SoundPlayerMci player;
  player.Play(3, path);
  if (!player.IsOpen()) {
    GTEST_SKIP() << "this system's media control interface cannot open MP3 files "
                    "(no sound device)";
  }
  EXPECT_EQ(player.PlaysStarted(), 1);
  // Each finished play starts the next, three in all, then the device closes.
  EXPECT_TRUE(PumpUntil([&] { return !player.IsOpen(); }, 60000));
  EXPECT_EQ(player.PlaysStarted(), 3);

  // A new sound stops the one still playing and starts from the beginning.
  player.Play(2, path);
  ASSERT_TRUE(player.IsOpen());
  PumpFor(200);
  player.Play(1, path);
  EXPECT_TRUE(player.IsOpen());
  EXPECT_EQ(player.PlaysStarted(), 5);
  EXPECT_TRUE(PumpUntil([&] { return !player.IsOpen(); }, 30000));
  EXPECT_EQ(player.PlaysStarted(), 5);

  player.Play(0, path);
  EXPECT_FALSE(player.IsOpen());
  EXPECT_EQ(player.PlaysStarted(), 5);
}

}  // namespace
}  // namespace quorvel
