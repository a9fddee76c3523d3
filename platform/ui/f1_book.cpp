#include "platform/ui/f1_book.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <algorithm>

namespace orvek {

namespace {

constexpr int kNumberFormatRole = Qt::UserRole + 1;

TF1Book::TFormatter& Formatter()
{
    static TF1Book::TFormatter formatter;
    return formatter;
}

} // namespace

// Shows each cell's text under its number format, aligned as its column; editing works
// on the text as typed.
class TF1BookDelegate : public QStyledItemDelegate {
public:
    explicit TF1BookDelegate(TF1Book* book)
        : QStyledItemDelegate(book)
        , book_(book)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString format = index.data(kNumberFormatRole).toString();
        if (!format.isEmpty() && Formatter())
            option->text = Formatter()(index.data(Qt::EditRole).toString(), format);
        const size_t col = size_t(index.column());
        if (!index.data(Qt::TextAlignmentRole).isValid() && col < book_->colAlignment_.size()
            && book_->colAlignment_[col] != Qt::Alignment())
            option->displayAlignment = book_->colAlignment_[col];
    }

private:
    TF1Book* book_;
};

TF1Book::TF1Book(QWidget* parent)
    : QTableWidget(parent)
{
    setItemDelegate(new TF1BookDelegate(this));
    setStyleSheet(QStringLiteral("QTableWidget { background: white; }"));
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
}

void TF1Book::SetFormatter(TFormatter formatter)
{
    Formatter() = std::move(formatter);
}

void TF1Book::SetMaxCol(int cols)
{
    setColumnCount(cols);
    for (int c = 0; c < cols; ++c)
        if (!horizontalHeaderItem(c))
            setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
}

void TF1Book::SetColAlignment(int col, Qt::Alignment alignment)
{
    if (col < 1)
        return;
    if (colAlignment_.size() < size_t(col))
        colAlignment_.resize(size_t(col));
    colAlignment_[size_t(col - 1)] = alignment;
}

QString TF1Book::ColText(int col) const
{
    const QTableWidgetItem* item = horizontalHeaderItem(col - 1);
    return item ? item->text() : QString();
}

void TF1Book::SetColText(int col, const QString& text)
{
    if (QTableWidgetItem* item = horizontalHeaderItem(col - 1))
        item->setText(text);
    else
        setHorizontalHeaderItem(col - 1, new QTableWidgetItem(text));
}

int TF1Book::ColWidth(int col) const
{
    const int digit = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('0')));
    return columnWidth(col - 1) * 256 / digit;
}

void TF1Book::SetColWidth(int col, int width)
{
    const int digit = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('0')));
    setColumnWidth(col - 1, width * digit / 256);
}

QTableWidgetItem* TF1Book::ItemAt(int row, int col)
{
    QTableWidgetItem* cell = item(row - 1, col - 1);
    if (!cell) {
        cell = new QTableWidgetItem();
        setItem(row - 1, col - 1, cell);
    }
    return cell;
}

QString TF1Book::TextRC(int row, int col) const
{
    const QTableWidgetItem* cell = item(row - 1, col - 1);
    return cell ? cell->text() : QString();
}

void TF1Book::SetTextRC(int row, int col, const QString& text)
{
    if (row < 1 || col < 1 || row > MaxRow() || col > MaxCol())
        return;
    if (QTableWidgetItem* cell = item(row - 1, col - 1))
        cell->setText(text);
    else if (!text.isEmpty())
        ItemAt(row, col)->setText(text);
}

QString TF1Book::NumberFormatRC(int row, int col) const
{
    const QTableWidgetItem* cell = item(row - 1, col - 1);
    return cell ? cell->data(kNumberFormatRole).toString() : QString();
}

QString TF1Book::FormattedTextRC(int row, int col) const
{
    const QString text = TextRC(row, col);
    const QString format = NumberFormatRC(row, col);
    return format.isEmpty() || !Formatter() ? text : Formatter()(text, format);
}

void TF1Book::SetSelection(int row1, int col1, int row2, int col2)
{
    selRow1_ = std::clamp(std::min(row1, row2), 1, std::max(1, MaxRow()));
    selRow2_ = std::clamp(std::max(row1, row2), 1, std::max(1, MaxRow()));
    selCol1_ = std::clamp(std::min(col1, col2), 1, std::max(1, MaxCol()));
    selCol2_ = std::clamp(std::max(col1, col2), 1, std::max(1, MaxCol()));
    clearSelection();
    if (MaxRow() > 0 && MaxCol() > 0) {
        setCurrentCell(selRow1_ - 1, selCol1_ - 1);
        setRangeSelected(QTableWidgetSelectionRange(selRow1_ - 1, selCol1_ - 1, selRow2_ - 1, selCol2_ - 1), true);
    }
}

void TF1Book::SetNumberFormat(const QString& format)
{
    if (MaxRow() == 0 || MaxCol() == 0)
        return;
    for (int r = selRow1_; r <= selRow2_; ++r)
        for (int c = selCol1_; c <= selCol2_; ++c)
            ItemAt(r, c)->setData(kNumberFormatRole, format);
}

void TF1Book::SetEnableProtection(bool enabled)
{
    protected_ = enabled;
    setEditTriggers(enabled
            ? QAbstractItemView::NoEditTriggers
            : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
}

} // namespace orvek
