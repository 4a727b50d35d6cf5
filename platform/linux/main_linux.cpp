// The monitor program on Linux: one Qt window, libcurl for the web and PCRE2
// for the regular expressions.
#include <QApplication>

#include "app/handlers.h"
#include "platform/linux/http_request_curl.h"
#include "platform/linux/main_window_qt.h"
#include "platform/linux/page_memory.h"
#include "platform/linux/regex_engine_pcre2.h"
#include "text/fatal_error.h"

namespace {

// 启动窗口载入失败 (the start-up window could not be loaded)
constexpr char kWindowNotLoaded[] = "\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xD4\xD8\xC8\xEB\xCA\xA7\xB0\xDC";

QtMessageHandler g_qtMessages = nullptr;

// Qt ends the process on its own when it cannot reach a window system; that
// is the start-up window that could not be made.
void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (g_qtMessages != nullptr) g_qtMessages(type, context, message);
  if (type == QtFatalMsg) quorvel::FatalError(kWindowNotLoaded);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quorvel;
  SetFatalErrorReporter(ReportFatalErrorQt);
  KeepPageMemoryForReuse();
  g_qtMessages = qInstallMessageHandler(OnQtMessage);
  // COM and OLE have no counterpart here: the providers below are all the
  // start-up the automation calls need.
  QApplication application(argc, argv);

  HttpRequestProviderCurl http;
  RegexEngineProviderPcre2 regex;
  MainWindowQt window;
  MonitorServices services{window, http, regex};
  window.SetEventHandlers([&services] { OnDetectButtonClicked(services); },
                          [&services] { OnDetectTimerTick(services); });

  OnWindowCreated(services);
  window.Show();
  return QApplication::exec();
}
