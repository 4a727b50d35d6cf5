#include "text/fatal_error.h"

#include <cstdlib>

#include "text/system_report.h"
#include "text/text.h"

namespace quorvel {

namespace {
FatalErrorReporter g_reporter = nullptr;
}  // namespace

void SetFatalErrorReporter(FatalErrorReporter reporter) { g_reporter = reporter; }

void FatalError(const Text& reason) {
  if (g_reporter != nullptr) {
    g_reporter(reason);
  } else {
    ReportToSystem(reason.c_str());
  }
  std::exit(-1);
}

}  // namespace quorvel
