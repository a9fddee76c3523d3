#pragma once
// Numbers as text: the decimal separators, the conversion of typed numbers, the
// tests for zero texts and the general text of a number. Users may type "," or "."
// as the decimal separator on any locale; every routine here accepts both and none
// depends on the C library's locale.

#include <QChar>
#include <QString>

namespace orvek {

// The separator of the user's locale and the other one of "." and ",". Set once at
// start by InitDecimalSeparators; tests assign them directly.
inline QChar OwnDecimalSeparator = QChar('.');
inline QChar ForeignDecimalSeparator = QChar(',');

// "." from a locale whose separator is "."; "," from any other.
void InitDecimalSeparators();

// The canonical form of a typed number: upper case, trimmed, the foreign separator
// made the own one, inner blanks and tabs removed, a trailing separator followed by
// "0", a leading "E" or "-E" completed to "1E" or "-1E". Empty for an empty text.
QString NormalizeNumberText(const QString& Text);

// A typed number converted: a zero text gives 0; otherwise the normalised text must
// be an optional sign, digits with at most one own separator, and an optional "E"
// with an optional sign and digits. On failure Value is left unchanged; a number
// beyond the range of the target type fails, one below it gives 0.
bool TryStrToFloatNeutral(const QString& Text, double& Value);
bool TryStrToExtendedNeutral(const QString& Text, long double& Value);

// "0" for a zero text, the normalised text when it converts, else Text as given.
QString CheckedNumberText(const QString& Text);

// The whole number before the own separator of the normalised text (12,5 gives 12;
// the fraction is cut, not rounded); False when that part is not a 32-bit integer.
bool TryStrToIntNeutral(const QString& Text, int& Value);

// Text cut before its first ",", or when it has none before its first ".".
QString IntegerPartText(const QString& Text);

// True when every character of the trimmed text is a digit or one of "+,-.", apart
// from one exponent letter "E" or "e" after a digit ("2e-6", "1,15E-5"); a text whose
// "E" has no digit before it ("E", "E5") may be a name and is not made of number
// characters.
bool HasOnlyNumberChars(const QString& Text);

// The word records and model files keep for infinite degrees of freedom, whatever the
// language.
inline const QString InfiniteDegreesOfFreedomText = QStringLiteral("Nekonecno");

// True for a text that stands for infinite degrees of freedom as people type it, in
// every language: "inf", "infinity", "∞", the stored word "Nekonecno", the program's
// word of each language (InfinityWord), compared trimmed and regardless of case.
bool IsInfinityText(const QString& Text);

// The program's word for infinite degrees of freedom in the current language, as the
// fields show it (the string table's text, the stored word when the table has none).
QString InfinityWord();

// Typed degrees of freedom as they are stored: InfiniteDegreesOfFreedomText for an
// infinity text, else the trimmed text.
QString StoredDegreesOfFreedom(const QString& Typed);
// Stored degrees of freedom as a field shows them: InfinityWord for the stored word.
QString ShownDegreesOfFreedom(const QString& Stored);

// True when the trimmed text is not empty and the text, without "+", "-", ".", ","
// and "E", is empty or only zeros (a blank is another character); an "E" counts only
// after a "0", so "E", "-E" and "E0" are not zero texts.
bool IsZeroText(const QString& Text);
// IsZeroText of the text without its first "%", trimmed.
bool IsZeroPercentText(const QString& Text);

// The general text of a number: up to 15 significant digits without trailing
// zeros, the own separator, exponent form ("1E-6", "1.5E20") when the decimal
// exponent is below -5 or at least 15, "INF", "-INF" and "NAN" for non-finite
// values. Every number the program shows or stores as text is written by it.
QString FloatToGeneralText(long double X);
// The same, with Rounded the number the text stands for (RoundToGeneralDigits).
QString FloatToGeneralText(long double X, long double& Rounded);

// A number text as the program writes it, read exactly and fast: an optional "-",
// digits, optionally "." or "," and digits, optionally "E", a sign and digits;
// nothing else, no blanks. It gives the value that TryStrToExtendedNeutral and the
// expression parser give for the same text (zero without its sign); False for any
// other text, which the caller then reads the general way.
bool ReadPlainNumber(QStringView Text, long double& Value);
bool ReadPlainNumber(QStringView Text, double& Value);

// Every ForeignDecimalSeparator replaced by the OwnDecimalSeparator.
QString ToLocalDecimalSeparator(const QString& Text);

// A typed number as windows show it beside the results: with the own decimal separator
// where it was typed with the foreign one ("10,01" shows as "10.01" under "."). Texts
// that are no number keep every character, and so does every stored text: this is a
// display only, the digits as typed are never changed.
QString ShownNumberText(const QString& Text);

// The display mask of a typed number: "0", or "0", the own separator and one "0"
// for every character after the separator of the normalised text.
QString DecimalMaskOfNumber(const QString& Text);

// 1 for an empty (trimmed) text, 3 for one made only of "0", "," and ".", 2 else.
quint8 ClassifyZeroText(const QString& Text);

} // namespace orvek
