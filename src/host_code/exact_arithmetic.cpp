#include "host_code/exact_arithmetic.h"

#include <bit>

namespace hostcode::exact {

namespace {

constexpr std::uint64_t kLow32 = 0xFFFFFFFFu;

// value >> shift for 0 <= shift < 128.
Wide ShiftRight(Wide value, int shift) {
  if (shift == 0) return value;
  if (shift >= 64) return {0, value.hi >> (shift - 64)};
  return {value.hi >> shift, (value.lo >> shift) | (value.hi << (64 - shift))};
}

// True when any of the lowest `count` bits (0 <= count <= 128) is set.
bool AnyLowBits(Wide value, int count) {
  if (count <= 0) return false;
  if (count >= 128) return value.hi != 0 || value.lo != 0;
  if (count >= 64)
    return value.lo != 0 || (value.hi & ((std::uint64_t{1} << (count - 64)) - 1)) != 0;
  return (value.lo & ((std::uint64_t{1} << count) - 1)) != 0;
}

bool BitAt(Wide value, int index) {
  return index >= 64 ? ((value.hi >> (index - 64)) & 1) != 0 : ((value.lo >> index) & 1) != 0;
}

}  // namespace

int BitWidth(Wide value) {
  return value.hi != 0 ? 64 + std::bit_width(value.hi) : std::bit_width(value.lo);
}

Wide MultiplyWide(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t a0 = a & kLow32, a1 = a >> 32;
  const std::uint64_t b0 = b & kLow32, b1 = b >> 32;
  const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const std::uint64_t middle = (p00 >> 32) + (p01 & kLow32) + (p10 & kLow32);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & kLow32)};
}

Wide ShiftLeft(Wide value, int shift) {
  if (shift == 0) return value;
  if (shift >= 64) return {value.lo << (shift - 64), 0};
  return {(value.hi << shift) | (value.lo >> (64 - shift)), value.lo << shift};
}

WideDivision DivideWide(Wide dividend, std::uint32_t divisor) {
  // Schoolbook division in 32-bit digits; the running remainder stays below
  // the divisor, so each partial dividend fits in 64 bits.
  const std::uint32_t digits[4] = {
      static_cast<std::uint32_t>(dividend.hi >> 32), static_cast<std::uint32_t>(dividend.hi),
      static_cast<std::uint32_t>(dividend.lo >> 32), static_cast<std::uint32_t>(dividend.lo)};
  std::uint64_t remainder = 0;
  std::uint64_t quotient[4];
  for (int i = 0; i < 4; ++i) {
    const std::uint64_t part = (remainder << 32) | digits[i];
    quotient[i] = part / divisor;
    remainder = part % divisor;
  }
  return {{(quotient[0] << 32) | quotient[1], (quotient[2] << 32) | quotient[3]},
          static_cast<std::uint32_t>(remainder)};
}

Scaled RoundToSignificant(Wide value, bool sticky, int bits) {
  const int width = BitWidth(value);
  if (width <= bits) return {value.lo, 0};
  int drop = width - bits;
  std::uint64_t mantissa = ShiftRight(value, drop).lo;
  const bool half = BitAt(value, drop - 1);
  const bool beyondHalf = sticky || AnyLowBits(value, drop - 1);
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

std::uint64_t RoundShiftRight(std::uint64_t value, int shift) {
  if (shift <= 0) return value;
  if (shift > 64) return 0;
  const std::uint64_t kept = shift == 64 ? 0 : value >> shift;
  const bool half = ((value >> (shift - 1)) & 1) != 0;
  const bool beyondHalf = shift > 1 && (value & ((std::uint64_t{1} << (shift - 1)) - 1)) != 0;
  return kept + (half && (beyondHalf || (kept & 1) != 0) ? 1 : 0);
}

}  // namespace hostcode::exact
