// The fast digit routines against the conversions they stand in for: to_chars for
// the 15 digits of a number, and reading the general text back for its rounding.

#include "core/decimal_digits.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/settings.h"

#include <QString>
#include <charconv>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace orvek {
namespace {

// 15 digits and exponent of X by to_chars, the reference.
DecimalDigits ReferenceDigits(long double x)
{
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14);
    DecimalDigits d;
    const char* p = buffer;
    d.negative = *p == '-';
    if (d.negative)
        ++p;
    int count = 0;
    for (; p < r.ptr && *p != 'e'; ++p)
        if (*p != '.')
            d.digits[size_t(count++)] = *p;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), r.ptr, d.exponent);
    d.zero = false;
    return d;
}

// Numbers of every kind the evaluation meets: doubles and extended values over a
// wide range, and values whose 16th digit is a 5 (ties and near-ties).
std::vector<long double> SampleNumbers()
{
    std::mt19937_64 random(20261211);
    std::vector<long double> numbers;
    std::uniform_real_distribution<double> unit(1, 10);
    std::uniform_int_distribution<int> power(-40, 45);
    for (int i = 0; i < 100000; ++i) {
        const long double scale = std::pow(10.0L, power(random));
        const long double x = unit(random) * scale;
        numbers.push_back(i % 2 ? x : -x);
        numbers.push_back(static_cast<double>(x)); // a double
        numbers.push_back(x * (1 + 0x1p-60L)); // not a double
    }
    for (int i = 0; i < 20000; ++i) {
        // d.dddddddddddddd5 x 10^e and its neighbours.
        const long double mantissa = 100000000000000.0L + (random() % 900000000000000ULL);
        const int e = power(random) / 2;
        const long double tie = (mantissa + 0.5L) * std::pow(10.0L, e - 14);
        numbers.push_back(tie);
        numbers.push_back(std::nextafter(tie, 0.0L));
        numbers.push_back(std::nextafter(tie, 1e300L));
        numbers.push_back(static_cast<double>(tie));
    }
    for (long double x : { 1.0L, 0.1L, 1e15L, 999999999999999.5L, 9.999999999999995L, 1e-6L, 123456789012345678.0L,
             5e-324L, 1.7976931348623157e308L, 1e-4000L, 1e4000L })
        numbers.push_back(x);
    return numbers;
}

TEST(GeneralDigits, FastRoutesAgreeWithToCharsAndTheTextReadBack)
{
    for (long double x : SampleNumbers()) {
        const DecimalDigits fast = DigitsOf(x);
        const DecimalDigits reference = ReferenceDigits(x);
        ASSERT_EQ(std::string(fast.digits.begin(), fast.digits.end()),
            std::string(reference.digits.begin(), reference.digits.end()))
            << double(x);
        ASSERT_EQ(fast.exponent, reference.exponent) << double(x);
        ASSERT_EQ(fast.negative, reference.negative);

        const QString text = FloatToGeneralText(x);
        long double back = 0;
        if (TryStrToExtendedNeutral(text, back))
            ASSERT_EQ(RoundToGeneralDigits(x), back) << text.toStdString();
        else
            ASSERT_FALSE(std::isfinite(RoundToGeneralDigits(x))) << text.toStdString();
    }
    EXPECT_EQ(RoundToGeneralDigits(0.0L), 0.0L);
    EXPECT_EQ(FloatToGeneralText(-0.0L), "0");
}

TEST(GeneralDigits, GeneralTextForms)
{
    const struct {
        long double x;
        const char* text;
    } cases[] = { { 0.1L, "0.1" }, { -2.5L, "-2.5" }, { 1e15L, "1E15" }, { 123456789012345.0L, "123456789012345" },
        { 0.00001L, "0.00001" }, { 0.000001L, "1E-6" }, { 1.5e-7L, "1.5E-7" }, { 2.0L / 3, "0.666666666666667" },
        { 100.0L, "100" }, { 9.9999999999999999L, "10" }, { -1234.5678L, "-1234.5678" } };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToGeneralText(c.x), c.text);
}

TEST(GeneralDigits, PlainNumbersReadAsTheGeneralReaderReadsThem)
{
    std::mt19937_64 random(7);
    const char* const separators[] = { ".", "," };
    for (int i = 0; i < 50000; ++i) {
        QString text = random() % 3 == 0 ? "-" : "";
        const int whole = 1 + int(random() % 22), decimals = int(random() % 24);
        for (int k = 0; k < whole; ++k)
            text += QChar('0' + int(random() % 10));
        if (decimals > 0) {
            text += separators[random() % 2];
            for (int k = 0; k < decimals; ++k)
                text += QChar('0' + int(random() % 10));
        }
        if (random() % 3 == 0)
            text += QStringLiteral("E%1").arg(int(random() % 80) - 40);
        long double fast = 0, reference = 0;
        ASSERT_TRUE(ReadPlainNumber(text, fast)) << text.toStdString();
        ASSERT_TRUE(TryStrToExtendedNeutral(text, reference)) << text.toStdString();
        ASSERT_EQ(fast, reference) << text.toStdString();
        double fastDouble = 0, referenceDouble = 0;
        ASSERT_TRUE(ReadPlainNumber(text, fastDouble));
        ASSERT_TRUE(TryStrToFloatNeutral(text, referenceDouble));
        ASSERT_EQ(fastDouble, referenceDouble) << text.toStdString();
    }
    // Texts the reader leaves to the general one.
    for (const char* text : { "", "-", "1.", ".5", "+1", " 1", "1 ", "1e5", "1E", "1E+", "NAN", "INF", "1,2,3", "1.2.3",
             "--1", "2*3", "Nekonecno", "1E99999" }) {
        long double v = 0;
        EXPECT_FALSE(ReadPlainNumber(QString::fromLatin1(text), v)) << text;
    }
    long double v = 1;
    EXPECT_TRUE(ReadPlainNumber(QStringLiteral("-0.000"), v));
    EXPECT_FALSE(std::signbit(v));
    EXPECT_EQ(v, 0);
}

// Rounding a text again gives what the settings of the moment give, not an older result.
TEST(GeneralDigits, SignificantTextFollowsTheSettings)
{
    const double above = ExponentAboveLimit;
    EXPECT_EQ(FormatSignificantText(2, "12345.678"), "12000");
    EXPECT_EQ(FormatSignificantText(3, "12345.678"), "12300");
    ExponentAboveLimit = 1000;
    EXPECT_EQ(FormatSignificantText(2, "12345.678"), "0.12E5");
    ExponentAboveLimit = above;
    OwnDecimalSeparator = QChar(',');
    ForeignDecimalSeparator = QChar('.');
    EXPECT_EQ(FormatSignificantText(2, "0.012345"), "0,012");
    OwnDecimalSeparator = QChar('.');
    ForeignDecimalSeparator = QChar(',');
    EXPECT_EQ(FormatSignificantText(2, "0.012345"), "0.012");
}

} // namespace
} // namespace orvek
