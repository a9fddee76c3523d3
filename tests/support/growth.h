#pragma once
// How the cost of a routine grows with the size of its input, measured within one run.
// Tests assert the ratio of two sizes' costs, never a time: a quadratic routine shows
// about 4 where a linear one shows about 2. Costs are the thread's processor time, which
// a loaded machine does not stretch as it stretches the wall clock. Hangs are left to
// ctest's per-test timeout.

#include <functional>

namespace orvek::test {

// The best of Repeats costs of Run(2 * N) divided by the best of Repeats costs of Run(N).
double GrowthRatio(const std::function<void(int)>& run, int n, int repeats = 5);

} // namespace orvek::test
