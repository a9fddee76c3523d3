// Table passwords, verification and rebuild of the data module.

#include "core/common_vars.h"
#include "core/services.h"
#include "database/bde_util.h"
#include "database/data_module.h"
#include "database/vx_table.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"
#include "platform/table_repair.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlDatabase>

namespace orvek {

namespace {

// Results of VerifyTable and RebuildTable when the operation itself failed.
constexpr int kOperationFailed = 999;
// VerifyAllTables: the folder lacks required tables.
constexpr int kFolderIncomplete = 99999;

// The hourglass while a table is checked.
struct WaitCursor {
    WaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
    }
};

QString MainTableName(const TSStrings& strings, int n)
{
    return strings.Value(QStringLiteral("MainTable[%1]").arg(n));
}

// Tables of Folder's database that are verified and rebuilt: all but main table 7.
QStringList CheckedTables(const TSStrings& strings, const QString& folder)
{
    QStringList tables;
    const QString connection = QStringLiteral("CheckedTables");
    {
        QSqlDatabase db = OpenFolderDatabase(connection, folder, false);
        if (db.isOpen())
            tables = TableNames(db);
    }
    CloseFolderDatabase(connection);
    const QString skipped = MainTableName(strings, kUncheckedMainTable).toUpper();
    tables.erase(std::remove_if(tables.begin(), tables.end(), [&](const QString& t) { return t.toUpper() == skipped; }),
        tables.end());
    return tables;
}

} // namespace

QString VerifyStatusText(int status)
{
    switch (status) {
    case kVerifyOk:
        return GetString(507);
    case kVerifyDataErrors:
        return GetString(508);
    case kVerifyUnreadable:
        return GetString(509);
    case kVerifyMissing:
        return GetString(510);
    case kVerifyBusy:
        return GetString(511);
    default:
        return GetString(512);
    }
}

void TDataModule1::AddSessionPasswords()
{
    for (int n = 1; n <= kMainTableCount; ++n)
        session_->AddPassword(MainStrings.Value(QStringLiteral("TablePassword[%1]").arg(n)));
}

bool TDataModule1::AddMasterPassword(TVxTable& table, const QString& password, QString* error)
{
    if (!table.Active() || !table.Exclusive) {
        if (error)
            *error = QStringLiteral("Table must be opened in exclusive mode to add passwords");
        return false;
    }
    QSqlDatabase db = table.Database(error);
    table.Close();
    if (!db.isOpen() || !SetTablePassword(db, table.TableName, password, error))
        return false;
    session_->AddPassword(password);
    return table.Open(error);
}

void TDataModule1::ProtectMainTables()
{
    MessageWindowService* window = MessageWindow();
    if (window) {
        window->ShowBatch(QString(), false);
        window->SetupProgress(true, 1, kMainTableCount);
    }
    for (int n = 1; n <= kMainTableCount; ++n) {
        if (window)
            window->StepProgress(n);
        TVxTable test(session_.get());
        test.DatabaseName = AliasDB;
        test.TableName = MainTableName(MainStrings, n);
        test.Exclusive = true;
        if (!test.Exists())
            continue;
        QString error;
        if (!test.Open(&error)
            || !AddMasterPassword(test, MainStrings.Value(QStringLiteral("TablePassword[%1]").arg(n)), &error))
            break;
        test.Close();
    }
    if (window)
        window->HideBatch();
}

int TDataModule1::VerifyTable(const QString& folder, const QString& tableName)
{
    int result = kOperationFailed;
    if (TableControlStatus* window = TableControlWindow())
        window->SetTableCaption(GetString(505) + QLatin1Char(' ') + tableName + QLatin1Char(' '));
    TableCheckReport.clear();
    WaitCursor wait;
    if (BDEUtil)
        BDEUtil->RegisterProgressCallback();
    if (!QFileInfo(folder).isDir()) {
        // The check cannot run at all.
        TableCheckReport = GetString(506);
    } else {
        const int status = VerifyDatabaseTable(
            folder, tableName, nullptr, [this](int phase, int percent) { session_->ReportProgress(phase, percent); });
        TableCheckReport = VerifyStatusText(status);
        result = status;
    }
    if (BDEUtil)
        BDEUtil->UnregisterProgressCallback();
    return result;
}

int TDataModule1::RebuildTable(const QString& folder, const QString& tableName)
{
    WaitCursor wait;
    int result = kOperationFailed;
    if (BDEUtil)
        BDEUtil->RegisterProgressCallback();
    RebuildResult rebuilt;
    QString error;
    if (RebuildDatabase(folder, TempDir, &rebuilt, &error,
            [this](int phase, int percent) { session_->ReportProgress(phase, percent); })) {
        TableCheckReport = QStringLiteral("Rebuild was successful.");
        const qint64 lost = rebuilt.NotCarried(tableName);
        TableCheckReport += QStringLiteral(" Rows not carried over: %1.").arg(lost);
        for (const RebuiltTable& t : rebuilt.tables)
            if (t.table != tableName && (t.problems + t.unreadable > 0 || t.unreadableRest))
                TableCheckReport
                    += QStringLiteral(" %1: %2 rows not carried over.").arg(t.table).arg(t.problems + t.unreadable);
        TableCheckReport += QStringLiteral(" The damaged database is kept as %1.").arg(rebuilt.backupPath);
        result = 0;
    } else {
        TableCheckReport = QStringLiteral("Rebuild was not successful.") + QLatin1Char(' ') + error;
    }
    if (BDEUtil)
        BDEUtil->UnregisterProgressCallback();
    return result;
}

int TDataModule1::VerifyAllTables(const QString& folder)
{
    if (!CheckDatabaseFiles(folder))
        return kFolderIncomplete;
    TableControlStatus* window = TableControlWindow();
    if (window)
        window->ShowStatus();
    WaitCursor wait;
    int failures = 0;
    for (const QString& table : CheckedTables(MainStrings, folder))
        if (VerifyTable(folder, table) != 0)
            ++failures;
    if (window)
        window->HideStatus();
    return failures;
}

int TDataModule1::RebuildAllTables(const QString& folder)
{
    TableControlStatus* window = TableControlWindow();
    if (window)
        window->ShowStatus();
    WaitCursor wait;
    int failures = 0;
    bool mainTableRebuilt = false;
    QStringList mainTables;
    for (int n = 1; n <= kMainTableCount; ++n)
        mainTables << MainTableName(MainStrings, n).toUpper();
    // One rebuild renews the whole file, so a later damaged table may read already.
    for (const QString& table : CheckedTables(MainStrings, folder)) {
        if (TableReadsWhole(folder, table))
            continue;
        if (RebuildTable(folder, table) == 0) {
            ++RebuiltTableCount;
            mainTableRebuilt = mainTableRebuilt || mainTables.contains(table.toUpper());
        } else {
            ++failures;
        }
    }
    if (window)
        window->HideStatus();
    if (mainTableRebuilt)
        ProtectMainTables();
    return failures;
}

} // namespace orvek
