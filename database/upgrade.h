#pragma once
// Brings a records database made by an older version of the program up to the current
// structure, in place, at every start and after a restore. Each step runs on its own:
// a step that fails writes its fixed text to the error file and the next step runs.
// On a current database nothing changes.

#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace orvek {

// A column of TreeDB the program relies on, with the SQL type it is added with.
struct TTreeDBColumn {
    const char* Name;
    const char* SqlType; // empty: the column cannot be added to an existing table
};

// The record table's columns in the order the upgrade checks them.
inline constexpr TTreeDBColumn TreeDBColumns[] = {
    { "ID", "" }, // the AUTOINC key
    { "SampleID", "VARCHAR(30)" },
    { "Deleted", "INTEGER" },
    { "FromTemplateID", "INTEGER" },
    { "PracovnikID", "INTEGER" },
    { "MenoPracovnika", "VARCHAR(50)" },
    { "Datum", "TEXT" },
    { "NazovVzoru", "VARCHAR(100)" },
    { "NazovMerania", "VARCHAR(100)" },
    { "Poznamky", "TEXT" },
    { "Strom", "TEXT" },
};

// The indexes the record list and the deleted-record migration read; a new empty
// database should carry them too.
inline constexpr const char* kRecordListIndex
    = "CREATE INDEX IF NOT EXISTS TreeDB_List ON TreeDB (GroupID, IDDB1, NazovMerania, NazovVzoru, SampleID, "
      "PracovnikID, MenoPracovnika, Datum, FromTemplateID)";
inline constexpr const char* kDeletedRecordsIndex
    = "CREATE INDEX IF NOT EXISTS TreeDB_Deleted ON TreeDB (Deleted) WHERE Deleted = 1";
// The login-records window lists the logins of one user at a time.
inline constexpr const char* kLoginUserIndex = "CREATE INDEX IF NOT EXISTS PracovnikID_IDX ON Logs (PracovnikID)";

// What the upgrade found and did; the main window binds its folder tree and the group
// combo from it.
struct TUpgradeOutcome {
    bool FolderColumnsFound = false; // TreeDB had a column IDDB<n> before the upgrade
    QStringList AddedColumns; // TreeDB columns added (folder columns included)
    QStringList CreatedTables;
    int MigratedRecords = 0; // records moved from Deleted = 1 to the folder "1"
    int FirstGroupID = 0; // first row of MeasureNameList; 0 when there is none
    QString FirstGroupFolderTable; // "MeasureID<FirstGroupID>"; empty when there is none
    QStringList FailedSteps; // the error-file texts written
};

// The whole upgrade. The information boxes 839 (before) and 837 (after) tell the user
// when a database from before groups of folders is converted. GroupList is read again.
TUpgradeOutcome UpgradeDatabaseStructure(QSqlDatabase& db);

// Records marked Deleted = 1 become unmarked members of the deleted-records folder "1"
// of every group, in one post. Returns the number of records moved; -1 with Error when
// the post failed (then nothing changed).
int MigrateDeletedRecords(QSqlDatabase& db, QString* error = nullptr);

} // namespace orvek
