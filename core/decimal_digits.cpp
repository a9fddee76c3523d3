#include "core/decimal_digits.h"

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace orvek {

namespace {

// 10^0 .. 10^27: every one is exact in a long double (5^27 < 2^64).
constexpr std::array<long double, 28> kPowersOfTen = [] {
    std::array<long double, 28> p {};
    long double v = 1;
    for (long double& x : p) {
        x = v;
        v *= 10;
    }
    return p;
}();

// The 15 leading digits of Ax > 0 rounded to nearest, as a whole number Mantissa in
// [10^14, 10^15) with Ax ~ Mantissa x 10^(Exponent - 14). Ax is scaled by an exact
// power of ten in one rounding (error below 2^-14 on a number below 2^50), so the
// rounding is certain unless the dropped part lies near one half; then, and for
// exponents the exact powers do not reach, it answers False and to_chars decides.
// The binary exponent of Ax > 0: read from the x87 extended format where long double
// is that format (a library call otherwise); INT_MIN for a subnormal number.
int BinaryExponent(long double ax)
{
    if constexpr (std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10) {
        unsigned char bytes[sizeof(long double)];
        std::memcpy(bytes, &ax, sizeof ax);
        const int biased = (bytes[9] & 0x7F) << 8 | bytes[8];
        return biased == 0 ? INT_MIN : biased - 16383;
    } else {
        return std::ilogb(ax);
    }
}

bool FastDigits(long double ax, unsigned long long& mantissa, int& exponent)
{
    const int binary = BinaryExponent(ax);
    if (binary < -200 || binary > 200)
        return false;
    int e = (binary * 78913) >> 18; // floor(binary x log10(2)), off by at most one
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = 14 - e;
        if (k > 27 || k < -27)
            return false;
        const long double scaled = k >= 0 ? ax * kPowersOfTen[size_t(k)] : ax / kPowersOfTen[size_t(-k)];
        if (scaled >= 1e15L) {
            ++e;
            continue;
        }
        if (scaled < 1e14L) {
            --e;
            continue;
        }
        unsigned long long m = 0;
        if constexpr (std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10) {
            // Adding 2^63 rounds Scaled to the nearest whole number and leaves that
            // number in the low bits of the 64-bit significand: no conversion to an
            // integer (which costs two changes of the x87 control word).
            const long double shifted = scaled + 0x1p63L;
            const long double fraction = scaled - (shifted - 0x1p63L); // exact, within +-1/2
            if (std::fabs(std::fabs(fraction) - 0.5L) < 0x1p-10L)
                return false;
            std::memcpy(&m, &shifted, sizeof m);
            m -= 1ULL << 63;
        } else {
            const auto whole = static_cast<unsigned long long>(scaled); // below 10^15: exact truncation
            const long double fraction = scaled - static_cast<long double>(whole);
            if (std::fabs(fraction - 0.5L) < 0x1p-10L)
                return false;
            m = whole + (fraction > 0.5L ? 1 : 0);
        }
        if (m == 1000000000000000ULL) {
            m = 100000000000000ULL;
            ++e;
        }
        mantissa = m;
        exponent = e;
        return true;
    }
    return false;
}

// Reads "d.dddddddddddddde[+-]x..." as written by to_chars in scientific form.
DecimalDigits FromScientific(const char* text, const char* end)
{
    DecimalDigits d;
    const char* p = text;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    int count = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9' && count < 15)
            d.digits[count++] = *p;
    int exponent = 0;
    if (p < end) {
        ++p;
        const bool negativeExponent = *p == '-';
        if (*p == '+' || *p == '-')
            ++p;
        std::from_chars(p, end, exponent);
        if (negativeExponent)
            exponent = -exponent;
    }
    d.zero = d.digits[0] == '0';
    d.exponent = d.zero ? 0 : exponent;
    return d;
}

} // namespace

namespace {

DecimalDigits SlowDigitsOf(long double X);

// The 15 digits of Mantissa in [10^14, 10^15): two halves of 32-bit arithmetic.
void WriteDigits(unsigned long long mantissa, std::array<char, 15>& digits)
{
    auto high = static_cast<unsigned>(mantissa / 100000000); // 7 digits
    auto low = static_cast<unsigned>(mantissa % 100000000); // 8 digits
    for (int i = 14; i >= 7; --i) {
        digits[size_t(i)] = char('0' + low % 10);
        low /= 10;
    }
    for (int i = 6; i >= 0; --i) {
        digits[size_t(i)] = char('0' + high % 10);
        high /= 10;
    }
}

} // namespace

DecimalDigits DigitsOf(long double X, long double* Rounded)
{
    if (X == 0) {
        if (Rounded)
            *Rounded = 0;
        return DecimalDigits();
    }
    unsigned long long mantissa = 0;
    int exponent = 0;
    if (FastDigits(std::fabs(X), mantissa, exponent)) {
        DecimalDigits d;
        d.negative = X < 0;
        d.zero = false;
        d.exponent = exponent;
        WriteDigits(mantissa, d.digits);
        if (Rounded) {
            long double value = 0;
            *Rounded
                = ExactDecimalValue(mantissa, exponent - 14, value) ? (d.negative ? -value : value) : ValueOfDigits(d);
        }
        return d;
    }
    DecimalDigits d = SlowDigitsOf(X);
    if (Rounded)
        *Rounded = ValueOfDigits(d);
    return d;
}

namespace {
DecimalDigits SlowDigitsOf(long double X)
{
    char buffer[64];
    std::to_chars_result r;
    const double asDouble = static_cast<double>(X);
    if (static_cast<long double>(asDouble) == X)
        r = std::to_chars(buffer, buffer + sizeof buffer, asDouble, std::chars_format::scientific, 14);
    else
        r = std::to_chars(buffer, buffer + sizeof buffer, X, std::chars_format::scientific, 14);
    DecimalDigits d = FromScientific(buffer, r.ptr);
    if (d.zero)
        d.negative = false;
    return d;
}
} // namespace

bool ExactDecimalValue(unsigned long long Digits, int Exponent, long double& Value)
{
    if (Digits == 0) {
        Value = 0;
        return true;
    }
    if (Digits > 9999999999999999999ULL || Exponent > 27 || Exponent < -27)
        return false;
    // Both operands exact, so the one operation rounds correctly.
    const long double m = static_cast<long double>(Digits);
    Value = Exponent >= 0 ? m * kPowersOfTen[size_t(Exponent)] : m / kPowersOfTen[size_t(-Exponent)];
    return true;
}

long double RoundToGeneralDigits(long double X)
{
    if (X == 0)
        return 0;
    unsigned long long mantissa = 0;
    int exponent = 0;
    long double value = 0;
    if (FastDigits(std::fabs(X), mantissa, exponent) && ExactDecimalValue(mantissa, exponent - 14, value))
        return X < 0 ? -value : value;
    return ValueOfDigits(DigitsOf(X));
}

long double ValueOfDigits(const DecimalDigits& d)
{
    if (d.zero)
        return 0;
    unsigned long long mantissa = 0;
    for (char c : d.digits)
        mantissa = mantissa * 10 + unsigned(c - '0');
    long double value = 0;
    if (ExactDecimalValue(mantissa, d.exponent - 14, value))
        return d.negative ? -value : value;
    char text[40];
    char* p = text;
    if (d.negative)
        *p++ = '-';
    for (char c : d.digits)
        *p++ = c;
    *p++ = 'e';
    const auto r = std::to_chars(p, text + sizeof text, d.exponent - 14);
    if (std::from_chars(text, r.ptr, value).ec == std::errc::result_out_of_range) {
        // Past the range the text does not read back as a number; below it, as zero.
        value = d.exponent > 0 ? HUGE_VALL : 0.0L;
        return d.negative ? -value : value;
    }
    return value;
}

void RoundedDigits(const DecimalDigits& D, int Count, std::string& Digits, int& Exponent)
{
    Exponent = D.exponent;
    Digits.assign(static_cast<size_t>(Count), '0');
    const int kept = Count < 15 ? Count : 15;
    for (int i = 0; i < kept; ++i)
        Digits[size_t(i)] = D.digits[size_t(i)];
    if (Count >= 15 || D.digits[size_t(Count)] < '5')
        return;
    int i = Count - 1;
    while (i >= 0 && Digits[size_t(i)] == '9')
        Digits[size_t(i--)] = '0';
    if (i >= 0) {
        ++Digits[size_t(i)];
    } else {
        // 9.99 rounded to two digits is 1.0 one decade up.
        Digits.insert(Digits.begin(), '1');
        Digits.pop_back();
        ++Exponent;
    }
}

std::string FixedDigitsText(const DecimalDigits& D, int Decimals, char Separator)
{
    // The digits kept reach from the leading one down to the last decimal place.
    std::string digits;
    int exponent = 0;
    const int count = D.zero ? 0 : D.exponent + 1 + Decimals;
    if (count >= 1) {
        RoundedDigits(D, count, digits, exponent);
    } else if (count == 0 && D.digits[0] >= '5') {
        // 0.006 to two decimals: nothing is kept but the first dropped digit rounds up.
        digits = "1";
        exponent = D.exponent + 1;
    }
    // digits[i] is the digit of the power exponent - i.
    auto digitAt = [&](int power) {
        const int i = exponent - power;
        return (!digits.empty() && i >= 0 && i < int(digits.size())) ? digits[size_t(i)] : '0';
    };
    std::string text;
    const int top = (!digits.empty() && exponent > 0) ? exponent : 0;
    text.reserve(size_t(top + Decimals + 2));
    for (int power = top; power >= 0; --power)
        text += digitAt(power);
    if (Decimals > 0) {
        text += Separator;
        for (int power = -1; power >= -Decimals; --power)
            text += digitAt(power);
    }
    return text;
}

void AppendInteger(std::string& Text, int Value)
{
    char buffer[16];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, Value);
    Text.append(buffer, r.ptr);
}

} // namespace orvek
