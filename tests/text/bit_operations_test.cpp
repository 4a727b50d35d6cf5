#include "text/bit_operations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "text/text.h"

namespace quorvel {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(BitOperationsTest, Shifts) {
  struct {
    int32_t v;
    int32_t n;
    int32_t left;
    int32_t right;
  } cases[] = {
      {1, 4, 16, 0},
      {-8, 1, -16, -4},
      {256, 4, 4096, 16},
      {0x40000000, 2, 0, 0x10000000},
      {-1, 31, kMin, -1},
      {1, 31, kMin, 0},
      {kMin, 31, 0, -1},
      {kMax, 1, -2, 0x3FFFFFFF},
      {5, 0, 5, 5},
      // Counts outside 0 ... 31: 32 or more shifts every bit out, below 0 nothing.
      {5, 32, 0, 0},
      {-5, 40, 0, -1},
      {-5, kMax, 0, -1},
      {5, -1, 5, 5},
      {-5, kMin, -5, -5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.v) + " by " + std::to_string(c.n));
    EXPECT_EQ(ShiftLeft(c.v, c.n), c.left);
    EXPECT_EQ(ShiftRight(c.v, c.n), c.right);
  }
}

TEST(BitOperationsTest, BitAnd) {
  EXPECT_EQ(BitAnd(255, 15), 15);
  EXPECT_EQ(BitAnd(-1, 0xF0, 0x3C), 0x30);
  EXPECT_EQ(BitAnd(-8, -1), -8);
  EXPECT_EQ(BitAnd(6, 3, 2, 0), 0);
}

TEST(BitOperationsTest, Modulo) {
  struct {
    double a;
    double b;
    double want;
  } cases[] = {
      {7, 3, 1}, {-7, 3, -1}, {7, -3, 1}, {6, 3, 0}, {7.5, 2, 1.5}, {0, 5, 0}, {1e18, 3, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.a) + " mod " + std::to_string(c.b));
    EXPECT_EQ(Modulo(c.a, c.b), c.want);
  }
  // A divisor of 0 does not stop the program; the result reads as 0.
  EXPECT_TRUE(std::isnan(Modulo(7, 0)));
  EXPECT_EQ(TruncateToInteger(Modulo(7, 0)), 0);
}

}  // namespace
}  // namespace quorvel
