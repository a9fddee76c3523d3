#include "mainwindow/ui/sum_formula_grid_delegate.h"

#include "core/common_vars.h"
#include "core/number_format.h"
#include "mainwindow/sum_formula_grid.h"
#include "richtext/markup_read.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace orvek {

TSumFormulaGridDelegate::TSumFormulaGridDelegate(std::function<bool()> Editable, QObject* parent)
    : QStyledItemDelegate(parent)
    , editable_(std::move(Editable))
{
}

QString TSumFormulaGridDelegate::DisplayText(const QModelIndex& index)
{
    auto text = [&](int column) { return index.sibling(index.row(), column).data(Qt::EditRole).toString(); };
    QString shown = text(index.column()), value, unc;
    switch (index.column()) {
    case kSumWeightTimesCount:
        value = shown;
        FormatValueAndUncertaintyOneDigit(text(kSumWeightTimesCount), text(kSumWeightUncertainty), value, unc);
        shown = value;
        break;
    case kSumStandardUncertainty:
        shown = FormatSignificantText(SignificantDigits, shown);
        break;
    case kSumCountTimesU:
        unc = shown;
        FormatValueAndUncertainty(text(kSumWeightTimesCount), text(kSumCountTimesU), value, unc);
        shown = unc;
        break;
    default:
        break;
    }
    return ExponentToMarkup(shown);
}

void TSumFormulaGridDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int column = index.column();
    const bool current = option.state & QStyle::State_HasFocus || option.state & QStyle::State_Selected;
    QColor ground = QColor(164, 164, 0);
    QColor ink = Qt::black;
    if (column == kSumRowNumber) {
        ground = QApplication::palette().color(QPalette::Button);
    } else if ((column == kSumAtomicWeight || column == kSumWeightUncertainty) && editable_ && editable_()) {
        ground = current ? QColor(0, 0, 128) : QColor(Qt::white);
        ink = current ? QColor(Qt::white) : QColor(Qt::black);
    }
    painter->save();
    painter->fillRect(option.rect, ground);
    painter->setPen(ink);
    QFont font(QStringLiteral("Arial"), 9);
    painter->setFont(font);
    const QRect area = option.rect.adjusted(2, 0, -2, 0);
    const QString stored = index.data(Qt::EditRole).toString();
    if (column == kSumRowNumber)
        painter->drawText(area, Qt::AlignRight | Qt::AlignVCenter, stored);
    else if (column == kSumSymbol)
        painter->drawText(area, Qt::AlignCenter, stored);
    else if (column == kSumCount || column == kSumAtomicWeight)
        painter->drawText(area, Qt::AlignRight | Qt::AlignVCenter, stored);
    else
        DrawMarkupText(*painter, 2, DisplayText(index), area);
    painter->restore();
}

QWidget* TSumFormulaGridDelegate::createEditor(
    QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    // The dialog watches the editor's keys: Enter moves on to the next row.
    if (QObject* dialog = parent->window())
        editor->installEventFilter(dialog);
    return editor;
}

bool TSumFormulaGridDelegate::eventFilter(QObject* editor, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !(key->modifiers() & Qt::ShiftModifier))
            return false;
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}

} // namespace orvek
