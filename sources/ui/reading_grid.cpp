#include "sources/ui/reading_grid.h"

#include "sources/source_record.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>
#include <algorithm>

namespace orvek {

namespace {

QTableWidgetItem* FixedItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignCenter);
    QFont font = item->font();
    font.setBold(true);
    item->setFont(font);
    item->setBackground(QPalette().button());
    return item;
}

} // namespace

void SetupReadingGrid(QTableWidget& grid, int dataColumns)
{
    grid.setRowCount(MaxSourceReadings + 1);
    grid.setColumnCount(dataColumns + 1);
    grid.horizontalHeader()->hide();
    grid.verticalHeader()->hide();
    const int rowHeight = grid.fontMetrics().height() + 6;
    grid.verticalHeader()->setDefaultSectionSize(rowHeight);
    grid.setRowHeight(0, 2 * rowHeight);
    grid.setColumnWidth(0, 40);
    for (int c = 1; c <= dataColumns; ++c)
        grid.setColumnWidth(c, 75);
    for (int c = 0; c <= dataColumns; ++c)
        grid.setItem(0, c, FixedItem(QString()));
    for (int r = 1; r <= MaxSourceReadings; ++r) {
        QTableWidgetItem* label = FixedItem(QString::number(r) + QLatin1Char('.'));
        label->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid.setItem(r, 0, label);
    }
    grid.setSelectionMode(QAbstractItemView::SingleSelection);
    grid.setCurrentCell(1, 1);
}

void FitReadingGridWidth(QTableWidget& grid)
{
    int width = 2 * grid.frameWidth() + grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    for (int c = 0; c < grid.columnCount(); ++c) {
        int needed = c == 0 ? 40 : 75;
        if (const QTableWidgetItem* heading = grid.item(0, c)) {
            QFont bold = grid.font();
            bold.setBold(true);
            const QFontMetrics metrics(bold);
            for (const QString& line : heading->text().split(QLatin1Char('\n')))
                needed = std::max(needed, metrics.horizontalAdvance(line) + 12);
        }
        grid.setColumnWidth(c, needed);
        width += needed;
    }
    grid.setFixedWidth(width);
}

QString GridCell(const QTableWidget& grid, int col, int row)
{
    const QTableWidgetItem* item = grid.item(row, col);
    return item ? item->text() : QString();
}

void SetGridCell(QTableWidget& grid, int col, int row, const QString& text)
{
    if (row < 0 || col < 0 || row >= grid.rowCount() || col >= grid.columnCount())
        return;
    if (QTableWidgetItem* item = grid.item(row, col))
        item->setText(text);
    else if (!text.isEmpty()) {
        auto* cell = new QTableWidgetItem(text);
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid.setItem(row, col, cell);
    }
}

QStringList GridColumn(const QTableWidget& grid, int col, int lastRow)
{
    QStringList texts;
    const int last = std::min(lastRow, grid.rowCount() - 1);
    for (int r = 1; r <= last; ++r)
        texts << GridCell(grid, col, r);
    return texts;
}

void ClearGridData(QTableWidget& grid)
{
    for (int r = 1; r < grid.rowCount(); ++r)
        for (int c = 1; c < grid.columnCount(); ++c)
            if (QTableWidgetItem* item = grid.item(r, c))
                item->setText(QString());
}

void SetGridEditing(QTableWidget& grid, bool on)
{
    grid.setEditTriggers(on
            ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
            : QAbstractItemView::NoEditTriggers);
}

bool GridEditing(const QTableWidget& grid)
{
    return grid.editTriggers() != QAbstractItemView::NoEditTriggers;
}

} // namespace orvek
