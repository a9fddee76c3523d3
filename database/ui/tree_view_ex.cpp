#include "database/ui/tree_view_ex.h"

#include "platform/dialogs.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <vector>

namespace orvek {

namespace {

// The mime type of a node dragged inside its own tree.
constexpr const char* kNodeMimeType = "application/x-orvek-tree-node";
// The drag scrolls one node this often while the mouse is this close to an edge.
constexpr int kAutoScrollMs = 200;
constexpr int kAutoScrollMargin = 16;

} // namespace

TCustomTreeViewEx::TCustomTreeViewEx(QWidget* parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    viewport()->setAcceptDrops(true);
    setAutoScroll(false);
    setMouseTracking(true);
    autoScrollTimer_ = new QTimer(this);
    autoScrollTimer_->setInterval(kAutoScrollMs);
    connect(autoScrollTimer_, &QTimer::timeout, this, &TCustomTreeViewEx::AutoScrollStep);
    mouseSelectTimer_ = new QTimer(this);
    mouseSelectTimer_->setSingleShot(true);
    connect(mouseSelectTimer_, &QTimer::timeout, this, &TCustomTreeViewEx::FireMouseSelect);
    connect(this, &QTreeWidget::currentItemChanged, this,
        [this](QTreeWidgetItem* current, QTreeWidgetItem*) { SelectionChanged(current); });
}

TCustomTreeViewEx::~TCustomTreeViewEx() = default;

void TCustomTreeViewEx::SetOptions(TDBTreeOptions options)
{
    options_ = options;
}

void TCustomTreeViewEx::SetOption(TDBTreeOption option, bool on)
{
    SetOptions(on ? (options_ | option) : (options_ & ~unsigned(option)));
}

QTreeWidgetItem* TCustomTreeViewEx::CreateNode() const
{
    return new QTreeWidgetItem;
}

void TCustomTreeViewEx::SelectionChanged(QTreeWidgetItem* current)
{
    UserActivity();
    if (current && current->childCount() > 0 && HasOption(dtAutoExpand))
        current->setExpanded(true);
    if (OnChange)
        OnChange(current);
}

bool TCustomTreeViewEx::CanDeleteNode(QTreeWidgetItem* node)
{
    // The nodes below a node are never top-level, so they may go whenever it may.
    return node && !readOnly_ && HasOption(dtAllowDelete) && (node->parent() || !HasOption(dtRootItemReadOnly));
}

void TCustomTreeViewEx::StopDragTimers()
{
    autoScrollTimer_->stop();
    mouseSelectTimer_->stop();
}

bool TCustomTreeViewEx::CanMoveNode(QTreeWidgetItem* node)
{
    if (!node || readOnly_)
        return false;
    if (!node->parent() && (HasOption(dtRootItemReadOnly) || topLevelItemCount() < 2))
        return false;
    return true;
}

void TCustomTreeViewEx::GetDeleteConfirmText(QTreeWidgetItem* node, QString& text)
{
    text = QStringLiteral("Delete item ?");
    if (node && text.contains(QStringLiteral("%s")))
        text.replace(QStringLiteral("%s"), node->text(0));
}

void TCustomTreeViewEx::SelectNeighbourOf(QTreeWidgetItem* node)
{
    QTreeWidgetItem* parent = node->parent();
    const int index = parent ? parent->indexOfChild(node) : indexOfTopLevelItem(node);
    const int count = parent ? parent->childCount() : topLevelItemCount();
    QTreeWidgetItem* next = nullptr;
    if (index + 1 < count)
        next = parent ? parent->child(index + 1) : topLevelItem(index + 1);
    else if (index > 0)
        next = parent ? parent->child(index - 1) : topLevelItem(index - 1);
    else
        next = parent;
    setCurrentItem(next);
}

void TCustomTreeViewEx::AdjustRootLines()
{
    if (HasOption(dtAutoShowRoot))
        setRootIsDecorated(topLevelItemCount() >= 2);
}

bool TCustomTreeViewEx::DeleteNode(QTreeWidgetItem* node)
{
    if (!node)
        return false;
    if (currentItem() == node)
        SelectNeighbourOf(node);
    delete node;
    AdjustRootLines();
    return true;
}

void TCustomTreeViewEx::InsertNode(bool asChild)
{
    QTreeWidgetItem* selected = currentItem();
    QTreeWidgetItem* node = CreateNode();
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    if (asChild && selected)
        selected->addChild(node);
    else if (selected && selected->parent())
        selected->parent()->addChild(node);
    else
        addTopLevelItem(node);
    setCurrentItem(node);
    AdjustRootLines();
    editItem(node);
}

void TCustomTreeViewEx::DeleteSelected()
{
    QTreeWidgetItem* root = currentItem();
    if (!CanDeleteNode(root))
        return;
    // Asking goes top-down, deleting bottom-up: a node is asked for before its children
    // and deleted after them.
    struct Frame {
        QTreeWidgetItem* node;
        QList<QTreeWidgetItem*> children;
        int next = 0;
        bool asked = false;
    };
    bool askAll = HasOption(dtConfirmDelete);
    std::vector<Frame> stack;
    stack.push_back({ root, {} });
    BeginInternalChange();
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (!frame.asked) {
            frame.asked = true;
            if (askAll) {
                QString text;
                GetDeleteConfirmText(frame.node, text);
                const TMsgDlgButtons buttons = frame.node->childCount() > 0 ? (mbOK | mbAll | mbCancel) : mbOKCancel;
                const int answer = MessageDlg(text, TMsgDlgType::mtConfirmation, buttons);
                if (answer == mrAll)
                    askAll = false;
                else if (answer != mrOk)
                    break;
            }
            for (int i = 0; i < frame.node->childCount(); ++i)
                frame.children.append(frame.node->child(i));
        }
        if (frame.next < frame.children.size()) {
            QTreeWidgetItem* child = frame.children[frame.next++];
            stack.push_back({ child, {} });
            continue;
        }
        QTreeWidgetItem* node = frame.node;
        stack.pop_back();
        if (!DeleteNode(node))
            break;
    }
    EndInternalChange();
}

bool TCustomTreeViewEx::IsMoveRefused(QTreeWidgetItem* node, QTreeWidgetItem* target, bool* descendant) const
{
    if (descendant)
        *descendant = false;
    if (!node)
        return true;
    if (!target)
        return !node->parent(); // already at the top level
    if (target == node || target == node->parent())
        return true;
    for (QTreeWidgetItem* up = target->parent(); up; up = up->parent())
        if (up == node) {
            if (descendant)
                *descendant = true;
            return true;
        }
    return false;
}

void TCustomTreeViewEx::MoveItem(QTreeWidgetItem* node, QTreeWidgetItem* target)
{
    const bool expanded = node->isExpanded();
    QTreeWidgetItem* parent = node->parent();
    QTreeWidgetItem* taken
        = parent ? parent->takeChild(parent->indexOfChild(node)) : takeTopLevelItem(indexOfTopLevelItem(node));
    if (target)
        target->addChild(taken);
    else
        addTopLevelItem(taken);
    if (isSortingEnabled()) {
        if (target)
            target->sortChildren(0, Qt::AscendingOrder);
        else
            sortItems(0, Qt::AscendingOrder);
    }
    taken->setExpanded(expanded);
    AdjustRootLines();
}

bool TCustomTreeViewEx::MoveNode(QTreeWidgetItem* node, QTreeWidgetItem* target, TNodeAttachMode mode)
{
    if (mode == TNodeAttachMode::naAdd)
        target = target ? target->parent() : nullptr;
    if (IsMoveRefused(node, target))
        return false;
    BeginInternalChange();
    MoveItem(node, target);
    setCurrentItem(node);
    EndInternalChange();
    return true;
}

bool TCustomTreeViewEx::MayEditLabel(QTreeWidgetItem* node)
{
    if (readOnly_ || !node || (!node->parent() && HasOption(dtRootItemReadOnly)))
        return false;
    return !OnEditing || OnEditing(node);
}

bool TCustomTreeViewEx::OpensLabelEdit(EditTrigger trigger) const
{
    // A click on the selected node opens the editor later, through a call that asks.
    if (state() == QAbstractItemView::EditingState || trigger == QAbstractItemView::NoEditTriggers
        || trigger == QAbstractItemView::SelectedClicked)
        return false;
    return trigger == QAbstractItemView::AllEditTriggers || (editTriggers() & trigger);
}

bool TCustomTreeViewEx::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (OpensLabelEdit(trigger) && !MayEditLabel(itemFromIndex(index)))
        return false;
    return QTreeWidget::edit(index, trigger, event);
}

void TCustomTreeViewEx::keyPressEvent(QKeyEvent* event)
{
    UserActivity();
    if (OnKeyDown && OnKeyDown(event))
        return;
    const bool editing = state() == QAbstractItemView::EditingState;
    if (event->key() == Qt::Key_Insert) {
        if (HasOption(dtAllowInsert) && !readOnly_ && !editing && OnInsertKey)
            OnInsertKey(HasOption(dtInsertAsChild) || (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)));
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        if (HasOption(dtAllowDelete) && !readOnly_ && !editing && OnDeleteKey)
            OnDeleteKey();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void TCustomTreeViewEx::focusInEvent(QFocusEvent* event)
{
    QTreeWidget::focusInEvent(event);
    UserActivity();
}

void TCustomTreeViewEx::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(event);
    pressedSelected_ = nullptr;
    if (event->button() == Qt::LeftButton) {
        QTreeWidgetItem* node = itemAt(event->position().toPoint());
        if (node && node == currentItem())
            pressedSelected_ = node;
        pressPos_ = event->position().toPoint();
    }
    QTreeWidget::mousePressEvent(event);
}

void TCustomTreeViewEx::mouseMoveEvent(QMouseEvent* event)
{
    if (OnMouseMove)
        OnMouseMove(event);
    const QPoint pos = event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) && pressedSelected_
        && (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
        QTreeWidgetItem* node = pressedSelected_;
        pressedSelected_ = nullptr;
        if (HasOption(dtAutoDragMove) && CanMoveNode(node)) {
            draggedNode_ = node;
            StartNodeDrag();
            draggedNode_ = nullptr;
            return;
        }
    }
    if (HasOption(dtMouseMoveSelect) && event->buttons() == Qt::NoButton)
        if (QTreeWidgetItem* node = itemAt(pos); node && node != currentItem())
            setCurrentItem(node);
    QTreeWidget::mouseMoveEvent(event);
}

void TCustomTreeViewEx::mouseReleaseEvent(QMouseEvent* event)
{
    pressedSelected_ = nullptr;
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !HasOption(dtMouseMoveSelect))
        return;
    QTreeWidgetItem* node = itemAt(event->position().toPoint());
    if (!node)
        return;
    // A node with children waits for a possible second click (which expands it).
    if (node->childCount() == 0)
        FireMouseSelect();
    else
        mouseSelectTimer_->start(QApplication::doubleClickInterval());
}

void TCustomTreeViewEx::mouseDoubleClickEvent(QMouseEvent* event)
{
    mouseSelectTimer_->stop();
    QTreeWidget::mouseDoubleClickEvent(event);
    if (!HasOption(dtMouseMoveSelect) && event->button() == Qt::LeftButton && itemAt(event->position().toPoint()))
        FireMouseSelect();
}

void TCustomTreeViewEx::FireMouseSelect()
{
    if (OnMouseSelect)
        OnMouseSelect(this);
}

void TCustomTreeViewEx::StartNodeDrag()
{
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kNodeMimeType), QByteArray());
    QDrag drag(this);
    drag.setMimeData(mime);
    if (DragImageShow != TTVDragImageShow::tvdisNever) {
        const QRect rect = visualItemRect(draggedNode_);
        if (!rect.isEmpty())
            drag.setPixmap(viewport()->grab(rect));
    }
    drag.exec(Qt::MoveAction);
    StopDragTimers();
}

QTreeWidgetItem* TCustomTreeViewEx::DropTarget(const QPoint& pos, TNodeAttachMode& mode) const
{
    mode = TNodeAttachMode::naAddChild;
    QTreeWidgetItem* target = itemAt(pos);
    // The indentation left of a node counts as empty space.
    if (target && pos.x() < visualItemRect(target).left())
        target = nullptr;
    return target;
}

bool TCustomTreeViewEx::AcceptsNodeDrop(const QPoint& pos) const
{
    TNodeAttachMode mode;
    QTreeWidgetItem* target = DropTarget(pos, mode);
    if (!target)
        return draggedNode_->parent() && MayMoveToTopLevel();
    // A drop on a descendant is let through, so the refusal can say why.
    return target != draggedNode_ && target != draggedNode_->parent();
}

void TCustomTreeViewEx::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(kNodeMimeType)) && draggedNode_) {
        event->acceptProposedAction();
        return;
    }
    if (OnDragOver && OnDragOver(event->source(), itemAt(event->position().toPoint())))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TCustomTreeViewEx::dragMoveEvent(QDragMoveEvent* event)
{
    dragPos_ = event->position().toPoint();
    if (!autoScrollTimer_->isActive())
        autoScrollTimer_->start();
    bool accept;
    if (event->mimeData()->hasFormat(QString::fromLatin1(kNodeMimeType)) && draggedNode_) {
        TNodeAttachMode mode;
        accept = AcceptsNodeDrop(dragPos_) && (!OnDragOver || OnDragOver(this, DropTarget(dragPos_, mode)));
    } else
        accept = OnDragOver && OnDragOver(event->source(), itemAt(dragPos_));
    if (accept)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TCustomTreeViewEx::dragLeaveEvent(QDragLeaveEvent* event)
{
    autoScrollTimer_->stop();
    QTreeWidget::dragLeaveEvent(event);
}

void TCustomTreeViewEx::dropEvent(QDropEvent* event)
{
    StopDragTimers();
    const QPoint pos = event->position().toPoint();
    if (event->mimeData()->hasFormat(QString::fromLatin1(kNodeMimeType)) && draggedNode_) {
        TNodeAttachMode mode;
        QTreeWidgetItem* target = DropTarget(pos, mode);
        event->acceptProposedAction();
        MoveNode(draggedNode_, target, mode);
        return;
    }
    if (OnDragDrop) {
        event->acceptProposedAction();
        OnDragDrop(event->source(), itemAt(pos));
    }
}

bool TCustomTreeViewEx::ExpandOrCollapseAllOnKey(const QKeyEvent* event)
{
    if (event->key() == Qt::Key_Plus)
        FullExpand();
    else if (event->key() == Qt::Key_Minus)
        FullCollapse();
    else
        return false;
    return true;
}

void TCustomTreeViewEx::AutoScrollStep()
{
    const int height = viewport()->height();
    if (dragPos_.y() < kAutoScrollMargin) {
        if (QTreeWidgetItem* top = itemAt(QPoint(1, 1)))
            if (QTreeWidgetItem* above = itemAbove(top))
                scrollToItem(above, QAbstractItemView::PositionAtTop);
    } else if (dragPos_.y() > height - kAutoScrollMargin) {
        if (QTreeWidgetItem* bottom = itemAt(QPoint(1, height - 2)))
            if (QTreeWidgetItem* below = itemBelow(bottom))
                scrollToItem(below, QAbstractItemView::PositionAtBottom);
    }
}

} // namespace orvek
