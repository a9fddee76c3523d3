#include "database/ui/db_tree_view.h"

#include "core/string_table.h"
#include "database/ec_data_link.h"
#include "database/folder_table_cursor.h"
#include "platform/collation.h"
#include "platform/dialogs.h"

#include <QLineEdit>
#include <QSet>
#include <QStyledItemDelegate>
#include <QTimer>
#include <vector>

namespace orvek {

namespace {

// A rebuild asked for by another workstation's change waits this long.
constexpr int kRebuildDelayMs = 500;

// Texts of our own: refusals of the tree.
constexpr int kTextNoFreeId = 21601;
constexpr int kTextMoveIntoDescendant = 21602;
constexpr int kTextRowGone = 21603;

// Tells the tree which editor a label edit opened.
class LabelDelegate : public QStyledItemDelegate {
public:
    LabelDelegate(QObject* parent, std::function<void(QWidget*)> opened)
        : QStyledItemDelegate(parent)
        , opened_(std::move(opened))
    {
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        opened_(editor);
        return editor;
    }

private:
    std::function<void(QWidget*)> opened_;
};

// An empty text as an empty value, not as NULL (the fixed folders have empty parents).
QString NotNull(const QString& text)
{
    return text.isNull() ? QString::fromLatin1("") : text;
}

QString EditorText(QWidget* editor)
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    return line ? line->text() : QString();
}

} // namespace

bool TTreeIDNode::operator<(const QTreeWidgetItem& other) const
{
    const int order = CompareSlovak(text(0), other.text(0));
    if (order != 0)
        return order < 0;
    const auto* node = dynamic_cast<const TTreeIDNode*>(&other);
    return node && ID < node->ID;
}

QTreeWidgetItem* TTreeIDNode::clone() const
{
    auto* copy = new TTreeIDNode(*this);
    for (int i = 0; i < childCount(); ++i)
        copy->addChild(child(i)->clone());
    return copy;
}

// The link of the tree: forwards the cursor's events to it.
class TTreeViewLink : public TECDataLink {
public:
    explicit TTreeViewLink(TDBTreeView* tree)
        : tree_(tree)
    {
    }

protected:
    void DoBeforeInsert() override { tree_->LinkBeforeInsertOrEdit(); }
    void DoAfterInsert() override { tree_->LinkAfterInsert(); }
    void DoBeforeEdit() override { tree_->LinkBeforeInsertOrEdit(); }
    void DoAfterEdit() override { tree_->LinkAfterEdit(); }
    void DoBeforePost() override { tree_->LinkBeforePost(); }
    void DoAfterPost() override { tree_->LinkAfterPost(); }
    void DoAfterCancel() override { tree_->LinkAfterCancel(); }
    void DoBeforeDelete() override { tree_->LinkBeforeDelete(); }
    void DoAfterDelete() override { tree_->LinkAfterDelete(); }
    void ActiveChanged(bool active) override { tree_->LinkActiveChanged(active); }
    void DataSetScrolled() override { tree_->LinkScrolled(); }
    void DataSetChanged() override { tree_->LinkDataSetChanged(); }
    void RecordFieldChanged(const QString& field) override { tree_->LinkFieldChanged(field); }
    void TableChangedElsewhere() override { tree_->LinkTableChangedElsewhere(); }
    QString KeyTaken() override { return tree_->LinkKeyTaken(); }

private:
    TDBTreeView* tree_;
};

TDBTreeView::TDBTreeView(QWidget* parent)
    : TCustomTreeViewEx(parent)
    , link_(std::make_unique<TTreeViewLink>(this))
{
    rebuildTimer_ = new QTimer(this);
    rebuildTimer_->setSingleShot(true);
    rebuildTimer_->setInterval(kRebuildDelayMs);
    connect(rebuildTimer_, &QTimer::timeout, this, &TDBTreeView::RebuildTimerFired);
    setItemDelegate(new LabelDelegate(this, [this](QWidget* editor) { labelEditor_ = editor; }));
}

TDBTreeView::~TDBTreeView()
{
    link_.reset();
}

FolderTableCursor* TDBTreeView::DataSource() const
{
    return link_->DataSet();
}

void TDBTreeView::SetDataSource(FolderTableCursor* dataSet)
{
    link_->SetDataSet(dataSet);
}

bool TDBTreeView::LinkActive() const
{
    return link_ && link_->Active();
}

void TDBTreeView::SetTableIDField(const QString& field)
{
    idField_ = field;
    previous_.reset();
    RebuildTree();
}

void TDBTreeView::SetTableParentField(const QString& field)
{
    parentField_ = field;
    previous_.reset();
    RebuildTree();
}

void TDBTreeView::SetTableTextField(const QString& field)
{
    textField_ = field;
    previous_.reset();
    RebuildTree();
}

void TDBTreeView::SetRootID(const QString& id)
{
    rootId_ = id;
    if (LinkActive()) {
        previous_.reset();
        RebuildTree();
    }
}

QTreeWidgetItem* TDBTreeView::CreateNode() const
{
    return new TTreeIDNode;
}

QString TDBTreeView::GetNodeID(QTreeWidgetItem* node) const
{
    const auto* idNode = dynamic_cast<const TTreeIDNode*>(node);
    return idNode ? idNode->ID : QString();
}

TTreeIDNode* TDBTreeView::NodeByID(const QString& id) const
{
    return nodes_.value(id, nullptr);
}

QStringList TDBTreeView::SubtreeIDs(QTreeWidgetItem* node) const
{
    QStringList ids;
    if (!node)
        return ids;
    // Children before their parent, so the list can be deleted in order.
    std::vector<std::pair<QTreeWidgetItem*, int>> stack { { node, 0 } };
    while (!stack.empty()) {
        auto& [item, next] = stack.back();
        if (next < item->childCount()) {
            QTreeWidgetItem* child = item->child(next++);
            stack.push_back({ child, 0 });
            continue;
        }
        ids << GetNodeID(item);
        stack.pop_back();
    }
    return ids;
}

bool TDBTreeView::FindIDByText(const QString& text, QString& id, int flags) const
{
    return previous_ && previous_->FindIDByText(text, id, flags);
}

void TDBTreeView::SelectNodeByID(const QString& id)
{
    if (TTreeIDNode* node = NodeByID(id)) {
        setCurrentItem(node);
        scrollToItem(node);
    }
}

void TDBTreeView::UserActivity()
{
    if (LinkActive())
        link_->CheckForChanges();
}

// Building ------------------------------------------------------------------------

void TDBTreeView::ReadRecords(TTVRecordList& list) const
{
    FolderTableCursor* ds = DataSource();
    const int id = ds->FieldIndex(idField_);
    const int text = ds->FieldIndex(textField_);
    const int parent = parentField_.isEmpty() ? -1 : ds->FieldIndex(parentField_);
    if (id < 0 || text < 0)
        return;
    list.Reserve(ds->RecordCount());
    for (int row = 0; row < ds->RecordCount(); ++row)
        list.Add(ds->RowValue(row, id).toString(), parent >= 0 ? ds->RowValue(row, parent).toString() : QString(),
            ds->RowValue(row, text).toString());
}

void TDBTreeView::RebuildTree()
{
    StopDragTimers();
    FolderTableCursor* ds = DataSource();
    if (idField_.isEmpty() || textField_.isEmpty() || !ds || !LinkActive() || rebuilding_)
        return;
    if (InternalChanging() || ds->State() != TDataSetState::dsBrowse) {
        rebuildPending_ = true;
        return;
    }
    rebuildPending_ = false;
    rebuilding_ = true;
    QTreeWidgetItem* before = currentItem();
    const QString selectedBefore = GetNodeID(before);
    setUpdatesEnabled(false);
    if (reReadRequested_) {
        reReadRequested_ = false;
        ds->Refresh();
    }
    auto list = std::make_unique<TTVRecordList>();
    ReadRecords(*list);
    int code = list->Compare(previous_.get());
    if (code == tvcEqual && !rootId_.isEmpty() && GetNodeID(topLevelItem(0)) != rootId_)
        code = tvcCountDiffers;
    if (code == tvcTextsOnly) {
        for (int item : list->ChangedTextItems(*previous_)) {
            TTreeIDNode* node = NodeByID(list->Item(item).ID);
            if (!node)
                continue;
            node->setText(0, list->Item(item).Text);
            if (isSortingEnabled()) {
                if (node->parent())
                    node->parent()->sortChildren(0, Qt::AscendingOrder);
                else
                    sortItems(0, Qt::AscendingOrder);
            }
        }
    } else if (code != tvcEqual) {
        FullBuild(*list);
    }
    previous_ = std::move(list);
    setUpdatesEnabled(true);
    rebuilding_ = false;
    if (GetNodeID(currentItem()) != selectedBefore || (!before && currentItem()))
        if (OnChange)
            OnChange(currentItem());
}

void TDBTreeView::FullBuild(const TTVRecordList& list)
{
    FolderTableCursor* ds = DataSource();
    QString topId = rootId_;
    if (QTreeWidgetItem* top = itemAt(QPoint(1, 1)))
        topId = GetNodeID(top);
    const QString selectedId = GetNodeID(currentItem());
    // Expanded branches by ID; rows new since the last build open with dtAutoExpand.
    const bool hadPrevious = previous_ != nullptr;
    QSet<QString> expanded, known;
    for (auto it = nodes_.cbegin(); it != nodes_.cend(); ++it)
        if (it.value()->childCount() > 0 && it.value()->isExpanded())
            expanded.insert(it.key());
    if (previous_)
        for (int i = 0; i < previous_->Count(); ++i)
            known.insert(previous_->Item(i).ID);

    if (labelEditor_)
        QTreeWidget::closeEditor(labelEditor_, QAbstractItemDelegate::NoHint);
    labelEditor_ = nullptr;
    insertedNode_ = nullptr;
    nodes_.clear();
    clear();

    const bool sorting = isSortingEnabled();
    setSortingEnabled(false);
    const TTVLayout layout = LayOutRecords(list, rootId_, !parentField_.isEmpty());
    QVector<TTreeIDNode*> made(layout.Nodes.size());
    QList<QTreeWidgetItem*> tops;
    for (int i = 0; i < layout.Nodes.size(); ++i) {
        const TTvRecordInfo& info = list.Item(layout.Nodes[i].Item);
        auto* node = new TTreeIDNode;
        node->ID = info.ID;
        node->setText(0, info.Text);
        node->setFlags(node->flags() | Qt::ItemIsEditable);
        made[i] = node;
        nodes_.insert(info.ID, node);
        if (layout.Nodes[i].Parent < 0)
            tops.append(node);
        else
            made[layout.Nodes[i].Parent]->addChild(node);
    }
    insertTopLevelItems(0, tops);
    if (sorting) {
        setSortingEnabled(true);
        sortItems(0, Qt::AscendingOrder);
    }
    for (TTreeIDNode* node : std::as_const(made))
        if (node->childCount() > 0)
            node->setExpanded(hadPrevious
                    ? expanded.contains(node->ID) || (!known.contains(node->ID) && HasOption(dtAutoExpand))
                    : HasOption(dtAutoExpand));

    QTreeWidgetItem* top = NodeByID(topId);
    if (!top)
        top = topLevelItem(0);
    if (top)
        scrollToItem(top, QAbstractItemView::PositionAtTop);
    QTreeWidgetItem* select = nullptr;
    if (HasOption(dtSynchronizeDataSet)) {
        select = NodeByID(ds->FieldText(idField_));
        if (!select && top) {
            select = top;
            BeginInternalChange();
            ds->FindKey(GetNodeID(top));
            EndInternalChange();
        }
    } else {
        select = NodeByID(selectedId);
        if (!select)
            select = top;
    }
    setCurrentItem(select);
    AdjustRootLines();
    if (layout.RootNotFound && OnRootNotFound)
        OnRootNotFound(this);
    if (layout.ClosedLoop && OnClosedLoop)
        OnClosedLoop(this);
}

void TDBTreeView::ClearTree()
{
    rebuildTimer_->stop();
    if (labelEditor_)
        QTreeWidget::closeEditor(labelEditor_, QAbstractItemDelegate::NoHint);
    labelEditor_ = nullptr;
    insertedNode_ = nullptr;
    nodes_.clear();
    previous_.reset();
    rebuildPending_ = reReadRequested_ = false;
    // Emptying the tree is no choice of a folder: the change handler is not called.
    rebuilding_ = true;
    clear();
    rebuilding_ = false;
}

void TDBTreeView::RequestRebuild()
{
    rebuildPending_ = true;
    if (!HasOption(dtRebuildFocusedOnly) || hasFocus())
        RebuildTree();
}

void TDBTreeView::RebuildTimerFired()
{
    FolderTableCursor* ds = DataSource();
    if (!LinkActive() || !rebuildPending_)
        return;
    // Never in the middle of an edit, an internal change, a rebuild or a delete.
    if (ds->Editing() || InternalChanging() || rebuilding_ || deletePending_ || labelEditor_) {
        rebuildTimer_->start();
        return;
    }
    if (HasOption(dtRebuildFocusedOnly) && !hasFocus())
        return; // the focus brings it
    RebuildTree();
    SelectCurrentRow();
}

void TDBTreeView::DropFromPrevious(const QStringList& ids)
{
    if (!previous_)
        return;
    for (const QString& id : ids) {
        const int index = previous_->IndexOfID(id);
        if (index >= 0)
            previous_->Remove(index);
    }
}

// Selection -------------------------------------------------------------------------

void TDBTreeView::SelectNode(QTreeWidgetItem* node)
{
    BeginInternalChange();
    setCurrentItem(node);
    EndInternalChange();
}

void TDBTreeView::SelectCurrentRow()
{
    FolderTableCursor* ds = DataSource();
    if (!LinkActive() || !HasOption(dtSynchronizeDataSet))
        return;
    QTreeWidgetItem* node = ds->State() == TDataSetState::dsInsert ? insertedNode_ : NodeByID(ds->FieldText(idField_));
    if (!node)
        return;
    if (node != currentItem())
        SelectNode(node);
    if (HasOption(dtAutoExpand))
        node->setExpanded(true);
    scrollToItem(node);
}

void TDBTreeView::SelectionChanged(QTreeWidgetItem* current)
{
    if (rebuilding_)
        return;
    FolderTableCursor* ds = DataSource();
    if (!InternalChanging() && HasOption(dtSynchronizeDataSet) && current && LinkActive() && current != insertedNode_) {
        const QString id = GetNodeID(current);
        if (ds->Editing() || ds->FieldText(idField_) != id) {
            BeginInternalChange();
            ds->FindKey(id);
            EndInternalChange();
        }
    }
    TCustomTreeViewEx::SelectionChanged(current);
}

void TDBTreeView::RemoveNode(QTreeWidgetItem* node)
{
    for (const QString& id : SubtreeIDs(node))
        nodes_.remove(id);
    if (node == insertedNode_)
        insertedNode_ = nullptr;
    BeginInternalChange();
    if (currentItem() == node)
        SelectNeighbourOf(node);
    delete node;
    EndInternalChange();
    AdjustRootLines();
}

// What the link reports ----------------------------------------------------------------

void TDBTreeView::LinkActiveChanged(bool active)
{
    if (active) {
        previous_.reset();
        RebuildTree();
    } else {
        ClearTree();
    }
}

void TDBTreeView::LinkScrolled()
{
    if (!HasOption(dtSynchronizeDataSet) || InternalChanging() || rebuilding_)
        return;
    if (rebuildPending_)
        RebuildTree();
    SelectCurrentRow();
}

void TDBTreeView::LinkDataSetChanged()
{
    // The tree keeps itself in step with its own changes.
    if (InternalChanging() || rebuilding_)
        return;
    if (DataSource()->State() == TDataSetState::dsBrowse) {
        insertedNode_ = nullptr;
        if (labelEditor_)
            QTreeWidget::closeEditor(labelEditor_, QAbstractItemDelegate::NoHint);
        labelEditor_ = nullptr;
    }
    RequestRebuild();
    SelectCurrentRow();
}

void TDBTreeView::LinkFieldChanged(const QString& field)
{
    if (InternalChanging())
        return;
    FolderTableCursor* ds = DataSource();
    if (field.compare(textField_, Qt::CaseInsensitive) == 0) {
        QTreeWidgetItem* node
            = ds->State() == TDataSetState::dsInsert ? insertedNode_ : NodeByID(ds->FieldText(idField_));
        if (node)
            node->setText(0, ds->FieldText(textField_));
    } else if (field.compare(idField_, Qt::CaseInsensitive) == 0
        || field.compare(parentField_, Qt::CaseInsensitive) == 0) {
        rebuildPending_ = true; // after the post
    }
}

void TDBTreeView::LinkBeforeInsertOrEdit()
{
    UserActivity();
    if (!InternalChanging() && rebuildPending_)
        RebuildTree();
}

void TDBTreeView::LinkAfterInsert()
{
    if (InternalChanging())
        return;
    // A row appended past the tree becomes the tree's own insert.
    DataSource()->Cancel();
    InsertNode(HasOption(dtInsertAsChild));
}

void TDBTreeView::LinkAfterEdit()
{
    if (InternalChanging())
        return;
    if (HasOption(dtFocusOnEdit))
        setFocus();
    if (hasFocus() && currentItem() && state() != QAbstractItemView::EditingState)
        editItem(currentItem());
}

void TDBTreeView::LinkBeforePost()
{
    FolderTableCursor* ds = DataSource();
    if (labelEditor_) {
        const QString text = EditorText(labelEditor_);
        if (text != ds->FieldText(textField_))
            ds->SetFieldValue(textField_, text);
    }
}

void TDBTreeView::LinkAfterPost()
{
    if (labelEditor_)
        QTreeWidget::closeEditor(labelEditor_, QAbstractItemDelegate::NoHint);
    labelEditor_ = nullptr;
    insertedNode_ = nullptr;
    if (rebuildPending_ && !InternalChanging())
        RequestRebuild();
}

void TDBTreeView::LinkAfterCancel()
{
    if (labelEditor_)
        QTreeWidget::closeEditor(labelEditor_, QAbstractItemDelegate::NoHint);
    labelEditor_ = nullptr;
    if (insertedNode_) {
        RemoveNode(insertedNode_);
        return;
    }
    FolderTableCursor* ds = DataSource();
    if (TTreeIDNode* node = NodeByID(ds->FieldText(idField_)))
        node->setText(0, ds->FieldText(textField_));
}

void TDBTreeView::LinkBeforeDelete()
{
    UserActivity();
    if (InternalChanging())
        return;
    FolderTableCursor* ds = DataSource();
    TTreeIDNode* node = NodeByID(ds->FieldText(idField_));
    deletingId_ = ds->FieldText(idField_);
    if (!node)
        return;
    if (!node->parent() && HasOption(dtRootItemReadOnly)) {
        ds->Abort(QStringLiteral("RootItem is ReadOnly"));
        return;
    }
    if (node->childCount() > 0 || HasOption(dtConfirmDelete)) {
        // Through the tree's own delete, children first; the delete asked for stops.
        deletePending_ = true;
        SelectNode(node);
        DeleteSelected();
        deletePending_ = false;
        ds->Abort();
    }
}

void TDBTreeView::LinkAfterDelete()
{
    if (InternalChanging())
        return;
    if (TTreeIDNode* node = NodeByID(deletingId_)) {
        DropFromPrevious(SubtreeIDs(node));
        RemoveNode(node);
    }
    deletingId_.clear();
}

void TDBTreeView::LinkTableChangedElsewhere()
{
    reReadRequested_ = true;
    rebuildPending_ = true;
    rebuildTimer_->start();
}

QString TDBTreeView::LinkKeyTaken()
{
    QString id;
    GetNextID(id);
    if (insertedNode_ && !id.isEmpty()) {
        nodes_.remove(insertedNode_->ID);
        insertedNode_->ID = id;
        nodes_.insert(id, insertedNode_);
    }
    return id;
}

// Node operations -----------------------------------------------------------------------

void TDBTreeView::GetNextID(QString& id)
{
    FolderTableCursor* ds = DataSource();
    if (OnGetNextID) {
        id = OnGetNextID(this, ds);
        return;
    }
    id = QStringLiteral("0");
    if (!ds || !ds->Active())
        return;
    const int field = ds->FieldIndex(idField_);
    if (field < 0)
        return;
    QStringList ids;
    ids.reserve(ds->RecordCount());
    for (int row = 0; row < ds->RecordCount(); ++row)
        ids << ds->RowValue(row, field).toString();
    id = NextFreeID(ids, ds->FieldSize(idField_));
}

bool TDBTreeView::CanDeleteNode(QTreeWidgetItem* node)
{
    return TCustomTreeViewEx::CanDeleteNode(node) && (!LinkActive() || DataSource()->CanModify());
}

bool TDBTreeView::CanMoveNode(QTreeWidgetItem* node)
{
    if (!TCustomTreeViewEx::CanMoveNode(node) || FixedIDs.contains(GetNodeID(node)))
        return false;
    if (!LinkActive())
        return true;
    FolderTableCursor* ds = DataSource();
    return ds->CanModify() && !parentField_.isEmpty() && ds->FieldIndex(parentField_) >= 0;
}

void TDBTreeView::GetDeleteConfirmText(QTreeWidgetItem* node, QString& text)
{
    text = QStringLiteral("Do you want to Delete ?");
    if (node && text.contains(QStringLiteral("%s")))
        text.replace(QStringLiteral("%s"), node->text(0));
}

bool TDBTreeView::DeleteNode(QTreeWidgetItem* node)
{
    if (!LinkActive())
        return TCustomTreeViewEx::DeleteNode(node);
    FolderTableCursor* ds = DataSource();
    const QString id = GetNodeID(node);
    BeginInternalChange();
    if (node == insertedNode_ && ds->State() == TDataSetState::dsInsert) {
        insertedNode_ = nullptr;
        ds->Cancel();
    } else if (ds->FindKey(id)) {
        QString error;
        if (!ds->Delete(&error)) {
            EndInternalChange();
            MessageDlg(error, TMsgDlgType::mtError, mbOK);
            return false;
        }
    }
    DropFromPrevious({ id });
    nodes_.remove(id);
    const bool deleted = TCustomTreeViewEx::DeleteNode(node);
    EndInternalChange();
    return deleted;
}

void TDBTreeView::DeleteSelected()
{
    UserActivity();
    TCustomTreeViewEx::DeleteSelected();
    // The node left selected becomes the table's current row.
    if (LinkActive() && HasOption(dtSynchronizeDataSet) && !InternalChanging() && currentItem()) {
        BeginInternalChange();
        DataSource()->FindKey(GetNodeID(currentItem()));
        EndInternalChange();
    }
}

void TDBTreeView::InsertNode(bool asChild)
{
    FolderTableCursor* ds = DataSource();
    if (!LinkActive()) {
        TCustomTreeViewEx::InsertNode(asChild);
        return;
    }
    if (!ds->CanModify())
        return;
    UserActivity();
    if (rebuildPending_)
        RebuildTree();
    QString id;
    GetNextID(id);
    if (id.isEmpty()) {
        MessageDlg(GetString(kTextNoFreeId), TMsgDlgType::mtWarning, mbOK);
        return;
    }
    QTreeWidgetItem* selected = currentItem();
    QTreeWidgetItem* parentNode = asChild ? selected : (selected ? selected->parent() : nullptr);
    QString parentId = GetNodeID(parentNode);
    if (!parentNode && !rootId_.isEmpty() && asChild)
        parentId = rootId_;
    BeginInternalChange();
    QString error;
    if (!ds->Append(&error)) {
        EndInternalChange();
        MessageDlg(error, TMsgDlgType::mtError, mbOK);
        return;
    }
    ds->SetFieldValue(idField_, id);
    if (!parentField_.isEmpty())
        ds->SetFieldValue(parentField_, NotNull(parentId));
    ds->SetFieldValue(textField_, NotNull(DefaultNewName));
    auto* node = new TTreeIDNode;
    node->ID = id;
    node->setText(0, DefaultNewName);
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    if (parentNode) {
        parentNode->addChild(node);
        parentNode->setExpanded(true);
    } else {
        addTopLevelItem(node);
    }
    nodes_.insert(id, node);
    insertedNode_ = node;
    setCurrentItem(node);
    scrollToItem(node);
    AdjustRootLines();
    EndInternalChange();
    if (hasFocus())
        editItem(node);
}

bool TDBTreeView::MoveNode(QTreeWidgetItem* node, QTreeWidgetItem* target, TNodeAttachMode mode)
{
    if (node && FixedIDs.contains(GetNodeID(node)))
        return false;
    if (!LinkActive())
        return TCustomTreeViewEx::MoveNode(node, target, mode);
    if (mode == TNodeAttachMode::naAdd)
        target = target ? target->parent() : nullptr;
    QTreeWidgetItem* viewTarget = target ? target : NodeByID(rootId_);
    bool descendant = false;
    if (!node || IsMoveRefused(node, viewTarget, &descendant)) {
        if (descendant)
            MessageDlg(GetString(kTextMoveIntoDescendant), TMsgDlgType::mtWarning, mbOK);
        return false;
    }
    FolderTableCursor* ds = DataSource();
    const QString id = GetNodeID(node);
    const QString parentId = NotNull(target ? GetNodeID(target) : rootId_);
    BeginInternalChange();
    QString error;
    bool ok = ds->FindKey(id);
    if (!ok)
        error = GetString(kTextRowGone);
    ok = ok && ds->Edit(&error) && ds->SetFieldValue(parentField_, parentId) && ds->Post(&error);
    if (!ok) {
        if (ds->Editing())
            ds->Cancel();
        EndInternalChange();
        MessageDlg(error, TMsgDlgType::mtError, mbOK);
        LinkTableChangedElsewhere(); // read again what the table holds now
        return false;
    }
    if (previous_) {
        const int index = previous_->IndexOfID(id);
        if (index >= 0)
            previous_->SetParentID(index, parentId);
    }
    MoveItem(node, viewTarget);
    setCurrentItem(node);
    scrollToItem(node);
    EndInternalChange();
    return true;
}

// Label editing ----------------------------------------------------------------------------

bool TDBTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!OpensLabelEdit(trigger) || !LinkActive())
        return TCustomTreeViewEx::edit(index, trigger, event);
    QTreeWidgetItem* node = itemFromIndex(index);
    if (!MayEditLabel(node))
        return false;
    FolderTableCursor* ds = DataSource();
    if (node != insertedNode_) {
        // The label edit edits the node's row.
        BeginInternalChange();
        const bool ok = ds->FindKey(GetNodeID(node)) && ds->Edit();
        EndInternalChange();
        if (!ok)
            return false;
    }
    return QTreeWidget::edit(index, trigger, event);
}

void TDBTreeView::commitData(QWidget* editor)
{
    editedText_ = EditorText(editor);
    if (!LinkActive())
        TCustomTreeViewEx::commitData(editor);
}

void TDBTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool ours = editor == labelEditor_;
    labelEditor_ = nullptr;
    TCustomTreeViewEx::closeEditor(editor, hint);
    if (!ours)
        return;
    const QString text = editedText_;
    editedText_.clear();
    FinishLabelEdit(text, hint);
}

void TDBTreeView::FinishLabelEdit(const QString& text, QAbstractItemDelegate::EndEditHint hint)
{
    FolderTableCursor* ds = DataSource();
    if (!LinkActive() || !ds->Editing())
        return;
    if (hint == QAbstractItemDelegate::RevertModelCache) {
        ds->Cancel(); // a new node goes with its row
        return;
    }
    const bool submitted = hint == QAbstractItemDelegate::SubmitModelCache || hasFocus();
    if (!submitted && HasOption(dtCancelOnExit) && ds->State() == TDataSetState::dsInsert && text == DefaultNewName) {
        ds->Cancel();
        return;
    }
    if (text != ds->FieldText(textField_))
        ds->SetFieldValue(textField_, NotNull(text));
    if (!submitted) {
        reopenLabelEdit_ = true; // the text is written but not posted
        return;
    }
    QString error;
    if (!ds->Post(&error)) {
        MessageDlg(error, TMsgDlgType::mtError, mbOK);
        ds->Cancel();
    }
}

void TDBTreeView::focusInEvent(QFocusEvent* event)
{
    TCustomTreeViewEx::focusInEvent(event);
    FolderTableCursor* ds = DataSource();
    if (rebuildPending_ && LinkActive() && !ds->Editing())
        RebuildTree();
    if (reopenLabelEdit_) {
        reopenLabelEdit_ = false;
        if (LinkActive() && ds->Editing() && currentItem())
            editItem(currentItem());
    }
}

} // namespace orvek
