#include "database/ui/record_view_panel.h"

#include "core/common_vars.h"
#include "core/services.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/folder_groups.h"
#include "database/folder_table_cursor.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/one_line_edit.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"

#include <QAction>
#include <QComboBox>
#include <QSignalBlocker>

namespace orvek {

namespace {

constexpr int kTextNameEmpty = 21600;
constexpr int kTextRightsNeeded = 21604;
constexpr int kTextNotSaved = 21605;
constexpr int kTextNotDeleted = 21606;

bool IsFixedFolder(const QString& id)
{
    return id == QLatin1String(kUnassignedFolder) || id == QLatin1String(kDeletedFolder);
}

} // namespace

bool RecordViewPanel::MayChangeFolders() const
{
    if (CurrentUserRights == 1 || CurrentUserRights == 2)
        return true;
    MessageDlg(GetString(kTextRightsNeeded), TMsgDlgType::mtWarning, mbOK);
    return false;
}

QTreeWidgetItem* RecordViewPanel::ChangeableSelectedFolder(int fixedFolderText) const
{
    QTreeWidgetItem* node = DBTreeView->currentItem();
    if (!node || !MayChangeFolders())
        return nullptr;
    if (IsFixedFolder(DBTreeView->GetNodeID(node))) {
        MessageDlg(GetString(fixedFolderText), TMsgDlgType::mtWarning, mbCancel);
        return nullptr;
    }
    return node;
}

void RecordViewPanel::InsertFolder(bool asChild)
{
    if (!MayChangeFolders())
        return;
    MainTimerPause pause;
    QString name = GetString(asChild ? 881 : 828);
    if (!InputQuery(QStringLiteral("Insert box"), GetString(asChild ? 830 : 829), name))
        return;
    name = FirstLineOf(name).trimmed();
    if (name.isEmpty()) {
        MessageDlg(GetString(kTextNameEmpty), TMsgDlgType::mtWarning, mbOK);
        return;
    }
    DBTreeView->DefaultNewName = name;
    DBTreeView->InsertNode(asChild);
    if (IDTable_Tree().State() != TDataSetState::dsInsert)
        return; // the tree said why
    QString error;
    if (!IDTable_Tree().Post(&error)) {
        IDTable_Tree().Cancel();
        MessageDlg(GetString(kTextNotSaved, { error }), TMsgDlgType::mtError, mbOK);
        return;
    }
    RefreshRecordView();
}

void RecordViewPanel::ActionInsertNewFolderExecute()
{
    InsertFolder(false);
}

void RecordViewPanel::ActionInsertNewSub_folderExecute()
{
    InsertFolder(true);
}

void RecordViewPanel::ActionRenameFolderExecute()
{
    QTreeWidgetItem* node = ChangeableSelectedFolder(875);
    if (!node)
        return;
    MainTimerPause pause;
    const QString id = DBTreeView->GetNodeID(node);
    QString name = node->text(0);
    if (!InputQuery(QStringLiteral("Rename box"), GetString(842), name))
        return;
    name = FirstLineOf(name).trimmed();
    if (name.isEmpty()) {
        MessageDlg(GetString(kTextNameEmpty), TMsgDlgType::mtWarning, mbOK);
        return;
    }
    QString error;
    if (!IDTable_Tree().FindKey(id) || !IDTable_Tree().Edit(&error)
        || !IDTable_Tree().SetFieldValue(QStringLiteral("Description"), name) || !IDTable_Tree().Post(&error)) {
        IDTable_Tree().Cancel();
        MessageDlg(GetString(kTextNotSaved, { error }), TMsgDlgType::mtError, mbOK);
    }
}

void RecordViewPanel::ActionDeleteFolderExecute()
{
    QTreeWidgetItem* node = ChangeableSelectedFolder(835);
    if (!node)
        return;
    MainTimerPause pause;
    const QString question = View().RowCount() > 0
        ? GetString(874, { node->text(0) }) + QStringLiteral("\r\r") + GetString(877)
        : GetString(874, { node->text(0) });
    if (MessageDlg(question, TMsgDlgType::mtWarning, mbYesNo) != mrYes)
        return;
    if (MainWindow() && MainWindow()->FModified())
        MainWindow()->SaveRecordDiagram();
    // The folder and its sub-folders go, and the current group's records filed in them
    // move to the deleted-records folder, in one post.
    const QStringList ids = DBTreeView->SubtreeIDs(node);
    const QString parentId = DBTreeView->GetNodeID(node->parent());
    if (!MoveFoldersToDeleted(
            QStringLiteral("TreeDB"), View().FolderColumn, ids, CurrentGroupID, IDTable_Tree().TableName)) {
        MessageDlg(GetString(kTextNotDeleted), TMsgDlgType::mtError, mbOK);
        return;
    }
    IDTable_Tree().Refresh();
    const bool open = View().RecordViewOpen;
    View().RecordViewOpen = false;
    DBTreeView->RebuildTree();
    DBTreeView->SelectNodeByID(parentId.isEmpty() ? QString::fromLatin1(kUnassignedFolder) : parentId);
    View().RecordViewOpen = open;
    RefreshRecordView();
}

void RecordViewPanel::ActionNewGroupOfFoldersExecute()
{
    if (!MayChangeFolders())
        return;
    MainTimerPause pause;
    QString name = GetString(834);
    if (!InputQuery(QStringLiteral("Insert box"), GetString(833), name))
        return;
    QSqlDatabase db = RecordsDatabase();
    int id = 0;
    QString reason;
    if (!CreateFolderGroup(db, FirstLineOf(name), id, &reason)) {
        MessageDlg(reason, TMsgDlgType::mtWarning, mbOK);
        return;
    }
    // The new group becomes the current one.
    View().RecordViewOpen = true;
    FillFolderGroupCombo(id);
    ComboBox_MainIDChange();
}

void RecordViewPanel::ActionRenameGroupOfFoldersExecute()
{
    if (!MayChangeFolders())
        return;
    MainTimerPause pause;
    const int groupId = ComboBox_MainID->currentData().toInt();
    QString name = ComboBox_MainID->currentText();
    if (!InputQuery(QStringLiteral("Rename box"), GetString(842), name))
        return;
    QSqlDatabase db = RecordsDatabase();
    QString reason;
    if (!RenameFolderGroup(db, groupId, FirstLineOf(name), &reason)) {
        MessageDlg(reason, TMsgDlgType::mtWarning, mbOK);
        return;
    }
    FillFolderGroupCombo(groupId);
}

void RecordViewPanel::ActionDeleteGroupOfFoldersExecute()
{
    if (!MayChangeFolders())
        return;
    MainTimerPause pause;
    if (GroupCount <= 1) {
        MessageDlg(GetString(826), TMsgDlgType::mtWarning, mbCancel);
        return;
    }
    if (MessageDlg(GetString(827), TMsgDlgType::mtConfirmation, mbYes | mbCancel) != mrYes)
        return;
    const int groupId = ComboBox_MainID->currentData().toInt();
    QSqlDatabase db = RecordsDatabase();
    QString reason;
    const bool wasShown = folders_->TableName == RecordFolderTable(groupId);
    if (wasShown)
        folders_->Close();
    if (!DeleteFolderGroup(db, groupId, &reason)) {
        if (wasShown)
            BindFolderTable(groupId);
        MessageDlg(reason, TMsgDlgType::mtWarning, mbOK);
        return;
    }
    // The first group becomes current.
    FillFolderGroupCombo(0);
    View().RecordViewOpen = true;
    ComboBox_MainIDChange();
}

void RecordViewPanel::ApplyFolderGroupsSetting()
{
    ComboBox_MainID->setVisible(MoreGroupsOfFolders);
    for (QAction* action : { ActionNewGroupOfFolders, ActionRenameGroupOfFolders, ActionDeleteGroupOfFolders }) {
        action->setVisible(MoreGroupsOfFolders);
        action->setEnabled(MoreGroupsOfFolders);
    }
    // The combo's change shows the first group's folders and records.
    if (!MoreGroupsOfFolders && ComboBox_MainID->count() > 0 && ComboBox_MainID->currentIndex() != 0)
        ComboBox_MainID->setCurrentIndex(0);
}

} // namespace orvek
