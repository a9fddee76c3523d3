// The main window on records of 1,000 inputs, run offscreen: opening a record (the grid
// moves to another row and the timer loads it: diagram text read and parsed, tree
// built, undo history restarted) and saving it after an edit (the timer stores the
// changed tree: undo snapshot, store, history row), each with its time and its
// fsync/fdatasync calls.
//   record_save_bench [rounds] [--drain]
#include "bench/generated_model.h"
#include "bench/sync_count.h"
#include "core/common_vars.h"
#include "database/data_module.h"
#include "database/password_hash.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/vx_db_grid.h"
#include "database/users.h"
#include "engine/cell.h"
#include "mainwindow/main_document.h"
#include "mainwindow/ui/main_window.h"
#include "platform/sql_database.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orvek;

namespace {

constexpr int kRecords = 20;
constexpr int kInputs = 1000;

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

// The model as the program stores a record it has shown: read back and written again
// (cell numbers counted from 1 and equations marked, as a load leaves them), so that an
// open finds the current form and does not store the record again.
QString LargeModelText()
{
    StoreCellComments = true;
    QByteArray generated = bench::GeneratedModel(kInputs)->SaveToText().toUtf8();
    QBuffer device(&generated);
    device.open(QIODevice::ReadOnly);
    CellIdCounter = 1;
    LoadValuesOnPaste = true;
    AskOnPaste = false;
    TCell root(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    if (!root.LoadFromDevice(device))
        std::fprintf(stderr, "the generated model does not read back\n");
    root.SetEquationTemplateFlag(1);
    return root.SaveToText() + QStringLiteral("\r\n");
}

struct Figures {
    std::vector<double> ms;
    std::vector<int> syncs;
    void Print(const char* what) const
    {
        std::vector<double> t = ms;
        std::vector<int> s = syncs;
        std::sort(t.begin(), t.end());
        std::sort(s.begin(), s.end());
        std::printf("%s, %zu rounds: min %.1f ms, median %.1f ms; syncs min %d median %d max %d\n", what, t.size(),
            t.front(), t[t.size() / 2], s.front(), s[s.size() / 2], s.back());
    }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    // With --drain the events the last step posted are handled before the next one, as
    // the program's event loop does between two user actions; without it, a record's
    // widgets are freed while the previous load's events still wait, which Qt pays for
    // per freed widget.
    const bool drain = argc > 2 && qstrcmp(argv[2], "--drain") == 0;
    const auto drainEvents = [drain] {
        if (drain)
            QCoreApplication::processEvents();
    };

    QTemporaryDir root;
    const QString bin = QCoreApplication::applicationDirPath();
    const QString appDir = root.path() + QStringLiteral("/app/");
    QDir().mkpath(appDir + QStringLiteral("Strings"));
    QDir().mkpath(root.path() + QStringLiteral("/tmp"));
    QFile::link(bin + QStringLiteral("/EmptyDatabase"), appDir + QStringLiteral("EmptyDatabase"));
    QDir strings(bin + QStringLiteral("/Strings"));
    for (const QString& name : strings.entryList(QDir::Files))
        QFile::copy(strings.filePath(name), appDir + QStringLiteral("Strings/") + name);
    qputenv("ORVEK_APPDIR", appDir.toLocal8Bit());
    qputenv("HOME", root.path().toLocal8Bit());
    qputenv("TMPDIR", (root.path() + QStringLiteral("/tmp")).toLocal8Bit());
    CommonInit();
    QDir().mkpath(DatabaseDir);
    QFile::copy(FolderDatabasePath(EmptyDatabaseDir), FolderDatabasePath(DatabaseDir));
    {
        QSqlDatabase db = OpenFolderDatabase(QStringLiteral("fill"), DatabaseDir, false);
        QSqlQuery users(db);
        users.prepare(QStringLiteral("INSERT INTO Administration (UserRights, UserGroup, Aktivny, UserName, "
                                     "UserPassword, FirstName, LastName, NumberID, PasswordHash, MustChangePassword) "
                                     "VALUES (3, 1, 1, 'eva', '', 'Eva', 'Nová', '', ?, 0)"));
        users.addBindValue(HashPassword(QStringLiteral("heslo1"), 1));
        users.exec();
        const int eva = users.lastInsertId().toInt();
        const QString text = LargeModelText();
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
        std::printf("model text: %lld characters\n", static_cast<long long>(text.size()));
    }
    CloseFolderDatabase(QStringLiteral("fill"));
    {
        AnswerLogin login;
        TDataModule1 module;
        DataModule1 = &module;
        SetLoginPrompt(&login);
        quint32 now = 100000;
        QElapsedTimer startClock;
        startClock.start();
        const int startSyncs = bench::SyncCalls;
        auto window = std::make_unique<TfOrvek1>(nullptr, [&now] { return now; });
        window->ActiveWindowProbe = [] { return true; };
        SetMainWindowService(window.get());
        window->FirstActivationTimer->stop();
        window->FormActivate();
        window->Timer1->stop();
        now += 1000;
        window->Timer1Timer();
        window->Timer1->stop();

        std::printf("start (window, log-in, session, first record of %d): %.1f ms, %d syncs\n", kRecords,
            startClock.nsecsElapsed() / 1e6, bench::SyncCalls - startSyncs);
        TVxDBGrid* grid = window->RecordPanel->DBGrid_Tree;
        Figures open, save;
        QElapsedTimer clock;
        for (int round = 0; round < rounds; ++round) {
            // Open the next record.
            grid->setCurrentIndex(grid->model()->index((round + 1) % kRecords, 0));
            now += 600;
            drainEvents();
            int syncs = bench::SyncCalls;
            clock.start();
            window->Timer1Timer();
            open.ms.push_back(clock.nsecsElapsed() / 1e6);
            open.syncs.push_back(bench::SyncCalls - syncs);
            window->Timer1->stop();
            TCell* tree = window->FRootCell();
            std::vector<TCell*> quantities;
            if (tree)
                bench::CollectQuantities(*tree, quantities);
            if (int(quantities.size()) != kInputs || CurrentRecordID != window->RecordPanel->View().CurrentRowID()) {
                std::fprintf(stderr, "the record was not opened\n");
                return 1;
            }
            // Edit one input's value; the next tick stores the record with its history row.
            TCell* input = quantities[size_t(round * 37 % kInputs)];
            input->FValue.Text = QStringLiteral("2.%1").arg(round + 1);
            HistoryOriginalValues = QStringLiteral("x = 1.5");
            HistoryNewValues = QStringLiteral("x = ") + input->FValue.Text;
            CellTreeChanged = true;
            now += 50;
            drainEvents();
            syncs = bench::SyncCalls;
            clock.start();
            window->Timer1Timer();
            save.ms.push_back(clock.nsecsElapsed() / 1e6);
            save.syncs.push_back(bench::SyncCalls - syncs);
            window->Timer1->stop();
            if (window->Document().FModified || window->Document().LastSave != TRecordSaveOutcome::Stored) {
                std::fprintf(stderr, "the edit was not stored\n");
                return 1;
            }
        }
        open.Print("open a record of 1,000 inputs");
        save.Print("save after an edit (timer: undo snapshot, store, history row)");
        window->Document().DropUndoTable();
        SetMainWindowService(nullptr);
        window.reset();
        SetLoginPrompt(nullptr);
        DataModule1 = nullptr;
    }
    CommonDone();
    return 0;
}
