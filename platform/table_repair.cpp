#include "platform/table_repair.h"

#include "platform/sql_database.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>
#include <limits>
#include <memory>

namespace orvek {

namespace {

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// A plain SQLite handle closed on scope exit.
struct Handle {
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close_v2(db); }
    QString Message() const { return QString::fromUtf8(sqlite3_errmsg(db)); }
};

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

bool OpenHandle(const QString& path, Handle& handle, int flags, QString* error)
{
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle.db, flags, nullptr) != SQLITE_OK) {
        SetError(error, handle.Message());
        return false;
    }
    sqlite3_busy_timeout(handle.db, 10000);
    return true;
}

bool Exec(Handle& handle, const QString& sql, QString* error = nullptr)
{
    char* message = nullptr;
    if (sqlite3_exec(handle.db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        SetError(
            error, QString::fromUtf8(message ? message : "") + QStringLiteral(" (") + sql.left(120) + QLatin1Char(')'));
        sqlite3_free(message);
        return false;
    }
    return true;
}

int StatusOfError(int code)
{
    switch (code & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return kVerifyUnreadable;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return kVerifyBusy;
    default:
        return kVerifyFailed;
    }
}

QString ValueText(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return QStringLiteral("NULL");
    case SQLITE_BLOB:
        return QStringLiteral("<%1 bytes>").arg(sqlite3_column_bytes(stmt, column));
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)));
    }
}

struct Problem {
    QString table;
    qint64 rowId;
    QString reason;
    QString text;
};

// Copies the readable rows of Table from Source to Target. A damaged part of the
// table is stepped over by searching for the first row ID after it that reads.
void SalvageTable(Handle& source, Handle& target, const QString& table, RebuiltTable& out, QVector<Problem>& problems,
    const RepairProgress& progress)
{
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    const QByteArray quoted = QuoteName(table).toUtf8();
    Statement count;
    qint64 total = 0;
    if (sqlite3_prepare_v2(source.db, "SELECT max(rowid) FROM " + quoted, -1, &count.stmt, nullptr) == SQLITE_OK
        && sqlite3_step(count.stmt) == SQLITE_ROW)
        total = sqlite3_column_int64(count.stmt, 0);

    Statement read;
    if (sqlite3_prepare_v2(
            source.db, "SELECT rowid, * FROM " + quoted + " WHERE rowid >= ?1 ORDER BY rowid", -1, &read.stmt, nullptr)
        != SQLITE_OK) {
        out.unreadableRest = true;
        return;
    }
    const int columns = sqlite3_column_count(read.stmt) - 1;
    QByteArray insertSql = "INSERT INTO " + quoted + " (rowid";
    for (int c = 1; c <= columns; ++c)
        insertSql += ", " + QuoteName(QString::fromUtf8(sqlite3_column_name(read.stmt, c))).toUtf8();
    insertSql += ") VALUES (?" + QByteArray(", ?").repeated(columns) + ")";
    Statement insert;
    if (sqlite3_prepare_v2(target.db, insertSql.constData(), -1, &insert.stmt, nullptr) != SQLITE_OK) {
        out.unreadableRest = true;
        return;
    }
    Statement seek;
    sqlite3_prepare_v2(source.db, "SELECT rowid FROM " + quoted + " WHERE rowid >= ?1 ORDER BY rowid LIMIT 1", -1,
        &seek.stmt, nullptr);
    // Step result of a seek to the first row ID >= X: SQLITE_ROW (with the ID),
    // SQLITE_DONE (nothing after X) or an error (X lies in a damaged part).
    const auto seekFrom = [&](qint64 x, qint64* found) {
        sqlite3_reset(seek.stmt);
        sqlite3_bind_int64(seek.stmt, 1, x);
        const int rc = sqlite3_step(seek.stmt);
        if (rc == SQLITE_ROW)
            *found = sqlite3_column_int64(seek.stmt, 0);
        return rc;
    };

    // Seeking to a row ID inside a damaged page fails, so each round starts at a row
    // ID known to read (Next), never at the last one read.
    qint64 last = 0; // IDs of a table start at 1
    qint64 next = std::numeric_limits<qint64>::min();
    for (;;) {
        const qint64 roundStart = next;
        sqlite3_reset(read.stmt);
        sqlite3_bind_int64(read.stmt, 1, next);
        int rc;
        while ((rc = sqlite3_step(read.stmt)) == SQLITE_ROW) {
            const qint64 rowId = sqlite3_column_int64(read.stmt, 0);
            sqlite3_reset(insert.stmt);
            for (int c = 0; c <= columns; ++c)
                sqlite3_bind_value(insert.stmt, c + 1, sqlite3_column_value(read.stmt, c));
            if (sqlite3_step(insert.stmt) == SQLITE_DONE) {
                ++out.carried;
            } else {
                QStringList values;
                for (int c = 1; c <= columns; ++c)
                    values << ValueText(read.stmt, c);
                problems.append(
                    { table, rowId, QString::fromUtf8(sqlite3_errmsg(target.db)), values.join(QLatin1Char('\t')) });
                ++out.problems;
            }
            last = rowId;
            next = rowId == kMax ? kMax : rowId + 1;
            if (progress && total > 0 && rowId % 256 == 0)
                progress(8, int(qMin<qint64>(100, rowId * 100 / total)));
        }
        if (rc == SQLITE_DONE || last == kMax)
            return;

        // Find the smallest X > Last from which a seek works: grow the step until one
        // does, then narrow down between the last failing and the first working X.
        qint64 bad = last, good = -1, found = 0;
        for (qint64 step = 1;; step = step > kMax / 2 ? kMax : step * 2) {
            const qint64 x = last > kMax - step ? kMax : last + step;
            const int s = seekFrom(x, &found);
            if (s == SQLITE_ROW || s == SQLITE_DONE) {
                good = x;
                break;
            }
            bad = x;
            if (x == kMax)
                break;
        }
        if (good < 0) {
            out.unreadableRest = true;
            return;
        }
        while (good - bad > 1) {
            const qint64 mid = bad + (good - bad) / 2;
            const int s = seekFrom(mid, &found);
            if (s == SQLITE_ROW || s == SQLITE_DONE)
                good = mid;
            else
                bad = mid;
        }
        if (seekFrom(good, &found) != SQLITE_ROW) {
            out.unreadableRest = true; // nothing readable after the damage
            return;
        }
        if (found == roundStart) {
            out.unreadableRest = true; // the row that seeks well does not read
            return;
        }
        out.unreadable += found - last - 1;
        next = found;
    }
}

bool WriteProblems(const QString& tempFolder, const QVector<Problem>& problems, QString* error)
{
    const QString connection = QStringLiteral("RebuildProblems");
    bool ok = false;
    {
        QSqlDatabase db = OpenFolderDatabase(connection, tempFolder, true, error);
        ok = db.isOpen()
            && PostStatement(db,
                QStringLiteral("CREATE TABLE IF NOT EXISTS PROBLEM (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                               "TableName TEXT, SourceRowID INTEGER, Reason TEXT, RowText TEXT)"),
                {}, error)
            && Post(
                db,
                [&](QString* workError) {
                    QSqlQuery query(db);
                    for (const Problem& p : problems)
                        if (!ExecBound(query,
                                QStringLiteral("INSERT INTO PROBLEM (TableName, SourceRowID, Reason, RowText) "
                                               "VALUES (?, ?, ?, ?)"),
                                { p.table, p.rowId, p.reason, p.text }, workError))
                            return false;
                    return true;
                },
                error);
    }
    CloseFolderDatabase(connection);
    return ok;
}

std::function<void(const char*)> g_rebuildStepHook;

void RebuildStep(const char* name)
{
    if (g_rebuildStepHook)
        g_rebuildStepHook(name);
}

void CarryAutoincCounters(Handle& source, Handle& target)
{
    Statement sequences;
    if (sqlite3_prepare_v2(source.db, "SELECT name, seq FROM sqlite_sequence", -1, &sequences.stmt, nullptr)
        != SQLITE_OK)
        return;
    while (sqlite3_step(sequences.stmt) == SQLITE_ROW) {
        const QString name = ValueText(sequences.stmt, 0);
        const qint64 seq = sqlite3_column_int64(sequences.stmt, 1);
        Statement update;
        if (sqlite3_prepare_v2(
                target.db, "UPDATE sqlite_sequence SET seq = max(seq, ?2) WHERE name = ?1", -1, &update.stmt, nullptr)
            == SQLITE_OK) {
            sqlite3_bind_text(update.stmt, 1, name.toUtf8().constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(update.stmt, 2, seq);
            sqlite3_step(update.stmt);
        }
        // A table that carried no row has no counter row yet.
        if (sqlite3_changes(target.db) == 0) {
            Statement insert;
            if (sqlite3_prepare_v2(
                    target.db, "INSERT INTO sqlite_sequence (name, seq) VALUES (?1, ?2)", -1, &insert.stmt, nullptr)
                == SQLITE_OK) {
                sqlite3_bind_text(insert.stmt, 1, name.toUtf8().constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int64(insert.stmt, 2, seq);
                sqlite3_step(insert.stmt);
            }
        }
    }
}

// Puts the content of Fresh in the place of the live file Live: through the online
// backup into the live file, in one transaction, when SQLite can still write into it;
// otherwise (its header is unreadable) by a rename, but only while no journal of it
// exists, since SQLite would play a journal back into the new file.
bool PutInPlace(const QString& fresh, const QString& live, QString* error)
{
    {
        Handle from, into;
        QString copyError;
        if (OpenHandle(fresh, from, SQLITE_OPEN_READONLY, &copyError)
            && OpenHandle(live, into, SQLITE_OPEN_READWRITE, &copyError)
            && CopyDatabaseInto(from.db, into.db, {}, nullptr, &copyError))
            return true;
    }
    if (QFileInfo::exists(live + QStringLiteral("-journal"))) {
        SetError(
            error, QStringLiteral("%1 cannot be replaced: it has a journal that SQLite cannot play back").arg(live));
        return false;
    }
    // Beside the live file first, so that the rename stays on one file system.
    const QString beside = live + QStringLiteral(".rebuild");
    RemoveDatabaseFile(beside);
    if (!QFile::copy(fresh, beside)) {
        SetError(error, QStringLiteral("Cannot copy the rebuilt database to %1").arg(beside));
        return false;
    }
    SetDatabaseFileMode(beside);
    if (std::rename(QFile::encodeName(beside).constData(), QFile::encodeName(live).constData()) != 0) {
        SetError(error, QStringLiteral("Cannot replace %1").arg(live));
        QFile::remove(beside);
        return false;
    }
    return true;
}

} // namespace

int VerifyDatabaseTable(const QString& folder, const QString& table, QString* detail, const RepairProgress& progress)
{
    const QString path = FolderDatabasePath(folder);
    if (!QFileInfo::exists(path))
        return kVerifyMissing;
    Handle handle;
    if (!OpenHandle(path, handle, SQLITE_OPEN_READWRITE, detail))
        return kVerifyUnreadable;
    if (progress)
        progress(0, 0);
    Statement exists;
    int rc = sqlite3_prepare_v2(
        handle.db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?1", -1, &exists.stmt, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_text(exists.stmt, 1, table.toUtf8().constData(), -1, SQLITE_TRANSIENT);
        rc = sqlite3_step(exists.stmt);
    }
    if (rc != SQLITE_ROW) {
        SetError(detail, handle.Message());
        return StatusOfError(sqlite3_extended_errcode(handle.db));
    }
    if (sqlite3_column_int(exists.stmt, 0) == 0)
        return kVerifyMissing;
    if (progress) {
        progress(0, 100);
        progress(1, 0);
    }
    Statement check;
    rc = sqlite3_prepare_v2(
        handle.db, ("PRAGMA integrity_check(" + QuoteName(table) + ")").toUtf8().constData(), -1, &check.stmt, nullptr);
    QStringList messages;
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(check.stmt);
        if (rc == SQLITE_ROW)
            messages << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check.stmt, 0)));
    }
    if (rc != SQLITE_DONE) {
        SetError(detail, handle.Message());
        return StatusOfError(sqlite3_extended_errcode(handle.db));
    }
    if (progress) {
        progress(1, 100);
        progress(2, 100);
    }
    if (messages == QStringList { QStringLiteral("ok") })
        return kVerifyOk;
    SetError(detail, messages.join(QLatin1Char('\n')));
    return kVerifyDataErrors;
}

bool TableReadsWhole(const QString& folder, const QString& table, QString* error)
{
    QString detail;
    const int status = VerifyDatabaseTable(folder, table, &detail);
    if (status != kVerifyOk) {
        SetError(error, detail.isEmpty() ? QStringLiteral("Verify status %1").arg(status) : detail);
        return false;
    }
    Handle handle;
    if (!OpenHandle(FolderDatabasePath(folder), handle, SQLITE_OPEN_READONLY, error))
        return false;
    Statement read;
    int rc = sqlite3_prepare_v2(
        handle.db, ("SELECT * FROM " + QuoteName(table)).toUtf8().constData(), -1, &read.stmt, nullptr);
    const int columns = sqlite3_column_count(read.stmt);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(read.stmt);
        if (rc == SQLITE_ROW)
            for (int c = 0; c < columns; ++c)
                sqlite3_column_bytes(read.stmt, c); // makes the record's overflow pages load
    }
    if (rc != SQLITE_DONE) {
        SetError(error, handle.Message());
        return false;
    }
    return true;
}

qint64 RebuildResult::NotCarried(const QString& table) const
{
    for (const RebuiltTable& t : tables)
        if (t.table == table)
            return t.problems + t.unreadable;
    return 0;
}

bool RebuildDatabase(const QString& folder, const QString& tempFolder, RebuildResult* result, QString* error,
    const RepairProgress& progress)
{
    const QString damaged = QFileInfo(FolderDatabasePath(folder)).absoluteFilePath();
    if (!QFileInfo::exists(damaged)) {
        SetError(error, QStringLiteral("Database file not found: %1").arg(damaged));
        return false;
    }
    CloseConnectionsTo(damaged);
    QDir().mkpath(tempFolder);
    RemoveRebuildLeftovers(tempFolder, folder);
    const QDir temp(tempFolder);
    RebuildResult out;

    // The live file is opened through SQLite first: a transaction that a writer left
    // unfinished (a hot journal) is rolled back now, so its rollback is never lost.
    {
        Handle live;
        if (OpenHandle(damaged, live, SQLITE_OPEN_READWRITE, nullptr))
            Exec(live, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    }
    RebuildStep("journal settled");
    // The damaged file as it is now (with a journal SQLite could not play back) is kept
    // aside, and the rows are read from a second copy, so the live file stays untouched
    // until it is replaced.
    const QString kept = temp.filePath(QStringLiteral("Rebuild-work-damaged.sqlite"));
    const QString salvageCopy = temp.filePath(QStringLiteral("Rebuild-work-read.sqlite"));
    const QString fresh = temp.filePath(QStringLiteral("Rebuild-work-fresh.sqlite"));
    const QString journal = damaged + QStringLiteral("-journal");
    for (const QString& copy : { kept, salvageCopy }) {
        if (!QFile::copy(damaged, copy)
            || (QFileInfo::exists(journal) && !QFile::copy(journal, copy + QStringLiteral("-journal")))) {
            SetError(error, QStringLiteral("Cannot copy %1 to %2").arg(damaged, copy));
            RemoveRebuildLeftovers(tempFolder, folder);
            return false;
        }
        SetDatabaseFileMode(copy);
    }
    RebuildStep("damaged file copied");

    QVector<Problem> problems;
    bool ok = false;
    {
        Handle source, target;
        ok = OpenHandle(salvageCopy, source, SQLITE_OPEN_READWRITE, error)
            && OpenHandle(fresh, target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error)
            && Exec(target, QStringLiteral("PRAGMA journal_mode=DELETE"), error)
            && Exec(target, QStringLiteral("BEGIN IMMEDIATE"), error);
        SetDatabaseFileMode(fresh);
        struct Object {
            QString type, name, table, sql;
        };
        QVector<Object> objects;
        if (ok) {
            Statement schema;
            int rc = sqlite3_prepare_v2(source.db,
                "SELECT type, name, tbl_name, sql FROM sqlite_master WHERE sql IS NOT NULL "
                "AND name NOT LIKE 'sqlite!_%' ESCAPE '!' ORDER BY rowid",
                -1, &schema.stmt, nullptr);
            while (rc == SQLITE_OK || rc == SQLITE_ROW) {
                rc = sqlite3_step(schema.stmt);
                if (rc == SQLITE_ROW)
                    objects.append({ ValueText(schema.stmt, 0), ValueText(schema.stmt, 1), ValueText(schema.stmt, 2),
                        ValueText(schema.stmt, 3) });
            }
            if (rc != SQLITE_DONE) {
                SetError(error, QStringLiteral("The list of tables cannot be read: ") + source.Message());
                ok = false;
            }
        }
        // Tables and indexes first, so that a key refuses a row as it is carried over;
        // triggers last, so that carrying rows over fires none of them.
        for (const char* type : { "table", "index" })
            for (const Object& o : objects)
                if (ok && o.type == QLatin1String(type))
                    ok = Exec(target, o.sql, error);
        for (const Object& o : objects) {
            if (!ok || o.type != QLatin1String("table"))
                continue;
            RebuiltTable table;
            table.table = o.name;
            SalvageTable(source, target, o.name, table, problems, progress);
            out.tables.append(table);
        }
        // The counters of the autoinc keys never go back, so no ID is given twice.
        if (ok)
            CarryAutoincCounters(source, target);
        for (const Object& o : objects)
            if (ok && o.type == QLatin1String("trigger"))
                ok = Exec(target, o.sql, error);
        ok = ok && Exec(target, QStringLiteral("COMMIT"), error);
    }
    RebuildStep("fresh file built");
    ok = ok && (problems.isEmpty() || WriteProblems(tempFolder, problems, error));
    ok = ok && PutInPlace(fresh, damaged, error);
    if (!ok) {
        RemoveRebuildLeftovers(tempFolder, folder);
        return false;
    }
    RebuildStep("rebuilt file in place");
    // The damaged file stays as the last rebuild's copy until the next rebuild; the
    // working files go.
    out.backupPath = temp.filePath(QString::fromLatin1(kLastRebuildCopy));
    RemoveDatabaseFile(out.backupPath);
    if (!QFile::rename(kept, out.backupPath))
        out.backupPath.clear();
    QFile::remove(kept + QStringLiteral("-journal"));
    RemoveRebuildLeftovers(tempFolder, folder);
    if (progress)
        progress(8, 100);
    if (result)
        *result = out;
    return true;
}

void RemoveRebuildLeftovers(const QString& tempFolder, const QString& databaseFolder)
{
    const QDir temp(tempFolder);
    // The working files of this version, and the copies that earlier versions kept.
    for (const QString& name : temp.entryList(
             { QStringLiteral("Rebuild-work-*"), QStringLiteral("Backup-*.sqlite*") }, QDir::Files | QDir::Hidden))
        QFile::remove(temp.filePath(name));
    if (!databaseFolder.isEmpty())
        RemoveDatabaseFile(FolderDatabasePath(databaseFolder) + QStringLiteral(".rebuild"));
}

void SetRebuildStepHook(std::function<void(const char* step)> hook)
{
    g_rebuildStepHook = std::move(hook);
}

} // namespace orvek
