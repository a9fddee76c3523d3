#include "engine/weighted_mean.h"

#include <algorithm>
#include <cmath>

namespace orvek {

bool ComputeWeightedMean(int N, const std::vector<double>& X, const std::vector<double>& U, double& UMean, double& Mean)
{
    if (N < 2 || N > MaxWeightedMeanResults || int(X.size()) < N || int(U.size()) < N)
        return false;
    // Sums in extended precision; a zero uncertainty gives an overwhelming weight.
    std::vector<long double> variance(static_cast<size_t>(N));
    long double sumWeights = 0, sumWeighted = 0;
    for (int i = 0; i < N; ++i) {
        long double v = (long double)U[size_t(i)] * U[size_t(i)];
        if (v == 0)
            v = 1e-98L;
        variance[size_t(i)] = v;
        sumWeights += 1 / v;
        sumWeighted += X[size_t(i)] / v;
    }
    const long double mean = sumWeighted / sumWeights;
    const long double internal = 1 / sumWeights;
    long double chi2 = 0;
    for (int i = 0; i < N; ++i) {
        const long double d = X[size_t(i)] - mean;
        long double term = d * d / variance[size_t(i)];
        if (term == 0)
            term = 1e-98L;
        chi2 += term;
    }
    const long double external = internal * chi2 / (N - 1);
    // Never below the internal estimate: results that agree better than their
    // uncertainties say do not make the mean more certain than they are.
    const long double u = std::sqrt(std::max(internal, external));
    if (!std::isfinite(double(mean)) || !std::isfinite(double(u)))
        return false;
    Mean = double(mean);
    UMean = double(u);
    return true;
}

} // namespace orvek
