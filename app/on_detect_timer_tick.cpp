#include "app/handlers.h"
#include "app/main_window_description.h"
#include "pattern/regex_matcher.h"
#include "text/code_page_conversion.h"
#include "text/text_commands.h"
#include "web/web_request.h"

namespace quorvel {

namespace {

// Fetches the watched page with the box's cookies and returns it in code page
// 936; empty when the request failed.
Text FetchPage(MonitorServices& services, const Text& address, const Text& cookieText) {
  // WebRequest may rewrite the cookies it was given; this copy is dropped so
  // that the box keeps what the user typed.
  Text cookies = cookieText;
  WebRequestParams params;
  params.url = address;
  params.method = 0;  // GET
  params.cookies = &cookies;
  const Bytes body = WebRequest(services.http, params);
  return Utf8ToAnsi(BytesToText(body));
}

void RaiseAlert(WindowOperations& window) {
  // Out of the topmost band first, so that the message box is not hidden
  // behind the window; back in once the user has seen it.
  window.SetAlwaysOnTop(0);
  window.AppendEditText(EditBox::kStatus, kAlertLine);
  window.PlayMp3(kAlertPlayCount, window.AlertSoundPath());
  window.WriteDetectTimerPeriod(0);
  window.WriteDetectButtonCaption(kStartCaption);
  window.ShowMessageBox(kAlertMessage);
  window.SetAlwaysOnTop(1);
}

}  // namespace

void OnDetectTimerTick(MonitorServices& services) {
  WindowOperations& window = services.window;
  RegexMatcher matcher(services.regex);
  const Text address = window.ReadEditText(EditBox::kAddress);
  const Text cookies = window.ReadEditText(EditBox::kCookies);
  const Text page = FetchPage(services, address, cookies);

  matcher.Create(kCountPattern, page);
  // Every failure on the way (no answer, no counter, an engine that gave up)
  // ends as the empty count, which is not "0" and so raises the alert.
  const bool nothingRunning = CompareText(matcher.SubMatchText(1, 1), kNothingRunningCount) == 0;
  if (nothingRunning) {
    window.AppendEditText(EditBox::kStatus, kNothingRunningLine);
  } else {
    RaiseAlert(window);
  }
}

}  // namespace quorvel
