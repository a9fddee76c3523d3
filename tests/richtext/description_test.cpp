#include "../support/chart_report_double.h"
#include "core/common_vars.h"
#include "core/string_table.h"
#include "report_fixtures.h"
#include "richtext/cell_description.h"
#include "richtext/report_table.h"
#include "richtext/report_texts.h"
#include "sources/chart_report.h"

#include <gtest/gtest.h>

using namespace orvek;
using namespace orvek::test;

namespace {

class Description : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetReportSettings();
        EquationCounter = 0;
        LastDescribedCellType = 3;
        DescribeSubtree = true;
    }
    void TearDown() override { LanguageID = EditionFlag; }

    QString Heading(int number, int textId) const
    {
        return HeadingMarkupSmall + QString::number(number) + ". " + GetString(textId);
    }
};

// Chapters are numbered in walk order; a nested equation directly after its parent's
// chapter gets no extra line end, one after a quantity does.
TEST_F(Description, ChapterNumberingAndLineEnds)
{
    auto y = NewRoot(kEquationCell, "y");
    y->FNormalizedEquation = "y=z+w";
    auto* z = AddCell(*y, kEquationCell, "z");
    z->FNormalizedEquation = "z=2*a";
    AddCell(*z, kQuantityCell, "a");
    auto* w = AddCell(*y, kEquationCell, "w");
    w->FNormalizedEquation = "w=b";
    const QString text = DescribeCell(*y);
    const QString chapter = ". " + GetString(901) + ":  ";
    EXPECT_TRUE(text.startsWith("\r" + HeadingMarkupSmall + "1" + chapter + "y = z+w[cf1]"));
    // z follows y's comment line directly; w follows the quantity a.
    EXPECT_TRUE(text.contains("\r:TABLE_END\r" + HeadingMarkupSmall + "2" + chapter + "z = 2*a"));
    EXPECT_TRUE(text.contains("\r\r" + HeadingMarkupSmall + "3" + chapter + "w = b"));
    EXPECT_EQ(EquationCounter, 3);
    EXPECT_EQ(ReportTable, nullptr);
}

TEST_F(Description, EquationResultRows)
{
    auto y = NewRoot(kEquationCell, "y");
    y->FValue.Text = "12.3456";
    y->FExpandedUncertainty = "0.05";
    y->FUnit.Text = "g";
    y->FRelativeUncertainty = "Nekonecno";
    y->FDegreesOfFreedom = "Nekonecno";
    y->FCoverageFactor.Text = "2";
    y->FCoverage = 3;
    // No combined uncertainty: each number with its own digits.
    auto tables = RenderedTables(DescribeCell(*y));
    ASSERT_EQ(tables.size(), 1u);
    QStringList values;
    for (const QStringList& row : tables[0])
        values << row[1];
    EXPECT_EQ(values, QStringList({ "12 g", "", "∞ %", "±0.050 g", "∞", "2.000 (" + GetString(322) + ")" }));

    y->FCombinedUncertainty = "0.025";
    y->FDegreesOfFreedom = "12.7";
    y->FRelativeUncertainty = "0.2";
    y->FCoverage = 9;
    tables = RenderedTables(DescribeCell(*y));
    values.clear();
    for (const QStringList& row : tables[0])
        values << row[1];
    EXPECT_EQ(values, QStringList({ "12.346 g", "0.025 g", "0.20 %", "±0.050 g", "12", "2.000 ()" }));
}

TEST_F(Description, CorrelationMatrixOnlyWhenCorrelated)
{
    auto y = NewRoot(kEquationCell, "y");
    AddCell(*y, kQuantityCell, "a");
    AddCell(*y, kQuantityCell, "b");
    DescribeSubtree = false;
    y->FCorrelationMatrix.Text = "1#0,0#@#1#@";
    EXPECT_EQ(RenderedTables(DescribeCell(*y)).size(), 1u);
    y->FCorrelationMatrix.Text = "1#0.5#@0.5#1#@";
    const auto tables = RenderedTables(DescribeCell(*y));
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[1][0], QStringList({ "", "a", "b" }));
    EXPECT_EQ(tables[1][1], QStringList({ "a", "1.0", "0.5" }));
    EXPECT_EQ(tables[1][2], QStringList({ "b", "0.5", "1.0" }));
}

TEST_F(Description, QuantityValueTypes)
{
    DescribeSubtree = false;
    auto q = NewRoot(kQuantityCell, "M");
    q->FUnit.Text = "g/mol";
    // A value alone is printed as typed, without rounding.
    q->FValueType = 1;
    q->FValue.Text = "18.01500";
    EXPECT_TRUE(DescribeCell(*q).contains("[cf3]" + GetString(239) + ":[cf1] 18.01500 g/mol\r\r"));

    // A sum formula with the molar-mass details of its elements.
    q->FValueType = 2;
    q->FValue.Text = "18.0153";
    q->FCombinedUncertainty = "0.00033";
    q->FRelativeUncertainty = "0.0018";
    q->FSumFormula.Text = "H2O";
    q->FSumFormulaDetails.Text = "H#2#1.00794#2.01588#0.00007#0.00014#0.0069@O#1#15.9994#15.9994#0.0003#0.0003#0.0019@";
    const auto tables = RenderedTables(DescribeCell(*q));
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0][1][1], "18.01530 g/mol");
    EXPECT_EQ(tables[0][2][1], "0.00033 g/mol");
    EXPECT_EQ(tables[0][3][1], "0.0018 %");
    ASSERT_EQ(tables[1].size(), 3u);
    EXPECT_EQ(tables[1][0][0], GetString(678));
    EXPECT_EQ(tables[1][1], QStringList({ "H", "2", "1.007940", "2.01588", "0.000070", "0.00014", "0.0069" }));
    EXPECT_EQ(tables[1][2], QStringList({ "O", "1", "15.99940", "15.99940", "0.00030", "0.00030", "0.0019" }));
}

// Sources are numbered per parent; an inactive one writes nothing and takes no number.
TEST_F(Description, SourceNumberingAndRootSource)
{
    auto q = NewRoot(kQuantityCell, "q");
    AddCell(*q, kUncertaintyCell, "s1", "first");
    AddCell(*q, kUncertaintyCell, "s2", "off")->FActive = false;
    AddCell(*q, kUncertaintyCell, "s3", "second");
    const QString text = DescribeCell(*q);
    const QString source = GetString(904) + " q: ";
    EXPECT_TRUE(text.contains(Heading(1, 904) + " q: first [cf1] "));
    EXPECT_TRUE(text.contains(Heading(2, 904) + " q: second [cf1] "));
    EXPECT_FALSE(text.contains("off"));
    EXPECT_TRUE(text.contains(HeadingMarkupSmall + GetString(156) + ": [cf1] " + GetString(775) + "\r\r\r"));

    // One cell described alone takes the next number of its parent's running counter.
    DescribeSubtree = false;
    EXPECT_TRUE(DescribeCell(*q->Child(0)).startsWith(Heading(3, 904)));

    auto root = NewRoot(kUncertaintyCell, "u");
    root->FCellName.Text = "alone";
    EXPECT_TRUE(DescribeCell(*root).startsWith(Heading(1, 904) + " alone [cf1] "));
}

TEST_F(Description, ReadingsTablesSplitEightEightOne)
{
    auto q = NewRoot(kQuantityCell, "q");
    auto* s = AddCell(*q, kUncertaintyCell, "s", "series");
    s->FUncertaintyInput.TSN = 6;
    s->FUncertaintyInput.PM_3 = 17;
    for (int i = 1; i <= 17; ++i)
        s->FUncertaintyInput.VM_3.Text += QString("10.%1@").arg(i);
    DescribeSubtree = false;
    auto tables = RenderedTables(DescribeCell(*s));
    ASSERT_EQ(tables.size(), 4u); // rows of the method, then the readings
    EXPECT_EQ(tables[1][0].size(), 9);
    EXPECT_EQ(tables[2][0].size(), 9);
    EXPECT_EQ(tables[3][0], QStringList({ GetString(685), "17." }));
    EXPECT_EQ(tables[3][1], QStringList({ GetString(686), "10.17" }));
    EXPECT_EQ(tables[2][1][8], "10.16");

    // A count larger than the list stops at the list's end.
    s->FUncertaintyInput.PM_3 = 40;
    EXPECT_EQ(RenderedTables(DescribeCell(*s)).size(), 4u);
    // No readings: a tab, text 774 and a line end after the table.
    s->FUncertaintyInput.TSN = 7;
    s->FUncertaintyInput.PM_4 = 0;
    EXPECT_TRUE(DescribeCell(*s).contains(":TABLE_END\t" + GetString(774) + "\r"));
}

// The method rows of the fixture with every method, as the reader sees them.
TEST_F(Description, MethodRows)
{
    auto m = LoadReportModel("all_methods.txt");
    TCell* m0 = m->Child(0);
    DescribeSubtree = false;
    auto rowsOf = [&](int method) {
        for (auto& child : m0->FChildren)
            if (child->FUncertaintyInput.TSN == method)
                return RenderedTables(DescribeCell(*child)).front();
        return RenderedTable();
    };
    auto value = [](const RenderedTable& t, const QString& label) {
        for (const QStringList& row : t)
            if (row[0] == label)
                return row[1];
        return QString("<missing>");
    };
    const RenderedTable estimate = rowsOf(0);
    EXPECT_EQ(estimate[2][1], GetString(253));
    EXPECT_EQ(value(rowsOf(3), GetString(265)), GetString(254));
    EXPECT_EQ(value(rowsOf(6), GetString(315)).isEmpty(), false);
    EXPECT_EQ(value(rowsOf(1), GetString(356)), GetString(277));

    // Typed inputs: a formula shows the quantity in place of VAR, a percentage of a
    // normal source its ± directly before the text; dof option 1 of method 3 is 50.
    TCell* s = m0->Child(0);
    TVstupStandardnejNeistoty& rec = s->FUncertaintyInput;
    rec = TVstupStandardnejNeistoty();
    rec.TSN = 0;
    rec.USType = 3;
    rec.KO.Text = "0.01*var+VARX";
    auto t = RenderedTables(DescribeCell(*s)).front();
    EXPECT_EQ(value(t, GetString(288)), "0.01*m0+VARX");
    EXPECT_EQ(value(t, GetString(400)), GetString(595));
    rec.TSN = 4;
    rec.USType = 2;
    rec.IS_2_4.Text = "0.5%";
    rec.HS = 1;
    t = RenderedTables(DescribeCell(*s)).front();
    EXPECT_EQ(value(t, GetString(687)), "±0.5%");
    EXPECT_EQ(value(t, GetString(271)), "90 %");
    rec.TSN = 3;
    rec.PSV_2_3.Text = "9";
    rec.ZPSV_2_3 = 1;
    EXPECT_EQ(value(RenderedTables(DescribeCell(*s)).front(), GetString(289)), "50");
    rec.TSN = 1;
    rec.PSV_2_1.Text = "9";
    rec.ZPSV_2_1 = 2;
    EXPECT_EQ(value(RenderedTables(DescribeCell(*s)).front(), GetString(289)), "<missing>");
    rec.TSN = 5;
    rec.PSV_2_5.Text = "9";
    EXPECT_EQ(value(RenderedTables(DescribeCell(*s)).front(), GetString(289)), "∞");

    // A condition: text 1074 in the value row and one row per condition.
    rec.TSN = 0;
    rec.USType = 7;
    rec.KO.Text = "CONDITION(if x<[10] then u=[0.1] else if x>=[10] and x<[20] then u=[0.2])";
    const auto tables = RenderedTables(DescribeCell(*s));
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(value(tables[0], GetString(288)), GetString(1074));
    ASSERT_EQ(tables[1].size(), 3u);
    EXPECT_EQ(tables[1][1], QStringList({ "m0 < 10", "0.1" }));
    EXPECT_EQ(tables[1][2], QStringList({ "m0 >= 10 and < 20", "0.2" }));
}

// Building a report computes the charts on copies: the model is the same afterwards.
TEST_F(Description, ChartSourcesLeaveTheModelUnchanged)
{
    ChartReportProvider charts(nullptr);
    ChartReportService* previous = ChartReports();
    SetChartReportService(&charts);
    auto m = LoadReportModel("all_methods.txt");
    m->Calculate(); // the report's sensitivity pass evaluates the model; start evaluated
    const QString before = m->SaveToText();
    ReportSections = 0x04;
    const QString text = FullReportText(*m);
    SetChartReportService(previous);
    const QStringList a = before.split('\n'), b = m->SaveToText().split('\n');
    ASSERT_EQ(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i)
        EXPECT_EQ(a[i], b[i]) << i;
    EXPECT_FALSE(text.isEmpty());

    // The service gets the owning quantity's value and the source's own unit.
    ChartReportDouble fake;
    fake.Answer.Computed = false;
    fake.Answer.Reason = "no chart";
    TCell* chart = nullptr;
    for (auto& child : m->Child(0)->FChildren)
        if (child->FUncertaintyInput.TSN == 11)
            chart = child.get();
    ASSERT_NE(chart, nullptr);
    DescribeSubtree = false;
    const QString described = DescribeCell(*chart);
    EXPECT_EQ(fake.LastQuantityValue, m->Child(0)->FValue.Text);
    EXPECT_EQ(fake.LastQuantityUnit, chart->FUnit.Text);
    EXPECT_TRUE(described.contains("\r\rno chart\r"));
    EXPECT_FALSE(described.contains(GetString(157))); // no common rows
}

} // namespace
