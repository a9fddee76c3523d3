#include "engine/ui/diagram_view.h"

#include "core/settings.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "engine/cell_painter.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

namespace orvek {

namespace {

Qt::CursorShape ShapeOf(TCellCursor cursor)
{
    switch (cursor) {
    case TCellCursor::No:
        return Qt::ForbiddenCursor;
    case TCellCursor::HandPoint:
        return Qt::PointingHandCursor;
    case TCellCursor::HourGlass:
        return Qt::WaitCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

TCellBoxWidget::TCellBoxWidget(TCell* cell, QWidget* parent)
    : QWidget(parent)
    , cell_(cell)
{
    setMouseTracking(true);
    setObjectName(QStringLiteral("cellBox%1").arg(cell->FId));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TCellBoxWidget::SyncFromCell()
{
    if (!cell_)
        return;
    const TCellBoxData& box = cell_->FBox;
    if (geometry() != box.Rect)
        setGeometry(box.Rect);
    setVisible(box.Visible);
    setToolTip(box.Hint);
    setCursor(ShapeOf(box.Cursor));
    update();
}

bool TCellBoxWidget::OnButton(const QPoint& pos) const
{
    return cell_ && cell_->FExpandButton.Visible && cell_->FExpandButton.Rect.contains(pos);
}

void TCellBoxWidget::paintEvent(QPaintEvent*)
{
    if (!cell_)
        return;
    QPainter painter(this);
    PaintCellBox(painter, *cell_, -cell_->FBox.Rect.topLeft());
}

void TCellBoxWidget::mousePressEvent(QMouseEvent* event)
{
    if (!cell_ || event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    if (!OnButton(event->position().toPoint()))
        cell_->BoxMouseDown();
}

void TCellBoxWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (!cell_ || event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    // The release that ends a double click is not a further click.
    if (swallowRelease_) {
        swallowRelease_ = false;
        return;
    }
    if (!rect().contains(event->position().toPoint()))
        return;
    if (OnButton(event->position().toPoint()))
        cell_->ExpandButtonClick();
    else
        cell_->BoxClick();
}

void TCellBoxWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!cell_ || event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    swallowRelease_ = true;
    if (OnButton(event->position().toPoint()))
        cell_->ExpandButtonClick();
    else
        cell_->BoxDblClick();
}

void TCellBoxWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!cell_)
        return;
    cell_->BoxMouseMove();
    setCursor(OnButton(event->position().toPoint()) ? Qt::PointingHandCursor : ShapeOf(cell_->FBox.Cursor));
}

bool TCellBoxWidget::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && cell_) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = OnButton(help->pos()) ? GetString(240) : cell_->FBox.Hint;
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

TDiagramCanvas::TDiagramCanvas(TDiagramView* view, QWidget* parent)
    : QWidget(parent)
    , view_(view)
{
    setObjectName(QStringLiteral("diagramCanvas"));
    setAutoFillBackground(true);
}

void TDiagramCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ColorFromBGR(BackgroundColor));
    for (const auto& [cell, box] : view_->Boxes())
        if (cell->FVisible)
            PaintCellConnectors(painter, *cell, QPoint());
}

TDiagramView::TDiagramView(QWidget* parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("diagramView"));
    canvas_ = new TDiagramCanvas(this, this);
    canvas_->resize(100, 100);
    setWidget(canvas_);
    setWidgetResizable(false);
}

TDiagramView::~TDiagramView()
{
    // Cells that outlive the view must not call back into it.
    for (auto& [cell, box] : boxes_)
        box->Detach();
}

TCellBoxWidget* TDiagramView::BoxOf(const TCell* cell) const
{
    auto it = boxes_.find(cell);
    return it == boxes_.end() ? nullptr : it->second;
}

void TDiagramView::CellCreated(TCell* cell)
{
    auto* box = new TCellBoxWidget(cell, canvas_);
    boxes_[cell] = box;
    box->SyncFromCell();
    ScheduleCanvasRefresh();
}

void TDiagramView::CellChanged(TCell* cell)
{
    if (TCellBoxWidget* box = BoxOf(cell))
        box->SyncFromCell();
    ScheduleCanvasRefresh();
}

void TDiagramView::CellDestroyed(TCell* cell)
{
    auto it = boxes_.find(cell);
    if (it == boxes_.end())
        return;
    TCellBoxWidget* box = it->second;
    boxes_.erase(it);
    box->Detach();
    box->hide();
    // The box may be handling the event that led here.
    box->deleteLater();
    ScheduleCanvasRefresh();
}

void TDiagramView::BeginUpdate(bool hourglass)
{
    if (updateDepth_++ == 0) {
        savedHorizontal_ = horizontalScrollBar()->value();
        savedVertical_ = verticalScrollBar()->value();
        canvas_->setUpdatesEnabled(false);
    }
    hourglassStack_.push_back(hourglass);
    if (hourglass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TDiagramView::EndUpdate()
{
    if (updateDepth_ == 0)
        return;
    if (hourglassStack_.back())
        QApplication::restoreOverrideCursor();
    hourglassStack_.pop_back();
    if (--updateDepth_ == 0) {
        RefreshCanvas();
        canvas_->setUpdatesEnabled(true);
        horizontalScrollBar()->setValue(savedHorizontal_);
        verticalScrollBar()->setValue(savedVertical_);
    }
}

void TDiagramView::ScheduleCanvasRefresh()
{
    if (refreshScheduled_ || updateDepth_ > 0)
        return;
    refreshScheduled_ = true;
    QTimer::singleShot(0, this, [this] { RefreshCanvas(); });
}

void TDiagramView::RefreshCanvas()
{
    refreshScheduled_ = false;
    QRect bounds(0, 0, 1, 1);
    for (const auto& [cell, box] : boxes_)
        if (cell->FVisible)
            bounds = bounds.united(cell->FBox.Rect);
    const QSize size(bounds.right() + DiagramOriginX, bounds.bottom() + DiagramOriginY);
    if (canvas_->size() != size)
        canvas_->resize(size);
    canvas_->update();
}

} // namespace orvek
