#include "chart_fixtures.h"
#include "sources/chart_rules.h"

#include <functional>

namespace orvek {
namespace {

// An X chart centred on 0 with sigma 1.
TChartData XChart()
{
    TChartData d;
    d.ChartType = 0;
    d.ChartCenterLine = 0;
    d.ChartUCL = 3;
    d.ChartLCL = -3;
    d.ChartPlus2Sigma = 2;
    d.ChartMinus2Sigma = -2;
    d.ChartPlus1Sigma = 1;
    d.ChartMinus1Sigma = -1;
    return d;
}

// Series are 1-based; entry 0 is not a point.
std::vector<double> Series(std::initializer_list<double> points)
{
    std::vector<double> s { 0.0 };
    s.insert(s.end(), points);
    return s;
}

std::vector<double> Repeat(int n, const std::vector<double>& cycle)
{
    std::vector<double> s { 0.0 };
    for (int i = 0; i < n; ++i)
        s.push_back(cycle[i % cycle.size()]);
    return s;
}

quint16 Results(TChartData d, const std::vector<double>& s)
{
    RunChartRuleTests(d, s, 1, int(s.size()) - 1);
    return d.ChartRuleResults;
}

bool Violated(quint16 results, int test)
{
    return (results & (1u << test)) != 0;
}

TEST(ChartRuleTests, EachTestNeedsItsFullRunOfPoints)
{
    auto rising = [](int n) {
        std::vector<double> s { 0.0 };
        for (int i = 0; i < n; ++i)
            s.push_back(-0.9 + 0.1 * i);
        return s;
    };
    struct Case {
        int test, points;
        std::function<std::vector<double>(int)> make;
    } cases[] = {
        { 2, 9,
            [](int n) {
                return Repeat(n, { 0.5, 0.6 });
            } },
        { 3, 6, rising },
        { 4, 14,
            [](int n) {
                return Repeat(n, { 0.1, -0.1 });
            } },
        { 5, 2, [](int n) { return Repeat(n, { 2.5 }); } },
        { 6, 4,
            [](int n) {
                return Repeat(n, { -1.5, -1.6 });
            } },
        { 7, 15,
            [](int n) {
                return Repeat(n, { 0.5, -0.5, 0.6, -0.4 });
            } },
        { 8, 8,
            [](int n) {
                return Repeat(n, { 1.5, -1.5 });
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.test);
        EXPECT_FALSE(Violated(Results(XChart(), c.make(c.points - 1)), c.test));
        EXPECT_TRUE(Violated(Results(XChart(), c.make(c.points)), c.test));
    }
}

TEST(ChartRuleTests, LimitsAreViolatedOnlyBeyondThem)
{
    EXPECT_FALSE(Violated(Results(XChart(), Series({ 3, -3, 0 })), 1));
    EXPECT_TRUE(Violated(Results(XChart(), Series({ 0, 3.01 })), 1));
    EXPECT_TRUE(Violated(Results(XChart(), Series({ 0, -3.01 })), 1));
}

TEST(ChartRuleTests, PatternsAroundTheLines)
{
    // A point exactly on the centre line neither breaks nor counts the run of test 2.
    std::vector<double> run = Repeat(8, { 0.5, 0.6 });
    run.push_back(0.0);
    run.push_back(0.7);
    EXPECT_TRUE(Violated(Results(XChart(), run), 2));
    run[9] = -0.1;
    EXPECT_FALSE(Violated(Results(XChart(), run), 2));

    // Six equal values are a trend: level steps count.
    EXPECT_TRUE(Violated(Results(XChart(), Repeat(6, { 0.3 })), 3));

    // Beyond +2 sigma and -2 sigma in direct succession.
    EXPECT_TRUE(Violated(Results(XChart(), Series({ 0, 2.5, -2.5 })), 5));

    // Four points above +1 sigma anywhere, but not alternating sides; those count for test 8.
    EXPECT_TRUE(Violated(Results(XChart(), Series({ 0, 0.2, 1.2, 1.5, 1.1, 1.9, 0 })), 6));
    const quint16 alternating = Results(XChart(), Repeat(4, { 1.5, -1.5 }));
    EXPECT_FALSE(Violated(alternating, 6));
    EXPECT_TRUE(Violated(Results(XChart(), Repeat(8, { 1.5, -1.5 })), 8));
}

TEST(ChartRuleTests, RangeChartUsesOnlyTestsOneThreeAndFour)
{
    TChartData d = XChart();
    d.ChartType = 1;
    const quint16 results = Results(d, Repeat(20, { 2.5, 3.5 }));
    EXPECT_EQ(results & ~RangeChartRuleMask, 0);
    EXPECT_TRUE(Violated(results, 1));
    EXPECT_TRUE(Violated(results, 4));
    // Below the lower limit is no violation of the range chart.
    EXPECT_EQ(Results(d, Series({ -5, 0.5, -5 })), 0);
}

TEST(CheckChartRules, TestsTheSeriesTheChartShows)
{
    // Moving-range chart: the first point of the range has no moving range inside it
    // and is not tested, though the series shows the jump from the point before.
    TVstupStandardnejNeistoty rec = test::IndividualsRecord(test::NumberTexts({ 100, 0, 1, 0, 1, 0, 1 }));
    rec.UR_7 = 1;
    rec.R_OD_7 = 2;
    rec.R_DO_7 = 7;
    TChartData d;
    d.ChartType = 1;
    QString error, reason;
    ASSERT_TRUE(LoadChartDataFromInput(d, rec, error));
    ASSERT_TRUE(ComputeIndividualsChart(d, {}, {}, rec, reason));
    EXPECT_DOUBLE_EQ(d.ChartRangeSeries[2], 100);
    CheckChartRules(d, 0, 11);
    EXPECT_EQ(d.ChartRuleMask, RangeChartRuleMask);
    EXPECT_EQ(d.ChartRuleResults, 0);

    d.ChartType = 0;
    ASSERT_TRUE(ComputeIndividualsChart(d, {}, {}, rec, reason));
    CheckChartRules(d, 0, 11);
    EXPECT_EQ(d.ChartRuleMask, XChartRuleMask);

    // Subgroups: relative ranges under options 1 and 3, none for other options.
    TChartData s;
    s.ChartType = 1;
    s.ChartRangeFirst = 1;
    s.ChartRangeLast = 2;
    s.ChartUCL = 1;
    s.ChartRangeSeries[1] = 0.5;
    s.ChartRelativeRanges[2] = 5;
    CheckChartRules(s, 1, 12);
    EXPECT_TRUE(Violated(s.ChartRuleResults, 1));
    CheckChartRules(s, 2, 12);
    EXPECT_EQ(s.ChartRuleResults, 0);
    s.ChartRangeSeries[1] = 5;
    CheckChartRules(s, 0, 12);
    EXPECT_TRUE(Violated(s.ChartRuleResults, 1)); // the first subgroup is tested
    CheckChartRules(s, 7, 12);
    EXPECT_EQ(s.ChartRuleResults, 0);
}

TEST(CheckChartRules, OutputOptionIsComparedByItsLowByte)
{
    // A record's integer options count by their low byte: 257 is option 1, 258 option 2,
    // as the statistics read them.
    TChartData s;
    s.ChartType = 1;
    s.ChartRangeFirst = 1;
    s.ChartRangeLast = 2;
    s.ChartUCL = 1;
    s.ChartRangeSeries[1] = 5;
    s.ChartRelativeRanges[2] = 5;
    for (int choice : { 1, 257, 3, 0x1003 }) {
        s.ChartRangeSeries[1] = 0.5;
        CheckChartRules(s, choice, 12);
        EXPECT_TRUE(Violated(s.ChartRuleResults, 1)) << choice;
    }
    s.ChartRelativeRanges[2] = 0.5;
    s.ChartRangeSeries[1] = 5;
    for (int choice : { 0, 256, 2, 258 }) {
        CheckChartRules(s, choice, 12);
        EXPECT_TRUE(Violated(s.ChartRuleResults, 1)) << choice;
    }
}

TEST(CheckChartRules, AChartWithoutResultViolatesNothing)
{
    TVstupStandardnejNeistoty rec = test::IndividualsRecord(test::NumberTexts({ 100 }));
    TChartData d;
    QString error, reason;
    ASSERT_TRUE(LoadChartDataFromInput(d, rec, error));
    EXPECT_FALSE(ComputeIndividualsChart(d, {}, {}, rec, reason));
    CheckChartRules(d, 0, 11);
    EXPECT_EQ(d.ChartRuleResults, 0);
}

} // namespace
} // namespace orvek
