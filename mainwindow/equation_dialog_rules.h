#pragma once
// The rules of the equation-cell dialog without its window: reading and analysing the
// right-hand side, the checks of OK, the quantity rows handed between the dialog and
// the cell tool, and the correlation matrix as a square of texts.

#include "engine/equation_info.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace orvek {

class TCell;

// ---------------------------------------------------------------------------------
// The right-hand side

// The equation box's text as the analysis reads it: en and em dashes become "-",
// blanks and line breaks go. Any other character stays, so that the check of OK can
// refuse it with a message instead of changing the equation silently.
QString FilterEquationText(const QString& Text);

// The outcome of analysing a right-hand side. Message 0 means accepted; otherwise it is
// the text number to show with Argument (when not empty).
struct TEquationAnalysis {
    int Message = 0;
    QString Argument;
    QString Equation; // the text scanned: filtered, trimmed, without a leading "="
    QStringList Symbols; // in case-insensitive alphabetical order
};

// Scans the right-hand side: a "=" after its first character gives 154; the scanner's
// codes give 151, 153, 666, 743, 744 or 745 (the argument the scanner's error text,
// trimmed); a text without symbols 572; more than 100 symbols a text of ours; a text the
// scanner passes but the parser refuses a text of ours with the parser's message.
TEquationAnalysis AnalyseEquationText(const QString& Text);

// Equal symbol lists, compared exactly after sorting each.
bool SameSymbols(QStringList a, QStringList b);

// ---------------------------------------------------------------------------------
// The checks of OK

enum class TEquationField { None, QuantityName, Symbol, Equation, Coverage };

struct TEquationOkInput {
    bool QuantityNameWritable = false;
    QString QuantityName; // mark-up, trimmed
    bool SymbolWritable = false;
    QString Symbol;
    bool EquationWritable = false;
    QString Equation; // filtered and trimmed
    QString EquationAtLoad;
    bool Analysed = false;
    bool CoverageWritable = false;
    QString CoverageFactor;
};

struct TEquationRefusal {
    int Message = 0; // 0: accepted
    QStringList Arguments;
    TEquationField Field = TEquationField::None;
};

// The first check of OK that fails, in the order quantity name (143), an empty
// writable equation (149), symbol (144 to 147) or, for a read-only symbol, equation
// (148 to 150), then the typed coverage factor (179 when it is not a number above 0).
TEquationRefusal CheckEquationDialog(const TEquationOkInput& In);

// ---------------------------------------------------------------------------------
// Quantity rows

struct TQuantityGridRow {
    QString Symbol;
    QString Unit; // mark-up
    QString QuantityName; // mark-up
    quint8 ValueType = 0;
    int ChildIndex = 0;
    int CellId = 0; // 0 for a row the analysis created
};

// The rows of a hand-over list, in its order (the children's order).
QList<TQuantityGridRow> QuantityRowsFrom(const TInfo_o_bunkach_typu_velicina& List);

// Runs the cell's FillEquationVariableList into EquationVariables and gives its rows.
QList<TQuantityGridRow> FillQuantityGrid(TCell& Cell);

// Writes the rows back into List, whose records stand for the children. A row keeps
// its child when one has the row's CellId, else the child with the row's symbol that
// no other row took; the rows the analysis created thus find their children, and no
// child takes another child's row. Records without a row keep their texts; a row
// without a child is appended with CellId 0.
void ReadQuantityGrid(const QList<TQuantityGridRow>& Rows, TInfo_o_bunkach_typu_velicina& List);

// Empties List and fills it with one new record per row.
void ReadQuantityGridAsNew(const QList<TQuantityGridRow>& Rows, TInfo_o_bunkach_typu_velicina& List);

// ---------------------------------------------------------------------------------
// Correlation matrix: Texts[r][c] holds r(r + 1, c + 1) as typed.

using TMatrixTexts = QList<QStringList>;

// n x n with "1.0" on the diagonal and "0.0" elsewhere.
TMatrixTexts InitialCorrelationMatrix(int Size);

// Reads the stored text (rows ended by "@", cells by "#") into Matrix, whose size stays:
// cells beyond it are dropped, missing ones read "0.0", the diagonal "1.0".
void LoadCorrelationMatrixText(const QString& Text, TMatrixTexts& Matrix);

QString SerializeCorrelationMatrix(const TMatrixTexts& Matrix);

// Sets an off-diagonal coefficient and its mirror; False for a diagonal cell.
bool SetCorrelationCoefficient(TMatrixTexts& Matrix, int Row, int Column, const QString& Text);

// 0 when every cell is a number from -1 to 1; else 654 (not a number) or 746 (out of
// range) for the first such cell, row by row, with its 1-based Row and Column.
int ValidateCorrelationMatrix(const TMatrixTexts& Matrix, int& Row, int& Column);

// The symbols renamed in a right-hand side (whole words only).
QString RenameSymbolInEquation(const QString& Equation, const QString& Old, const QString& New);

} // namespace orvek
