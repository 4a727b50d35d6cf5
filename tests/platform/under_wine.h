// UnderWine() tells a test that the Windows build runs under Wine, whose
// components differ from Windows' in a few documented places; such cases
// skip with their reason. AnsiCodePage() is the code page 0 stands for:
// the system's on Windows (1252 in a fresh Wine prefix), 936 elsewhere.
#ifndef QUORVEL_TESTS_PLATFORM_UNDER_WINE_H_
#define QUORVEL_TESTS_PLATFORM_UNDER_WINE_H_

#ifdef _WIN32
#include <windows.h>
#endif

namespace quorvel {

inline bool UnderWine() {
#ifdef _WIN32
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

inline unsigned AnsiCodePage() {
#ifdef _WIN32
  return ::GetACP();
#else
  return 936;
#endif
}

}  // namespace quorvel

#endif  // QUORVEL_TESTS_PLATFORM_UNDER_WINE_H_
