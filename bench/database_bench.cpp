// Cost of a durable post of a record with a 100 KB diagram and its history row, and of
// opening a database of 100,000 records and reading the first 50 grid rows.
#include "database/sortable_query.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orvek;

namespace {

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "database_bench";
    static char* argv[] = { name, nullptr };
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

const char* kSchema[] = {
    "CREATE TABLE TreeDB (ID INTEGER PRIMARY KEY AUTOINCREMENT, SampleID VARCHAR(30), GroupID INTEGER, "
    "OpenedByUserID INTEGER NOT NULL DEFAULT 0, Deleted INTEGER, FromTemplateID INTEGER, PracovnikID INTEGER, "
    "MenoPracovnika VARCHAR(50), Datum TEXT, NazovVzoru VARCHAR(100), NazovMerania VARCHAR(100), Poznamky TEXT, "
    "Strom TEXT, IDDB1 VARCHAR(5) NOT NULL DEFAULT '0', ChangeCounter INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX TreeDB_IDDB1 ON TreeDB (IDDB1)",
    "CREATE TABLE History (ID INTEGER PRIMARY KEY AUTOINCREMENT, GroupID INTEGER, PracovnikID INTEGER, LoginID "
    "INTEGER, DiagramID INTEGER, Datum TEXT, Cas TEXT, OriginalValues TEXT, NewValues TEXT, PracovnikMeno "
    "VARCHAR(100), DiagramName VARCHAR(100))",
};

QSqlDatabase CreateDatabase(const QString& connection, const QString& folder)
{
    QSqlDatabase db = OpenFolderDatabase(connection, folder, true);
    for (const char* statement : kSchema)
        PostStatement(db, QString::fromLatin1(statement));
    InstallChangeCounters(db);
    InstallRowChangeCounter(db, QStringLiteral("TreeDB"), { QStringLiteral("OpenedByUserID") });
    return db;
}

void BM_PostRecordWithHistory100KB(benchmark::State& state)
{
    EnsureApplication();
    QTemporaryDir dir;
    QSqlDatabase db = CreateDatabase(QStringLiteral("post"), dir.path());
    const QString diagram(100 * 1024, QLatin1Char('x'));
    for (auto _ : state) {
        const bool ok = Post(db, [&](QString* error) {
            QSqlQuery query(db);
            if (!ExecBound(query,
                    QStringLiteral("INSERT INTO TreeDB (NazovMerania, Strom, GroupID, Datum) VALUES (?, ?, 1, "
                                   "'2026-12-10')"),
                    { QStringLiteral("Meranie"), diagram }, error))
                return false;
            const qint64 id = query.lastInsertId().toLongLong();
            return ExecBound(query,
                QStringLiteral("INSERT INTO History (DiagramID, Datum, Cas, OriginalValues, NewValues) "
                               "VALUES (?, '2026-12-10', '10:00:00.000', '', ?)"),
                { id, QStringLiteral("[cf3]Zmena[cf1]") }, error);
        });
        if (!ok)
            state.SkipWithError("post failed");
    }
    db = QSqlDatabase();
    CloseFolderDatabase(QStringLiteral("post"));
}
BENCHMARK(BM_PostRecordWithHistory100KB)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A database of 100,000 records with 1 KB diagrams, made once.
QString LargeDatabaseFolder()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        QSqlDatabase db = CreateDatabase(QStringLiteral("large"), dir.path());
        const QString diagram(1024, QLatin1Char('d'));
        Post(db, [&](QString* error) {
            QSqlQuery query(db);
            query.prepare(
                QStringLiteral("INSERT INTO TreeDB (SampleID, NazovMerania, MenoPracovnika, Datum, Strom, GroupID, "
                               "IDDB1) VALUES (?, ?, 'Novák', '2026-12-10', ?, 1, ?)"));
            for (int i = 0; i < 100000; ++i) {
                query.bindValue(0, QStringLiteral("S%1").arg(i));
                query.bindValue(1, QStringLiteral("Meranie %1").arg(i));
                query.bindValue(2, diagram);
                query.bindValue(3, QString::number(i % 10));
                if (!query.exec()) {
                    *error = QStringLiteral("insert failed");
                    return false;
                }
            }
            return true;
        });
        db = QSqlDatabase();
        CloseFolderDatabase(QStringLiteral("large"));
    }
    return dir.path();
}

const QString kGridQuery = QStringLiteral(
    "SELECT ID, SampleID, NazovMerania, MenoPracovnika, Datum, NazovVzoru, OpenedByUserID FROM TreeDB WHERE IDDB1 = ? "
    "ORDER BY ID");

void BM_OpenAndReadFirst50GridRows(benchmark::State& state)
{
    EnsureApplication();
    const QString folder = LargeDatabaseFolder();
    for (auto _ : state) {
        {
            QSqlDatabase db = OpenFolderDatabase(QStringLiteral("grid"), folder, false);
            QSqlQuery query(db);
            query.setForwardOnly(true);
            ExecBound(query, kGridQuery, { QStringLiteral("3") });
            int rows = 0;
            while (rows < 50 && query.next()) {
                benchmark::DoNotOptimize(query.value(2));
                ++rows;
            }
            if (rows != 50)
                state.SkipWithError("fewer than 50 rows");
        }
        CloseFolderDatabase(QStringLiteral("grid"));
    }
}
BENCHMARK(BM_OpenAndReadFirst50GridRows)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same through the sortable query, which writes the folder's 10,000 rows to its
// answer table first.
void BM_OpenSortableQueryAndReadFirst50Rows(benchmark::State& state)
{
    EnsureApplication();
    const QString folder = LargeDatabaseFolder();
    QTemporaryDir answers;
    for (auto _ : state) {
        DatabaseSession session(QStringLiteral("bench"));
        session.SetAlias(QStringLiteral("OrvekDB"), folder);
        session.SetActive(true);
        TSortableQuery query(&session);
        query.DatabaseName = QStringLiteral("OrvekDB");
        query.SQL = kGridQuery;
        query.Params = { QStringLiteral("3") };
        query.AnswerDirectory = answers.path();
        query.AnswerTableName = QStringLiteral("MainTab1");
        if (!query.Open()) {
            state.SkipWithError("open failed");
            break;
        }
        for (int row = 0; row < 50 && row < query.RowCount(); ++row)
            benchmark::DoNotOptimize(query.Field(row, 1));
        query.Close();
    }
}
BENCHMARK(BM_OpenSortableQueryAndReadFirst50Rows)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
