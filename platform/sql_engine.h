#pragma once
// The dialect seam: which engine a connection talks to (the embedded SQLite file of a
// folder, or a PostgreSQL server database shared by a lab's workstations) and the
// forms of the statements that are not plain SQL on each. The layers above write the
// SQL they always wrote; ExecBound and ExecScript hand it through EngineSql, which
// gives PostgreSQL its own form of what only SQLite understands.

#include <QString>

class QSqlDatabase;

namespace orvek {

enum class TSqlEngine { Sqlite, Postgres };

// An alias's location names either a folder (SQLite) or a server database:
//   postgresql://host[:port]/database[?user=role][&service=name]
// The password is never part of it: libpq takes it from ~/.pgpass or the service file.
struct TServerDatabase {
    QString Host;
    int Port = 5432;
    QString Database;
    QString User;
    QString Service;
};
bool IsServerLocation(const QString& location);
// False with Error when Location is not a well-formed server location.
bool ParseServerLocation(const QString& location, TServerDatabase& server, QString* error = nullptr);
// "host:port/database" (with "user@" when a role is named): how messages name the server.
QString ServerDisplayName(const TServerDatabase& server);

TSqlEngine EngineOf(const QSqlDatabase& db);
inline bool IsPostgres(const QSqlDatabase& db)
{
    return EngineOf(db) == TSqlEngine::Postgres;
}

// Sql in the form the engine of Db understands. On SQLite it is Sql itself. On
// PostgreSQL: quoted names are folded to lower case as unquoted ones are (so "TreeDB"
// and TreeDB name one table); INTEGER PRIMARY KEY AUTOINCREMENT becomes an identity
// column, REAL double precision and BLOB bytea; COLLATE SKCZ the ICU collation
// "sk-x-icu" and COLLATE NOCASE nothing; upper() and lower() fold Slovak and Czech
// letters through that collation, LIKE is ILIKE and ifnull() coalesce(); INSERT OR
// IGNORE ends in ON CONFLICT DO NOTHING and INSERT OR REPLACE in an update of the
// other columns when the first named column (the key) is taken.
QString EngineSql(const QSqlDatabase& db, const QString& sql);
QString PostgresSql(const QString& sql);

// The name under which the engine keeps a table or column named Name by the program
// (PostgreSQL folds names to lower case).
QString EngineName(const QSqlDatabase& db, const QString& name);

// The ICU collation that orders texts as the SKCZ collation of SQLite connections.
inline constexpr const char* kPostgresSlovakCollation = "sk-x-icu";
// The advisory lock every write transaction on PostgreSQL takes first: the writers of
// one database follow one another, as SQLite's BEGIN IMMEDIATE makes them, so that a
// read-then-write inside a post never loses another workstation's update.
inline constexpr qint64 kPostgresWriteLock = 0x4f52564b; // "ORVK"

// The statement that starts a write transaction (with its write lock) on Db's engine.
QStringList BeginWriteStatements(const QSqlDatabase& db);

// The table in which PostgreSQL keeps what SQLite keeps in its file header (the user
// version); it is no table of the program and no table list names it.
inline constexpr const char* kPostgresMetaTable = "orvek_meta";

// Creates on a server database the functions the other forms call (the Slovak upper
// and lower, the change counter of a table), when missing.
bool EnsurePostgresFunctions(QSqlDatabase& db, QString* error = nullptr);

} // namespace orvek
