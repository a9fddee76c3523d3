#pragma once
// The database of an alias folder: one SQLite file per folder (the string table's
// folder, the records database folder, the temporary folder), reached through QtSql.
// Every connection waits for a busy database instead of failing, writes each post
// through to disk (synchronous FULL, rollback journal) and knows the Slovak/Czech
// collation and case folding. Values are always bound; names go through QuoteName.

#include <QString>
#include <QVariantList>
#include <functional>

class QSqlDatabase;
class QSqlQuery;

namespace orvek {

// The file that holds the tables of an alias folder.
inline constexpr const char* kFolderDatabaseFileName = "Orvek.sqlite";

// Folder + the database file name (Folder with or without a trailing "/").
QString FolderDatabasePath(const QString& folder);

// Opens the database of Folder as the named connection of this thread, or returns the
// one already open on the same file. With CreateMissing False a missing file is an
// error instead of being created. On failure the result is not open and Error says why.
QSqlDatabase OpenFolderDatabase(const QString& connectionName, const QString& folder, bool createMissing,
                                QString* error = nullptr);
// Closes and forgets the named connection of this thread.
void CloseFolderDatabase(const QString& connectionName);
// The per-thread name under which a connection called Name is kept.
QString ThreadConnectionName(const QString& name);

// A table or column name as an SQL identifier: in double quotes, inner quotes doubled.
QString QuoteName(const QString& name);

// Prepares Sql on Query, binds Values to its "?" placeholders in order and runs it.
bool ExecBound(QSqlQuery& query, const QString& sql, const QVariantList& values = {}, QString* error = nullptr);

// Runs Work inside one write transaction (BEGIN IMMEDIATE ... COMMIT): committed when
// Work returns True, rolled back otherwise or when the commit fails.
bool Post(QSqlDatabase& db, const std::function<bool(QString* error)>& work, QString* error = nullptr);

// One bound statement as its own post; RowsAffected receives the count when given.
bool PostStatement(QSqlDatabase& db, const QString& sql, const QVariantList& values = {}, QString* error = nullptr,
                   int* rowsAffected = nullptr);

bool TableExists(QSqlDatabase& db, const QString& table);

}  // namespace orvek
