#pragma once
// The number texts every report builder writes: a number to SignificantDigits, a value
// rounded together with its uncertainty, exponents as mark-up, degrees of freedom with
// the infinity code, and a bold label cell.

#include <QString>

namespace orvek {

// The mark-up code of the infinity sign.
inline const QString InfinityCode = QStringLiteral(";NE");
// The text of infinite degrees of freedom as the evaluation stores it.
inline const QString InfiniteText = QStringLiteral("Nekonecno");

// FormatSignificantText with SignificantDigits.
QString SignificantText(const QString& text);
// FormatValueAndUncertainty: Value and Unc rounded together.
void PairTexts(const QString& value, const QString& unc, QString& valueOut, QString& uncOut);
// The infinity code for "Nekonecno", else the integer part of the text.
QString DofText(const QString& text);
// "[cf3]" + Text + "[cf1]".
QString BoldCell(const QString& text);
// A bold table cell Text + Before, the index Index as a bold subscript, then After in
// bold ("x" with the index "i"). Runs of a table cell do not nest, so each part is a run
// of its own.
QString BoldCellWithIndex(const QString& text, const QString& before, const QString& index, const QString& after = {});
// "Symbol = right side" of an equation cell. The stored equation holds its left side
// too ("l=ls+d"); it is written once, never as "l = l=ls+d".
QString EquationLine(const QString& symbol, const QString& normalizedEquation);
// Text followed by " " and Unit when Text is not empty.
QString WithUnit(const QString& text, const QString& unit);

} // namespace orvek
