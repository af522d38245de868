#include "host_code/host_code.h"

#include "failing_allocator.h"
#include "worked_examples.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace hostcode {
namespace {

TEST(MakeHostCode, WorkedExamplesComeOutExactly) {
  for (const auto& row : kWorkedExamples) {
    SCOPED_TRACE(row.name);
    const std::int64_t sum = WeightedSum(row.identity);
    EXPECT_EQ(sum, row.weightedSum);
    EXPECT_EQ(RenderQuotient(Quotient(sum), '.'), row.rendered);
    EXPECT_EQ(MakeHostCode(row.identity, '.'), row.code);
  }
}

TEST(MakeHostCode, AnyOtherSeparatorGivesTheBareHyphens) {
  EXPECT_EQ(RenderQuotient(Quotient(1385), ','), "0,197490375017824");
  for (const auto& row : kWorkedExamples) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(MakeHostCode(row.identity, ','), "--");
  }
}

// Sums at which the rule parts from plainer procedures: a single rounding of
// the quotient, an exact 18-digit rounding, or a direct 15-digit rounding.
TEST(RenderQuotient, SumsThatSeparateTheRuleFromShortcuts) {
  const struct {
    std::int64_t sum;
    std::string rendered;
  } rows[] = {
      {57970, "8.26607728504207"},     // single rounding of the quotient: ...206
      {42179, "6.01440182518181"},     // exact 18 digits: 6.0144018251818
      {7017188, "1000.5971766719"},    // 15-digit rounding: 1000.59717667189
      {70136447, "10000.9192927421"},  // exact 18 digits: 10000.919292742
      {7013 * 5, "5"},                 // an integer quotient has no separator
      {7013 * 1000, "1000"},           // trailing integer zeros are kept
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.sum);
    EXPECT_EQ(RenderQuotient(Quotient(row.sum), '.'), row.rendered);
  }
}

// The quotient is rounded to a 64-bit significand before it is stored as a
// double; expected doubles computed with exact rational arithmetic.
TEST(Quotient, RoundsTwiceLikeTheExtendedFormat) {
  const struct {
    std::int64_t sum;
    double expected;
  } rows[] = {
      {6253, std::ldexp(2007771885779817.0, -51)},  // a single rounding gives one unit less
      {57970, std::ldexp(1163346955647849.0, -47)},
      {1385, std::ldexp(7115340634716255.0, -55)},
      {7013, 1.0},
      {-7013, -1.0},
      {0, 0.0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.sum);
    EXPECT_EQ(Quotient(row.sum), row.expected);
  }
}

TEST(WeightedSum, BytesCountUnsignedAndEachEntersTwice) {
  const struct {
    std::string identity;
    std::int64_t sum;
  } rows[] = {
      {"", 0},
      {std::string(1, '\0'), 65},    // only the predecessor 'A'
      {"\x80", 65 + 128},            // not -128
      {std::string("\0\0", 2), 65},  // 1*(0+65) + 2*(0+0)
      {"AB", 1 * (65 + 65) + 2 * (66 + 65)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.identity.size());
    EXPECT_EQ(WeightedSum(row.identity), row.sum);
  }
}

// Exactly representable quotients, whose decimal forms are known outright.
TEST(RenderQuotient, PositionalLayoutAcrossTheExponentRange) {
  const struct {
    double q;
    std::string rendered;
  } rows[] = {
      {std::ldexp(1.0, -1), "0.5"},
      {std::ldexp(1.0, -13), "0.0001220703125"},  // three zeros after the point
      {123456.0 + std::ldexp(3.0, -2), "123456.75"},
      {std::ldexp(1.0, 49), "562949953421312"},         // 15 digits, no separator
      {std::ldexp(1.0, 50), "1125899906842620"},        // 16th digit 4 dropped, zero kept
      {std::ldexp(1.0, 50) + 4.0, "1125899906842630"},  // ...628: the 16th digit 8 carries
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.rendered);
    EXPECT_EQ(RenderQuotient(row.q, '.'), row.rendered);
  }
}

TEST(MakeHostCode, MakesNoCopyOfTheIdentity) {
  const std::string identity(1 << 20, 'x');
  std::size_t requested = 0;
  {
    testing::FailingAllocations counting(SIZE_MAX);
    const std::string code = MakeHostCode(identity, '.');
    requested = counting.BytesRequested();
  }
  EXPECT_LT(requested, 64u);
}

TEST(RenderQuotient, NegativeQuotientsCarryAMinusSign) {
  EXPECT_EQ(RenderQuotient(Quotient(-1385), '.'), "-0.197490375017824");
}

}  // namespace
}  // namespace hostcode
