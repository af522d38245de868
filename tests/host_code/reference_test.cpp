// The extended-precision reference must itself follow the rule before it can
// judge the product: it is held to the same published examples.

#include "reference_host_code.h"

#include <gtest/gtest.h>

#include <cmath>

#include "worked_examples.h"

namespace hostcode {
namespace {

class Reference : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!reference::Available()) GTEST_SKIP() << reference::UnavailableReason();
  }
};

TEST_F(Reference, ReproducesTheWorkedExamples) {
  for (const auto& row : kWorkedExamples) {
    SCOPED_TRACE(row.name);
    const double sum = reference::WeightedSum(row.identity);
    EXPECT_EQ(sum, static_cast<double>(row.weightedSum));
    const std::string rendered = reference::RenderQuotient(reference::Quotient(sum), '.');
    EXPECT_EQ(rendered, row.rendered);
    EXPECT_EQ(reference::CutHostCode(rendered), row.code);
  }
}

TEST_F(Reference, RoundsTheQuotientTwice) {
  EXPECT_EQ(reference::Quotient(6253), std::ldexp(2007771885779817.0, -51));
  EXPECT_EQ(reference::RenderQuotient(reference::Quotient(57970), '.'), "8.26607728504207");
  EXPECT_EQ(reference::RenderQuotient(reference::Quotient(42179), '.'), "6.01440182518181");
}

}  // namespace
}  // namespace hostcode
