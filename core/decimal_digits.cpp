#include "core/decimal_digits.h"

#include <charconv>
#include <cstdlib>

namespace orvek {

namespace {

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

DecimalDigits DigitsOf(long double X)
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
