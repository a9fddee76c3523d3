#include "tests/support/growth.h"

#include <algorithm>
#include <ctime>
#include <limits>

namespace orvek::test {

namespace {
// The processor time this thread spent: time the thread waited for a processor, which
// is what a loaded machine adds, does not count.
long long ThreadNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

long long Nanoseconds(const std::function<void(int)>& run, int size, int times)
{
    const long long start = ThreadNanoseconds();
    for (int i = 0; i < times; ++i)
        run(size);
    return std::max(ThreadNanoseconds() - start, 1LL);
}
} // namespace

double GrowthRatio(const std::function<void(int)>& run, int n, int repeats)
{
    // Each timing spans enough calls to last some tens of milliseconds, so that the
    // clock's grain counts for little.
    constexpr long long kSpan = 30'000'000;
    int times = 1;
    while (times < (1 << 16) && Nanoseconds(run, n, times) < kSpan)
        times *= 2;
    // The two sizes alternate, so a spell of disturbance falls on both rather than on one.
    long long small = std::numeric_limits<long long>::max(), large = small;
    for (int i = 0; i < std::max(1, repeats); ++i) {
        small = std::min(small, Nanoseconds(run, n, times));
        large = std::min(large, Nanoseconds(run, 2 * n, times));
    }
    return double(large) / double(small);
}

} // namespace orvek::test
