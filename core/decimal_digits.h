#pragma once
// The decimal digits of a number as its 15-significant-digit general text shows
// them. Every rounding of number text rounds these digits half away from zero,
// never the binary value: 2.675 is 2.67500000000000 here and rounds to 2.68.

#include <array>
#include <string>

namespace orvek {

struct DecimalDigits {
    bool negative = false;
    bool zero = true;
    // Value = d0.d1d2...d14 x 10^exponent; 0 for zero.
    int exponent = 0;
    std::array<char, 15> digits { '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0' };
};

// X must be finite. Both routes round the exact binary value correctly to 15 digits:
// most numbers by one exact scaling, the rest (ties, far exponents) by to_chars.
// Rounded, when given, gets the number the digits stand for (RoundToGeneralDigits).
DecimalDigits DigitsOf(long double X, long double* Rounded = nullptr);

// X rounded to the 15 significant digits of its general text, as the long double
// that reading that text back gives (the correctly rounded value of the digits).
// The evaluation on numbers rounds here wherever the evaluation on texts writes a
// number as text and reads it again. X must be finite.
long double RoundToGeneralDigits(long double X);
// The same for digits already found: the long double the 15 digits stand for
// (infinite past the range, zero below it).
long double ValueOfDigits(const DecimalDigits& D);

// The value of an unsigned decimal mantissa Digits x 10^Exponent correctly rounded
// to long double, or False when that takes more than one exact operation (more
// than 19 digits, or a power of ten beyond 10^27).
bool ExactDecimalValue(unsigned long long Digits, int Exponent, long double& Value);

// The first Count significant digits of D rounded half away from zero (digits past
// the 15th are zeros), in Digits; Exponent is D's exponent, raised by one when the
// rounding carries into a new leading digit. Count >= 1.
void RoundedDigits(const DecimalDigits& D, int Count, std::string& Digits, int& Exponent);

// D rounded half away from zero to Decimals places after the point and written in
// fixed notation with Separator; no sign. Decimals >= 0.
std::string FixedDigitsText(const DecimalDigits& D, int Decimals, char Separator);

// Appends the decimal text of Value ("-" only when negative, no leading zeros).
void AppendInteger(std::string& Text, int Value);

} // namespace orvek
