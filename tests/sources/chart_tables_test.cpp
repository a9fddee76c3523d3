#include "chart_fixtures.h"
#include "core/common_vars.h"
#include "core/string_table.h"
#include "richtext/report_table.h"
#include "sources/chart_rules.h"
#include "sources/chart_tables.h"
#include "tests/support/test_env.h"

namespace orvek {
namespace {

// The texts of the build's string table, in English.
class ChartTables : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = test::TestProgramFolder();
        LanguageID = 0;
        ASSERT_EQ(GetString(963), "Tests of unusual patterns");
    }
    void TearDown() override { LanguageID = EditionFlag; }
};

QString Bold(int id)
{
    return "[cf3]" + GetString(id) + "[cf1]";
}

QStringList Column(const std::vector<QStringList>& rows, int column)
{
    QStringList cells;
    for (const QStringList& row : rows)
        cells << row.value(column);
    return cells;
}

// The value beside a label.
QString ValueOf(const std::vector<QStringList>& rows, const QString& label)
{
    for (const QStringList& row : rows)
        if (row.value(0) == label)
            return row.value(1);
    ADD_FAILURE() << "no row " << label.toStdString();
    return {};
}

struct Computed {
    TChartData data;
    TVstupStandardnejNeistoty rec;
};

Computed Compute(TVstupStandardnejNeistoty rec, quint8 chartType, const QString& value = {})
{
    Computed c { TChartData(), rec };
    c.data.ChartType = chartType;
    c.data.ChartFactors = test::PublishedChartFactors();
    c.data.ChartNumberMask = "0.00";
    c.data.SourceQuantityUnit = "mm";
    c.data.SourceQuantityValue = value;
    QString error, reason;
    EXPECT_TRUE(LoadChartDataFromInput(c.data, c.rec, error));
    const bool ok = c.rec.TSN == 11 ? ComputeIndividualsChart(c.data, c.rec.SO_7, c.rec.CLX_7, c.rec, reason)
                                    : ComputeSubgroupChart(c.data, c.rec.SO_8, c.rec.CLX_8, c.rec, reason);
    EXPECT_TRUE(ok) << reason.toStdString();
    CheckChartRules(c.data, c.rec.TSN == 11 ? c.rec.OV_7 : c.rec.OV_8, c.rec.TSN);
    return c;
}

const QStringList kReadings = test::NumberTexts({ 10.2, 10.5, 9.9, 10.1, 10.4, 9.8, 10.0, 10.3 });

TEST_F(ChartTables, RunTestTableListsTheEnabledTestsAndFlagsViolations)
{
    TChartData d;
    d.ChartRuleMask = XChartRuleMask;
    d.ChartRuleResults = (1 << 2) | (1 << 5);
    QString text = "before";
    BuildRuleTestTable(d, text);
    // Columns of 450, 5000 and 1100 twips, the first widened to hold its bold "No.".
    EXPECT_TRUE(text.startsWith("before\r" + Bold(963) + "\r\r:TABLE_BEGIN[3,9]10,50,"));
    const auto rows = test::TableRows(text);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0], QStringList({ "[cf3]No.[cf1]", Bold(964), Bold(965) }));
    EXPECT_EQ(rows[2], QStringList({ "[cf3]2.[cf1]", GetString(1059), Bold(966) }));
    EXPECT_EQ(rows[3][2], GetString(967));
    EXPECT_EQ(rows[5][2], Bold(966));
    EXPECT_TRUE(d.ChartOutOfControl);
    EXPECT_EQ(ReportTable, nullptr);

    // The range chart: tests 1, 3 and 4, numbered 1. to 3.; none violated.
    d.ChartRuleMask = RangeChartRuleMask;
    d.ChartRuleResults = 0;
    text.clear();
    BuildRuleTestTable(d, text);
    const auto range = test::TableRows(text);
    ASSERT_EQ(range.size(), 4u);
    EXPECT_EQ(Column(range, 0), QStringList({ "[cf3]No.[cf1]", "[cf3]1.[cf1]", "[cf3]2.[cf1]", "[cf3]3.[cf1]" }));
    EXPECT_EQ(Column(range, 1).mid(1), QStringList({ GetString(1058), GetString(1060), GetString(1061) }));
    EXPECT_FALSE(d.ChartOutOfControl);
}

TEST_F(ChartTables, MessageNumbersTheViolatedTestsByTest)
{
    TChartData d;
    d.ChartRuleMask = RangeChartRuleMask;
    d.ChartRuleResults = 1 << 4;
    QString message;
    BuildRuleTestMessage(d, message);
    const auto rows = test::TableRows(message);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], QStringList({ "[cf3]4.[cf1]", GetString(1061) }));
}

TEST_F(ChartTables, IndividualsStatisticsRowsByOption)
{
    const QString mr = "[cf3]MR - " + GetString(1046) + "[cf1]";
    const QString c4 = "[cf3]C4 - " + GetString(1045) + "[cf1]";
    const QString sExp = "[cf3]s[cf1][cf15] " + GetString(1049) + " [cf1]";
    const QString cl = "[cf3]" + GetString(962) + " (CL)[cf1]";
    struct Case {
        quint8 chartType;
        int estimate;
        QStringList labels;
    } cases[] = {
        { 0, 0,
            { Bold(677), Bold(982), Bold(968), Bold(993), Bold(1007), mr, Bold(970), Bold(1002), Bold(972), Bold(974),
                cl, Bold(975), Bold(973), Bold(971) } },
        { 0, 1,
            { Bold(677), Bold(982), Bold(968), Bold(993), Bold(1007), c4, sExp, Bold(970), Bold(1002), Bold(972),
                Bold(974), cl, Bold(975), Bold(973), Bold(971) } },
        { 0, 2,
            { Bold(677), Bold(982), Bold(968), Bold(993), Bold(1007), Bold(970), Bold(1002), Bold(972), Bold(974), cl,
                Bold(975), Bold(973), Bold(971) } },
        { 1, 0, { Bold(677), Bold(982), Bold(968), Bold(993), mr, Bold(972), Bold(974), cl, Bold(971) } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chartType * 10 + c.estimate);
        TVstupStandardnejNeistoty rec = test::IndividualsRecord(kReadings);
        rec.OSO_7 = c.estimate;
        Computed computed = Compute(rec, c.chartType);
        ReportTableOwner owner;
        QString text;
        BuildIndividualsStatisticsTable(computed.data, computed.rec, text);
        EXPECT_TRUE(text.startsWith("[cf3]" + GetString(977) + (c.chartType == 0 ? " X[cf1]\r" : " R[cf1]\r")));
        const auto rows = test::TableRows(text);
        EXPECT_EQ(Column(rows, 0), c.labels);
        EXPECT_EQ(ValueOf(rows, Bold(971)), "7");
        EXPECT_EQ(ValueOf(rows, Bold(993)), GetString(994));
    }

    Computed x = Compute(test::IndividualsRecord(kReadings), 0);
    ReportTableOwner owner;
    QString text;
    BuildIndividualsStatisticsTable(x.data, x.rec, text);
    const auto rows = test::TableRows(text);
    EXPECT_EQ(ValueOf(rows, Bold(677)), "0.32 mm"); // 0.3166 to 2 significant digits
    EXPECT_EQ(ValueOf(rows, Bold(972)), "11.10 mm"); // 11.0998 to the 2 decimals of the values
    EXPECT_EQ(ValueOf(rows, cl), "10.15 mm");
    EXPECT_EQ(ValueOf(rows, Bold(1002)), "3.12 %"); // 3.1193 to ChartDecimals
    EXPECT_EQ(ValueOf(rows, mr), "0.36");
}

TEST_F(ChartTables, SelectedRangeAndGivenParametersRows)
{
    TVstupStandardnejNeistoty rec = test::IndividualsRecord(kReadings);
    rec.DM_7 = "1.3.2026@2.3.2026@3.3.2026@4.3.2026@5.3.2026@6.3.2026@7.3.2026@8.3.2026@";
    rec.UR_7 = 1;
    rec.R_OD_7 = 2;
    rec.R_DO_7 = 6;
    rec.RPSS_7 = 1;
    rec.SO_7 = "0.3";
    rec.CLX_7 = "10";
    Computed c = Compute(rec, 0);
    ReportTableOwner owner;
    QString text;
    BuildIndividualsStatisticsTable(c.data, c.rec, text);
    const auto rows = test::TableRows(text);
    EXPECT_EQ(ValueOf(rows, Bold(982)), GetString(983));
    EXPECT_EQ(ValueOf(rows, Bold(1006)), "5");
    EXPECT_EQ(ValueOf(rows, Bold(985)), "2.3.2026 (2.)");
    EXPECT_EQ(ValueOf(rows, Bold(986)), "6.3.2026 (6.)");
    EXPECT_EQ(ValueOf(rows, Bold(993)), GetString(995));
    EXPECT_EQ(ValueOf(rows, Bold(972)), "10.90 mm");
    EXPECT_EQ(ValueOf(rows, Bold(971)), "4");
    for (const QStringList& row : rows)
        EXPECT_NE(row[0], Bold(1007)); // no estimate rule for given parameters
}

TEST_F(ChartTables, SubgroupStatisticsRowsByOption)
{
    const std::vector<QStringList> groups = { test::NumberTexts({ 5.02, 4.98, 5.01, 4.99, 5.03 }),
        test::NumberTexts({ 5.00, 5.04, 4.97, 5.02, 5.01 }), test::NumberTexts({ 4.99, 5.01, 5.03, 4.96, 5.00 }),
        test::NumberTexts({ 5.05, 5.00, 4.98, 5.02, 5.01 }) };
    const QString cl = "[cf3]" + GetString(962) + " (CL)[cf1]";
    const QString a2 = "[cf3]A[cf1][cf15]2[cf1]", a3 = "[cf3]A[cf1][cf15]3[cf1]";
    const QString d4 = "[cf3]D[cf1][cf3][cf15]4[cf1]", d3 = "[cf3]D[cf1][cf3][cf15]3[cf1]";
    const QString relRange = "[cf3]" + GetString(1085) + " (%) [cf1]";
    const QStringList head = { Bold(677), Bold(982), Bold(968), Bold(969), Bold(993) };
    const QStringList xTail = { Bold(972), Bold(974), cl, Bold(975), Bold(973), Bold(971) };
    struct Case {
        quint8 chartType;
        int output, limits;
        QStringList labels;
    } cases[] = {
        { 0, 0, 0, head + QStringList { Bold(996), a2, Bold(1079), Bold(970), Bold(1002) } + xTail },
        { 0, 0, 1, head + QStringList { Bold(996), a3, Bold(970), Bold(1002) } + xTail },
        { 0, 0, 2, head + QStringList { Bold(996), Bold(970), Bold(1002) } + xTail },
        { 0, 1, 0,
            QStringList { Bold(677), Bold(907) } + head.mid(1) + QStringList { Bold(996), a2, Bold(1079), Bold(970) }
                + xTail },
        { 1, 0, 0,
            head + QStringList { Bold(1082), Bold(1083), d4, d3, Bold(1079), Bold(970), Bold(972), cl, Bold(971) } },
        { 1, 1, 0,
            QStringList { Bold(677), Bold(907) } + head.mid(1)
                + QStringList { Bold(1082), Bold(1083), d4, d3, relRange, Bold(1002), Bold(972), cl, Bold(971) } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chartType * 100 + c.output * 10 + c.limits);
        TVstupStandardnejNeistoty rec = test::SubgroupRecord(groups);
        rec.OV_8 = c.output;
        rec.SV_UCL_LCL_8 = c.limits;
        Computed computed = Compute(rec, c.chartType, "5");
        ReportTableOwner owner;
        QString text;
        BuildSubgroupStatisticsTable(computed.data, computed.rec, text);
        const auto rows = test::TableRows(text);
        EXPECT_EQ(Column(rows, 0), c.labels);
        EXPECT_EQ(ValueOf(rows, Bold(969)), "5");
        EXPECT_EQ(ValueOf(rows, Bold(971)), "16");
        if (c.chartType == 1 && c.output == 1) {
            EXPECT_EQ(ValueOf(rows, relRange), "1.30 %");
            EXPECT_EQ(ValueOf(rows, Bold(972)), "2.74 %"); // 2.114 x 1.298
        }
        if (c.chartType == 0 && c.limits == 0) {
            EXPECT_EQ(ValueOf(rows, a2), "0.58");
            EXPECT_EQ(ValueOf(rows, Bold(972)), "5.04 mm");
        }
    }
}

TEST_F(ChartTables, PointTablesOfTheEvaluatedRange)
{
    TVstupStandardnejNeistoty rec = test::IndividualsRecord({ "10,2", "10.5", "9.9", "10.1" });
    rec.UR_7 = 1;
    rec.R_OD_7 = 2;
    rec.R_DO_7 = 4;
    Computed c = Compute(rec, 0);
    QString text;
    BuildIndividualsDataTable(c.data, c.rec, text);
    EXPECT_TRUE(text.startsWith("\r" + Bold(1035) + "\r\r:TABLE_BEGIN[3,4]"));
    auto rows = test::TableRows(text);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], QStringList({ "[cf3]i[cf1]", "[cf3]" + GetString(952, { " " }) + "[cf1]", Bold(990) }));
    EXPECT_EQ(rows[1], QStringList({ "1.", "10.50", "" }));
    EXPECT_EQ(rows[2], QStringList({ "2.", "9.90", "0.60" }));
    EXPECT_EQ(ReportTable, nullptr);

    rec.DM_7 = "1.3.2026@2.3.2026@3.3.2026@4.3.2026@";
    Computed dated = Compute(rec, 0);
    text.clear();
    BuildIndividualsDataTable(dated.data, dated.rec, text);
    rows = test::TableRows(text);
    EXPECT_EQ(rows[0][1], Bold(953));
    EXPECT_EQ(rows[3], QStringList({ "3.", "4.3.2026", "10.10", "0.20" }));

    TVstupStandardnejNeistoty sub = test::SubgroupRecord({ { "1.0", "1.2", "1.4" }, { "1.1", "1.3" } });
    Computed s = Compute(sub, 0);
    text.clear();
    BuildSubgroupDataTable(s.data, s.rec, text);
    rows = test::TableRows(text);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0],
        QStringList(
            { "[cf3]i[cf1]", "[cf3]" + GetString(952, { "1" }) + "[cf1]", "[cf3]" + GetString(952, { "2" }) + "[cf1]",
                "[cf3]" + GetString(952, { "3" }) + "[cf1]", Bold(991), Bold(990), "[cf3]SD[cf1][cf3][cf15]i[cf1]" }));
    EXPECT_EQ(rows[1], QStringList({ "1.", "1.00", "1.20", "1.40", "1.20", "0.40", "0.20" }));
    EXPECT_EQ(rows[2], QStringList({ "2.", "1.10", "1.30", "", "1.20", "0.20", "0.14" }));
}

TEST_F(ChartTables, NothingForAnEmptyChart)
{
    TChartData d;
    TVstupStandardnejNeistoty rec = test::IndividualsRecord({});
    ReportTableOwner owner;
    QString text;
    BuildIndividualsStatisticsTable(d, rec, text);
    BuildSubgroupStatisticsTable(d, rec, text);
    BuildIndividualsDataTable(d, rec, text);
    BuildSubgroupDataTable(d, rec, text);
    EXPECT_TRUE(text.isEmpty());
}

} // namespace
} // namespace orvek
