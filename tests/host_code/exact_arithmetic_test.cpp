#include "host_code/exact_arithmetic.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace hostcode::exact {
namespace {

constexpr std::uint64_t kMax = ~std::uint64_t{0};

TEST(ExactArithmetic, MultiplyWideKeepsAllBits) {
  const struct {
    std::uint64_t a, b;
    Wide product;
  } rows[] = {
      {0, kMax, {0, 0}},
      {kMax, kMax, {kMax - 1, 1}},  // (2^64-1)^2 = 2^128 - 2^65 + 1
      {std::uint64_t{1} << 63, 4, {2, 0}},
      {0xFFFFFFFF, 0xFFFFFFFF, {0, 0xFFFFFFFE00000001}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.a);
    EXPECT_EQ(MultiplyWide(row.a, row.b), row.product);
  }
}

TEST(ExactArithmetic, DivideWideGivesQuotientAndRemainder) {
  // 2^64 = 7013 * 2630364191317489 + 1259.
  const WideDivision d = DivideWide({1, 0}, 7013);
  EXPECT_EQ(d.quotient, (Wide{0, 2630364191317489}));
  EXPECT_EQ(d.remainder, 1259u);
  const WideDivision e = DivideWide({kMax, kMax}, 1);
  EXPECT_EQ(e.quotient, (Wide{kMax, kMax}));
  EXPECT_EQ(e.remainder, 0u);
}

TEST(ExactArithmetic, RoundToSignificantTiesToEven) {
  const struct {
    Wide value;
    bool sticky;
    int bits;
    Scaled expected;
  } rows[] = {
      {{0, 0b1011}, false, 3, {0b110, 1}},                  // 11 -> 12: above half
      {{0, 0b1001}, false, 3, {0b100, 1}},                  // 9 -> 8: tie, even stays
      {{0, 0b1011}, false, 4, {0b1011, 0}},                 // fits: unchanged
      {{0, 0b10110}, false, 3, {0b110, 2}},                 // 22 -> 24: tie, odd goes up
      {{0, 0b1001}, true, 3, {0b101, 1}},                   // a sticky part breaks the tie upward
      {{0, 0b1111}, false, 3, {0b100, 2}},                  // 15 -> 16: carry out of the top
      {{1, kMax}, false, 64, {std::uint64_t{1} << 63, 2}},  // 2^65 - 1 -> 2^65
      {{1, 1}, false, 64, {std::uint64_t{1} << 63, 1}},     // 2^64 + 1 -> 2^64: tie, even stays
      {{1, 3}, false, 64, {(std::uint64_t{1} << 63) + 2, 1}},  // tie at an odd mantissa
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value.lo);
    const Scaled result = RoundToSignificant(row.value, row.sticky, row.bits);
    EXPECT_EQ(result.mantissa, row.expected.mantissa);
    EXPECT_EQ(result.exponent, row.expected.exponent);
  }
}

TEST(ExactArithmetic, RoundShiftRightTiesToEven) {
  const struct {
    std::uint64_t value;
    int shift;
    std::uint64_t expected;
  } rows[] = {
      {6, 2, 2},   // 1.5 -> 2
      {10, 2, 2},  // 2.5 -> 2
      {11, 2, 3},  // 2.75 -> 3
      {9, 2, 2},   // 2.25 -> 2
      {7, 0, 7},
      {kMax, 64, 1},                    // just below 1 -> 1
      {std::uint64_t{1} << 63, 64, 0},  // exactly half -> 0
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(RoundShiftRight(row.value, row.shift), row.expected);
  }
}

}  // namespace
}  // namespace hostcode::exact
