#include "sources/chart_window_grid.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "richtext/report_table.h"
#include "sources/chart_data.h"
#include "tests/sources/chart_fixtures.h"
#include "tests/support/test_env.h"

#include <map>

namespace orvek::test {
namespace {

// A point table in memory that counts the writes to each cell.
class MemoryTable : public TChartCellTable {
public:
    MemoryTable(int rows, int cols)
        : rows_(rows)
        , cols_(cols)
    {
    }
    // Row Row from column 1 on.
    void SetRow(int row, const QStringList& cells)
    {
        for (int col = 1; col <= int(cells.size()); ++col)
            if (!cells[col - 1].isEmpty())
                cells_[{ row, col }] = cells[col - 1];
    }
    int MaxRow() const override { return rows_; }
    int MaxCol() const override { return cols_; }
    QString CellText(int row, int col) const override
    {
        auto it = cells_.find({ row, col });
        return it == cells_.end() ? QString() : it->second;
    }
    QString ShownText(int row, int col) const override { return CellText(row, col); }
    void SetCellText(int row, int col, const QString& text) override
    {
        ++writes_[{ row, col }];
        if (text.isEmpty())
            cells_.erase({ row, col });
        else
            cells_[{ row, col }] = text;
    }

    // The rows 1..Count as cell lists.
    std::vector<QStringList> Rows(int count) const
    {
        std::vector<QStringList> rows;
        for (int row = 1; row <= count; ++row) {
            QStringList cells;
            for (int col = 1; col <= cols_; ++col)
                cells << CellText(row, col);
            rows.push_back(cells);
        }
        return rows;
    }
    std::map<std::pair<int, int>, QString> Cells() const { return cells_; }
    int MostWritesToACell() const
    {
        int most = 0;
        for (const auto& entry : writes_)
            most = std::max(most, entry.second);
        return most;
    }

private:
    int rows_, cols_;
    std::map<std::pair<int, int>, QString> cells_;
    std::map<std::pair<int, int>, int> writes_;
};

TEST(ChartWindowGrid, LastUsedRowCountsValueColumnsOnlyAndEveryRow)
{
    MemoryTable table(400, 4);
    EXPECT_EQ(LastUsedValueRow(table), 0);
    table.SetRow(2, { "", "", "1" });
    table.SetRow(300, { "1.1.2026", "Ann" }); // no value
    EXPECT_EQ(LastUsedValueRow(table), 2);
    table.SetRow(250, { "", "", "", "5" }); // far below the last value, in column 4
    EXPECT_EQ(LastUsedValueRow(table), 250);
    table.SetRow(260, { "", "", "  " }); // blanks only
    EXPECT_EQ(LastUsedValueRow(table), 250);
}

TEST(ChartWindowGrid, CompactionMovesEachRowUpOnceWithItsDateAndOperator)
{
    const struct {
        const char* name;
        int cols;
        std::vector<std::pair<int, QStringList>> rows;
        std::vector<QStringList> expected; // rows 1..8 after the compaction
    } cases[] = {
        { "gaps of one and several rows", 3,
            {
                { 1, { "1.3.2026", "Ann", "10" } },
                { 2, { "2.3.2026", "Bob", "" } }, // a removed row's date and operator go
                { 3, { "", "", "11" } },
                { 6, { "6.3.2026", "Cid", " 12 " } },
                { 8, { "8.3.2026", "", "13" } },
            },
            {
                { "1.3.2026", "Ann", "10" },
                { "", "", "11" },
                { "6.3.2026", "Cid", "12" },
                { "8.3.2026", "", "13" },
                { "", "", "" },
                { "", "", "" },
                { "", "", "" },
                { "", "", "" },
            } },
        { "subgroups keep their columns", 5,
            {
                { 2, { "2.3.2026", "", "1", "", "3" } }, { 4, { "", "Eve", "", "4", "5" } },
                { 5, { "5.3.2026", "Fay", "", "", "" } }, // below the last value: untouched
            },
            {
                { "2.3.2026", "", "1", "", "3" },
                { "", "Eve", "", "4", "5" },
                { "", "", "", "", "" },
                { "", "", "", "", "" },
                { "5.3.2026", "Fay", "", "", "" },
                { "", "", "", "", "" },
                { "", "", "", "", "" },
                { "", "", "", "", "" },
            } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryTable table(20, c.cols);
        for (const auto& [row, cells] : c.rows)
            table.SetRow(row, cells);
        EXPECT_FALSE(CheckAndCompactChartTable(table, "method"));
        EXPECT_EQ(table.Rows(8), c.expected);
        EXPECT_LE(table.MostWritesToACell(), 1);
    }
}

TEST(ChartWindowGrid, ValuesFarBelowTheOthersAreKept)
{
    MemoryTable table(1000, 3);
    table.SetRow(1, { "", "", "10" });
    table.SetRow(2, { "", "", "11" });
    table.SetRow(202, { "1.4.2026", "Ann", "12" });
    EXPECT_FALSE(CheckAndCompactChartTable(table, "method"));
    EXPECT_EQ(table.Rows(3)[2], QStringList({ "1.4.2026", "Ann", "12" }));
    EXPECT_EQ(LastUsedValueRow(table), 3);
}

TEST(ChartWindowGrid, BadInputNamesItsCellAndChangesNothing)
{
    const struct {
        const char* name;
        int cols;
        std::vector<std::pair<int, QStringList>> rows;
        int message, row, col;
        QStringList arguments;
    } cases[] = {
        { "not a number below a gap", 3, { { 1, { "", "", "1" } }, { 4, { "", "", "1" } }, { 6, { "", "", "a1 " } } },
            179, 6, 3, { "a1 " } },
        { "not a number in a subgroup", 5, { { 2, { "", "", "1", "2" } }, { 3, { "", "", "3", "", "x" } } }, 179, 3, 5,
            { "x" } },
        { "a single value", 3, { { 5, { "1.3.2026", "", "7" } }, { 6, { "2.3.2026", "Ann", "" } } }, 950, 5, 3,
            { " ", "method" } },
        { "a single value in all subgroups", 5, { { 3, { "", "", "", "", "7,5" } } }, 950, 3, 5, { " ", "method" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryTable table(20, c.cols);
        for (const auto& [row, cells] : c.rows)
            table.SetRow(row, cells);
        const auto before = table.Cells();
        const TChartGridFault fault = CheckAndCompactChartTable(table, "method");
        EXPECT_EQ(fault.Message, c.message);
        EXPECT_EQ(fault.Row, c.row);
        EXPECT_EQ(fault.Col, c.col);
        EXPECT_EQ(fault.Arguments, c.arguments);
        EXPECT_EQ(table.Cells(), before);
    }
}

TEST(ChartWindowGrid, EvaluatedRowsAreCheckedInTheRangeOnly)
{
    MemoryTable table(10, 5);
    table.SetRow(1, { "", "", "1", "2" });
    table.SetRow(2, { "", "", "1", "", "3" });
    table.SetRow(3, { "", "", "", "", "3" }); // one value
    table.SetRow(4, { "1.3.2026", "Ann" }); // no value
    table.SetRow(5, { "", "", "1", "1E999" }); // beyond a double
    const struct {
        int first, last;
        bool subgroups;
        int message, row, col;
        QStringList arguments;
    } cases[] = {
        { 1, 2, true, 0, 0, 0, {} },
        { 2, 4, true, 987, 3, 4, { "3" } },
        { 4, 9, true, 988, 4, 3, { "4" } },
        { 5, 99999, true, 179, 5, 4, { "1E999" } },
        // An individuals table needs no second value, and a bad cell outside the range
        // does not count.
        { 1, 4, false, 0, 0, 0, {} },
        { 4, 99999, false, 179, 5, 4, { "1E999" } },
    };
    for (const auto& c : cases) {
        const TChartGridFault fault = CheckEvaluatedRows(table, c.first, c.last, c.subgroups);
        SCOPED_TRACE(testing::Message() << c.first << ".." << c.last << " " << c.subgroups);
        EXPECT_EQ(fault.Message, c.message);
        EXPECT_EQ(bool(fault), c.message != 0);
        EXPECT_EQ(fault.Row, c.row);
        EXPECT_EQ(fault.Col, c.col);
        EXPECT_EQ(fault.Arguments, c.arguments);
    }
}

// The intermediate tables in the texts of the build's string table.
class ChartWindowIntermediate : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = TestProgramFolder();
        LanguageID = 0;
        ASSERT_EQ(GetString(1086), "Mean");
        ASSERT_EQ(GetString(1080), "Range");
    }
    void TearDown() override { LanguageID = EditionFlag; }
};

QString Bold(const QString& text)
{
    return "[cf3]" + text + "[cf1]";
}

TEST_F(ChartWindowIntermediate, IndividualsWithAndWithoutTheDateColumn)
{
    TChartData d;
    AllocateChartData(d);
    d.ChartValueDecimals = 2;
    const double values[] = { 10.25, 10.5, 9.875 };
    MemoryTable table(10, 3);
    for (int p = 1; p <= 3; ++p) {
        d.ChartPointValues[size_t(p)][0] = values[p - 1];
        d.ChartRangeSeries[size_t(p)] = p > 1 ? std::fabs(values[p - 1] - values[p - 2]) : 0;
        table.SetRow(p, { QString("%1.3.2026").arg(p), "", "" });
    }
    d.ChartPointCount = 3;
    const QString x = "[cf3]" + GetString(686) + "[cf1][cf3][cf15]i[cf1]";
    const QString r = "[cf3]R[cf1][cf3][cf15]i[cf1]";

    // The range is cut to the points loaded.
    QString text = BuildIndividualsIntermediateMarkup(d, table, 2, 99, false);
    EXPECT_EQ(ReportTable, nullptr);
    EXPECT_TRUE(text.endsWith(":TABLE_END\r\rR[cf15]i[cf1] = X[cf15]i+1[cf1] - X[cf15]i[cf1]"));
    auto rows = TableRows(text);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], QStringList({ "[cf3]i[cf1]", Bold(GetString(953)), x, r }));
    EXPECT_EQ(rows[1], QStringList({ "2.", "2.3.2026", "10.50", "0.25" }));
    EXPECT_EQ(rows[2], QStringList({ "3.", "3.3.2026", "9.88", "0.63" }));

    text = BuildIndividualsIntermediateMarkup(d, table, 1, 3, true);
    rows = TableRows(text);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], QStringList({ "[cf3]i[cf1]", x, r }));
    EXPECT_EQ(rows[1], QStringList({ "1.", "10.25", "0.00" }));
}

TEST_F(ChartWindowIntermediate, SubgroupsOfUnequalSizeInFixedDecimals)
{
    TVstupStandardnejNeistoty rec = SubgroupRecord(
        { { "1.0", "1.2", "1.4" }, { "1.1", "1.3" }, { "2", "2", "2", "2" }, { "0.00000012", "0.00000016" } });
    TChartData d;
    d.ChartFactors = PublishedChartFactors();
    QString error, reason;
    ASSERT_TRUE(LoadChartDataFromInput(d, rec, error)) << error.toStdString();
    ASSERT_TRUE(ComputeSubgroupChart(d, {}, {}, rec, reason)) << reason.toStdString();
    d.ChartValueDecimals = 2;
    MemoryTable table(10, 8);
    table.SetRow(1, { "1.3.2026" });
    table.SetRow(4, { "4.3.2026" });

    // Subgroup 3 with its four values lies outside the range: three value columns.
    QString text = BuildSubgroupIntermediateMarkup(d, table, 1, 2, false);
    EXPECT_EQ(ReportTable, nullptr);
    EXPECT_EQ(d.ChartRangeFirst, 1);
    EXPECT_EQ(d.ChartRangeLast, 2);
    auto rows = TableRows(text);
    ASSERT_EQ(rows.size(), 3u);
    QStringList heading { "[cf3]i[cf1]", Bold(GetString(953)) };
    for (int k = 1; k <= 3; ++k)
        heading << Bold(GetString(952, { QString::number(k) }));
    heading << Bold(GetString(1086)) << "[cf3]" + GetString(1080) + " R[cf1][cf3][cf15]i[cf1]"
            << "[cf3]R[cf1][cf3][cf15]i[cf1] (%)";
    EXPECT_EQ(rows[0], heading);
    EXPECT_EQ(rows[1], QStringList({ "1.", "1.3.2026", "1.00", "1.20", "1.40", "1.20", "0.40", "33.33" }));
    EXPECT_EQ(rows[2], QStringList({ "2.", "", "1.10", "1.30", "", "1.20", "0.20", "16.67" }));

    // Without the date column; tiny numbers show as fixed decimals, never in exponent form.
    text = BuildSubgroupIntermediateMarkup(d, table, 3, 4, true);
    EXPECT_EQ(d.ChartRangeFirst, 3);
    EXPECT_EQ(d.ChartRangeLast, 4);
    rows = TableRows(text);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].size(), 4 + 4);
    EXPECT_EQ(rows[1], QStringList({ "3.", "2.00", "2.00", "2.00", "2.00", "2.00", "0.00", "0.00" }));
    EXPECT_EQ(rows[2], QStringList({ "4.", "0.00", "0.00", "", "", "0.00", "0.00", "28.57" }));
}

} // namespace
} // namespace orvek::test
