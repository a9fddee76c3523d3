#include "core/common_vars.h"
#include "core/identifier_text.h"
#include "core/number_text.h"
#include "tests/core/number_separators.h"
#include "tests/support/test_env.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace orvek;

namespace {

class NumberText : public test::SeparatorTest { };
INSTANTIATE_TEST_SUITE_P(Separators, NumberText, ::testing::Values('.', ','), test::SeparatorName);

TEST_P(NumberText, NormalizeNumberText)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        { " 12,5 ", "12.5" },
        { "1 234,5", "1234.5" },
        { "12,", "12.0" },
        { "e-3", "1E-3" },
        { "-E5", "-1E5" },
        { "+E5", "+E5" },
        { "\t2.5e2\r\n", "2.5E2" },
        { "", "" },
        { " \t ", "" },
        { "1.234,5", "1.234.5" },
        { "-e", "-1E" },
        { "x", "X" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormalizeNumberText(L(c.in)), L(c.out)) << c.in;
}

TEST_P(NumberText, StrictConversionGrammar)
{
    const struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        { "3.14", true, 3.14 },
        { "3,14", true, 3.14 },
        { "+0,5", true, 0.5 },
        { " -2,5e2 ", true, -250 },
        { "12.", true, 12 },
        { ".5", true, 0.5 },
        { "E5", true, 1e5 },
        { "-E5", true, -1e5 },
        { "1 234,5", true, 1234.5 },
        { "1E-400", true, 0 },
        { "7", true, 7 },
        { "0000.25E+1", true, 2.5 },
        // zero texts, including a lone sign or point
        { "-", true, 0 },
        { ".", true, 0 },
        { "-0,00", true, 0 },
        { "0E+00", true, 0 },
        // not numbers
        { "", false, 0 },
        { "   ", false, 0 },
        { "x", false, 0 },
        { "1.234,5", false, 0 },
        { "1.2.3", false, 0 },
        { "1E", false, 0 },
        { "1E+", false, 0 },
        { "1E2.5", false, 0 },
        { "--1", false, 0 },
        { "+-1", false, 0 },
        { "inf", false, 0 },
        { "nan", false, 0 },
        { "INF", false, 0 },
        { "0x1A", false, 0 },
        { "12abc", false, 0 },
        { "1E400", false, 0 },
        { "-1E400", false, 0 },
        { "\xD9\xA3", false, 0 },
        { "1_000", false, 0 },
        { "e", false, 0 },
        // an exponent letter without a mantissa digit before it is no zero
        { "E", false, 0 },
        { "-E", false, 0 },
        { "E0", true, 1 },
    };
    for (const auto& c : cases) {
        double value = 42;
        EXPECT_EQ(TryStrToFloatNeutral(L(c.text), value), c.ok) << c.text;
        if (c.ok)
            EXPECT_DOUBLE_EQ(value, c.value) << c.text;
        else
            EXPECT_EQ(value, 42) << c.text << ": a failure must leave the value alone";
    }
}

// What a conversion accepts is stored in its normalised or checked form, and either
// form must convert again to the same number; what it refuses stays refused.
TEST_P(NumberText, AcceptedTextsReadBackInTheirStoredForms)
{
    const struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        { "E", false, 0 },
        { "-E", false, 0 },
        { "+E", false, 0 },
        { ".E", false, 0 },
        { "E.", false, 0 },
        { "E-", false, 0 },
        { "EE", false, 0 },
        { "-e", false, 0 },
        { "1E", false, 0 },
        { "1e", false, 0 },
        { "1E+", false, 0 },
        { ".E5", false, 0 },
        { "+E5", false, 0 },
        { "e5", true, 1e5 },
        { "E+5", true, 1e5 },
        { "-E-2", true, -0.01 },
        { "E0", true, 1 },
        { "-E0", true, -1 },
        { "0E", true, 0 },
        { "-0e", false, 0 }, // only an upper-case "E" counts in a zero text
        { "0E-7", true, 0 },
        { "1,5E-3", true, 0.0015 },
        { "1.5e-3", true, 0.0015 },
        { ",5E1", true, 5 },
        { "-", true, 0 },
        { "+", true, 0 },
        { ".", true, 0 },
        { ",", true, 0 },
        { "0,", true, 0 },
        { "12,", true, 12 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = L(c.text);
        double value = 42;
        ASSERT_EQ(TryStrToFloatNeutral(text, value), c.ok);
        if (!c.ok) {
            EXPECT_EQ(CheckedNumberText(text), text);
            continue;
        }
        EXPECT_DOUBLE_EQ(value, c.value);
        for (const QString& stored : { NormalizeNumberText(text), CheckedNumberText(text) }) {
            double again = 42;
            EXPECT_TRUE(TryStrToFloatNeutral(stored, again)) << stored.toStdString();
            EXPECT_EQ(again, value) << stored.toStdString();
        }
    }
}

TEST_P(NumberText, ExtendedConversionKeepsItsRangeAndPrecision)
{
    long double value = 0;
    ASSERT_TRUE(TryStrToExtendedNeutral(L("1E400"), value));
    EXPECT_EQ(value, 1e400L);
    ASSERT_TRUE(TryStrToExtendedNeutral(L("0.1"), value));
    EXPECT_EQ(value, 0.1L);
    EXPECT_NE(value, static_cast<long double>(0.1));
    ASSERT_TRUE(TryStrToExtendedNeutral(L("-2,5"), value));
    EXPECT_EQ(value, -2.5L);
    value = 7;
    EXPECT_FALSE(TryStrToExtendedNeutral(L("1E5000"), value));
    EXPECT_FALSE(TryStrToExtendedNeutral(L("1.2.3"), value));
    EXPECT_EQ(value, 7);
}

TEST_P(NumberText, CheckedNumberText)
{
    EXPECT_EQ(CheckedNumberText(L(" -0,0 ")), "0");
    EXPECT_EQ(CheckedNumberText(L(" 12,5 ")), L("12.5"));
    EXPECT_EQ(CheckedNumberText(L("e3")), L("1E3"));
    EXPECT_EQ(CheckedNumberText(L(" abc ")), L(" abc "));
    EXPECT_EQ(CheckedNumberText(L("1.234,5")), L("1.234,5"));
    EXPECT_EQ(CheckedNumberText(""), "");
}

TEST_P(NumberText, IntegerConversionCutsTheFraction)
{
    const struct {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        { "12,5", true, 12 },
        { "12.9", true, 12 },
        { "-7", true, -7 },
        { "+5", true, 5 },
        { " 3 ", true, 3 },
        { "-0,9", true, 0 },
        { "2147483647", true, 2147483647 },
        { "-2147483648", true, std::numeric_limits<int>::min() },
        { "2147483648", false, 0 },
        { "99999999999999999999", false, 0 },
        { "1E3", false, 0 },
        { "", false, 0 },
        { ".", false, 0 },
        { "-", false, 0 },
        { "1a", false, 0 },
    };
    for (const auto& c : cases) {
        int value = 42;
        EXPECT_EQ(TryStrToIntNeutral(L(c.text), value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : 42) << c.text;
    }
}

TEST_P(NumberText, ZeroTexts)
{
    for (const char* zero : { "0", "-0,00", "0E+00", "+.0", ".", "-", "0E", "0,", "00000" })
        EXPECT_TRUE(IsZeroText(L(zero))) << zero;
    for (const char* other : { " 0", "0 ", "0e0", "0.01", "", "  ", "1", "O", "0%", "E", "-E", ".E", "E0", "+E-0" })
        EXPECT_FALSE(IsZeroText(L(other))) << other;

    EXPECT_TRUE(IsZeroPercentText(L("0 %")));
    EXPECT_TRUE(IsZeroPercentText(L("%0,0")));
    EXPECT_FALSE(IsZeroPercentText(L("0 %%")));
    EXPECT_FALSE(IsZeroPercentText(L("5 %")));
    EXPECT_FALSE(IsZeroPercentText(L("%")));
}

TEST_P(NumberText, CharacterTests)
{
    EXPECT_EQ(IntegerPartText("1.234,5"), "1.234"); // the comma wins over the point
    EXPECT_EQ(IntegerPartText("1,234.5"), "1");
    EXPECT_EQ(IntegerPartText("12.7"), "12");
    EXPECT_EQ(IntegerPartText("12,7"), "12");
    EXPECT_EQ(IntegerPartText("Nekonecno"), "Nekonecno");
    EXPECT_EQ(IntegerPartText(""), "");

    // Number characters: digits, signs, separators and one exponent letter after a
    // digit; a text whose "E" comes first may be a name.
    const std::pair<const char*, bool> numberChars[] = {
        { "", true },
        { " -1,5.+ ", true },
        { "1E3", true },
        { "2e-6", true },
        { "2E-6", true },
        { "-1,15e-5", true },
        { ".5E+2", true },
        { "1E", true }, // number characters, though no number
        { "E", false },
        { "E5", false },
        { "-E5", false },
        { "1E5E3", false },
        { "1 2", false },
        { "2x", false },
    };
    for (const auto& [text, only] : numberChars)
        EXPECT_EQ(HasOnlyNumberChars(L(text)), only) << text;

    EXPECT_EQ(ToLocalDecimalSeparator(L("1,5 and 2,5")), L("1.5 and 2.5"));
    EXPECT_EQ(ToLocalDecimalSeparator(L("3.25")), L("3.25"));
}

TEST_P(NumberText, DecimalMaskAndZeroClass)
{
    EXPECT_EQ(DecimalMaskOfNumber(L("12,50")), L("0.00"));
    EXPECT_EQ(DecimalMaskOfNumber(L("12.50")), L("0.00"));
    EXPECT_EQ(DecimalMaskOfNumber("7"), "0");
    EXPECT_EQ(DecimalMaskOfNumber(L("3.")), L("0.0"));
    EXPECT_EQ(DecimalMaskOfNumber(L("1.5E3")), L("0.000")); // the exponent's characters count
    EXPECT_EQ(DecimalMaskOfNumber(""), "0");

    EXPECT_EQ(ClassifyZeroText("  "), 1);
    EXPECT_EQ(ClassifyZeroText(""), 1);
    EXPECT_EQ(ClassifyZeroText(" 0,000 "), 3);
    EXPECT_EQ(ClassifyZeroText("."), 3);
    EXPECT_EQ(ClassifyZeroText("-0"), 2);
    EXPECT_EQ(ClassifyZeroText("1E-3"), 2);
}

TEST_P(NumberText, GeneralText)
{
    const struct {
        long double x;
        const char* text;
    } cases[] = {
        { 0.0L, "0" },
        { -0.0L, "0" },
        { 1.5L, "1.5" },
        { 0.1, "0.1" },
        { 0.1 + 0.2, "0.3" },
        { 2.675, "2.675" },
        { 1.0 / 3, "0.333333333333333" },
        { -2.0 / 3, "-0.666666666666667" },
        { 100, "100" },
        { -1234.5, "-1234.5" },
        { 1e-5, "0.00001" },
        { 1.25e-5, "0.0000125" },
        { 1e-6, "1E-6" },
        { -1.5e-7, "-1.5E-7" },
        { 1e14, "100000000000000" },
        { 999999999999999.0, "999999999999999" },
        { 9.999999999999999e14, "1E15" },
        { 1e15, "1E15" },
        { 1.5e20, "1.5E20" },
        { 123456789012345678.0, "1.23456789012346E17" },
        { 1e300, "1E300" },
        { 0.1L, "0.1" },
        { 1e4000L, "1E4000" },
        { 2.0L / 3, "0.666666666666667" },
        { std::numeric_limits<double>::infinity(), "INF" },
        { -std::numeric_limits<long double>::infinity(), "-INF" },
        { std::numeric_limits<double>::quiet_NaN(), "NAN" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToGeneralText(c.x), L(c.text)) << c.text;
}

TEST_P(NumberText, GeneralTextReadsBack)
{
    for (double x : { 3.141592653589793, -2.5e-9, 6.02214076e23, 1.0 / 7, 123456.789, 5e-324 }) {
        double back = 0;
        ASSERT_TRUE(TryStrToFloatNeutral(FloatToGeneralText(x), back)) << x;
        EXPECT_NEAR(back, x, std::fabs(x) * 1e-14) << x;
    }
}

// Infinite degrees of freedom are typed as people type them, in any language, and are
// stored as the one word the records keep; a field shows the current language's word.
TEST(InfiniteDegreesOfFreedom, TypedInEveryLanguageStoredAsOneWordShownInTheCurrentOne)
{
    AppDir = test::TestProgramFolder();
    const struct {
        const char* typed;
        bool infinite;
    } cases[] = {
        { "inf", true },
        { " INF ", true },
        { "Infinity", true },
        { "\u221E", true },
        { "+\u221E", true },
        { "Nekonecno", true },
        { "nekone\u010Dno", true },
        { "NEKONE\u010CNO", true },
        { "", false },
        { "12", false },
        { "1E6", false },
        { "-inf", false },
        { "infinit", false },
        { "nan", false },
    };
    for (quint8 language : { 0, 1, 2 }) {
        LanguageID = language;
        for (const auto& c : cases) {
            const QString typed = QString::fromUtf8(c.typed);
            EXPECT_EQ(IsInfinityText(typed), c.infinite) << c.typed << " in language " << int(language);
            EXPECT_EQ(StoredDegreesOfFreedom(typed), c.infinite ? QStringLiteral("Nekonecno") : typed.trimmed())
                << c.typed;
        }
        // The word the field shows is taken back as infinite in every language.
        EXPECT_TRUE(IsInfinityText(InfinityWord()));
        EXPECT_EQ(StoredDegreesOfFreedom(ShownDegreesOfFreedom("Nekonecno")), "Nekonecno");
        EXPECT_EQ(ShownDegreesOfFreedom("12"), "12");
    }
    LanguageID = 0;
    EXPECT_EQ(ShownDegreesOfFreedom("Nekonecno"), "Infinity");
    LanguageID = 1;
    EXPECT_EQ(ShownDegreesOfFreedom("Nekonecno"), QString::fromUtf8("Nekone\u010Dno"));
    LanguageID = EditionFlag;
    AppDir.clear();
}

TEST(DecimalSeparators, TakenFromTheLocale)
{
    const struct {
        QLocale locale;
        char own;
    } cases[] = {
        { QLocale::c(), '.' }, { QLocale(QLocale::English, QLocale::UnitedStates), '.' },
        { QLocale(QLocale::Slovak, QLocale::Slovakia), ',' }, { QLocale(QLocale::Czech, QLocale::CzechRepublic), ',' },
        { QLocale(QLocale::Arabic, QLocale::Egypt), ',' }, // a separator of its own counts as ","
    };
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        InitDecimalSeparators();
        EXPECT_EQ(OwnDecimalSeparator, QChar(c.own)) << c.locale.name().toStdString();
        EXPECT_EQ(ForeignDecimalSeparator, QChar(c.own == '.' ? ',' : '.'));
    }
    QLocale::setDefault(QLocale::c());
    InitDecimalSeparators();
}

TEST(IdentifierText, IsAlphanumeric)
{
    EXPECT_TRUE(IsAlphanumeric("Abc123"));
    EXPECT_TRUE(IsAlphanumeric(""));
    EXPECT_FALSE(IsAlphanumeric("ab c"));
    EXPECT_FALSE(IsAlphanumeric(QString::fromUtf8("čaj")));
    EXPECT_FALSE(IsAlphanumeric("a_b"));
    EXPECT_FALSE(IsAlphanumeric(QString::fromUtf8("１"))); // a full-width digit
}

} // namespace
