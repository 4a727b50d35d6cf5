// Quorvel.exe: initialises OLE for the GUI thread once, makes MainWindow,
// writes the alert sound file when it is missing, shows the window and runs
// the message loop until the window is gone.
#include <windows.h>
#include <ole2.h>

#include "app/handlers.h"
#include "platform/win32/http_request_winhttp.h"
#include "platform/win32/main_window_win32.h"
#include "platform/win32/regex_engine_vbscript.h"
#include "text/fatal_error.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The automation calls of every request and every matcher rely on it.
  const HRESULT ole = ::OleInitialize(nullptr);

  quorvel::MainWindowWin32 window;
  if (!window.Create(instance)) {
    // 启动窗口载入失败 (the start-up window could not be loaded)
    quorvel::FatalError("\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xD4\xD8\xC8\xEB\xCA\xA7\xB0\xDC");
  }
  quorvel::HttpRequestProviderWinHttp http;
  quorvel::RegexEngineProviderVbscript regex;
  quorvel::MonitorServices services{window, http, regex};
  window.SetEventHandlers([&services] { quorvel::OnDetectButtonClicked(services); },
                          [&services] { quorvel::OnDetectTimerTick(services); });
  quorvel::OnWindowCreated(services);
  window.Show(SW_SHOWNORMAL);
  const int exitCode = quorvel::RunMessageLoop();
  if (SUCCEEDED(ole)) ::OleUninitialize();
  return exitCode;
}
