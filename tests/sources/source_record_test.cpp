#include "core/number_text.h"
#include "engine/cell_records.h"
#include "engine/source_uncertainty.h"
#include "sources/source_computation.h"
#include "sources/source_record.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace orvek {
namespace {

TVstupStandardnejNeistoty Record(int method)
{
    TVstupStandardnejNeistoty rec;
    rec.TSN = quint8(method);
    return rec;
}

// What a load mends in a stored record, case by case.
TEST(SourceRecordLoad, NormalizesStoredRecords)
{
    struct Case {
        const char* what;
        std::function<void(TVstupStandardnejNeistoty&)> stored;
        bool ownerHasValue;
        std::function<void(const TVstupStandardnejNeistoty&, const TSourceLoadNotes&)> check;
    };
    const Case cases[] = {
        { "rectangular with the given option",
            [](auto& r) {
                r = Record(1);
                r.ZPSV_2_1 = 0;
                r.PSV_2_1.Text = "12";
                r.ZPSV_1 = 0;
                r.ZPSV_2_3 = 1;
            },
            true,
            [](const auto& r, const auto&) {
                EXPECT_EQ(r.ZPSV_2_1, 2);
                EXPECT_EQ(r.PSV_2_1.Text, "Nekonecno");
                EXPECT_EQ(r.ZPSV_1, 2);
                EXPECT_EQ(r.ZPSV_2_3, 2);
            } },
        { "t distribution with option 1",
            [](auto& r) {
                r = Record(3);
                r.ZPSV_2_3 = 1;
                r.PSV_2_3.Text = "7";
            },
            true,
            [](const auto& r, const auto&) {
                EXPECT_EQ(r.ZPSV_2_3, 2);
                EXPECT_EQ(r.PSV_2_3.Text, "50");
            } },
        { "normal distribution with given degrees of freedom keeps them",
            [](auto& r) {
                r = Record(4);
                r.ZPSV_2_4 = 0;
                r.PSV_2_4.Text = "7";
            },
            true,
            [](const auto& r, const auto&) {
                EXPECT_EQ(r.ZPSV_2_4, 0);
                EXPECT_EQ(r.PSV_2_4.Text, "7");
            } },
        { "estimate with infinite degrees of freedom",
            [](auto& r) {
                r = Record(0);
                r.PSV_1.Text = "Nekonecno";
            },
            true, [](const auto& r, const auto&) { EXPECT_EQ(r.PSV_1.Text, "100000"); } },
        { "method number beyond the table", [](auto& r) { r.TSN = 20; }, true,
            [](const auto& r, const auto& n) {
                EXPECT_EQ(r.TSN, 1);
                EXPECT_TRUE(n.MethodReplaced);
            } },
        { "impossible validity date", [](auto& r) { r.EDate = "D31M 2Y2009"; }, true,
            [](const auto& r, const auto& n) {
                EXPECT_TRUE(r.EDate.isEmpty());
                EXPECT_TRUE(n.DateDropped);
            } },
        { "valid validity date", [](auto& r) { r.EDate = "D28M 2Y2009"; }, true,
            [](const auto& r, const auto&) { EXPECT_EQ(r.EDate, "D28M 2Y2009"); } },
        { "percentage without an owner value",
            [](auto& r) {
                r = Record(1);
                r.IS_2_1.Text = "2 %";
                r.USType = kInputPercent;
                r.HSN = "0.5";
            },
            false,
            [](const auto& r, const auto& n) {
                EXPECT_TRUE(r.HSN.isEmpty());
                EXPECT_TRUE(n.UncertaintyDropped);
            } },
        { "percentage with an owner value keeps u",
            [](auto& r) {
                r = Record(1);
                r.USType = kInputPercent;
                r.HSN = "0.5";
            },
            true, [](const auto& r, const auto&) { EXPECT_EQ(r.HSN, "0.5"); } },
        { "a plain number without an owner value keeps u",
            [](auto& r) {
                r = Record(1);
                r.HSN = "0.5";
            },
            false, [](const auto& r, const auto&) { EXPECT_EQ(r.HSN, "0.5"); } },
        { "600 readings keep the first 500",
            [](auto& r) {
                r = Record(9);
                r.PM_6 = 600;
                for (int i = 1; i <= 600; ++i)
                    r.VM_6.Text += QString::number(i) + "@";
            },
            true,
            [](const auto& r, const auto& n) {
                EXPECT_EQ(r.PM_6, 500);
                EXPECT_EQ(n.ReadingsCut, 100);
                EXPECT_TRUE(r.VM_6.Text.endsWith("@499@500@"));
            } },
        { "weighted mean hands on its mean",
            [](auto& r) {
                r = Record(14);
                r.OV_10 = 3;
            },
            true, [](const auto& r, const auto&) { EXPECT_EQ(r.OV_10, 0); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TVstupStandardnejNeistoty rec;
        c.stored(rec);
        TSourceLoadNotes notes;
        NormalizeSourceRecord(rec, c.ownerHasValue, notes);
        c.check(rec, notes);
    }
}

TEST(SourceRecordLists, ReadingsAndPairsBecomeLists)
{
    QString list;
    int count = 0;
    SourceReadingsList({ " 1,5 ", "", "2.5", "  " }, list, count);
    EXPECT_EQ(list, "1,5@2.5@");
    EXPECT_EQ(count, 2);

    SourcePairsList({ "10", "", "12" }, { "", "0.3", " 1 " }, list, count);
    EXPECT_EQ(list, "10#0@12#1@");
    EXPECT_EQ(count, 2);

    // A list shorter than its count leaves the missing items empty.
    EXPECT_EQ(SourceListItems("1@2@", 3), QStringList({ "1", "2", "" }));
    QString value, u;
    SplitSourcePair("10#0.5", value, u);
    EXPECT_EQ(value, "10");
    EXPECT_EQ(u, "0.5");
}

QString Text(long double x)
{
    return FloatToGeneralText(x);
}

// The methods worked out by hand: u of each as the text of its formula.
TEST(SourceComputation, MethodTable)
{
    struct Case {
        const char* what;
        int method;
        std::function<void(TVstupStandardnejNeistoty&)> input;
        QString owner; // value of the owner quantity
        QString u;
        quint8 kind;
    };
    const long double r3 = std::sqrt(3.0L), r6 = std::sqrt(6.0L), r2 = std::sqrt(2.0L);
    const Case cases[] = {
        { "rectangular, half-width 1", 1, [](auto& r) { r.IS_2_1.Text = "1"; }, "", Text(1 / r3), kInputNumber },
        { "rectangular, 2 % of 50", 1, [](auto& r) { r.IS_2_1.Text = "2 %"; }, "50", Text(1 / r3), kInputPercent },
        { "rectangular, VAR*0.01 of 50", 1, [](auto& r) { r.IS_2_1.Text = "VAR*0.01"; }, "50", Text(0.5L / r3),
            kInputFormula },
        { "rectangular, formula with its =", 1, [](auto& r) { r.IS_2_1.Text = "=VAR*0.01"; }, "50", Text(0.5L / r3),
            kInputFormula },
        { "rectangular, negative half-width", 1, [](auto& r) { r.IS_2_1.Text = "-1"; }, "", Text(1 / r3),
            kInputNumber },
        { "triangular, 0.6", 2, [](auto& r) { r.IS_2_2.Text = "0.6"; }, "", Text(0.6L / r6), kInputNumber },
        { "t distribution keeps the number read", 3, [](auto& r) { r.SO_2_3.Text = "0,02"; }, "", "0.02",
            kInputNumber },
        { "normal, U 2 at 95 %", 4,
            [](auto& r) {
                r.IS_2_4.Text = "2";
                r.HS = 2;
            },
            "", Text(2 / 1.96L), kInputNumber },
        { "normal, U as a formula divides by the text 1.960", 4,
            [](auto& r) {
                r.IS_2_4.Text = "=1+1";
                r.HS = 2;
            },
            "", Text(2 / 1.96L), kInputFormula },
        { "U-shaped, 1", 5, [](auto& r) { r.IS_2_5.Text = "1"; }, "", Text(1 / r2), kInputNumber },
        { "given s", 8, [](auto& r) { r.SO_5.Text = "0.4"; }, "", "0.4", kInputNumber },
        { "estimate keeps the text typed", 0, [](auto& r) { r.KO.Text = "0,02"; }, "", "0,02", kInputNumber },
        { "estimate, percentage without owner value", 0, [](auto& r) { r.KO.Text = "1 %"; }, "", "", kInputPercent },
        { "estimate, condition at x = 0", 0,
            [](auto& r) { r.KO.Text = "CONDITION(if x<[10] then u=[0.1] else if x>=[10] then u=[0.2])"; }, "0", "0.1",
            kInputCondition },
        { "estimate, condition branch as a percentage", 0,
            [](auto& r) { r.KO.Text = "CONDITION(if x<[10] then u=[0.1] else if x>=[10] then u=[2 %])"; }, "50", "1",
            kInputCondition },
        { "trapezoid, beta 0", 10,
            [](auto& r) {
                r.PD_2_6.Text = "1";
                r.TFa_2_6.Text = "0";
            },
            "", Text(std::sqrt(1 / 6.0L)), kInputNumber },
        { "trapezoid, beta 1", 10,
            [](auto& r) {
                r.PD_2_6.Text = "1";
                r.TFa_2_6.Text = "1";
            },
            "", Text(std::sqrt(1 / 3.0L)), kInputNumber },
        { "trapezoid, beta 1.5 gives nothing", 10,
            [](auto& r) {
                r.PD_2_6.Text = "1";
                r.TFa_2_6.Text = "1.5";
            },
            "", "", kInputNumber },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TVstupStandardnejNeistoty rec = Record(c.method);
        c.input(rec);
        const TSourceComputation result = ComputeSourceRecord(rec, c.owner, false);
        EXPECT_FALSE(result.Failed);
        EXPECT_EQ(rec.HSN, c.u);
        EXPECT_EQ(rec.USType, c.kind);
    }
}

TEST(SourceComputation, RefusalsAndKindsAPageCannotTake)
{
    // A percentage or formula under an uncertainty-only owner names the input's label.
    struct Refused {
        int method;
        QString input;
        int label;
    };
    for (const Refused& r : { Refused { 0, "2 %", 288 }, Refused { 1, "VAR*0.1", 270 }, Refused { 4, "1 %", 157 },
             Refused { 8, "=0.1", 737 } }) {
        TVstupStandardnejNeistoty rec = Record(r.method);
        *SourceMainInput(rec) = r.input;
        const TSourceComputation result = ComputeSourceRecord(rec, QString(), true);
        EXPECT_TRUE(result.Failed) << r.method;
        EXPECT_EQ(result.Message, kRefusedOwnerValueText);
        EXPECT_EQ(result.MessageLabel, r.label);
        EXPECT_TRUE(rec.HSN.isEmpty());
    }
    // A condition on a limit page fails without a message; on the estimate it is taken.
    TVstupStandardnejNeistoty rec = Record(1);
    rec.IS_2_1.Text = "CONDITION(if x<[10] then u=[0.1])";
    TSourceComputation result = ComputeSourceRecord(rec, "5", false);
    EXPECT_TRUE(result.Failed);
    EXPECT_EQ(result.Message, 0);
    // The control charts are computed by their pages.
    rec = Record(11);
    rec.HSN = "0.3";
    ComputeSourceRecord(rec, "5", false);
    EXPECT_EQ(rec.HSN, "0.3");
}

TEST(SourceComputation, SeriesOfReadings)
{
    // Own measurement I: 1, 2, 3 give mean 2, s 1 and u = 1/sqrt(3).
    TVstupStandardnejNeistoty rec = Record(6);
    rec.VM_3.Text = "1@2@3@";
    rec.PM_3 = 3;
    ComputeSourceRecord(rec, QString(), false);
    EXPECT_EQ(rec.AP_3, "2");
    EXPECT_EQ(rec.SO_3, "1");
    EXPECT_EQ(rec.SOPr_3, Text(1 / std::sqrt(3.0L)));
    EXPECT_EQ(rec.HSN, rec.SOPr_3);
    EXPECT_EQ(rec.PSV_3, "2");
    EXPECT_EQ(rec.RSOPr_3.left(10), Text(100 / (2 * std::sqrt(3.0L))).left(10));
    // A mean of 0 has no relative u.
    rec.VM_3.Text = "-1@1@";
    rec.PM_3 = 2;
    ComputeSourceRecord(rec, QString(), false);
    EXPECT_EQ(rec.RSOPr_3, "0");

    // Own measurement II: 10 and 12 with sigma 0.5.
    rec = Record(7);
    rec.VM_4.Text = "10@12@";
    rec.PM_4 = 2;
    rec.SOP.Text = "0.5";
    ComputeSourceRecord(rec, QString(), false);
    EXPECT_EQ(rec.AP_4, "11");
    EXPECT_EQ(rec.HSN, Text(0.5L / std::sqrt(2.0L)));
    EXPECT_EQ(rec.PSV_4.Text, "1");
    // Without a sigma there is no u.
    rec.SOP.Text.clear();
    ComputeSourceRecord(rec, QString(), false);
    EXPECT_TRUE(rec.HSN.isEmpty());
}

TEST(SourceComputation, FormulasThatDoNotParseAreNoFormulas)
{
    EXPECT_TRUE(IsEvaluableFormula("=VAR*0.01"));
    EXPECT_TRUE(IsEvaluableFormula("sqrt(2)/var"));
    EXPECT_TRUE(IsEvaluableFormula("=1/(VAR-1)")); // a division by zero at the trial value
    EXPECT_FALSE(IsEvaluableFormula("=2*("));
    EXPECT_FALSE(IsEvaluableFormula("=2*q"));
}

TEST(SourceRecordTexts, MeanHandedOnAsDisplayed)
{
    TVstupStandardnejNeistoty rec = Record(14);
    rec.AP_10 = "10.123456";
    rec.SO_10 = "0.0123";
    EXPECT_EQ(SourceMeanText(rec, 2), "10.123");
    rec.TSN = 9;
    rec.AP_6 = "10.123456";
    rec.SO_6 = "0.0123";
    EXPECT_TRUE(SourceMeanText(rec, 2).isEmpty());
}

} // namespace
} // namespace orvek
