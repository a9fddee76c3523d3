#include "database/folder_groups.h"

#include "core/string_table.h"
#include "database/data_module.h"
#include "database/diagram_row_counters.h"
#include "platform/sql_database.h"

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace orvek {

namespace {

void SetReason(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
}

// The name as it is stored, or empty with Reason when it cannot be.
QString CheckedGroupName(const QString& name, QString* reason)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        SetReason(reason, GetString(21700));
    else if (trimmed.size() > kGroupNameSize)
        SetReason(reason, GetString(21701, { kGroupNameSize }));
    else
        return trimmed;
    return QString();
}

// A database refusal as the user reads it.
QString FailureText(const QString& error)
{
    return GetString(21702, { error });
}

const char* const kDiagramTables[] = { "TreeDB", "TemplateDB" };

bool CreateFolderTable(QSqlQuery& query, const QString& table, QString* error)
{
    const QString insert = QStringLiteral("INSERT OR IGNORE INTO ") + QuoteName(table)
        + QStringLiteral(" (ID, OwnerID, Description) VALUES (?, '', ?)");
    return ExecBound(query,
               QStringLiteral("CREATE TABLE IF NOT EXISTS ") + QuoteName(table)
                   + QStringLiteral(
                       " (ID VARCHAR(5) NOT NULL PRIMARY KEY, OwnerID VARCHAR(5), Description VARCHAR(100))"),
               {}, error)
        && ExecBound(query, insert, { QStringLiteral("0"), GetString(832) }, error)
        && ExecBound(query, insert, { QStringLiteral("1"), GetString(878) }, error);
}

int CountRows(QSqlQuery& query, const QString& sql, int groupId, bool& ok, QString* error)
{
    if (!ok)
        return 0;
    ok = ExecBound(query, sql, { groupId }, error) && query.next();
    return ok ? query.value(0).toInt() : 0;
}

} // namespace

QString RecordFolderTable(int groupId)
{
    return QStringLiteral("MeasureID%1").arg(groupId);
}

QString TemplateFolderTable(int groupId)
{
    return QStringLiteral("TemplateID%1").arg(groupId);
}

QString GroupFolderColumn(int groupId)
{
    return QStringLiteral("IDDB%1").arg(groupId);
}

bool CreateFolderGroup(QSqlDatabase& db, const QString& name, int& newId, QString* reason)
{
    newId = 0;
    const QString description = CheckedGroupName(name, reason);
    if (description.isEmpty())
        return false;
    int id = 0;
    QString error;
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            if (!ExecBound(query, QStringLiteral("INSERT INTO MeasureNameList (Description) VALUES (?)"),
                    { description }, workError))
                return false;
            id = LastInsertId(db, query).toInt();
            if (id <= 0) {
                *workError = QStringLiteral("MeasureNameList gave no ID");
                return false;
            }
            if (!CreateFolderTable(query, RecordFolderTable(id), workError)
                || !CreateFolderTable(query, TemplateFolderTable(id), workError))
                return false;
            const QString column = GroupFolderColumn(id);
            for (const char* table : kDiagramTables) {
                const QString tableName = QString::fromLatin1(table);
                if (ColumnNames(db, tableName).contains(column, Qt::CaseInsensitive))
                    continue;
                if (!ExecBound(query,
                        QStringLiteral("ALTER TABLE ") + QuoteName(tableName) + QStringLiteral(" ADD COLUMN ")
                            + QuoteName(column) + QStringLiteral(" VARCHAR(5) NOT NULL DEFAULT '0'"),
                        {}, workError))
                    return false;
            }
            return InstallDiagramRowCountersInTransaction(db, workError)
                && InstallChangeCountersInTransaction(db, workError);
        },
        &error);
    if (!ok) {
        SetReason(reason, FailureText(error));
        return false;
    }
    newId = id;
    ReadGroupList(db);
    return true;
}

bool DeleteFolderGroup(QSqlDatabase& db, int groupId, QString* reason)
{
    QString refusal, error;
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            bool read = true;
            const int groups = CountRows(
                query, QStringLiteral("SELECT count(*) FROM MeasureNameList WHERE ID <> ?"), groupId, read, workError);
            const int users = CountRows(query,
                QStringLiteral("SELECT count(*) FROM Administration WHERE UserGroup = ?"), groupId, read, workError);
            const int records = CountRows(
                query, QStringLiteral("SELECT count(*) FROM TreeDB WHERE GroupID = ?"), groupId, read, workError);
            const int templates = CountRows(
                query, QStringLiteral("SELECT count(*) FROM TemplateDB WHERE GroupID = ?"), groupId, read, workError);
            if (!read)
                return false;
            if (groups == 0)
                refusal = GetString(826);
            else if (groupId == 1)
                refusal = GetString(21703);
            else if (users + records + templates > 0)
                refusal = GetString(21704, { users, records, templates });
            if (!refusal.isEmpty())
                return false;
            if (!ExecBound(query, QStringLiteral("DELETE FROM MeasureNameList WHERE ID = ?"), { groupId }, workError))
                return false;
            if (query.numRowsAffected() != 1) {
                refusal = GetString(21705);
                return false;
            }
            for (const QString& table : { RecordFolderTable(groupId), TemplateFolderTable(groupId) })
                if (!ExecBound(query, QStringLiteral("DROP TABLE IF EXISTS ") + QuoteName(table), {}, workError)
                    || !ExecBound(query,
                        QStringLiteral("DELETE FROM ") + QuoteName(QString::fromLatin1(kChangeCounterTable))
                            + QStringLiteral(" WHERE TableName = ?"),
                        { table }, workError))
                    return false;
            // The row change trigger names the columns it watches, and SQLite refuses to
            // drop a column a trigger names: the triggers go first and come back after.
            const QString column = GroupFolderColumn(groupId);
            for (const char* table : kDiagramTables) {
                const QString name = QString::fromLatin1(table);
                if (!DropRowChangeCounterInTransaction(db, name, workError))
                    return false;
                if (ColumnNames(db, name).contains(column, Qt::CaseInsensitive)
                    && !ExecBound(query,
                        QStringLiteral("ALTER TABLE ") + QuoteName(name) + QStringLiteral(" DROP COLUMN ")
                            + QuoteName(column),
                        {}, workError))
                    return false;
            }
            return InstallDiagramRowCountersInTransaction(db, workError);
        },
        &error);
    if (!ok) {
        SetReason(reason, refusal.isEmpty() ? FailureText(error) : refusal);
        return false;
    }
    ReadGroupList(db);
    return true;
}

bool RenameFolderGroup(QSqlDatabase& db, int groupId, const QString& name, QString* reason)
{
    const QString description = CheckedGroupName(name, reason);
    if (description.isEmpty())
        return false;
    QString error;
    int rows = 0;
    if (!PostStatement(db, QStringLiteral("UPDATE MeasureNameList SET Description = ? WHERE ID = ?"),
            { description, groupId }, &error, &rows)) {
        SetReason(reason, FailureText(error));
        return false;
    }
    ReadGroupList(db);
    if (rows != 1) {
        SetReason(reason, GetString(21705));
        return false;
    }
    return true;
}

int PrepareTemplateFolderTables(QSqlDatabase& db)
{
    QList<int> groups;
    {
        QSqlQuery query(db);
        if (ExecBound(query, QStringLiteral("SELECT ID FROM MeasureNameList ORDER BY ID")))
            while (query.next())
                groups << query.value(0).toInt();
    }
    for (const int id : groups) {
        if (TableExists(db, TemplateFolderTable(id)))
            continue;
        Post(db, [&](QString* error) {
            QSqlQuery query(db);
            return CreateFolderTable(query, TemplateFolderTable(id), error)
                && InstallChangeCountersInTransaction(db, error);
        });
    }
    int columns = 0;
    for (const QString& column : ColumnNames(db, QStringLiteral("TemplateDB")))
        if (IsFolderColumn(column))
            ++columns;
    return columns;
}

bool ReadGroupList(QSqlDatabase& db, QString* error)
{
    QSqlQuery query(db);
    if (!ExecBound(query, QStringLiteral("SELECT ID, Description FROM MeasureNameList ORDER BY ID"), {}, error))
        return false;
    QVector<TGroupEntry> groups;
    while (query.next())
        groups.append({ query.value(0).toInt(), query.value(1).toString() });
    GroupList = groups;
    GroupCount = int(groups.size());
    return true;
}

int GroupIndexOf(int groupId)
{
    for (int i = 0; i < GroupCount && i < GroupList.size(); ++i)
        if (GroupList.at(i).ID == groupId)
            return i;
    return -1;
}

QStringList CollectSubfolderIds(QSqlDatabase& db, const QString& folderTable, const QString& folderId)
{
    QHash<QString, QStringList> children;
    QSqlQuery query(db);
    if (ExecBound(query,
            QStringLiteral("SELECT ID, OwnerID FROM ") + QuoteName(folderTable) + QStringLiteral(" ORDER BY ID")))
        while (query.next())
            children[query.value(1).toString()] << query.value(0).toString();
    QStringList ids;
    QSet<QString> seen;
    // Depth first with an explicit stack: a deep folder tree cannot exhaust the stack.
    QStringList stack { folderId };
    while (!stack.isEmpty()) {
        const QString id = stack.takeLast();
        if (seen.contains(id))
            continue;
        seen.insert(id);
        ids << id;
        const QStringList below = children.value(id);
        for (auto it = below.crbegin(); it != below.crend(); ++it)
            stack << *it;
    }
    return ids;
}

} // namespace orvek
