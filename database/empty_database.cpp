#include "database/empty_database.h"

#include "core/string_table.h"
#include "database/password_hash.h"
#include "database/table_set.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace orvek {

namespace {

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

bool ProtectTables(QSqlDatabase& db, const QStringList& entries, QString* error)
{
    for (int n = 1; n <= kMainTableCount; ++n) {
        const QString table = EntryValue(entries, QStringLiteral("MainTable[%1]").arg(n));
        const QString password = EntryValue(entries, QStringLiteral("TablePassword[%1]").arg(n));
        if (table.isEmpty() || !TableExists(db, table))
            continue;
        if (!SetTablePassword(db, table, password, error))
            return false;
    }
    return true;
}

bool BuildEmptyDatabase(
    const QString& schemaPath, const QString& targetFolder, const QStringList& entries, QString* error)
{
    if (QFileInfo::exists(FolderDatabasePath(targetFolder))) {
        SetError(error, QStringLiteral("%1 exists already").arg(FolderDatabasePath(targetFolder)));
        return false;
    }
    QFile schema(schemaPath);
    if (!schema.open(QIODevice::ReadOnly | QIODevice::Text)) {
        SetError(error, QStringLiteral("%1: %2").arg(schemaPath, schema.errorString()));
        return false;
    }
    const QString script = QString::fromUtf8(schema.readAll());
    const QString connection = QStringLiteral("EmptyDatabaseBuild");
    bool ok = false;
    {
        QSqlDatabase db = OpenFolderDatabase(connection, targetFolder, true, error);
        ok = db.isOpen() && ExecScript(db, script, error);
        ok = ok
            && Post(
                db,
                [&](QString* workError) {
                    QSqlQuery query(db);
                    if (!ExecBound(query,
                            QStringLiteral("INSERT INTO Administration (ID, UserRights, UserGroup, Aktivny, "
                                           "UserName, UserPassword, FirstName, LastName, NumberID, "
                                           "PasswordHash, MustChangePassword) VALUES (1, 1, 1, 1, ?, '', "
                                           "'', '', '', ?, 1)"),
                            { QString::fromLatin1(kFirstAdministratorName),
                                HashPassword(QString::fromLatin1(kFirstAdministratorPassword)) },
                            workError))
                        return false;
                    for (const char* table : { "MeasureID1", "TemplateID1" }) {
                        const QString insert = QStringLiteral("INSERT INTO ") + QuoteName(QString::fromLatin1(table))
                            + QStringLiteral(" (ID, OwnerID, Description) VALUES (?, '', ?)");
                        if (!ExecBound(query, insert, { QStringLiteral("0"), GetString(832) }, workError)
                            || !ExecBound(query, insert, { QStringLiteral("1"), GetString(878) }, workError))
                            return false;
                    }
                    return true;
                },
                error);
        ok = ok && InstallChangeCounters(db, error);
        for (const char* table : { "TreeDB", "TemplateDB" })
            ok = ok
                && InstallRowChangeCounter(db, QString::fromLatin1(table), { QString::fromLatin1(kLockColumn) }, error);
        ok = ok && ProtectTables(db, entries, error);
    }
    CloseFolderDatabase(connection);
    if (!ok)
        QFile::remove(FolderDatabasePath(targetFolder));
    return ok;
}

} // namespace orvek
