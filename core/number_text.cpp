#include "core/number_text.h"

#include "core/decimal_digits.h"
#include "core/string_table.h"
#include "platform/regional_locale.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace orvek {

namespace {

bool IsDigit(QChar c)
{
    return c >= QChar('0') && c <= QChar('9');
}

// Blanks and control characters (everything up to U+0020) off both ends.
QStringView Trimmed(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

// Checks the strict number grammar on a normalised text and copies it as ASCII
// with "." for the own separator and without a leading "+" (std::from_chars takes
// neither). DecimalMagnitude is the power of ten of the leading non-zero digit,
// saturated; AllZero tells that the mantissa has no non-zero digit.
bool ScanNumber(QStringView text, std::string& ascii, long long& decimalMagnitude, bool& allZero)
{
    const char16_t own = OwnDecimalSeparator.unicode();
    ascii.clear();
    ascii.reserve(size_t(text.size()));
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QChar('+') || text[i] == QChar('-'))) {
        if (text[i] == QChar('-'))
            ascii += '-';
        ++i;
    }
    int digits = 0, separators = 0;
    long long integerDigits = 0, leadingZeros = 0;
    bool seenNonZero = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (IsDigit(c)) {
            ++digits;
            if (c != QChar('0'))
                seenNonZero = true;
            if (separators == 0 && seenNonZero)
                ++integerDigits;
            else if (separators == 1 && !seenNonZero)
                ++leadingZeros;
            ascii += char(c.unicode());
        } else if (c.unicode() == own && separators == 0) {
            ++separators;
            ascii += '.';
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    long long exponent = 0;
    if (i < n) {
        if (text[i] != QChar('E'))
            return false;
        ascii += 'e';
        ++i;
        bool negative = false;
        if (i < n && (text[i] == QChar('+') || text[i] == QChar('-'))) {
            negative = text[i] == QChar('-');
            ascii += negative ? '-' : '+';
            ++i;
        }
        if (i == n)
            return false;
        for (; i < n; ++i) {
            if (!IsDigit(text[i]))
                return false;
            ascii += char(text[i].unicode());
            if (exponent < 1000000000)
                exponent = exponent * 10 + (text[i].unicode() - '0');
        }
        if (negative)
            exponent = -exponent;
    }
    allZero = !seenNonZero;
    decimalMagnitude = (integerDigits > 0 ? integerDigits - 1 : -(leadingZeros + 1)) + exponent;
    return true;
}

template <typename Float> bool ConvertStrict(QStringView normalized, Float& value)
{
    std::string ascii;
    long long magnitude = 0;
    bool allZero = false;
    if (!ScanNumber(normalized, ascii, magnitude, allZero))
        return false;
    const bool negative = !ascii.empty() && ascii[0] == '-';
    if (allZero) {
        value = negative ? -Float(0) : Float(0);
        return true;
    }
    Float result {};
    const auto r = std::from_chars(ascii.data(), ascii.data() + ascii.size(), result, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large for the type fails; too small is zero.
        if (magnitude >= 0)
            return false;
        result = negative ? -Float(0) : Float(0);
    } else if (r.ec != std::errc() || r.ptr != ascii.data() + ascii.size()) {
        return false;
    }
    if (!std::isfinite(result))
        return false;
    value = result;
    return true;
}

// An exponent letter counts only after a digit of the mantissa: "E" and "-E" alone
// would be normalised to "1E" and "-1E", which no conversion reads, and "E0" stands
// for 1E0. The characters "+", "-", "." and "," alone stay zero texts.
bool IsZeroView(QStringView text)
{
    if (Trimmed(text).isEmpty())
        return false;
    bool digitSeen = false;
    for (QChar c : text) {
        if (c == QChar('E')) {
            if (!digitSeen)
                return false;
            continue;
        }
        if (c == QChar('+') || c == QChar('-') || c == QChar('.') || c == QChar(','))
            continue;
        if (c != QChar('0'))
            return false;
        digitSeen = true;
    }
    return true;
}

QString NormalizeView(QStringView text)
{
    const QStringView trimmed = Trimmed(text);
    QString result;
    if (trimmed.isEmpty())
        return result;
    result.reserve(trimmed.size() + 2);
    for (QChar c : trimmed) {
        c = c.toUpper();
        if (c == ForeignDecimalSeparator)
            c = OwnDecimalSeparator;
        if (c == QChar(' ') || c == QChar('\t'))
            continue;
        result += c;
    }
    if (result.endsWith(OwnDecimalSeparator))
        result += QChar('0');
    if (result.contains(QChar('E'))) {
        if (result[0] == QChar('E'))
            result.prepend(QChar('1'));
        else if (result.size() > 1 && result[1] == QChar('E') && result[0] == QChar('-'))
            result.replace(0, 1, QStringLiteral("-1"));
    }
    return result;
}

// The common steps of the conversions: 1 zero text, 0 not a number, 2 converted.
template <typename Float> int ConvertTyped(const QString& text, Float& value, QString* normalized)
{
    const QStringView trimmed = Trimmed(text);
    if (IsZeroView(trimmed)) {
        value = 0;
        return 1;
    }
    if (trimmed.isEmpty() || (trimmed.size() == 1 && !IsDigit(trimmed[0])))
        return 0;
    QString canonical = NormalizeView(trimmed);
    if (!ConvertStrict(QStringView(canonical), value))
        return 0;
    if (normalized)
        *normalized = std::move(canonical);
    return 2;
}

// The general text of the 15 digits of a finite number.
QString GeneralTextOfDigits(const DecimalDigits& d)
{
    if (d.zero)
        return QStringLiteral("0");
    int significant = 15;
    while (significant > 1 && d.digits[size_t(significant - 1)] == '0')
        --significant;
    const char separator = char(OwnDecimalSeparator.unicode());
    // The 15 digits need no further rounding: the text shows them all, in exponent
    // form or in plain form with as many decimals as there are digits after the point.
    char text[40];
    char* p = text;
    if (d.negative)
        *p++ = '-';
    if (d.exponent < -5 || d.exponent >= 15) {
        *p++ = d.digits[0];
        if (significant > 1) {
            *p++ = separator;
            for (int i = 1; i < significant; ++i)
                *p++ = d.digits[size_t(i)];
        }
        *p++ = 'E';
        p = std::to_chars(p, text + sizeof text, d.exponent).ptr;
    } else if (d.exponent >= 0) {
        for (int i = 0; i <= d.exponent; ++i)
            *p++ = d.digits[size_t(i)];
        if (significant > d.exponent + 1) {
            *p++ = separator;
            for (int i = d.exponent + 1; i < significant; ++i)
                *p++ = d.digits[size_t(i)];
        }
    } else {
        *p++ = '0';
        *p++ = separator;
        for (int i = -1; i > d.exponent; --i)
            *p++ = '0';
        for (int i = 0; i < significant; ++i)
            *p++ = d.digits[size_t(i)];
    }
    return QString::fromLatin1(text, qsizetype(p - text));
}

} // namespace

void InitDecimalSeparators()
{
    const QString point = RegionalLocale().decimalPoint();
    if (point == QLatin1String(".")) {
        OwnDecimalSeparator = QChar('.');
        ForeignDecimalSeparator = QChar(',');
    } else {
        OwnDecimalSeparator = QChar(',');
        ForeignDecimalSeparator = QChar('.');
    }
}

QString NormalizeNumberText(const QString& Text)
{
    return NormalizeView(Text);
}

bool TryStrToFloatNeutral(const QString& Text, double& Value)
{
    return ConvertTyped(Text, Value, nullptr) != 0;
}

bool TryStrToExtendedNeutral(const QString& Text, long double& Value)
{
    return ConvertTyped(Text, Value, nullptr) != 0;
}

QString CheckedNumberText(const QString& Text)
{
    long double value = 0;
    QString normalized;
    switch (ConvertTyped(Text, value, &normalized)) {
    case 1:
        return QStringLiteral("0");
    case 2:
        return normalized;
    default:
        return Text;
    }
}

bool TryStrToIntNeutral(const QString& Text, int& Value)
{
    const QString normalized = NormalizeNumberText(Text);
    const qsizetype cut = normalized.indexOf(OwnDecimalSeparator);
    const QStringView part = QStringView(normalized).left(cut < 0 ? normalized.size() : cut);
    qsizetype i = 0;
    bool negative = false;
    if (i < part.size() && (part[i] == QChar('+') || part[i] == QChar('-'))) {
        negative = part[i] == QChar('-');
        ++i;
    }
    if (i == part.size())
        return false;
    long long value = 0;
    for (; i < part.size(); ++i) {
        if (!IsDigit(part[i]))
            return false;
        value = value * 10 + (part[i].unicode() - '0');
        if (value > 2147483648LL)
            return false;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return false;
    Value = int(value);
    return true;
}

QString IntegerPartText(const QString& Text)
{
    qsizetype cut = Text.indexOf(QChar(','));
    if (cut < 0)
        cut = Text.indexOf(QChar('.'));
    return cut < 0 ? Text : Text.left(cut);
}

bool HasOnlyNumberChars(const QString& Text)
{
    bool digitSeen = false, exponentSeen = false;
    for (QChar c : Trimmed(Text)) {
        if (IsDigit(c)) {
            digitSeen = true;
            continue;
        }
        if (c == QChar('+') || c == QChar(',') || c == QChar('-') || c == QChar('.'))
            continue;
        // One exponent letter, after a digit of the mantissa: "E5" stays a name.
        if ((c == QChar('E') || c == QChar('e')) && digitSeen && !exponentSeen) {
            exponentSeen = true;
            continue;
        }
        return false;
    }
    return true;
}

namespace {

constexpr int kInfinityWordText = 23750;

// The program's words of the three languages as shipped; a word edited in the string
// browser is taken through InfinityWord.
const char16_t* const kInfinityWords[]
    = { u"inf", u"infinity", u"\u221E", u"+\u221E", u"Nekonecno", u"Nekone\u010Dno" };

} // namespace

bool IsInfinityText(const QString& Text)
{
    const QStringView t = Trimmed(Text);
    if (t.isEmpty())
        return false;
    for (const char16_t* word : kInfinityWords)
        if (t.compare(QStringView(word), Qt::CaseInsensitive) == 0)
            return true;
    const QString own = GetString(kInfinityWordText).trimmed();
    return !own.isEmpty() && t.compare(own, Qt::CaseInsensitive) == 0;
}

QString InfinityWord()
{
    const QString word = GetString(kInfinityWordText);
    return word.isEmpty() ? InfiniteDegreesOfFreedomText : word;
}

QString StoredDegreesOfFreedom(const QString& Typed)
{
    return IsInfinityText(Typed) ? InfiniteDegreesOfFreedomText : Typed.trimmed();
}

QString ShownDegreesOfFreedom(const QString& Stored)
{
    return Stored == InfiniteDegreesOfFreedomText ? InfinityWord() : Stored;
}

bool IsZeroText(const QString& Text)
{
    return IsZeroView(Text);
}

bool IsZeroPercentText(const QString& Text)
{
    QString rest = Text;
    const qsizetype percent = rest.indexOf(QChar('%'));
    if (percent >= 0)
        rest.remove(percent, 1);
    return IsZeroText(Trimmed(rest).toString());
}

QString FloatToGeneralText(long double X)
{
    if (std::isnan(X))
        return QStringLiteral("NAN");
    if (std::isinf(X))
        return X < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    return GeneralTextOfDigits(DigitsOf(X));
}

QString FloatToGeneralText(long double X, long double& Rounded)
{
    if (!std::isfinite(X)) {
        Rounded = X;
        return FloatToGeneralText(X);
    }
    return GeneralTextOfDigits(DigitsOf(X, &Rounded));
}

namespace {

// A plain number text scanned into Digits x 10^Exponent (Kept significant digits,
// at most 19); Exact is False when non-zero digits beyond the 19th were dropped.
struct PlainNumber {
    bool negative = false;
    unsigned long long digits = 0;
    int kept = 0;
    int exponent = 0;
    bool exact = true;
};

bool ScanPlainNumber(QStringView Text, PlainNumber& number)
{
    const qsizetype n = Text.size();
    qsizetype i = 0;
    if (i < n && Text[i] == QChar('-')) {
        number.negative = true;
        ++i;
    }
    // One digit into the mantissa: leading zeros are skipped, past 19 digits only
    // zeros keep the value exact.
    auto take = [&number](int d, bool fraction) {
        if (number.digits == 0 && d == 0) {
            if (fraction)
                --number.exponent;
        } else if (number.kept < 19) {
            number.digits = number.digits * 10 + unsigned(d);
            ++number.kept;
            if (fraction)
                --number.exponent;
        } else {
            number.exact = number.exact && d == 0;
            if (!fraction)
                ++number.exponent;
        }
    };
    const qsizetype integerStart = i;
    while (i < n && IsDigit(Text[i]))
        take(Text[i++].unicode() - '0', false);
    if (i == integerStart)
        return false;
    if (i < n && (Text[i] == QChar('.') || Text[i] == QChar(','))) {
        const qsizetype fractionStart = ++i;
        while (i < n && IsDigit(Text[i]))
            take(Text[i++].unicode() - '0', true);
        if (i == fractionStart)
            return false;
    }
    if (i < n && Text[i] == QChar('E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (Text[i] == QChar('+') || Text[i] == QChar('-')))
            negativeExponent = Text[i++] == QChar('-');
        const qsizetype exponentStart = i;
        int written = 0;
        while (i < n && IsDigit(Text[i])) {
            if (written < 100000)
                written = written * 10 + (Text[i].unicode() - '0');
            ++i;
        }
        if (i == exponentStart)
            return false;
        number.exponent += negativeExponent ? -written : written;
    }
    return i == n;
}

// 10^0 .. 10^22, exact in a double.
constexpr double kDoublePowersOfTen[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13,
    1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22 };

} // namespace

bool ReadPlainNumber(QStringView Text, long double& Value)
{
    PlainNumber number;
    if (!ScanPlainNumber(Text, number))
        return false;
    long double value = 0;
    if (!number.exact || !ExactDecimalValue(number.digits, number.exponent, value)) {
        if (!TryStrToExtendedNeutral(Text.toString(), value))
            return false;
        value = std::fabs(value);
    }
    Value = number.negative && value != 0 ? -value : value;
    return true;
}

bool ReadPlainNumber(QStringView Text, double& Value)
{
    PlainNumber number;
    if (!ScanPlainNumber(Text, number))
        return false;
    double value = 0;
    // Up to 15 digits (below 2^53) and 10^22 both operands are exact, so the one
    // operation rounds correctly.
    if (number.exact && number.kept <= 15 && number.exponent >= -22 && number.exponent <= 22) {
        const double m = double(number.digits);
        value
            = number.exponent >= 0 ? m * kDoublePowersOfTen[number.exponent] : m / kDoublePowersOfTen[-number.exponent];
    } else {
        if (!TryStrToFloatNeutral(Text.toString(), value))
            return false;
        value = std::fabs(value);
    }
    Value = number.negative && value != 0 ? -value : value;
    return true;
}

QString ToLocalDecimalSeparator(const QString& Text)
{
    QString result = Text;
    result.replace(ForeignDecimalSeparator, OwnDecimalSeparator);
    return result;
}

QString ShownNumberText(const QString& Text)
{
    double value = 0;
    if (Text.count(ForeignDecimalSeparator) != 1 || Text.contains(OwnDecimalSeparator)
        || !TryStrToFloatNeutral(Text, value))
        return Text;
    return ToLocalDecimalSeparator(Text);
}

QString DecimalMaskOfNumber(const QString& Text)
{
    const QString normalized = NormalizeNumberText(Text);
    const qsizetype separator = normalized.indexOf(OwnDecimalSeparator);
    const qsizetype decimals = separator < 0 ? 0 : normalized.size() - separator - 1;
    if (decimals <= 0)
        return QStringLiteral("0");
    return QStringLiteral("0") + OwnDecimalSeparator + QString(decimals, QChar('0'));
}

quint8 ClassifyZeroText(const QString& Text)
{
    const QStringView trimmed = Trimmed(Text);
    if (trimmed.isEmpty())
        return 1;
    for (QChar c : trimmed)
        if (c != QChar('0') && c != QChar(',') && c != QChar('.'))
            return 2;
    return 3;
}

} // namespace orvek
