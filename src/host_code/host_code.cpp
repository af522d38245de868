#include "host_code/host_code.h"

#include <array>
#include <bit>
#include <cmath>

#include "StringManip/StringManip.h"
#include "driver/failures.h"
#include "host_code/exact_arithmetic.h"

namespace hostcode {

namespace {

using exact::Scaled;
using exact::Wide;

constexpr std::uint32_t kDivisor = 7013;
constexpr std::int64_t kExactDoubleLimit = std::int64_t{1} << 53;
constexpr std::uint64_t k10To15 = 1'000'000'000'000'000;
constexpr std::uint64_t k10To18 = 1'000'000'000'000'000'000;
// The decimal exponents of every quotient of a sum below 2^63 in magnitude:
// 1/7013 ~ 0.000143 up to 2^63/7013 ~ 1.3 * 10^15.
constexpr int kLowestExponent = -3;
constexpr int kHighestExponent = 16;

std::uint64_t Magnitude(std::int64_t value) {
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

// An integer rounded to the nearest double, ties to even; the result is again
// an integer. Below 2^53 in magnitude nothing changes.
std::int64_t RoundIntegerToDouble(std::int64_t value) {
  if (value < kExactDoubleLimit && value > -kExactDoubleLimit) return value;
  const Scaled rounded = exact::RoundToSignificant({0, Magnitude(value)}, false, 53);
  const auto magnitude = static_cast<std::int64_t>(rounded.mantissa << rounded.exponent);
  return value < 0 ? -magnitude : magnitude;
}

// i * b as the 32-bit signed product, wrapped modulo 2^32.
std::int32_t WrappedProduct(std::uint32_t position, unsigned char byte) {
  return static_cast<std::int32_t>(position * byte);
}

// Powers 5^0 .. 5^27, each exact in 64 bits.
constexpr std::array<std::uint64_t, 28> kPowersOfFive = [] {
  std::array<std::uint64_t, 28> powers{};
  powers[0] = 1;
  for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 5;
  return powers;
}();

// An integer X (below 2^64) divided by 10, rounded to a 64-bit significand and
// then to an integer, each to nearest with ties to even.
std::uint64_t DivideByTenTwice(std::uint64_t x) {
  const auto division = exact::DivideWide({x, 0}, 10);
  const Scaled rounded = exact::RoundToSignificant(division.quotient, division.remainder != 0, 64);
  return exact::RoundShiftRight(rounded.mantissa, 64 - rounded.exponent);
}

// The 15 significant digits of a positive q and its decimal exponent k, with
// q ~ 0.D * 10^k. The digits have no trailing zeros.
struct Digits {
  std::string digits;
  int exponent = 0;
};

Digits SignificantDigits(double q) {
  int binaryExponent = 0;
  const double fraction = std::frexp(q, &binaryExponent);  // q = fraction * 2^binaryExponent
  // q = mantissa * 2^(binaryExponent - 53) exactly.
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int e = binaryExponent - 1;  // 2^e <= q < 2^(e+1)
  // floor(e * log10(2)) + 1 with log10(2) ~ 19728 / 65536; >> floors negative values too.
  int k = ((e * 19728) >> 16) + 1;
  if (k < kLowestExponent || k > kHighestExponent) throw Exception("Quotient out of range");

  // X = q * 10^(18-k) = mantissa * 5^p * 2^(binaryExponent - 53 + p), rounded to
  // a 64-bit significand, then to an integer.
  const int p = 18 - k;
  const Wide product = exact::MultiplyWide(mantissa, kPowersOfFive[static_cast<std::size_t>(p)]);
  const Scaled rounded = exact::RoundToSignificant(product, false, 64);
  const int shift = binaryExponent - 53 + p + rounded.exponent;
  std::uint64_t x =
      shift >= 0 ? rounded.mantissa << shift : exact::RoundShiftRight(rounded.mantissa, -shift);
  if (x >= k10To18) {
    x = DivideByTenTwice(x);
    ++k;
  }

  // The 16th of the 18 digits alone decides the rounding to 15.
  std::uint64_t leading = x / 1000;
  if ((x / 100) % 10 >= 5) {
    ++leading;
    if (leading == k10To15) {
      leading /= 10;
      ++k;
    }
  }
  while (leading % 10 == 0) leading /= 10;

  std::string digits;
  for (; leading != 0; leading /= 10)
    digits.insert(digits.begin(), static_cast<char>('0' + leading % 10));
  return {digits, k};
}

// Bytes [first, first + count) of text, clamped to its end.
std::string_view Slice(std::string_view text, std::size_t first, std::size_t count) {
  if (first >= text.size()) return {};
  return text.substr(first, count);
}

}  // namespace

std::int64_t WeightedSum(std::string_view identity) {
  if (identity.size() > kMaxIdentityLength) throw Exception("Identity too long");
  // Every partial sum stays below 2^63 in magnitude (each step adds less than
  // 2^32), so the additions with a 64-bit significand are exact and only the
  // store to a double can round.
  std::int64_t sum = 0;
  unsigned char predecessor = 'A';
  std::uint32_t position = 0;
  for (const char c : identity) {
    const auto byte = static_cast<unsigned char>(c);
    ++position;
    sum += WrappedProduct(position, byte);
    sum += WrappedProduct(position, predecessor);
    sum = RoundIntegerToDouble(sum);
    predecessor = byte;
  }
  return sum;
}

double Quotient(std::int64_t weightedSum) {
  const std::uint64_t magnitude = Magnitude(weightedSum);
  if (magnitude == 0) return 0.0;
  // Scale the dividend up to 127 bits, so that the integer quotient carries far
  // more than the 66 bits the rounding needs; the remainder is the sticky part.
  const int scale = 127 - std::bit_width(magnitude);
  const auto division = exact::DivideWide(exact::ShiftLeft({0, magnitude}, scale), kDivisor);
  const Scaled extended = exact::RoundToSignificant(division.quotient, division.remainder != 0, 64);
  const Scaled stored = exact::RoundToSignificant({0, extended.mantissa}, false, 53);
  const double q =
      std::ldexp(static_cast<double>(stored.mantissa), extended.exponent + stored.exponent - scale);
  return weightedSum < 0 ? -q : q;
}

std::string RenderQuotient(double q, char separator) {
  if (q == 0) return "0";
  if (!std::isfinite(q)) throw Exception("Quotient out of range");
  const Digits d = SignificantDigits(std::fabs(q));
  const std::string_view digits = d.digits;
  const int k = d.exponent;

  std::string text = q < 0 ? "-" : "";
  if (k <= 0) {
    text += '0';
    text += separator;
    text.append(static_cast<std::size_t>(-k), '0');
    text += digits;
  } else {
    const auto integerDigits = static_cast<std::size_t>(k);
    text += Slice(digits, 0, integerDigits);
    if (digits.size() < integerDigits) text.append(integerDigits - digits.size(), '0');
    if (digits.size() > integerDigits) {
      text += separator;
      text += digits.substr(integerDigits);
    }
  }
  return text;
}

std::string MakeHostCode(std::string_view identity, char separator) {
  return CutHostCode(RenderQuotient(Quotient(WeightedSum(identity)), separator));
}

std::string CutHostCode(std::string_view rendered) {
  const std::string fraction = TextAfter(rendered, ".");
  std::string code;
  code.reserve(12);
  code += Slice(fraction, 0, 3);
  code += '-';
  code += Slice(fraction, 3, 4);
  code += '-';
  code += Slice(fraction, 7, 3);
  return code;
}

}  // namespace hostcode
