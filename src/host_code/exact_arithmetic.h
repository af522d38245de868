#pragma once

// Integer building blocks that reproduce, bit for bit, the few steps the host
// code takes with a 64-bit significand (x87 extended precision). Everything
// here is plain 64-bit integer arithmetic, so the results do not depend on the
// compiler, the CPU or the floating-point mode. The functions are inline so
// that constant divisors become multiplications.

#include <bit>
#include <cstdint>

namespace hostcode::exact {

// An unsigned 128-bit integer, hi * 2^64 + lo.
struct Wide {
  std::uint64_t hi = 0;
  std::uint64_t lo = 0;
  friend bool operator==(const Wide&, const Wide&) = default;
};

// |value| as an unsigned integer; correct for the most negative value too.
constexpr std::uint64_t Magnitude(std::int64_t value) {
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

// Number of significant bits: 0 for zero, 1 for one, 64 for 2^63.
constexpr int BitWidth(Wide value) {
  return value.hi != 0 ? 64 + std::bit_width(value.hi) : std::bit_width(value.lo);
}

// Exact product of two 64-bit integers.
constexpr Wide MultiplyWide(std::uint64_t a, std::uint64_t b) {
  constexpr std::uint64_t kLow32 = 0xFFFFFFFFu;
  const std::uint64_t a0 = a & kLow32, a1 = a >> 32;
  const std::uint64_t b0 = b & kLow32, b1 = b >> 32;
  const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const std::uint64_t middle = (p00 >> 32) + (p01 & kLow32) + (p10 & kLow32);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & kLow32)};
}

// value << shift for 0 <= shift < 128; bits shifted past bit 127 are lost.
constexpr Wide ShiftLeft(Wide value, int shift) {
  if (shift == 0) return value;
  if (shift >= 64) return {value.lo << (shift - 64), 0};
  return {(value.hi << shift) | (value.lo >> (64 - shift)), value.lo << shift};
}

// value >> shift for 0 <= shift < 128.
constexpr Wide ShiftRight(Wide value, int shift) {
  if (shift == 0) return value;
  if (shift >= 64) return {0, value.hi >> (shift - 64)};
  return {value.hi >> shift, (value.lo >> shift) | (value.hi << (64 - shift))};
}

struct WideDivision {
  Wide quotient;
  std::uint32_t remainder = 0;
};

// Truncating division by a divisor below 2^32: schoolbook division in 32-bit
// digits, whose running remainder stays below the divisor, so each partial
// dividend fits in 64 bits.
constexpr WideDivision DivideWide(Wide dividend, std::uint32_t divisor) {
  const std::uint64_t digits[4] = {dividend.hi >> 32, dividend.hi & 0xFFFFFFFFu, dividend.lo >> 32,
                                   dividend.lo & 0xFFFFFFFFu};
  std::uint64_t remainder = 0;
  std::uint64_t quotient[4] = {};
  for (int i = 0; i < 4; ++i) {
    const std::uint64_t part = (remainder << 32) | digits[i];
    quotient[i] = part / divisor;
    remainder = part % divisor;
  }
  return {{(quotient[0] << 32) | quotient[1], (quotient[2] << 32) | quotient[3]},
          static_cast<std::uint32_t>(remainder)};
}

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
constexpr Scaled RoundToSignificant(Wide value, bool sticky, int bits) {
  const int width = BitWidth(value);
  if (width <= bits) return {value.lo, 0};
  int drop = width - bits;
  std::uint64_t mantissa = ShiftRight(value, drop).lo;
  // The first dropped bit is the half; anything below it, or the sticky
  // part, puts the value above the half.
  const bool half = (ShiftRight(value, drop - 1).lo & 1) != 0;
  const Wide below = drop == 1 ? Wide{} : ShiftRight(ShiftLeft(value, 129 - drop), 129 - drop);
  const bool beyondHalf = sticky || below.hi != 0 || below.lo != 0;
  if (half && (beyondHalf || (mantissa & 1) != 0)) {
    ++mantissa;
    // A carry out of the top bit: 2^bits becomes 2^(bits-1) one place up.
    if (bits == 64 ? mantissa == 0 : (mantissa >> bits) != 0) {
      mantissa = std::uint64_t{1} << (bits - 1);
      ++drop;
    }
  }
  return {mantissa, drop};
}

// Rounds value / 2^shift to an integer, to nearest with ties to even.
// Example: RoundShiftRight(6, 2) == 2 (1.5 -> 2), RoundShiftRight(10, 2) == 2.
constexpr std::uint64_t RoundShiftRight(std::uint64_t value, int shift) {
  if (shift <= 0) return value;
  if (shift > 64) return 0;
  const std::uint64_t kept = shift == 64 ? 0 : value >> shift;
  const bool half = ((value >> (shift - 1)) & 1) != 0;
  const bool beyondHalf = shift > 1 && (value & ((std::uint64_t{1} << (shift - 1)) - 1)) != 0;
  return kept + (half && (beyondHalf || (kept & 1) != 0) ? 1 : 0);
}

}  // namespace hostcode::exact
