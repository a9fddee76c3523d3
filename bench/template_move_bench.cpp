// Cost of filing 1,000 selected templates in another folder and of moving them to the
// bin, each one transaction, on a template table with row change counters.
#include "database/diagram_row_counters.h"
#include "database/template_storage.h"
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
    static char name[] = "template_move_bench";
    static char* argv[] = { name, nullptr };
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

constexpr int kSelected = 1000;

// A template table of 5,000 templates with 10 KB diagrams in two groups' folders; the
// selection is every fifth template.
QList<int> CreateTemplates(QSqlDatabase& db)
{
    PostStatement(db,
        QStringLiteral("CREATE TABLE TemplateDB (ID INTEGER PRIMARY KEY AUTOINCREMENT, GroupID INTEGER, CreatedBy "
                       "VARCHAR(100), OpenedByUserID INTEGER NOT NULL DEFAULT 0, PracovnikID INTEGER, CreateDate "
                       "TEXT, TemplateName VARCHAR(100), MainEquation VARCHAR(250), Poznamky TEXT, Strom TEXT, IDDB1 "
                       "VARCHAR(5) NOT NULL DEFAULT '0', IDDB2 VARCHAR(5) NOT NULL DEFAULT '0', ChangeCounter "
                       "INTEGER NOT NULL DEFAULT 0)"));
    PostStatement(db, QStringLiteral("CREATE INDEX TemplateDB_IDDB1 ON TemplateDB (IDDB1)"));
    PostStatement(db,
        QStringLiteral("CREATE TABLE TreeDB (ID INTEGER PRIMARY KEY AUTOINCREMENT, FromTemplateID "
                       "INTEGER)"));
    InstallChangeCounters(db);
    InstallRowChangeCounter(db, QStringLiteral("TemplateDB"), DiagramRowCounterIgnoredColumns(db, "TemplateDB"));
    const QString diagram(10 * 1024, QLatin1Char('x'));
    QList<int> selected;
    Post(db, [&](QString* error) {
        QSqlQuery query(db);
        for (int i = 0; i < 5 * kSelected; ++i) {
            if (!ExecBound(query,
                    QStringLiteral(
                        "INSERT INTO TemplateDB (GroupID, TemplateName, Strom, IDDB1) VALUES (1, ?, ?, '2')"),
                    { QStringLiteral("Template %1").arg(i), diagram }, error))
                return false;
            if (i % 5 == 0)
                selected << query.lastInsertId().toInt();
        }
        return true;
    });
    return selected;
}

void BM_MoveSelection(benchmark::State& state)
{
    EnsureApplication();
    QTemporaryDir dir;
    QSqlDatabase db = OpenFolderDatabase(QStringLiteral("move"), dir.path(), true);
    const QList<int> selected = CreateTemplates(db);
    const bool toBin = state.range(0) != 0;
    int round = 0;
    for (auto _ : state) {
        const QString folder = QString::number(3 + round++ % 2);
        bool ok = false;
        if (toBin) {
            ok = DeleteTemplates(db, selected, false, QStringLiteral("IDDB1"), 1).Moved == kSelected;
            state.PauseTiming();
            MoveTemplatesToFolder(db, selected, QStringLiteral("IDDB1"), folder);
            state.ResumeTiming();
        } else {
            ok = MoveTemplatesToFolder(db, selected, QStringLiteral("IDDB1"), folder).Moved == kSelected;
        }
        if (!ok)
            state.SkipWithError("move failed");
    }
    db = QSqlDatabase();
    CloseFolderDatabase(QStringLiteral("move"));
}
BENCHMARK(BM_MoveSelection)
    ->ArgName("to_bin")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
