#include "database/data_module.h"

#include "core/common_vars.h"
#include "core/file_utils.h"
#include "core/files.h"
#include "core/logs.h"
#include "core/settings.h"
#include "database/backups.h"
#include "database/bde_util.h"
#include "database/chart_factors.h"
#include "database/diagram_row_counters.h"
#include "database/folder_groups.h"
#include "platform/db_session.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/sql_database.h"
#include "platform/sql_engine.h"
#include "platform/table_repair.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

namespace orvek {

namespace {

constexpr const char* kSessionName = "SessionOrvek_1";

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

TDataModule1::TDataModule1(QObject* parent)
    : QObject(parent)
    , session_(std::make_unique<DatabaseSession>(QString::fromLatin1(kSessionName)))
{
    setObjectName(QStringLiteral("DataModule1"));
    MainStrings.Strings = DefaultMainStringEntries();
    DataModule1Create();
}

TDataModule1::~TDataModule1()
{
    DataModule1Destroy();
}

void TDataModule1::DataModule1Create()
{
    OpenDatabase();
}

void TDataModule1::DataModule1Destroy()
{
    CloseDatabase();
}

QString TDataModule1::GetString(int id, std::initializer_list<FormatArg> args) const
{
    return orvek::GetString(id, args);
}

bool TDataModule1::ExportStringIDs(QString* error)
{
    return orvek::ExportStringIDs(error);
}

void TDataModule1::SetAlias(const QString& name, const QString& folder)
{
    session_->SetAlias(name, folder);
}

void TDataModule1::FailStart(const QString& reason)
{
    DatabaseErrorText = QStringLiteral("Exception:\nTemporaryFilePath=") + TempDir + QStringLiteral("\nDatabasePath=")
        + DatabaseDir + QStringLiteral("\nSessionOrvek.Active:=cYes");
    if (!reason.isEmpty())
        DatabaseErrorText += QLatin1Char('\n') + reason;
    ShowMessage(DatabaseErrorText);
    AppendLogBlock(QString::fromLatin1(kErrorLogFile), DatabaseErrorText);
    CloseDatabase();
}

void TDataModule1::OpenDatabase()
{
    RebuiltTableCount = 0;
    tablesOpen_ = false;
    bool fresh = false;
    // A server database (a lab's shared PostgreSQL database) has no folder: what the
    // program keeps per workstation stays in its temporary folder.
    const bool server = IsServerLocation(DatabaseDir);
    // 1. The database folder: its leftover temporary tables go; a new folder is
    // filled from the empty database.
    if (server) {
        DeleteTempTables(DatabaseDir);
    } else if (DirectoryExists(DatabaseDir)) {
        // A restore that a killed process left half done is settled first.
        SettleInterruptedRestore(DatabaseDir);
        DeleteTempTables(DatabaseDir);
    } else {
        ForceDirectories(DatabaseDir);
        CopyFiles(QStringLiteral("*"), EmptyDatabaseDir, DatabaseDir, true);
        fresh = true;
        SetDatabaseFileMode(FolderDatabasePath(DatabaseDir));
    }
    // Nor does a stopped backup or rebuild leave anything behind.
    SettleInterruptedBackups();
    if (!server)
        RemoveRebuildLeftovers(TempDir, DatabaseDir);
    // 2. The session: driver, private folder and network folder.
    session_->SetActive(false);
    session_->PrivateDir = TempDir;
    session_->NetFileDir = DatabaseDir;
    QString reason;
    if (!session_->SetActive(true, &reason)) {
        FailStart(reason);
        return;
    }
    // 3. to 5.
    AddSessionPasswords();
    BDEUtil = std::make_unique<TBDEUtil>(session_.get());
    SetAlias(AliasStrings, AppDir + QStringLiteral("Strings"));
    SetAlias(AliasDB, DatabaseDir);
    SetAlias(AliasTempName, TempDir);
    // A database file that exists but does not open is a failed start. Opened, it keeps
    // no journal that SQLite has no use for (a copy into it stopped early leaves one).
    if (server || QFileInfo::exists(FolderDatabasePath(DatabaseDir))) {
        bool opened = false;
        {
            QSqlDatabase db = session_->Database(AliasDB, false, &reason);
            opened = db.isOpen();
            if (opened && !server)
                RemoveUnneededJournal(db);
        }
        if (!opened) {
            FailStart(reason);
            return;
        }
    }
    // 6. The table set.
    if (CheckDatabaseFiles(DatabaseDir)) {
        if (fresh)
            NameFirstGroup();
        OpenTables();
        return;
    }
    if (MissingDatabaseFileCount == RequiredTables().size()) {
        // An empty folder: filled from the empty database without overwriting.
        QString error;
        bool filled = false;
        QSqlDatabase db = session_->Database(AliasDB, true, &error);
        filled = db.isOpen() && CopyMissingTables(db, FolderDatabasePath(EmptyDatabaseDir), {}, nullptr, &error);
        if (filled && CheckDatabaseFiles(DatabaseDir)) {
            NameFirstGroup();
            OpenTables();
            return;
        }
        if (!error.isEmpty())
            TableCheckReport += error;
    }
    // The tables stay closed. The error log says why, since the user sees nothing.
    AppendLogBlock(QString::fromLatin1(kErrorLogFile), TableCheckReport);
}

void TDataModule1::NameFirstGroup()
{
    // The empty database names its one group "1", in no language; a new database gives
    // it the name of the language it starts in.
    const QString name = GetString(838);
    if (name.isEmpty())
        return;
    QString error;
    QSqlDatabase db = session_->Database(AliasDB, false, &error);
    if (!db.isOpen()
        || !PostStatement(db,
            QStringLiteral("UPDATE MeasureNameList SET Description = ? WHERE ID = 1 AND Description = '1'"), { name },
            &error))
        AppendLogBlock(QString::fromLatin1(kErrorLogFile), error);
}

bool TDataModule1::OpenTablesSteps(QString* error)
{
    // 1. The string table must be readable.
    QSqlDatabase strings = session_->Database(AliasStrings, false, error);
    if (!strings.isOpen())
        return false;
    {
        QSqlQuery probe(strings);
        if (!ExecBound(probe, QStringLiteral("SELECT count(*) FROM Strings"), {}, error))
            return false;
    }
    QSqlDatabase db = session_->Database(AliasDB, false, error);
    if (!db.isOpen())
        return false;
    // Tables made since the last start (folder tables of a new group) get their
    // change counters.
    if (!InstallChangeCounters(db, error))
        return false;
    // The in-use flag of the template list reads TreeDB by FromTemplateID, and the
    // diagram tables count only changes of the diagram itself (databases made before
    // either existed get them here).
    if (!Post(
            db,
            [&](QString* workError) {
                return EnsureFromTemplateIndexInTransaction(db, workError)
                    && InstallDiagramRowCountersInTransaction(db, workError);
            },
            error))
        return false;
    // 2. The declared sizes of the user fields.
    if (!session_->MayOpenTable(db, QStringLiteral("Administration"))) {
        SetError(error, QStringLiteral("The password of table Administration is not known"));
        return false;
    }
    UserPasswordSize = DeclaredFieldSize(db, QStringLiteral("Administration"), QStringLiteral("UserPassword"));
    UserNameSize = DeclaredFieldSize(db, QStringLiteral("Administration"), QStringLiteral("UserName"));
    FirstNameSize = DeclaredFieldSize(db, QStringLiteral("Administration"), QStringLiteral("FirstName"));
    LastNameSize = DeclaredFieldSize(db, QStringLiteral("Administration"), QStringLiteral("LastName"));
    // 3. The control-chart factors. A row with a size outside 2..25 or a missing
    // factor is skipped and logged; the others still load.
    {
        QSqlQuery query(db);
        if (!ExecBound(query,
                QStringLiteral("SELECT NrPoints, A1, A2, A3, D1, D2, D3, D4, _d2, _C4 FROM RD_Parameters "
                               "ORDER BY ID"),
                {}, error))
            return false;
        while (query.next()) {
            const int n = query.value(0).isNull() ? -1 : query.value(0).toInt();
            bool complete = true;
            for (int k = 0; k < kChartFactorCount; ++k)
                complete = complete && !query.value(k + 1).isNull();
            if (n < kMinSubgroupSize || n > kMaxSubgroupSize || !complete) {
                AppendLogBlock(QString::fromLatin1(kErrorLogFile),
                    QStringLiteral("RD_Parameters: row with NrPoints %1 skipped (%2)")
                        .arg(query.value(0).toString(),
                            complete ? QStringLiteral("size outside 2..25") : QStringLiteral("a factor is missing")));
                continue;
            }
            for (int k = 0; k < kChartFactorCount; ++k)
                ChartFactors[n][k] = query.value(k + 1).toDouble();
        }
    }
    // 4. The groups of folders.
    if (!ReadGroupList(db, error))
        return false;
    // 6. The database is open.
    WriteDBStatus(QStringLiteral("Open"));
    return true;
}

void TDataModule1::OpenTables()
{
    QString error;
    tablesOpen_ = OpenTablesSteps(&error);
}

void TDataModule1::CloseDatabase()
{
    LogLogout();
    BDEUtil.reset();
    WriteDBStatus(QStringLiteral("Close"));
    tablesOpen_ = false;
    session_->SetActive(false);
}

bool TDataModule1::CheckDatabaseFiles(const QString& folder)
{
    MissingDatabaseFileCount = 0;
    TableCheckReport.clear();
    bool result = true;
    QStringList present;
    if (IsServerLocation(folder) || QFileInfo::exists(FolderDatabasePath(folder))) {
        const QString connection = QStringLiteral("CheckDatabaseFiles");
        {
            QSqlDatabase db = OpenFolderDatabase(connection, folder, false);
            if (db.isOpen())
                present = TableNames(db);
        }
        CloseFolderDatabase(connection);
    }
    const auto has = [&](const QString& table) { return present.contains(table, Qt::CaseInsensitive); };
    if (!has(QString::fromLatin1(kParametersTable)) && !EnsureParametersTable()) {
        result = false;
        ++MissingDatabaseFileCount;
        TableCheckReport += QStringLiteral(" ") + QString::fromLatin1(kParametersTable) + QLatin1Char('\n');
    }
    for (const QString& table : RequiredTables()) {
        if (!has(table)) {
            result = false;
            ++MissingDatabaseFileCount;
            TableCheckReport += table + QLatin1Char('\n');
        }
    }
    if (!TableCheckReport.isEmpty())
        TableCheckReport = GetString(516) + QLatin1Char('\n') + TableCheckReport;
    return result;
}

int TDataModule1::CountMissingDatabaseFiles(const QString& folder)
{
    QStringList present;
    if (IsServerLocation(folder) || QFileInfo::exists(FolderDatabasePath(folder))) {
        const QString connection = QStringLiteral("CountMissingDatabaseFiles");
        {
            QSqlDatabase db = OpenFolderDatabase(connection, folder, false);
            if (db.isOpen())
                present = TableNames(db);
        }
        CloseFolderDatabase(connection);
    }
    int missing = 0;
    for (const QString& table : RequiredTables())
        if (!present.contains(table, Qt::CaseInsensitive))
            ++missing;
    return missing;
}

bool TDataModule1::EnsureParametersTable()
{
    const QString source = FolderDatabasePath(EmptyDatabaseDir);
    if ((!IsServerLocation(DatabaseDir) && !DirectoryExists(DatabaseDir)) || !QFileInfo::exists(source))
        return false;
    const QString connection = QStringLiteral("EnsureParametersTable");
    bool restored = false;
    {
        QSqlDatabase db = OpenFolderDatabase(connection, DatabaseDir, true);
        QStringList copied;
        restored = db.isOpen() && !TableExists(db, QString::fromLatin1(kParametersTable))
            && CopyMissingTables(db, source, { QString::fromLatin1(kParametersTable) }, &copied)
            && copied == QStringList { QString::fromLatin1(kParametersTable) };
    }
    CloseFolderDatabase(connection);
    return restored;
}

void GetGroupName(int groupId, QString& name)
{
    name.clear();
    for (int i = 0; i < GroupCount && i < GroupList.size(); ++i) {
        if (GroupList.at(i).ID == groupId) {
            name = GroupList.at(i).Description;
            return;
        }
    }
}

} // namespace orvek
