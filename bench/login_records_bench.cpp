// What the login-records window reads when the selected user changes: the user's
// logins and their count, over 100,000 login rows of 1,000 users, with the index on
// the user column and, for comparison, without it.
#include "database/login_records.h"
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
    static char name[] = "login_records_bench";
    static char* argv[] = { name, nullptr };
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

constexpr int kUsers = 1000;
constexpr int kLogins = 100000;

QSqlDatabase LoginsDatabase(const QString& connection, bool indexed)
{
    static QTemporaryDir dirs[2];
    QTemporaryDir& dir = dirs[indexed ? 1 : 0];
    QSqlDatabase db = OpenFolderDatabase(connection, dir.path(), true);
    QSqlQuery probe(db);
    if (ExecBound(probe, QStringLiteral("SELECT count(*) FROM Logs")) && probe.next()
        && probe.value(0).toInt() == kLogins)
        return db;
    PostStatement(db,
        QStringLiteral("CREATE TABLE Logs (ID INTEGER PRIMARY KEY AUTOINCREMENT, PracovnikID INTEGER, GroupID INTEGER, "
                       "DatumPrihlasenia TEXT, CasPrihlasenia TEXT, DatumOdhlasenia TEXT, CasOdhlasenia TEXT)"));
    if (indexed)
        PostStatement(db, QStringLiteral("CREATE INDEX PracovnikID_IDX ON Logs (PracovnikID)"));
    Post(db, [&](QString* error) {
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO Logs (PracovnikID, GroupID, DatumPrihlasenia, CasPrihlasenia, "
                                      "DatumOdhlasenia, CasOdhlasenia) VALUES (?, 1, ?, '08:00:00.000', ?, "
                                      "'16:00:00.000')"));
        for (int i = 0; i < kLogins; ++i) {
            const QString date = QDate(2020, 1, 1).addDays(i / kUsers).toString(QStringLiteral("yyyy-MM-dd"));
            insert.addBindValue(i % kUsers + 1);
            insert.addBindValue(date);
            insert.addBindValue(date);
            if (!insert.exec()) {
                if (error)
                    *error = QStringLiteral("insert failed");
                return false;
            }
        }
        return true;
    });
    return db;
}

void SelectUser(benchmark::State& state, bool indexed)
{
    EnsureApplication();
    const QString connection = indexed ? QStringLiteral("indexed") : QStringLiteral("plain");
    QSqlDatabase db = LoginsDatabase(connection, indexed);
    int user = 0;
    for (auto _ : state) {
        user = user % kUsers + 1;
        const QVector<TLoginRecord> logins = ReadLoginRecords(db, user);
        const int count = CountLoginRecords(db, user);
        if (logins.size() != kLogins / kUsers || count != kLogins / kUsers)
            state.SkipWithError("wrong number of logins");
        benchmark::DoNotOptimize(logins.data());
    }
}

void BM_SelectUserIndexed(benchmark::State& state)
{
    SelectUser(state, true);
}
void BM_SelectUserWithoutIndex(benchmark::State& state)
{
    SelectUser(state, false);
}

} // namespace

BENCHMARK(BM_SelectUserIndexed)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SelectUserWithoutIndex)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
