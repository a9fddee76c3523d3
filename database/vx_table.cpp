#include "database/vx_table.h"

#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <sqlite3.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace orvek {

namespace {

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

QSqlDatabase TVxTable::Database(QString* error)
{
    if (!session_) {
        SetError(error, QStringLiteral("The table %1 has no session").arg(TableName));
        return QSqlDatabase();
    }
    return session_->Database(DatabaseName, false, error);
}

bool TVxTable::Exists()
{
    QSqlDatabase db = Database();
    return db.isOpen() && TableExists(db, TableName);
}

bool TVxTable::Open(QString* error)
{
    active_ = false;
    QSqlDatabase db = Database(error);
    if (!db.isOpen())
        return false;
    if (!TableExists(db, TableName)) {
        SetError(error, QStringLiteral("Table %1 does not exist").arg(TableName));
        return false;
    }
    if (!session_->MayOpenTable(db, TableName)) {
        SetError(error, QStringLiteral("The password of table %1 is not known").arg(TableName));
        return false;
    }
    active_ = true;
    return true;
}

qint64 TVxTable::Append(const QVariantMap& values, QString* error)
{
    if (!active_) {
        SetError(error, QStringLiteral("Table %1 is not open").arg(TableName));
        return -1;
    }
    QSqlDatabase db = Database(error);
    QStringList columns, marks;
    QVariantList bound;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        columns << QuoteName(it.key());
        marks << QStringLiteral("?");
        bound << it.value();
    }
    const QString sql = columns.isEmpty()
        ? QStringLiteral("INSERT INTO ") + QuoteName(TableName) + QStringLiteral(" DEFAULT VALUES")
        : QStringLiteral("INSERT INTO ") + QuoteName(TableName) + QStringLiteral(" (")
            + columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", "))
            + QLatin1Char(')');
    qint64 id = -1;
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            if (!ExecBound(query, sql, bound, workError))
                return false;
            id = LastInsertId(db, query).toLongLong();
            return true;
        },
        error);
    return ok ? id : -1;
}

bool TVxTable::Update(qint64 id, const QVariantMap& values, QString* error)
{
    if (!active_) {
        SetError(error, QStringLiteral("Table %1 is not open").arg(TableName));
        return false;
    }
    if (values.isEmpty())
        return true;
    QSqlDatabase db = Database(error);
    QStringList sets;
    QVariantList bound;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        sets << QuoteName(it.key()) + QStringLiteral(" = ?");
        bound << it.value();
    }
    bound << id;
    int rows = 0;
    if (!PostStatement(db,
            QStringLiteral("UPDATE ") + QuoteName(TableName) + QStringLiteral(" SET ") + sets.join(QStringLiteral(", "))
                + QStringLiteral(" WHERE rowid = ?"),
            bound, error, &rows))
        return false;
    if (rows != 1) {
        SetError(error, QStringLiteral("Table %1 has no row %2").arg(TableName).arg(id));
        return false;
    }
    return true;
}

bool TVxTable::Delete(qint64 id, QString* error)
{
    if (!active_) {
        SetError(error, QStringLiteral("Table %1 is not open").arg(TableName));
        return false;
    }
    QSqlDatabase db = Database(error);
    return PostStatement(
        db, QStringLiteral("DELETE FROM ") + QuoteName(TableName) + QStringLiteral(" WHERE rowid = ?"), { id }, error);
}

QVariantMap TVxTable::Row(qint64 id)
{
    QVariantMap row;
    if (!active_)
        return row;
    QSqlDatabase db = Database();
    // The columns are named, never "*": when another connection adds a column, SQLite
    // prepares a "*" statement again with more columns than the driver allotted for it.
    QStringList columns;
    for (const QString& column : ColumnNames(db, TableName))
        columns << QuoteName(column);
    if (columns.isEmpty())
        return row;
    QSqlQuery query(db);
    if (ExecBound(query,
            QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
                + QuoteName(TableName) + QStringLiteral(" WHERE rowid = ?"),
            { id })
        && query.next()) {
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i), query.value(i));
    }
    return row;
}

bool FlushTable(TVxTable& table, QString* error)
{
    QSqlDatabase db = table.Database(error);
    if (!db.isOpen())
        return false;
    sqlite3* handle = SqliteHandleOf(db);
    if (handle && sqlite3_get_autocommit(handle) == 0) {
        QSqlQuery commit(db);
        if (!commit.exec(QStringLiteral("COMMIT"))) {
            SetError(error, commit.lastError().text());
            return false;
        }
    }
    return true;
}

} // namespace orvek
