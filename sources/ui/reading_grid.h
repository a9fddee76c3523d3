#pragma once
// The reading grids of the source dialog: string grids whose row 0 (headings) and
// column 0 (row numbers "1.", "2." ...) are fixed cells, with the readings from row 1
// and column 1. Cells are addressed as the dialog addresses them: column, then row.

#include <QString>
#include <QStringList>
#include <Qt>
#include <functional>

class QTableWidget;

namespace orvek {

// Lays Grid out with 501 rows, DataColumns data columns after the row numbers, a
// heading row twice the default height, column 0 40 and data columns 75 pixels wide.
void SetupReadingGrid(QTableWidget& grid, int dataColumns);

// Widens each column to its heading (at least the layout's width) and makes the grid as
// wide as its columns.
void FitReadingGridWidth(QTableWidget& grid);

QString GridCell(const QTableWidget& grid, int col, int row);
void SetGridCell(QTableWidget& grid, int col, int row, const QString& text);
// Texts of column Col, rows 1 up to LastRow (clamped to the grid's last row).
QStringList GridColumn(const QTableWidget& grid, int col, int lastRow);
// Every data cell emptied.
void ClearGridData(QTableWidget& grid);
// In-cell editing of the data cells.
void SetGridEditing(QTableWidget& grid, bool on);
bool GridEditing(const QTableWidget& grid);

// Draws the grid as a reading grid while Drawn answers true (headings split at their
// first line break, row numbers, the current cell white on navy while the grid may be
// edited) and commits a typed cell only when it may stand in a list of readings; a
// refused text goes to Refused with the cell, and the cell keeps its text.
void SetReadingGridDrawing(QTableWidget& grid, std::function<bool()> drawn,
    std::function<void(int row, int col, const QString& text)> refused);
// Key presses in the grid (not in its cell editor) go to Handler first; it answers true
// for a key it used.
void SetReadingGridKeys(QTableWidget& grid, std::function<bool(int key, Qt::KeyboardModifiers)> handler);
// The last row whose data cells are not all blank; 0 for none.
int LastFilledRow(const QTableWidget& grid);

} // namespace orvek
