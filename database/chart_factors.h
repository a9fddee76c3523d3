#pragma once
// Control-chart factors by subgroup size, filled from the table RD_Parameters when the
// database opens.

#include <array>

namespace orvek {

// The factors of one subgroup size, in the order the table stores them.
enum ChartFactor : int { kA1 = 0, kA2, kA3, kD1, kD2, kD3, kD4, kd2, kC4, kChartFactorCount };

inline constexpr int kMinSubgroupSize = 2;
inline constexpr int kMaxSubgroupSize = 25;

// ChartFactors[n][k]: factor k of subgroup size n (2..25); rows 0 and 1 are unused.
inline std::array<std::array<double, kChartFactorCount>, kMaxSubgroupSize + 1> ChartFactors {};

} // namespace orvek
