// The equation dialog's rules without its window: analysing the right-hand side, the
// checks of OK, the quantity rows and the correlation matrix texts.

#include "core/common_vars.h"
#include "core/number_text.h"
#include "core/settings.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "mainwindow/equation_dialog_rules.h"
#include "tests/support/test_env.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace orvek {
namespace {

struct AnalysisCase {
    const char* text;
    int message;
    QStringList symbols;
};

TEST(EquationDialogRules, AnalysisOfTheRightHandSide)
{
    const AnalysisCase cases[] = {
        { "b*c + a", 0, { "a", "b", "c" } },
        { "=a+b", 0, { "a", "b" } }, // a leading "=" is dropped
        { "a b", 0, { "ab" } }, // blanks go before the scan
        { "Y*x+z", 0, { "x", "Y", "z" } },
        { "a \u2013 b", 0, { "a", "b" } }, // a dash is a minus
        { "(a+b", 151, {} },
        { "a+b=c", 154, {} },
        { "2*3", 572, {} },
        { "1x2+a", 153, {} },
        { "foo(a)", 666, {} },
        { "a*/b", 743, {} },
        { "a<b", 744, {} },
    };
    for (const AnalysisCase& c : cases) {
        SCOPED_TRACE(c.text);
        const TEquationAnalysis a = AnalyseEquationText(QString::fromUtf8(c.text));
        EXPECT_EQ(a.Message, c.message);
        if (c.message == 0) {
            EXPECT_EQ(a.Symbols, c.symbols);
        }
    }
    EXPECT_EQ(AnalyseEquationText("2*3").Argument, "2*3");

    // A refusal names what is wrong: the whole unknown function as typed, and for what
    // the scanner lets pass but the parser refuses, the parser's message.
    const struct {
        const char* text;
        int message;
        const char* argument;
    } refusals[] = {
        { "a/b + foo(c)", 666, "\"foo\"" },
        { "a*Sinus2(b)", 666, "\"Sinus2\"" },
        { "a*x_sin(b)", 666, "\"x_sin\"" },
        { "2X+a", 153, "\"2X\"" },
        { "a*-b", 743, "\"*-\"" },
        { "a/b + c^", 23700, "Error parsing expression:\ra/b\rc^" },
        { "a+b*", 23700, "Error parsing expression:\ra\rb*" },
        { "a^", 23700, "Error parsing expression:\ra^" },
    };
    for (const auto& c : refusals) {
        SCOPED_TRACE(c.text);
        const TEquationAnalysis a = AnalyseEquationText(QString::fromUtf8(c.text));
        EXPECT_EQ(a.Message, c.message);
        EXPECT_EQ(a.Argument, QString::fromUtf8(c.argument));
    }
    // Trial values that break the arithmetic do not refuse a well-formed equation.
    EXPECT_EQ(AnalyseEquationText("1/(a-b) + ln(c-1)").Message, 0);

    // More than 100 symbols is refused with a message, not an error.
    QString many;
    for (int i = 0; i < 101; ++i)
        many += (i ? "+" : "") + QString("q%1").arg(i);
    EXPECT_EQ(AnalyseEquationText(many).Message, 22401);

    EXPECT_TRUE(SameSymbols({ "b", "a" }, { "a", "b" }));
    EXPECT_FALSE(SameSymbols({ "a", "b" }, { "a", "c" }));
    EXPECT_FALSE(SameSymbols({ "a" }, { "A" }));
}

struct OkCase {
    const char* name;
    TEquationOkInput in;
    int message;
    TEquationField field;
};

TEquationOkInput NewCell(const QString& symbol)
{
    TEquationOkInput in;
    in.QuantityNameWritable = true;
    in.QuantityName = "length";
    in.SymbolWritable = true;
    in.Symbol = symbol;
    in.EquationWritable = true;
    in.Equation = "a+b";
    in.Analysed = true;
    return in;
}

TEquationOkInput ExistingCell(const QString& equation, bool analysed)
{
    TEquationOkInput in;
    in.EquationWritable = true;
    in.Equation = equation;
    in.EquationAtLoad = "a * b";
    in.Analysed = analysed;
    return in;
}

TEST(EquationDialogRules, ChecksOfOk)
{
    TEquationOkInput noName = NewCell("y");
    noName.QuantityName = " ";
    TEquationOkInput badK = ExistingCell("a*b", true);
    badK.CoverageWritable = true;
    badK.CoverageFactor = "0";
    TEquationOkInput newEmpty = NewCell("y");
    newEmpty.Equation = "";
    TEquationOkInput lockedEmpty = ExistingCell("", false);
    lockedEmpty.EquationWritable = false;
    TEquationOkInput goodK = badK;
    goodK.CoverageFactor = "2,5";
    const OkCase cases[] = {
        { "quantity name", noName, 143, TEquationField::QuantityName },
        { "blank symbol", NewCell("  "), 144, TEquationField::Symbol },
        { "digit first", NewCell("1x"), 145, TEquationField::Symbol },
        { "inner blank", NewCell("a b"), 146, TEquationField::Symbol },
        { "minus", NewCell("a-b"), 147, TEquationField::Symbol },
        { "identifier", NewCell("a_1"), 0, TEquationField::None },
        { "unchanged", ExistingCell("a*b", false), 0, TEquationField::None },
        { "leading =", ExistingCell("=a*b", false), 0, TEquationField::None },
        { "foreign character", ExistingCell(QString::fromUtf8("a\u00B7b"), true), 148, TEquationField::Equation },
        { "empty", ExistingCell("", true), 149, TEquationField::Equation },
        { "new cell, empty", newEmpty, 149, TEquationField::Equation },
        { "locked, empty", lockedEmpty, 0, TEquationField::None },
        { "not analysed", ExistingCell("a/b", false), 150, TEquationField::Equation },
        { "analysed", ExistingCell("a/b", true), 0, TEquationField::None },
        { "k zero", badK, 179, TEquationField::Coverage },
        { "k typed", goodK, 0, TEquationField::None },
    };
    for (const OkCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TEquationRefusal r = CheckEquationDialog(c.in);
        EXPECT_EQ(r.Message, c.message);
        EXPECT_EQ(r.Field, c.field);
    }
    EXPECT_EQ(CheckEquationDialog(NewCell("1x")).Arguments, QStringList { "1x" });
}

TEST(EquationDialogRules, RowsMatchTheirChildrenAfterACreatingAnalysis)
{
    // The children in child order: b (id 5), then a (id 6).
    TInfo_o_bunkach_typu_velicina list;
    list.Count = 2;
    list[1].CellId = 5;
    list[1].ChildIndex = 0;
    list[1].Symbol = "b";
    list[1].ValueType = 1;
    list[2].CellId = 6;
    list[2].ChildIndex = 1;
    list[2].Symbol = "a";
    // The analysis made alphabetical rows without cells, and the user gave a a unit.
    QList<TQuantityGridRow> rows { { "a", "m", "a", 0, 0, 0 }, { "b", "", "b", 2, 0, 0 } };
    ReadQuantityGrid(rows, list);
    ASSERT_EQ(list.Count, 2);
    EXPECT_EQ(list[1].Symbol, "b");
    EXPECT_EQ(list[1].ValueType, 2);
    EXPECT_EQ(list[1].UnitText, "");
    EXPECT_EQ(list[2].Symbol, "a");
    EXPECT_EQ(list[2].UnitText, "m");
    EXPECT_EQ(list[2].CellId, 6);

    // Rows from the hand-over keep their children by id, whatever their symbols.
    QList<TQuantityGridRow> handed = QuantityRowsFrom(list);
    handed[0].Symbol = "b2";
    ReadQuantityGrid(handed, list);
    EXPECT_EQ(list[1].Symbol, "b2");
    EXPECT_EQ(list[1].CellId, 5);

    ReadQuantityGridAsNew({ rows[0], rows[1], { "c", "", "c", 1, 0, 0 } }, list);
    EXPECT_EQ(list.Count, 3);
    EXPECT_EQ(list[3].Symbol, "c");
    EXPECT_EQ(list[3].CellId, 0);
}

TEST(EquationDialogRules, CorrelationMatrixTexts)
{
    TMatrixTexts m = InitialCorrelationMatrix(2);
    EXPECT_TRUE(SetCorrelationCoefficient(m, 0, 1, "0,3"));
    EXPECT_FALSE(SetCorrelationCoefficient(m, 1, 1, "0.5"));
    EXPECT_EQ(SerializeCorrelationMatrix(m), "1.0#0,3@0,3#1.0@");
    int row = 0, column = 0;
    EXPECT_EQ(ValidateCorrelationMatrix(m, row, column), 0);

    // A stored text of two quantities read into three.
    TMatrixTexts three = InitialCorrelationMatrix(3);
    LoadCorrelationMatrixText("0.9#0.3@0.3#1.0@", three);
    EXPECT_EQ(SerializeCorrelationMatrix(three), "1.0#0.3#0.0@0.3#1.0#0.0@0.0#0.0#1.0@");

    SetCorrelationCoefficient(three, 0, 1, "1.5");
    EXPECT_EQ(ValidateCorrelationMatrix(three, row, column), 746);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(column, 2);
    SetCorrelationCoefficient(three, 0, 1, "-1");
    SetCorrelationCoefficient(three, 1, 2, "");
    EXPECT_EQ(ValidateCorrelationMatrix(three, row, column), 654);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(column, 3);

    EXPECT_EQ(RenameSymbolInEquation("a*b+a", "a", "a2"), "a2*b+a2");
    EXPECT_EQ(RenameSymbolInEquation("ab*a", "a", "c"), "ab*c");
}

// The grid's rows follow the children that the evaluation's matrix positions stand for,
// so a matrix written from the grid reaches the right pair of quantities even when a
// source child comes first.
TEST(EquationDialogRules, MatrixFromTheGridReachesTheEvaluation)
{
    AppDir = test::TestProgramFolder();
    auto info = [](quint8 kind, const QString& name, const QString& symbol = {}) {
        TPrenosInfoDoNovejBunky i;
        i.CellType = kind;
        i.CellName = name;
        i.Symbol = symbol;
        i.Active = 1;
        return i;
    };
    auto y = std::make_unique<TCell>(nullptr, info(kEquationCell, "Sum", "y"), 20, 20, nullptr);
    y->FEquation = "y = a+b";
    y->FNormalizedEquation = "y=a+b";
    auto rectangular = [](TCell& source, const QString& u) {
        source.FUncertaintyInput.TSN = 1;
        source.FUncertaintyInput.IS_2_1.Text = u;
        source.FUncertaintyInput.HSN = u;
        source.FCombinedUncertainty = u;
    };
    rectangular(*y->AddChild(info(kUncertaintyCell, "Extra")), "0.1");
    TCell* a = y->AddChild(info(kQuantityCell, "A", "a"));
    a->FValue.Text = "1";
    TCell* sa = a->AddChild(info(kUncertaintyCell, "ua"));
    rectangular(*sa, "0.3");
    TCell* b = y->AddChild(info(kQuantityCell, "B", "b"));
    b->FValue.Text = "2";
    TCell* sb = b->AddChild(info(kUncertaintyCell, "ub"));
    rectangular(*sb, "0.4");

    const QList<TQuantityGridRow> rows = FillQuantityGrid(*y);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].Symbol, "a");
    const std::vector<TCell*> positions = CorrelationMatrixChildren(*y);
    ASSERT_EQ(positions.size(), 2u);
    EXPECT_EQ(positions[0], a);
    EXPECT_EQ(positions[1], b);

    auto combined = [&](const QString& r) {
        TMatrixTexts m = InitialCorrelationMatrix(int(rows.size()));
        SetCorrelationCoefficient(m, 0, 1, r);
        y->FCorrelationMatrix.Text = SerializeCorrelationMatrix(m);
        EvaluateTree(*y);
        double u = 0;
        EXPECT_TRUE(TryStrToFloatNeutral(y->FCombinedUncertainty, u)) << y->FCombinedUncertainty.toStdString();
        return u;
    };
    const double u0 = combined("0"), u1 = combined("0.5");
    double ua = 0, ub = 0;
    ASSERT_TRUE(TryStrToFloatNeutral(a->FCombinedUncertainty, ua));
    ASSERT_TRUE(TryStrToFloatNeutral(b->FCombinedUncertainty, ub));
    ASSERT_GT(ua * ub, 0);
    // y = a + b: the correlation adds 2 r ua ub to the variance.
    EXPECT_NEAR(u1 * u1 - u0 * u0, 2 * 0.5 * ua * ub, 1e-9);
}

} // namespace
} // namespace orvek
