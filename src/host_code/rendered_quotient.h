#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace hostcode {

// A rendered quotient held in place, so that the host code can be cut from it
// without building a string first: at most a sign, 16 integer digits, a
// separator, 3 zeros and 15 digits.
struct RenderedQuotient {
  std::array<char, 40> text{};
  std::size_t length = 0;
  std::string_view View() const { return {text.data(), length}; }
};

// The text RenderQuotient returns, in place.
RenderedQuotient RenderQuotientInPlace(double q, char separator);

}  // namespace hostcode
