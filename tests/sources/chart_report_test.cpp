#include "chart_fixtures.h"
#include "core/common_vars.h"
#include "core/string_table.h"
#include "sources/chart_report.h"
#include "tests/support/test_env.h"

namespace orvek {
namespace {

class ChartReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = test::TestProgramFolder();
        LanguageID = 0;
    }
    void TearDown() override { LanguageID = EditionFlag; }

    ChartReportProvider provider { [] { return test::PublishedChartFactors(); } };
};

const QStringList kReadings = { "10.25", "10.5", "9.9", "10.1", "10.4", "9.8", "10.0", "10.3" };

TEST_F(ChartReportTest, DescribesAChartWithItsOwnTypeAndWritesTheResultsIntoTheRecord)
{
    TVstupStandardnejNeistoty rec = test::IndividualsRecord(kReadings);
    rec.DD_7 = 1;
    rec.HSN = "old";
    const ChartReport report = provider.DescribeChart(rec, "10", "g", 2);
    ASSERT_TRUE(report.Computed) << report.Reason.toStdString();
    const qsizetype statistics = report.Markup.indexOf("[cf3]" + GetString(977) + " R[cf1]");
    const qsizetype points = report.Markup.indexOf("[cf3]" + GetString(1035) + "[cf1]");
    const qsizetype tests = report.Markup.indexOf("[cf3]" + GetString(963) + "[cf1]");
    EXPECT_EQ(statistics, 0);
    EXPECT_GT(points, statistics);
    EXPECT_GT(tests, points);
    EXPECT_TRUE(report.Markup.contains("\t10.25\t")); // values shown with the decimals they were typed with
    EXPECT_TRUE(report.Markup.contains(" g\r"));
    EXPECT_NE(rec.HSN, "old");
    EXPECT_EQ(rec.PSV_7, "7");
}

TEST_F(ChartReportTest, LeavesTheSharedChartAlone)
{
    TChartData before = ChartData;
    ChartData.ChartPointCount = 3;
    ChartData.ChartXSeries[2] = 42;
    TVstupStandardnejNeistoty rec = test::IndividualsRecord(kReadings);
    EXPECT_TRUE(provider.DescribeChart(rec, {}, {}, 2).Computed);
    EXPECT_EQ(ChartData.ChartPointCount, 3);
    EXPECT_EQ(ChartData.ChartXSeries[2], 42);
    ChartData = before;
}

TEST_F(ChartReportTest, ChartsWithoutResultGiveTheReasonInsteadOfTables)
{
    TVstupStandardnejNeistoty given = test::IndividualsRecord(kReadings);
    given.RPSS_7 = 1; // given parameters, none stored
    ChartReport report = provider.DescribeChart(given, {}, {}, 2);
    EXPECT_FALSE(report.Computed);
    EXPECT_EQ(report.Reason, GetString(13008));
    EXPECT_TRUE(report.Markup.isEmpty());

    TVstupStandardnejNeistoty bad = test::IndividualsRecord({ "1", "", "3" });
    report = provider.DescribeChart(bad, {}, {}, 2);
    EXPECT_FALSE(report.Computed);
    EXPECT_EQ(report.Reason, GetString(13005, { 2, "" }));

    ChartReportProvider noFactors { [] { return TChartFactorTable {}; } };
    TVstupStandardnejNeistoty sub = test::SubgroupRecord({ { "1", "2" }, { "2", "4" } });
    sub.HSN = "0.5";
    report = noFactors.DescribeChart(sub, {}, {}, 2);
    EXPECT_FALSE(report.Computed);
    EXPECT_EQ(report.Reason, GetString(13009, { 2 }));
    EXPECT_TRUE(sub.HSN.isEmpty());
}

TEST_F(ChartReportTest, GivenParametersThatAreNoNumbersGiveNoResult)
{
    // A damaged record must not pass for a chart with s = 0 and u = 0.
    for (const auto& [s, cl] : { std::pair<QString, QString> { "abc", "10" }, { "0.5", "1..0" } }) {
        TVstupStandardnejNeistoty given = test::IndividualsRecord(kReadings);
        given.RPSS_7 = 1;
        given.SO_7 = s;
        given.CLX_7 = cl;
        given.HSN = "0.5";
        const ChartReport report = provider.DescribeChart(given, {}, {}, 2);
        EXPECT_FALSE(report.Computed) << s.toStdString();
        EXPECT_EQ(report.Reason, GetString(13008));
        EXPECT_NE(given.HSN, "0");
    }
}

TEST_F(ChartReportTest, GivenParametersOfASubgroupChartComeFromTheRecord)
{
    TVstupStandardnejNeistoty sub
        = test::SubgroupRecord({ { "5.01", "4.99" }, { "5.02", "5.00" }, { "4.98", "5.00" } });
    sub.RPSS_8 = 1;
    sub.CLX_8 = "5";
    sub.SO_8 = "0,02";
    const ChartReport report = provider.DescribeChart(sub, {}, "mm", 2);
    ASSERT_TRUE(report.Computed) << report.Reason.toStdString();
    EXPECT_EQ(test::NumberOf(sub.HSN), 0.02);
    EXPECT_TRUE(report.Markup.contains("\t5.06 mm\r")); // UCL = 5 + 3 x 0.02
}

} // namespace
} // namespace orvek
