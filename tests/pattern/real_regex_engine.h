// The regular-expression engine of this build, for tests that run against the
// real thing: PCRE2 on Linux, "VBScript.RegExp" on Windows (under Wine in CI).
// ThreadInAutomationRuntime() tells whether the calling thread holds a COM
// initialisation (on Linux, the provider's own per-thread count).
#ifndef QUORVEL_TESTS_PATTERN_REAL_REGEX_ENGINE_H_
#define QUORVEL_TESTS_PATTERN_REAL_REGEX_ENGINE_H_

#ifdef _WIN32
#include "platform/win32/regex_engine_vbscript.h"
#else
#include "platform/linux/regex_engine_pcre2.h"
#endif

namespace quorvel {

#ifdef _WIN32
using RealRegexEngineProvider = RegexEngineProviderVbscript;

inline bool ThreadInAutomationRuntime() {
  const HRESULT hr = ::CoInitialize(nullptr);
  if (SUCCEEDED(hr)) ::CoUninitialize();
  return hr == S_FALSE;
}
#else
using RealRegexEngineProvider = RegexEngineProviderPcre2;

inline bool ThreadInAutomationRuntime() {
  return RegexEngineProviderPcre2::ThreadInitializationCount() > 0;
}
#endif

}  // namespace quorvel

#endif  // QUORVEL_TESTS_PATTERN_REAL_REGEX_ENGINE_H_
