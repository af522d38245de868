// The codes must not depend on the floating-point mode the process runs in:
// other rounding directions, and on 32-bit x86 Windows the x87 precision cut
// to 53 bits (the Windows default for programs that do not set it).

#include <gtest/gtest.h>

#include <cfenv>

#include "host_code/host_code.h"
#include "worked_examples.h"

#if defined(_WIN32) && defined(__i386__)
#include <float.h>
#define HOSTCODE_X87_PRECISION_CONTROL 1
#endif

namespace hostcode {
namespace {

void ExpectWorkedExamples() {
  for (const auto& row : kWorkedExamples) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(WeightedSum(row.identity), row.weightedSum);
    EXPECT_EQ(RenderQuotient(Quotient(row.weightedSum), '.'), row.rendered);
    EXPECT_EQ(MakeHostCode(row.identity, '.'), row.code);
  }
}

TEST(FloatingPointMode, RoundingDirectionDoesNotChangeTheCodes) {
  const int saved = std::fegetround();
  for (const int mode : {FE_TOWARDZERO, FE_DOWNWARD, FE_UPWARD}) {
    SCOPED_TRACE(mode);
    ASSERT_EQ(std::fesetround(mode), 0);
    ExpectWorkedExamples();
  }
  std::fesetround(saved);
}

#ifdef HOSTCODE_X87_PRECISION_CONTROL
TEST(FloatingPointMode, X87PrecisionOf53BitsDoesNotChangeTheCodes) {
  const unsigned int saved = _controlfp(0, 0);
  _controlfp(_PC_53, _MCW_PC);
  ExpectWorkedExamples();
  _controlfp(_RC_CHOP, _MCW_RC);
  ExpectWorkedExamples();
  _controlfp(saved, _MCW_PC | _MCW_RC);
}
#endif

}  // namespace
}  // namespace hostcode
