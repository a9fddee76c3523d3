#include "database/ui/vx_db_grid.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace orvek {

namespace {

// Fills the cell and draws its display text with the grid's font: one line, or
// word-wrapped when the rows are taller than one line.
class GridCellDelegate : public QStyledItemDelegate {
public:
    GridCellDelegate(const TVxDBGrid* grid)
        : QStyledItemDelegate(const_cast<TVxDBGrid*>(grid))
        , grid_(grid)
    {
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
        painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
        painter->setFont(option.font);
        const int flags = grid_->RowHeightFactor() == 1 ? (Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine)
                                                        : (Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
        painter->drawText(option.rect.adjusted(2, 1, -2, -1), flags, index.data(Qt::DisplayRole).toString());
    }

private:
    const TVxDBGrid* grid_;
};

} // namespace

TVxDBGrid::TVxDBGrid(QWidget* parent)
    : QTableView(parent)
{
    setItemDelegate(new GridCellDelegate(this));
    baseRowHeight_ = verticalHeader()->defaultSectionSize();
    horizontalHeader()->setSectionsMovable(false);
    verticalHeader()->viewport()->installEventFilter(this);
    if (auto* corner = findChild<QAbstractButton*>())
        corner->installEventFilter(this);
}

void TVxDBGrid::SetColMovingEnabled(bool enabled)
{
    colMovingEnabled_ = enabled;
    horizontalHeader()->setSectionsMovable(enabled);
}

void TVxDBGrid::SetRowHeightFactor(int factor)
{
    rowHeightFactor_ = qMax(1, factor);
    ApplyRowHeight();
}

void TVxDBGrid::ApplyRowHeight()
{
    verticalHeader()->setDefaultSectionSize(baseRowHeight_ * rowHeightFactor_);
    viewport()->update();
}

bool TVxDBGrid::eventFilter(QObject* watched, QEvent* event)
{
    const bool corner = qobject_cast<QAbstractButton*>(watched) != nullptr;
    const bool indicator = watched == verticalHeader()->viewport();
    if (corner || indicator) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (mouse->button() == Qt::LeftButton) {
                if (corner) {
                    PressedIndicatorRow = 0;
                } else {
                    const int row = verticalHeader()->logicalIndexAt(mouse->position().toPoint());
                    PressedIndicatorRow = row >= 0 ? row + 1 : -1;
                }
            }
            if (OnMouseDown)
                OnMouseDown(mouse);
            break;
        case QEvent::MouseMove:
            PressedIndicatorRow = -1;
            if (OnMouseMove)
                OnMouseMove(mouse);
            break;
        case QEvent::MouseButtonRelease: {
            const int pressed = PressedIndicatorRow;
            PressedIndicatorRow = -1;
            if (pressed > 0 && OnRowIndicatorClick)
                OnRowIndicatorClick(pressed);
            else if (pressed == 0 && OnMainIndicatorClick)
                OnMainIndicatorClick();
            if (OnMouseUp)
                OnMouseUp(mouse);
            break;
        }
        default:
            break;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void TVxDBGrid::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(event);
    QTableView::mousePressEvent(event);
}

void TVxDBGrid::mouseMoveEvent(QMouseEvent* event)
{
    PressedIndicatorRow = -1;
    if (OnMouseMove)
        OnMouseMove(event);
    QTableView::mouseMoveEvent(event);
}

void TVxDBGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (OnMouseUp)
        OnMouseUp(event);
    QTableView::mouseReleaseEvent(event);
}

} // namespace orvek
