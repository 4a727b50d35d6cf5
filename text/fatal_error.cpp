#include "text/fatal_error.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "text/system_report.h"
#include "text/text.h"

namespace quorvel {

namespace {

FatalErrorReporter g_reporter = nullptr;

// Given back when memory runs out, so that the report can still allocate.
char* g_reserve = new char[64 * 1024];

void OnMemoryExhausted() {
  static bool reporting = false;
  if (reporting) {
    // The report itself ran out of memory: nothing here allocates.
    std::fputs("Quorvel: fatal error: out of memory\n", stderr);
    std::fflush(stderr);
    std::_Exit(-1);
  }
  reporting = true;
  delete[] g_reserve;
  g_reserve = nullptr;
  FatalError("out of memory");
}

// Installed while the program starts, before main() runs.
const bool g_newHandlerInstalled = (std::set_new_handler(OnMemoryExhausted), true);

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
