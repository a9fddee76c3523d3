#pragma once
// The reading grids of the source dialog: string grids whose row 0 (headings) and
// column 0 (row numbers "1.", "2." ...) are fixed cells, with the readings from row 1
// and column 1. Cells are addressed as the dialog addresses them: column, then row.

#include <QString>
#include <QStringList>

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

} // namespace orvek
