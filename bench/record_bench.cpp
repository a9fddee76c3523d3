// The record list on a database of 100,000 records (ten groups of folders' worth in
// one group: ten folders of 10,000): the first screen of one folder (statement, answer
// table, five-key sort, locate), a search over all records of the group, the move of
// 10,000 records to the deleted-records folder and the structure upgrade at start.
#include "core/common_vars.h"
#include "database/data_module.h"
#include "database/record_view.h"
#include "database/record_writes.h"
#include "database/upgrade.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

using namespace orvek;

namespace {

constexpr int kRecords = 100000;
constexpr int kFolders = 10;

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "record_bench";
    static char* argv[] = { name, nullptr };
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

// A copy of the build's empty database with 100,000 records, Slovak names in mixed case
// and a diagram of 2,000 characters each, spread over folders "2" to "11".
class Database {
public:
    Database()
    {
        EnsureApplication();
        TempDir = WithTrailingSeparator(temp_.path());
        AppDir = TempDir;
        AliasDB = "OrvekDB";
        const QString empty = QCoreApplication::applicationDirPath() + "/EmptyDatabase/";
        QFile::copy(FolderDatabasePath(empty), FolderDatabasePath(folder_.path()));
        {
            QSqlDatabase db = OpenFolderDatabase("fill", folder_.path(), false);
            Fill(db);
        }
        CloseFolderDatabase("fill");
        session_.PrivateDir = TempDir;
        session_.NetFileDir = folder_.path();
        ok_ = session_.SetActive(true);
        session_.SetAlias(AliasDB, folder_.path());
        CurrentUserRights = 1;
        CurrentUserID = 1;
        CurrentGroupID = 1;
        // The program starts with the structure upgrade, which also makes the list's indexes.
        QSqlDatabase db = Db();
        UpgradeDatabaseStructure(db);
    }
    ~Database() { CloseFolderDatabase("AliasTemp"); }
    bool Ok() const { return ok_; }
    DatabaseSession& Session() { return session_; }
    QSqlDatabase Db() { return session_.Database(AliasDB); }

private:
    static void Fill(QSqlDatabase& db)
    {
        const QStringList words { "Kalibrácia", "čerpadla", "Váhy", "chladiča", "Meranie", "hustoty", "ŽIARIČA",
            "šošovky", "Ťažné", "dĺžky", "ohmmetra", "Teplomer" };
        const QStringList creators { "Eva Nová", "Ján Kráľ", "Šimon Čierny", "chemické laboratórium" };
        std::mt19937 random(19);
        Post(db, [&](QString* error) {
            QSqlQuery query(db);
            if (!query.prepare("INSERT INTO TreeDB (GroupID, SampleID, PracovnikID, MenoPracovnika, Datum, "
                               "NazovMerania, NazovVzoru, FromTemplateID, Deleted, Strom, IDDB1) VALUES (1, ?, ?, ?, "
                               "?, ?, ?, 0, 0, ?, ?)"))
                return false;
            const QString diagram(2000, 'x');
            for (int i = 0; i < kRecords; ++i) {
                query.bindValue(0, QString("S-%1").arg(random() % 5000));
                query.bindValue(1, int(1 + random() % 4));
                query.bindValue(2, creators.at(random() % creators.size()));
                query.bindValue(3,
                    QString("20%1-%2-%3")
                        .arg(10 + random() % 16)
                        .arg(1 + random() % 12, 2, 10, QChar('0'))
                        .arg(1 + random() % 28, 2, 10, QChar('0')));
                query.bindValue(4,
                    words.at(random() % words.size()) + ' ' + words.at(random() % words.size()) + ' '
                        + QString::number(random() % 1000));
                query.bindValue(5, words.at(random() % words.size()));
                query.bindValue(6, diagram);
                query.bindValue(7, QString::number(2 + i % kFolders));
                if (!query.exec()) {
                    *error = "fill failed";
                    return false;
                }
            }
            return true;
        });
    }

    QTemporaryDir folder_, temp_;
    DatabaseSession session_ { "bench" };
    bool ok_ = false;
};

Database& Shared()
{
    static Database database;
    return database;
}

void Report(benchmark::State& state, TRecordView& view)
{
    state.counters["rows"] = view.RowCount();
}

void BM_FolderOfTenThousandFirstScreen(benchmark::State& state)
{
    Database& database = Shared();
    if (!database.Ok()) {
        state.SkipWithError("no session");
        return;
    }
    TRecordView view(&database.Session());
    view.CurrentFolderID = "5";
    int located = 0;
    for (auto _ : state) {
        view.BuildTreeQuery();
        view.ApplyTreeQuery();
        view.RefreshGrid(0);
        for (int row = 0; row < 40; ++row)
            located += view.RowID(row) > 0 ? 1 : 0;
    }
    Report(state, view);
    benchmark::DoNotOptimize(located);
}
BENCHMARK(BM_FolderOfTenThousandFirstScreen)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SearchOverAllRecords(benchmark::State& state)
{
    Database& database = Shared();
    TRecordView view(&database.Session());
    view.RecordViewMode = kRecordsOfGroup;
    view.SearchActive = true;
    view.SearchText = "čerp";
    view.ColumnFields = QStringList { "NazovMerania", "SampleID", "MenoPracovnika", "Datum", "NazovVzoru" };
    for (auto _ : state) {
        view.BuildTreeQuery();
        view.ApplyTreeQuery();
        view.RefreshGrid(0);
    }
    Report(state, view);
}
BENCHMARK(BM_SearchOverAllRecords)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_MoveTenThousandToDeleted(benchmark::State& state)
{
    Database& database = Shared();
    QSqlDatabase db = database.Db();
    QVector<qint64> ids;
    QSqlQuery query(db);
    ExecBound(query, "SELECT ID FROM TreeDB WHERE IDDB1 = '7'");
    while (query.next())
        ids << query.value(0).toLongLong();
    query.finish();
    for (auto _ : state) {
        const TRecordBatch batch = MoveRecordsToDeletedFolder(db, ids);
        if (batch.Done != ids.size())
            state.SkipWithError("move failed");
        state.PauseTiming();
        MoveRecordsToFolder(db, ids, "IDDB1", "7");
        state.ResumeTiming();
    }
    state.counters["rows"] = double(ids.size());
}
BENCHMARK(BM_MoveTenThousandToDeleted)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The upgrade of a current database: everything it finds is in place already.
void BM_UpgradeOfCurrentDatabase(benchmark::State& state)
{
    Database& database = Shared();
    QSqlDatabase db = database.Db();
    for (auto _ : state) {
        const TUpgradeOutcome outcome = UpgradeDatabaseStructure(db);
        if (!outcome.AddedColumns.isEmpty() || !outcome.FailedSteps.isEmpty())
            state.SkipWithError("the upgrade changed a current database");
    }
}
BENCHMARK(BM_UpgradeOfCurrentDatabase)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
