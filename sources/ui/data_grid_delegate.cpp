#include "sources/ui/data_grid_delegate.h"

#include "sources/data_grid_text.h"
#include "sources/ui/data_grid.h"
#include "sources/ui/data_grid_inplace_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

namespace orvek {

namespace {

// The text of a cell as its column shows it: a display mask applied to a number or a
// date, or the raw text when it does not convert.
QString ShownText(const TColumn* column, const QString& text)
{
    if (!column || column->DisplayMask().isEmpty() || text.isEmpty())
        return text;
    QString shown;
    if (column->Format() == TColumnFormat::cfNumber && FormatGridNumber(text, column->DisplayMask(), shown))
        return shown;
    if (column->Format() == TColumnFormat::cfDate && FormatGridDate(text, column->DisplayMask(), shown))
        return shown;
    return text;
}

} // namespace

TDataGridDelegate::TDataGridDelegate(TDataGrid* grid)
    : QStyledItemDelegate(grid)
    , grid_(grid)
{
}

void TDataGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int col = index.column(), row = index.row() + grid_->FixedRows();
    const QRect rect = option.rect;
    if (!grid_->DefaultDrawing()) {
        QStyledItemDelegate::paint(painter, option, index);
        if (grid_->OnDrawCell)
            grid_->OnDrawCell(grid_, painter, col, row, rect);
        return;
    }
    const TColumn* column = grid_->Columns().Items(col);
    const bool selected = option.state & QStyle::State_Selected;
    const bool focused = index == grid_->currentIndex();
    const bool rowSelect = grid_->Options() & goRowSelect;
    const QPalette& palette = option.palette;

    QFont font = column ? column->Font() : grid_->font();
    QColor background = column ? column->Color() : grid_->GridColor();
    QColor foreground = column ? column->FontColor() : palette.color(QPalette::Text);
    // A focused cell, or a selected one of a row-selecting grid, keeps the highlight
    // colours and takes only the column's font.
    if (focused || (rowSelect && selected)) {
        background = palette.color(QPalette::Highlight);
        foreground = palette.color(QPalette::HighlightedText);
    }
    painter->save();
    if (!grid_->BGImage().isNull()) {
        QImage picture = grid_->BGImage();
        if (selected)
            picture.invertPixels();
        painter->setBrushOrigin(0, 0);
        painter->fillRect(rect, QBrush(picture));
        if (selected || focused)
            foreground = palette.color(QPalette::HighlightedText);
    } else
        painter->fillRect(rect, background);

    const Qt::Alignment alignment = column ? column->Alignment() : Qt::AlignLeft;
    // Left-aligned text 2 pixels in, right-aligned 3 pixels in, 2 pixels below the top.
    const QRect textRect = rect.adjusted(2, 2, -3, 0);
    painter->setClipRect(rect);
    painter->setFont(font);
    painter->setPen(foreground);
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    painter->drawText(textRect, int((horizontal ? horizontal : Qt::AlignLeft) | Qt::AlignTop | Qt::TextSingleLine),
        ShownText(column, index.data(Qt::EditRole).toString()));
    painter->restore();
    if (grid_->OnDrawCell)
        grid_->OnDrawCell(grid_, painter, col, row, rect);
}

QWidget* TDataGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    auto* editor = new TDataGridInplaceEdit(grid_, parent);
    editor->setObjectName("InplaceEdit");
    editor->installEventFilter(const_cast<TDataGridDelegate*>(this));
    const int col = index.column(), row = index.row() + grid_->FixedRows();
    const TColumn* column = grid_->Columns().Items(col);
    using Style = TDataGridInplaceEdit::TEditStyle;
    Style style = Style::esSimple;
    bool readOnly = false;
    if (column) {
        if (column->ButtonStyle() == TColumnButtonStyle::cbsEllipsis)
            style = Style::esEllipsis;
        else if (column->ButtonStyle() == TColumnButtonStyle::cbsAuto && !column->PickList().isEmpty()
            && !column->ReadOnly())
            style = Style::esPickList;
        readOnly = column->ReadOnly() || (style == Style::esPickList && column->LimitToList());
    }
    editor->Configure(style, readOnly, column ? column->PickList() : QStringList(), column ? column->DropDownRows() : 7,
        column ? column->MaxLength() : 0);
    const QString mask = grid_->GetEditMask(col, row);
    if (!mask.isEmpty())
        editor->setInputMask(mask);
    if (column)
        editor->setFont(column->Font());
    const_cast<TDataGrid*>(grid_)->SetEditor(editor);
    return editor;
}

void TDataGridDelegate::setEditorData(QWidget* widget, const QModelIndex& index) const
{
    auto* editor = static_cast<TDataGridInplaceEdit*>(widget);
    const QString text = index.data(Qt::EditRole).toString();
    editor->SetStartText(text);
    editor->setText(text);
    editor->setModified(false);
}

void TDataGridDelegate::setModelData(QWidget* widget, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* editor = static_cast<TDataGridInplaceEdit*>(widget);
    if (!editor->isModified())
        return;
    QString text = editor->text();
    const TColumn* column = grid_->Columns().Items(index.column());
    if (column && !text.isEmpty()) {
        switch (column->Format()) {
        case TColumnFormat::cfNumber:
            if (!NormalizeGridNumber(text)) {
                QApplication::beep();
                text = editor->StartText();
                editor->setText(text);
                editor->setModified(false);
            }
            break;
        case TColumnFormat::cfDate:
            text = NormalizeGridDate(text);
            break;
        case TColumnFormat::cfString:
            if (!column->PickList().isEmpty())
                text = CompleteFromPickList(text, column->PickList());
            break;
        }
    }
    model->setData(index, text, Qt::EditRole);
    if (editor->isModified())
        editor->SetStartText(text);
    if (grid_->OnUserChanged)
        grid_->OnUserChanged(editor);
}

void TDataGridDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    if (grid_->InplaceEditor() == editor)
        const_cast<TDataGrid*>(grid_)->SetEditor(nullptr);
    QStyledItemDelegate::destroyEditor(editor, index);
}

bool TDataGridDelegate::eventFilter(QObject* object, QEvent* event)
{
    auto* editor = qobject_cast<TDataGridInplaceEdit*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // While the list is open its keys belong to the editor; the row keys go to the
        // grid and are consumed.
        if (editor->ListVisible())
            return false;
        // Tab keeps its usual effect after appending a row: the editor commits and the
        // grid moves on, onto the new row.
        if (grid_->HandleRowKey(key, true))
            return key->key() != Qt::Key_Tab;
    }
    if (editor && event->type() == QEvent::FocusOut && editor->ListVisible())
        return false;
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace orvek
