#include "core/common_vars.h"
#include "core/string_table.h"
#include "report_fixtures.h"
#include "richtext/cell_description.h"
#include "richtext/markup_render.h"
#include "richtext/report_table.h"
#include "richtext/report_texts.h"

#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace orvek;
using namespace orvek::test;

namespace {

class ReportTexts : public ::testing::Test {
protected:
    void SetUp() override { ResetReportSettings(); }
    void TearDown() override { LanguageID = EditionFlag; }
};

QStringList Row(std::initializer_list<const char*> cells)
{
    QStringList row;
    for (const char* c : cells)
        row << QString::fromUtf8(c);
    return row;
}

// The GUM's end-gauge example: every number of the budget, the source budget and the
// result as the reader sees them on the page.
TEST_F(ReportTexts, EndGaugeBudgetCellByCell)
{
    auto l = LoadReportModel("gum_h1_end_gauge.txt");
    l->Calculate();
    const QString markup = FullReportText(*l);
    const auto tables = RenderedTables(markup);

    // The budget fits the width of the source budget: its right edge is at most there.
    const qsizetype at = markup.indexOf(":TABLE_BEGIN[7,8]");
    ASSERT_GE(at, 0);
    const QStringList header = markup.mid(at).section('\t', 0, 0).split(',');
    ASSERT_GE(header.size(), 10);
    EXPECT_LE(header[9].toInt(), 50 + 10350);

    const RenderedTable* budget = FindTable(tables, GetString(132) + " xi");
    ASSERT_NE(budget, nullptr);
    const QString rect = GetString(277), comb = GetString(932), normal = GetString(931);
    const std::vector<QStringList> expected = {
        Row({ "l", "50.000838", "0.000032", "", "", "(result)", "16" }),
        Row({ "ls", "50.000623", "0.000025", "", "1.00", "0.0000250", "18" }),
        Row({ "d", "0.0002150", "0.0000097", "", "1.00", "0.00000968", "25" }),
        Row({ "alfas", "0.0000115", "0.0000012", "", "0", "0", "∞" }),
        Row({ "theta", "-0.10", "0.41", "", "0", "0", "∞" }),
        Row({ "dalfa", "0", "0.00000058", "", "5.00", "0.00000289", "50" }),
        Row({ "dtheta", "0", "0.029", "", "-0.000575", "-0.0000166", "2" }),
    };
    const QString distributions[] = { "", normal, comb, rect, comb, rect, rect };
    ASSERT_EQ(budget->size(), expected.size() + 1);
    for (size_t i = 0; i < expected.size(); ++i) {
        QStringList want = expected[i];
        want[3] = distributions[i];
        EXPECT_EQ((*budget)[i + 1], want) << "row " << i + 1;
    }

    const RenderedTable* sources = FindTable(tables, GetString(843));
    ASSERT_NE(sources, nullptr);
    ASSERT_EQ(sources->size(), 10u);
    EXPECT_EQ((*sources)[1],
        Row({ "Calibration of the standard", "ls", "0.000025", "0.0000250", "1.00", "18", "normal distribution" }));
    EXPECT_EQ((*sources)[9],
        Row({ "Estimated limits", "dtheta", "0.029", "-0.0000166", "-0.000575", "2", "rectangular distribution" }));

    const RenderedTable* result = FindTable(tables, GetString(132));
    ASSERT_NE(result, nullptr);
    QStringList values;
    for (const QStringList& row : *result)
        values << row[1];
    EXPECT_EQ(
        values, Row({ "l", "50.000838", "0.000032", "0.000063 %", "±0.000068", "0.00013 %", "2.12", "95%", "16" }));
}

TEST_F(ReportTexts, ResultTableCoverageRows)
{
    const struct {
        quint8 coverage;
        const char* k;
        const char* dof;
        QString probability;
        const char* dofText;
    } cases[] = {
        { 1, "1.96", "12", "95%", "12" },
        { 3, "2", "40", "95.45%", "40" },
        { 3, "2", "20", GetString(322), "20" },
        { 3, "1", "14", "68.27%", "14" },
        { 3, "3", "50", GetString(322), "50" },
        { 3, "2", "Nekonecno", "95.45%", "∞" },
        { 7, "2", "40", "", "40" },
    };
    for (const auto& c : cases) {
        auto y = NewRoot(kEquationCell, "y");
        y->FValue.Text = "10.123";
        y->FCombinedUncertainty = "0.0123";
        y->FExpandedUncertainty = "0.0246";
        y->FRelativeUncertainty = "0.12";
        y->FRelativeExpandedUncertainty = "0.24";
        y->FCoverage = c.coverage;
        y->FCoverageFactor.Text = c.k;
        y->FDegreesOfFreedom = c.dof;
        y->FUnit.Text = "mm";
        const auto tables = RenderedTables(ResultTable(*y));
        ASSERT_EQ(tables.size(), 1u);
        const RenderedTable& t = tables[0];
        EXPECT_EQ(t[1][1], "10.123 mm");
        EXPECT_EQ(t[4][1], "±0.025 mm");
        EXPECT_EQ(t[7][1], c.probability) << c.k << " " << c.dof;
        EXPECT_EQ(t[8][1], c.dofText);
    }
}

TEST_F(ReportTexts, SectionsOfFullAndShortReport)
{
    auto l = LoadReportModel("gum_h1_end_gauge.txt");
    l->Calculate();
    ReportSections = 0x21;
    const QString full = RenderedText(FullReportText(*l));
    EXPECT_TRUE(full.contains(GetString(600) + ":"));
    EXPECT_TRUE(full.contains(DiagramPlaceholder));
    for (int id : { 601, 602, 603, 814, 904 })
        EXPECT_FALSE(full.contains(GetString(id))) << id;

    ReportSections = 0;
    const QString shortReport = RenderedText(ShortReportText(*l));
    for (int id : { 600, 601, 602, 603 })
        EXPECT_TRUE(shortReport.contains(GetString(id) + ":")) << id;
    EXPECT_FALSE(shortReport.contains(DiagramPlaceholder));
    EXPECT_FALSE(shortReport.contains(GetString(814)));
    EXPECT_TRUE(BudgetRows.empty());
    EXPECT_EQ(ReportTable, nullptr);
}

TEST_F(ReportTexts, WithoutSensitivityPassColumnsStayEmptyAndSourcesListed)
{
    auto l = LoadReportModel("gum_h1_end_gauge.txt");
    l->Calculate();
    SensitivityPassEnabled = false;
    const auto tables = RenderedTables(FullReportText(*l));
    const RenderedTable* budget = FindTable(tables, GetString(132) + " xi");
    const RenderedTable* sources = FindTable(tables, GetString(843));
    ASSERT_TRUE(budget && sources);
    for (size_t r = 1; r < budget->size(); ++r)
        EXPECT_EQ((*budget)[r][4] + (*budget)[r][5], "");
    ASSERT_EQ(sources->size(), 10u);
    for (size_t r = 1; r < sources->size(); ++r)
        EXPECT_EQ((*sources)[r][3] + (*sources)[r][4], "");
}

TEST_F(ReportTexts, InputTableAndEquations)
{
    auto y = NewRoot(kEquationCell, "y");
    y->FNormalizedEquation = "y=a*b";
    y->FValue.Text = "0.";
    auto* a = AddCell(*y, kQuantityCell, "a");
    a->FValue.Text = "1.23456";
    a->FCombinedUncertainty = "0.0123";
    a->FUnit.Text = "m";
    a->FQuantityName.Text = "length";
    auto* z = AddCell(*y, kEquationCell, "z");
    z->FNormalizedEquation = "c+1";
    auto* b = AddCell(*z, kQuantityCell, "c");
    b->FValueType = 1;
    b->FValue.Text = "2.50000";
    AddCell(*y, kUncertaintyCell, "u", "not a budget row");

    EXPECT_EQ(EquationsText(*y), "y = a*b\r\nz = c+1");
    EquationCounter = 0;
    EXPECT_EQ(NumberedEquationsText(*y),
        HeadingMarkupSmall + "1. " + GetString(901) + ":  " + HeadingMarkupSmall + "y = a*b[cf1]\r" + HeadingMarkupSmall
            + "2. " + GetString(901) + ":  " + HeadingMarkupSmall + "z = c+1[cf1]");

    BudgetRows.clear();
    CollectBudgetRows(*y);
    ASSERT_EQ(BudgetRows.size(), 4u); // y, a, z, c: no uncertainty cell
    const auto tables = RenderedTables(InputQuantityTable());
    BudgetRows.clear();
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0][1], Row({ "y", "0", "", "" }));
    EXPECT_EQ(tables[0][2], Row({ "a", "1.235", "m", "length" }));
    EXPECT_EQ(tables[0][4], Row({ "c", "2.50000", "", "" })); // a value alone stays as typed
}

TEST_F(ReportTexts, DistributionTextByKindAndMethod)
{
    auto q = NewRoot(kQuantityCell, "q");
    struct Case {
        int method;
        int tr;
        int text;
        int flag;
    };
    const Case cases[] = { { 0, 1, 277, 1 }, { 0, 6, 947, 6 }, { 1, 0, 277, 1 }, { 3, 0, 279, 3 }, { 4, 0, 931, 4 },
        { 5, 0, 739, 5 }, { 7, 0, 931, 0 }, { 10, 0, 947, 6 }, { 13, 0, 1015, 7 }, { 14, 0, 0, 0 } };
    auto* s = AddCell(*q, kUncertaintyCell, "s");
    for (const Case& c : cases) {
        s->FUncertaintyInput.TSN = quint8(c.method);
        s->FUncertaintyInput.TR_1 = quint8(c.tr);
        quint8 flag = 99;
        QString text;
        DistributionText(*s, flag, text);
        EXPECT_EQ(text, c.text ? GetString(c.text) : QString()) << c.method;
        EXPECT_EQ(flag, c.flag) << c.method;
        // One child: the quantity shows its source's text.
        EXPECT_EQ(DistributionText(*q), text);
    }
    auto* t = AddCell(*q, kUncertaintyCell, "t");
    s->FUncertaintyInput.TSN = 4;
    t->FUncertaintyInput.TSN = 7;
    EXPECT_EQ(DistributionText(*q), GetString(931));
    t->FUncertaintyInput.TSN = 1;
    EXPECT_EQ(DistributionText(*q), GetString(932));
    t->FActive = false;
    EXPECT_EQ(DistributionText(*q), GetString(931));
    q->FValueType = 2;
    EXPECT_EQ(DistributionText(*q), GetString(931));

    // The service the evaluation calls gives the same text and flag.
    DistributionTextProvider provider;
    quint8 flag = 0;
    QString text;
    provider.DistributionText(*s, flag, text);
    EXPECT_EQ(text, GetString(931));
    EXPECT_EQ(flag, 4);
}

// A thousand inputs make a budget of a thousand rows.
TEST_F(ReportTexts, LargeModelIsReportable)
{
    auto y = NewRoot(kEquationCell, "y");
    for (int i = 0; i < 1000; ++i) {
        auto* x = AddCell(*y, kQuantityCell, QString("x%1").arg(i));
        x->FValue.Text = "1";
        x->FCombinedUncertainty = "0.1";
    }
    BudgetRows.clear();
    CollectBudgetRows(*y);
    const QString table = BuildBudgetTable(true);
    BudgetRows.clear();
    EXPECT_TRUE(table.contains(":TABLE_BEGIN[7,1002]"));
    EXPECT_TRUE(table.contains("\rx999\t"));
}

} // namespace

// The end-gauge report as a reader meets it: quantities named (by their cell names where
// they have no quantity name), the result row of the relative standard uncertainty named
// as such, the budget's indices as subscripts, and every chapter heading set off from a
// table above it by an empty line.
TEST_F(ReportTexts, EndGaugeReportReadsWell)
{
    auto l = LoadReportModel("gum_h1_end_gauge.txt");
    l->Calculate();
    ReportSections = 31;
    const QString markup = FullReportText(*l);
    const QString shown = RenderedText(markup);
    EXPECT_TRUE(shown.contains(GetString(903) + ": Length of the standard")) << shown.toStdString();

    const auto tables = RenderedTables(markup);
    const RenderedTable* inputs = FindTable(tables, GetString(304));
    ASSERT_NE(inputs, nullptr);
    EXPECT_EQ((*inputs)[2], Row({ "ls", "50.000623", "", "Length of the standard" }));
    const RenderedTable* result = FindTable(tables, GetString(132));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ((*result)[3][0], GetString(88));
    EXPECT_NE(GetString(88), GetString(907));

    for (int heading : { 601, 814, 602, 603 }) {
        const qsizetype at = markup.indexOf(HeadingMarkup + GetString(heading) + ":");
        ASSERT_GT(at, 0) << heading;
        EXPECT_FALSE(markup.left(at).endsWith(":TABLE_END")) << "no space above " << GetString(heading).toStdString();
    }

    QTextDocument doc;
    RenderMarkupToRichEdit(ReportFontSize, ReportFontName, true, &doc, markup);
    int subscripts = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().text() == "i"
                && it.fragment().charFormat().verticalAlignment() == QTextCharFormat::AlignSubScript)
                ++subscripts;
    EXPECT_EQ(subscripts, 4) << "x, x, u(x) and c of the budget's header";
}
