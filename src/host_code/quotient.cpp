// The quotient S / 7013 and its 15-digit decimal rendering.

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "driver/failures.h"
#include "host_code/exact_arithmetic.h"
#include "host_code/host_code.h"
#include "host_code/rendered_quotient.h"

namespace hostcode {

namespace {

using exact::Scaled;
using exact::Wide;

constexpr std::uint32_t kDivisor = 7013;
constexpr std::uint64_t k10To15 = 1'000'000'000'000'000;
constexpr std::uint64_t k10To18 = 1'000'000'000'000'000'000;
// The decimal exponents of every quotient of a sum below 2^63 in magnitude:
// 1/7013 ~ 0.000143 up to 2^63/7013 ~ 1.3 * 10^15.
constexpr int kLowestExponent = -3;
constexpr int kHighestExponent = 16;

constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << 52) - 1;

// A positive finite double as mantissa * 2^exponent, read from its bits.
Scaled Decompose(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  if (biased == 0) return {bits & kFractionMask, -1074};
  return {(bits & kFractionMask) | (std::uint64_t{1} << 52), biased - 1075};
}

// The double mantissa * 2^exponent, for a 53-bit mantissa (2^52 <= mantissa
// < 2^53) and a result in the normal range.
double Compose(std::uint64_t mantissa, int exponent) {
  const auto biased = static_cast<std::uint64_t>(exponent + 1075);
  return std::bit_cast<double>((biased << 52) | (mantissa & kFractionMask));
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

// Two-digit groups "00" to "99".
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Writes value (below 10^15) as exactly 15 digits, leading zeros included.
// The high 7 and the low 8 digits are two independent chains of divisions.
void WriteFifteenDigits(std::uint64_t value, char* out) {
  auto high = static_cast<std::uint32_t>(value / 100'000'000);
  auto low = static_cast<std::uint32_t>(value % 100'000'000);
  for (int i = 3; i >= 0; --i) {
    std::memcpy(out + 7 + 2 * i, &kDigitPairs[2 * (low % 100)], 2);
    low /= 100;
  }
  out[6] = static_cast<char>('0' + high % 10);
  high /= 10;
  for (int i = 2; i >= 0; --i) {
    std::memcpy(out + 2 * i, &kDigitPairs[2 * (high % 100)], 2);
    high /= 100;
  }
}

// At most 15 significant digits of a positive quotient, without trailing
// zeros, and its decimal exponent k: q ~ 0.D * 10^k.
struct Digits {
  std::array<char, 15> digits{};
  std::size_t count = 0;
  int exponent = 0;
};

Digits SignificantDigits(double q) {
  const Scaled value = Decompose(q);  // q = value.mantissa * 2^value.exponent
  const int e = value.exponent + std::bit_width(value.mantissa) - 1;  // 2^e <= q < 2^(e+1)
  // floor(e * log10(2)) + 1 with log10(2) ~ 19728 / 65536; >> floors negative values too.
  int k = ((e * 19728) >> 16) + 1;
  if (k < kLowestExponent || k > kHighestExponent) throw Exception("Quotient out of range");

  // X = q * 10^(18-k) = mantissa * 5^p * 2^(exponent + p), rounded to a 64-bit
  // significand, then to an integer.
  const int p = 18 - k;
  const Wide product =
      exact::MultiplyWide(value.mantissa, kPowersOfFive[static_cast<std::size_t>(p)]);
  const Scaled rounded = exact::RoundToSignificant(product, false, 64);
  const int shift = value.exponent + p + rounded.exponent;
  std::uint64_t x =
      shift >= 0 ? rounded.mantissa << shift : exact::RoundShiftRight(rounded.mantissa, -shift);
  if (x >= k10To18) {
    x = DivideByTenTwice(x);
    ++k;
  }

  // X has 18 digits; the 16th alone decides the rounding to 15. A carry
  // leaves zeros at the end, which are dropped like any trailing zero.
  std::uint64_t leading = x / 1000;
  if ((x / 100) % 10 >= 5) {
    ++leading;
    if (leading == k10To15) {
      leading /= 10;
      ++k;
    }
  }
  Digits result;
  result.exponent = k;
  WriteFifteenDigits(leading, result.digits.data());
  result.count = result.digits.size();
  while (result.digits[result.count - 1] == '0') --result.count;
  return result;
}

}  // namespace

double Quotient(std::int64_t weightedSum) {
  const std::uint64_t magnitude = exact::Magnitude(weightedSum);
  if (magnitude == 0) return 0.0;
  // Scale the dividend up to 127 bits, so that the integer quotient carries far
  // more than the 66 bits the rounding needs; the remainder is the sticky part.
  const int scale = 127 - std::bit_width(magnitude);
  const auto division = exact::DivideWide(exact::ShiftLeft({0, magnitude}, scale), kDivisor);
  const Scaled extended = exact::RoundToSignificant(division.quotient, division.remainder != 0, 64);
  const Scaled stored = exact::RoundToSignificant({0, extended.mantissa}, false, 53);
  const double q = Compose(stored.mantissa, extended.exponent + stored.exponent - scale);
  return weightedSum < 0 ? -q : q;
}

RenderedQuotient RenderQuotientInPlace(double q, char separator) {
  RenderedQuotient rendered;
  char* const text = rendered.text.data();
  std::size_t& length = rendered.length;
  if (q == 0) {
    text[length++] = '0';
    return rendered;
  }
  if (!std::isfinite(q)) throw Exception("Quotient out of range");
  const Digits d = SignificantDigits(std::fabs(q));
  const std::size_t count = d.count;
  const int k = d.exponent;

  if (q < 0) text[length++] = '-';
  if (k <= 0) {
    text[length++] = '0';
    text[length++] = separator;
    for (int i = 0; i < -k; ++i) text[length++] = '0';
    for (std::size_t i = 0; i < count; ++i) text[length++] = d.digits[i];
  } else {
    const auto integerDigits = static_cast<std::size_t>(k);
    for (std::size_t i = 0; i < integerDigits; ++i) text[length++] = i < count ? d.digits[i] : '0';
    if (count > integerDigits) {
      text[length++] = separator;
      for (std::size_t i = integerDigits; i < count; ++i) text[length++] = d.digits[i];
    }
  }
  return rendered;
}

std::string RenderQuotient(double q, char separator) {
  return std::string(RenderQuotientInPlace(q, separator).View());
}

}  // namespace hostcode
