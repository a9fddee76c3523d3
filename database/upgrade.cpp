#include "database/upgrade.h"

#include "core/logs.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/diagram_row_counters.h"
#include "database/folder_groups.h"
#include "platform/dialogs.h"
#include "platform/sql_database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <functional>

namespace orvek {

namespace {

const QString kTreeTable = QStringLiteral("TreeDB");
const QString kGroupsTable = QStringLiteral("MeasureNameList");

// Runs one step; a step that fails has its text written to the error file.
void RunStep(TUpgradeOutcome& outcome, const char* failureText, const std::function<bool()>& step)
{
    if (step())
        return;
    const QString text = QString::fromLatin1(failureText);
    AppendErrFile(text);
    outcome.FailedSteps << text;
}

bool HasColumn(const QStringList& columns, const QString& name)
{
    return columns.contains(name, Qt::CaseInsensitive);
}

QStringList GroupIds(QSqlDatabase& db)
{
    QStringList ids;
    QSqlQuery query(db);
    if (ExecBound(query, QStringLiteral("SELECT ID FROM MeasureNameList ORDER BY ID")))
        while (query.next())
            ids << query.value(0).toString();
    return ids;
}

// A record folder table with the fixed folders "0" and "1" and its change counter.
bool CreateRecordFolderTable(QSqlDatabase& db, const QString& table)
{
    return Post(db, [&](QString* error) {
        QSqlQuery query(db);
        const QString insert = QStringLiteral("INSERT OR IGNORE INTO ") + QuoteName(table)
            + QStringLiteral(" (ID, OwnerID, Description) VALUES (?, '', ?)");
        return ExecBound(query,
                   QStringLiteral("CREATE TABLE IF NOT EXISTS ") + QuoteName(table)
                       + QStringLiteral(
                           " (ID VARCHAR(5) NOT NULL PRIMARY KEY, OwnerID VARCHAR(5), Description VARCHAR(100))"),
                   {}, error)
            && ExecBound(query, insert, { QStringLiteral("0"), GetString(832) }, error)
            && ExecBound(query, insert, { QStringLiteral("1"), GetString(878) }, error)
            && InstallChangeCountersInTransaction(db, error);
    });
}

} // namespace

TUpgradeOutcome UpgradeDatabaseStructure(QSqlDatabase& db)
{
    TUpgradeOutcome outcome;
    if (DataModule1)
        DataModule1->EnsureParametersTable();

    RunStep(outcome, "Error: Create table \"History\"", [&] {
        if (!db.isOpen())
            return false;
        const QString history = QStringLiteral("History");
        // A refused statement (another workstation holds the table) is passed over: the
        // next start tries again.
        if (TableExists(db, history) && !HasColumn(ColumnNames(db, history), QStringLiteral("TreeID")))
            PostStatement(db, QStringLiteral("ALTER TABLE History ADD COLUMN TreeID INTEGER"));
        return true;
    });

    QStringList treeColumns = db.isOpen() ? ColumnNames(db, kTreeTable) : QStringList();
    // Unknown when TreeDB cannot be read: then no folder column is added and no box shown.
    bool folderColumnsKnown = false;
    RunStep(outcome, "Error: for iField:=0 to DataModule1.T_Tree_Temp.FieldCount-1 do", [&] {
        if (treeColumns.isEmpty())
            return false;
        folderColumnsKnown = true;
        for (const QString& column : treeColumns)
            if (IsFolderColumn(column))
                outcome.FolderColumnsFound = true;
        return true;
    });

    QList<const TTreeDBColumn*> missing;
    RunStep(outcome, "Error: for i:=1 to NrTreeDB_Items do", [&] {
        if (treeColumns.isEmpty())
            return false;
        for (const TTreeDBColumn& column : TreeDBColumns)
            if (!HasColumn(treeColumns, QString::fromLatin1(column.Name)))
                missing << &column;
        return true;
    });

    RunStep(outcome, "Error: Create table ValidationHistoryTable", [&] {
        const QString table = QStringLiteral("ValidationHistory");
        if (!db.isOpen())
            return false;
        if (TableExists(db, table))
            return true;
        const bool made = Post(db, [&](QString* error) {
            QSqlQuery query(db);
            return ExecBound(query,
                       QStringLiteral("CREATE TABLE ValidationHistory (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                      "ValidationDate TEXT, ValidationTime TEXT, ResultStr VARCHAR(20), "
                                      "ResultMemo TEXT)"),
                       {}, error)
                && InstallChangeCountersInTransaction(db, error);
        });
        if (made)
            outcome.CreatedTables << table;
        return made;
    });

    // The key column cannot be added to a table that exists: that is logged and the
    // other columns are still added, one ALTER each, in one post.
    RunStep(outcome, "Error: Actualize NameListOfDB_Measurements", [&] {
        if (missing.isEmpty())
            return true;
        bool keyMissing = false;
        QStringList added;
        const bool posted = Post(db, [&](QString*) {
            QSqlQuery query(db);
            for (const TTreeDBColumn* column : missing) {
                const QString name = QString::fromLatin1(column->Name);
                if (*column->SqlType == '\0') {
                    keyMissing = true;
                    continue;
                }
                if (ExecBound(query,
                        QStringLiteral("ALTER TABLE ") + QuoteName(kTreeTable) + QStringLiteral(" ADD COLUMN ")
                            + QuoteName(name) + QLatin1Char(' ') + QString::fromLatin1(column->SqlType)))
                    added << name;
            }
            return true;
        });
        if (posted)
            outcome.AddedColumns << added;
        return posted && !keyMissing;
    });

    if (folderColumnsKnown && !outcome.FolderColumnsFound) {
        MessageDlg(GetString(839), TMsgDlgType::mtInformation, mbYes);
        bool listReady = TableExists(db, kGroupsTable);
        if (!listReady) {
            RunStep(outcome, "Error: Create table MainIDTable_Tree", [&] {
                listReady = Post(db, [&](QString* error) {
                    QSqlQuery query(db);
                    return ExecBound(query,
                               QStringLiteral("CREATE TABLE MeasureNameList (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                              "Description VARCHAR(100))"),
                               {}, error)
                        && ExecBound(query, QStringLiteral("INSERT INTO MeasureNameList (Description) VALUES (?)"),
                            { GetString(838) }, error)
                        && InstallChangeCountersInTransaction(db, error);
                });
                if (listReady)
                    outcome.CreatedTables << kGroupsTable;
                return listReady;
            });
        }
        RunStep(outcome, "Error: Update table T_Tree", [&] {
            if (!listReady)
                return false;
            const QStringList groups = GroupIds(db);
            QStringList added;
            // The default files every existing record in the unassigned folder "0"
            // without rewriting a row, so no row's change counter moves.
            const bool posted = Post(db, [&](QString*) {
                QSqlQuery query(db);
                for (const QString& id : groups) {
                    const QString column = QStringLiteral("IDDB") + id;
                    if (ExecBound(query,
                            QStringLiteral("ALTER TABLE ") + QuoteName(kTreeTable) + QStringLiteral(" ADD COLUMN ")
                                + QuoteName(column) + QStringLiteral(" VARCHAR(5) NOT NULL DEFAULT '0'")))
                        added << column;
                }
                return true;
            });
            if (posted)
                outcome.AddedColumns << added;
            return posted;
        });
    }

    // Every group gets its record folder table; the first group's is the one the
    // folder tree shows.
    if (TableExists(db, kGroupsTable)) {
        const QStringList groups = GroupIds(db);
        for (const QString& id : groups) {
            const QString table = RecordFolderTable(id.toInt());
            if (!TableExists(db, table) && CreateRecordFolderTable(db, table))
                outcome.CreatedTables << table;
        }
        if (!groups.isEmpty()) {
            outcome.FirstGroupID = groups.first().toInt();
            outcome.FirstGroupFolderTable = RecordFolderTable(outcome.FirstGroupID);
        }
        ReadGroupList(db);
    }

    // Columns added above must count in the row change counter (its trigger names the
    // columns it watches); an unchanged trigger is left as it is.
    RunStep(outcome, "Error: RowChangeCounter TreeDB", [&] {
        return !TableExists(db, kTreeTable)
            || Post(db, [&](QString* error) { return InstallDiagramRowCountersInTransaction(db, error); });
    });

    // The record list reads its columns from one covering index instead of the rows,
    // whose diagrams make them large, and the deleted-record migration finds its rows
    // through a partial index that stays empty once they are converted.
    RunStep(outcome, "Error: Create index TreeDB", [&] {
        if (!TableExists(db, kTreeTable))
            return true;
        const QStringList columns = ColumnNames(db, kTreeTable);
        for (const char* needed : { "GroupID", "IDDB1", "Deleted" })
            if (!HasColumn(columns, QString::fromLatin1(needed)))
                return true;
        return Post(db, [&](QString* error) {
            QSqlQuery query(db);
            return ExecBound(query, QString::fromLatin1(kRecordListIndex), {}, error)
                && ExecBound(query, QString::fromLatin1(kDeletedRecordsIndex), {}, error);
        });
    });

    RunStep(outcome, "Error: Create index Logs", [&] {
        if (!TableExists(db, QStringLiteral("Logs"))
            || !HasColumn(ColumnNames(db, QStringLiteral("Logs")), QStringLiteral("PracovnikID")))
            return true;
        return Post(db, [&](QString* error) {
            QSqlQuery query(db);
            return ExecBound(query, QString::fromLatin1(kLoginUserIndex), {}, error);
        });
    });

    RunStep(outcome, "Error: MigrateDeletedRecords", [&] {
        const int moved = MigrateDeletedRecords(db);
        if (moved < 0)
            return false;
        outcome.MigratedRecords = moved;
        return true;
    });

    if (folderColumnsKnown && !outcome.FolderColumnsFound)
        MessageDlg(GetString(837), TMsgDlgType::mtInformation, mbYes);
    return outcome;
}

int MigrateDeletedRecords(QSqlDatabase& db, QString* error)
{
    if (!db.isOpen()) {
        if (error)
            *error = QStringLiteral("The records database is not open");
        return -1;
    }
    const QStringList columns = ColumnNames(db, kTreeTable);
    if (!HasColumn(columns, QStringLiteral("Deleted")))
        return 0;
    QStringList sets { QStringLiteral("Deleted = 0") };
    for (const QString& column : columns)
        if (IsFolderColumn(column))
            sets << QuoteName(column) + QStringLiteral(" = '1'");
    int moved = 0;
    if (!PostStatement(db,
            QStringLiteral("UPDATE ") + QuoteName(kTreeTable) + QStringLiteral(" SET ")
                + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE Deleted = 1"),
            {}, error, &moved))
        return -1;
    return moved;
}

} // namespace orvek
