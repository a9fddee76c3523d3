#include "engine/element_table.h"

#include "core/string_table.h"

#include <gtest/gtest.h>

namespace orvek {
namespace {

TEST(ElementTable, TableAndLookup)
{
    EXPECT_STREQ(ElementTable[0].Symbol, "LP");
    EXPECT_STREQ(ElementTable[6].AtomicWeightText, "12.0107");
    EXPECT_STREQ(ElementTable[104].Symbol, "Rf");
    EXPECT_EQ(FindElement("Co"), 27);
    EXPECT_EQ(FindElement("CO"), 0);
    EXPECT_EQ(FindElement("co"), 0);
    QString t;
    CountText(1, t);
    EXPECT_TRUE(t.isEmpty());
    CountText(12, t);
    EXPECT_EQ(t, "12");
}

TEST(ElementTable, SumFormulas)
{
    const struct {
        const char* formula;
        const char* normal; // empty: invalid
    } cases[] = {
        { "C2H5OH", "C2H6O" },
        { "OH2", "H2O" },
        { "NaCl", "ClNa" },
        { "CO2", "CO2" },
        { "C1H4", "CH4" },
        { "CO", "CO" },
        { "Co", "Co" },
        { " H2 O ", "H2O" },
        { "C12H22O11", "C12H22O11" },
        { "Na2SO4", "Na2O4S" },
        // Invalid: lower case start, leading digit, other characters, unknown symbols anywhere.
        { "h2o", "" },
        { "2H2O", "" },
        { "H2\u00B7O", "" },
        { "H2Q", "" },
        { "H2Qa", "" },
        { "", "" },
    };
    for (const auto& c : cases) {
        QString message, normal;
        AnalyseSumFormula(QString::fromUtf8(c.formula), message, normal);
        EXPECT_EQ(normal, QString(c.normal)) << c.formula;
        EXPECT_TRUE(message.isEmpty()) << c.formula;
    }
    QString message, normal;
    AnalyseSumFormula("C2H6O", message, normal);
    EXPECT_EQ(ElementCounts[6], 2);
    EXPECT_EQ(ElementCounts[1], 6);
    EXPECT_EQ(ElementCounts[8], 1);
    EXPECT_EQ(ElementCounts[0], 0);
}

TEST(ElementTable, CountsTooLargeGiveTheMessage)
{
    const QString text307 = GetString(307) + " : ";
    for (const char* formula : { "C10000", "C9999C", "H00001" }) {
        QString message, normal;
        AnalyseSumFormula(formula, message, normal);
        EXPECT_TRUE(message.startsWith(text307)) << formula;
        EXPECT_TRUE(message.endsWith(formula[0] == 'C' ? "C" : "H")) << formula;
    }
    QString message, normal;
    AnalyseSumFormula("O2C9999C", message, normal);
    EXPECT_EQ(normal, "C9999O2"); // the counts reached before
    AnalyseSumFormula("C9999", message, normal);
    EXPECT_TRUE(message.isEmpty());
    EXPECT_EQ(normal, "C9999");
}

TEST(ElementTable, SubscriptsCloseEveryDigitRun)
{
    const struct {
        const char* formula;
        const char* tagged;
    } cases[] = {
        { "H2O", "H[cf15]2[cf1]O" },
        { "C2H6O", "C[cf15]2[cf1]H[cf15]6[cf1]O" },
        { "C12H22O11", "C[cf15]12[cf1]H[cf15]22[cf1]O[cf15]11[cf1]" },
        { "Na2SO4", "Na[cf15]2[cf1]SO[cf15]4[cf1]" },
        { "C100", "C[cf15]100[cf1]" },
        { "", "" },
    };
    for (const auto& c : cases) {
        QString text;
        TagFormulaSubscripts(c.formula, text);
        EXPECT_EQ(text, QString(c.tagged)) << c.formula;
    }
}

} // namespace
} // namespace orvek
