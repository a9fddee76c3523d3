// The main window on a database of 10,000 records whose diagrams have 200 cells, run
// offscreen: the start to a usable window (structure upgrade, log-in answered, session
// opened, first record shown) and the switch to another record on a grid move (no save
// question, load, undo history restarted with the loaded state).
#include "core/common_vars.h"
#include "database/data_module.h"
#include "database/password_hash.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/vx_db_grid.h"
#include "database/users.h"
#include "engine/cell.h"
#include "mainwindow/main_document.h"
#include "mainwindow/main_tick.h"
#include "mainwindow/ui/main_window.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace orvek;

namespace {

constexpr int kRecords = 10000;
constexpr int kInputs = 199; // with the equation, 200 cells

class AnswerLogin : public LoginPrompt {
public:
    bool AskLogin(const QStringList&, int, QString& userName, QString& password) override
    {
        userName = QStringLiteral("eva");
        password = QStringLiteral("heslo1");
        return true;
    }
    bool AskNewPassword(const QString&, QString&, const QString&) override { return false; }
};

// y = x1 + ... + x199, every input with a value.
QString LargeModelText()
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = info.Symbol = QStringLiteral("y");
    QStringList symbols;
    for (int i = 1; i <= kInputs; ++i)
        symbols << QStringLiteral("x%1").arg(i);
    info.Equation = QStringLiteral("y = ") + symbols.join(QStringLiteral(" + "));
    info.NormalizedEquation = QStringLiteral("y=") + symbols.join(QStringLiteral("+"));
    TCell root(nullptr, info, 0, 0, nullptr);
    for (const QString& symbol : symbols) {
        TPrenosInfoDoNovejBunky q;
        q.CellType = kQuantityCell;
        q.CellName = q.Symbol = q.QuantityName = symbol;
        q.Value = QStringLiteral("1.5");
        root.AddChild(q);
    }
    StoreCellComments = true;
    return root.SaveToText() + QStringLiteral("\r\n");
}

// The program's folders in a temporary folder, the build's empty database filled with
// 10,000 records of the large model and Eva (rights 3) as their user.
class Program {
public:
    Program()
    {
        const QString bin = QCoreApplication::applicationDirPath();
        const QString app = root_.path() + QStringLiteral("/app/");
        QDir().mkpath(app + QStringLiteral("Strings"));
        QFile::link(bin + QStringLiteral("/EmptyDatabase"), app + QStringLiteral("EmptyDatabase"));
        QDir strings(bin + QStringLiteral("/Strings"));
        for (const QString& name : strings.entryList(QDir::Files))
            QFile::copy(strings.filePath(name), app + QStringLiteral("Strings/") + name);
        qputenv("ORVEK_APPDIR", app.toLocal8Bit());
        qputenv("HOME", root_.path().toLocal8Bit());
        CommonInit();
        QDir().mkpath(DatabaseDir);
        QFile::copy(FolderDatabasePath(EmptyDatabaseDir), FolderDatabasePath(DatabaseDir));
        {
            QSqlDatabase db = OpenFolderDatabase(QStringLiteral("fill"), DatabaseDir, false);
            Fill(db);
        }
        CloseFolderDatabase(QStringLiteral("fill"));
        module_ = std::make_unique<TDataModule1>();
        DataModule1 = module_.get();
        SetLoginPrompt(&login_);
    }
    ~Program()
    {
        SetLoginPrompt(nullptr);
        DataModule1 = nullptr;
        module_.reset();
        CommonDone();
    }

    // A started window: created, first activation with the log-in, first record shown.
    std::unique_ptr<TfOrvek1> Start(quint32& now)
    {
        // The window's creation runs the structure upgrade.
        auto window = std::make_unique<TfOrvek1>(nullptr, [&now] { return now; });
        window->ActiveWindowProbe = [] { return true; };
        SetMainWindowService(window.get());
        window->FirstActivationTimer->stop();
        window->FormActivate();
        window->Timer1->stop();
        now += 1000;
        window->Timer1Timer();
        window->Timer1->stop();
        return window;
    }

private:
    static void Fill(QSqlDatabase& db)
    {
        QSqlQuery users(db);
        users.prepare(QStringLiteral("INSERT INTO Administration (UserRights, UserGroup, Aktivny, UserName, "
                                     "UserPassword, FirstName, LastName, NumberID, PasswordHash, MustChangePassword) "
                                     "VALUES (3, 1, 1, 'eva', '', 'Eva', 'Nová', '', ?, 0)"));
        users.addBindValue(HashPassword(QStringLiteral("heslo1"), 1));
        users.exec();
        const int eva = users.lastInsertId().toInt();
        const QString text = LargeModelText();
        // One transaction for all rows, with the columns the program's record insert writes.
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO TreeDB (GroupID, IDDB1, MenoPracovnika, PracovnikID, "
                                      "FromTemplateID, SampleID, Deleted, Datum, NazovMerania, NazovVzoru, Strom) "
                                      "VALUES (1, '0', 'Eva Nová', ?, 0, ?, 0, '2026-03-09', ?, '', ?)"));
        for (int i = 0; i < kRecords; ++i) {
            insert.addBindValue(eva);
            insert.addBindValue(QStringLiteral("S%1").arg(i));
            insert.addBindValue(QStringLiteral("Meranie %1").arg(i));
            insert.addBindValue(text);
            insert.exec();
        }
        db.commit();
    }

    QTemporaryDir root_;
    AnswerLogin login_;
    std::unique_ptr<TDataModule1> module_;
};

Program& TheProgram()
{
    static Program program;
    return program;
}

void BM_StartToUsableWindow(benchmark::State& state)
{
    Program& program = TheProgram();
    quint32 now = 100000;
    for (auto _ : state) {
        auto window = program.Start(now);
        state.PauseTiming();
        if (!window->FRootCell() || window->FRootCell()->ChildCount() != kInputs)
            std::fprintf(stderr, "no record shown: rows %d row %d id %d root %p\n",
                window->RecordPanel->View().RowCount(), window->RecordPanel->View().CurrentRow(), CurrentRecordID,
                static_cast<void*>(window->FRootCell()));
        window->Document().DropUndoTable();
        SetMainWindowService(nullptr);
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToUsableWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SwitchRecord(benchmark::State& state)
{
    Program& program = TheProgram();
    quint32 now = 100000;
    auto window = program.Start(now);
    TVxDBGrid* grid = window->RecordPanel->DBGrid_Tree;
    int row = 0;
    for (auto _ : state) {
        row = (row + 1) % 50;
        grid->setCurrentIndex(grid->model()->index(row, 0));
        now += 600;
        window->Timer1Timer();
        window->Timer1->stop();
        if (CurrentRecordID != window->RecordPanel->View().CurrentRowID())
            std::fprintf(stderr, "the record did not change\n");
    }
    window->Document().DropUndoTable();
    SetMainWindowService(nullptr);
}
BENCHMARK(BM_SwitchRecord)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
