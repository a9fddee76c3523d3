#pragma once
// The tree view under the folder trees: a node dragged onto another becomes its child
// (scrolling when the mouse nears an edge), the Insert and Delete keys hand over to the
// window's folder actions, a node is deleted with its sub-tree deepest first (asking
// OK, All or Cancel), and a mouse-select event reports a deliberate click.

#include <QPoint>
#include <QPointer>
#include <QTreeWidget>
#include <functional>

class QTimer;

namespace orvek {

enum TDBTreeOption : unsigned {
    dtAllowDelete = 1u << 0, // the Delete key deletes
    dtAllowInsert = 1u << 1, // the Insert key inserts
    dtAutoDragMove = 1u << 2, // a node can be dragged to a new parent
    dtAutoExpand = 1u << 3, // new branches open expanded; selecting a node with children expands it
    dtAutoShowRoot = 1u << 4, // root lines only when there are two or more top-level nodes
    dtCancelOnExit = 1u << 5, // leaving the label edit of an unchanged new row cancels the insert
    dtConfirmDelete = 1u << 6, // ask before deleting
    dtFocusOnEdit = 1u << 7, // the tree takes the focus when its table enters edit or insert
    dtInsertAsChild = 1u << 8, // the Insert key makes a child, not a sibling
    dtMouseMoveSelect = 1u << 9, // the selection follows the mouse; mouse-select on a single click
    dtRebuildFocusedOnly = 1u << 10, // a pending rebuild waits until the tree has the focus
    dtRootItemReadOnly = 1u << 11, // a top-level node cannot be deleted, edited or moved
    dtSynchronizeDataSet = 1u << 12, // the tree follows the table's current row
};
using TDBTreeOptions = unsigned;
inline constexpr TDBTreeOptions kDefaultDBTreeOptions = dtAllowDelete | dtAllowInsert | dtAutoDragMove | dtAutoExpand
    | dtAutoShowRoot | dtCancelOnExit | dtConfirmDelete | dtRootItemReadOnly | dtSynchronizeDataSet;
// The options the three folder windows give their trees (the picker adds dtInsertAsChild).
inline constexpr TDBTreeOptions kFolderWindowTreeOptions = dtAllowDelete | dtAllowInsert | dtAutoDragMove | dtAutoExpand
    | dtAutoShowRoot | dtCancelOnExit | dtSynchronizeDataSet;

enum class TTVDragImageShow { tvdisDefault, tvdisAlways, tvdisNever };
// Where a moved node goes: as the last child of the target, or beside the target (at the
// top level when there is none).
enum class TNodeAttachMode { naAddChild, naAdd };

class TCustomTreeViewEx : public QTreeWidget {
    Q_OBJECT
public:
    explicit TCustomTreeViewEx(QWidget* parent = nullptr);
    ~TCustomTreeViewEx() override;

    TDBTreeOptions Options() const { return options_; }
    virtual void SetOptions(TDBTreeOptions options);
    bool HasOption(TDBTreeOption option) const { return (options_ & option) != 0; }
    void SetOption(TDBTreeOption option, bool on);

    TTVDragImageShow DragImageShow = TTVDragImageShow::tvdisDefault;
    // A read-only tree edits no labels and deletes, inserts and moves nothing.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // Root lines (the usual tree-view property); dtAutoShowRoot sets it after each build.
    void SetShowRoot(bool show) { setRootIsDecorated(show); }

    QTreeWidgetItem* Selected() const { return currentItem(); }
    void FullExpand() { expandAll(); }
    void FullCollapse() { collapseAll(); }

    // The node operations, in the order the family introduces them.
    virtual bool CanDeleteNode(QTreeWidgetItem* node);
    virtual void StopDragTimers();
    virtual bool CanMoveNode(QTreeWidgetItem* node);
    virtual void GetDeleteConfirmText(QTreeWidgetItem* node, QString& text);
    // Deletes Node alone (its children are gone already) and selects its next sibling,
    // else its previous sibling, else its parent. False leaves the node.
    virtual bool DeleteNode(QTreeWidgetItem* node);
    virtual void InsertNode(bool asChild);
    // Deletes the selected node with its sub-tree, deepest first, when CanDeleteNode
    // allows it; with dtConfirmDelete each deletion is asked for (OK, All and Cancel for a
    // node with children; All stops the asking, Cancel stops the deleting).
    virtual void DeleteSelected();
    virtual bool MoveNode(QTreeWidgetItem* node, QTreeWidgetItem* target, TNodeAttachMode mode);

    // Events of the tree, for the windows.
    std::function<void(QTreeWidgetItem* node)> OnChange; // the selected node changed
    std::function<bool(QTreeWidgetItem* node)> OnEditing; // may the label edit start?
    std::function<bool(QKeyEvent* event)> OnKeyDown; // True: the window handled the key
    std::function<void(QMouseEvent*event)> OnMouseDown, OnMouseMove;
    std::function<void(TCustomTreeViewEx* sender)> OnMouseSelect;
    // The Insert and Delete keys (when the options allow them) call the window's folder
    // actions through these; the tree itself writes nothing on a key.
    std::function<void(bool asChild)> OnInsertKey;
    std::function<void()> OnDeleteKey;
    // Drags over Target (null: empty space): from another control (Source), or of a node
    // inside the tree (Source is the tree; the move must also make sense to the tree).
    // Drops of another control's drag go to OnDragDrop; a node moves by MoveNode.
    std::function<bool(QObject* source, QTreeWidgetItem* target)> OnDragOver;
    std::function<void(QObject* source, QTreeWidgetItem* target)> OnDragDrop;

    // "+" expands the whole tree and "-" collapses it (the windows' OnKeyDown call it);
    // True when Event was one of those keys.
    bool ExpandOrCollapseAllOnKey(const QKeyEvent* event);

protected:
    // The node class of the tree.
    virtual QTreeWidgetItem* CreateNode() const;
    // Whether a dragged node may go to the top level (a drop on empty space).
    virtual bool MayMoveToTopLevel() const { return true; }
    // Whether the label edit of Node may start: not read-only, not a protected top-level
    // node, and OnEditing allows it.
    bool MayEditLabel(QTreeWidgetItem* node);
    // Whether a call of edit with Trigger opens a label editor now.
    bool OpensLabelEdit(EditTrigger trigger) const;
    // Called on focus, a key press and a change of selection.
    virtual void UserActivity() { }
    // Runs once for the changed selection; the data-aware tree adds its table move.
    virtual void SelectionChanged(QTreeWidgetItem* current);
    // Node is Target, its parent or one of Target's ancestors (a move would be a no-op or a
    // loop); Descendant tells the last.
    bool IsMoveRefused(QTreeWidgetItem* node, QTreeWidgetItem* target, bool* descendant = nullptr) const;
    // Moves the node in the view only, keeping its sub-tree and expanded state.
    void MoveItem(QTreeWidgetItem* node, QTreeWidgetItem* target);
    // Selects the neighbour a deleted Node leaves behind.
    void SelectNeighbourOf(QTreeWidgetItem* node);
    void AdjustRootLines();

    // Internal changes of the tree (insert, move, delete, locate): while the counter is
    // up, the events they cause start no nested rebuilds or edits.
    void BeginInternalChange() { ++lockCount_; }
    void EndInternalChange() { --lockCount_; }
    bool InternalChanging() const { return lockCount_ > 0; }

    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void StartNodeDrag();
    void AutoScrollStep();
    void FireMouseSelect();
    // The target under Pos and the attach mode of a drop there.
    QTreeWidgetItem* DropTarget(const QPoint& pos, TNodeAttachMode& mode) const;
    bool AcceptsNodeDrop(const QPoint& pos) const;

    TDBTreeOptions options_ = kDefaultDBTreeOptions;
    bool readOnly_ = false;
    int lockCount_ = 0;
    QPointer<QTimer> autoScrollTimer_, mouseSelectTimer_;
    QPoint dragPos_;
    QPoint pressPos_;
    QTreeWidgetItem* pressedSelected_ = nullptr; // a press on the already selected node
    QTreeWidgetItem* draggedNode_ = nullptr;
};

} // namespace orvek
