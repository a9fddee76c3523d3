#include "sources/chart_rules.h"

#include "sources/chart_data.h"

#include <algorithm>

namespace orvek {

namespace {

int Direction(double from, double to)
{
    return to > from ? 1 : (to < from ? -1 : 0);
}

} // namespace

// The thresholds and counting rules are the system's own: level steps count towards a
// trend (test 3), tests 5 and 6 count consecutive points, test 8 counts points outside
// the one-sigma lines on either side.
void RunChartRuleTests(TChartData& d, const std::vector<double>& series, int first, int last)
{
    d.ChartRuleResults = 0;
    first = std::max(first, 1);
    last = std::min(last, int(series.size()) - 1);
    if (last < first)
        return;
    auto violated = [&](int test) { return (d.ChartRuleResults & (1u << test)) != 0; };
    auto mark = [&](int test) { d.ChartRuleResults |= quint16(1u << test); };
    const bool xChart = d.ChartType == 0;

    // Test 4: 14 points alternating up and down.
    int count = 0, direction = 0;
    for (int i = first + 1; i <= last && !violated(4); ++i) {
        const int step = Direction(series[i - 1], series[i]);
        if (step == 0) {
            count = 1;
            direction = 0;
        } else if (i > first + 1 && direction != 0 && step == -direction) {
            ++count;
            direction = step;
        } else {
            count = 2;
            direction = step;
        }
        if (count >= 14)
            mark(4);
    }

    int side = 0, sideCount = 0; // test 2
    int trend = 0, trendCount = 0; // test 3
    int beyond2Count = 0; // test 5
    int beyond1Count = 0; // test 6
    int withinCount = 0; // test 7
    int outsideCount = 0; // test 8
    const double cl = d.ChartCenterLine;
    for (int i = first, p = 1; i <= last; ++i, ++p) {
        const double v = series[i];
        if (!violated(1) && (v > d.ChartUCL || (xChart && v < d.ChartLCL)))
            mark(1);

        if (xChart && !violated(2)) {
            const int s = v > cl ? 1 : (v < cl ? -1 : 0);
            if (p == 1) {
                side = s;
                sideCount = s != 0 ? 1 : 0;
            } else if (s != 0) {
                if (s == side) {
                    ++sideCount;
                } else {
                    side = s;
                    sideCount = 1;
                }
            }
            if (sideCount >= 9)
                mark(2);
        }

        if (p >= 2 && !violated(3)) {
            const int step = Direction(series[i - 1], v);
            if (p == 2) {
                trend = step;
                trendCount = 2;
            } else if (step == 0) {
                ++trendCount;
            } else if (step == trend) {
                ++trendCount;
            } else {
                trend = step;
                trendCount = 2;
            }
            if (trendCount >= 6)
                mark(3);
        }

        if (!xChart)
            continue;

        if (!violated(5)) {
            if (v > d.ChartPlus2Sigma || v < d.ChartMinus2Sigma) {
                if (++beyond2Count >= 2)
                    mark(5);
            } else {
                beyond2Count = 0;
            }
        }

        if (!violated(6)) {
            if (v > d.ChartPlus1Sigma) {
                beyond1Count = (p > 1 && series[i - 1] > d.ChartPlus1Sigma) ? beyond1Count + 1 : 1;
            } else if (v < d.ChartMinus1Sigma) {
                beyond1Count = (p > 1 && series[i - 1] < d.ChartMinus1Sigma) ? beyond1Count + 1 : 1;
            } else {
                beyond1Count = 0;
            }
            if (beyond1Count >= 4)
                mark(6);
        }

        const bool within = v >= d.ChartMinus1Sigma && v <= d.ChartPlus1Sigma;
        if (!violated(7)) {
            withinCount = within ? withinCount + 1 : 0;
            if (withinCount >= 15)
                mark(7);
        }
        if (!violated(8)) {
            outsideCount = within ? 0 : outsideCount + 1;
            if (outsideCount >= 8)
                mark(8);
        }
    }
}

void CheckChartRules(TChartData& d, int choice, int method)
{
    d.ChartRuleMask = d.ChartType == 0 ? XChartRuleMask : RangeChartRuleMask;
    d.ChartRuleResults = 0;
    const int first = d.ChartRangeFirst, last = d.ChartRangeLast;
    // The output option counts by its low byte, as the statistics read it.
    choice &= 0xFF;
    if (d.ChartType == 0) {
        RunChartRuleTests(d, d.ChartXSeries, first, last);
    } else if (method == 11) {
        // The first point of the range has no moving range inside it.
        RunChartRuleTests(d, d.ChartRangeSeries, first + 1, last);
    } else if (choice == 1 || choice == 3) {
        RunChartRuleTests(d, d.ChartRelativeRanges, first, last);
    } else if (choice == 0 || choice == 2) {
        RunChartRuleTests(d, d.ChartRangeSeries, first, last);
    }
}

} // namespace orvek
