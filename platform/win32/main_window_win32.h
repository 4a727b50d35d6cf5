// MainWindow as a Win32 window: the window class and fixed frame, the
// controls of the window description, the detect timer, and the window and
// system operations the handlers run against.
//
// Every text crosses the wide API converted from code page 936 explicitly, so
// the window shows the same characters whatever the system's ANSI code page is.
//
// Keys: Esc closes the window from any control; Tab and Shift+Tab move the
// focus through the address box, the cookie box, the button and the status
// box; Enter never presses the button (it inserts a line break in a multi-line
// box and does nothing elsewhere); F1 does nothing. There is no dialog
// manager, so no control is ever a default button.
#ifndef QUORVEL_PLATFORM_WIN32_MAIN_WINDOW_WIN32_H_
#define QUORVEL_PLATFORM_WIN32_MAIN_WINDOW_WIN32_H_

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "app/main_window_description.h"
#include "app/window_operations.h"
#include "platform/win32/sound_player_mci.h"

namespace quorvel {

class MainWindowWin32 final : public WindowOperations {
 public:
  // `executablePath` names the program file the alert sound lies beside;
  // empty means this process's own.
  explicit MainWindowWin32(std::wstring executablePath = std::wstring());
  ~MainWindowWin32() override;
  MainWindowWin32(const MainWindowWin32&) = delete;
  MainWindowWin32& operator=(const MainWindowWin32&) = delete;

  // Creates the window and its controls, not yet shown, centred on the
  // primary display at exactly its outer size. False when the window or one
  // of its controls cannot be made.
  bool Create(HINSTANCE instance);
  // The clicked event of 按钮_检测 and the periodic event of 时钟_检测.
  void SetEventHandlers(std::function<void()> detectClicked, std::function<void()> detectTimer);
  void Show(int showCommand);

  HWND window() const { return window_; }
  // The control at `index` of kMainWindow.controls; null for the timer.
  HWND control(int index) const { return controls_[static_cast<size_t>(index)]; }
  HWND editBox(EditBox box) const;
  HWND detectButton() const;

  Text ReadEditText(EditBox box) override;
  Text ReadDetectButtonCaption() override;
  void WriteDetectButtonCaption(const Text& caption) override;
  void WriteDetectTimerPeriod(int32_t milliseconds) override;
  void AppendEditText(EditBox box, const Text& text) override;
  void SetAlwaysOnTop(int32_t flag) override;
  void ShowMessageBox(const Text& text) override;
  void PlayMp3(int32_t playCount, const Text& path) override;
  bool WriteFileBytes(const Text& path, const Bytes& bytes) override;
  int32_t PathFileExistsA(const Text& path) override;
  Text AlertSoundPath() override;

  int32_t detectTimerPeriod() const { return timerPeriod_; }
  bool alwaysOnTop() const { return alwaysOnTop_; }
  const SoundPlayerMci& soundPlayer() const { return player_; }

 private:
  static constexpr int kControlCount = sizeof(kMainWindowControls) / sizeof(kMainWindowControls[0]);

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateControls(HINSTANCE instance);
  void PaintLabels(HDC dc);
  void MoveFocus(HWND from, bool backwards);
  int IndexOf(const char* name) const;
  // The wide path a Text names. The alert sound path maps back to the exact
  // path even where the directory holds characters outside code page 936.
  std::wstring WidePath(const Text& path) const;

  std::wstring executablePath_;
  HWND window_ = nullptr;
  std::array<HWND, kControlCount> controls_ = {};
  std::array<HWND, 4> tabOrder_ = {};
  HWND lastFocus_ = nullptr;
  HFONT font_ = nullptr;
  Text buttonCaption_;
  int32_t timerPeriod_ = 0;
  bool alwaysOnTop_ = false;
  std::function<void()> detectClicked_;
  std::function<void()> detectTimer_;
  SoundPlayerMci player_;
  Text alertSoundPathText_;
  std::wstring alertSoundPathWide_;
};

// Runs the thread's message loop until the window is gone (WM_QUIT); returns
// the quit code.
int RunMessageLoop();

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_WIN32_MAIN_WINDOW_WIN32_H_
