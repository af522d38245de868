#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace hostcode {

// The longest identity whose positions fit the 32-bit position counter of the
// weighted sum; longer ones raise Exception("Identity too long").
inline constexpr std::size_t kMaxIdentityLength = 0x7FFFFFFF;

// The position-weighted byte sum S of an identity: for each position i from 1,
// i * byte[i] and i * byte[i-1] (byte[0] taken as 65, 'A'), each wrapped to a
// 32-bit signed integer, added to S in that order. S is kept as the double the
// sum is stored in: exact integers below 2^53, rounded to 53 significant bits
// (to nearest, ties to even) above. Bytes count as unsigned values.
// Example: WeightedSum("xxx") == 1385, WeightedSum("") == 0.
std::int64_t WeightedSum(std::string_view identity);

// S / 7013 rounded first to a 64-bit significand, then to a double, both to
// nearest with ties to even. Example: Quotient(7013) == 1.0.
double Quotient(std::int64_t weightedSum);

// The decimal text of q with at most 15 significant digits, in positional form
// with `separator` as the decimal separator; no exponent, no grouping. The
// digits come from q scaled by a power of ten with a 64-bit significand and
// rounded on the 16th digit alone. Quotients outside the range of the host
// code (decimal exponents -3 to 16), infinities and NaN raise
// Exception("Quotient out of range").
// Example: RenderQuotient(Quotient(1385), '.') == "0.197490375017824".
std::string RenderQuotient(double q, char separator);

// The host code cut from a rendered quotient: bytes 1-3, 4-7 and 8-10 of what
// follows its first ".", joined by "-"; a group beyond the end is empty.
// Example: CutHostCode("100.158420077") == "158-4200-77", CutHostCode("1") == "--".
std::string CutHostCode(std::string_view rendered);

// The user's decimal separator as the system reports it, read once for the
// process; "." when none can be had.
char StartupDecimalSeparator();

// The host code of an identity: the first ten digits after the "." of the
// rendered quotient, cut into groups of 3, 4 and 3 joined by "-". Groups are
// shorter or empty when the fraction has fewer digits; with a separator other
// than "." the code is always "--".
// Example: MakeHostCode("xxx", '.') == "197-4903-750".
std::string MakeHostCode(std::string_view identity, char separator = StartupDecimalSeparator());

}  // namespace hostcode
