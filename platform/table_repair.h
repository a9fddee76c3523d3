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
    QString backupPath; // the damaged database as it was, in TempFolder
    QVector<RebuiltTable> tables;
    qint64 NotCarried(const QString& table) const;
};

// Rebuilds Folder's database: copies the damaged file to TempFolder, carries every
// readable row of every table (keeping row IDs, indexes, triggers and the counters of
// the autoinc keys) into a fresh database file, puts the rows a key refuses into the
// table PROBLEM of TempFolder's database (table name, row ID, reason, row text) and
// then replaces the damaged file. Connections of this thread to the file are closed
// first. False, with the damaged file left in place, when the fresh file cannot be
// made.
bool RebuildDatabase(const QString& folder, const QString& tempFolder, RebuildResult* result, QString* error = nullptr,
    const RepairProgress& progress = {});

} // namespace orvek
