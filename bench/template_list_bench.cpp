// The template window's list of 10,000 templates in one folder: the statement run into
// its answer table, sorted on the four shown columns in Slovak/Czech order, and the
// in-use flags of the first 50 rows (the rows a grid paints first).
#include "core/common_vars.h"
#include "database/template_list.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

using namespace orvek;

namespace {

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "template_list_bench";
    static char* argv[] = { name, nullptr };
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

const char* kSchema[] = {
    "CREATE TABLE TreeDB (ID INTEGER PRIMARY KEY AUTOINCREMENT, GroupID INTEGER, FromTemplateID INTEGER, "
    "NazovMerania VARCHAR(100), Strom TEXT, IDDB1 VARCHAR(5) NOT NULL DEFAULT '0')",
    "CREATE INDEX TreeDB_FromTemplateID ON TreeDB (FromTemplateID)",
    "CREATE TABLE TemplateDB (ID INTEGER PRIMARY KEY AUTOINCREMENT, GroupID INTEGER, CreatedBy VARCHAR(100), "
    "OpenedByUserID INTEGER NOT NULL DEFAULT 0, PracovnikID INTEGER, CreateDate TEXT, TemplateName VARCHAR(100), "
    "MainEquation VARCHAR(250), Poznamky TEXT, Strom TEXT, IDDB1 VARCHAR(5) NOT NULL DEFAULT '0', ChangeCounter "
    "INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX TemplateDB_IDDB1 ON TemplateDB (IDDB1)",
};

// 10,000 templates in folder "2" of group 1, names and creators with Slovak letters in
// mixed case; every third template has records made from it.
void Fill(QSqlDatabase& db)
{
    for (const char* statement : kSchema)
        PostStatement(db, QString::fromLatin1(statement));
    const QStringList words { "Kalibrácia", "čerpadla", "Váhy", "chladiča", "Meranie", "hustoty", "ŽIARIČA", "šošovky",
        "Ťažné", "dĺžky", "ohmmetra", "Teplomer" };
    const QStringList creators { "Eva Nová", "Ján Kráľ", "Šimon Čierny", "chemické laboratórium" };
    std::mt19937 random(17);
    Post(db, [&](QString* error) {
        QSqlQuery query(db);
        for (int i = 0; i < 10000; ++i) {
            const QString name = words.at(random() % words.size()) + ' ' + words.at(random() % words.size()) + ' '
                + QString::number(random() % 1000);
            if (!ExecBound(query,
                    "INSERT INTO TemplateDB (GroupID, CreatedBy, CreateDate, TemplateName, MainEquation, Strom, "
                    "IDDB1) VALUES (1, ?, ?, ?, ?, ?, '2')",
                    { creators.at(random() % creators.size()),
                        QString("20%1-%2-%3")
                            .arg(10 + random() % 16)
                            .arg(1 + random() % 12, 2, 10, QChar('0'))
                            .arg(1 + random() % 28, 2, 10, QChar('0')),
                        name, "y = a*b + c", QString(2000, 'x') },
                    error))
                return false;
            if (i % 3 == 0
                && !ExecBound(query, "INSERT INTO TreeDB (GroupID, FromTemplateID, NazovMerania) VALUES (1, ?, 'm')",
                    { query.lastInsertId() }, error))
                return false;
        }
        return true;
    });
}

void BM_TemplateListOfTenThousand(benchmark::State& state)
{
    EnsureApplication();
    QTemporaryDir database, temp;
    TempDir = WithTrailingSeparator(temp.path());
    AliasDB = "OrvekDB";
    {
        QSqlDatabase db = OpenFolderDatabase("fill", database.path(), true);
        Fill(db);
    }
    CloseFolderDatabase("fill");
    DatabaseSession session("bench");
    session.PrivateDir = TempDir;
    session.NetFileDir = database.path();
    if (!session.SetActive(true)) {
        state.SkipWithError("no session");
        return;
    }
    session.SetAlias(AliasDB, database.path());

    TTemplateListRequest request;
    request.GroupID = 1;
    request.FolderID = "2";
    TTemplateStatement statement;
    BuildTemplateStatement(request, statement);
    const TSortKeys keys = TemplateSortKeys(MakeTemplateGridDescriptors(), { 3, 4, 5, 2 });
    TTemplateList list(&session);
    int inUse = 0;
    for (auto _ : state) {
        if (!list.Open(statement) || !list.Sort(keys)) {
            state.SkipWithError("list failed");
            break;
        }
        for (int row = 0; row < 50; ++row)
            inUse += list.RowInUse(row) ? 1 : 0;
        list.Close();
    }
    state.counters["rows"] = 10000;
    benchmark::DoNotOptimize(inUse);
    CloseFolderDatabase("AliasTemp");
}
BENCHMARK(BM_TemplateListOfTenThousand)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
