#include "platform/win32/main_window_win32.h"

#include <commctrl.h>

#include <cstring>

#include "platform/win32/file_operations_win32.h"
#include "platform/win32/wide_text.h"

namespace quorvel {
namespace {

constexpr wchar_t kWindowClass[] = L"QuorvelMainWindow";
constexpr wchar_t kLabelClass[] = L"QuorvelTransparentLabel";
constexpr UINT_PTR kDetectTimerId = 1;
constexpr UINT_PTR kControlSubclassId = 1;
constexpr int kFirstControlId = 1000;

constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kEditCommonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT;
constexpr DWORD kSingleLineEditStyle = kEditCommonStyle | ES_AUTOHSCROLL;
constexpr DWORD kMultiLineEditStyle =
    kEditCommonStyle | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
constexpr DWORD kButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER;
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE;

const char* NameOf(EditBox box) {
  switch (box) {
    case EditBox::kAddress:
      return "编辑框_网址";
    case EditBox::kCookies:
      return "编辑框_cookies";
    case EditBox::kStatus:
      return "编辑框_提示";
  }
  return "";
}

std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

// The labels are windows of their own for their place and text, but the main
// window draws their texts onto its own background: a child window could not
// draw beyond its rectangle, and the labels are not clipped.
LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_SETFONT:
      ::SetWindowLongPtrW(label, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
      return 0;
    case WM_GETFONT:
      return ::GetWindowLongPtrW(label, GWLP_USERDATA);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      ::BeginPaint(label, &paint);
      ::EndPaint(label, &paint);
      return 0;
    }
    default:
      return ::DefWindowProcW(label, message, wParam, lParam);
  }
}

bool RegisterWindowClass(const WNDCLASSEXW& windowClass) {
  return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

MainWindowWin32::MainWindowWin32(std::wstring executablePath)
    : executablePath_(std::move(executablePath)), buttonCaption_(kStartCaption) {}

MainWindowWin32::~MainWindowWin32() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

bool MainWindowWin32::Create(HINSTANCE instance) {
  font_ = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  HICON largeIcon = static_cast<HICON>(
      ::LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                   ::GetSystemMetrics(SM_CYICON), LR_SHARED));
  HICON smallIcon = static_cast<HICON>(
      ::LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                   ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));

  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &MainWindowWin32::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = largeIcon;
  windowClass.hIconSm = smallIcon;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = kWindowClass;
  WNDCLASSEXW labelClass = {};
  labelClass.cbSize = sizeof(labelClass);
  labelClass.lpfnWndProc = &LabelProc;
  labelClass.hInstance = instance;
  labelClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  labelClass.lpszClassName = kLabelClass;
  if (!RegisterWindowClass(windowClass) || !RegisterWindowClass(labelClass)) return false;

  const int width = kMainWindow.outerWidth;
  const int height = kMainWindow.outerHeight;
  const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  // WM_NCCREATE stores the window handle in window_.
  ::CreateWindowExW(0, kWindowClass, WideFromText(kMainWindow.caption).c_str(), kFrameStyle, left,
                    top, width, height, nullptr, nullptr, instance, this);
  if (window_ == nullptr) return false;
  if (largeIcon != nullptr) ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon));
  if (smallIcon != nullptr) ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  if (!CreateControls(instance)) {
    ::DestroyWindow(window_);
    return false;
  }
  RECT outer;
  ::GetWindowRect(window_, &outer);
  if (outer.left != left || outer.top != top || outer.right - outer.left != width ||
      outer.bottom - outer.top != height) {
    ::SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return true;
}

bool MainWindowWin32::CreateControls(HINSTANCE instance) {
  for (int i = 0; i < kControlCount; ++i) {
    const ControlDescription& c = kMainWindow.controls[i];
    const std::wstring text = WideFromText(c.initialText);
    HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i));
    HWND control = nullptr;
    switch (c.kind) {
      case ControlKind::kTransparentLabel:
        control = ::CreateWindowExW(WS_EX_TRANSPARENT, kLabelClass, text.c_str(), kLabelStyle,
                                    c.left, c.top, c.width, c.height, window_, id, instance, nullptr);
        break;
      case ControlKind::kEditBox:
        control = ::CreateWindowExW(
            WS_EX_CLIENTEDGE, L"EDIT", text.c_str(),
            c.layout == TextLayout::kMultiLineEdit ? kMultiLineEditStyle : kSingleLineEditStyle,
            c.left, c.top, c.width, c.height, window_, id, instance, nullptr);
        if (control != nullptr) ::SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
        break;
      case ControlKind::kPushButton:
        control = ::CreateWindowExW(0, L"BUTTON", text.c_str(), kButtonStyle, c.left, c.top,
                                    c.width, c.height, window_, id, instance, nullptr);
        break;
      case ControlKind::kTimer:
        // The timer is the window's own SetTimer timer, with no window of its own.
        continue;
    }
    if (control == nullptr) return false;
    controls_[static_cast<size_t>(i)] = control;
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    // Each control goes below the ones before it: the description lists them top first.
    ::SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (c.kind != ControlKind::kTransparentLabel &&
        !::SetWindowSubclass(control, &MainWindowWin32::ControlProc, kControlSubclassId,
                             reinterpret_cast<DWORD_PTR>(this))) {
      return false;
    }
  }
  tabOrder_ = {editBox(EditBox::kAddress), editBox(EditBox::kCookies), detectButton(),
               editBox(EditBox::kStatus)};
  return true;
}

void MainWindowWin32::SetEventHandlers(std::function<void()> detectClicked,
                                       std::function<void()> detectTimer) {
  detectClicked_ = std::move(detectClicked);
  detectTimer_ = std::move(detectTimer);
}

void MainWindowWin32::Show(int showCommand) {
  ::ShowWindow(window_, showCommand);
  ::UpdateWindow(window_);
}

int MainWindowWin32::IndexOf(const char* name) const {
  for (int i = 0; i < kControlCount; ++i) {
    if (std::strcmp(kMainWindow.controls[i].name, name) == 0) return i;
  }
  return -1;
}

HWND MainWindowWin32::editBox(EditBox box) const { return control(IndexOf(NameOf(box))); }

HWND MainWindowWin32::detectButton() const { return control(IndexOf("按钮_检测")); }

Text MainWindowWin32::ReadEditText(EditBox box) { return TextFromWide(WindowText(editBox(box))); }

Text MainWindowWin32::ReadDetectButtonCaption() { return buttonCaption_; }

void MainWindowWin32::WriteDetectButtonCaption(const Text& caption) {
  buttonCaption_ = caption;
  HWND button = detectButton();
  ::SetWindowTextW(button, WideFromText(caption).c_str());
  // Shown at once: the handler that writes it may block in a request next.
  ::UpdateWindow(button);
}

void MainWindowWin32::WriteDetectTimerPeriod(int32_t milliseconds) {
  if (milliseconds == timerPeriod_) return;
  timerPeriod_ = milliseconds;
  if (window_ == nullptr) return;
  ::KillTimer(window_, kDetectTimerId);
  // A tick of the old period that is already waiting must not run a cycle.
  MSG waiting;
  while (::PeekMessageW(&waiting, window_, WM_TIMER, WM_TIMER, PM_REMOVE)) {
  }
  if (milliseconds > 0) {
    ::SetTimer(window_, kDetectTimerId, static_cast<UINT>(milliseconds), nullptr);
  }
}

void MainWindowWin32::AppendEditText(EditBox box, const Text& text) {
  HWND edit = editBox(box);
  const int length = ::GetWindowTextLengthW(edit);
  ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
  ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  const std::wstring wide = WideFromText(text);
  ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
}

void MainWindowWin32::SetAlwaysOnTop(int32_t flag) {
  alwaysOnTop_ = flag == 1;
  ::SetWindowPos(window_, alwaysOnTop_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindowWin32::ShowMessageBox(const Text& text) {
  ::MessageBoxW(nullptr, WideFromText(text).c_str(), WideFromText(kMessageBoxCaption).c_str(),
                MB_OK | MB_TASKMODAL);
}

void MainWindowWin32::PlayMp3(int32_t playCount, const Text& path) {
  player_.Play(playCount, WidePath(path));
}

bool MainWindowWin32::WriteFileBytes(const Text& path, const Bytes& bytes) {
  return WriteFileBytesToPath(WidePath(path), bytes);
}

int32_t MainWindowWin32::PathFileExistsA(const Text& path) {
  return PathExists(WidePath(path)) ? 1 : 0;
}

Text MainWindowWin32::AlertSoundPath() {
  alertSoundPathWide_ =
      FileBesideExecutable(executablePath_.empty() ? ExecutablePath() : executablePath_,
                           WideFromText(kAlertSoundFileName));
  alertSoundPathText_ = TextFromWide(alertSoundPathWide_);
  return alertSoundPathText_;
}

std::wstring MainWindowWin32::WidePath(const Text& path) const {
  // A directory name outside code page 936 turns into "?" in the Text; the
  // alert sound path still has to name the file beside the executable.
  if (!alertSoundPathWide_.empty() && path == alertSoundPathText_) return alertSoundPathWide_;
  return WideFromText(path);
}

void MainWindowWin32::MoveFocus(HWND from, bool backwards) {
  const int count = static_cast<int>(tabOrder_.size());
  int at = 0;
  while (at < count && tabOrder_[static_cast<size_t>(at)] != from) ++at;
  // From outside the round, Tab goes to its first control and Shift+Tab to its last.
  const int next = at == count ? (backwards ? count - 1 : 0)
                               : (at + (backwards ? count - 1 : 1)) % count;
  HWND target = tabOrder_[static_cast<size_t>(next)];
  ::SetFocus(target);
  if (target != detectButton()) ::SendMessageW(target, EM_SETSEL, 0, -1);
}

void MainWindowWin32::PaintLabels(HDC dc) {
  HGDIOBJ oldFont = ::SelectObject(dc, font_);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  for (int i = 0; i < kControlCount; ++i) {
    const ControlDescription& c = kMainWindow.controls[i];
    HWND label = controls_[static_cast<size_t>(i)];
    if (c.kind != ControlKind::kTransparentLabel || label == nullptr) continue;
    RECT place;
    ::GetWindowRect(label, &place);
    ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    UINT format = DT_LEFT | DT_NOCLIP | DT_NOPREFIX | DT_EXPANDTABS;
    format |= c.layout == TextLayout::kWordWrapFromTop ? DT_TOP | DT_WORDBREAK
                                                      : DT_SINGLELINE | DT_VCENTER;
    const std::wstring text = WindowText(label);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place, format);
  }
  ::SelectObject(dc, oldFont);
}

LRESULT MainWindowWin32::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && reinterpret_cast<HWND>(lParam) == detectButton() &&
          lParam != 0) {
        if (detectClicked_) detectClicked_();
        return 0;
      }
      break;
    case WM_TIMER:
      if (wParam == kDetectTimerId) {
        if (timerPeriod_ > 0 && detectTimer_) detectTimer_();
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, RGB(0, 0, 0));
      ::SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window_, &paint);
      PaintLabels(dc);
      ::EndPaint(window_, &paint);
      return 0;
    }
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(window_, focus)) lastFocus_ = focus;
      } else if (HIWORD(wParam) == 0) {
        ::SetFocus(lastFocus_ != nullptr ? lastFocus_ : tabOrder_[0]);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_DESTROY:
      ::KillTimer(window_, kDetectTimerId);
      timerPeriod_ = 0;
      player_.Stop();
      ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window_ = nullptr;
      controls_.fill(nullptr);
      tabOrder_.fill(nullptr);
      lastFocus_ = nullptr;
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindowWin32::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<MainWindowWin32*>(created->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindowWin32*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(window, message, wParam, lParam);
}

// The edit boxes and the button: Esc closes the window whichever of them has
// the focus (a multi-line edit box would otherwise keep the key), Tab moves the
// focus, and Enter in the single-line box does nothing instead of beeping.
LRESULT CALLBACK MainWindowWin32::ControlProc(HWND control, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
  auto* window = reinterpret_cast<MainWindowWin32*>(self);
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        ::PostMessageW(window->window_, WM_CLOSE, 0, 0);
        return 0;
      }
      if (wParam == VK_TAB) {
        window->MoveFocus(control, ::GetKeyState(VK_SHIFT) < 0);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == VK_ESCAPE || wParam == VK_TAB) return 0;
      if (wParam == VK_RETURN && control != window->editBox(EditBox::kCookies) &&
          control != window->editBox(EditBox::kStatus)) {
        return 0;
      }
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(control, &MainWindowWin32::ControlProc, id);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(control, message, wParam, lParam);
}

int RunMessageLoop() {
  MSG message;
  for (;;) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return -1;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace quorvel
