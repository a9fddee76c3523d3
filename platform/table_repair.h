#pragma once
// Verification and rebuild of the tables of a folder's database.
//
// Verify statuses:
//   0 the table is in order (SQLite's integrity check of the table and its indexes
//     found nothing);
//   1 the check found errors in the table's rows or indexes;
//   2 the database file cannot be read (not a database, or damaged where the check
//     itself cannot go on);
//   3 the table does not exist;
//   4 the database is locked by another connection for longer than the busy timeout;
//   5 any other failure of the check.

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace orvek {

enum VerifyStatus : int {
    kVerifyOk = 0,
    kVerifyDataErrors = 1,
    kVerifyUnreadable = 2,
    kVerifyMissing = 3,
    kVerifyBusy = 4,
    kVerifyFailed = 5,
};

// Progress: phase 0 schema, 1 indexes, 2 data, 8 repair; percentage done.
using RepairProgress = std::function<void(int phase, int percent)>;

// Checks Table of Folder's database; Detail receives the check's own messages.
int VerifyDatabaseTable(
    const QString& folder, const QString& table, QString* detail = nullptr, const RepairProgress& progress = {});

// True when every row of Table reads and the table passes the integrity check: the
// test that decides whether a table needs a rebuild.
bool TableReadsWhole(const QString& folder, const QString& table, QString* error = nullptr);

// What a rebuild carried over, per table.
struct RebuiltTable {
    QString table;
    qint64 carried = 0; // rows in the fresh table
    qint64 problems = 0; // rows read but refused (key violations), kept in PROBLEM
    qint64 unreadable = 0; // rows that could not be read (from the gaps of their IDs)
    bool unreadableRest = false; // the table could not be read past some point
};

struct RebuildResult {
    QString backupPath; // the copy of the damaged database kept in TempFolder (kLastRebuildCopy)
    QVector<RebuiltTable> tables;
    qint64 NotCarried(const QString& table) const;
};

// Rebuilds Folder's database. The live file is first opened through SQLite, so that a
// transaction a killed writer left is rolled back; then its readable rows (with row IDs,
// indexes, triggers and the counters of the autoinc keys) are carried into a fresh file
// in TempFolder, the rows a key refuses go to the table PROBLEM of TempFolder's database
// (table name, row ID, reason, row text), and the fresh content replaces the live file's
// through the online backup in one transaction (or, where SQLite can no longer write
// into the live file, by a rename while no journal of it exists). Journals are never
// deleted by hand. The damaged file is kept as TempFolder + kLastRebuildCopy until the
// next rebuild; working files of this or of an interrupted rebuild are removed.
// Connections of this thread to the file are closed first. False, with the live file
// left as it was, when the rebuild cannot be made or put in place.
bool RebuildDatabase(const QString& folder, const QString& tempFolder, RebuildResult* result, QString* error = nullptr,
    const RepairProgress& progress = {});

// The copy of the damaged file that the last rebuild keeps in the temporary folder.
inline constexpr const char* kLastRebuildCopy = "Rebuild-last.sqlite";

// Removes what interrupted rebuilds left in TempFolder (and, from earlier versions,
// beside the live file of DatabaseFolder); the last rebuild's copy stays.
void RemoveRebuildLeftovers(const QString& tempFolder, const QString& databaseFolder = QString());

// Tests follow a rebuild step by step: Hook is called after each step (with its name).
void SetRebuildStepHook(std::function<void(const char* step)> hook);

} // namespace orvek
