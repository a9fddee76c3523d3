#include "platform/sql_database.h"

#include "platform/collation.h"

#include <sqlite3.h>

#include <QDir>
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

sqlite3* SqliteHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

}  // namespace

QString FolderDatabasePath(const QString& folder)
{
    return QDir(folder).filePath(QString::fromLatin1(kFolderDatabaseFileName));
}

QString ThreadConnectionName(const QString& name)
{
    return name + QStringLiteral("@") +
           QString::number(reinterpret_cast<quintptr>(QThread::currentThread()), 16);
}

QSqlDatabase OpenFolderDatabase(const QString& connectionName, const QString& folder, bool createMissing,
                                QString* error)
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
    if (!createMissing && !QFileInfo::exists(path)) {
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
    for (const char* statement : {"PRAGMA journal_mode=DELETE", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=ON"}) {
        if (!pragma.exec(QString::fromLatin1(statement))) {
            SetError(error, pragma.lastError().text());
            db.close();
            return db;
        }
    }
    if (!RegisterSlovakFunctions(SqliteHandle(db))) {
        SetError(error, QStringLiteral("Cannot register the Slovak collation on %1").arg(path));
        db.close();
    }
    return db;
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

bool PostStatement(QSqlDatabase& db, const QString& sql, const QVariantList& values, QString* error,
                   int* rowsAffected)
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
    return ExecBound(query, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"), {table}) &&
           query.next();
}

}  // namespace orvek
