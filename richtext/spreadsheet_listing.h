#pragma once
// The uncertainty evaluation of a model written as spreadsheet formulas: the combined
// standard uncertainty "uc", the correlation term "Kor", the effective degrees of
// freedom "eff" and the Student factor "t(eff)", one block of lines per source and a
// legend of every name used. Numbers use the local decimal separator and ";" separates
// function arguments.

#include <QString>

namespace orvek {

class TCell;

// Called on the root. Each source's variance term is left in its FSheetFormula; nothing
// else of the model changes except the evaluation's sensitivity results, which the
// listing always refreshes. A model with a quantity or a source lacking its value gives
// only the missing-values message in ListingLegend.
void SpreadsheetFormulas(TCell& root, QString& UcSymbolic, QString& UcExpanded, QString& ListingLegend,
    QString& SourceLines, QString& EffFormula, QString& TEffFormula);

// A number text as it stands in a formula: trimmed, local separator, SignificantDigits
// significant digits without trailing zeros, in brackets when negative.
QString FormulaNumber(const QString& text);

} // namespace orvek
