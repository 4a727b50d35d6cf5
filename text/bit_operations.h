// The integer bit commands and the floating-point remainder.
#ifndef QUORVEL_TEXT_BIT_OPERATIONS_H_
#define QUORVEL_TEXT_BIT_OPERATIONS_H_

#include <cstdint>

namespace quorvel {

// ShiftLeft() returns `v` shifted left by `n` bits within 32 bits; the bits
// shifted out are lost. A count of 32 or more shifts every bit out and gives
// 0; a count below 0 shifts nothing.
//   ShiftLeft(1, 4) == 16
//   ShiftLeft(0x40000000, 2) == 0
//   ShiftLeft(-1, 31) == INT32_MIN
int32_t ShiftLeft(int32_t v, int32_t n);

// ShiftRight() returns `v` shifted right by `n` bits with the sign bit copied
// into the vacated bits (an arithmetic shift). A count of 32 or more leaves
// only copies of the sign bit: 0 or -1; a count below 0 shifts nothing.
//   ShiftRight(-8, 1) == -4
//   ShiftRight(256, 4) == 16
//   ShiftRight(-5, 40) == -1
int32_t ShiftRight(int32_t v, int32_t n);

// BitAnd() is the bitwise AND of two or more integers.
//   BitAnd(255, 15) == 15
//   BitAnd(-1, 0xF0, 0x3C) == 0x30
template <typename... More>
int32_t BitAnd(int32_t a, int32_t b, More... more) {
  return ((a & b) & ... & static_cast<int32_t>(more));
}

// Modulo() is the floating-point remainder a - b * trunc(a / b), which takes
// the sign of `a`, computed exactly. A divisor of 0 leaves no remainder to
// give: the result is NaN, which TruncateToInteger() turns into 0.
//   Modulo(7, 3) == 1
//   Modulo(-7, 3) == -1
//   Modulo(7.5, 2) == 1.5
double Modulo(double a, double b);

}  // namespace quorvel

#endif  // QUORVEL_TEXT_BIT_OPERATIONS_H_
