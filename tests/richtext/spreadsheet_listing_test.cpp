#include "../support/dialog_script.h"
#include "core/common_vars.h"
#include "core/string_table.h"
#include "report_fixtures.h"
#include "richtext/report_texts.h"
#include "richtext/spreadsheet_listing.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

using namespace orvek;
using namespace orvek::test;

namespace {

class SpreadsheetListing : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetReportSettings();
        test::DialogScript::Instance().Reset();
    }
    void TearDown() override
    {
        LanguageID = EditionFlag;
        EXPECT_TRUE(test::DialogScript::Instance().AllAnswered());
    }
    struct Output {
        QString symbolic, expanded, legend, lines, eff, teff;
    };
    Output List(TCell& root)
    {
        Output o;
        SpreadsheetFormulas(root, o.symbolic, o.expanded, o.legend, o.lines, o.eff, o.teff);
        return o;
    }
};

TCell* Source(TCell& root, const QString& name)
{
    for (auto& q : root.FChildren) {
        if (q->FCellName.Text == name)
            return q.get();
        for (auto& c : q->FChildren)
            if (c->FCellName.Text == name)
                return c.get();
    }
    return nullptr;
}

// Two rectangular inputs typed as 0.5 and 1, a normal one at 95 %, a triangular and a
// Student one under c, and a U-shaped source directly under the root.
TEST_F(SpreadsheetListing, TypedNumberSources)
{
    auto y = LoadReportModel("listing_typed.txt");
    y->Calculate();
    SignificantDigits = 3;
    const Output o = List(*y);
    EXPECT_EQ(SignificantDigits, 3);
    EXPECT_EQ(o.symbolic, "uc\t=SQRT((c1^2 * u1^2)+(c2^2 * u2^2)+(c3^2 * u3^2)+(c4^2 * u4^2)+(c5^2 * u5^2)+(u0_6^2))");
    EXPECT_EQ(o.expanded, "uc\t=SQRT(3.2^2*0.5^2/3+3.2^2*1/3+2.5^2*0.3^2/1.960^2+0.06^2/6+0.02^2+0.04^2/2)");
    // The drift has infinite degrees of freedom and adds no term.
    EXPECT_EQ(o.eff,
        "eff\t=ROUNDDOWN(uc^4/(3.2^4*(0.5^2/3)^2/10+2.5^4*(0.3^2/1.960^2)^2/20+(0.06^2/6)^2/6+"
        "(0.02^2)^2/8+(0.04^2/2)^2/12);0)");
    EXPECT_EQ(o.teff, "t(eff)\t=TINV(0.05;eff)");
    EXPECT_TRUE(o.lines.contains("u1^2 = a1^2/3\ra1 - " + GetString(270) + "\ra1 = 0.5\rc1 = 3.2\r\r"));
    EXPECT_TRUE(o.lines.contains("u6^2 = a6^2/2\ra6 - " + GetString(270) + "\ra6 = 0.04\rc6 = 1\r\r"));
    EXPECT_FALSE(o.legend.contains("Kor"));
    EXPECT_EQ(Source(*y, "Drift")->FSheetFormula, "1/3");
    EXPECT_EQ(Source(*y, "Certificate")->FSheetFormula, "0.3^2/1.960^2");
}

TEST_F(SpreadsheetListing, CorrelationTerm)
{
    auto y = LoadReportModel("listing_correlated.txt");
    y->Calculate();
    y->FCorrelationMatrix.Text = "1#0.123456789012#0@0.123456789012#1#0@0#0#1@";
    const Output o = List(*y);
    const QString kor = "Kor\t=3.2*2.5*SQRT(0.5^2/3+1/3)*SQRT(0.3^2/1.960^2)*0.123456789012";
    EXPECT_TRUE(o.symbolic.endsWith("(u0_6^2)+2*Kor)\r" + kor));
    EXPECT_TRUE(o.expanded.endsWith("0.04^2/2+2*Kor)\r" + kor));
    EXPECT_TRUE(o.legend.contains("Kor\t" + GetString(1155)));
}

TEST_F(SpreadsheetListing, EdgeCases)
{
    auto y = LoadReportModel("listing_typed.txt");
    y->Calculate();
    TCell* scale = Source(*y, "Scale");
    TCell* drift = Source(*y, "Drift");
    TCell* resolution = Source(*y, "Resolution");
    TCell* reading = Source(*y, "Reading");

    // A negative dof in brackets; formulas with VAR of one quantity share its name.
    resolution->FUncertaintyInput.PSV_2_2.Text = "-3";
    scale->FUncertaintyInput.USType = 3;
    scale->FUncertaintyInput.IS_2_1.Text = "=0.1*var";
    drift->FUncertaintyInput.USType = 3;
    drift->FUncertaintyInput.IS_2_1.Text = "VAR/100";
    Output o = List(*y);
    EXPECT_TRUE(o.eff.contains("+(0.06^2/6)^2/(-3)+")) << o.eff.toStdString();
    EXPECT_TRUE(o.expanded.contains("3.2^2*((0.1*VAR1)^2)/3+3.2^2*((VAR1/100)^2)/3+"));
    EXPECT_EQ(o.legend.count("VAR1\t"), 1);
    EXPECT_FALSE(o.legend.contains("VAR2"));

    // A method without a term of its own counts with its u squared.
    reading->FUncertaintyInput.TSN = 0;
    o = List(*y);
    EXPECT_TRUE(o.expanded.contains("+0.02^2+"));
    EXPECT_FALSE(o.expanded.contains("*+"));

    // Every source infinite: no Welch-Satterthwaite term at all.
    for (auto& q : y->FChildren) {
        TCell* cells[] = { q.get() };
        for (TCell* c : cells) {
            auto& r = c->FUncertaintyInput;
            r.PSV_2_1.Text = r.PSV_2_2.Text = r.PSV_2_3.Text = r.PSV_2_4.Text = r.PSV_2_5.Text = "Nekonecno";
            r.PSV_1.Text = "Nekonecno";
            for (auto& s : c->FChildren) {
                auto& t = s->FUncertaintyInput;
                t.PSV_2_1.Text = t.PSV_2_2.Text = t.PSV_2_3.Text = t.PSV_2_4.Text = "Nekonecno";
                t.PSV_1.Text = "Nekonecno";
            }
        }
    }
    o = List(*y);
    EXPECT_EQ(o.eff, "eff\t=0");

    // A source without u, and a quantity without value: only the message.
    reading->FUncertaintyInput.HSN.clear();
    o = List(*y);
    EXPECT_TRUE(o.legend.startsWith(GetString(1159)));
    EXPECT_TRUE(o.legend.endsWith("Reading (Offset c)"));
    EXPECT_TRUE(o.symbolic.isEmpty() && o.expanded.isEmpty() && o.eff.isEmpty());
    y->Child(0)->FValue.Text.clear();
    SignificantDigits = 4;
    o = List(*y);
    EXPECT_TRUE(o.legend.startsWith(GetString(1159) + " \r" + GetString(1160)));
    EXPECT_EQ(SignificantDigits, 4);
}

// A typed number that is no number (a damaged record) gives no formula text of its own:
// the source counts with its u squared, as one without a term.
TEST_F(SpreadsheetListing, TypedNumberThatIsNoNumberCountsWithItsU)
{
    auto y = LoadReportModel("listing_typed.txt");
    y->Calculate();
    Source(*y, "Scale")->FUncertaintyInput.IS_2_1.Text = "=VAR*0.001";
    Source(*y, "Certificate")->FUncertaintyInput.IS_2_4.Text = "0.3 mm";
    Source(*y, "Reading")->FUncertaintyInput.HSN = "0.02";
    const Output o = List(*y);
    EXPECT_EQ(o.expanded, "uc\t=SQRT(3.2^2*0.28867513^2+3.2^2*1/3+2.5^2*0.15306122^2+0.06^2/6+0.02^2+0.04^2/2)");
    EXPECT_TRUE(o.eff.contains("(3.2^4*(0.28867513^2)^2/10+2.5^4*(0.15306122^2)^2/20+")) << o.eff.toStdString();
    EXPECT_FALSE(o.lines.contains("a1 = ")) << o.lines.toStdString();
    EXPECT_FALSE(o.lines.contains("a3 = "));
}

} // namespace

namespace {

// Every field the evaluation writes, of every cell, as text.
QString Results(TCell& cell)
{
    QString text = cell.FSymbol.Text + ": " + cell.FValue.Text + " u " + cell.FCombinedUncertainty + " U "
        + cell.FExpandedUncertainty + " k " + cell.FCoverageFactor.Text + " rel " + cell.FRelativeUncertainty + " "
        + cell.FRelativeExpandedUncertainty + " dof " + cell.FDegreesOfFreedom + " c " + cell.FNumSensitivity + " uy "
        + cell.FNumContribution + " HSN " + cell.FUncertaintyInput.HSN + "\n";
    for (const auto& child : cell.FChildren)
        text += Results(*child);
    return text;
}

} // namespace

// The listing works with 8 significant digits and re-evaluates the model; afterwards
// every cell holds its results as they were, the root's rounded U among them. A report
// made while the settings differ from the last evaluation's changes nothing either.
TEST_F(SpreadsheetListing, ListingAndReportsLeaveEveryCellAsItWas)
{
    QBuffer model;
    model.setData("\r\nBeginCell=1;\r\n  CellType=0;\r\n  CellName=Twice;\r\n  VarSumbol=y;\r\n"
                  "  Equation=y = 2*a;\r\n  Cov=1;\r\n  NrChildCells=1;\r\n  BeginCell=2;\r\n    CellType=1;\r\n"
                  "    CellName=Input;\r\n    VarSumbol=a;\r\n    ValueType=0;\r\n    VarValue=10;\r\n"
                  "    NrChildCells=1;\r\n    BeginCell=3;\r\n      CellType=2;\r\n      CellName=Given;\r\n"
                  "      TSN=3;\r\n      USType=1;\r\n      Active=1;\r\n      HSN=0.0123456;\r\n"
                  "      SO_2_3=0.0123456;\r\n      ZPSV_2_3=1;\r\n      NrChildCells=0;\r\n    EndCell=3;\r\n"
                  "  EndCell=2;\r\nEndCell=1;\r\n");
    ASSERT_TRUE(model.open(QIODevice::ReadOnly));
    auto twice = NewRoot(kEquationCell, "y");
    QString error;
    ASSERT_TRUE(twice->LoadFromDevice(model, &error)) << error.toStdString();
    twice->Calculate();
    ASSERT_FALSE(twice->FExpandedUncertainty.isEmpty());
    for (TCell* root : { twice.get(), LoadReportModel("gum_h1_end_gauge.txt").release() }) {
        std::unique_ptr<TCell> owner(root == twice.get() ? nullptr : root);
        root->Calculate();
        const QString before = Results(*root);
        List(*root);
        EXPECT_EQ(Results(*root), before) << "after the listing";
        SignificantDigits = 4;
        FullReportText(*root);
        ShortReportText(*root);
        SignificantDigits = 2;
        EXPECT_EQ(Results(*root), before) << "after the reports";
    }
}
