// Small helpers that let the text suites compare values as plain strings.
#ifndef QUORVEL_TESTS_TEXT_TEXT_TEST_SUPPORT_H_
#define QUORVEL_TESTS_TEXT_TEXT_TEST_SUPPORT_H_

#include <string>
#include <vector>

#include "text/text.h"

namespace quorvel {

inline std::vector<std::string> Elements(const TextArray& array) {
  std::vector<std::string> out;
  for (int32_t i = 1; i <= ElementCount(array); ++i) out.push_back(array[i].bytes());
  return out;
}

// Writes bytes of 128 and above as \xNN so that a failing case reads clearly.
inline std::string Printable(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    if (b >= 32 && b < 127) {
      out.push_back(static_cast<char>(b));
    } else {
      out += "\\x";
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 15]);
    }
  }
  return out;
}

}  // namespace quorvel

#endif  // QUORVEL_TESTS_TEXT_TEXT_TEST_SUPPORT_H_
