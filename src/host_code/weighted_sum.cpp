// The position-weighted byte sum.

#include <array>
#include <cstddef>

#include "driver/failures.h"
#include "host_code/exact_arithmetic.h"
#include "host_code/host_code.h"

namespace hostcode {

namespace {

constexpr std::int64_t kExactDoubleLimit = std::int64_t{1} << 53;

// The longest prefix whose partial sums all stay below 2^53 whatever its
// bytes, so that no store to a double rounds and no product wraps: the largest
// sum of n bytes is 65 + 255 * (n^2 + n - 1).
constexpr std::int64_t kExactPrefix = 5'943'260;
static_assert(65 + 255 * (kExactPrefix * kExactPrefix + kExactPrefix - 1) < kExactDoubleLimit);
static_assert(65 + 255 * ((kExactPrefix + 1) * (kExactPrefix + 1) + kExactPrefix) >=
              kExactDoubleLimit);
static_assert(255 * kExactPrefix <= 0x7FFFFFFF);

// Blocks short enough that their weighted byte sums fit a 32-bit lane:
// 255 * (0 + 1 + ... + 4095) < 2^31.
constexpr std::size_t kBlock = 4096;
static_assert(255 * (kBlock - 1) * kBlock / 2 < 0x7FFFFFFF);

// 0, 1, ..., kBlock-1 as 16-bit weights, so that the compiler can multiply
// and add 16-bit lanes into 32-bit ones.
constexpr std::array<std::int16_t, kBlock> kOffsets = [] {
  std::array<std::int16_t, kBlock> offsets{};
  for (std::size_t i = 0; i < kBlock; ++i) offsets[i] = static_cast<std::int16_t>(i);
  return offsets;
}();

struct ByteSums {
  std::int64_t bytes = 0;     // sum of b[i]
  std::int64_t weighted = 0;  // sum of i * b[i], positions from 1
};

// The two sums over positions 1..count, block by block; exact for any count
// up to kExactPrefix.
ByteSums SumBytes(const unsigned char* data, std::size_t count) {
  ByteSums sums;
  for (std::size_t base = 0; base < count; base += kBlock) {
    const std::size_t length = count - base < kBlock ? count - base : kBlock;
    std::int32_t bytes = 0;
    std::int32_t offsetWeighted = 0;  // sum of t * b[base + t]
    for (std::size_t t = 0; t < length; ++t) {
      bytes += data[base + t];
      offsetWeighted += kOffsets[t] * static_cast<std::int16_t>(data[base + t]);
    }
    sums.bytes += bytes;
    sums.weighted += offsetWeighted + static_cast<std::int64_t>(base + 1) * bytes;
  }
  return sums;
}

// An integer rounded to the nearest double, ties to even; the result is again
// an integer. Below 2^53 in magnitude nothing changes.
std::int64_t RoundIntegerToDouble(std::int64_t value) {
  if (value < kExactDoubleLimit && value > -kExactDoubleLimit) return value;
  const exact::Scaled rounded = exact::RoundToSignificant({0, exact::Magnitude(value)}, false, 53);
  const auto magnitude = static_cast<std::int64_t>(rounded.mantissa << rounded.exponent);
  return value < 0 ? -magnitude : magnitude;
}

// i * b as the 32-bit signed product, wrapped modulo 2^32.
std::int32_t WrappedProduct(std::uint32_t position, unsigned char byte) {
  return static_cast<std::int32_t>(position * byte);
}

}  // namespace

std::int64_t WeightedSum(std::string_view identity) {
  if (identity.size() > kMaxIdentityLength) throw Exception("Identity too long");
  const auto* bytes = reinterpret_cast<const unsigned char*>(identity.data());
  const std::size_t n = identity.size();
  if (n == 0) return 0;

  // Over the exact prefix of m bytes the sum has a closed form:
  // S = sum i*(b[i] + b[i-1]) = 2 * sum i*b[i] - m*b[m] + 65 + sum b[1..m-1].
  const std::size_t m = n < kExactPrefix ? n : kExactPrefix;
  const ByteSums sums = SumBytes(bytes, m);
  const std::int64_t last = bytes[m - 1];
  std::int64_t sum =
      2 * sums.weighted - static_cast<std::int64_t>(m) * last + 65 + sums.bytes - last;

  // Beyond it, step by step: each step adds less than 2^32 in magnitude, so
  // every partial sum stays below 2^63 and the additions with a 64-bit
  // significand are exact; only the store to a double rounds.
  unsigned char predecessor = bytes[m - 1];
  for (std::size_t i = m; i < n; ++i) {
    const auto position = static_cast<std::uint32_t>(i + 1);
    sum += WrappedProduct(position, bytes[i]);
    sum += WrappedProduct(position, predecessor);
    sum = RoundIntegerToDouble(sum);
    predecessor = bytes[i];
  }
  return sum;
}

}  // namespace hostcode
