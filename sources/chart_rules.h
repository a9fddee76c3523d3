#pragma once
// The eight run tests of a computed control chart: patterns of points that show a
// process out of control.

#include <vector>

namespace orvek {

struct TChartData;

// Sets ChartRuleMask by the chart type and runs the run tests on the series the chart
// shows: the X chart on ChartXSeries, the moving-range chart (Method 11) on
// ChartRangeSeries from the second point of the range, the range chart of subgroups
// (Method 12) on ChartRelativeRanges when Choice (the record's output option) is 1
// or 3 and on ChartRangeSeries when it is 0 or 2; other choices test nothing. A chart
// without result has no range and violates nothing.
void CheckChartRules(TChartData& Data, int Choice, int Method);

// The tests over the points First..Last of Series (1-based, clamped to the series),
// against the centre line, limits and zone lines of Data; the bits of the violated
// tests go into ChartRuleResults. Test 4 runs first; a test that is violated is not
// evaluated further. Tests 2 and 5 to 8 run on the X chart only.
void RunChartRuleTests(TChartData& Data, const std::vector<double>& Series, int First, int Last);

} // namespace orvek
