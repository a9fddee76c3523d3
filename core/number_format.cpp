#include "core/number_format.h"

#include "core/common_vars.h"
#include "core/decimal_digits.h"
#include "core/number_text.h"
#include "core/settings.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

namespace orvek {

namespace {

char OwnSeparator()
{
    return char(OwnDecimalSeparator.unicode());
}

bool IsDigit(QChar c)
{
    return c >= QChar('0') && c <= QChar('9');
}

// A mantissa with its power of ten, as the pair formatter moves them around.
struct ScaledText {
    std::string mantissa;
    int exponent = 0;
};

ScaledText Sci(const DecimalDigits& d, int decimals)
{
    std::string digits;
    ScaledText s;
    RoundedDigits(d, decimals + 1, digits, s.exponent);
    if (d.negative)
        s.mantissa += '-';
    s.mantissa += digits[0];
    if (decimals > 0) {
        s.mantissa += OwnSeparator();
        s.mantissa.append(digits, 1, size_t(decimals));
    }
    return s;
}

ScaledText Sci(double x, int decimals)
{
    return Sci(DigitsOf(x), decimals);
}

std::string ToStd(const QString& text)
{
    return text.toStdString();
}
QString FromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

// The mantissa's separator moved Places to the right, zeros appended as needed;
// a separator left at the end is dropped.
std::string MoveSeparatorRight(const std::string& mantissa, int places, char separator)
{
    const size_t at = mantissa.find(separator);
    std::string integer = at == std::string::npos ? mantissa : mantissa.substr(0, at);
    std::string fraction = at == std::string::npos ? std::string() : mantissa.substr(at + 1);
    if (fraction.size() < size_t(places))
        fraction.append(size_t(places) - fraction.size(), '0');
    integer.append(fraction, 0, size_t(places));
    fraction.erase(0, size_t(places));
    return fraction.empty() ? integer : integer + separator + fraction;
}

std::string MoveSeparatorLeft(const std::string& mantissa, int places, char separator)
{
    const size_t at = mantissa.find(separator);
    const std::string integer = at == std::string::npos ? mantissa : mantissa.substr(0, at);
    const std::string fraction = at == std::string::npos ? std::string() : mantissa.substr(at + 1);
    if (integer.size() > size_t(places)) {
        const size_t split = integer.size() - size_t(places);
        return integer.substr(0, split) + separator + integer.substr(split) + fraction;
    }
    return std::string("0") + separator + std::string(size_t(places) - integer.size(), '0') + integer + fraction;
}

std::string PlainForm(const std::string& mantissa, int exponent, char separator)
{
    std::string text = mantissa;
    if (exponent > 0)
        text = MoveSeparatorRight(mantissa, exponent, separator);
    else if (exponent < 0)
        text = MoveSeparatorLeft(mantissa, -exponent, separator);
    if (text.size() >= 2 && text.size() <= 8 && text.find_first_not_of('0') == std::string::npos)
        return "0";
    if (text.size() == 2 && text[0] == '0' && text[1] == separator)
        text += '0';
    return text;
}

std::string ExponentForm(const std::string& mantissa, int exponent, char separator)
{
    // A mantissa without a non-zero digit stands for a value rounded to zero; an
    // exponent written after it would read as a number ("0000E-3" is no zero text).
    if (mantissa.find_first_of("123456789") == std::string::npos)
        return "0";
    std::string text;
    const size_t at = mantissa.find(separator);
    const bool keep = at == std::string::npos
        || (at == 1 && mantissa[0] == '0' && mantissa.size() > 2 && mantissa[2] >= '1' && mantissa[2] <= '9');
    if (keep) {
        text = mantissa;
    } else {
        std::string digits = mantissa;
        digits.erase(at, 1);
        const size_t first = digits.find_first_of("123456789");
        exponent += int(at) - int(first);
        text = std::string("0") + separator + digits.substr(first);
    }
    text += 'E';
    AppendInteger(text, exponent);
    return text;
}

bool InExponentRange(double magnitude)
{
    return magnitude >= ExponentAboveLimit || magnitude <= ExponentBelowLimit;
}

void FormatTextPair(int digits, const QString& valueText, const QString& uncText, QString& valueOut, QString& uncOut)
{
    double value = 0, unc = 0;
    if (valueText == QLatin1String("NAN") || uncText == QLatin1String("NAN") || valueText.isEmpty() || uncText.isEmpty()
        || !TryStrToFloatNeutral(valueText, value) || !TryStrToFloatNeutral(uncText, unc)) {
        valueOut = valueText;
        uncOut = uncText;
        return;
    }
    QString v, u;
    FormatNumberPair(digits, v, u, unc, value);
    valueOut = IsZeroText(v) ? QStringLiteral("0") : v;
    uncOut = IsZeroText(u) ? QStringLiteral("0") : u;
}

} // namespace

QString ScientificText(double X, int Decimals)
{
    ScaledText s = Sci(X, std::max(Decimals, 0));
    s.mantissa += 'E';
    AppendInteger(s.mantissa, s.exponent);
    return FromStd(s.mantissa);
}

QString ShiftDecimalPoint(const QString& Mantissa, int Exponent)
{
    return FromStd(PlainForm(ToStd(Mantissa), Exponent, OwnSeparator()));
}

QString ExponentFormText(const QString& Mantissa, int Exponent)
{
    return FromStd(ExponentForm(ToStd(Mantissa), Exponent, OwnSeparator()));
}

void FormatNumberPair(int Digits, QString& ValueText, QString& UncText, double Unc, double Value)
{
    if (!std::isfinite(Unc) || !std::isfinite(Value)) {
        ValueText = FloatToGeneralText(Value);
        UncText = FloatToGeneralText(Unc);
        return;
    }
    const char separator = OwnSeparator();
    const int n = std::clamp(Digits, 1, 15);
    double a = std::fabs(Unc);
    DecimalDigits uncDigits = DigitsOf(a);
    // Numerical noise of 1E-16 counts as no uncertainty.
    const ScaledText noise = Sci(uncDigits, 10);
    if (noise.exponent == -16 && noise.mantissa == std::string("1") + separator + "0000000000") {
        a = 0;
        uncDigits = DecimalDigits();
    }
    const bool negativeValue = Value < 0, negativeUnc = Unc < 0;
    const double x = std::fabs(Value);
    const DecimalDigits valueDigits = DigitsOf(x);

    ScaledText um = Sci(uncDigits, n - 1);
    const int eX = valueDigits.exponent;
    // The value keeps the decimals down to the uncertainty's last significant digit.
    const int k = n - 1 + (eX - um.exponent);
    ScaledText xm;
    if (k >= 0)
        xm = Sci(valueDigits, k);
    else
        xm.mantissa = std::string("0") + separator;

    // Rounding may have raised either exponent; both are written with the smaller.
    if (xm.exponent > um.exponent) {
        xm.mantissa = MoveSeparatorRight(xm.mantissa, xm.exponent - um.exponent, separator);
        xm.exponent = um.exponent;
    } else if (um.exponent > xm.exponent) {
        um.mantissa = MoveSeparatorRight(um.mantissa, um.exponent - xm.exponent, separator);
        um.exponent = xm.exponent;
    }
    const int e = xm.exponent;

    std::string valueText
        = InExponentRange(x) ? ExponentForm(xm.mantissa, e, separator) : PlainForm(xm.mantissa, e, separator);
    std::string uncText
        = InExponentRange(a) ? ExponentForm(um.mantissa, e, separator) : PlainForm(um.mantissa, e, separator);
    if (negativeValue)
        valueText.insert(valueText.begin(), '-');
    if (negativeUnc)
        uncText.insert(uncText.begin(), '-');
    ValueText = FromStd(valueText);
    UncText = FromStd(uncText);
}

void FormatValueAndUncertainty(const QString& ValueText, const QString& UncText, QString& ValueOut, QString& UncOut)
{
    FormatTextPair(SignificantDigits, ValueText, UncText, ValueOut, UncOut);
}

void FormatValueAndUncertaintyOneDigit(
    const QString& ValueText, const QString& UncText, QString& ValueOut, QString& UncOut)
{
    FormatTextPair(1, ValueText, UncText, ValueOut, UncOut);
}

namespace {

QString FormatSignificantTextOnce(int Digits, const QString& Text);

// The last results of FormatSignificantText with everything they depend on: the
// evaluation rounds the same uncertainty texts again and again.
struct SignificantTextResult {
    int digits = -1;
    QChar own, foreign;
    double below = 0, above = 0;
    QString text, result;
};

} // namespace

QString FormatSignificantText(int Digits, const QString& Text)
{
    static std::array<SignificantTextResult, 256> results;
    SignificantTextResult& r = results[(qHash(Text) ^ uint(Digits)) % results.size()];
    if (r.digits != Digits || r.own != OwnDecimalSeparator || r.foreign != ForeignDecimalSeparator
        || r.below != ExponentBelowLimit || r.above != ExponentAboveLimit || r.text != Text) {
        r.result = FormatSignificantTextOnce(Digits, Text);
        r.digits = Digits;
        r.own = OwnDecimalSeparator;
        r.foreign = ForeignDecimalSeparator;
        r.below = ExponentBelowLimit;
        r.above = ExponentAboveLimit;
        r.text = Text;
    }
    return r.result;
}

namespace {

QString FormatSignificantTextOnce(int Digits, const QString& Text)
{
    if (Text.isEmpty() || Text.contains(QLatin1String("INF")) || Text.contains(QLatin1String("NAN"))
        || Text == QLatin1String("Nekonecno"))
        return {};
    if (IsZeroText(Text))
        return QStringLiteral("0");
    double x = 0;
    if (!TryStrToFloatNeutral(Text, x))
        return Text;
    // The number is written as the uncertainty of a value 50 times larger, whose
    // exponent is always above the rounded number's own, so the number keeps its
    // exponent (9.6E7 with one digit is 1E8). Where 50 times would overflow, the
    // largest finite value serves the same way.
    const double value = std::isfinite(50.0 * x) ? 50.0 * x : std::copysign(std::numeric_limits<double>::max(), x);
    QString valueText, uncText;
    FormatNumberPair(Digits, valueText, uncText, x, value);
    return uncText;
}

} // namespace

QString RoundDecimalsText(const QString& Text, quint8 Decimals)
{
    if (Text.isEmpty())
        return Text;
    qsizetype at = Text.indexOf(QChar('.'));
    if (at < 0)
        at = Text.indexOf(QChar(','));
    QString integer, fraction, exponent, sign;
    if (at >= 0) {
        integer = Text.left(at + 1);
        fraction = Text.mid(at + 1);
    } else {
        fraction = Text;
    }
    const qsizetype e = fraction.indexOf(QChar('E'));
    if (e >= 0) {
        exponent = fraction.mid(e);
        fraction.truncate(e);
    }
    if (at < 0) {
        if (fraction.startsWith(QChar('-'))) {
            sign = QStringLiteral("-");
            fraction.remove(0, 1);
        }
        if (exponent.isEmpty()) {
            integer = fraction + OwnDecimalSeparator;
            fraction = QStringLiteral("0");
        } else {
            // A mantissa written without separator has no decimals to round.
            integer = fraction;
            fraction.clear();
        }
    }
    if (fraction.size() > Decimals) {
        const QChar first = fraction[Decimals];
        fraction.truncate(Decimals);
        if (first >= QChar('5') && first <= QChar('9')) {
            // The carry runs through the kept decimals into the integer part.
            bool carry = true;
            for (qsizetype i = fraction.size() - 1; carry && i >= 0 && IsDigit(fraction[i]); --i) {
                carry = fraction[i] == QChar('9');
                fraction[i] = carry ? QChar('0') : QChar(fraction[i].unicode() + 1);
            }
            qsizetype i = integer.size() - 1;
            if (i >= 0 && !IsDigit(integer[i]))
                --i; // the separator
            for (; carry && i >= 0 && IsDigit(integer[i]); --i) {
                carry = integer[i] == QChar('9');
                integer[i] = carry ? QChar('0') : QChar(integer[i].unicode() + 1);
            }
            if (carry)
                integer.insert(i + 1, QChar('1'));
        }
    }
    const bool separated = integer.endsWith(QChar('.')) || integer.endsWith(QChar(','));
    if (separated && fraction.size() < Decimals)
        fraction += QString(Decimals - fraction.size(), QChar('0'));
    // With no decimals the separator would end the number.
    if (separated && Decimals == 0 && fraction.isEmpty())
        integer.chop(1);
    return sign + integer + fraction + exponent;
}

QString RoundByMagnitudeText(const QString& Text)
{
    if (Text.isEmpty())
        return Text;
    double x = 0;
    if (!TryStrToFloatNeutral(Text, x))
        return Text;
    if (x >= 0.1)
        return RoundDecimalsText(Text, 2);
    if (x >= 0.01)
        return RoundDecimalsText(Text, 3);
    return FormatSignificantText(2, Text);
}

QString ExponentToMarkup(const QString& Text)
{
    const qsizetype e = Text.indexOf(QChar('E'));
    if (e < 0 || !(e == 0 || IsDigit(Text[e - 1]) || Text[e - 1] == QChar(' ')))
        return Text;
    qsizetype end = e + 1;
    while (end < Text.size() && (IsDigit(Text[end]) || Text[end] == QChar('+') || Text[end] == QChar('-')))
        ++end;
    return Text.left(e) + QLatin1String(";ts10[cf11]") + Text.mid(e + 1, end - e - 1) + QLatin1String("[cf1]")
        + Text.mid(end);
}

QString TidyExponentText(const QString& Text)
{
    const qsizetype e = Text.indexOf(QChar('E'));
    QString mantissa = (e < 0 ? Text : Text.left(e)).trimmed();
    qsizetype at = mantissa.indexOf(QChar('.'));
    if (at < 0)
        at = mantissa.indexOf(QChar(','));
    if (at >= 0)
        while (mantissa.size() > at + 2 && mantissa.endsWith(QChar('0')))
            mantissa.chop(1);
    if (e < 0)
        return mantissa;
    QString exponent = Text.mid(e + 1).trimmed();
    QString sign;
    if (exponent.startsWith(QChar('+')) || exponent.startsWith(QChar('-'))) {
        sign = exponent.left(1);
        exponent.remove(0, 1);
    }
    qsizetype zeros = 0;
    while (zeros < exponent.size() && exponent[zeros] == QChar('0'))
        ++zeros;
    exponent.remove(0, zeros);
    if (exponent.isEmpty())
        return mantissa;
    return mantissa + QChar('E') + sign + exponent;
}

QString FloatToAutoDecimalsText(bool ForceExponent, double X)
{
    if (!std::isfinite(X))
        return FloatToGeneralText(X);
    if (!ForceExponent) {
        if (X == 0)
            return QStringLiteral("0");
        const double ax = std::fabs(X);
        int decimals = 0;
        if (ax > 9999.99999)
            decimals = 1;
        else if (ax > 999.99999)
            decimals = 2;
        else if (ax > 99.99999)
            decimals = 3;
        else if (ax > 0.099999)
            decimals = 4;
        else if (ax > 0.009999)
            decimals = 5;
        else if (ax > 0.000999)
            decimals = 6;
        else if (ax > 0.000099)
            decimals = 7;
        else if (ax > 0.000009)
            decimals = 8;
        if (decimals > 0) {
            const DecimalDigits d = DigitsOf(X);
            return FromStd((d.negative ? "-" : "") + FixedDigitsText(d, decimals, '.'));
        }
    }
    if (X == 0)
        return QStringLiteral("0.0");
    // Five significant digits and a signed four-digit exponent, then tidied.
    const DecimalDigits d = DigitsOf(X);
    std::string digits;
    int exponent = 0;
    RoundedDigits(d, 5, digits, exponent);
    std::string text = d.negative ? "-" : "";
    text += digits[0];
    text += OwnSeparator();
    text.append(digits, 1, 4);
    text += exponent < 0 ? "E-" : "E+";
    const std::string power = std::to_string(std::abs(exponent));
    text += std::string(power.size() < 4 ? 4 - power.size() : 0, '0') + power;
    return TidyExponentText(FromStd(text));
}

QString FloatToFixedText(quint8 Width, quint8 Decimals, double X)
{
    QString text;
    if (!std::isfinite(X)) {
        text = FloatToGeneralText(X);
    } else {
        const DecimalDigits d = DigitsOf(X);
        const std::string digits = FixedDigitsText(d, Decimals, '.');
        // A number that rounds to zero carries no sign.
        const bool negative = d.negative && digits.find_first_of("123456789") != std::string::npos;
        text = FromStd((negative ? "-" : "") + digits);
    }
    if (text.size() < Width)
        text.prepend(QString(Width - text.size(), QChar(' ')));
    return text;
}

QString StripTrailingZeros(const QString& Text)
{
    const qsizetype e = Text.indexOf(QChar('E'));
    QString mantissa = e < 0 ? Text : Text.left(e);
    if (!mantissa.contains(QChar('.')) && !mantissa.contains(QChar(',')))
        return Text;
    while (mantissa.endsWith(QChar('0')))
        mantissa.chop(1);
    if (mantissa.endsWith(QChar('.')) || mantissa.endsWith(QChar(',')))
        mantissa.chop(1);
    if (mantissa.isEmpty() || mantissa == QLatin1String("-") || mantissa == QLatin1String("+"))
        mantissa = QStringLiteral("0");
    return e < 0 ? mantissa : mantissa + Text.mid(e);
}

void ParseCorrelationMatrix(const QString& Text, quint8& Size, TCorrelationMatrix& Matrix)
{
    for (auto& column : Matrix)
        column.fill(0.0);
    Size = 0;
    if (Text.isEmpty())
        return;
    Size = 1;
    int row = 1, column = 1;
    qsizetype cellStart = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c != QChar('#') && c != QChar('@'))
            continue;
        double value = 0;
        if (!TryStrToFloatNeutral(Text.mid(cellStart, i - cellStart), value))
            return;
        if (row <= 100 && column <= 100)
            Matrix[size_t(column - 1)][size_t(row - 1)] = value;
        cellStart = i + 1;
        if (c == QChar('#')) {
            ++column;
        } else {
            ++row;
            column = 1;
            if (i != Text.size() - 1 && Size < 100)
                ++Size;
        }
    }
}

} // namespace orvek
