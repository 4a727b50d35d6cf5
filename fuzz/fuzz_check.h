// What the fuzz targets share: a check that stops the run with a message when
// a property does not hold, and the reading of texts from the fuzzer's input.
#ifndef QUORVEL_FUZZ_FUZZ_CHECK_H_
#define QUORVEL_FUZZ_FUZZ_CHECK_H_

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "text/text.h"

// A property that fails is a finding: libFuzzer saves the input that broke it.
#define FUZZ_CHECK(condition)                                                   \
  do {                                                                          \
    if (!(condition)) {                                                         \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, \
                   #condition);                                                 \
      std::abort();                                                             \
    }                                                                           \
  } while (0)

namespace quorvel::fuzz {

// The next text of the input: up to a backslash followed by another byte (two
// backslashes stand for one), cut at its first zero byte as every Text is.
inline Text ConsumeText(FuzzedDataProvider& input, size_t maxLength = 4096) {
  return Text(input.ConsumeRandomLengthString(maxLength));
}

// Every Text must be free of zero bytes, whatever made it.
inline bool HoldsNoZeroByte(const Text& t) { return t.bytes().find('\0') == std::string::npos; }

}  // namespace quorvel::fuzz

#endif  // QUORVEL_FUZZ_FUZZ_CHECK_H_
