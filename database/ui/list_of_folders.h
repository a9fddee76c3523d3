#pragma once
// The folder picker: the folder table of the current group as a tree, where a user with
// rights 1 or 2 creates, renames, deletes and moves folders, and every user chooses the
// folder that items go to. After OK the caller reads the chosen folder's ID from
// IDTable and, when FoldersChanged, refreshes its own folder tree.

#include <QDialog>
#include <QString>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class QTreeWidgetItem;

namespace orvek {

class FolderTableCursor;
class TDBTreeView;

class TfListOfFolders : public QDialog {
    Q_OBJECT
public:
    explicit TfListOfFolders(QWidget* parent = nullptr);
    ~TfListOfFolders() override;

    // The folder table in the data module's session; the caller sets its TableName.
    FolderTableCursor* IDTable = nullptr;
    TDBTreeView* DBTemplateView = nullptr;
    // A line above the tree (the group of folders); hidden while empty.
    QLabel* Panel1 = nullptr;
    QAction* ActionInsertNewFolder = nullptr;
    QAction* ActionInsertNewSub_folder = nullptr;
    QAction* ActionRenameFolder = nullptr;
    QAction* ActionDeleteFolder = nullptr;
    QAction* ActionCollapseFolderStructure = nullptr;
    QAction* ActionExpandFolderStructure = nullptr;
    QToolButton* SpeedButton1 = nullptr; // new folder
    QToolButton* SpeedButton2 = nullptr; // new sub-folder
    QToolButton* SpeedButton3 = nullptr; // rename
    QToolButton* SpeedButton4 = nullptr; // delete
    QMenu* PopupMenu1 = nullptr;
    QPushButton* ButtonSelect = nullptr; // OK
    QPushButton* ButtonCancel = nullptr;

    bool FoldersChanged = false;
    QString ItemsTableName;
    QString FolderColumnName;

    // Opens the folder table when closed and selects folder FolderID. Items of deleted
    // folders are re-filed in ItemsTable's FolderColumn. Mode (0 records, 1 templates)
    // changes nothing.
    void OpenFolders(int mode, const QString& itemsTable, const QString& folderId, const QString& folderColumn);

    void FormCreate();
    void ActionInsertNewFolderExecute();
    void ActionInsertNewSub_folderExecute();
    void ActionRenameFolderExecute();
    void ActionDeleteFolderExecute();
    void ActionCollapseFolderStructureExecute();
    void ActionExpandFolderStructureExecute();

private:
    void InsertFolder(bool asChild);
    // Rights 1 and 2 change folders; anyone else is told why not.
    bool MayChangeFolders() const;
    // The selected folder when the user may change it and it is not one of the fixed
    // folders (FixedFolderText then says why); null otherwise.
    QTreeWidgetItem* ChangeableSelectedFolder(const QString& fixedFolderText) const;
    void UpdateActions();
};

} // namespace orvek
