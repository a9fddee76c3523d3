#pragma once
// The database of an alias folder: one SQLite file per folder (the string table's
// folder, the records database folder, the temporary folder), reached through QtSql.
// Every connection waits for a busy database instead of failing, writes each post
// through to disk (synchronous FULL, rollback journal) and knows the Slovak/Czech
// collation and case folding. Values are always bound; names go through QuoteName.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>

class QSqlDatabase;
class QSqlQuery;
struct sqlite3;

namespace orvek {

// The file that holds the tables of an alias folder.
inline constexpr const char* kFolderDatabaseFileName = "Orvek.sqlite";

// Folder + the database file name (Folder with or without a trailing "/").
QString FolderDatabasePath(const QString& folder);

// Opens the database of Folder as the named connection of this thread, or returns the
// one already open on the same file. With CreateMissing False a missing file is an
// error instead of being created. On failure the result is not open and Error says why.
// A scratch database (one that is thrown away with the session, such as a window's undo
// history) is opened without syncs to disk: its writes need no durability.
enum class TDurability { Durable, Scratch };
QSqlDatabase OpenFolderDatabase(const QString& connectionName, const QString& folder, bool createMissing,
    QString* error = nullptr, TDurability durability = TDurability::Durable);
// Database files hold the users' password hashes: the program creates them, their
// journals (which take the file's mode) and their copies readable and writable by owner
// and group only; a folder shared between users is shared through its group.
inline constexpr unsigned kDatabaseFileMode = 0660;
bool SetDatabaseFileMode(const QString& path);

// Closes and forgets the named connection of this thread.
void CloseFolderDatabase(const QString& connectionName);
// The per-thread name under which a connection called Name is kept.
QString ThreadConnectionName(const QString& name);

// A table or column name as an SQL identifier: in double quotes, inner quotes doubled.
QString QuoteName(const QString& name);

// Prepares Sql on Query, binds Values to its "?" placeholders in order and runs it.
bool ExecBound(QSqlQuery& query, const QString& sql, const QVariantList& values = {}, QString* error = nullptr);

// The key the last INSERT on Db gave its row (SQLite's rowid, a PostgreSQL identity's
// last value in this session); invalid when there is none. Query is the INSERT.
QVariant LastInsertId(QSqlDatabase& db, const QSqlQuery& query);

// Prepares Sql on Query in the form of the query's engine (see EngineSql), for a
// statement run many times with values bound by the caller.
bool PrepareQuery(QSqlQuery& query, const QString& sql);

// Runs Work inside one write transaction (BEGIN IMMEDIATE ... COMMIT on SQLite; on
// PostgreSQL BEGIN with the database's one write lock, see BeginWriteStatements):
// committed when Work returns True, rolled back otherwise or when the commit fails.
bool Post(QSqlDatabase& db, const std::function<bool(QString* error)>& work, QString* error = nullptr);

// One bound statement as its own post; RowsAffected receives the count when given.
bool PostStatement(QSqlDatabase& db, const QString& sql, const QVariantList& values = {}, QString* error = nullptr,
    int* rowsAffected = nullptr);

bool TableExists(QSqlDatabase& db, const QString& table);

// The tables of the database (SQLite's own excluded), in name order.
QStringList TableNames(QSqlDatabase& db);

// The sqlite3 handle behind a QSQLITE connection, or null.
sqlite3* SqliteHandleOf(const QSqlDatabase& db);

// Splits a script into its statements (a trigger body stays whole) and runs each one
// on its own, all in one post. Lines starting with "--" are comments.
QStringList SplitSqlScript(const QString& script);
bool ExecScript(QSqlDatabase& db, const QString& script, QString* error = nullptr);

// The size n declared for a column as VARCHAR(n) (or CHAR(n)); -1 when the column has
// no declared size or does not exist.
int DeclaredFieldSize(QSqlDatabase& db, const QString& table, const QString& column);
QStringList ColumnNames(QSqlDatabase& db, const QString& table);

// Change counters: the table TableChangeCounters keeps one counter per table, raised
// by triggers on every inserted, updated and deleted row, so that statements touching
// many rows count too. InstallChangeCounters adds the triggers (and the counter row)
// to every table that lacks them; run it again after a table was created.
inline constexpr const char* kChangeCounterTable = "TableChangeCounters";
bool InstallChangeCounters(QSqlDatabase& db, QString* error = nullptr);
// The same inside the caller's write transaction (see Post), for schema changes that
// must stand or fall together with the tables they count.
bool InstallChangeCountersInTransaction(QSqlDatabase& db, QString* error = nullptr);
// The counter of Table; -1 when it has none.
qint64 ReadChangeCounter(QSqlDatabase& db, const QString& table);
// SQLite's data version of the connection: it changes when another connection commits.
qint64 DataVersion(QSqlDatabase& db);

// Row change counter: an AFTER UPDATE trigger raises the column ChangeCounter of the
// row when any column but ChangeCounter and those in Ignored changed. Rebuilt from the
// table's current columns, so run it again after a column was added.
bool InstallRowChangeCounter(
    QSqlDatabase& db, const QString& table, const QStringList& ignored, QString* error = nullptr);
// The same inside the caller's write transaction; a trigger that already watches exactly
// these columns is left as it is.
bool InstallRowChangeCounterInTransaction(
    QSqlDatabase& db, const QString& table, const QStringList& ignored, QString* error = nullptr);
// Removes the row change counter of Table inside the caller's write transaction. SQLite
// refuses to drop a column that the trigger names, so the trigger goes first.
bool DropRowChangeCounterInTransaction(QSqlDatabase& db, const QString& table, QString* error = nullptr);

// Creates in Db every table (with its indexes and triggers) of the database file
// SourcePath that Db lacks, with the source's rows, in one post; Only, when not
// empty, limits the copy to those tables. Copied receives the names.
bool CopyMissingTables(QSqlDatabase& db, const QString& sourcePath, const QStringList& only = {},
    QStringList* copied = nullptr, QString* error = nullptr);

// Closes every connection of this thread open on the database file Path.
void CloseConnectionsTo(const QString& path);

// Progress of a database copy: pages copied and pages in all. Answering False stops it.
using DatabaseCopyProgress = std::function<bool(int done, int total)>;
// Pages a copy with a progress takes per step, and how often in a row it waits 50 ms
// for a database another connection keeps busy before it gives up.
inline constexpr int kCopyPagesPerStep = 16;
inline constexpr int kCopyBusyRounds = 200;

// The one way the program copies a live database: the whole database of From goes over
// the database of Into through SQLite's online backup, in one write transaction of Into.
// Into then holds all of From, or, when the copy fails or Progress stops it (Stopped
// says so), what it held before. A source changed meanwhile by another connection is
// copied again from the start.
bool CopyDatabaseInto(sqlite3* from, sqlite3* into, const DatabaseCopyProgress& progress = {}, bool* stopped = nullptr,
    QString* error = nullptr);
bool CopyDatabaseInto(QSqlDatabase& from, QSqlDatabase& into, const DatabaseCopyProgress& progress = {},
    bool* stopped = nullptr, QString* error = nullptr);

// Copies the live database of Db into the file TargetPath, made anew with
// kDatabaseFileMode; a copy that fails leaves neither the file nor a journal of it.
bool BackupDatabase(
    QSqlDatabase& db, const QString& targetPath, QString* error = nullptr, const DatabaseCopyProgress& progress = {});

// The application-owned number in the database file's header (SQLite's user_version),
// which travels with every copy of the database.
bool ReadUserVersion(QSqlDatabase& db, qint64& value, QString* error = nullptr);
bool WriteUserVersion(QSqlDatabase& db, qint64 value, QString* error = nullptr);

// Removes a database file with its journal (and a WAL pair, should there be one).
void RemoveDatabaseFile(const QString& path);

// Removes the rollback journal beside the database of Db when SQLite no longer needs
// it: a process stopped before it wrote the journal's header (a copy killed early)
// leaves a journal that SQLite never plays back but keeps on disk until the next write.
// A hot journal is played back by SQLite first; nothing is removed while another
// connection writes (its journal is live) or while Db is inside a transaction. True
// when a journal was removed.
bool RemoveUnneededJournal(QSqlDatabase& db);

} // namespace orvek
