#include "platform/sql_database.h"

#include "platform/collation.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
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
    return QDir(folder).filePath(QString::fromLatin1(kFolderDatabaseFileName));
}

QString ThreadConnectionName(const QString& name)
{
    return name + QStringLiteral("@") + QString::number(reinterpret_cast<quintptr>(QThread::currentThread()), 16);
}

QSqlDatabase OpenFolderDatabase(
    const QString& connectionName, const QString& folder, bool createMissing, QString* error, TDurability durability)
{
    const QString name = ThreadConnectionName(connectionName);
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

bool Post(QSqlDatabase& db, const std::function<bool(QString* error)>& work, QString* error)
{
    QSqlQuery control(db);
    if (!control.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        SetError(error, control.lastError().text());
        return false;
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
    return ExecBound(query, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"), { table })
        && query.next();
}

QStringList TableNames(QSqlDatabase& db)
{
    QStringList names;
    QSqlQuery query(db);
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
    if (query.exec(QStringLiteral("PRAGMA table_info(") + QuoteName(table) + QLatin1Char(')')))
        while (query.next())
            names << query.value(1).toString();
    return names;
}

int DeclaredFieldSize(QSqlDatabase& db, const QString& table, const QString& column)
{
    QSqlQuery query(db);
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

bool InstallChangeCountersInTransaction(QSqlDatabase& db, QString* error)
{
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
            { table })
        && query.next())
        return query.value(0).toLongLong();
    return -1;
}

qint64 DataVersion(QSqlDatabase& db)
{
    QSqlQuery query(db);
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
    return ExecBound(
        query, QStringLiteral("DROP TRIGGER IF EXISTS ") + QuoteName(RowChangeTriggerName(table)), {}, error);
}

bool InstallRowChangeCounter(QSqlDatabase& db, const QString& table, const QStringList& ignored, QString* error)
{
    return Post(
        db, [&](QString* workError) { return InstallRowChangeCounterInTransaction(db, table, ignored, workError); },
        error);
}

bool CopyMissingTables(
    QSqlDatabase& db, const QString& sourcePath, const QStringList& only, QStringList* copied, QString* error)
{
    if (!QFileInfo::exists(sourcePath)) {
        SetError(error, QStringLiteral("Database file not found: %1").arg(sourcePath));
        return false;
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
