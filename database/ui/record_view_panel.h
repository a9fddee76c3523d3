#pragma once
// The main window's record side: the group combo, the folder tree of the selected
// group, the record grid of the folder (or of the whole group, or of a search) and the
// record-number panel, with the actions that select, find and remove records. The main
// window hosts it, puts its actions into its menus and loads the grid's current row on
// its timer; the list's logic is TRecordView.

#include "database/record_view.h"
#include "database/template_handover.h"

#include <QVector>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QSqlDatabase;
class QComboBox;
class QLabel;
class QTreeWidgetItem;

namespace orvek {

class DatabaseSession;
class FolderTableCursor;
class RecordListModel;
class TCell;
class TDBNavigator;
class TDBTreeView;
class TVxDBGrid;

// Where a new record's template comes from.
enum class TNewRecordSource {
    Template, // any template the user picks
    SourceTemplate, // the template the current record was made from
    Example, // a validation example (its template is imported when missing)
};

// What the template window is opened for when a record is made from a template.
struct TTemplatePickRequest {
    TNewRecordSource Source = TNewRecordSource::Template;
    int TemplateID = 0; // the template to make current; 0 the first row
    QString Caption;
    QString Folder, FileName; // the example's model file
};

// Shows the template window for a pick; True when it closed with OK, Fields then hold
// the hand-over values (the diagram itself is in the transfer file).
using TTemplatePicker = std::function<bool(const TTemplatePickRequest& request, THandOverFields& fields)>;

// The picker of the program: the template window fOrvekDB, an example's template found
// or imported in the current group first.
bool PickTemplateForRecord(const TTemplatePickRequest& request, THandOverFields& fields);

class RecordViewPanel : public QWidget {
    Q_OBJECT
public:
    RecordViewPanel(DatabaseSession* session, QWidget* parent = nullptr);
    ~RecordViewPanel() override;

    QComboBox* ComboBox_MainID = nullptr;
    TDBTreeView* DBTreeView = nullptr;
    TVxDBGrid* DBGrid_Tree = nullptr;
    QLabel* Panel_RecNo = nullptr;
    // First, prior, next and last record, as in the template and validation windows.
    TDBNavigator* DBNavigator_Tree = nullptr;

    QAction* ActionSelectAllRecords = nullptr;
    QAction* ActionUnSelectAllRecords = nullptr;
    QAction* ActionEnableDisableMultiselection = nullptr;
    QAction* ActionZobrazitVsetkyMerania = nullptr;
    QAction* ActionShowUnassigned = nullptr;
    QAction* ActionShowDeleted = nullptr;
    QAction* ActionSearchMeasurement = nullptr;
    QAction* ActionCollapseFolderStructure = nullptr;
    QAction* ActionExpandFolderStructure = nullptr;
    QAction* ActionDeleteRecord = nullptr;
    QAction* aShowAllUsers = nullptr;
    QAction* ActionMoveSelectedRecordTo = nullptr;
    QAction* ActionEditRecord = nullptr;
    QAction* ActionUrobitKopiuZaznamu = nullptr;
    QAction* ActionExportTreeToFileAs = nullptr;
    QAction* ActionInsertNewFolder = nullptr;
    QAction* ActionInsertNewSub_folder = nullptr;
    QAction* ActionRenameFolder = nullptr;
    QAction* ActionDeleteFolder = nullptr;
    QAction* ActionNewGroupOfFolders = nullptr;
    QAction* ActionRenameGroupOfFolders = nullptr;
    QAction* ActionDeleteGroupOfFolders = nullptr;
    QAction* ActionNewRecFromTemplateTree = nullptr;
    QAction* ActionShowSourceTemplateFromDB = nullptr;
    // The user's session and the administration (record_view_panel_session.cpp,
    // record_view_panel_users.cpp).
    QAction* aLogInNewUser = nullptr;
    QAction* aOdhlasenieUzivatela = nullptr;
    QAction* aChangeUserPassword = nullptr;
    QAction* aDBBackup = nullptr;
    QAction* aDBRestore = nullptr;
    QAction* aZoznamUzivatelov = nullptr;
    QAction* aEvidenciaPrihlasovania = nullptr;
    QAction* aHistory = nullptr;
    // The validation (record_view_panel_validation.cpp): the self-validation, the
    // validation report and the eight examples in menu order.
    QAction* ActionStartValidation = nullptr;
    QAction* Action_ValidacnyProtokolOrvek = nullptr;
    QAction *Action_S2 = nullptr, *Action_S3 = nullptr, *Action_S4 = nullptr, *Action_S5_1 = nullptr,
            *Action_S5_2 = nullptr, *Action_PSV = nullptr, *Action_S6 = nullptr, *Action_S7 = nullptr;

    TRecordView& View() { return *view_; }
    FolderTableCursor& IDTable_Tree() { return *folders_; }
    // The window is closing: the tree and combo handlers do nothing any more.
    bool FClosing = false;
    // Records and folders can be dragged (armed by the main administrator with Shift+Ctrl).
    bool DragEnabled = false;
    bool ShiftCtrlHeld = false;
    bool MouseDownInGrid = false;
    bool FMultiSelect = false;
    QVector<qint64> SelectedRecordIDs;

    // Opens (or rebuilds) the whole view on the user's group and on record LastRecordID,
    // by default the record this user was shown last.
    void OpenMeasurementView(int lastRecordID = -1);
    void FillFolderGroupCombo(int groupId);
    void ComboBox_MainIDChange();
    void DBTreeViewChange();
    void RefreshRecordView();
    void RefreshGrid(int recordID);
    void SelectFolderOfRecord(int recordID);
    void CollectSelectedRecordIds();
    void DeleteSelectedRecords();

    void ActionSelectAllRecordsExecute();
    void ActionUnSelectAllRecordsExecute();
    void ActionEnableDisableMultiselectionExecute();
    void ActionZobrazitVsetkyMeraniaExecute();
    void ActionShowUnassignedExecute();
    void ActionShowDeletedExecute();
    void ActionSearchMeasurementExecute();
    void aShowAllUsersExecute();

    // Record actions (record_view_panel_records.cpp).
    void ActionMoveSelectedRecordToExecute();
    void ActionEditRecordExecute();
    void ActionUrobitKopiuZaznamuExecute();
    // Appends a copy of the shown record under the head the user confirms; the copy
    // belongs to the current user, group and folder and is dated today.
    void CopyRecord();
    void ActionExportTreeToFileAsExecute();
    // Posts a pending edit of the record table. Every write of the record view is its own
    // committed post, so nothing is ever pending and there is nothing to do; the call
    // stays for the callers that ask for it before a backup or a log-out.
    void ActionSaveChangesToDBExecute() { }

    // New records from the template window (record_view_panel_new_records.cpp). The
    // picker is PickTemplateForRecord unless a caller replaces it.
    TTemplatePicker TemplatePicker = PickTemplateForRecord;
    void ActionNewRecFromTemplateTreeExecute();
    void ActionShowSourceTemplateFromDBExecute();
    // A new record from the model file Folder + FileName through its template.
    void ImportExampleAsRecord(const QString& folder, const QString& fileName);
    // The record an import filled (TargetID, named TargetName) is brought up, the shown
    // diagram saved or discarded first as the user answers; when it is shown under that
    // name ApplyImport puts the imported data into its tree (False: the tree is unchanged).
    void GoToRecord(int targetID, const QString& targetName, const std::function<bool(TCell& root)>& applyImport);
    // The diagram's pop-up menu opens: FPopupCell := the hovered cell; the edit item and
    // the separator below it show only when there is one.
    void PopupMenu1Popup(QAction* editItem, QAction* separator);
    TCell* FPopupCell = nullptr;

    // Dragging records onto folders (record_view_panel_records.cpp). The main window
    // sees key presses first and forwards them with the cursor's screen position.
    void ToggleDragging();
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers, const QPoint& cursor);
    void FormKeyUp(int key, Qt::KeyboardModifiers modifiers);
    // The cursor lies inside the grid's or the tree's rectangle (edges included).
    bool MouseOverGridOrTree(const QPoint& cursor) const;
    // A drop of the grid's selected records onto folder FolderID files them there.
    void DBTreeViewDragDrop(const QString& folderId);
    // While dragging is armed: records from the grid drop onto any folder; a folder
    // dragged inside the tree onto any folder but "0" and "1".
    bool DBTreeViewDragOver(QObject* source, QTreeWidgetItem* target) const;
    void DBGrid_TreeMouseDown(Qt::MouseButton button);
    void DBGrid_TreeMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void DBGrid_TreeMouseUp();

    // Folders and groups of folders (record_view_panel_folders.cpp).
    void ActionInsertNewFolderExecute();
    void ActionInsertNewSub_folderExecute();
    void ActionRenameFolderExecute();
    void ActionDeleteFolderExecute();
    void ActionNewGroupOfFoldersExecute();
    void ActionRenameGroupOfFoldersExecute();
    void ActionDeleteGroupOfFoldersExecute();
    // The group combo and the three group actions show only with MoreGroupsOfFolders;
    // without it the first group becomes the current one.
    void ApplyFolderGroupsSetting();

    // The user's session (record_view_panel_session.cpp). OpenSession binds the views to
    // the logged-in user's group (undo table, folder tables, the template window's
    // folder tree); CloseSession saves the shown diagram, releases its lock and closes
    // every view. UpdateStatusBar hands the four status-bar texts to the main window.
    void OpenSession();
    void CloseSession();
    void UpdateStatusBar();
    void aLogInNewUserExecute();
    void aOdhlasenieUzivatelaExecute();
    void aChangeUserPasswordExecute();

    // The administration (record_view_panel_users.cpp).
    void aDBBackupExecute();
    void aDBRestoreExecute();
    void aZoznamUzivatelovExecute();
    void aEvidenciaPrihlasovaniaExecute();
    void aHistoryExecute();

    // The validation (record_view_panel_validation.cpp).
    void ActionStartValidationExecute();
    void Action_ValidacnyProtokolOrvekExecute();
    // The example of the named action (Action_S2 ...) becomes a new record.
    void ImportValidationExample(const QString& action);

    // The numbered texts of the panel's actions (caption and hint) and of the combo.
    void ApplyTexts();
    // The record-number panel: current row "/" row count.
    void UpdateRecNoPanel();

protected:
    // The window's key presses and releases, wherever the focus is in it, reach
    // FormKeyDown and FormKeyUp.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BindFolderTable(int groupId);
    // Each grid column gets its field's width: the width the user gave it this session,
    // else the stored one.
    void ApplyColumnWidths();
    void ShowFolder(const QString& folderId);
    void SyncGridToView();
    void SetTreeEnabled(bool enabled);
    void InsertFolder(bool asChild);
    // The selected folder when it may be changed; the fixed folders "0" and "1" get
    // FixedFolderText and null.
    QTreeWidgetItem* ChangeableSelectedFolder(int fixedFolderText) const;
    bool MayChangeFolders() const;
    QSqlDatabase RecordsDatabase() const;
    void NewRecordFromTemplate(const TTemplatePickRequest& request);
    // The shown record becomes the grid's current row: loaded, undo started afresh.
    void ShowCurrentRecord(bool fromTemplate);
    // A named action of the panel's action list that runs Handler.
    QAction* MakeAction(const char* name, void (RecordViewPanel::*handler)(), bool checkable = false);
    // Makes the session's actions (record_view_panel_session.cpp) and the validation's.
    void MakeSessionActions();
    void MakeValidationActions();
    void ApplySessionTexts();
    // The template window's validation menu starts with the self-validation and the
    // validation report of this panel.
    void OfferValidationInTemplateWindow();
    // Reopens the views for the logged-in user on record RecordID after a backup or a
    // restore closed them.
    void ReopenSession(int recordID);

    std::unique_ptr<TRecordView> view_;
    std::unique_ptr<FolderTableCursor> folders_;
    RecordListModel* model_ = nullptr;
    DatabaseSession* session_;
    bool applyingWidths_ = false;
};

} // namespace orvek
