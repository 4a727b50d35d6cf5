// Drives a running Quorvel.exe from outside, as a user would: finds its window
// by caption, fills the two edit boxes, presses "开始检测", waits for the
// status line and then for the alert's message box, reads it and presses OK,
// checks that the window went into the topmost band, and closes it with Esc.
//
//   drive_quorvel.exe URL COOKIES PROGRAM-DIRECTORY
//
// Ends with 0 when every step held, 1 at the first one that did not.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/main_window_description.h"

namespace {

constexpr DWORD kStepLimitMs = 60000;

[[noreturn]] void Fail(const char* what) {
  std::printf("FAILED: %s\n", what);
  std::fflush(stdout);
  std::exit(1);
}

void Step(const char* what) {
  std::printf("ok: %s\n", what);
  std::fflush(stdout);
}

bool WaitFor(const std::function<bool()>& done, DWORD limitMs = kStepLimitMs) {
  const ULONGLONG start = ::GetTickCount64();
  while (!done()) {
    if (::GetTickCount64() - start > limitMs) return false;
    ::Sleep(50);
  }
  return true;
}

// The text of a window of another process, asked of its own thread.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    return L"<no answer>";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &got);
  text.resize(got);
  return text;
}

std::wstring Wide(const char* cp936) {
  wchar_t wide[512] = {};
  ::MultiByteToWideChar(936, 0, cp936, -1, wide, 512);
  return wide;
}

std::wstring WideArgument(const char* utf8) {
  wchar_t wide[2048] = {};
  ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 2048);
  return wide;
}

HWND ControlOf(HWND window, const char* name) {
  HWND found = nullptr;
  struct Search {
    const quorvel::ControlDescription* d;
    HWND* found;
  };
  int index = 0;
  while (index < quorvel::kMainWindow.controlCount &&
         std::string(quorvel::kMainWindow.controls[index].name) != name) {
    ++index;
  }
  const quorvel::ControlDescription& d = quorvel::kMainWindow.controls[index];
  Search search{&d, &found};
  // The control is the child at its described place.
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        RECT place;
        ::GetWindowRect(child, &place);
        ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&place), 2);
        if (place.left == s->d->left && place.top == s->d->top &&
            place.right - place.left == s->d->width && place.bottom - place.top == s->d->height) {
          *s->found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) Fail("usage: drive_quorvel.exe URL COOKIES PROGRAM-DIRECTORY");
  const std::wstring url = WideArgument(argv[1]);
  const std::wstring cookies = WideArgument(argv[2]);
  const std::wstring soundFile = WideArgument(argv[3]) + L"\\" + Wide(quorvel::kAlertSoundFileName);

  HWND window = nullptr;
  if (!WaitFor([&] {
        window = ::FindWindowW(nullptr, L"Quorvel");
        return window != nullptr && ::IsWindowVisible(window);
      })) {
    Fail("the window \"Quorvel\" appears");
  }
  Step("the window \"Quorvel\" is shown");
  if (::GetFileAttributesW(soundFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
    Fail("the alert sound file lies beside the program once the window is shown");
  }
  Step("the alert sound file lies beside the program");

  RECT outer;
  ::GetWindowRect(window, &outer);
  if (outer.right - outer.left != 703 || outer.bottom - outer.top != 338) Fail("703 x 338");
  if (outer.left != (::GetSystemMetrics(SM_CXSCREEN) - 703) / 2 ||
      outer.top != (::GetSystemMetrics(SM_CYSCREEN) - 338) / 2) {
    Fail("the window is centred");
  }
  // The program file carries the icon with its three images and the manifest
  // that asks for the common controls of version 6.
  const std::wstring program = WideArgument(argv[3]) + L"\\Quorvel.exe";
  HMODULE image = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (image == nullptr) Fail("Quorvel.exe can be read");
  HRSRC iconGroup = ::FindResourceW(image, L"DEFAULT_ICON", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  if (iconGroup == nullptr || ::SizeofResource(image, iconGroup) < 6) Fail("the icon DEFAULT_ICON");
  const auto* group = static_cast<const unsigned char*>(::LockResource(::LoadResource(image, iconGroup)));
  if (group[4] != 3) Fail("the icon DEFAULT_ICON holds 16, 32 and 48 pixel images");
  HRSRC manifest = ::FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  if (manifest == nullptr) Fail("the manifest");
  const std::string manifestText(
      static_cast<const char*>(::LockResource(::LoadResource(image, manifest))),
      ::SizeofResource(image, manifest));
  if (manifestText.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"") ==
      std::string::npos) {
    Fail("the manifest asks for the common controls of version 6");
  }
  ::FreeLibrary(image);
  Step("703 x 338, centred; the program carries its icon and manifest");

  HWND address = ControlOf(window, "编辑框_网址");
  HWND cookieBox = ControlOf(window, "编辑框_cookies");
  HWND status = ControlOf(window, "编辑框_提示");
  HWND button = ControlOf(window, "按钮_检测");
  if (!address || !cookieBox || !status || !button) Fail("the controls are at their places");
  if (TextOf(button) != Wide(quorvel::kStartCaption)) Fail("the button reads 开始检测");

  ::SendMessageW(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(url.c_str()));
  ::SendMessageW(cookieBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(cookies.c_str()));
  ::SendMessageW(button, BM_CLICK, 0, 0);
  if (!WaitFor([&] { return TextOf(button) == Wide(quorvel::kStopCaption); }, 10000)) {
    Fail("the click turns the caption into 停止检测");
  }
  Step("clicked: watching");

  const std::wstring nothingRunning = Wide(quorvel::kNothingRunningLine);
  if (!WaitFor([&] { return TextOf(status).find(nothingRunning) != std::wstring::npos; })) {
    Fail("the status box gets 签到未开始");
  }
  Step("the status box reads 签到未开始");

  HWND box = nullptr;
  const std::wstring caption = Wide(quorvel::kMessageBoxCaption);
  if (!WaitFor([&] { return (box = ::FindWindowW(L"#32770", caption.c_str())) != nullptr; })) {
    Fail("the message box 信息： appears");
  }
  ::Sleep(200);
  const std::wstring message = TextOf(::GetDlgItem(box, 0xFFFF));
  if (message != Wide(quorvel::kAlertMessage)) Fail("the message box says 签到已经开始，请自行签到！！");
  if (::GetDlgItem(box, IDOK) == nullptr || ::GetDlgItem(box, IDCANCEL) != nullptr) {
    Fail("the message box has one OK button");
  }
  if (::IsWindowEnabled(window)) Fail("the window takes no input while the box is up");
  Step("the message box 信息： says 签到已经开始，请自行签到！！");

  if (TextOf(status) != nothingRunning + Wide(quorvel::kAlertLine)) {
    Fail("the status box holds 签到未开始 and then the alert line");
  }
  if (TextOf(button) != Wide(quorvel::kStartCaption)) Fail("the alert stops watching");
  Step("the status box holds both lines and the button reads 开始检测 again");

  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  if (!WaitFor([&] { return !::IsWindow(box); }, 10000)) Fail("OK closes the message box");
  if (!WaitFor([&] { return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; },
               10000)) {
    Fail("after OK the window is always on top");
  }
  Step("after OK the window stays on top");

  ::PostMessageW(cookieBox, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  if (!WaitFor([&] { return !::IsWindow(window); }, 10000)) Fail("Esc closes the window");
  Step("Esc in the cookie box closes the window");
  return 0;
}
