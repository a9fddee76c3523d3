#include "database/ui/user_grid_delegate.h"

#include <QPainter>

namespace orvek {

TUserGridDelegate::TUserGridDelegate(StyleOfRow styleOfRow, QObject* parent)
    : QStyledItemDelegate(parent)
    , styleOfRow_(std::move(styleOfRow))
{
}

void TUserGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
    const TUserRowStyle style = styleOfRow_(index.row(), selected);
    painter->save();
    painter->fillRect(option.rect, style.Background);
    QFont font(QStringLiteral("Arial"), 9);
    font.setBold(style.Bold);
    font.setItalic(style.Italic);
    painter->setFont(font);
    painter->setPen(style.Text);
    const QRect text = option.rect.adjusted(2, 0, -2, 0);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, index.data().toString().trimmed());
    painter->restore();
}

} // namespace orvek
