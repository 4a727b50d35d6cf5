#include "text/bit_operations.h"

#include <cmath>

namespace quorvel {

int32_t ShiftLeft(int32_t v, int32_t n) {
  if (n <= 0) return v;
  if (n >= 32) return 0;
  // Shifting the unsigned form keeps the low 32 bits without overflow.
  return static_cast<int32_t>(static_cast<uint32_t>(v) << n);
}

int32_t ShiftRight(int32_t v, int32_t n) {
  if (n <= 0) return v;
  if (n >= 32) return v < 0 ? -1 : 0;
  // Since C++20 >> on a negative value is an arithmetic shift.
  return v >> n;
}

double Modulo(double a, double b) { return std::fmod(a, b); }

}  // namespace quorvel
