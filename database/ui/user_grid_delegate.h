#pragma once
// Draws the rows of the user grids: Arial 9, the trimmed text 2 pixels from the left,
// colours and font style from the row's style.

#include "database/user_admin.h"

#include <QStyledItemDelegate>
#include <functional>

namespace orvek {

class TUserGridDelegate : public QStyledItemDelegate {
public:
    // The style of model row Row, selected or not.
    using StyleOfRow = std::function<TUserRowStyle(int row, bool selected)>;
    TUserGridDelegate(StyleOfRow styleOfRow, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    StyleOfRow styleOfRow_;
};

} // namespace orvek
