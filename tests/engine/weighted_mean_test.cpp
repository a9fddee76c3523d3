#include "engine/weighted_mean.h"

#include <cmath>
#include <gtest/gtest.h>

namespace orvek {
namespace {

TEST(WeightedMean, MeanAndTheLargerOfInternalAndExternalUncertainty)
{
    struct Case {
        std::vector<double> x, u;
        double mean, uMean;
    } cases[] = {
        // Scatter as the uncertainties say: chi^2 = 2, Birge ratio 1.
        { { 10, 12 }, { 1, 1 }, 11, 1 },
        // Scatter larger than the uncertainties: the external estimate wins.
        { { 10, 14 }, { 1, 1 }, 12, std::sqrt(0.5 * 8) },
        // Results that agree exactly keep their internal uncertainty (not 0).
        { { 5, 5 }, { 0.1, 0.1 }, 5, 0.1 / std::sqrt(2.0) },
        // Agreement better than expected: never below the internal estimate.
        { { 10, 10.1 }, { 1, 1 }, 10.05, std::sqrt(0.5) },
        // Unequal weights.
        { { 1, 2 }, { 1, 2 }, (1 + 2 / 4.0) / 1.25, std::sqrt(1 / 1.25) },
    };
    for (const Case& c : cases) {
        double mean = 0, u = 0;
        ASSERT_TRUE(ComputeWeightedMean(int(c.x.size()), c.x, c.u, u, mean));
        EXPECT_NEAR(mean, c.mean, 1e-12 * std::fabs(c.mean));
        EXPECT_NEAR(u, c.uMean, 1e-12 * c.uMean);
    }
}

TEST(WeightedMean, ZeroUncertaintyDominatesAndLimitsAreRefused)
{
    double mean = 0, u = 0;
    ASSERT_TRUE(ComputeWeightedMean(2, { 3, 7 }, { 0, 1 }, u, mean));
    EXPECT_NEAR(mean, 3, 1e-12);
    EXPECT_TRUE(std::isfinite(u));

    // One result has no scatter: a failure, the outputs untouched.
    mean = -1;
    u = -1;
    EXPECT_FALSE(ComputeWeightedMean(1, { 3 }, { 1 }, u, mean));
    EXPECT_EQ(mean, -1);
    EXPECT_EQ(u, -1);
    EXPECT_FALSE(ComputeWeightedMean(3, { 1, 2 }, { 1, 1 }, u, mean));

    std::vector<double> x(501, 1.0), w(501, 1.0);
    EXPECT_TRUE(ComputeWeightedMean(500, x, w, u, mean));
    EXPECT_NEAR(u, 1 / std::sqrt(500.0), 1e-12);
    EXPECT_FALSE(ComputeWeightedMean(501, x, w, u, mean));
}

} // namespace
} // namespace orvek
