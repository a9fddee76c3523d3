#include "core/ui/grid_routines.h"

#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QTableView>
#include <QTableWidget>

namespace orvek {

namespace {
QString CellText(const QTableWidget& grid, int row, int col)
{
    const QTableWidgetItem* item = grid.item(row, col);
    return item ? item->text() : QString();
}

void SetCellText(QTableWidget& grid, int row, int col, const QString& text)
{
    if (QTableWidgetItem* item = grid.item(row, col))
        item->setText(text);
    else if (!text.isEmpty())
        grid.setItem(row, col, new QTableWidgetItem(text));
}

bool RowHasData(const QTableWidget& grid, int row, int firstCol)
{
    for (int c = firstCol; c < grid.columnCount(); ++c)
        if (!CellText(grid, row, c).trimmed().isEmpty())
            return true;
    return false;
}
} // namespace

void InsertStringGridRow(int row, QTableWidget& grid, int fixedCols)
{
    if (row <= 0)
        return;
    const int firstCol = fixedCols == 1 ? 1 : 0;
    if (grid.rowCount() > 0 && RowHasData(grid, grid.rowCount() - 1, firstCol))
        grid.setRowCount(grid.rowCount() + 1);
    int lastFilled = -1;
    for (int r = grid.rowCount() - 1; r >= row; --r)
        if (RowHasData(grid, r, firstCol)) {
            lastFilled = r;
            break;
        }
    if (lastFilled >= 0) {
        for (int r = lastFilled; r >= row; --r)
            for (int c = firstCol; c < grid.columnCount(); ++c)
                SetCellText(grid, r + 1, c, CellText(grid, r, c));
        for (int c = firstCol; c < grid.columnCount(); ++c)
            SetCellText(grid, row, c, QString());
    }
    if (row < grid.rowCount())
        grid.setCurrentCell(row, std::max(grid.currentColumn(), firstCol));
}

void AppendStringGridRow(QTableWidget& grid, int& newRow)
{
    grid.setRowCount(grid.rowCount() + 1);
    newRow = grid.rowCount() - 1;
}

void ResetImageBitmap(QLabel& image, QPixmap& bitmap, int width, int height)
{
    image.setGeometry(1, 1, width, height);
    bitmap = QPixmap(std::max(width, 1), std::max(height, 1));
    bitmap.fill(Qt::white);
    image.setPixmap(bitmap);
}

void FitColumnsToTitles(QTableView& grid)
{
    QHeaderView* header = grid.horizontalHeader();
    for (int section = 0; section < header->count(); ++section)
        if (!header->isSectionHidden(section) && header->sectionSize(section) < header->sectionSizeHint(section))
            header->resizeSection(section, header->sectionSizeHint(section));
}

} // namespace orvek
