#pragma once
// The data module: owner of the program's database session, its aliases and tables,
// and of the operations on them. Everything above the core reaches it through the one
// instance DataModule1, created before any window and destroyed last.

#include "core/logs.h"
#include "core/string_table.h"
#include "database/sstrings.h"
#include "database/table_set.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

class QSqlDatabase;

namespace orvek {

class DatabaseSession;
class TBDEUtil;
class TVxTable;

struct TGroupEntry {
    int ID = 0;
    QString Description;
};

// Text of a failed start of the database session.
inline QString DatabaseErrorText;
// Required tables found missing by the last CheckDatabaseFiles.
inline int MissingDatabaseFileCount = 0;
// Result text of the last completeness check, verify or rebuild.
inline QString TableCheckReport;
// Declared sizes of the user fields: the longest texts the user windows accept.
inline int UserPasswordSize = 0, UserNameSize = 0, FirstNameSize = 0, LastNameSize = 0;
// The groups of folders in key order.
inline QVector<TGroupEntry> GroupList;
inline int GroupCount = 0;
// The group of folders of the logged-in user.
inline int CurrentGroupID = 0;
// The logged-in user's name as shown: first and last name, "Tulkarn" for the service
// login, text 439 for a main administrator without a name.
inline QString CurrentUserName;
// The diagram the lock and history operations act on: False a record (TreeDB,
// CurrentRecordID), True a template (TemplateDB, CurrentTemplateID).
inline bool CurrentDiagramKind = false;
inline int CurrentRecordID = 0;
inline int CurrentTemplateID = 0;
// ChangeCounter of the current diagram's row when it was loaded (or last saved by this
// workstation); -1 when unknown, and then a lock does not compare it.
inline qint64 LoadedItemChangeCounter = -1;

// The status of a table verify as its report text: statuses 0 to 4 of
// VerifyDatabaseTable are texts 507 (in order), 508 (errors in the rows or indexes),
// 509 (file unreadable), 510 (table missing) and 511 (database locked); every other
// status is text 512.
QString VerifyStatusText(int status);

// Name of the error log in the program folder.
inline constexpr const char* kErrorLogFile = kErrorLogFileName;

class TDataModule1 : public QObject {
    Q_OBJECT
public:
    // Creating the module opens the database (OpenDatabase); destroying it closes it.
    explicit TDataModule1(QObject* parent = nullptr);
    ~TDataModule1() override;

    // The UI text number ID in the current language, formatted with Args.
    QString GetString(int id, std::initializer_list<FormatArg> args = {}) const;

    // Writes AppDir + "StringID.txt" (per row, by symbolic name: eight blanks, the
    // name, " = ", the ID and ";") and opens it in the desktop's text viewer. False
    // with Error when the table cannot be read or the file cannot be written.
    bool ExportStringIDs(QString* error = nullptr);

    // Start and end of the session.
    void DataModule1Create();
    void DataModule1Destroy();
    void OpenDatabase();
    void OpenTables();
    void CloseDatabase();
    void SetAlias(const QString& name, const QString& folder);
    // True when the tables opened (the folder was complete or was filled).
    bool TablesOpen() const { return tablesOpen_; }

    // Completeness of a database folder.
    bool CheckDatabaseFiles(const QString& folder);
    int CountMissingDatabaseFiles(const QString& folder);
    bool EnsureParametersTable();

    // Table passwords, verification and rebuild.
    void AddSessionPasswords();
    bool AddMasterPassword(TVxTable& table, const QString& password, QString* error = nullptr);
    void ProtectMainTables();
    int VerifyTable(const QString& folder, const QString& tableName);
    int RebuildTable(const QString& folder, const QString& tableName);
    int VerifyAllTables(const QString& folder);
    int RebuildAllTables(const QString& folder);

    // SQL routines.
    bool ExecSQL(const QString& sql, const QVariantList& values = {}, QString* error = nullptr);
    // Transfer of templates and records from an older database of ours in OldFolder
    // into the current group; the map of old to new template IDs is kept in memory
    // between the two. Each is one post; False with Error and nothing written on an
    // error.
    bool MergeOldTemplateDB(const QString& oldFolder, QString* error = nullptr);
    bool MergeOldTreeDB(const QString& oldFolder, QString* error = nullptr);

    // Users and login. Passwords are kept only as salted hashes (PasswordHash); every
    // value is bound. Authenticate finds the user named UserName whose hash verifies
    // Password: True when exactly one row verifies (Active tells whether it may log in);
    // on success it also sets CurrentUserRights and CurrentGroupID (0 read as 1).
    bool LoginDialog();
    bool Authenticate(const QString& userName, const QString& password, QString& currentPassword, QString& fullName,
        bool& active, int& userID, bool* mustChangePassword = nullptr);
    // The login record: LogLogin appends it and keeps its ID in LoginID; LogLogout
    // writes the logout time once and clears the current-user state.
    void LogLogin();
    void LogLogout();
    // "Administrator" for 1; first and last name for IDs above 1; empty otherwise.
    void GetUserFullName(int userID, QString& name);
    // Stores the hash of NewPassword for the current user and clears the must-change
    // mark; texts 498 (done) or 499 (failed). True when stored.
    bool ChangePassword(const QString& newPassword);
    bool UserNameInUse(const QString& userName);
    bool GroupNameExists(const QString& name);

    // Record locks and histories of the diagram chosen by CurrentDiagramKind.
    bool CanLockItem();
    bool IsItemLockedByMe();
    // Takes the lock for the current user in one conditional update: True when taken,
    // already mine, or the row is missing. False when another user holds it
    // (DiagramLockOwnerID names them) or, with ChangedSinceLoaded set, when another
    // workstation saved the row since LoadedItemChangeCounter was read.
    bool LockItem(bool* changedSinceLoaded = nullptr);
    // Frees the lock where it is the current user's. False on a database error.
    bool UnlockItem();
    // Reads the current diagram row's ChangeCounter into LoadedItemChangeCounter (-1
    // when the row is missing); the loader and the save call it.
    void RememberLoadedChangeCounter();
    // Appends the history row of the current diagram with HistoryOriginalValues and
    // HistoryNewValues, then empties both (also on failure). False when the row could
    // not be written; the error log says why.
    bool WriteHistory();
    // The same row as a step of a write transaction the caller runs on the records
    // database Db (a store and its history row stand or fall together). The texts are
    // taken (emptied) at once; the row is inserted when the returned step runs.
    std::function<bool(QSqlDatabase& db, QString* error)> TakeHistoryStep();
    bool WriteValidationHistory(const QString& resultStr, const QString& resultMemo, QString* error = nullptr);

    // Backups and restore.
    bool MakeWorkingBackup();
    bool ChooseWorkingBackupDir(QString& folder);
    bool MakeAdminBackup();
    bool ExportDatabaseItems(const QString& folder);
    bool RestoreDatabase(const QString& folder, QString* error = nullptr);

    DatabaseSession& SessionOrvek() { return *session_; }
    // The configuration list: table names, table passwords, the service password.
    TSStrings MainStrings;
    std::unique_ptr<TBDEUtil> BDEUtil;
    int RebuiltTableCount = 0;
    QString CurrentPassword;
    int LoginID = 0;

    struct OldTemplate {
        qint64 newId = 0;
        QString name;
    };
    QHash<qint64, OldTemplate> OldTemplateMap;

private:
    bool OpenTablesSteps(QString* error);
    // Gives the first group of a new database its name in the program's language.
    void NameFirstGroup();
    void FailStart(const QString& reason);
    std::unique_ptr<DatabaseSession> session_;
    bool tablesOpen_ = false;
};

inline TDataModule1* DataModule1 = nullptr;

// The description of group GroupID from GroupList; empty when unknown.
void GetGroupName(int groupId, QString& name);

// The database of the temporary folder (alias AliasTempName; opened directly on
// TempDir while the data module has no session).
QSqlDatabase TemporaryDatabase();

// The temporary one-column table of folder IDs in the temporary folder's database.
bool CreateTempIdTable();
void AddTempId(const QString& id);
void CloseTempIdTable();
void DropTempIdTable();
QString TempIdTableName();
// Items of group GroupID filed in a folder listed in the temporary table become
// unassigned ("0"), in one post; with FolderTable, the listed folders are deleted from
// it in the same post (the fixed folders "0" and "1" never are). Errors are swallowed
// (False, nothing changed).
bool UnassignFoldersInTempTable(
    const QString& table, const QString& folderColumn, int groupId, const QString& folderTable = QString());
// Items of group GroupID filed in one of the folders Ids move to the deleted-items
// folder ("1"), in one post; with FolderTable, the listed folders are deleted from it
// in the same post (the fixed folders "0" and "1" never are). Errors are swallowed
// (False, nothing changed).
bool MoveFoldersToDeleted(const QString& table, const QString& folderColumn, const QStringList& ids, int groupId,
    const QString& folderTable = QString());

} // namespace orvek
