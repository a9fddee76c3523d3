#include "platform/sql_database.h"

#include "platform/collation.h"
#include "platform/sql_engine.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

namespace orvek {

namespace {

// How long a connection waits for another process's write before giving up.
constexpr int kBusyTimeoutMs = 10000;

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

bool IsPostgresDriver(const QSqlDriver* driver)
{
    return driver && driver->dbmsType() == QSqlDriver::PostgreSQL;
}

bool ExecPrepared(QSqlQuery& query, const QString& sql, const QVariantList& values)
{
    if (!query.prepare(sql))
        return false;
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    return query.exec();
}

QString QuoteLiteral(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace

sqlite3* SqliteHandleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

QString FolderDatabasePath(const QString& folder)
{
    if (IsServerLocation(folder))
        return folder;
    return QDir(folder).filePath(QString::fromLatin1(kFolderDatabaseFileName));
}

QString ThreadConnectionName(const QString& name)
{
    return name + QStringLiteral("@") + QString::number(reinterpret_cast<quintptr>(QThread::currentThread()), 16);
}

namespace {

// The connection to a server database. Nothing is created on the server but the
// program's functions: the database itself is made by the lab's administrator.
QSqlDatabase OpenServerDatabase(const QString& name, const QString& location, QString* error)
{
    TServerDatabase server;
    if (!ParseServerLocation(location, server, error))
        return QSqlDatabase();
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && db.driverName() == QLatin1String("QPSQL") && db.databaseName() == server.Database
            && db.hostName() == server.Host && db.port() == server.Port && db.userName() == server.User)
            return db;
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    const QString where = ServerDisplayName(server);
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        SetError(error,
            QStringLiteral("Cannot reach the database %1: the PostgreSQL driver of Qt (libqt6sql6-psql) is not installed")
                .arg(where));
        return QSqlDatabase();
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    // The location is kept as the connection's name of the database, so that a second
    // open finds it; the driver is given its parts through the options.
    QStringList options { QStringLiteral("connect_timeout=10"), QStringLiteral("application_name=Orvek") };
    if (!server.Service.isEmpty())
        options << QStringLiteral("service=") + server.Service;
    db.setHostName(server.Host);
    db.setPort(server.Port);
    db.setUserName(server.User);
    db.setDatabaseName(server.Database);
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open()) {
        SetError(error,
            QStringLiteral("Cannot connect to the database %1: %2").arg(where, db.lastError().text().trimmed()));
        return db;
    }
    QSqlQuery setup(db);
    if (!setup.exec(QStringLiteral("SET client_min_messages = warning"))
        || !EnsurePostgresFunctions(db, error)) {
        if (error && error->isEmpty())
            *error = setup.lastError().text();
        db.close();
        return db;
    }
    return db;
}

} // namespace

QSqlDatabase OpenFolderDatabase(
    const QString& connectionName, const QString& folder, bool createMissing, QString* error, TDurability durability)
{
    const QString name = ThreadConnectionName(connectionName);
    if (IsServerLocation(folder)) {
        QSqlDatabase db = OpenServerDatabase(name, folder, error);
        // The driver keeps the database's own name; the location names the connection.
        return db;
    }
    const QString path = QFileInfo(FolderDatabasePath(folder)).absoluteFilePath();
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && db.databaseName() == path)
            return db;
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    const bool existed = QFileInfo::exists(path);
    if (!createMissing && !existed) {
        SetError(error, QStringLiteral("Database file not found: %1").arg(path));
        return QSqlDatabase();
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
        SetError(error, db.lastError().text());
        return db;
    }
    QSqlQuery pragma(db);
    const char* synchronous = durability == TDurability::Scratch ? "PRAGMA synchronous=OFF" : "PRAGMA synchronous=FULL";
    for (const char* statement : { "PRAGMA journal_mode=DELETE", synchronous, "PRAGMA foreign_keys=ON" }) {
        if (!pragma.exec(QString::fromLatin1(statement))) {
            SetError(error, pragma.lastError().text());
            db.close();
            return db;
        }
    }
    if (!existed)
        SetDatabaseFileMode(path);
    if (!RegisterSlovakFunctions(SqliteHandleOf(db))) {
        SetError(error, QStringLiteral("Cannot register the Slovak collation on %1").arg(path));
        db.close();
    }
    return db;
}

bool SetDatabaseFileMode(const QString& path)
{
    return ::chmod(QFile::encodeName(path).constData(), kDatabaseFileMode) == 0;
}

void CloseFolderDatabase(const QString& connectionName)
{
    const QString name = ThreadConnectionName(connectionName);
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QString QuoteName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool ExecBound(QSqlQuery& query, const QString& sql, const QVariantList& values, QString* error)
{
    if (IsPostgresDriver(query.driver())) {
        const QString text = PostgresSql(sql);
        // The server prepares only queries and row changes: a statement without values
        // runs as it is.
        const bool ok = values.isEmpty() ? query.exec(text) : ExecPrepared(query, text, values);
        if (!ok)
            SetError(error, query.lastError().text());
        return ok;
    }
    if (!query.prepare(sql)) {
        SetError(error, query.lastError().text());
        return false;
    }
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec()) {
        SetError(error, query.lastError().text());
        return false;
    }
    return true;
}

bool PrepareQuery(QSqlQuery& query, const QString& sql)
{
    return query.prepare(IsPostgresDriver(query.driver()) ? PostgresSql(sql) : sql);
}

QVariant LastInsertId(QSqlDatabase& db, const QSqlQuery& query)
{
    if (!IsPostgres(db))
        return query.lastInsertId();
    QSqlQuery last(db);
    if (last.exec(QStringLiteral("SELECT lastval()")) && last.next())
        return last.value(0);
    return QVariant();
}

bool Post(QSqlDatabase& db, const std::function<bool(QString* error)>& work, QString* error)
{
    QSqlQuery control(db);
    for (const QString& begin : BeginWriteStatements(db)) {
        if (!control.exec(begin)) {
            SetError(error, control.lastError().text());
            if (IsPostgres(db))
                control.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    }
    QString workError;
    if (!work(&workError)) {
        control.exec(QStringLiteral("ROLLBACK"));
        SetError(error, workError);
        return false;
    }
    if (!control.exec(QStringLiteral("COMMIT"))) {
        SetError(error, control.lastError().text());
        control.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}

bool PostStatement(QSqlDatabase& db, const QString& sql, const QVariantList& values, QString* error, int* rowsAffected)
{
    return Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            if (!ExecBound(query, sql, values, workError))
                return false;
            if (rowsAffected)
                *rowsAffected = query.numRowsAffected();
            return true;
        },
        error);
}

bool TableExists(QSqlDatabase& db, const QString& table)
{
    QSqlQuery query(db);
    if (IsPostgres(db))
        return ExecBound(query,
                   QStringLiteral("SELECT 1 FROM pg_tables WHERE schemaname = current_schema() AND tablename = ?"),
                   { table.toLower() })
            && query.next();
    return ExecBound(query, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"), { table })
        && query.next();
}

QStringList TableNames(QSqlDatabase& db)
{
    QStringList names;
    QSqlQuery query(db);
    if (IsPostgres(db)) {
        if (ExecBound(query,
                QStringLiteral("SELECT tablename FROM pg_tables WHERE schemaname = current_schema() AND "
                               "tablename <> ? ORDER BY tablename"),
                { QString::fromLatin1(kPostgresMetaTable) }))
            while (query.next())
                names << query.value(0).toString();
        return names;
    }
    if (ExecBound(query,
            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                           "'sqlite!_%' ESCAPE '!' ORDER BY name")))
        while (query.next())
            names << query.value(0).toString();
    return names;
}

QStringList SplitSqlScript(const QString& script)
{
    QStringList statements;
    QString pending;
    for (const QString& line : script.split(QLatin1Char('\n'))) {
        if (pending.isEmpty() && (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1String("--"))))
            continue;
        pending += line + QLatin1Char('\n');
        if (sqlite3_complete(pending.toUtf8().constData())) {
            statements << pending.trimmed();
            pending.clear();
        }
    }
    if (!pending.trimmed().isEmpty())
        statements << pending.trimmed();
    return statements;
}

bool ExecScript(QSqlDatabase& db, const QString& script, QString* error)
{
    const QStringList statements = SplitSqlScript(script);
    return Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            for (const QString& statement : statements) {
                if (!query.exec(statement)) {
                    *workError = query.lastError().text() + QStringLiteral("\n") + statement.left(200);
                    return false;
                }
            }
            return true;
        },
        error);
}

QStringList ColumnNames(QSqlDatabase& db, const QString& table)
{
    QStringList names;
    QSqlQuery query(db);
    if (IsPostgres(db)) {
        if (ExecBound(query,
                QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_schema = "
                               "current_schema() AND table_name = ? ORDER BY ordinal_position"),
                { table.toLower() }))
            while (query.next())
                names << query.value(0).toString();
        return names;
    }
    if (query.exec(QStringLiteral("PRAGMA table_info(") + QuoteName(table) + QLatin1Char(')')))
        while (query.next())
            names << query.value(1).toString();
    return names;
}

int DeclaredFieldSize(QSqlDatabase& db, const QString& table, const QString& column)
{
    QSqlQuery query(db);
    if (IsPostgres(db))
        return ExecBound(query,
                   QStringLiteral("SELECT character_maximum_length FROM information_schema.columns WHERE "
                                  "table_schema = current_schema() AND table_name = ? AND column_name = ?"),
                   { table.toLower(), column.toLower() })
                && query.next() && !query.value(0).isNull()
            ? query.value(0).toInt()
            : -1;
    if (!query.exec(QStringLiteral("PRAGMA table_info(") + QuoteName(table) + QLatin1Char(')')))
        return -1;
    while (query.next()) {
        if (query.value(1).toString().compare(column, Qt::CaseInsensitive) != 0)
            continue;
        const QString type = query.value(2).toString();
        const qsizetype open = type.indexOf(QLatin1Char('(')), close = type.indexOf(QLatin1Char(')'));
        if (open < 0 || close <= open)
            return -1;
        bool ok = false;
        const int size = type.mid(open + 1, close - open - 1).trimmed().toInt(&ok);
        return ok ? size : -1;
    }
    return -1;
}

namespace {

// PostgreSQL: one trigger per table calls orvek_count_change with the table's name.
bool InstallPostgresChangeCounters(QSqlDatabase& db, QString* error)
{
    const QString counters = QString::fromLatin1(kChangeCounterTable).toLower();
    QSqlQuery query(db);
    if (!ExecBound(query,
            QStringLiteral("CREATE TABLE IF NOT EXISTS ") + counters
                + QStringLiteral(" (TableName TEXT NOT NULL PRIMARY KEY, Counter BIGINT NOT NULL DEFAULT 0)"),
            {}, error))
        return false;
    QStringList watched;
    if (!ExecBound(query,
            QStringLiteral("SELECT c.relname FROM pg_trigger t JOIN pg_class c ON c.oid = t.tgrelid "
                           "WHERE t.tgname LIKE 'cc!_%' ESCAPE '!' AND c.relnamespace = "
                           "to_regnamespace(current_schema())"),
            {}, error))
        return false;
    while (query.next())
        watched << query.value(0).toString();
    for (const QString& table : TableNames(db)) {
        if (table == counters)
            continue;
        if (!ExecBound(query,
                QStringLiteral("INSERT INTO ") + counters
                    + QStringLiteral(" (TableName, Counter) VALUES (?, 0) ON CONFLICT DO NOTHING"),
                { table }, error))
            return false;
        if (watched.contains(table))
            continue;
        if (!ExecBound(query,
                QStringLiteral("CREATE TRIGGER ") + QuoteName(QStringLiteral("cc_") + table)
                    + QStringLiteral(" AFTER INSERT OR UPDATE OR DELETE ON ") + QuoteName(table)
                    + QStringLiteral(" FOR EACH ROW EXECUTE FUNCTION orvek_count_change(") + QuoteLiteral(table)
                    + QStringLiteral(")"),
                {}, error))
            return false;
    }
    return true;
}

} // namespace

bool InstallChangeCountersInTransaction(QSqlDatabase& db, QString* error)
{
    if (IsPostgres(db))
        return InstallPostgresChangeCounters(db, error);
    const QString counters = QString::fromLatin1(kChangeCounterTable);
    QSqlQuery query(db);
    if (!ExecBound(query,
            QStringLiteral("CREATE TABLE IF NOT EXISTS ") + QuoteName(counters)
                + QStringLiteral(" (TableName TEXT NOT NULL PRIMARY KEY, Counter INTEGER NOT NULL DEFAULT 0)"),
            {}, error))
        return false;
    for (const QString& table : TableNames(db)) {
        if (table == counters)
            continue;
        if (!ExecBound(query,
                QStringLiteral("INSERT OR IGNORE INTO ") + QuoteName(counters)
                    + QStringLiteral(" (TableName, Counter) VALUES (?, 0)"),
                { table }, error))
            return false;
        const QString bump = QStringLiteral(" BEGIN UPDATE ") + QuoteName(counters)
            + QStringLiteral(" SET Counter = Counter + 1 WHERE TableName = ") + QuoteLiteral(table)
            + QStringLiteral("; END");
        const struct {
            const char* suffix;
            const char* event;
        } kinds[] = { { "_ins", "INSERT" }, { "_upd", "UPDATE" }, { "_del", "DELETE" } };
        for (const auto& kind : kinds) {
            const QString sql = QStringLiteral("CREATE TRIGGER IF NOT EXISTS ")
                + QuoteName(QStringLiteral("CC_") + table + QLatin1String(kind.suffix)) + QStringLiteral(" AFTER ")
                + QLatin1String(kind.event) + QStringLiteral(" ON ") + QuoteName(table) + bump;
            if (!ExecBound(query, sql, {}, error))
                return false;
        }
    }
    return true;
}

bool InstallChangeCounters(QSqlDatabase& db, QString* error)
{
    return Post(
        db, [&](QString* workError) { return InstallChangeCountersInTransaction(db, workError); }, error);
}

qint64 ReadChangeCounter(QSqlDatabase& db, const QString& table)
{
    QSqlQuery query(db);
    if (ExecBound(query,
            QStringLiteral("SELECT Counter FROM ") + QuoteName(QString::fromLatin1(kChangeCounterTable))
                + QStringLiteral(" WHERE TableName = ?"),
            { EngineName(db, table) })
        && query.next())
        return query.value(0).toLongLong();
    return -1;
}

qint64 DataVersion(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (IsPostgres(db)) {
        // The server has no data version: the sum of the change counters moves with
        // every row another workstation changes.
        if (ExecBound(query,
                QStringLiteral("SELECT coalesce(sum(Counter), 0) FROM ")
                    + QuoteName(QString::fromLatin1(kChangeCounterTable)))
            && query.next())
            return query.value(0).toLongLong();
        return -1;
    }
    if (query.exec(QStringLiteral("PRAGMA data_version")) && query.next())
        return query.value(0).toLongLong();
    return -1;
}

namespace {

QString RowChangeTriggerName(const QString& table)
{
    return table + QStringLiteral("_RowChangeCounter");
}

} // namespace

bool InstallRowChangeCounterInTransaction(
    QSqlDatabase& db, const QString& table, const QStringList& ignored, QString* error)
{
    const QString column = QStringLiteral("ChangeCounter");
    QStringList changes;
    for (const QString& name : ColumnNames(db, table)) {
        if (name.compare(column, Qt::CaseInsensitive) == 0 || ignored.contains(name, Qt::CaseInsensitive))
            continue;
        changes << QStringLiteral("NEW.") + QuoteName(name) + QStringLiteral(" IS NOT OLD.") + QuoteName(name);
    }
    if (changes.isEmpty()) {
        SetError(error, QStringLiteral("Table %1 has no columns to watch").arg(table));
        return false;
    }
    const QString name = RowChangeTriggerName(table);
    if (IsPostgres(db)) {
        // A trigger before the update raises the counter in the new row itself.
        const QString function = EngineName(db, name);
        QStringList tests;
        for (const QString& change : changes)
            tests << change;
        const QString body = PostgresSql(QStringLiteral(" BEGIN IF ")
            + tests.join(QStringLiteral(" OR ")).replace(QStringLiteral(" IS NOT "), QStringLiteral(" IS DISTINCT FROM "))
            + QStringLiteral(" THEN NEW.") + QuoteName(column) + QStringLiteral(" := OLD.") + QuoteName(column)
            + QStringLiteral(" + 1; END IF; RETURN NEW; END "));
        QSqlQuery query(db);
        if (ExecBound(query, QStringLiteral("SELECT prosrc FROM pg_proc WHERE proname = ?"), { function })
            && query.next() && query.value(0).toString() == PostgresSql(body))
            return true;
        return ExecBound(query,
                   QStringLiteral("CREATE OR REPLACE FUNCTION ") + QuoteName(name)
                       + QStringLiteral("() RETURNS trigger LANGUAGE plpgsql AS $$") + body + QStringLiteral("$$"),
                   {}, error)
            && ExecBound(query,
                QStringLiteral("CREATE OR REPLACE TRIGGER ") + QuoteName(name) + QStringLiteral(" BEFORE UPDATE ON ")
                    + QuoteName(table) + QStringLiteral(" FOR EACH ROW EXECUTE FUNCTION ") + QuoteName(name)
                    + QStringLiteral("()"),
                {}, error);
    }
    const QString create = QStringLiteral("CREATE TRIGGER ") + QuoteName(name) + QStringLiteral(" AFTER UPDATE ON ")
        + QuoteName(table) + QStringLiteral(" WHEN ") + changes.join(QStringLiteral(" OR "))
        + QStringLiteral(" BEGIN UPDATE ") + QuoteName(table) + QStringLiteral(" SET ") + QuoteName(column)
        + QStringLiteral(" = OLD.") + QuoteName(column) + QStringLiteral(" + 1 WHERE rowid = NEW.rowid; END");
    QSqlQuery query(db);
    // A trigger that already watches exactly these columns stays: rebuilding it would
    // change the schema under every other connection for nothing.
    if (ExecBound(query, QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'trigger' AND name = ?"), { name })
        && query.next() && query.value(0).toString() == create)
        return true;
    return ExecBound(query, QStringLiteral("DROP TRIGGER IF EXISTS ") + QuoteName(name), {}, error)
        && ExecBound(query, create, {}, error);
}

bool DropRowChangeCounterInTransaction(QSqlDatabase& db, const QString& table, QString* error)
{
    QSqlQuery query(db);
    if (IsPostgres(db))
        return ExecBound(query,
            QStringLiteral("DROP TRIGGER IF EXISTS ") + QuoteName(RowChangeTriggerName(table)) + QStringLiteral(" ON ")
                + QuoteName(table),
            {}, error);
    return ExecBound(
        query, QStringLiteral("DROP TRIGGER IF EXISTS ") + QuoteName(RowChangeTriggerName(table)), {}, error);
}

bool InstallRowChangeCounter(QSqlDatabase& db, const QString& table, const QStringList& ignored, QString* error)
{
    return Post(
        db, [&](QString* workError) { return InstallRowChangeCounterInTransaction(db, table, ignored, workError); },
        error);
}

namespace {

// PostgreSQL: the tables of the SQLite file SourcePath are made on the server in their
// PostgreSQL form, their rows copied, their identity counters set where the source's
// stopped and their indexes made; all in one post.
bool CopyMissingTablesToServer(
    QSqlDatabase& db, const QString& sourcePath, const QStringList& only, QStringList& done, QString* error)
{
    const QString connection = ThreadConnectionName(QStringLiteral("CopyMissingTablesSource"));
    bool ok = false;
    {
        QSqlDatabase source = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        source.setDatabaseName(sourcePath);
        source.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!source.open()) {
            SetError(error, source.lastError().text());
        } else {
            ok = Post(
                db,
                [&](QString* workError) {
                    QSqlQuery read(source);
                    if (!ExecBound(read,
                            QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name NOT "
                                           "LIKE 'sqlite!_%' ESCAPE '!' AND name <> ? ORDER BY name"),
                            { QString::fromLatin1(kChangeCounterTable) }, workError))
                        return false;
                    QList<std::pair<QString, QString>> tables;
                    while (read.next())
                        tables.append({ read.value(0).toString(), read.value(1).toString() });
                    const QStringList present = TableNames(db);
                    for (const auto& [name, sql] : tables) {
                        if (present.contains(name, Qt::CaseInsensitive)
                            || (!only.isEmpty() && !only.contains(name, Qt::CaseInsensitive)))
                            continue;
                        QSqlQuery step(db);
                        if (!ExecBound(step, sql, {}, workError))
                            return false;
                        QSqlQuery rows(source);
                        if (!ExecBound(rows, QStringLiteral("SELECT * FROM ") + QuoteName(name), {}, workError))
                            return false;
                        const QSqlRecord record = rows.record();
                        QStringList columns, marks;
                        for (int c = 0; c < record.count(); ++c) {
                            columns << QuoteName(record.fieldName(c));
                            marks << QStringLiteral("?");
                        }
                        const QString insert = QStringLiteral("INSERT INTO ") + QuoteName(name) + QStringLiteral(" (")
                            + columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (")
                            + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
                        while (rows.next()) {
                            QVariantList values;
                            for (int c = 0; c < record.count(); ++c)
                                values << rows.value(c);
                            if (!ExecBound(step, insert, values, workError))
                                return false;
                        }
                        // The identity of the table goes on after the source's counter and
                        // the largest ID: IDs are never given twice.
                        QSqlQuery sequence(source);
                        qint64 seq = 0;
                        if (ExecBound(sequence, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"),
                                { name })
                            && sequence.next())
                            seq = sequence.value(0).toLongLong();
                        if (sql.contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive)
                            && !ExecBound(step,
                                QStringLiteral("SELECT setval(pg_get_serial_sequence(?, 'id'), greatest(?, "
                                               "(SELECT coalesce(max(id), 0) FROM ")
                                    + QuoteName(name) + QStringLiteral("), 1), greatest(?, (SELECT coalesce(max(id), 0) FROM ")
                                    + QuoteName(name) + QStringLiteral(")) > 0)"),
                                { name.toLower(), seq, seq }, workError))
                            return false;
                        QSqlQuery extras(source);
                        if (!ExecBound(extras,
                                QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ? "
                                               "AND sql IS NOT NULL"),
                                { name }, workError))
                            return false;
                        while (extras.next())
                            if (!ExecBound(step, extras.value(0).toString(), {}, workError))
                                return false;
                        done << name;
                    }
                    return true;
                },
                error);
            source.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

} // namespace

bool CopyMissingTables(
    QSqlDatabase& db, const QString& sourcePath, const QStringList& only, QStringList* copied, QString* error)
{
    if (!QFileInfo::exists(sourcePath)) {
        SetError(error, QStringLiteral("Database file not found: %1").arg(sourcePath));
        return false;
    }
    if (IsPostgres(db)) {
        QStringList done;
        if (!CopyMissingTablesToServer(db, sourcePath, only, done, error))
            return false;
        if (copied)
            *copied = done;
        return done.isEmpty() || InstallChangeCounters(db, error);
    }
    QSqlQuery attach(db);
    if (!ExecBound(attach, QStringLiteral("ATTACH DATABASE ? AS source"), { sourcePath }, error))
        return false;
    QStringList done;
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            if (!ExecBound(query,
                    QStringLiteral("SELECT name, sql FROM source.sqlite_master WHERE type = 'table' AND name NOT "
                                   "LIKE 'sqlite!_%' ESCAPE '!' AND name <> ? ORDER BY name"),
                    { QString::fromLatin1(kChangeCounterTable) }, workError))
                return false;
            QList<std::pair<QString, QString>> tables;
            while (query.next())
                tables.append({ query.value(0).toString(), query.value(1).toString() });
            const QStringList present = TableNames(db);
            for (const auto& [name, sql] : tables) {
                if (present.contains(name, Qt::CaseInsensitive)
                    || (!only.isEmpty() && !only.contains(name, Qt::CaseInsensitive)))
                    continue;
                QSqlQuery step(db);
                if (!ExecBound(step, sql, {}, workError)
                    || !ExecBound(step,
                        QStringLiteral("INSERT INTO main.") + QuoteName(name) + QStringLiteral(" SELECT * FROM source.")
                            + QuoteName(name),
                        {}, workError))
                    return false;
                // Counters of the copied table go on where the source's stopped.
                if (ExecBound(step, QStringLiteral("SELECT seq FROM source.sqlite_sequence WHERE name = ?"), { name })
                    && step.next()) {
                    const qint64 seq = step.value(0).toLongLong();
                    if (!ExecBound(step, QStringLiteral("DELETE FROM main.sqlite_sequence WHERE name = ?"), { name },
                            workError)
                        || !ExecBound(step,
                            QStringLiteral("INSERT INTO main.sqlite_sequence (name, seq) VALUES (?, ?)"), { name, seq },
                            workError))
                        return false;
                }
                if (!ExecBound(step,
                        QStringLiteral("SELECT sql FROM source.sqlite_master WHERE type IN ('index', 'trigger') "
                                       "AND tbl_name = ? AND sql IS NOT NULL AND name NOT LIKE 'CC!_%' ESCAPE '!'"),
                        { name }, workError))
                    return false;
                QStringList extras;
                while (step.next())
                    extras << step.value(0).toString();
                for (const QString& extra : extras)
                    if (!ExecBound(step, extra, {}, workError))
                        return false;
                done << name;
            }
            return true;
        },
        error);
    attach.exec(QStringLiteral("DETACH DATABASE source"));
    if (!ok)
        return false;
    if (copied)
        *copied = done;
    return done.isEmpty() || InstallChangeCounters(db, error);
}

void CloseConnectionsTo(const QString& path)
{
    const QString target = QFileInfo(path).absoluteFilePath();
    const QString suffix = ThreadConnectionName(QString());
    for (const QString& name : QSqlDatabase::connectionNames()) {
        if (!name.endsWith(suffix))
            continue;
        bool match = false;
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            match = QFileInfo(db.databaseName()).absoluteFilePath() == target;
            if (match)
                db.close();
        }
        if (match)
            QSqlDatabase::removeDatabase(name);
    }
}

bool CopyDatabaseInto(sqlite3* from, sqlite3* into, const DatabaseCopyProgress& progress, bool* stopped, QString* error)
{
    if (stopped)
        *stopped = false;
    if (!from || !into) {
        SetError(error, QStringLiteral("The database is not open"));
        return false;
    }
    sqlite3_backup* copy = sqlite3_backup_init(into, "main", from, "main");
    if (!copy) {
        SetError(error, QString::fromUtf8(sqlite3_errmsg(into)));
        return false;
    }
    // Without a progress all pages go in one step; with one, a few pages a step. Either
    // way the target is written in one transaction that ends with the last step: until
    // then it can be left as it was.
    const int pagesPerStep = progress ? kCopyPagesPerStep : -1;
    int rc = SQLITE_OK;
    int busyRounds = 0;
    bool halted = false;
    while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        rc = sqlite3_backup_step(copy, pagesPerStep);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (++busyRounds > kCopyBusyRounds)
                break;
            sqlite3_sleep(50);
            continue;
        }
        busyRounds = 0;
        if (rc == SQLITE_OK && progress) {
            const int total = sqlite3_backup_pagecount(copy);
            if (!progress(total - sqlite3_backup_remaining(copy), total)) {
                halted = true;
                break;
            }
        }
    }
    sqlite3_backup_finish(copy);
    if (stopped)
        *stopped = halted;
    if (rc == SQLITE_DONE && !halted)
        return true;
    if (halted)
        SetError(error, QStringLiteral("The copy was stopped; the database is unchanged"));
    else if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        SetError(error, QStringLiteral("The database stayed locked by another connection"));
    else
        SetError(error,
            QString::fromUtf8(sqlite3_errstr(rc)) + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(into)));
    return false;
}

bool CopyDatabaseInto(
    QSqlDatabase& from, QSqlDatabase& into, const DatabaseCopyProgress& progress, bool* stopped, QString* error)
{
    return CopyDatabaseInto(SqliteHandleOf(from), SqliteHandleOf(into), progress, stopped, error);
}

bool ReadUserVersion(QSqlDatabase& db, qint64& value, QString* error)
{
    QSqlQuery query(db);
    if (IsPostgres(db)) {
        value = 0;
        if (!ExecBound(query, QStringLiteral("SELECT to_regclass(?) IS NOT NULL"),
                { QString::fromLatin1(kPostgresMetaTable) }, error)
            || !query.next())
            return false;
        if (!query.value(0).toBool())
            return true;
        if (!ExecBound(query,
                QStringLiteral("SELECT Value FROM ") + QString::fromLatin1(kPostgresMetaTable)
                    + QStringLiteral(" WHERE Name = 'user_version'"),
                {}, error))
            return false;
        if (query.next())
            value = query.value(0).toLongLong();
        return true;
    }
    if (!ExecBound(query, QStringLiteral("PRAGMA user_version"), {}, error))
        return false;
    if (!query.next()) {
        SetError(error, QStringLiteral("The database gives no user version"));
        return false;
    }
    value = query.value(0).toLongLong();
    return true;
}

bool WriteUserVersion(QSqlDatabase& db, qint64 value, QString* error)
{
    // A pragma takes no bound value; the number is written as digits.
    QSqlQuery query(db);
    if (IsPostgres(db)) {
        const QString meta = QString::fromLatin1(kPostgresMetaTable);
        return ExecBound(query,
                   QStringLiteral("CREATE TABLE IF NOT EXISTS ") + meta
                       + QStringLiteral(" (Name TEXT NOT NULL PRIMARY KEY, Value BIGINT NOT NULL)"),
                   {}, error)
            && ExecBound(query,
                QStringLiteral("INSERT INTO ") + meta
                    + QStringLiteral(" (Name, Value) VALUES ('user_version', ?) ON CONFLICT (Name) DO UPDATE SET "
                                     "Value = EXCLUDED.Value"),
                { qint64(qint32(value)) }, error);
    }
    return ExecBound(query, QStringLiteral("PRAGMA user_version = %1").arg(qint32(value)), {}, error);
}

void RemoveDatabaseFile(const QString& path)
{
    for (const char* suffix : { "", "-journal", "-wal", "-shm" })
        QFile::remove(path + QString::fromLatin1(suffix));
}

bool RemoveUnneededJournal(QSqlDatabase& db)
{
    sqlite3* handle = SqliteHandleOf(db);
    const char* file = handle ? sqlite3_db_filename(handle, "main") : nullptr;
    if (!file || !*file || !sqlite3_get_autocommit(handle))
        return false;
    const QString journal = QFile::decodeName(file) + QStringLiteral("-journal");
    if (!QFileInfo::exists(journal))
        return false;
    // The write lock, without waiting: while another connection writes, the journal is
    // its own. Taking the lock plays a hot journal back (and SQLite removes it then).
    sqlite3_busy_timeout(handle, 0);
    bool removed = false;
    if (sqlite3_exec(handle, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK) {
        // What is left is a journal SQLite does not count as hot: its first byte is 0
        // (the header of a journal is written last, when its pages are on disk) or it
        // is empty. A journal with a header is left alone, whatever kept it.
        QFile in(journal);
        char first = 0;
        const qint64 read = in.open(QIODevice::ReadOnly) ? in.read(&first, 1) : -1;
        in.close();
        if (read == 0 || (read == 1 && first == 0))
            removed = QFile::remove(journal);
        sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_busy_timeout(handle, kBusyTimeoutMs);
    return removed;
}

bool BackupDatabase(QSqlDatabase& db, const QString& targetPath, QString* error, const DatabaseCopyProgress& progress)
{
    sqlite3* source = SqliteHandleOf(db);
    if (IsPostgres(db)) {
        SetError(error, QStringLiteral("A backup of a server database is not made by the program yet; use pg_dump"));
        return false;
    }
    if (!source) {
        SetError(error, QStringLiteral("The database is not open"));
        return false;
    }
    // A journal left beside an earlier copy would be played back into the new one.
    RemoveDatabaseFile(targetPath);
    sqlite3* target = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(targetPath).constData(), &target) == SQLITE_OK;
    if (ok) {
        SetDatabaseFileMode(targetPath);
        ok = CopyDatabaseInto(source, target, progress, nullptr, error);
    } else {
        SetError(error, QString::fromUtf8(sqlite3_errmsg(target)));
    }
    sqlite3_close(target);
    if (!ok)
        RemoveDatabaseFile(targetPath);
    return ok;
}

} // namespace orvek
