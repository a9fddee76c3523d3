#include "core/common_vars.h"
#include "engine/cell.h"
#include "engine/cell_records.h"

#include <gtest/gtest.h>

namespace orvek {
namespace {

TEST(CellRecords, FreshSourceHasTheDefaultsOfEveryMethod)
{
    TVstupStandardnejNeistoty rec;
    rec.KO.Text = "1";
    rec.TSN = 7;
    rec.OV_6 = 1;
    ClearUncertaintyInput(rec);
    EXPECT_EQ(rec.USType, 1);
    EXPECT_TRUE(rec.KO.Text.isEmpty());
    EXPECT_EQ(rec.TSN, 0);
    for (quint8 option :
        { rec.ZPSV_1, rec.ZPSV_2_1, rec.ZPSV_2_2, rec.ZPSV_2_3, rec.ZPSV_2_4, rec.ZPSV_2_5, rec.ZPSV_2_6 })
        EXPECT_EQ(option, 2);
    EXPECT_EQ(rec.TR_1, 4);
    EXPECT_EQ(rec.HS, 2);
    EXPECT_EQ(rec.R_OD_7, 1);
    EXPECT_EQ(rec.R_DO_7, 9999);
    EXPECT_EQ(rec.R_OD_8, 1);
    EXPECT_EQ(rec.R_DO_8, 9999);
    EXPECT_EQ(rec.NPP_7, 1);
    EXPECT_EQ(rec.NPP_8, 1);
    EXPECT_FALSE(rec.FD_7.isEmpty());
    EXPECT_EQ(rec.FD_7, rec.FD_8);

    // Degrees of freedom of each method of a fresh record.
    const char* expected[15]
        = { "50", "Nekonecno", "Nekonecno", "50", "50", "Nekonecno", "", "", "", "", "Nekonecno", "", "", "", "" };
    for (int method = 0; method < 15; ++method) {
        rec.TSN = quint8(method);
        EXPECT_EQ(GetDegreesOfFreedomText(rec), QString::fromLatin1(expected[method])) << "method " << method;
    }
    rec.TSN = 200;
    EXPECT_TRUE(GetDegreesOfFreedomText(rec).isEmpty());
}

TEST(CellRecords, DegreesOfFreedomAndOutputChoiceFollowTheMethod)
{
    TVstupStandardnejNeistoty rec;
    rec.PSV_3 = "6";
    rec.PSV_4.Text = "7";
    rec.PSV_5.Text = "8";
    rec.PSV_6.Text = "9";
    rec.PSV_7 = "11";
    rec.PSV_8 = "12";
    rec.PSV_9.Text = "13";
    rec.PSV_10 = "14";
    rec.OV_6 = 1;
    rec.OV_7 = 3;
    rec.OV_8 = 2;
    rec.OV_9 = 1;
    rec.OV_10 = 5;
    const QString dof[] = { "6", "7", "8", "9" };
    for (int m = 6; m <= 9; ++m) {
        rec.TSN = quint8(m);
        EXPECT_EQ(GetDegreesOfFreedomText(rec), dof[m - 6]);
    }
    const std::pair<int, int> choices[] = { { 9, 1 }, { 11, 3 }, { 12, 2 }, { 13, 1 }, { 14, 5 } };
    for (auto [method, choice] : choices) {
        rec.TSN = quint8(method);
        EXPECT_EQ(GetOutputChoice(rec), choice) << "method " << method;
    }
    for (int method : { 0, 1, 2, 3, 4, 5, 6, 7, 8, 10 }) {
        rec.TSN = quint8(method);
        EXPECT_EQ(GetOutputChoice(rec), 0) << "method " << method;
    }
}

TEST(CellRecords, ClearNewCellInfoStartsAQuantityOfValueTypeZeroWith95Percent)
{
    NewCellInfo.CellName = "x";
    NewCellInfo.Coverage = 3;
    NewCellInfo.ValueType = 2;
    NewCellInfo.ValueTransferred = 1;
    ClearNewCellInfo();
    EXPECT_TRUE(NewCellInfo.CellName.isEmpty());
    EXPECT_EQ(NewCellInfo.Coverage, 1);
    EXPECT_EQ(NewCellInfo.ValueType, 0);
    EXPECT_EQ(NewCellInfo.ValueTransferred, 0);
    EXPECT_EQ(NewCellInfo.UncertaintyInput.PSV_1.Text, "50");
}

TPrenosInfoDoNovejBunky Info(quint8 kind, const QString& name)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kind;
    info.CellName = name;
    info.Active = 1;
    return info;
}

TEST(CellModel, ClearFieldsKeepsKindValueTypeCoverageEquationActiveAndError)
{
    TCell cell(nullptr, Info(kEquationCell, "Model"), 0, 0, nullptr);
    cell.FValueType = 2;
    cell.FCoverage = 3;
    cell.FEquation = "Y = X";
    cell.FErrorText = "failed";
    cell.FValue = { 1, "3" };
    cell.FCellTypeLock = 1;
    cell.FCombinedUncertainty = "0.1";
    cell.FUncertaintyInput.TSN = 6;
    cell.FNumSensitivity = "2";
    cell.ClearFields();
    EXPECT_EQ(cell.FCellType, kEquationCell);
    EXPECT_EQ(cell.FValueType, 2);
    EXPECT_EQ(cell.FCoverage, 3);
    EXPECT_EQ(cell.FEquation, "Y = X");
    EXPECT_EQ(cell.FErrorText, "failed");
    EXPECT_TRUE(cell.FActive);
    EXPECT_TRUE(cell.FCellName.Text.isEmpty());
    EXPECT_EQ(cell.FValue.Lock, 0);
    EXPECT_TRUE(cell.FValue.Text.isEmpty());
    EXPECT_EQ(cell.FCellTypeLock, 0);
    EXPECT_TRUE(cell.FCombinedUncertainty.isEmpty());
    EXPECT_TRUE(cell.FNumSensitivity.isEmpty());
    EXPECT_EQ(cell.FUncertaintyInput.TSN, 0);
}

TEST(CellModel, MarkAsTemplateLocksWhatATemplateFixes)
{
    StoreCellComments = false;
    TCell root(nullptr, Info(kEquationCell, "Y"), 0, 0, nullptr);
    root.FUnit.Text = "m";
    root.FCoverageFactor.Text = "2";
    TCell* q = root.AddChild(Info(kQuantityCell, "X"));
    q->FValueType = 2;
    q->FSumFormula.Text = "H2O";
    TCell* s = q->AddChild(Info(kUncertaintyCell, "u"));
    s->FUncertaintyInput.TSN = 4;
    s->FUncertaintyInput.IS_2_4.Text = "0.1";

    root.MarkAsTemplate();
    EXPECT_EQ(root.FCellTypeLock, 1);
    EXPECT_EQ(root.FEquationLock, 1);
    EXPECT_EQ(root.FCoverageLock, 1);
    EXPECT_EQ(root.FUnit.Lock, 1);
    EXPECT_EQ(root.FQuantityName.Lock, 0);
    EXPECT_EQ(root.FValue.Lock, 0);
    EXPECT_EQ(root.FCoverageFactor.Lock, 1);
    EXPECT_EQ(root.FCorrelationMatrix.Lock, 1);
    EXPECT_EQ(q->FValueTypeLock, 1);
    EXPECT_EQ(q->FValue.Lock, 1); // value type 2 always locks the value
    EXPECT_EQ(q->FSumFormula.Lock, 1);
    EXPECT_EQ(q->FSumFormulaDetails.Lock, 0);
    // Without stored values a source locks only its kind, name, symbol, active flag,
    // method and degrees-of-freedom option (and confidence index for method 4).
    EXPECT_EQ(s->FCellTypeLock, 1);
    EXPECT_EQ(s->FCellName.Lock, 1);
    EXPECT_EQ(s->FSymbol.Lock, 1);
    EXPECT_EQ(s->FActiveLock, 1);
    EXPECT_EQ(s->FCellComment.Lock, 0);
    EXPECT_EQ(s->FUncertaintyInput.TSNLock, 1);
    EXPECT_EQ(s->FUncertaintyInput.ZPSV_2_4Lock, 1);
    EXPECT_EQ(s->FUncertaintyInput.HSLock, 1);
    EXPECT_EQ(s->FUncertaintyInput.IS_2_4.Lock, 0);

    StoreCellComments = true;
    s->FCellComment.Text = "note";
    s->MarkAsTemplate();
    EXPECT_EQ(s->FCellComment.Lock, 1);
    EXPECT_EQ(s->FUncertaintyInput.IS_2_4.Lock, 1);
    EXPECT_EQ(s->FUncertaintyInput.PSV_2_4.Lock, 1);
    EXPECT_EQ(s->FUncertaintyInput.RN_2_4.Lock, 0);

    root.ClearTemplateMarks();
    EXPECT_EQ(root.FCellTypeLock, 0);
    EXPECT_EQ(root.FEquationLock, 0);
    EXPECT_EQ(root.FUnit.Lock, 0);
    root.SetEquationTemplateFlag(3);
    EXPECT_EQ(root.FEquationLock, 3);
    EXPECT_EQ(q->FEquationLock, 0);
}

} // namespace
} // namespace orvek

#include "core/number_text.h"
#include "engine/percent_of_text.h"

namespace orvek {
namespace {

TEST(PercentOfText, RelativeValueOfTwoNumbersOrEmpty)
{
    OwnDecimalSeparator = '.';
    ForeignDecimalSeparator = ',';
    struct Case {
        const char* a;
        const char* b;
        const char* expected;
    };
    const Case cases[] = {
        { "1", "4", "25" },
        { " 0,5 ", "2", "25" },
        { "1", "3", "33.3333333333333" },
        { "1E-8", "1", "1E-6" },
        { "-1", "-4", "25" },
        { "1", "-8", "-12.5" },
        { "1", "0", "" },
        { "x", "1", "" },
        { "1", "", "" },
        { "", "", "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(PercentOfText(c.a, c.b), QString::fromLatin1(c.expected)) << c.a << " / " << c.b;
}

} // namespace
} // namespace orvek
