// SQL routines of the data module: one bound statement, the temporary table of folder
// IDs, re-filing items of deleted folders and the transfer from an older database.

#include "core/common_vars.h"
#include "core/file_utils.h"
#include "database/data_module.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"
#include "platform/sql_database.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

namespace orvek {

namespace {

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// The temporary ID table: its name, and whether it is open for appending.
QString g_tempIdTable;
bool g_tempIdTableOpen = false;

QSqlDatabase RecordsDatabase(QString* error = nullptr)
{
    if (!DataModule1) {
        SetError(error, QStringLiteral("The data module does not exist"));
        return QSqlDatabase();
    }
    return DataModule1->SessionOrvek().Database(AliasDB, false, error);
}

QString Placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

} // namespace

QSqlDatabase TemporaryDatabase()
{
    if (DataModule1 && DataModule1->SessionOrvek().Active() && DataModule1->SessionOrvek().IsAlias(AliasTempName))
        return DataModule1->SessionOrvek().Database(AliasTempName, true);
    return OpenFolderDatabase(QStringLiteral("AliasTemp"), TempDir, true);
}

bool TDataModule1::ExecSQL(const QString& sql, const QVariantList& values, QString* error)
{
    QSqlDatabase db = session_->Database(AliasDB, false, error);
    return db.isOpen() && PostStatement(db, sql, values, error);
}

QString TempIdTableName()
{
    return g_tempIdTable;
}

bool CreateTempIdTable()
{
    g_tempIdTableOpen = false;
    QSqlDatabase db = TemporaryDatabase();
    if (!db.isOpen())
        return false;
    QString name;
    do
        name = UniqueFileName(TempDir, QStringLiteral("Temp"), QStringLiteral("db"));
    while (TableExists(db, name));
    if (!PostStatement(db, QStringLiteral("CREATE TABLE ") + QuoteName(name) + QStringLiteral(" (ID VARCHAR(5))")))
        return false;
    g_tempIdTable = name;
    g_tempIdTableOpen = true;
    return true;
}

void AddTempId(const QString& id)
{
    if (g_tempIdTable.isEmpty() || !g_tempIdTableOpen)
        return;
    QSqlDatabase db = TemporaryDatabase();
    if (db.isOpen())
        PostStatement(
            db, QStringLiteral("INSERT INTO ") + QuoteName(g_tempIdTable) + QStringLiteral(" (ID) VALUES (?)"), { id });
}

void CloseTempIdTable()
{
    g_tempIdTableOpen = false;
}

void DropTempIdTable()
{
    g_tempIdTableOpen = false;
    if (g_tempIdTable.isEmpty())
        return;
    QSqlDatabase db = TemporaryDatabase();
    if (db.isOpen())
        PostStatement(db, QStringLiteral("DROP TABLE IF EXISTS ") + QuoteName(g_tempIdTable));
    g_tempIdTable.clear();
}

namespace {

// Items of group GroupID filed in one of the folders Ids go to folder Target, and with
// FolderTable the listed folders (never the fixed "0" and "1") are deleted from it, in
// one post.
bool RefileFolders(const QString& table, const QString& folderColumn, const QStringList& ids, int groupId,
    const QString& target, const QString& folderTable)
{
    if (ids.isEmpty())
        return true;
    QSqlDatabase db = RecordsDatabase();
    if (!db.isOpen())
        return false;
    QVariantList folderIds;
    for (const QString& id : ids)
        folderIds << id;
    return Post(db, [&](QString* error) {
        QSqlQuery query(db);
        if (!ExecBound(query,
                QStringLiteral("UPDATE ") + QuoteName(table) + QStringLiteral(" SET ") + QuoteName(folderColumn)
                    + QStringLiteral(" = ? WHERE ") + QuoteName(folderColumn) + QStringLiteral(" IN (")
                    + Placeholders(ids.size()) + QStringLiteral(") AND GroupID = ?"),
                QVariantList { target } + folderIds + QVariantList { groupId }, error))
            return false;
        return folderTable.isEmpty()
            || ExecBound(query,
                QStringLiteral("DELETE FROM ") + QuoteName(folderTable) + QStringLiteral(" WHERE ID IN (")
                    + Placeholders(ids.size()) + QStringLiteral(") AND ID NOT IN ('0', '1')"),
                folderIds, error);
    });
}

} // namespace

bool UnassignFoldersInTempTable(
    const QString& table, const QString& folderColumn, int groupId, const QString& folderTable)
{
    if (g_tempIdTable.isEmpty())
        return false;
    QStringList ids;
    {
        QSqlDatabase temp = TemporaryDatabase();
        QSqlQuery query(temp);
        if (!temp.isOpen() || !ExecBound(query, QStringLiteral("SELECT ID FROM ") + QuoteName(g_tempIdTable)))
            return false;
        while (query.next())
            ids << query.value(0).toString();
    }
    return RefileFolders(table, folderColumn, ids, groupId, QStringLiteral("0"), folderTable);
}

bool MoveFoldersToDeleted(
    const QString& table, const QString& folderColumn, const QStringList& ids, int groupId, const QString& folderTable)
{
    return RefileFolders(table, folderColumn, ids, groupId, QStringLiteral("1"), folderTable);
}

namespace {

// Reads every row of Table in the older database of OldFolder.
bool ReadOldRows(const QString& oldFolder, const QString& table, QList<QVariantMap>& rows, QString* error)
{
    const QString connection = QStringLiteral("OldDatabase");
    bool ok = false;
    {
        QSqlDatabase old = OpenFolderDatabase(connection, oldFolder, false, error);
        QSqlQuery query(old);
        ok = old.isOpen()
            && ExecBound(
                query, QStringLiteral("SELECT * FROM ") + QuoteName(table) + QStringLiteral(" ORDER BY ID"), {}, error);
        while (ok && query.next()) {
            QVariantMap row;
            const QSqlRecord record = query.record();
            for (int i = 0; i < record.count(); ++i)
                row.insert(record.fieldName(i), query.value(i));
            rows.append(row);
        }
    }
    CloseFolderDatabase(connection);
    return ok;
}

// The folder of an old item in the current group: its IDDB1 when the current group's
// folder table knows that ID, otherwise "0" (not assigned).
QString TargetFolder(QSqlDatabase& db, const QString& folderTable, const QVariant& oldFolder)
{
    QSqlQuery query(db);
    if (ExecBound(query, QStringLiteral("SELECT 1 FROM ") + QuoteName(folderTable) + QStringLiteral(" WHERE ID = ?"),
            { oldFolder.toString() })
        && query.next())
        return oldFolder.toString();
    return QStringLiteral("0");
}

} // namespace

bool TDataModule1::MergeOldTemplateDB(const QString& oldFolder, QString* error)
{
    QList<QVariantMap> rows;
    if (!ReadOldRows(oldFolder, QStringLiteral("TemplateDB"), rows, error))
        return false;
    QSqlDatabase db = session_->Database(AliasDB, false, error);
    if (!db.isOpen())
        return false;
    const int group = CurrentGroupID > 0 ? CurrentGroupID : 1;
    const QString folderColumn = QStringLiteral("IDDB%1").arg(group);
    const QString folderTable = QStringLiteral("TemplateID%1").arg(group);
    QHash<qint64, OldTemplate> map;
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            for (const QVariantMap& row : rows) {
                if (!ExecBound(query,
                        QStringLiteral("INSERT INTO TemplateDB (GroupID, CreatedBy, CreateDate, TemplateName, "
                                       "MainEquation, Poznamky, Strom, OpenedByUserID, PracovnikID, ")
                            + QuoteName(folderColumn) + QStringLiteral(") VALUES (?, ?, ?, ?, ?, ?, ?, 0, 1, ?)"),
                        { group, row.value(QStringLiteral("CreatedBy")), row.value(QStringLiteral("CreateDate")),
                            row.value(QStringLiteral("TemplateName")), row.value(QStringLiteral("MainEquation")),
                            row.value(QStringLiteral("Poznamky")), row.value(QStringLiteral("Strom")),
                            TargetFolder(db, folderTable, row.value(QStringLiteral("IDDB1"))) },
                        workError))
                    return false;
                map.insert(row.value(QStringLiteral("ID")).toLongLong(),
                    { LastInsertId(db, query).toLongLong(), row.value(QStringLiteral("TemplateName")).toString() });
            }
            return true;
        },
        error);
    if (!ok)
        return false;
    OldTemplateMap = map;
    ShowMessage(QStringLiteral("Koniec"));
    return true;
}

bool TDataModule1::MergeOldTreeDB(const QString& oldFolder, QString* error)
{
    QList<QVariantMap> rows;
    if (!ReadOldRows(oldFolder, QStringLiteral("TreeDB"), rows, error))
        return false;
    QSqlDatabase db = session_->Database(AliasDB, false, error);
    if (!db.isOpen())
        return false;
    const int group = CurrentGroupID > 0 ? CurrentGroupID : 1;
    const QString folderColumn = QStringLiteral("IDDB%1").arg(group);
    const QString folderTable = QStringLiteral("MeasureID%1").arg(group);
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            for (const QVariantMap& row : rows) {
                // The source template's new ID and name when it was transferred; empty otherwise.
                QVariant fromTemplate, templateName;
                const auto found = OldTemplateMap.constFind(row.value(QStringLiteral("FromTemplateID")).toLongLong());
                if (!row.value(QStringLiteral("FromTemplateID")).isNull() && found != OldTemplateMap.cend()) {
                    fromTemplate = found->newId;
                    templateName = found->name;
                }
                if (!ExecBound(query,
                        QStringLiteral("INSERT INTO TreeDB (SampleID, Deleted, PracovnikID, MenoPracovnika, Datum, "
                                       "NazovMerania, Poznamky, Strom, GroupID, OpenedByUserID, FromTemplateID, "
                                       "NazovVzoru, ")
                            + QuoteName(folderColumn)
                            + QStringLiteral(") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?)"),
                        { row.value(QStringLiteral("SampleID")), row.value(QStringLiteral("Deleted")),
                            row.value(QStringLiteral("PracovnikID")), row.value(QStringLiteral("MenoPracovnika")),
                            row.value(QStringLiteral("Datum")), row.value(QStringLiteral("NazovMerania")),
                            row.value(QStringLiteral("Poznamky")), row.value(QStringLiteral("Strom")), group,
                            fromTemplate, templateName,
                            TargetFolder(db, folderTable, row.value(QStringLiteral("IDDB1"))) },
                        workError))
                    return false;
            }
            return true;
        },
        error);
    if (!ok)
        return false;
    ShowMessage(QStringLiteral("Koniec"));
    return true;
}

} // namespace orvek
