#include "platform/ui/f1_book.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <algorithm>

namespace orvek {

namespace {

constexpr int kNumberFormatRole = Qt::UserRole + 1;
// Set on a cell that SetProtection(false, ...) unlocked; cells are locked by default.
constexpr int kUnlockedRole = Qt::UserRole + 2;

TF1Book::TFormatter& Formatter()
{
    static TF1Book::TFormatter formatter;
    return formatter;
}

TF1Book::TRefusalHandler& RefusalHandler()
{
    static TF1Book::TRefusalHandler handler;
    return handler;
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

    // The typed text goes through OnEndEdit, which may replace it or keep the old one.
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line) {
            QStyledItemDelegate::setModelData(editor, model, index);
            return;
        }
        QString text = line->text();
        bool cancel = false;
        if (book_->OnEndEdit)
            book_->OnEndEdit(text, cancel);
        if (cancel || text == index.data(Qt::EditRole).toString())
            return;
        model->setData(index, text, Qt::EditRole);
        book_->NotifyModified();
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
    if (MaxRow() == 0 || MaxCol() == 0)
        return;
    const int r1 = std::clamp(std::min(row1, row2), 1, MaxRow());
    const int r2 = std::clamp(std::max(row1, row2), 1, MaxRow());
    const int c1 = std::clamp(std::min(col1, col2), 1, MaxCol());
    const int c2 = std::clamp(std::max(col1, col2), 1, MaxCol());
    setCurrentCell(r1 - 1, c1 - 1, QItemSelectionModel::NoUpdate);
    clearSelection();
    setRangeSelected(QTableWidgetSelectionRange(r1 - 1, c1 - 1, r2 - 1, c2 - 1), true);
}

void TF1Book::SetNumberFormat(const QString& format)
{
    if (MaxRow() == 0 || MaxCol() == 0)
        return;
    SetNumberFormatRange(SelStartRow(), SelStartCol(), SelEndRow(), SelEndCol(), format);
}

void TF1Book::SetNumberFormatRange(int row1, int col1, int row2, int col2, const QString& format)
{
    row1 = std::max(1, row1);
    col1 = std::max(1, col1);
    row2 = std::min(row2, MaxRow());
    col2 = std::min(col2, MaxCol());
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c)
            ItemAt(r, c)->setData(kNumberFormatRole, format);
}

void TF1Book::SetEnableProtection(bool enabled)
{
    protected_ = enabled;
}

void TF1Book::SetRefusalHandler(TRefusalHandler handler)
{
    RefusalHandler() = std::move(handler);
}

int TF1Book::SelStartRow() const
{
    const auto ranges = selectedRanges();
    return ranges.isEmpty() ? Row() : ranges.first().topRow() + 1;
}

int TF1Book::SelEndRow() const
{
    const auto ranges = selectedRanges();
    return ranges.isEmpty() ? Row() : ranges.first().bottomRow() + 1;
}

int TF1Book::SelStartCol() const
{
    const auto ranges = selectedRanges();
    return ranges.isEmpty() ? Col() : ranges.first().leftColumn() + 1;
}

int TF1Book::SelEndCol() const
{
    const auto ranges = selectedRanges();
    return ranges.isEmpty() ? Col() : ranges.first().rightColumn() + 1;
}

void TF1Book::SetPattern(int pattern, const QColor& colour)
{
    if (MaxRow() == 0 || MaxCol() == 0)
        return;
    const int r1 = SelStartRow(), r2 = SelEndRow(), c1 = SelStartCol(), c2 = SelEndCol();
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c) {
            if (pattern == 1)
                ItemAt(r, c)->setBackground(colour);
            else if (QTableWidgetItem* cell = item(r - 1, c - 1))
                cell->setBackground(QBrush());
        }
}

QColor TF1Book::FillRC(int row, int col) const
{
    const QTableWidgetItem* cell = item(row - 1, col - 1);
    if (!cell || cell->background().style() == Qt::NoBrush)
        return {};
    return cell->background().color();
}

void TF1Book::SetProtection(bool locked, bool /*hidden*/)
{
    if (MaxRow() == 0 || MaxCol() == 0)
        return;
    const int r1 = SelStartRow(), r2 = SelEndRow(), c1 = SelStartCol(), c2 = SelEndCol();
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c) {
            if (!locked)
                ItemAt(r, c)->setData(kUnlockedRole, true);
            else if (QTableWidgetItem* cell = item(r - 1, c - 1))
                cell->setData(kUnlockedRole, QVariant());
        }
}

bool TF1Book::LockedRC(int row, int col) const
{
    const QTableWidgetItem* cell = item(row - 1, col - 1);
    return !cell || !cell->data(kUnlockedRole).toBool();
}

bool TF1Book::RangeLocked(int row1, int col1, int row2, int col2) const
{
    if (!protected_)
        return false;
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c)
            if (LockedRC(r, c))
                return true;
    return false;
}

void TF1Book::Refuse(TRefusal refusal, int row, int col)
{
    if (RefusalHandler())
        RefusalHandler()(refusal, row, col);
}

void TF1Book::NotifyModified()
{
    if (OnStartRecalc)
        OnStartRecalc();
    if (OnModified)
        OnModified();
}

bool TF1Book::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // Only the triggers that open an editor are asked; the view asks this also for
    // every click, which must not count as the start of an edit.
    if (state() == EditingState || !(editTriggers() & trigger) || !index.isValid())
        return QTableWidget::edit(index, trigger, event);
    if (RangeLocked(index.row() + 1, index.column() + 1, index.row() + 1, index.column() + 1)) {
        if (trigger != SelectedClicked && trigger != CurrentChanged)
            Refuse(TRefusal::Protected);
        return false;
    }
    bool cancel = false;
    if (OnStartEdit)
        OnStartEdit(cancel);
    if (cancel)
        return false;
    return QTableWidget::edit(index, trigger, event);
}

void TF1Book::EndEdit()
{
    if (state() != EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TF1Book::keyPressEvent(QKeyEvent* event)
{
    if (OnKeyDown)
        OnKeyDown(event->key(), event->modifiers());
    if (state() != EditingState) {
        if (event->matches(QKeySequence::Copy)) {
            EditCopy();
            return;
        }
        if (event->matches(QKeySequence::Cut)) {
            EditCut();
            return;
        }
        if (event->matches(QKeySequence::Paste)) {
            EditPaste();
            return;
        }
        if (event->key() == Qt::Key_Delete) {
            EditClear();
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

void TF1Book::EditCopy()
{
    if (MaxRow() == 0 || MaxCol() == 0)
        return;
    QString text;
    const int r1 = SelStartRow(), r2 = SelEndRow(), c1 = SelStartCol(), c2 = SelEndCol();
    for (int r = r1; r <= r2; ++r) {
        for (int c = c1; c <= c2; ++c) {
            if (c > c1)
                text += QLatin1Char('\t');
            text += FormattedTextRC(r, c);
        }
        text += QLatin1Char('\n');
    }
    QGuiApplication::clipboard()->setText(text);
}

void TF1Book::EditCut()
{
    if (MaxRow() == 0 || MaxCol() == 0)
        return;
    if (RangeLocked(SelStartRow(), SelStartCol(), SelEndRow(), SelEndCol())) {
        Refuse(TRefusal::Protected);
        return;
    }
    EditCopy();
    EditClear();
}

bool TF1Book::EditClear()
{
    if (MaxRow() == 0 || MaxCol() == 0)
        return false;
    const int r1 = SelStartRow(), r2 = SelEndRow(), c1 = SelStartCol(), c2 = SelEndCol();
    if (RangeLocked(r1, c1, r2, c2)) {
        Refuse(TRefusal::Protected);
        return false;
    }
    bool changed = false;
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            if (QTableWidgetItem* cell = item(r - 1, c - 1); cell && !cell->text().isEmpty()) {
                cell->setText(QString());
                changed = true;
            }
    if (changed)
        NotifyModified();
    return true;
}

bool TF1Book::EditPaste()
{
    return PasteText(QGuiApplication::clipboard()->text());
}

bool TF1Book::PasteText(const QString& text)
{
    if (text.isEmpty() || MaxRow() == 0 || MaxCol() == 0)
        return false;
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (body.endsWith(QLatin1Char('\n')))
        body.chop(1);
    const QStringList lines = body.split(QLatin1Char('\n'));
    qsizetype width = 0;
    QList<QStringList> cells;
    for (const QString& line : lines) {
        cells << line.split(QLatin1Char('\t'));
        width = std::max(width, cells.last().size());
    }
    const int row1 = SelStartRow(), col1 = SelStartCol();
    const int row2 = row1 + int(cells.size()) - 1, col2 = col1 + int(width) - 1;
    if (row2 > MaxRow() || col2 > MaxCol()) {
        Refuse(TRefusal::PasteTooLarge, row2, col2);
        return false;
    }
    if (RangeLocked(row1, col1, row2, col2)) {
        Refuse(TRefusal::Protected);
        return false;
    }
    if (OnPasteCell)
        for (int r = 0; r < cells.size(); ++r)
            for (int c = 0; c < cells[r].size(); ++c)
                if (!OnPasteCell(row1 + r, col1 + c, cells[r][c]))
                    return false;
    for (int r = 0; r < cells.size(); ++r)
        for (int c = 0; c < cells[r].size(); ++c)
            SetTextRC(row1 + r, col1 + c, cells[r][c]);
    setRangeSelected(QTableWidgetSelectionRange(row1 - 1, col1 - 1, row2 - 1, col2 - 1), true);
    NotifyModified();
    return true;
}

} // namespace orvek
