#include "database/ui/record_view_panel.h"

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "core/ui/grid_routines.h"
#include "database/data_module.h"
#include "database/folder_groups.h"
#include "database/folder_table_cursor.h"
#include "database/record_writes.h"
#include "database/template_query.h"
#include "database/ui/db_navigator.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/input_search_string.h"
#include "database/ui/vx_db_grid.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"
#include "platform/ui/access_keys.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSplitter>
#include <QSqlDatabase>
#include <QVBoxLayout>

#include <algorithm>

namespace orvek {

// The rows of the record view as the grid shows them: the shown columns by field name.
class RecordListModel : public QAbstractTableModel {
public:
    RecordListModel(TRecordView& view, QObject* parent)
        : QAbstractTableModel(parent)
        , view_(view)
    {
    }
    void Reset()
    {
        beginResetModel();
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : view_.RowCount();
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(view_.ColumnFields.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        // The tooltip shows a text the column cuts off whole.
        if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid())
            return QVariant();
        return StoredValueText(
            view_.Field(index.row(), RecordAnswerFieldNumber(view_.ColumnFields.value(index.column()))));
    }
    // Rows can be dragged onto folders once the grid allows dragging.
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return QAbstractTableModel::flags(index) | (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return QVariant();
        if (orientation == Qt::Vertical)
            return section + 1;
        const QString field = view_.ColumnFields.value(section);
        for (const TDefaultFieldRec& descriptor : view_.RecordGridDescriptors)
            if (descriptor.FieldName == field && !descriptor.Title.isEmpty())
                return descriptor.Title;
        return field;
    }

private:
    TRecordView& view_;
};

RecordViewPanel::RecordViewPanel(DatabaseSession* session, QWidget* parent)
    : QWidget(parent)
    , view_(std::make_unique<TRecordView>(session))
    , folders_(std::make_unique<FolderTableCursor>(session))
    , session_(session)
{
    setObjectName(QStringLiteral("RecordViewPanel"));
    folders_->DatabaseName = AliasDB;

    ComboBox_MainID = new QComboBox(this);
    ComboBox_MainID->setObjectName(QStringLiteral("ComboBox_MainID"));
    connect(ComboBox_MainID, &QComboBox::currentIndexChanged, this, [this] { ComboBox_MainIDChange(); });

    DBTreeView = new TDBTreeView(this);
    DBTreeView->setObjectName(QStringLiteral("DBTreeView"));
    DBTreeView->SetOptions(kFolderWindowTreeOptions);
    DBTreeView->setSortingEnabled(true);
    DBTreeView->setIndentation(23);
    DBTreeView->SetTableIDField(QStringLiteral("ID"));
    DBTreeView->SetTableParentField(QStringLiteral("OwnerID"));
    DBTreeView->SetTableTextField(QStringLiteral("Description"));
    DBTreeView->OnEditing = [](QTreeWidgetItem*) { return false; };
    DBTreeView->OnChange = [this](QTreeWidgetItem*) { DBTreeViewChange(); };
    DBTreeView->OnKeyDown = [this](QKeyEvent* event) { return DBTreeView->ExpandOrCollapseAllOnKey(event); };
    // Folders move only while dragging is armed, and the fixed folders never.
    DBTreeView->SetOption(dtAutoDragMove, false);
    DBTreeView->FixedIDs = { QString::fromLatin1(kUnassignedFolder), QString::fromLatin1(kDeletedFolder) };

    DBGrid_Tree = new TVxDBGrid(this);
    DBGrid_Tree->setObjectName(QStringLiteral("DBGrid_Tree"));
    model_ = new RecordListModel(*view_, this);
    DBGrid_Tree->setModel(model_);
    DBGrid_Tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid_Tree->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid_Tree->SetColMovingEnabled(true);
    // Rows drag only while dragging is armed.
    DBGrid_Tree->setDragDropMode(QAbstractItemView::DragOnly);
    DBGrid_Tree->setDragEnabled(false);
    DBGrid_Tree->setMouseTracking(true);
    DBGrid_Tree->viewport()->setMouseTracking(true);
    DBGrid_Tree->OnMouseDown = [this](QMouseEvent* event) { DBGrid_TreeMouseDown(event->button()); };
    DBGrid_Tree->OnMouseMove
        = [this](QMouseEvent* event) { DBGrid_TreeMouseMove(event->buttons(), event->modifiers()); };
    DBGrid_Tree->OnMouseUp = [this](QMouseEvent*) { DBGrid_TreeMouseUp(); };
    connect(DBGrid_Tree->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current) {
            view_->SetCurrentRow(current.isValid() ? current.row() : -1);
            UpdateRecNoPanel();
        });
    connect(DBGrid_Tree->horizontalHeader(), &QHeaderView::sectionMoved, this, [this] {
        // The display order becomes the sort order; the current record stays current.
        QStringList fields;
        QHeaderView* header = DBGrid_Tree->horizontalHeader();
        for (int visual = 0; visual < header->count(); ++visual)
            fields << view_->ColumnFields.value(header->logicalIndex(visual));
        const int current = view_->CurrentRowID();
        const QSignalBlocker blocker(header);
        header->reset();
        view_->ColumnFields = fields;
        if (view_->RecordViewOpen)
            RefreshGrid(current);
    });
    // A width the user gives a column stays with its field for the session (and is
    // stored with the layout when the window closes).
    connect(DBGrid_Tree->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (applyingWidths_)
            return;
        const QString field = view_->ColumnFields.value(column);
        for (TDefaultFieldRec& descriptor : view_->RecordGridDescriptors)
            if (!field.isEmpty() && descriptor.FieldName == field)
                descriptor.Width = width;
    });

    Panel_RecNo = new QLabel(this);
    Panel_RecNo->setObjectName(QStringLiteral("Panel_RecNo"));
    Panel_RecNo->setFrameShape(QFrame::StyledPanel);
    DBNavigator_Tree = new TDBNavigator(this);
    DBNavigator_Tree->setObjectName(QStringLiteral("DBNavigator_Tree"));
    DBNavigator_Tree->SetView(DBGrid_Tree);
    auto* foot = new QHBoxLayout;
    foot->addWidget(DBNavigator_Tree);
    foot->addWidget(Panel_RecNo, 1);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(DBTreeView);
    splitter->addWidget(DBGrid_Tree);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ComboBox_MainID);
    layout->addWidget(splitter, 1);
    layout->addLayout(foot);

    ActionSelectAllRecords = MakeAction("ActionSelectAllRecords", &RecordViewPanel::ActionSelectAllRecordsExecute);
    ActionUnSelectAllRecords
        = MakeAction("ActionUnSelectAllRecords", &RecordViewPanel::ActionUnSelectAllRecordsExecute);
    ActionEnableDisableMultiselection = MakeAction(
        "ActionEnableDisableMultiselection", &RecordViewPanel::ActionEnableDisableMultiselectionExecute, true);
    ActionZobrazitVsetkyMerania
        = MakeAction("ActionZobrazitVsetkyMerania", &RecordViewPanel::ActionZobrazitVsetkyMeraniaExecute, true);
    ActionShowUnassigned = MakeAction("ActionShowUnassigned", &RecordViewPanel::ActionShowUnassignedExecute);
    ActionShowDeleted = MakeAction("ActionShowDeleted", &RecordViewPanel::ActionShowDeletedExecute);
    ActionSearchMeasurement
        = MakeAction("ActionSearchMeasurement", &RecordViewPanel::ActionSearchMeasurementExecute, true);
    ActionDeleteRecord = MakeAction("ActionDeleteRecord", &RecordViewPanel::DeleteSelectedRecords);
    aShowAllUsers = MakeAction("aShowAllUsers", &RecordViewPanel::aShowAllUsersExecute);
    ActionMoveSelectedRecordTo
        = MakeAction("ActionMoveSelectedRecordTo", &RecordViewPanel::ActionMoveSelectedRecordToExecute);
    ActionEditRecord = MakeAction("ActionEditRecord", &RecordViewPanel::ActionEditRecordExecute);
    ActionUrobitKopiuZaznamu
        = MakeAction("ActionUrobitKopiuZaznamu", &RecordViewPanel::ActionUrobitKopiuZaznamuExecute);
    ActionExportTreeToFileAs
        = MakeAction("ActionExportTreeToFileAs", &RecordViewPanel::ActionExportTreeToFileAsExecute);
    ActionInsertNewFolder = MakeAction("ActionInsertNewFolder", &RecordViewPanel::ActionInsertNewFolderExecute);
    ActionInsertNewSub_folder
        = MakeAction("ActionInsertNewSub_folder", &RecordViewPanel::ActionInsertNewSub_folderExecute);
    ActionRenameFolder = MakeAction("ActionRenameFolder", &RecordViewPanel::ActionRenameFolderExecute);
    ActionDeleteFolder = MakeAction("ActionDeleteFolder", &RecordViewPanel::ActionDeleteFolderExecute);
    ActionNewGroupOfFolders = MakeAction("ActionNewGroupOfFolders", &RecordViewPanel::ActionNewGroupOfFoldersExecute);
    ActionRenameGroupOfFolders
        = MakeAction("ActionRenameGroupOfFolders", &RecordViewPanel::ActionRenameGroupOfFoldersExecute);
    ActionDeleteGroupOfFolders
        = MakeAction("ActionDeleteGroupOfFolders", &RecordViewPanel::ActionDeleteGroupOfFoldersExecute);
    ActionNewRecFromTemplateTree
        = MakeAction("ActionNewRecFromTemplateTree", &RecordViewPanel::ActionNewRecFromTemplateTreeExecute);
    ActionShowSourceTemplateFromDB
        = MakeAction("ActionShowSourceTemplateFromDB", &RecordViewPanel::ActionShowSourceTemplateFromDBExecute);
    DBTreeView->OnDragOver
        = [this](QObject* source, QTreeWidgetItem* target) { return DBTreeViewDragOver(source, target); };
    DBTreeView->OnDragDrop = [this](QObject* source, QTreeWidgetItem* target) {
        if ((source == DBGrid_Tree || source == DBGrid_Tree->viewport()) && target)
            DBTreeViewDragDrop(DBTreeView->GetNodeID(target));
    };
    DBTreeView->OnInsertKey = [this](bool asChild) { InsertFolder(asChild); };
    DBTreeView->OnDeleteKey = [this] { ActionDeleteFolderExecute(); };
    ActionCollapseFolderStructure = new QAction(this);
    ActionCollapseFolderStructure->setObjectName(QStringLiteral("ActionCollapseFolderStructure"));
    connect(ActionCollapseFolderStructure, &QAction::triggered, DBTreeView, &QTreeView::collapseAll);
    ActionExpandFolderStructure = new QAction(this);
    ActionExpandFolderStructure->setObjectName(QStringLiteral("ActionExpandFolderStructure"));
    connect(ActionExpandFolderStructure, &QAction::triggered, DBTreeView, &QTreeView::expandAll);
    MakeSessionActions();
    MakeValidationActions();
    ApplyTexts();
    qApp->installEventFilter(this);
}

QAction* RecordViewPanel::MakeAction(const char* name, void (RecordViewPanel::*handler)(), bool checkable)
{
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    addAction(action);
    return action;
}

void RecordViewPanel::ApplyTexts()
{
    const std::pair<QAction*, int> texts[] = { { ActionShowUnassigned, 884 }, { ActionShowDeleted, 885 },
        { ActionUrobitKopiuZaznamu, 879 }, { ActionEnableDisableMultiselection, 868 }, { ActionSelectAllRecords, 861 },
        { ActionUnSelectAllRecords, 862 }, { ActionMoveSelectedRecordTo, 863 }, { ActionZobrazitVsetkyMerania, 807 },
        { ActionSearchMeasurement, 808 }, { ActionInsertNewFolder, 816 }, { ActionInsertNewSub_folder, 817 },
        { ActionRenameFolder, 818 }, { ActionDeleteFolder, 819 }, { ActionCollapseFolderStructure, 820 },
        { ActionExpandFolderStructure, 821 }, { ActionNewGroupOfFolders, 822 }, { ActionDeleteGroupOfFolders, 823 },
        { ActionRenameGroupOfFolders, 824 }, { aShowAllUsers, 638 }, { ActionEditRecord, 349 },
        { ActionDeleteRecord, 350 }, { ActionExportTreeToFileAs, 344 }, { ActionNewRecFromTemplateTree, 342 },
        { ActionShowSourceTemplateFromDB, 392 } };
    for (const auto& [action, text] : texts) {
        action->setText(GetString(text));
        action->setToolTip(GetString(text));
    }
    ApplySessionTexts();
    ComboBox_MainID->setToolTip(GetString(825));
    DBNavigator_Tree->ApplyHints();
    const TRecordGridDescriptors titles = MakeRecordGridDescriptors();
    for (size_t i = 0; i < titles.size(); ++i)
        view_->RecordGridDescriptors[i].Title = titles[i].Title;
    model_->Reset();
    ApplyColumnWidths();
}

RecordViewPanel::~RecordViewPanel()
{
    FClosing = true;
    DBTreeView->SetDataSource(nullptr);
    DBGrid_Tree->setModel(nullptr);
}

QSqlDatabase RecordViewPanel::RecordsDatabase() const
{
    return session_ ? session_->Database(AliasDB) : QSqlDatabase();
}

void RecordViewPanel::BindFolderTable(int groupId)
{
    folders_->Close();
    folders_->TableName = RecordFolderTable(groupId);
    folders_->Open();
    DBTreeView->SetDataSource(folders_.get());
}

void RecordViewPanel::OpenMeasurementView(int lastRecordID)
{
    MainTimerPause pause;
    StoreCellComments = true;
    LoadValuesOnPaste = true;
    AskOnPaste = false;
    CurrentRecordID = 0;
    view_->RecordViewOpen = false;
    if (MainWindow()) {
        MainWindow()->SetLastRecNo(0);
        MainWindow()->ResetUndo();
    }
    if (lastRecordID < 0)
        LoadLastRecordOfUser(CurrentUserID, lastRecordID);
    FillFolderGroupCombo(CurrentGroupID);
    BindFolderTable(CurrentGroupID);
    SelectFolderOfRecord(lastRecordID);
    view_->CurrentFolderID = DBTreeView->GetNodeID(DBTreeView->currentItem());
    view_->BuildTreeQuery();
    view_->ApplyTreeQuery();
    RefreshGrid(lastRecordID);
    view_->RecordViewOpen = true;
    DBGrid_Tree->setFocus();
    if (MainWindow())
        MainWindow()->UpdateActions(view_->RowCount() > 0 ? 1 : 0);
}

void RecordViewPanel::FillFolderGroupCombo(int groupId)
{
    const QSignalBlocker blocker(ComboBox_MainID);
    QSqlDatabase db = RecordsDatabase();
    if (db.isOpen())
        ReadGroupList(db);
    ComboBox_MainID->clear();
    for (const TGroupEntry& group : GroupList)
        ComboBox_MainID->addItem(group.Description, group.ID);
    const int index = groupId > 0 ? GroupIndexOf(groupId) : 0;
    ComboBox_MainID->setCurrentIndex(index < 0 ? 0 : index);
}

void RecordViewPanel::ComboBox_MainIDChange()
{
    if (FClosing || !view_->RecordViewOpen)
        return;
    view_->RecordViewOpen = false;
    CurrentGroupID = ComboBox_MainID->currentData().toInt();
    BindFolderTable(CurrentGroupID);
    view_->RecordViewOpen = true;
    RefreshRecordView();
    if (MainWindow())
        MainWindow()->UpdateActions(view_->RowCount() > 0 ? 1 : 0);
}

void RecordViewPanel::DBTreeViewChange()
{
    if (FClosing || !view_->RecordViewOpen)
        return;
    RefreshRecordView();
    if (MainWindow())
        MainWindow()->UpdateActions(view_->RowCount() > 0 ? 1 : 0);
}

void RecordViewPanel::RefreshRecordView()
{
    view_->CurrentFolderID = DBTreeView->GetNodeID(DBTreeView->currentItem());
    view_->RefreshRecordView();
    SyncGridToView();
}

void RecordViewPanel::RefreshGrid(int recordID)
{
    view_->RefreshGrid(recordID);
    SyncGridToView();
}

void RecordViewPanel::ApplyColumnWidths()
{
    const QScopedValueRollback<bool> applying(applyingWidths_, true);
    // Each column keeps its descriptor's width; SampleID has none and starts at 45. No
    // column is narrower than its title, and the date column shows a whole date.
    const int dateWidth
        = DBGrid_Tree->fontMetrics().horizontalAdvance(DateToShortText(QDate(2000, 12, 28)) + u' ') + 16;
    for (int column = 0; column < view_->ColumnFields.size(); ++column) {
        int width = 45;
        for (const TDefaultFieldRec& descriptor : view_->RecordGridDescriptors)
            if (descriptor.FieldName == view_->ColumnFields.at(column) && descriptor.Width > 0)
                width = descriptor.Width;
        if (view_->ColumnFields.at(column) == QLatin1String("Datum"))
            width = std::max(width, dateWidth);
        DBGrid_Tree->setColumnWidth(column, width);
    }
    FitColumnsToTitles(*DBGrid_Tree);
}

void RecordViewPanel::SyncGridToView()
{
    {
        const QScopedValueRollback<bool> applying(applyingWidths_, true);
        model_->Reset();
    }
    ApplyColumnWidths();
    const int row = view_->CurrentRow();
    if (row >= 0)
        DBGrid_Tree->selectionModel()->setCurrentIndex(
            model_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ActionSearchMeasurement->setEnabled(view_->SearchEnabled || ActionSearchMeasurement->isChecked());
    UpdateRecNoPanel();
}

void RecordViewPanel::UpdateRecNoPanel()
{
    const int count = view_->RowCount();
    Panel_RecNo->setText(QStringLiteral("%1/%2").arg(count > 0 ? view_->CurrentRow() + 1 : 0).arg(count));
}

void RecordViewPanel::SelectFolderOfRecord(int recordID)
{
    const QString folder = recordID != 0 ? view_->FolderOfRecord(recordID) : QString();
    if (folder.isEmpty())
        return;
    // The caller rebuilds the list once; the tree's own change event must not.
    const bool open = view_->RecordViewOpen;
    view_->RecordViewOpen = false;
    DBTreeView->SelectNodeByID(folder);
    view_->RecordViewOpen = open;
}

void RecordViewPanel::ShowFolder(const QString& folderId)
{
    const bool open = view_->RecordViewOpen;
    view_->RecordViewOpen = false;
    DBTreeView->SelectNodeByID(folderId);
    view_->RecordViewOpen = open;
    RefreshRecordView();
}

void RecordViewPanel::SetTreeEnabled(bool enabled)
{
    DBTreeView->setEnabled(enabled);
}

void RecordViewPanel::CollectSelectedRecordIds()
{
    SelectedRecordIDs.clear();
    const QModelIndexList rows = DBGrid_Tree->selectionModel()->selectedRows();
    if (rows.size() <= 1) {
        if (view_->CurrentRowID() != 0)
            SelectedRecordIDs << view_->CurrentRowID();
        return;
    }
    for (const QModelIndex& index : rows)
        SelectedRecordIDs << view_->RowID(index.row());
}

void RecordViewPanel::ActionEnableDisableMultiselectionExecute()
{
    FMultiSelect = !FMultiSelect;
    ActionEnableDisableMultiselection->setChecked(FMultiSelect);
    DBGrid_Tree->setSelectionMode(
        FMultiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    if (MainWindow())
        MainWindow()->UpdateActions(view_->RowCount() > 0 ? 1 : 0);
}

void RecordViewPanel::ActionSelectAllRecordsExecute()
{
    FMultiSelect = true;
    ActionEnableDisableMultiselection->setChecked(true);
    DBGrid_Tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    const QModelIndex current = DBGrid_Tree->currentIndex();
    DBGrid_Tree->selectAll();
    DBGrid_Tree->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

void RecordViewPanel::ActionUnSelectAllRecordsExecute()
{
    FMultiSelect = false;
    ActionEnableDisableMultiselection->setChecked(false);
    const QModelIndex current = DBGrid_Tree->currentIndex();
    DBGrid_Tree->clearSelection();
    DBGrid_Tree->setSelectionMode(QAbstractItemView::SingleSelection);
    if (current.isValid())
        DBGrid_Tree->selectionModel()->setCurrentIndex(
            current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void RecordViewPanel::DeleteSelectedRecords()
{
    MainTimerPause pause;
    CollectSelectedRecordIds();
    if (SelectedRecordIDs.isEmpty())
        return;
    QSqlDatabase db = RecordsDatabase();
    const QString caption = WithoutAccessKey(ActionDeleteRecord->text());
    if (view_->CurrentFolderID != QString::fromLatin1(kDeletedFolder)) {
        MoveRecordsToDeletedFolder(db, SelectedRecordIDs, caption);
        RefreshRecordView();
        return;
    }
    const int answer = SelectedRecordIDs.size() == 1
        ? MessageDlg(GetString(335), TMsgDlgType::mtConfirmation, mbYesNo)
        : MessageDlg(GetString(870, { int(SelectedRecordIDs.size()) }), TMsgDlgType::mtWarning, mbYesNo);
    if (answer != mrYes)
        return;
    // The row after the current one becomes current once the deleted rows are gone.
    const int next = view_->RowID(view_->CurrentRow() + 1);
    const bool shownDeleted = SelectedRecordIDs.contains(CurrentRecordID);
    const TRecordBatch batch = DeleteRecordsForGood(db, SelectedRecordIDs, CurrentUserID, caption);
    if (shownDeleted && batch.Posted && MainWindow())
        MainWindow()->ClearDiagram();
    view_->ApplyTreeQuery();
    RefreshGrid(next);
    if (MainWindow())
        MainWindow()->RequestRecordReload();
    if (batch.Locked > 0)
        MessageDlg(GetString(21900, { batch.Locked }), TMsgDlgType::mtInformation, mbOK);
    if (view_->RowCount() == 0 && MainWindow())
        MainWindow()->UpdateActions(0);
}

void RecordViewPanel::ActionZobrazitVsetkyMeraniaExecute()
{
    int remembered = view_->CurrentRowID();
    view_->RecordViewMode = view_->RecordViewMode == kRecordsOfFolder ? kRecordsOfGroup : kRecordsOfFolder;
    ActionZobrazitVsetkyMerania->setChecked(view_->RecordViewMode == kRecordsOfGroup);
    SetTreeEnabled(view_->RecordViewMode == kRecordsOfFolder);
    ActionSearchMeasurement->setChecked(false);
    view_->SearchActive = false;
    if (view_->RecordViewMode == kRecordsOfFolder)
        SelectFolderOfRecord(remembered);
    RefreshRecordView();
    if (MainWindow())
        MainWindow()->UpdateActions(view_->RowCount() > 0 ? 1 : 0);
    RefreshGrid(remembered);
}

void RecordViewPanel::ActionShowUnassignedExecute()
{
    view_->RecordViewMode = kRecordsOfFolder;
    ActionZobrazitVsetkyMerania->setChecked(false);
    ActionSearchMeasurement->setChecked(false);
    SetTreeEnabled(true);
    view_->SearchActive = false;
    ShowFolder(QString::fromLatin1(kUnassignedFolder));
}

void RecordViewPanel::ActionShowDeletedExecute()
{
    view_->RecordViewMode = kRecordsOfFolder;
    ActionZobrazitVsetkyMerania->setChecked(false);
    ActionSearchMeasurement->setChecked(false);
    SetTreeEnabled(true);
    view_->SearchActive = false;
    ShowFolder(QString::fromLatin1(kDeletedFolder));
}

void RecordViewPanel::ActionSearchMeasurementExecute()
{
    MainTimerPause pause;
    // The action's check state was flipped by the trigger: checked now means "search on".
    if (!ActionSearchMeasurement->isChecked()) {
        int remembered = view_->CurrentRowID();
        view_->SearchActive = false;
        view_->RecordViewMode = kRecordsOfFolder;
        SetTreeEnabled(true);
        SelectFolderOfRecord(remembered);
        RefreshRecordView();
        RefreshGrid(remembered);
    } else {
        TfInputSearchString1 dialog(this);
        dialog.Label_SearchString->setText(model_->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString());
        const bool wholeGroup = view_->RecordViewMode == kRecordsOfGroup;
        dialog.RadioButton_AllFolders->setChecked(wholeGroup || dialog.RadioButton_AllFolders->isChecked());
        dialog.RadioButton_SelectedFolder->setEnabled(!wholeGroup);
        const QString text = dialog.exec() == QDialog::Accepted ? dialog.Edit_SearchString->text() : QString();
        if (text.isEmpty()) {
            ActionSearchMeasurement->setChecked(false);
        } else {
            view_->SearchActive = true;
            view_->SearchText = text;
            view_->SearchKind = dialog.RadioButton_BeginingString->isChecked() ? TSearchKind::Beginning
                : dialog.RadioButton_ExactString->isChecked()                  ? TSearchKind::Exact
                                                                               : TSearchKind::Substring;
            view_->RecordViewMode = dialog.RadioButton_AllFolders->isChecked() ? kRecordsOfGroup : kRecordsOfFolder;
            ActionZobrazitVsetkyMerania->setChecked(false);
            SetTreeEnabled(view_->RecordViewMode == kRecordsOfFolder);
            RefreshRecordView();
        }
    }
    if (MainWindow())
        MainWindow()->UpdateActions(view_->RowCount() > 0 ? 1 : 0);
    UpdateRecNoPanel();
}

void RecordViewPanel::aShowAllUsersExecute()
{
    MainTimerPause pause;
    if (MainWindow() && MainWindow()->FModified())
        MainWindow()->SaveRecordDiagram();
    view_->ShownOwnerID = 0;
    RefreshRecordView();
    if (MainWindow())
        MainWindow()->UpdateActions(view_->RowCount() > 0 ? 1 : 0);
}

} // namespace orvek
