// libFuzzer target: the product's host code of an arbitrary identity must be
// the extended-precision reference's, and so must its weighted sum.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host_code/host_code.h"
#include "reference_host_code.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace hostcode;
  if (!reference::Available()) return 0;  // nothing to compare with on this CPU
  const std::string_view identity(reinterpret_cast<const char*>(data), size);

  const std::int64_t sum = WeightedSum(identity);
  const double referenceSum = reference::WeightedSum(identity);
  const std::string code = MakeHostCode(identity, '.');
  const std::string referenceText =
      reference::RenderQuotient(reference::Quotient(referenceSum), '.');
  const std::string referenceCode = reference::CutHostCode(referenceText);
  if (static_cast<double>(sum) != referenceSum || code != referenceCode) {
    std::fprintf(stderr, "identity of %zu bytes: sum %lld, code %s; reference sum %.0f, %s, %s\n",
                 size, static_cast<long long>(sum), code.c_str(), referenceSum,
                 referenceText.c_str(), referenceCode.c_str());
    std::abort();
  }
  return 0;
}
