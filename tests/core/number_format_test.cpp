#include "core/common_vars.h"
#include "core/number_format.h"
#include "core/settings.h"
#include "tests/core/number_separators.h"

#include <gtest/gtest.h>
#include <limits>
#include <memory>

using namespace orvek;

namespace {

class NumberFormat : public test::SeparatorTest {
protected:
    void SetUp() override
    {
        SeparatorTest::SetUp();
        SignificantDigits = 2;
        ExponentBelowLimit = 1E-7;
        ExponentAboveLimit = 9999999;
    }
};
INSTANTIATE_TEST_SUITE_P(Separators, NumberFormat, ::testing::Values('.', ','), test::SeparatorName);

TEST_P(NumberFormat, ScientificTextRoundsTheDecimalDigits)
{
    const struct {
        double x;
        int decimals;
        const char* text;
    } cases[] = {
        { 0.01234, 1, "1.2E-2" },
        { 9.96, 1, "1.0E1" },
        { 0, 1, "0.0E0" },
        { 2.5, 0, "3E0" },
        { -2.5, 0, "-3E0" },
        { 0.125, 1, "1.3E-1" },
        { 2.675, 2, "2.68E0" },
        { 1.005, 2, "1.01E0" },
        { 9.999, 2, "1.00E1" },
        { 1.25e-300, 1, "1.3E-300" },
        { 123456, 20, "1.23456000000000000000E5" }, // digits past the 15th are zeros
        { 0.1 + 0.2, 16, "3.0000000000000000E-1" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScientificText(c.x, c.decimals), L(c.text)) << c.text;
}

TEST_P(NumberFormat, PairRoundsTheValueAtTheUncertaintysLastDigit)
{
    const struct {
        double value, unc;
        int digits;
        const char *valueText, *uncText;
    } cases[] = {
        { 12.3456, 0.0123, 2, "12.346", "0.012" },
        { 5.4321E-9, 1.234E-9, 2, "0.54E-8", "0.12E-8" }, // both below the exponent limit
        { 1.23456, 0.0996, 2, "1.23", "0.10" }, // the uncertainty rounds up a decade
        { 1234.5, 12, 2, "1235", "12" }, { -1234.5, 12, 2, "-1235", "12" }, { 5, -0.25, 2, "5.00", "-0.25" },
        { -0.5, 0.25, 1, "-0.5", "0.3" }, { 12.3456, 0.0123, 1, "12.35", "0.01" },
        { 12.3456, 0.0123, 0, "12.35", "0.01" }, // fewer than one digit count as one
        { 12345678, 1234, 2, "0.123457E8", "1200" }, // value above the exponent limit
        { 12345678.9, 1.2, 2, "0.123456789E8", "1.2" },
        { 123456.789, 0.0012, 2, "123456.7890", "0.0012" }, // value far larger than its uncertainty
        { 0.00012, 12.3, 2, "0.0", "12" }, // value far smaller
        { 1E-9, 0.001234, 2, "0", "0.0012" }, // value rounded to nothing, exponent range
        { 9.96, 0.5, 2, "9.96", "0.50" }, { 99.996, 0.05, 1, "100.00", "0.05" }, // the value rounds up a decade
        { 0, 0.5, 2, "0", "0.50" }, { 12.3456, 0, 2, "12.3", "0" },
        { 1.0, 1.00000000001e-16, 2, "1.0", "0" }, // 1E-16 of numerical noise is no uncertainty
        { 3.0, 1.234567, 20, "3.00000000000000", "1.23456700000000" }, // 15 digits at most
    };
    for (const auto& c : cases) {
        QString valueText, uncText;
        FormatNumberPair(c.digits, valueText, uncText, c.unc, c.value);
        EXPECT_EQ(valueText, L(c.valueText)) << c.value << " +- " << c.unc << " / " << c.digits;
        EXPECT_EQ(uncText, L(c.uncText)) << c.value << " +- " << c.unc << " / " << c.digits;
    }
}

TEST_P(NumberFormat, PairExponentThresholdsFollowTheSettings)
{
    QString valueText, uncText;
    ExponentBelowLimit = 0.01;
    FormatNumberPair(2, valueText, uncText, 0.005, 1.2);
    EXPECT_EQ(valueText, L("1.2000"));
    EXPECT_EQ(uncText, L("0.50E-2"));
    FormatNumberPair(2, valueText, uncText, 0.01, 1.2); // at the limit is beyond it
    EXPECT_EQ(uncText, L("0.10E-1"));

    ExponentAboveLimit = 99;
    FormatNumberPair(2, valueText, uncText, 1.5, 99);
    EXPECT_EQ(valueText, L("0.990E2"));
    EXPECT_EQ(uncText, L("1.5"));
    FormatNumberPair(2, valueText, uncText, 1.5, 98.9);
    EXPECT_EQ(valueText, L("98.9"));
}

TEST_P(NumberFormat, PairOfNonFiniteNumbersIsTheirGeneralText)
{
    QString valueText, uncText;
    FormatNumberPair(2, valueText, uncText, std::numeric_limits<double>::infinity(), 1.5);
    EXPECT_EQ(valueText, L("1.5"));
    EXPECT_EQ(uncText, "INF");
    FormatNumberPair(2, valueText, uncText, 0.1, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(valueText, "NAN");
}

TEST_P(NumberFormat, ValueAndUncertaintyTexts)
{
    const struct {
        const char *value, *unc, *valueOut, *uncOut;
    } cases[] = {
        { "12.3456", "0.0123", "12.346", "0.012" },
        { "12,3456", " 0,0123 ", "12.346", "0.012" },
        { "12.3456", "0", "12.3", "0" },
        { "0", "0.5", "0", "0.50" },
        { "-0.0001", "0.5", "0", "0.50" }, // "-0.0" is a zero text
        { "1E-9", "0.001234", "0", "0.0012" },
        // returned unchanged
        { "NAN", "0.1", "NAN", "0.1" },
        { "12.3", "NAN", "12.3", "NAN" },
        { "12.3", "", "12.3", "" },
        { "", "0.1", "", "0.1" },
        { "abc", "0.1", "abc", "0.1" },
        { "12.3", "INF", "12.3", "INF" },
        { "1E400", "1", "1E400", "1" },
    };
    for (const auto& c : cases) {
        QString valueOut, uncOut;
        FormatValueAndUncertainty(L(c.value), L(c.unc), valueOut, uncOut);
        EXPECT_EQ(valueOut, L(c.valueOut)) << c.value << " " << c.unc;
        EXPECT_EQ(uncOut, L(c.uncOut)) << c.value << " " << c.unc;
    }

    SignificantDigits = 3;
    QString value = L("12.3456"), unc = L("0.0123");
    FormatValueAndUncertainty(value, unc, value, unc); // outputs may be the inputs
    EXPECT_EQ(value, L("12.3456"));
    EXPECT_EQ(unc, L("0.0123"));
}

TEST_P(NumberFormat, ValueAndUncertaintyWithOneDigit)
{
    const struct {
        const char *value, *unc, *valueOut, *uncOut;
    } cases[] = {
        { "12.3456", "0.0123", "12.35", "0.01" },
        { "1.23456", "0.0996", "1.2", "0.1" },
        { "NAN", "1", "NAN", "1" },
        { "12.3", "", "12.3", "" },
        { "x", "1", "x", "1" },
    };
    for (const auto& c : cases) {
        QString valueOut, uncOut;
        FormatValueAndUncertaintyOneDigit(L(c.value), L(c.unc), valueOut, uncOut);
        EXPECT_EQ(valueOut, L(c.valueOut)) << c.value;
        EXPECT_EQ(uncOut, L(c.uncOut)) << c.value;
    }
}

TEST_P(NumberFormat, SignificantText)
{
    const struct {
        int digits;
        const char *text, *result;
    } cases[] = {
        { 2, "INF", "" },
        { 2, "-INF", "" },
        { 2, "NAN", "" },
        { 2, "Nekonecno", "" },
        { 2, "", "" },
        { 2, "0,000", "0" },
        { 2, "-0", "0" },
        { 2, "0.0996", "0.10" },
        { 2, "9.96", "10" },
        { 2, "123456", "120000" },
        { 3, "1.23456E-9", "0.123E-8" },
        { 2, "-0.0123", "-0.012" },
        { 0, "0,0123", "0.01" },
        { 2, "12345678", "0.12E8" },
        { 2, "1E307", "0.10E308" }, // no overflow of a larger multiple of it
        { 2, "1.7E308", "0.17E309" },
        { 8, "3.14159265358979", "3.1415927" },
        // one digit that rounds up a decade above the exponent limit
        { 1, "9.6E7", "1E8" },
        { 1, "-96000000", "-1E8" },
        { 1, "9.6E307", "1E308" },
        { 1, "9.6", "10" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatSignificantText(c.digits, L(c.text)), L(c.result)) << c.text;
}

TEST_P(NumberFormat, PlainAndExponentForms)
{
    const struct {
        const char* mantissa;
        int exponent;
        const char *plain, *exponentForm;
    } cases[] = {
        { "1.2", -9, "0.0000000012", "0.12E-8" },
        { "12.3", -2, "0.123", "0.123E0" },
        { "0.0012", -3, "0.0000012", "0.12E-5" },
        { "0.12", -8, "0.0000000012", "0.12E-8" }, // already in exponent form
        { "5", -9, "0.000000005", "5E-9" }, // no separator
        { "1234.6", -2, "12.346", "0.12346E2" },
        { "1.2", 3, "1200", "0.12E4" },
        { "1.25", 1, "12.5", "0.125E2" },
        { "0.", 0, "0.0", "0" },
        { "000", 0, "0", "0" },
        { "00.0", -1, "0.00", "0" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShiftDecimalPoint(L(c.mantissa), c.exponent), L(c.plain)) << c.mantissa << " " << c.exponent;
        EXPECT_EQ(ExponentFormText(L(c.mantissa), c.exponent), L(c.exponentForm)) << c.mantissa << " " << c.exponent;
    }
}

TEST_P(NumberFormat, RoundByMagnitude)
{
    const struct {
        const char *text, *result;
    } cases[] = {
        { "0.05", "0.050" },
        { "0.005", "0.0050" },
        { "0.1234", "0.12" },
        { "12.345", "12.35" },
        { "0.1", "0.10" },
        { "0.01", "0.010" },
        { "0", "0" },
        { "-5.678", "-5.7" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundByMagnitudeText(L(c.text)), L(c.result)) << c.text;
}

TEST_P(NumberFormat, ExponentFormOfAutoDecimalsUsesTheOwnSeparator)
{
    EXPECT_EQ(FloatToAutoDecimalsText(false, 1.23e-6), L("1.23E-6"));
    EXPECT_EQ(FloatToAutoDecimalsText(true, 5e12), L("5.0E+12"));
    EXPECT_EQ(FloatToAutoDecimalsText(false, 0.5), "0.5000"); // fixed form always "."
}

TEST(NumberFormatText, RoundDecimalsText)
{
    const struct {
        const char* text;
        int decimals;
        const char* result;
    } cases[] = {
        { "2", 3, "2.000" }, { "1.23E-8", 1, "1.2E-8" }, { "0.96", 1, "1.0" }, { "9.996", 2, "10.00" },
        { "0.125", 2, "0.13" }, { "2.675", 2, "2.68" }, { "1.005", 2, "1.01" }, { "-2.5", 0, "-3" },
        { "-9.95", 1, "-10.0" }, { "1,5", 3, "1,500" }, { "12", 0, "12" }, { "-12", 1, "-12.0" },
        { "1.2", 5, "1.20000" }, { "", 2, "" }, { ".96", 1, "1.0" }, { "1.44", 1, "1.4" }, { "99.5", 0, "100" },
        { "-1.25E+12", 1, "-1.3E+12" }, { "5E-3", 2, "5E-3" },
        { "-12345E-3", 2, "-12345E-3" }, // no decimals written, none to round
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoundDecimalsText(c.text, quint8(c.decimals)), c.result) << c.text << " " << c.decimals;

    OwnDecimalSeparator = QChar(',');
    EXPECT_EQ(RoundDecimalsText("2", 2), "2,00");
    OwnDecimalSeparator = QChar('.');
}

TEST(NumberFormatText, ExponentToMarkup)
{
    EXPECT_EQ(ExponentToMarkup("1.5E+3"), "1.5;ts10[cf11]+3[cf1]");
    EXPECT_EQ(ExponentToMarkup("0.12E-8 m"), "0.12;ts10[cf11]-8[cf1] m");
    EXPECT_EQ(ExponentToMarkup("E5"), ";ts10[cf11]5[cf1]");
    EXPECT_EQ(ExponentToMarkup("2 E3"), "2 ;ts10[cf11]3[cf1]");
    EXPECT_EQ(ExponentToMarkup("12.5"), "12.5");
    EXPECT_EQ(ExponentToMarkup("ABE3"), "ABE3");
    EXPECT_EQ(ExponentToMarkup(""), "");
}

TEST(NumberFormatText, AutoDecimals)
{
    const struct {
        bool force;
        double x;
        const char* text;
    } cases[] = {
        { false, 0, "0" },
        { true, 0, "0.0" },
        { false, 12345.678, "12345.7" },
        { false, 1234.5678, "1234.57" },
        { false, 123.45678, "123.457" },
        { false, 0.5, "0.5000" },
        { false, -0.125, "-0.1250" },
        { false, 0.05, "0.05000" },
        { false, 0.005, "0.005000" },
        { false, 0.0005, "0.0005000" },
        { false, 0.00012345, "0.0001235" },
        { false, 0.00005, "0.00005000" },
        { false, 0.000009, "9.0E-6" },
        { false, 1.23e-6, "1.23E-6" },
        { true, 5e12, "5.0E+12" },
        { true, 1.5, "1.5" },
        { true, -1.23456789e-10, "-1.2346E-10" },
        { true, 9.99999e5, "1.0E+6" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToAutoDecimalsText(c.force, c.x), c.text) << c.x;

    EXPECT_EQ(TidyExponentText("1.2300E-0006"), "1.23E-6");
    EXPECT_EQ(TidyExponentText("5.0000E+0012"), "5.0E+12");
    EXPECT_EQ(TidyExponentText("1.5000E+0000"), "1.5");
}

TEST(NumberFormatText, FixedText)
{
    const struct {
        int width, decimals;
        double x;
        const char* text;
    } cases[] = {
        { 1, 1, 1.0, "1.0" },
        { 8, 3, -2.5, "  -2.500" },
        { 1, 1, -0.04, "0.0" },
        { 1, 2, 0.125, "0.13" },
        { 1, 0, 2.5, "3" },
        { 1, 0, -2.5, "-3" },
        { 3, 1, 123.45, "123.5" },
        { 6, 2, 1.005, "  1.01" },
        { 1, 2, 0.006, "0.01" },
        { 1, 2, 0.004, "0.00" },
        { 1, 1, 0.95, "1.0" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToFixedText(quint8(c.width), quint8(c.decimals), c.x), c.text) << c.x;
}

TEST(NumberFormatText, StripTrailingZeros)
{
    const struct {
        const char *text, *result;
    } cases[] = {
        { "1.50", "1.5" },
        { "2.000", "2" },
        { "100", "100" },
        { "1,50", "1,5" },
        { "-3.10", "-3.1" },
        { "0.0", "0" },
        { "0.10000000E10", "0.1E10" }, // the exponent keeps its zeros
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(StripTrailingZeros(c.text), c.result) << c.text;
}

TEST(NumberFormatText, CorrelationMatrix)
{
    auto matrix = std::make_unique<TCorrelationMatrix>();
    quint8 size = 99;

    ParseCorrelationMatrix("1#0.5@0,5#1@", size, *matrix);
    EXPECT_EQ(size, 2);
    EXPECT_EQ((*matrix)[0][0], 1);
    EXPECT_EQ((*matrix)[1][0], 0.5); // cell 2 of row 1
    EXPECT_EQ((*matrix)[0][1], 0.5);
    EXPECT_EQ((*matrix)[1][1], 1);
    EXPECT_EQ((*matrix)[2][2], 0);

    ParseCorrelationMatrix("", size, *matrix);
    EXPECT_EQ(size, 0);
    EXPECT_EQ((*matrix)[0][0], 0);

    // Reading stops at the first cell that does not convert; what came before stays.
    ParseCorrelationMatrix("1#0.2@0.2#x@7#8@", size, *matrix);
    EXPECT_EQ(size, 2);
    EXPECT_EQ((*matrix)[1][0], 0.2);
    EXPECT_EQ((*matrix)[0][1], 0.2);
    EXPECT_EQ((*matrix)[1][1], 0);
    EXPECT_EQ((*matrix)[0][2], 0);

    // Beyond 100 x 100 the excess cells are ignored.
    QString big;
    for (int r = 0; r < 120; ++r) {
        for (int c = 0; c < 130; ++c)
            big += QString::number(r == c ? 1 : 0) + (c == 129 ? "@" : "#");
    }
    ParseCorrelationMatrix(big, size, *matrix);
    EXPECT_EQ(size, 100);
    EXPECT_EQ((*matrix)[99][99], 1);
    EXPECT_EQ((*matrix)[98][99], 0);
}

} // namespace
