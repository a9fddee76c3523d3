#include "sources/chart_point_table.h"

#include "engine/cell_records.h"
#include "sources/chart_data.h"
#include "tests/sources/chart_fixtures.h"
#include "tests/sources/comma_locale.h"

#include <map>

namespace orvek::test {
namespace {

// A point table of typed texts; a cell shows its text with "|shown" appended, so that
// the tests see which of the two the readers take.
class PlainTable : public TChartCellSource {
public:
    PlainTable(int rows, int cols)
        : rows_(rows)
        , cols_(cols)
    {
    }
    void Set(int row, int col, const QString& text) { cells_[{ row, col }] = text; }
    int MaxRow() const override { return rows_; }
    int MaxCol() const override { return cols_; }
    QString CellText(int row, int col) const override
    {
        auto it = cells_.find({ row, col });
        return it == cells_.end() ? QString() : it->second;
    }
    QString ShownText(int row, int col) const override { return CellText(row, col) + "|shown"; }

private:
    int rows_, cols_;
    std::map<std::pair<int, int>, QString> cells_;
};

TEST(ChartPointTable, IndividualsRowsWithANumberArePointsInOrder)
{
    CommaDecimalsPointDates locale;
    PlainTable table(10, 3);
    table.Set(1, 1, "1.3.2026");
    table.Set(1, 2, "Ann");
    table.Set(1, 3, "10,5");
    table.Set(2, 3, "abc"); // not a number: skipped
    table.Set(3, 2, "Bob"); // no value: skipped
    table.Set(4, 1, "no date");
    table.Set(4, 3, " 11 ");
    table.Set(10, 3, "1E-5");

    TVstupStandardnejNeistoty rec;
    rec.SO_7 = "old";
    rec.UCL_7 = "old";
    TChartData data;
    data.ChartPointCount = 7;
    EXPECT_EQ(ReadIndividualsTable(table, "d.M.yyyy", rec, data), 3);
    EXPECT_EQ(rec.PM_7, 3);
    EXPECT_EQ(data.ChartPointCount, 3);
    EXPECT_EQ(rec.VM_7.Text, "10,5|shown@ 11 |shown@1E-5|shown@");
    EXPECT_EQ(rec.DM_7, "1.3.2026@no date@@");
    EXPECT_EQ(rec.Meral_7, "Ann@@@");
    EXPECT_TRUE(rec.SO_7.isEmpty());
    EXPECT_TRUE(rec.UCL_7.isEmpty());
    EXPECT_DOUBLE_EQ(data.ChartPointValues[1][0], 10.5);
    EXPECT_DOUBLE_EQ(data.ChartPointValues[2][0], 11);
    EXPECT_DOUBLE_EQ(data.ChartPointValues[3][0], 1e-5);
    EXPECT_EQ(data.ChartSubgroupSizes[3], 1);
    EXPECT_EQ(data.ChartOperators[1], "Ann");
    EXPECT_EQ(data.ChartDates[1], QDate(2026, 3, 1));
    EXPECT_FALSE(data.ChartDates[2].isValid());
    EXPECT_FALSE(data.ChartAllDated);
}

TEST(ChartPointTable, EmptyTableGivesNoPointsAndCountsAsDated)
{
    PlainTable table(1000, 22);
    TVstupStandardnejNeistoty rec;
    rec.VM_8.Text = "1@2@";
    rec.PBM_8 = "2@";
    rec.PM_8 = 1;
    TChartData data;
    EXPECT_EQ(ReadSubgroupTable(table, "d.M.yyyy", rec, data), 0);
    EXPECT_EQ(rec.PM_8, 0);
    EXPECT_TRUE(rec.VM_8.Text.isEmpty());
    EXPECT_TRUE(rec.PBM_8.isEmpty());
    EXPECT_TRUE(data.ChartAllDated);
    EXPECT_EQ(ReadIndividualsTable(table, "d.M.yyyy", rec, data), 0);
    EXPECT_TRUE(data.ChartAllDated);
}

TEST(ChartPointTable, SubgroupRowsGatherTheirNumbersAcrossGaps)
{
    PlainTable table(5, 22);
    table.Set(1, 1, "2.3.2026");
    table.Set(1, 3, "1");
    table.Set(1, 5, "2");
    table.Set(1, 6, "3");
    table.Set(2, 2, "only an operator");
    table.Set(3, 1, "3.3.2026");
    table.Set(3, 4, "x");
    table.Set(3, 22, "4");
    TVstupStandardnejNeistoty rec;
    TChartData data;
    EXPECT_EQ(ReadSubgroupTable(table, "d.M.yyyy", rec, data), 2);
    EXPECT_EQ(rec.PBM_8, "3@1@");
    EXPECT_EQ(rec.VM_8.Text, "1|shown@2|shown@3|shown@4|shown@");
    EXPECT_EQ(rec.DM_8, "2.3.2026@3.3.2026@");
    EXPECT_EQ(data.ChartSubgroupSizes[1], 3);
    EXPECT_EQ(data.ChartSubgroupSizes[2], 1);
    EXPECT_DOUBLE_EQ(data.ChartPointValues[1][2], 3);
    EXPECT_DOUBLE_EQ(data.ChartPointValues[2][0], 4);
    EXPECT_EQ(data.ChartPointValueTexts[1][1], "2|shown");
    EXPECT_TRUE(data.ChartAllDated);
}

TEST(ChartPointTable, ValueMasksComeFromFixedPointTextsOnly)
{
    CommaDecimalsPointDates locale;
    const struct {
        const char* text;
        const char* mask;
    } cases[] = { { "7", "0" }, { "1,25", "0,00" }, { "1.2345", "0,0000" }, { "1,2E-5", "0" }, { "1e-5", "0" } };
    for (const auto& c : cases)
        EXPECT_EQ(PointValueMask(c.text), c.mask) << c.text;

    PlainTable table(3, 4);
    table.Set(1, 3, "1,2E-5");
    table.Set(2, 4, "2,5");
    table.Set(3, 1, "1,23456"); // the date column has no mask
    EXPECT_EQ(LongestValueMask(table), "0,0");
    EXPECT_EQ(LongestValueMask(PlainTable(3, 3)), "0");
}

} // namespace
} // namespace orvek::test
