#include "reference_host_code.h"

#include <algorithm>
#include <cfenv>
#include <cfloat>
#include <cmath>

namespace hostcode::reference {

bool Available() {
  if (LDBL_MANT_DIG != 64 || std::fegetround() != FE_TONEAREST) return false;
  // The x87 precision control may cut results to 53 bits (the Windows default).
  volatile long double one = 1.0L;
  volatile long double tiny = std::ldexp(1.0L, -63);
  return one + tiny != one;
}

std::string UnavailableReason() {
  return "the extended-precision reference needs long double with a 64-bit significand rounding "
         "to nearest at full precision; here LDBL_MANT_DIG is " +
         std::to_string(LDBL_MANT_DIG);
}

double WeightedSum(std::string_view identity) {
  double sum = 0;
  std::int32_t position = 0;
  unsigned char predecessor = 65;
  for (const char c : identity) {
    const auto byte = static_cast<unsigned char>(c);
    position = static_cast<std::int32_t>(static_cast<std::uint32_t>(position) + 1);
    const auto u = static_cast<std::int32_t>(static_cast<std::uint32_t>(position) * byte);
    const auto v = static_cast<std::int32_t>(static_cast<std::uint32_t>(position) * predecessor);
    volatile long double t = static_cast<long double>(sum) + u;
    t = t + v;
    sum = static_cast<double>(t);
    predecessor = byte;
  }
  return sum;
}

double Quotient(double weightedSum) {
  volatile long double q = static_cast<long double>(weightedSum) / 7013.0L;
  return static_cast<double>(q);
}

std::string RenderQuotient(double q, char separator) {
  if (q == 0) return "0";
  std::string sign = q < 0 ? "-" : "";
  const long double value = std::fabs(static_cast<long double>(q));
  int binaryExponent = 0;
  std::frexp(value, &binaryExponent);
  const int e = binaryExponent - 1;
  int k = static_cast<int>(std::floor(e * 19728.0 / 65536.0)) + 1;

  long double power = 1.0L;  // 10^(18-k), exact for these exponents
  for (int i = 0; i < 18 - k; ++i) power *= 10.0L;
  volatile long double x = value * power;
  x = std::nearbyint(x);
  if (x >= 1e18L) {
    x = x / 10.0L;
    x = std::nearbyint(x);
    ++k;
  }
  const auto digits18 = std::to_string(static_cast<unsigned long long>(x));

  // Round to 15 digits on the 16th alone.
  std::string digits = digits18.substr(0, 15);
  if (digits18[15] >= '5') {
    int i = 14;
    while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
      digits.erase(static_cast<std::size_t>(i--));
    if (i < 0) {
      digits.assign(1, '1');
      ++k;
    } else {
      ++digits[static_cast<std::size_t>(i)];
    }
  } else {
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
  }

  std::string text = sign;
  const auto integerDigits = static_cast<std::size_t>(std::max(k, 0));
  if (k <= 0) {
    text.append(1, '0').append(1, separator).append(static_cast<std::size_t>(-k), '0');
    text.append(digits);
  } else if (digits.size() <= integerDigits) {
    text.append(digits).append(integerDigits - digits.size(), '0');
  } else {
    text.append(digits, 0, integerDigits).append(1, separator).append(digits, integerDigits);
  }
  return text;
}

std::string CutHostCode(const std::string& rendered) {
  const auto point = rendered.find('.');
  const std::string fraction = point == std::string::npos ? "" : rendered.substr(point + 1);
  auto group = [&](std::size_t first, std::size_t count) {
    return first < fraction.size() ? fraction.substr(first, count) : std::string();
  };
  std::string code = group(0, 3);
  code.append(1, '-').append(group(3, 4)).append(1, '-').append(group(7, 3));
  return code;
}

}  // namespace hostcode::reference
