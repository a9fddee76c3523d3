#include "sources/ui/reading_grid.h"

#include "core/number_text.h"
#include "sources/pasted_readings.h"
#include "sources/source_record.h"

#include <QKeyEvent>
#include <QMetaProperty>
#include <QPainter>
#include <QStyledItemDelegate>

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

namespace orvek {

namespace {

const QColor kNavy(0, 0, 128);

class ReadingGridDelegate : public QStyledItemDelegate {
public:
    ReadingGridDelegate(
        QTableWidget* grid, std::function<bool()> drawn, std::function<void(int, int, const QString&)> refused)
        : QStyledItemDelegate(grid)
        , grid_(grid)
        , drawn_(std::move(drawn))
        , refused_(std::move(refused))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!drawn_ || !drawn_()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const int row = index.row(), col = index.column();
        const QRect r = option.rect;
        QFont font(QStringLiteral("MS Sans Serif"));
        font.setPointSize(8);
        const bool fixed = row == 0 || col == 0;
        // Bold reads well on ordinary screens only; dense screens get the normal weight.
        font.setBold(fixed && grid_->logicalDpiY() <= 96);
        QColor back = option.palette.color(QPalette::Button), fore = Qt::black;
        if (!fixed && GridEditing(*grid_)) {
            const bool current = grid_->currentRow() == row && grid_->currentColumn() == col;
            back = current ? kNavy : option.palette.color(QPalette::Base);
            fore = current ? QColor(Qt::white) : QColor(Qt::black);
        }
        painter->save();
        painter->setFont(font);
        painter->fillRect(r, back);
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->setPen(fore);
        const int lineHeight = QFontMetrics(font).height();
        if (row == 0) {
            QString text = index.data().toString();
            text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            const qsizetype cut = text.indexOf(QLatin1Char('\n'));
            const QRect first(r.left(), r.top() + 3, r.width(), lineHeight);
            if (cut < 0) {
                painter->drawText(first, int(Qt::AlignHCenter | Qt::AlignTop), text);
            } else {
                painter->drawText(first, int(Qt::AlignHCenter | Qt::AlignTop), text.left(cut));
                const QRect second(r.left(), r.top() + r.height() / 2 + 3, r.width(), lineHeight);
                painter->drawText(second, int(Qt::AlignHCenter | Qt::AlignTop), text.mid(cut + 1));
            }
        } else {
            const QString text
                = col == 0 ? QString::number(row) + QLatin1Char('.') : ShownNumberText(index.data().toString());
            const QRect place(r.left(), r.top() + 3, r.width() - 2, lineHeight);
            painter->drawText(place, int(Qt::AlignRight | Qt::AlignTop), text);
        }
        painter->restore();
    }

    // A reading typed with the other decimal separator shows with the one the results
    // use; the cell keeps the text as typed.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.row() > 0 && index.column() > 0)
            option->text = ShownNumberText(option->text);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const QByteArray property = editor->metaObject()->userProperty().name();
        const QString text = editor->property(property.constData()).toString();
        if (!FitsReadingList(text)) {
            if (refused_)
                refused_(index.row(), index.column(), text);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    QTableWidget* grid_;
    std::function<bool()> drawn_;
    std::function<void(int, int, const QString&)> refused_;
};

class ReadingGridKeys : public QObject {
public:
    ReadingGridKeys(QTableWidget* grid, std::function<bool(int, Qt::KeyboardModifiers)> handler)
        : QObject(grid)
        , handler_(std::move(handler))
    {
        grid->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (handler_(key->key(), key->modifiers()))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(int, Qt::KeyboardModifiers)> handler_;
};

} // namespace

void SetReadingGridDrawing(
    QTableWidget& grid, std::function<bool()> drawn, std::function<void(int row, int col, const QString& text)> refused)
{
    grid.setItemDelegate(new ReadingGridDelegate(&grid, std::move(drawn), std::move(refused)));
    QObject::connect(&grid, &QTableWidget::currentCellChanged, &grid, [&grid] { grid.viewport()->update(); });
}

void SetReadingGridKeys(QTableWidget& grid, std::function<bool(int key, Qt::KeyboardModifiers)> handler)
{
    new ReadingGridKeys(&grid, std::move(handler));
}

int LastFilledRow(const QTableWidget& grid)
{
    for (int r = grid.rowCount() - 1; r >= 1; --r)
        for (int c = 1; c < grid.columnCount(); ++c)
            if (!GridCell(grid, c, r).trimmed().isEmpty())
                return r;
    return 0;
}

} // namespace orvek
