#pragma once
// Numbers written for people: a value with its uncertainty rounded at the same
// decimal place, a number to a count of significant digits, exponent forms outside
// ExponentBelowLimit .. ExponentAboveLimit, and simpler rounding routines. Results
// use the OwnDecimalSeparator unless a routine says otherwise.

#include <QString>
#include <QtGlobal>
#include <array>

namespace orvek {

// X in scientific notation with one digit before the separator and Decimals after
// it, rounded half away from zero on its 15-digit decimal text, then "E", a "-"
// only for a negative exponent and the exponent without leading zeros
// (0.01234 with 1 gives 1.2E-2, 9.96 with 1 gives 1.0E1, 2.5 with 0 gives 3E0).
// X must be finite.
QString ScientificText(double X, int Decimals);

// Value and uncertainty rounded together: the uncertainty to Digits significant
// digits (clamped to 1..15), the value at the decimal place of the uncertainty's
// last digit, both written with a common exponent, each in plain or exponent form
// by its own magnitude. A non-finite input gives the general texts of both.
void FormatNumberPair(int Digits, QString& ValueText, QString& UncText, double Unc, double Value);

// FormatNumberPair with SignificantDigits on two number texts; zero results become
// "0". "NAN", an empty text or one that does not convert leaves both unchanged.
void FormatValueAndUncertainty(const QString& ValueText, const QString& UncText, QString& ValueOut, QString& UncOut);
// The same with one significant digit.
void FormatValueAndUncertaintyOneDigit(
    const QString& ValueText, const QString& UncText, QString& ValueOut, QString& UncOut);

// A number text rounded to Digits significant digits (clamped to 1..15); empty for
// an empty text, "Nekonecno" or one holding "INF" or "NAN"; "0" for a zero text.
QString FormatSignificantText(int Digits, const QString& Text);

// Text rounded half up to Decimals places, or padded with zeros, by text operations
// that keep the written digits, sign and exponent part (0.96 with 1 gives 1.0; 2
// with 3 gives 2.000; 1.23E-8 with 1 gives 1.2E-8; -2.5 with 0 gives -3).
QString RoundDecimalsText(const QString& Text, quint8 Decimals);

// 2 decimals from 0.1 up, 3 from 0.01 below 0.1, 2 significant digits below 0.01.
QString RoundByMagnitudeText(const QString& Text);

// "1.5E+3" becomes "1.5;ts10[cf11]+3[cf1]"; texts without such an exponent are
// returned unchanged.
QString ExponentToMarkup(const QString& Text);

// X with 1 to 8 decimals by magnitude in fixed notation with "." (0 gives "0"), or,
// below 0.00001 or when forced, in exponent form with five significant digits
// (TidyExponentText); 0 forced gives "0.0".
QString FloatToAutoDecimalsText(bool ForceExponent, double X);

// "1.2300E-0006" tidied to "1.23E-6": trailing zeros of the mantissa removed but
// one digit after its separator kept, leading zeros of the exponent removed, an
// all-zero exponent removed with its "E" and sign.
QString TidyExponentText(const QString& Text);

// X with Decimals places and "." as separator, padded with leading blanks to Width.
QString FloatToFixedText(quint8 Width, quint8 Decimals, double X);

// Trailing zeros after a "," or "." removed, the separator too when no digit
// follows it (1.50 gives 1.5, 2.000 gives 2); in a text with an exponent only the
// mantissa's zeros go.
QString StripTrailingZeros(const QString& Text);

// The unsigned Mantissa x 10^Exponent without exponent: the own separator moved
// Exponent places (right for positive), zeros added as needed, no digit dropped;
// "0" for two to eight zeros, "0.0" for "0.".
QString ShiftDecimalPoint(const QString& Mantissa, int Exponent);
// The same value as "0", the separator, the significant digits, "E" and the
// exponent (1.2 with -9 gives 0.12E-8). A mantissa already of the form "0.d..."
// or without separator only gets "E" and Exponent appended; one without a
// non-zero digit gives "0".
QString ExponentFormText(const QString& Mantissa, int Exponent);

// Correlation coefficients: Matrix[c - 1][r - 1] holds cell c of row r.
using TCorrelationMatrix = std::array<std::array<double, 100>, 100>;

// Reads rows ended by "@" with cells ended by "#"; Size counts the rows. Reading
// stops at the first cell that does not convert; cells beyond 100 x 100 are ignored.
void ParseCorrelationMatrix(const QString& Text, quint8& Size, TCorrelationMatrix& Matrix);

} // namespace orvek
