#pragma once

// The host code rule carried out on x87 extended precision (long double with
// a 64-bit significand, rounding to nearest), as an independent reference for
// the product's integer arithmetic. For tests and tools only; never linked
// into the program.

#include <cstdint>
#include <string>
#include <string_view>

namespace hostcode::reference {

// True where long double has a 64-bit significand and rounds to nearest;
// elsewhere the functions below do not follow the rule.
bool Available();

// Why the reference is unavailable here, for a skip message.
std::string UnavailableReason();

// The weighted sum, each step's additions in long double, stored as a double.
double WeightedSum(std::string_view identity);

// S / 7013 in long double, stored as a double.
double Quotient(double weightedSum);

// The rendered quotient, 15 significant digits, positional form.
std::string RenderQuotient(double q, char separator);

// The host code cut from a rendered quotient.
std::string CutHostCode(const std::string& rendered);

}  // namespace hostcode::reference
