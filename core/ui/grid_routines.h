#pragma once
// Row routines of the string grids and the picture reset of an image box. A grid's
// data columns start after its fixed columns (0 or 1).

class QTableWidget;
class QTableView;
class QLabel;
class QPixmap;

namespace orvek {

// Inserts an empty row at Row (nothing for Row <= 0): adds a row when the last row
// holds data, moves the rows from Row to the last filled row down by one, empties Row
// and makes it current.
void InsertStringGridRow(int row, QTableWidget& grid, int fixedCols = 0);
// Adds a row at the end; NewRow receives its index.
void AppendStringGridRow(QTableWidget& grid, int& newRow);
// Widens every shown column that is narrower than its title, so that no title is cut
// in any language; wider columns keep their width.
void FitColumnsToTitles(QTableView& grid);
// Places Image at (1, 1) with the given size and gives it a new empty picture of that size.
void ResetImageBitmap(QLabel& image, QPixmap& bitmap, int width, int height);

} // namespace orvek
