#include "host_code/host_code.h"

#include "StringManip/StringManip.h"
#include "host_code/rendered_quotient.h"

namespace hostcode {

namespace {

// Bytes [first, first + count) of text, clamped to its end.
std::string_view Slice(std::string_view text, std::size_t first, std::size_t count) {
  if (first >= text.size()) return {};
  return text.substr(first, count);
}

}  // namespace

std::string MakeHostCode(std::string_view identity, char separator) {
  return CutHostCode(RenderQuotientInPlace(Quotient(WeightedSum(identity)), separator).View());
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
