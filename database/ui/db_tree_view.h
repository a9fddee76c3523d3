#pragma once
// The data-aware folder tree: shows a self-referencing folder table (ID, parent ID,
// text) as a tree and keeps the tree and the table's current row in step both ways. A
// new node appends a row with the next free ID, a label edit writes the text field, a
// deleted node deletes its row and those of its children, a dragged node gets a new
// parent ID. Changes other workstations make to the table rebuild the tree, keeping the
// expanded branches, the top item and the selection; a change of texts only touches
// the nodes whose text changed.
//
// The main window, the template window and the folder picker build on it. The windows
// refuse label editing and rename by their actions; the Insert and Delete keys call
// their folder actions (OnInsertKey, OnDeleteKey).

#include "database/tv_record_list.h"
#include "database/ui/tree_view_ex.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

namespace orvek {

class FolderTableCursor;
class TTreeViewLink;

// A node of the data-aware tree: the ID of its row. Siblings sort by text in Slovak and
// Czech order.
class TTreeIDNode : public QTreeWidgetItem {
public:
    QString ID;
    bool operator<(const QTreeWidgetItem& other) const override;
    // A copy keeps the ID.
    QTreeWidgetItem* clone() const override;
};

class TDBTreeView : public TCustomTreeViewEx {
    Q_OBJECT
public:
    explicit TDBTreeView(QWidget* parent = nullptr);
    ~TDBTreeView() override;

    // The table shown; its owner keeps it. The tree is built when the table is open and
    // cleared when it closes.
    FolderTableCursor* DataSource() const;
    void SetDataSource(FolderTableCursor* dataSet);
    // Changing a field name rebuilds the tree; an empty parent field gives a flat list.
    QString TableIDField() const { return idField_; }
    void SetTableIDField(const QString& field);
    QString TableParentField() const { return parentField_; }
    void SetTableParentField(const QString& field);
    QString TableTextField() const { return textField_; }
    void SetTableTextField(const QString& field);
    // The ID of the row shown as the single root; empty: every row without a parent in
    // the table is a top-level node. Changing it rebuilds an active tree.
    QString RootID() const { return rootId_; }
    void SetRootID(const QString& id);
    // The text of a node made by InsertNode (and of its row's text field).
    QString DefaultNewName;
    // Rows whose nodes never move (the fixed folders of the folder windows).
    QStringList FixedIDs;

    // The ID of a new row; without it the largest numeric ID + 1 within the field's size.
    std::function<QString(TDBTreeView* sender, FolderTableCursor* dataSet)> OnGetNextID;
    // Some row is its own ancestor; such rows are shown at the top level.
    std::function<void(TDBTreeView* sender)> OnClosedLoop;
    // RootID names no row.
    std::function<void(TDBTreeView* sender)> OnRootNotFound;

    // Reads the table again when another workstation changed it, and brings the tree up
    // to date (only the changed texts, or a full build).
    virtual void RebuildTree();
    // The ID for a new row (empty when none is free).
    virtual void GetNextID(QString& id);
    void SelectNodeByID(const QString& id);
    // Flag bit 0 ignores case, bit 1 accepts the first text that begins with Text.
    bool FindIDByText(const QString& text, QString& id, int flags) const;
    // The node's ID; empty for a node that is not a TTreeIDNode.
    QString GetNodeID(QTreeWidgetItem* node) const;
    TTreeIDNode* NodeByID(const QString& id) const;
    // The IDs of Node and every node below it, deepest first.
    QStringList SubtreeIDs(QTreeWidgetItem* node) const;

    bool CanDeleteNode(QTreeWidgetItem* node) override;
    bool CanMoveNode(QTreeWidgetItem* node) override;
    void GetDeleteConfirmText(QTreeWidgetItem* node, QString& text) override;
    bool DeleteNode(QTreeWidgetItem* node) override;
    // Appends a row with the next ID as a child of the selected node or as its sibling,
    // with DefaultNewName as its text, selects the new node and, when the tree has the
    // focus, starts its label edit. The row is posted by the label edit or the caller.
    void InsertNode(bool asChild) override;
    void DeleteSelected() override;
    // Writes the new parent ID and posts; a move onto the node's own descendant is
    // refused with a message, a failing post is cancelled and shown.
    bool MoveNode(QTreeWidgetItem* node, QTreeWidgetItem* target, TNodeAttachMode mode) override;

protected:
    QTreeWidgetItem* CreateNode() const override;
    bool MayMoveToTopLevel() const override { return rootId_.isEmpty(); }
    void UserActivity() override;
    void SelectionChanged(QTreeWidgetItem* current) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    friend class TTreeViewLink;
    // What the link reports.
    void LinkActiveChanged(bool active);
    void LinkScrolled();
    void LinkDataSetChanged();
    void LinkFieldChanged(const QString& field);
    void LinkBeforeInsertOrEdit();
    void LinkAfterInsert();
    void LinkAfterEdit();
    void LinkBeforePost();
    void LinkAfterPost();
    void LinkAfterCancel();
    void LinkBeforeDelete();
    void LinkAfterDelete();
    void LinkTableChangedElsewhere();
    QString LinkKeyTaken();

    bool LinkActive() const;
    void RebuildTimerFired();
    void RequestRebuild();
    void ClearTree();
    void ReadRecords(TTVRecordList& list) const;
    void FullBuild(const TTVRecordList& list);
    void SelectCurrentRow();
    void SelectNode(QTreeWidgetItem* node);
    void RemoveNode(QTreeWidgetItem* node);
    void FinishLabelEdit(const QString& text, QAbstractItemDelegate::EndEditHint hint);
    void DropFromPrevious(const QStringList& ids);

    std::unique_ptr<TTreeViewLink> link_;
    QString idField_ = QStringLiteral("ID");
    QString parentField_ = QStringLiteral("OwnerID");
    QString textField_ = QStringLiteral("Description");
    QString rootId_;
    std::unique_ptr<TTVRecordList> previous_; // the rows of the last build
    QHash<QString, TTreeIDNode*> nodes_; // by ID
    QTimer* rebuildTimer_ = nullptr;
    bool rebuilding_ = false;
    bool rebuildPending_ = false;
    bool reReadRequested_ = false;
    bool deletePending_ = false;
    TTreeIDNode* insertedNode_ = nullptr; // the node of the row being inserted
    QString deletingId_; // the row a delete from outside the tree is removing
    QPointer<QWidget> labelEditor_;
    QString editedText_;
    bool reopenLabelEdit_ = false;
};

} // namespace orvek
