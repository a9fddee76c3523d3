#pragma once
// The sum-formula grid of the quantity dialog without its window: one row per element
// of a chemical formula with its atomic weight A and the uncertainty U of A, the molar
// mass M = sum of n*A and its standard uncertainty u(M) = sqrt(sum of (n*U/sqrt(3))^2),
// and the details text that keeps the rows in the cell.

#include <QList>
#include <QString>
#include <array>

namespace orvek {

// Columns of the grid; column 0 holds the row number followed by ".".
enum TSumFormulaColumn {
    kSumRowNumber = 0,
    kSumSymbol = 1,
    kSumCount = 2,
    kSumAtomicWeight = 3, // editable
    kSumWeightTimesCount = 4,
    kSumWeightUncertainty = 5, // editable
    kSumStandardUncertainty = 6,
    kSumCountTimesU = 7,
    kSumColumnCount = 8
};

using TSumFormulaRow = std::array<QString, kSumColumnCount>;

// M, u(M) and the relative standard uncertainty in percent as general texts; the
// relative text is empty when M is 0 (a formula without elements).
struct TMolarMass {
    QString Value;
    QString Uncertainty;
    QString Relative;
};

// Analyses Formula with the element table. False when the formula is refused; Message
// then holds the analyser's own text, or is empty. On success Rows holds one row per
// element present, in the order of the element table, with the table's A and U texts,
// and Result the molar mass they give.
bool AnalyseSumFormulaRows(const QString& Formula, QList<TSumFormulaRow>& Rows, TMolarMass& Result, QString& Message);

// Sums the rows up into Result. Before summing every row is recomputed from its count
// and its editable columns, which are written back as general texts. A column whose
// text is not a number, an atomic weight not above 0 or an uncertainty below 0 stops
// the computation: False, with the row index (0-based) and the column in BadRow and
// BadColumn, and that row's dependent columns (4, or 6 and 7) cleared.
bool ComputeMolarMass(QList<TSumFormulaRow>& Rows, TMolarMass& Result, int& BadRow, int& BadColumn);

// Columns 1 to 7 of every row, each followed by "#", the last by "@".
QString BuildSumFormulaDetails(const QList<TSumFormulaRow>& Rows);

// The rows of a details text, numbered from 1; an empty text gives one empty row.
QList<TSumFormulaRow> ParseSumFormulaDetails(const QString& Details);

} // namespace orvek
