#include "sources/chart_plot.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "sources/chart_data.h"
#include "tests/sources/chart_fixtures.h"

namespace orvek::test {
namespace {

// An individuals chart with the limits set by hand: CL 10, UCL 13, LCL 7, s 1.
TChartData KnownIndividuals(std::initializer_list<double> values)
{
    TChartData d;
    int i = 0;
    for (double v : values) {
        ++i;
        d.ChartPointValues[size_t(i)][0] = v;
        d.ChartXSeries[size_t(i)] = v;
        d.ChartRangeSeries[size_t(i)] = i > 1 ? std::fabs(v - d.ChartXSeries[size_t(i - 1)]) : 0;
        d.ChartSubgroupSizes[size_t(i)] = 1;
    }
    d.ChartPointCount = d.ChartUsedCount = i;
    d.ChartRangeFirst = 1;
    d.ChartRangeLast = i;
    d.ChartCenterLine = 10;
    d.ChartUCL = 13;
    d.ChartLCL = 7;
    d.ChartPlus2Sigma = 12;
    d.ChartMinus2Sigma = 8;
    d.ChartPlus1Sigma = 11;
    d.ChartMinus1Sigma = 9;
    d.ChartSD = 1;
    d.ChartAllDated = true;
    return d;
}

TEST(ChartPlot, PointsArePlacedByDateOnlyWhenAllAreDatedAndDividing)
{
    TChartData d = KnownIndividuals({ 10, 11, 9 });
    d.ChartDates[1] = QDate(2026, 3, 1);
    d.ChartDates[2] = QDate(2026, 3, 4);
    d.ChartDates[3] = QDate(2026, 3, 10);
    d.ChartDateTexts[2] = "4.3.2026";
    const struct {
        bool allDated, divide, dateLabels;
        double x2, x3;
        const char* label2;
    } cases[] = {
        { true, true, false, 4, 10, "2" },
        { true, false, false, 2, 3, "2" },
        { true, true, true, 4, 10, "4.3.2026" },
        { false, true, true, 2, 3, "2" },
    };
    for (const auto& c : cases) {
        d.ChartAllDated = c.allDated;
        d.ChartDivideByDate = c.divide;
        d.ChartDateLabels = c.dateLabels;
        double x = 0;
        QString label;
        ChartPointPosition(d, 1, x, label);
        EXPECT_EQ(x, 1);
        ChartPointPosition(d, 2, x, label);
        EXPECT_EQ(x, c.x2);
        EXPECT_EQ(label, c.label2);
        const TChartPlot plot = BuildChartPlot(d, {});
        ASSERT_EQ(plot.Series[PointSeries].Points.size(), 3u);
        EXPECT_EQ(plot.Series[PointSeries].Points[2].X, c.x3);
        // Lines run from x = 1 to the last point's x.
        EXPECT_EQ(plot.Series[UclSeries].Points.front().X, 1);
        EXPECT_EQ(plot.Series[UclSeries].Points.back().X, c.x3);
    }
}

TEST(ChartPlot, ValueAxisSpansTheLimitsAndWidensToTheData)
{
    ChartLimitValue = 15;
    TChartData inside = KnownIndividuals({ 10, 11, 9, 10 });
    TChartPlot plot = BuildChartPlot(inside, { 11, 0, "10", false });
    EXPECT_DOUBLE_EQ(plot.AxisMaximum, 13.5);
    EXPECT_DOUBLE_EQ(plot.AxisMinimum, 6.5);
    EXPECT_DOUBLE_EQ(plot.AxisIncrement, 7.0 / 8);
    EXPECT_EQ(plot.Series[CenterLineSeries].LineLabel, "Xo");
    EXPECT_EQ(plot.Series[UclSeries].LineLabel, "UCL");
    EXPECT_EQ(plot.Series[LclSeries].LineLabel, "LCL");
    EXPECT_EQ(plot.Series[LclSeries].Points.size(), 3u);
    EXPECT_EQ(plot.Series[LowerTwoSigmaSeries].Points.front().Y, 8);

    TChartData outside = KnownIndividuals({ 10, 15, 5.5, 10 });
    plot = BuildChartPlot(outside, { 11, 0, "10", false });
    EXPECT_DOUBLE_EQ(plot.AxisMaximum, 15.5);
    EXPECT_DOUBLE_EQ(plot.AxisMinimum, 5);

    // The moving-range chart starts at point 2, hides the lower lines and bottoms at
    // the lower two-sigma line unless a range lies below it.
    outside.ChartType = 1;
    plot = BuildChartPlot(outside, { 11, 0, "10", false });
    ASSERT_EQ(plot.Series[PointSeries].Points.size(), 3u);
    EXPECT_EQ(plot.Series[PointSeries].Points[0].X, 2);
    EXPECT_DOUBLE_EQ(plot.Series[PointSeries].Points[0].Y, 5);
    for (int s : { LclSeries, LowerTwoSigmaSeries, LowerOneSigmaSeries }) {
        EXPECT_FALSE(plot.Series[size_t(s)].Active);
        EXPECT_TRUE(plot.Series[size_t(s)].Points.empty());
    }
    EXPECT_DOUBLE_EQ(plot.AxisMaximum, 13.5);
    EXPECT_DOUBLE_EQ(plot.AxisMinimum, 4.5 - 0.5);
    EXPECT_EQ(plot.LeftTitle, GetString(990));
    outside = KnownIndividuals({ 10, 19, 10, 19 });
    outside.ChartType = 1;
    plot = BuildChartPlot(outside, { 11, 0, "10", false });
    EXPECT_DOUBLE_EQ(plot.AxisMinimum, 8);
}

TEST(ChartPlot, SubgroupTitlesAreRelativeByTheUncertaintyOption)
{
    TChartData d = KnownIndividuals({ 10, 11, 9 });
    d.ChartValueDecimals = 2;
    d.ChartUCL = 13.456;
    d.ChartRelativeRanges[1] = 1;
    const struct {
        int option;
        quint8 type;
        const char* ucl;
        QString left;
        QString points;
    } cases[] = {
        { 0, 0, " UCL (13.46)", GetString(991), GetString(961) },
        { 2, 1, " UCL (13.46)", GetString(990), GetString(961) },
        { 1, 0, " UCL (13.46 %)", GetString(991), GetString(961) + " %" },
        { 3, 1, " UCL (13.46 %)", GetString(1084) + " [%]", GetString(961) + " %" },
    };
    for (const auto& c : cases) {
        d.ChartType = c.type;
        const TChartPlot plot = BuildChartPlot(d, { 12, c.option, {}, false });
        EXPECT_EQ(plot.Series[UclSeries].Title, c.ucl) << c.option;
        EXPECT_EQ(plot.LeftTitle, c.left) << c.option;
        EXPECT_EQ(plot.Series[PointSeries].Title, c.points) << c.option;
        EXPECT_EQ(plot.Series[CenterLineSeries].Title, GetString(962) + " (10.00)");
        // The subgroup range chart keeps its LCL and drops the sigma lines.
        EXPECT_EQ(plot.Series[LclSeries].Active, true);
        EXPECT_EQ(plot.Series[UpperTwoSigmaSeries].Active, c.type == 0);
    }
}

TEST(ChartPlot, EvaluatedSubRangeOfSubgroupsIsAqua)
{
    TChartData d = KnownIndividuals({ 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10 });
    d.ChartRangeFirst = 5;
    d.ChartRangeLast = 10;
    TChartPlot plot = BuildChartPlot(d, { 12, 0, {}, true });
    ASSERT_EQ(plot.Series[PointSeries].Points.size(), 20u);
    for (int i = 1; i <= 20; ++i)
        EXPECT_EQ(plot.Series[PointSeries].Points[size_t(i - 1)].Colour,
            i >= 5 && i <= 10 ? TPlotColour::Aqua : TPlotColour::Green)
            << i;
    plot = BuildChartPlot(d, { 12, 0, {}, false });
    EXPECT_EQ(plot.Series[PointSeries].Points[6].Colour, TPlotColour::Green);
    d.ChartRangeFirst = 1;
    d.ChartRangeLast = 20;
    plot = BuildChartPlot(d, { 12, 0, {}, true });
    EXPECT_EQ(plot.Series[PointSeries].Points[6].Colour, TPlotColour::Green);
}

TChartPlotOptions WindowOptions(int method, int option, int markFirst = 0, int markLast = 0)
{
    TChartPlotOptions o;
    o.Method = method;
    o.UncertaintyOption = option;
    o.CenterLineText = "10";
    o.DetailWindow = true;
    o.MarkFirst = markFirst;
    o.MarkLast = markLast;
    return o;
}

TEST(ChartPlot, WindowTitlesTheLinesWithTheirValues)
{
    TChartData d = KnownIndividuals({ 10, 11, 9, 10 });
    d.ChartValueDecimals = 2;
    d.ChartDecimals = 1;
    d.ChartMean = 10.004;
    d.ChartMeanRange = 1.333;
    d.ChartUCL = 13.456;
    d.ChartLCL = 6.544;
    d.ChartCenterLine = 10.004;
    const struct {
        int method, option;
        quint8 type;
        const char *cl, *ucl, *lcl;
        QString points;
    } cases[] = {
        // Individuals: the X chart's centre line is the mean, the range chart's the mean range.
        { 11, 0, 0, "CL (10.00)", " UCL (13.46)", " LCL (6.54)", GetString(961) },
        { 11, 0, 1, "CL (1.33)", " UCL (13.46)", " LCL (6.54)", GetString(961) },
        // Subgroups: per cent only on the relative range chart, with the per-cent decimals.
        { 12, 1, 0, "CL (10.00)", " UCL (13.46)", " LCL (6.54)", GetString(961) },
        { 12, 2, 1, "CL (10.00)", " UCL (13.46)", " LCL (6.54)", GetString(961) },
        { 12, 3, 1, "CL (10.0 %)", " UCL (13.5 %)", " LCL (6.5 %)", GetString(961) + " %" },
    };
    for (const auto& c : cases) {
        d.ChartType = c.type;
        const TChartPlot plot = BuildChartPlot(d, WindowOptions(c.method, c.option));
        SCOPED_TRACE(testing::Message() << c.method << "/" << c.option << "/" << int(c.type));
        EXPECT_EQ(plot.Series[CenterLineSeries].Title, c.cl);
        EXPECT_EQ(plot.Series[UclSeries].Title, c.ucl);
        EXPECT_EQ(plot.Series[LclSeries].Title, c.lcl);
        EXPECT_EQ(plot.Series[PointSeries].Title, c.points);
    }
}

TEST(ChartPlot, WindowRangeChartOfSubgroupsShowsItsUclOnlyAndStepsByTheLimitValue)
{
    ChartLimitValue = 15;
    TChartData d = KnownIndividuals({ 10, 11, 9, 10 });
    d.ChartType = 1;
    TChartPlot page = BuildChartPlot(d, { 12, 0, {}, false });
    TChartPlot window = BuildChartPlot(d, WindowOptions(12, 0));
    EXPECT_TRUE(page.Series[LclSeries].Active);
    EXPECT_FALSE(window.Series[LclSeries].Active);
    EXPECT_TRUE(window.Series[LclSeries].Points.empty());
    for (int s = LclSeries; s <= LowerOneSigmaSeries; ++s)
        EXPECT_FALSE(window.Series[size_t(s)].Active) << s;
    for (int s : { PointSeries, CenterLineSeries, UclSeries })
        EXPECT_TRUE(window.Series[size_t(s)].Active) << s;
    // The same range, in fifteen steps in a window and seven and a half on a page.
    EXPECT_DOUBLE_EQ(window.AxisMaximum, page.AxisMaximum);
    EXPECT_DOUBLE_EQ(window.AxisMinimum, page.AxisMinimum);
    EXPECT_DOUBLE_EQ(window.AxisIncrement, (window.AxisMaximum - window.AxisMinimum) / 15);
    EXPECT_DOUBLE_EQ(page.AxisIncrement, (page.AxisMaximum - page.AxisMinimum) / 8);

    // An X-bar chart of a relative u keeps its own axis: a third of the distance to the
    // centre line beyond both limits.
    d.ChartType = 0;
    window = BuildChartPlot(d, WindowOptions(12, 1));
    EXPECT_DOUBLE_EQ(window.AxisMaximum, 14);
    EXPECT_DOUBLE_EQ(window.AxisMinimum, 6);
    EXPECT_TRUE(window.Series[LowerOneSigmaSeries].Active);
}

TEST(ChartPlot, WindowMarksTheEvaluatedSubRangeOnEitherChart)
{
    TChartData d = KnownIndividuals({ 10, 11, 9, 10, 12, 8 });
    const auto aqua = [](const TChartPlot& plot) {
        std::vector<double> xs;
        for (const TPlotPoint& p : plot.Series[PointSeries].Points)
            if (p.Colour == TPlotColour::Aqua)
                xs.push_back(p.X);
        return xs;
    };
    const struct {
        int method;
        quint8 type;
        int first, last;
        std::vector<double> marked;
    } cases[] = {
        { 11, 0, 2, 4, { 2, 3, 4 } }, { 11, 1, 1, 3, { 2, 3 } }, // the moving ranges start at point 2
        { 12, 0, 5, 6, { 5, 6 } }, { 12, 1, 3, 5, { 3, 4, 5 } }, { 11, 0, 1, 6, {} }, // the range holds every point
        { 12, 0, 0, 0, {} }, // no sub-range
    };
    for (const auto& c : cases) {
        d.ChartType = c.type;
        EXPECT_EQ(aqua(BuildChartPlot(d, WindowOptions(c.method, 0, c.first, c.last))), c.marked)
            << c.method << " " << c.first << ".." << c.last;
    }
    // In a window the marks come from the options alone.
    d.ChartType = 0;
    d.ChartRangeFirst = 2;
    d.ChartRangeLast = 3;
    TChartPlotOptions options = WindowOptions(12, 0);
    options.MarkEvaluatedRange = true;
    EXPECT_TRUE(aqua(BuildChartPlot(d, options)).empty());
}

TEST(ChartPlot, NoPointsGivesTitlesOnly)
{
    TChartData d;
    const TChartPlot plot = BuildChartPlot(d, {});
    for (const TPlotSeries& s : plot.Series)
        EXPECT_TRUE(s.Points.empty());
    EXPECT_EQ(plot.BottomTitle, GetString(959));
}

} // namespace
} // namespace orvek::test
