#include "sources/ui/data_grid.h"

#include "core/ui/grid_routines.h"
#include "sources/ui/data_grid_delegate.h"
#include "sources/ui/data_grid_inplace_edit.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

namespace orvek {

TDataGrid::TDataGrid(QWidget* parent)
    : QTableWidget(parent)
    , columns_(this)
{
    updateCount_ = 2;
    setItemDelegate(new TDataGridDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    SetDefaultRowHeight(20);
    SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing | goEditing);
    connect(model(), &QAbstractItemModel::columnsInserted, this, [this] { SyncColumnItems(); });
    connect(model(), &QAbstractItemModel::columnsRemoved, this, [this] { SyncColumnItems(); });
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
        // The header only shows the move; the column itself moves with its cells.
        QHeaderView* header = horizontalHeader();
        const bool blocked = header->blockSignals(true);
        header->moveSection(to, from);
        header->blockSignals(blocked);
        MoveColumn(from, to);
    });
    updateCount_ = 0;
}

TDataGrid::~TDataGrid()
{
    updateCount_ = 2;
}

void TDataGrid::SetColCount(int count)
{
    setColumnCount(std::max(count, 0));
}

void TDataGrid::SetRowCount(int count)
{
    setRowCount(std::max(count - FixedRows(), 0));
}

void TDataGrid::SetFixedRows(int rows)
{
    const int total = RowCount();
    fixedRows_ = std::clamp(rows, 0, 1);
    horizontalHeader()->setVisible(fixedRows_ == 1);
    SetRowCount(total);
}

QString TDataGrid::Cells(int col, int row) const
{
    if (row < FixedRows())
        return fixedTexts_.value(col);
    const QTableWidgetItem* cell = item(row - FixedRows(), col);
    return cell ? cell->text() : QString();
}

void TDataGrid::SetCells(int col, int row, const QString& text)
{
    if (col < 0 || col >= ColCount())
        return;
    if (row < FixedRows()) {
        while (fixedTexts_.size() <= col)
            fixedTexts_ << QString();
        fixedTexts_[col] = text;
        UpdateTitle(col);
        return;
    }
    const int r = row - FixedRows();
    if (r >= rowCount())
        return;
    if (QTableWidgetItem* cell = item(r, col))
        cell->setText(text);
    else if (!text.isEmpty())
        setItem(r, col, new QTableWidgetItem(text));
}

void TDataGrid::SetCurrentCell(int col, int row)
{
    setCurrentCell(row - FixedRows(), col);
}

void TDataGrid::SetOptions(TGridOptions options)
{
    options_ = options;
    setShowGrid(options & (goVertLine | goHorzLine));
    horizontalHeader()->setSectionResizeMode(options & goColSizing ? QHeaderView::Interactive : QHeaderView::Fixed);
    horizontalHeader()->setSectionsMovable(options & goColMoving);
    setSelectionBehavior(options & goRowSelect ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    setEditTriggers(options & goEditing ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                                        : QAbstractItemView::NoEditTriggers);
    verticalScrollBar()->setTracking(options & goThumbTracking);
    horizontalScrollBar()->setTracking(options & goThumbTracking);
    viewport()->update();
}

int TDataGrid::DefaultRowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

void TDataGrid::SetDefaultRowHeight(int height)
{
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(height);
}

QColor TDataGrid::FixedColor() const
{
    return horizontalHeader()->palette().color(QPalette::Button);
}

void TDataGrid::SetFixedColor(const QColor& color)
{
    QPalette p = horizontalHeader()->palette();
    p.setColor(QPalette::Button, color);
    p.setColor(QPalette::Window, color);
    horizontalHeader()->setPalette(p);
}

QColor TDataGrid::GridColor() const
{
    return palette().color(QPalette::Base);
}

void TDataGrid::MoveColumn(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= ColCount() || to >= ColCount())
        return;
    std::vector<QTableWidgetItem*> moved(static_cast<size_t>(rowCount()));
    for (int r = 0; r < rowCount(); ++r)
        moved[size_t(r)] = takeItem(r, from);
    const int step = to > from ? 1 : -1;
    for (int c = from; c != to; c += step)
        for (int r = 0; r < rowCount(); ++r)
            setItem(r, c, takeItem(r, c + step));
    for (int r = 0; r < rowCount(); ++r)
        setItem(r, to, moved[size_t(r)]);
    const int width = columnWidth(from);
    for (int c = from; c != to; c += step)
        setColumnWidth(c, columnWidth(c + step));
    setColumnWidth(to, width);
    while (fixedTexts_.size() < ColCount())
        fixedTexts_ << QString();
    fixedTexts_.move(from, to);
    columns_.Move(from, to);
    for (int c = std::min(from, to); c <= std::max(from, to); ++c)
        UpdateTitle(c);
}

void TDataGrid::SetRowCountMin(int count)
{
    rowCountMin_ = std::max(count, 0);
    if (RowCount() < rowCountMin_)
        SetRowCount(rowCountMin_);
}

void TDataGrid::SetSelectedIndex(int index)
{
    setCurrentCell(std::max(currentRow(), 0), index);
}

void TDataGrid::SetBGImage(const QImage& image)
{
    bgImage_ = image.copy();
    QPalette p = viewport()->palette();
    p.setBrush(QPalette::Base, bgImage_.isNull() ? palette().brush(QPalette::Base) : QBrush(bgImage_));
    viewport()->setPalette(p);
    viewport()->update();
}

void TDataGrid::AppendRow()
{
    if (BeforeInsert)
        BeforeInsert(this);
    insertRow(rowCount());
}

void TDataGrid::InsertRow()
{
    if (BeforeInsert)
        BeforeInsert(this);
    const int current = std::max(currentRow(), 0);
    const int col = std::max(currentColumn(), 0);
    // A new empty row at the current one moves it and every row below it down by one.
    insertRow(current);
    setCurrentCell(current, col);
}

void TDataGrid::DeleteRow()
{
    if (BeforeDelete)
        BeforeDelete(this);
    const int current = currentRow();
    if (current < 0)
        return;
    if (rowCount() <= 1 || (rowCountMin_ > 0 && RowCount() <= rowCountMin_)) {
        ClearRow(current);
        return;
    }
    const int col = currentColumn();
    removeRow(current);
    setCurrentCell(std::min(current, rowCount() - 1), col);
}

void TDataGrid::ClearRow(int qtRow)
{
    for (int c = 0; c < columnCount(); ++c)
        delete takeItem(qtRow, c);
}

bool TDataGrid::HandleRowKey(QKeyEvent* event, bool fromEditor)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool lastRow = currentRow() == rowCount() - 1;
    enum { None, Append, Insert, Delete } action = None;
    if (event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier) && lastRow
        && currentColumn() == columnCount() - 1 && (dataGridOptions_ & dgoAppendRow))
        action = Append;
    else if (event->key() == Qt::Key_Down && lastRow && (dataGridOptions_ & dgoAppendRow) && !ctrl
        && !(event->modifiers() & Qt::AltModifier))
        action = Append;
    else if (event->key() == Qt::Key_Insert && ctrl && (dataGridOptions_ & dgoInsertRow))
        action = Insert;
    else if (event->key() == Qt::Key_Delete && ctrl && (dataGridOptions_ & dgoDeleteRow))
        action = Delete;
    if (action == None)
        return false;
    if (fromEditor && editor_ && event->key() != Qt::Key_Tab) {
        // The edited text is committed before the rows change under the editor.
        QWidget* editor = editor_;
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    switch (action) {
    case Append:
        AppendRow();
        if (fromEditor && event->key() == Qt::Key_Down)
            setCurrentCell(currentRow() + 1, currentColumn());
        break;
    case Insert:
        InsertRow();
        break;
    case Delete:
        DeleteRow();
        break;
    case None:
        break;
    }
    return true;
}

QString TDataGrid::GetEditMask(int col, int row)
{
    const TColumn* column = columns_.Items(col);
    QString mask = column ? column->EditMask() : QString();
    if (OnGetEditMask)
        OnGetEditMask(this, col, row, mask);
    return mask;
}

void TDataGrid::ColumnChanged(TColumn* column)
{
    if (updateCount_ > 0)
        return;
    const int col = columns_.IndexOf(column);
    if (col >= 0)
        UpdateTitle(col);
    viewport()->update();
}

void TDataGrid::SyncColumnItems()
{
    if (updateCount_ > 0)
        return;
    ++updateCount_;
    columns_.SetItemCount(ColCount());
    while (fixedTexts_.size() > ColCount())
        fixedTexts_.removeLast();
    for (int c = 0; c < ColCount(); ++c)
        UpdateTitle(c);
    --updateCount_;
}

void TDataGrid::UpdateTitle(int col)
{
    if (col < 0 || col >= ColCount())
        return;
    QTableWidgetItem* header = horizontalHeaderItem(col);
    if (!header) {
        header = new QTableWidgetItem;
        setHorizontalHeaderItem(col, header);
    }
    const TColumn* column = columns_.Items(col);
    const QString caption = column ? column->Title().Caption() : QString();
    header->setText(caption.isEmpty() ? fixedTexts_.value(col) : caption);
    if (column) {
        header->setTextAlignment(column->Title().Alignment() | Qt::AlignVCenter);
        header->setFont(column->Title().Font());
    }
    FitColumnsToTitles(*this);
}

void TDataGrid::keyPressEvent(QKeyEvent* event)
{
    HandleRowKey(event, false);
    if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier))
        return;
    if (event->key() == Qt::Key_Insert && (event->modifiers() & Qt::ControlModifier))
        return;
    QTableWidget::keyPressEvent(event);
}

void TDataGrid::focusInEvent(QFocusEvent* event)
{
    QTableWidget::focusInEvent(event);
    if ((options_ & goEditing) && (options_ & goAlwaysShowEditor) && currentIndex().isValid() && !editor_)
        edit(currentIndex());
}

void TDataGrid::contextMenuEvent(QContextMenuEvent* event)
{
    const QModelIndex index = indexAt(event->pos());
    const TColumn* column = index.isValid() ? columns_.Items(index.column()) : nullptr;
    if (column && column->PopupMenu()) {
        column->PopupMenu()->setProperty("PopupComponent", QVariant::fromValue<QObject*>(this));
        column->PopupMenu()->popup(event->globalPos());
        event->accept();
        return;
    }
    QTableWidget::contextMenuEvent(event);
}

void TDataGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Tab moves to the next cell; the editor follows only when the grid always shows it.
    if (!(options_ & goAlwaysShowEditor)
        && (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem)) {
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
        const QModelIndex next
            = moveCursor(hint == QAbstractItemDelegate::EditNextItem ? MoveNext : MovePrevious, Qt::NoModifier);
        if (next.isValid())
            setCurrentIndex(next);
        return;
    }
    QTableWidget::closeEditor(editor, hint);
}

void TDataGrid::scrollContentsBy(int dx, int dy)
{
    QTableWidget::scrollContentsBy(dx, dy);
    // The picture is fixed to the grid, not to the cells.
    if (!bgImage_.isNull())
        viewport()->update();
}

} // namespace orvek
