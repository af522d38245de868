#pragma once

// Integer building blocks that reproduce, bit for bit, the few steps the host
// code takes with a 64-bit significand (x87 extended precision). Everything
// here is plain 64-bit integer arithmetic, so the results do not depend on the
// compiler, the CPU or the floating-point mode.

#include <cstdint>

namespace hostcode::exact {

// An unsigned 128-bit integer, hi * 2^64 + lo.
struct Wide {
  std::uint64_t hi = 0;
  std::uint64_t lo = 0;
  friend bool operator==(const Wide&, const Wide&) = default;
};

// Number of significant bits: 0 for zero, 1 for one, 64 for 2^63.
int BitWidth(Wide value);

// Exact product of two 64-bit integers.
Wide MultiplyWide(std::uint64_t a, std::uint64_t b);

// value << shift for 0 <= shift < 128; bits shifted past bit 127 are lost.
Wide ShiftLeft(Wide value, int shift);

struct WideDivision {
  Wide quotient;
  std::uint32_t remainder = 0;
};

// Truncating division by a divisor below 2^32.
WideDivision DivideWide(Wide dividend, std::uint32_t divisor);

// A binary floating-point value mantissa * 2^exponent.
struct Scaled {
  std::uint64_t mantissa = 0;
  int exponent = 0;
};

// Rounds value + (sticky ? a positive amount below one unit of `value` : 0)
// to `bits` significant bits (1 to 64), to nearest with ties to even, as the
// FPU does when it stores a result in a format with that significand.
// The result's mantissa has at most `bits` bits. When `sticky` is set the
// caller supplies more than `bits` + 1 significant bits, so that the sticky
// part only ever breaks a tie.
// Example: RoundToSignificant({0, 0b1011}, false, 3) == {0b110, 1} (11 -> 12).
Scaled RoundToSignificant(Wide value, bool sticky, int bits);

// Rounds value / 2^shift to an integer, to nearest with ties to even.
// Example: RoundShiftRight(6, 2) == 2 (1.5 -> 2), RoundShiftRight(10, 2) == 2.
std::uint64_t RoundShiftRight(std::uint64_t value, int shift);

}  // namespace hostcode::exact
