#include "core/number_text.h"
#include "engine/cell.h"
#include "engine/cell_records.h"
#include "engine/evaluation.h"
#include "engine/source_uncertainty.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace orvek {
namespace {

TEST(SourceUncertainty, ClassifiesInputTexts)
{
    const struct {
        const char* text;
        quint8 kind;
        double value;
    } cases[] = {
        { "", 1, 0 },
        { " 2,5 ", 1, 2.5 },
        { "-0.3", 1, -0.3 },
        { "5 %", 2, 5 },
        { "%x", 0, 0 },
        { "=A*2", 3, 0 },
        { "var*2", 3, 0 },
        { "VAR*", 0, 0 },
        { "2*3", 3, 0 },
        { "a+1", 4, 0 },
        // Numbers with an exponent are numbers, as in every other field.
        { "1E5", 1, 1e5 },
        { "2e-6", 1, 2e-6 },
        { "2E-6", 1, 2e-6 },
        { " -1,15e-5 ", 1, -1.15e-5 },
        { "1E", 0, 0 },
        { "1E5E3", 0, 0 },
        { "((", 0, 0 },
        { "RANGE(1;2)", 6, 0 },
        { "condition(if x<[1] then u=[1])", 7, 0 },
        { "1/0", 0, 0 },
    };
    for (const auto& c : cases) {
        long double value = -1;
        quint8 kind = 99;
        ClassifyInputValue(c.text, value, kind);
        EXPECT_EQ(kind, c.kind) << c.text;
        EXPECT_NEAR(double(value), c.value, 1e-15) << c.text;
    }
}

TEST(SourceUncertainty, VarFormulas)
{
    EXPECT_EQ(EvaluateVarFormula("var*0.01", "200"), "2");
    EXPECT_EQ(EvaluateVarFormula("VAR^2", "-3"), "9"); // the value is bracketed
    EXPECT_EQ(EvaluateVarFormula("VAR*2", ""), "");
    EXPECT_EQ(EvaluateVarFormula("", "5"), "");
    EXPECT_EQ(EvaluateVarFormula("2*3", ""), "6");
    EXPECT_EQ(EvaluateVarFormula("1/(VAR-5)", "5"), "");
}

// One row per method: the record, the parent value, and the u expected (NaN: empty),
// or "kept" when the evaluation must leave the stored u alone.
struct MethodRow {
    const char* name;
    std::function<void(TVstupStandardnejNeistoty&)> fill;
    const char* pv;
    double expected;
    bool kept = false;
};

TEST(SourceUncertainty, OneRowPerMethod)
{
    const double nan = std::nan("");
    const std::vector<MethodRow> rows = {
        { "0 number",
            [](auto& r) {
                r.TSN = 0;
                r.KO.Text = "0.5";
            },
            "", 0.5 },
        { "0 formula",
            [](auto& r) {
                r.TSN = 0;
                r.KO.Text = "=VAR*0.01";
            },
            "200", 2 },
        { "0 percent of a negative value",
            [](auto& r) {
                r.TSN = 0;
                r.KO.Text = "2 %";
            },
            "-50", 1 },
        { "0 condition formula branch",
            [](auto& r) {
                r.TSN = 0;
                r.KO.Text = "CONDITION(if x<[10] then u=[0.1] else if x>=[20] then u=[VAR*0.01])";
            },
            "25", 0.25 },
        { "0 condition without branch",
            [](auto& r) {
                r.TSN = 0;
                r.KO.Text = "CONDITION(if x<[10] then u=[0.1])";
            },
            "15", nan },
        { "0 condition at zero",
            [](auto& r) {
                r.TSN = 0;
                r.KO.Text = "CONDITION(if x<[10] then u=[0.1])";
            },
            "0", 0.1 },
        { "1 number",
            [](auto& r) {
                r.TSN = 1;
                r.IS_2_1.Text = "3";
            },
            "", std::sqrt(3.0) },
        { "1 negative limit",
            [](auto& r) {
                r.TSN = 1;
                r.IS_2_1.Text = "-3";
            },
            "", std::sqrt(3.0) },
        { "1 percent",
            [](auto& r) {
                r.TSN = 1;
                r.IS_2_1.Text = "2 %";
            },
            "50", 1 / std::sqrt(3.0) },
        { "1 percent without value",
            [](auto& r) {
                r.TSN = 1;
                r.IS_2_1.Text = "2 %";
            },
            "", nan },
        { "1 formula with =",
            [](auto& r) {
                r.TSN = 1;
                r.IS_2_1.Text = "=VAR*0.03";
            },
            "-100", std::sqrt(3.0) },
        { "1 exponent text",
            [](auto& r) {
                r.TSN = 1;
                r.IS_2_1.Text = "1E5";
            },
            "", 1e5 / std::sqrt(3.0) },
        { "2",
            [](auto& r) {
                r.TSN = 2;
                r.IS_2_2.Text = "1";
            },
            "", 1 / std::sqrt(6.0) },
        { "3",
            [](auto& r) {
                r.TSN = 3;
                r.SO_2_3.Text = "0.5";
            },
            "", 0.5 },
        { "3 formula",
            [](auto& r) {
                r.TSN = 3;
                r.SO_2_3.Text = "VAR/1000";
            },
            "4", 0.004 },
        { "4",
            [](auto& r) {
                r.TSN = 4;
                r.IS_2_4.Text = "0.2";
                r.HS = 2;
            },
            "", 0.2 / 1.96 },
        { "4 formula",
            [](auto& r) {
                r.TSN = 4;
                r.IS_2_4.Text = "=VAR*0.003";
                r.HS = 5;
            },
            "100", 0.1 },
        { "5",
            [](auto& r) {
                r.TSN = 5;
                r.IS_2_5.Text = "1";
            },
            "", 1 / std::sqrt(2.0) },
        { "8",
            [](auto& r) {
                r.TSN = 8;
                r.SO_5.Text = "0.3";
            },
            "", 0.3 },
        { "9 deviation",
            [](auto& r) {
                r.TSN = 9;
                r.PM_6 = 3;
                r.VM_6.Text = "1@2@3@";
            },
            "", 1 },
        { "9 relative",
            [](auto& r) {
                r.TSN = 9;
                r.PM_6 = 3;
                r.VM_6.Text = "1@2@3@";
                r.OV_6 = 1;
            },
            "100", 50 },
        { "9 one reading",
            [](auto& r) {
                r.TSN = 9;
                r.PM_6 = 1;
                r.VM_6.Text = "1@";
            },
            "", nan },
        { "10 beta 0",
            [](auto& r) {
                r.TSN = 10;
                r.PD_2_6.Text = "1";
                r.TFa_2_6.Text = "0";
            },
            "", 1 / std::sqrt(6.0) },
        { "10 beta 1",
            [](auto& r) {
                r.TSN = 10;
                r.PD_2_6.Text = "1";
                r.TFa_2_6.Text = "1";
            },
            "", 1 / std::sqrt(3.0) },
        { "11 relative",
            [](auto& r) {
                r.TSN = 11;
                r.OV_7 = 1;
                r.RSO_7 = "2";
                r.NPP_7 = 4;
            },
            "50", 0.5 },
        { "12 relative of a negative value",
            [](auto& r) {
                r.TSN = 12;
                r.OV_8 = 3;
                r.RSO_8 = "1";
            },
            "-200", 2 },
        { "13",
            [](auto& r) {
                r.TSN = 13;
                r.PM_9 = 2;
                r.VM_9.Text = "4@4@";
            },
            "", 2 },
        { "13 one variance",
            [](auto& r) {
                r.TSN = 13;
                r.PM_9 = 1;
                r.VM_9.Text = "9@";
            },
            "", 3 },
        { "14",
            [](auto& r) {
                r.TSN = 14;
                r.PM_10 = 2;
                r.VM_10.Text = "10#1@12#1@";
            },
            "", 1 },
        { "14 one pair",
            [](auto& r) {
                r.TSN = 14;
                r.PM_10 = 1;
                r.VM_10.Text = "10#1@";
            },
            "", nan },
        // Kept: what the dialog stored stays.
        { "6 kept",
            [](auto& r) {
                r.TSN = 6;
                r.PM_3 = 2;
                r.VM_3.Text = "1@2@";
            },
            "", 0, true },
        { "7 kept", [](auto& r) { r.TSN = 7; }, "", 0, true },
        { "11 output 0 kept",
            [](auto& r) {
                r.TSN = 11;
                r.OV_7 = 0;
                r.RSO_7 = "2";
            },
            "50", 0, true },
        { "12 output 2 kept",
            [](auto& r) {
                r.TSN = 12;
                r.OV_8 = 2;
                r.RSO_8 = "2";
            },
            "50", 0, true },
        { "expression kept",
            [](auto& r) {
                r.TSN = 1;
                r.USType = 4;
                r.IS_2_1.Text = "a+1";
            },
            "", 0, true },
        { "range kept",
            [](auto& r) {
                r.TSN = 0;
                r.USType = 6;
                r.KO.Text = "RANGE(x)";
            },
            "5", 0, true },
    };
    for (const MethodRow& row : rows) {
        TVstupStandardnejNeistoty rec;
        rec.HSN = "0.777";
        row.fill(rec);
        const bool acted = EvaluateSourceRecord(rec, row.pv);
        EXPECT_EQ(acted, !row.kept) << row.name;
        if (row.kept) {
            EXPECT_EQ(rec.HSN, "0.777") << row.name;
            continue;
        }
        if (std::isnan(row.expected)) {
            EXPECT_TRUE(rec.HSN.isEmpty()) << row.name << ": " << rec.HSN.toStdString();
            continue;
        }
        double u = 0;
        ASSERT_TRUE(TryStrToFloatNeutral(rec.HSN, u)) << row.name << ": " << rec.HSN.toStdString();
        EXPECT_NEAR(u, row.expected, 1e-13 * row.expected) << row.name;
    }
}

TEST(SourceUncertainty, IntermediateResultsAndKinds)
{
    TVstupStandardnejNeistoty rec;
    rec.TSN = 0;
    rec.KO.Text = "=VAR*0.01";
    EvaluateSourceRecord(rec, "200");
    EXPECT_EQ(rec.USType, 3);
    // A condition stays a condition, whatever its branch is.
    rec.KO.Text = "CONDITION(if x>[0] then u=[VAR*0.01])";
    EvaluateSourceRecord(rec, "200");
    EXPECT_EQ(rec.USType, 7);
    EXPECT_EQ(rec.HSN, "2");
    EvaluateSourceRecord(rec, "300");
    EXPECT_EQ(rec.HSN, "3");

    TVstupStandardnejNeistoty m9;
    m9.TSN = 9;
    m9.PM_6 = 3;
    m9.VM_6.Text = "1@2@3@";
    EvaluateSourceRecord(m9, "");
    EXPECT_EQ(m9.AP_6, "2");
    EXPECT_EQ(m9.SO_6, "1");
    EXPECT_EQ(m9.RSO_6, "50");
    EXPECT_EQ(m9.PSV_6.Text, "2");
    // A typed number of degrees of freedom is kept.
    m9.PSV_6.Text = "7";
    EvaluateSourceRecord(m9, "");
    EXPECT_EQ(m9.PSV_6.Text, "7");

    TVstupStandardnejNeistoty m13;
    m13.TSN = 13;
    m13.PM_9 = 1;
    m13.VM_9.Text = "9@";
    m13.PSV_9.Text.clear();
    EvaluateSourceRecord(m13, "");
    EXPECT_EQ(m13.PSV_9.Text, "50");
    EXPECT_EQ(m13.AP_9, "9");

    TVstupStandardnejNeistoty m14;
    m14.TSN = 14;
    m14.PM_10 = 2;
    m14.VM_10.Text = "10#1@12#1@";
    EvaluateSourceRecord(m14, "");
    EXPECT_EQ(m14.AP_10, "11");
    EXPECT_EQ(m14.SO_10, "1");
    EXPECT_EQ(m14.PSV_10, "1");
}

TEST(SourceUncertainty, OnlyOneMeasuredSeriesPerQuantity)
{
    TPrenosInfoDoNovejBunky q;
    q.CellType = kQuantityCell;
    TCell quantity(nullptr, q, 0, 0, nullptr);
    TPrenosInfoDoNovejBunky s;
    s.CellType = kUncertaintyCell;
    s.Active = 1;
    s.UncertaintyInput.TSN = 6;
    TCell* series = quantity.AddChild(s);
    s.UncertaintyInput.TSN = 1;
    TCell* other = quantity.AddChild(s);
    EXPECT_FALSE(quantity.IsMethodAllowed(other, 13));
    EXPECT_FALSE(quantity.IsMethodAllowed(other, 7));
    EXPECT_TRUE(quantity.IsMethodAllowed(other, 9));
    EXPECT_TRUE(quantity.IsMethodAllowed(series, 13));
}

} // namespace
} // namespace orvek
