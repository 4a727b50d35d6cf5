#include <windows.h>

#include <cstdio>
#include <vector>

#include "text/system_report.h"

namespace quorvel {

void ReportToSystem(const char* reason) {
  std::fprintf(stderr, "Quorvel: fatal error: %s\n", reason);
  std::fflush(stderr);
  // The reason is in code page 936 whatever the system's ANSI code page is.
  const int n = ::MultiByteToWideChar(936, 0, reason, -1, nullptr, 0);
  std::vector<wchar_t> wide(n > 0 ? n : 1, L'\0');
  if (n > 0) ::MultiByteToWideChar(936, 0, reason, -1, wide.data(), n);
  ::MessageBoxW(nullptr, wide.data(), L"Quorvel", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace quorvel
