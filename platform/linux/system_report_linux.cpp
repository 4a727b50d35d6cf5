#include <cstdio>

#include "text/system_report.h"

namespace quorvel {

void ReportToSystem(const char* reason) {
  std::fprintf(stderr, "Quorvel: fatal error: %s\n", reason);
  std::fflush(stderr);
}

}  // namespace quorvel
