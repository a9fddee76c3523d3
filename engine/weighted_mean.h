#pragma once
// The weighted mean of results that each carry a standard uncertainty; the source
// dialog's preview and the evaluation of stored sources use the same routine.

#include <vector>

namespace orvek {

// At most this many results are combined.
constexpr int MaxWeightedMeanResults = 500;

// Mean of the first N pairs (X[i], U[i]) weighted by 1/U[i]^2 (a U of 0 gets the
// variance 1e-98) and its standard uncertainty: the larger of the internal estimate
// 1/sqrt(sum of weights) and the external one scaled by the observed scatter
// (Birge ratio sqrt(chi^2/(N - 1))). False, with both outputs left unchanged, for
// N outside 2..500 or arrays shorter than N: one result has no scatter to estimate.
bool ComputeWeightedMean(
    int N, const std::vector<double>& X, const std::vector<double>& U, double& UMean, double& Mean);

} // namespace orvek
