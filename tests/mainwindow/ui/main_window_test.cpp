#include "mainwindow/ui/main_window.h"

#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "core/ui/splash_window.h"
#include "database/record_writes.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/ui/diagram_view.h"
#include "mainwindow/main_document.h"
#include "mainwindow/main_tick.h"
#include "tests/mainwindow/main_record_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

using namespace orvek;
using orvek::test::DialogScript;

namespace {

// The main window on a database of three records of y = a + b (a = 1, 10, 100), with
// Eva (rights 3) answering the log-in, the timer's clock in the test's hand and the
// window counted as active.
class MainWindow : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        DataModule1 = module.get();
        eva = AddUser("eva", "heslo1", 3);
        QSqlDatabase db = module->SessionOrvek().Database(AliasDB);
        for (const char* a : { "1", "10", "100" }) {
            TNewRecord record;
            record.GroupID = 1;
            record.RecordName = QStringLiteral("meranie %1").arg(a);
            record.UserID = eva;
            record.SampleID = QStringLiteral("S%1").arg(a);
            record.Diagram = test::ModelText(a);
            ids << int(AppendRecord(db, record));
        }
        DialogScript::Instance().Reset();
        Orvek1TableInfo = TTableInfo();
        MakeWindow();
    }
    void TearDown() override
    {
        window.reset();
        SetMainWindowService(nullptr);
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        DialogScript::Instance().Reset();
        DataModule1 = nullptr;
        CellTreeChanged = TreeLoadInProgress = false;
        test::UserDatabase::TearDown();
    }
    void MakeWindow()
    {
        window = std::make_unique<TfOrvek1>(nullptr, [this] { return now; });
        window->ActiveWindowProbe = [this] { return active; };
        SetMainWindowService(window.get());
    }
    // The first activation, as it runs without a window manager, with Eva logging in.
    void Start()
    {
        prompt.logins.push_back({ "eva", "heslo1" });
        window->FirstActivationTimer->start(0);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->FFirstActivation; }, 5000));
        window->Timer1->stop();
    }
    // One tick, Ms milliseconds after the last; the timer is then left off so that only
    // the test's ticks run.
    void Tick(quint32 ms = 0)
    {
        now += ms;
        window->Timer1Timer();
        window->Timer1->stop();
    }
    void MoveGrid(int row)
    {
        RecordViewPanel& panel = *window->RecordPanel;
        panel.DBGrid_Tree->setCurrentIndex(panel.DBGrid_Tree->model()->index(row, 0));
    }
    TCell* Root() { return window->Document().RootCell; }
    QString ShownA() { return Root() && Root()->ChildCount() ? Root()->Child(0)->FValue.Text : QString(); }
    // A change of the user's: input a gets Value, the tick stores it.
    void Change(const QString& value)
    {
        Root()->Child(0)->FValue.Text = value;
        CellTreeChanged = true;
        Tick(10);
    }
    static void Exec(const QString& sql, const QVariantList& values)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        ASSERT_TRUE(ExecBound(query, sql, values));
    }
    static QString StoredA(int id) { return test::ValueOfA(Row("TreeDB", id)["Strom"].toString()); }

    std::unique_ptr<TfOrvek1> window;
    QVector<int> ids;
    int eva = 0;
    quint32 now = 100000;
    bool active = true;
};

TEST_F(MainWindow, FirstActivationWithoutAWindowManagerLogsInAndShowsTheFirstRecord)
{
    fOrvekLoad = new TfOrvekLoad;
    Start();
    EXPECT_EQ(fOrvekLoad, nullptr);
    EXPECT_EQ(CurrentUserID, eva);
    EXPECT_TRUE(window->FSessionOpen);
    EXPECT_EQ(window->RecordPanel->View().RowCount(), 3);
    EXPECT_FALSE(window->findChild<QLabel*>("StatusPanel0")->text().isEmpty());

    // The first record is loaded on the first tick once 500 ms have passed since the
    // activation.
    Tick(100);
    EXPECT_EQ(Root(), nullptr);
    Tick(500);
    ASSERT_NE(Root(), nullptr);
    EXPECT_EQ(CurrentRecordID, window->RecordPanel->View().CurrentRowID());
    EXPECT_EQ(window->RecordPanel->Panel_RecNo->text(), "1/3");
    EXPECT_FALSE(window->RichEdit_Rovnice->toPlainText().isEmpty());
    EXPECT_TRUE(window->windowTitle().endsWith("(100%)"));

    // A later activation changes only the diagram kind.
    CurrentDiagramKind = true;
    window->FormActivate();
    EXPECT_FALSE(CurrentDiagramKind);
    EXPECT_EQ(prompt.logins.size(), 0u);
}

TEST_F(MainWindow, TheTimerOnlyLoadsWhileTheWindowIsActive)
{
    Start();
    active = false;
    Tick(1000);
    EXPECT_EQ(Root(), nullptr);
    active = true;
    Tick(10);
    EXPECT_NE(Root(), nullptr);
}

TEST_F(MainWindow, UndoAndRedoFollowTheStoredStatesAndAGridMoveSavesTheShownRecord)
{
    Start();
    Tick(1000);
    const int first = CurrentRecordID;
    EXPECT_FALSE(window->ActionUndo->isEnabled());
    Change("5");
    EXPECT_EQ(StoredA(first), "5");
    EXPECT_TRUE(window->ActionUndo->isEnabled());
    EXPECT_FALSE(window->ActionRedo->isEnabled());

    window->ActionUndo->trigger();
    EXPECT_EQ(ShownA(), "1");
    EXPECT_TRUE(window->FModified());
    EXPECT_FALSE(window->ActionUndo->isEnabled());
    EXPECT_TRUE(window->ActionRedo->isEnabled());
    window->ActionRedo->trigger();
    EXPECT_EQ(ShownA(), "5");
    EXPECT_FALSE(window->FModified());
    window->ActionUndo->trigger();

    // A grid move asks 115; Yes stores the undone state into the record shown, not into
    // the row the grid moved to.
    DialogScript::Instance().AnswerMessage(mrYes);
    MoveGrid(1);
    const int second = window->RecordPanel->View().CurrentRowID();
    Tick(600);
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(115) });
    EXPECT_EQ(StoredA(first), "1");
    EXPECT_EQ(StoredA(second), "10");
    EXPECT_EQ(CurrentRecordID, second);
    EXPECT_EQ(ShownA(), "10");
    EXPECT_FALSE(window->ActionUndo->isEnabled());
}

TEST_F(MainWindow, AReloadOrAMultiSelectionSavesTheModifiedDiagramWithoutAsking)
{
    for (const bool multiSelection : { false, true }) {
        SCOPED_TRACE(multiSelection ? "multi-selection" : "reload");
        MakeWindow();
        Start();
        Tick(1000);
        const int shown = CurrentRecordID;
        Change("7");
        window->ActionUndo->trigger();
        ASSERT_TRUE(window->FModified());
        ASSERT_TRUE(module->CanLockItem());
        if (multiSelection) {
            window->RecordPanel->FMultiSelect = true;
            window->RecordPanel->DBGrid_Tree->setSelectionMode(QAbstractItemView::MultiSelection);
            window->RecordPanel->DBGrid_Tree->selectAll();
            Tick(10);
            EXPECT_EQ(Root(), nullptr);
            EXPECT_EQ(CurrentRecordID, 0);
            EXPECT_EQ(window->RecordPanel->Panel_RecNo->text(), "0/0");
        } else {
            // The reload is served at once, without the 500 ms wait.
            window->RequestRecordReload();
            Tick(10);
            EXPECT_EQ(CurrentRecordID, shown);
            EXPECT_EQ(ShownA(), "1");
            EXPECT_FALSE(window->FModified());
        }
        EXPECT_EQ(StoredA(shown), "1");
        EXPECT_EQ(Row("TreeDB", shown)["OpenedByUserID"].toInt(), 0);
        EXPECT_TRUE(DialogScript::Instance().Shown().isEmpty());
        DialogScript::Instance().Reset();
        window->RecordPanel->FMultiSelect = false;
    }
}

TEST_F(MainWindow, CloseAsksAndStaysOpenOnNoCancelOrAFailedSave)
{
    const struct {
        const char* name;
        QVector<int> answers;
        bool storedElsewhere;
        bool closes;
        int messages;
    } cases[] = {
        { "no to closing", { mrNo }, false, false, 1 },
        { "cancel to saving", { mrYes, mrCancel }, false, false, 2 },
        { "save refused", { mrYes, mrYes, mrCancel }, true, false, 3 },
        { "saved", { mrYes, mrYes }, false, true, 2 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MakeWindow();
        Start();
        Tick(1000);
        const int shown = CurrentRecordID;
        const QString loaded = ShownA();
        Change("3");
        window->ActionUndo->trigger();
        if (c.storedElsewhere)
            Exec("UPDATE TreeDB SET Strom = ? WHERE ID = ?", { test::ModelText("9"), shown });
        DialogScript::Instance().Reset();
        for (int answer : c.answers)
            DialogScript::Instance().AnswerMessage(answer);
        EXPECT_EQ(window->close(), c.closes);
        EXPECT_EQ(DialogScript::Instance().Shown().size(), c.messages);
        EXPECT_EQ(window->Timer1->isActive(), !c.closes);
        EXPECT_EQ(window->FClosing, c.closes);
        if (c.closes) {
            EXPECT_EQ(StoredA(shown), loaded);
            EXPECT_FALSE(window->Document().UndoTable().Exists());
        }
        window->Timer1->stop();
    }
}

TEST_F(MainWindow, TheGridColumnsComeFromAndGoBackToTheStoredLayout)
{
    // Position 1 shows descriptor 3 (SampleID) with the width stored for position 1.
    TTableInfo info;
    TRecordGridColumns columns;
    columns.Order = { 3, 6, 5, 4, 7 };
    columns.Widths = { 91, 92, 93, 94, 95 };
    StoreRecordColumns(columns, info);
    Orvek1TableInfo = info;
    MakeWindow();
    Start();
    TVxDBGrid* grid = window->RecordPanel->DBGrid_Tree;
    EXPECT_EQ(window->RecordPanel->View().ColumnFields.value(0), "SampleID");
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), GetString(646));
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(0), 91);

    grid->horizontalHeader()->resizeSection(1, 120);
    Orvek1TableInfo = TTableInfo();
    DialogScript::Instance().AnswerMessage(mrYes);
    EXPECT_TRUE(window->close());
    const TRecordGridColumns stored = RecordColumnsFromLayout(Orvek1TableInfo);
    EXPECT_EQ(stored.Order, columns.Order);
    EXPECT_EQ(stored.Widths[1], 120);
}

TEST_F(MainWindow, ActionsFollowRightsAndRows)
{
    Start();
    Tick(1000);
    const struct {
        int rights;
        bool administrator, strings, diagram;
    } cases[] = {
        { 1, true, true, true },
        { 3, false, false, true },
        { 0, false, false, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rights);
        CurrentUserRights = c.rights;
        window->UpdateActions(1);
        EXPECT_EQ(window->menuAdministrator->menuAction()->isVisible(), c.administrator);
        // Every user logs in again, logs out and changes the own password from the File
        // menu, which everybody sees; after a failed log-in only the log-in is offered.
        for (QAction* action :
            { window->aLogInNewUser, window->aOdhlasenieUzivatela, window->RecordPanel->aChangeUserPassword }) {
            EXPECT_TRUE(window->MenuFile->actions().contains(action));
            EXPECT_FALSE(window->menuAdministrator->actions().contains(action));
        }
        EXPECT_TRUE(window->aLogInNewUser->isEnabled());
        EXPECT_EQ(window->aOdhlasenieUzivatela->isEnabled(), c.rights >= 1);
        EXPECT_EQ(window->RecordPanel->aChangeUserPassword->isEnabled(), c.rights >= 1);
        EXPECT_EQ(window->ActionProgramoveStringy->isVisible(), c.strings);
        EXPECT_EQ(window->ActionStromZvacsit->isEnabled(), c.diagram);
        EXPECT_EQ(window->RecordPanel->ActionNewRecFromTemplateTree->isEnabled(), c.rights >= 1);
    }
    window->UpdateActions(0);
    EXPECT_FALSE(window->ActionStromZvacsit->isEnabled());
    EXPECT_FALSE(window->ComboBox_Zoom->isEnabled());
}

TEST_F(MainWindow, TheWeighingImportsAreTheLastButtonsOfTheSecondToolBarInTheWeighingEdition)
{
    Start();
    Tick(1000);
    const QList<QAction*> tools = window->ToolBar2->actions();
    ASSERT_GE(tools.size(), 2);
    EXPECT_EQ(tools[tools.size() - 2], window->ActionImportDataForRegulationDiagram_Au);
    EXPECT_EQ(tools.back(), window->ActionImportDataForRegulationDiagram_Ag);

    const bool edition = OstrevinMode;
    OstrevinMode = true;
    window->UpdateActions(1);
    EXPECT_TRUE(window->ActionImportDataForRegulationDiagram_Au->isVisible());
    // Declining the question imports nothing and leaves the timer as it was.
    window->Timer1->start();
    DialogScript::Instance().AnswerMessage(mrNo);
    window->ActionImportDataForRegulationDiagram_Au->trigger();
    EXPECT_EQ(DialogScript::Instance().Shown().size(), 1);
    EXPECT_TRUE(window->Timer1->isActive());
    window->Timer1->stop();
    OstrevinMode = edition;
    window->UpdateActions(1);
    EXPECT_FALSE(window->ActionImportDataForRegulationDiagram_Ag->isVisible());
}

TEST_F(MainWindow, ASecondStartBringsTheWindowToTheFront)
{
    Start();
    window->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->isMinimized(); }, 2000));
    window->RestoreAndActivate();
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->isVisible() && !window->isMinimized(); }, 2000));
}

} // namespace

namespace {

// Pictures of the main window with a loaded model for looking at them: written only
// when ORVEK_SHOTS names a folder (run under xvfb-run with QT_QPA_PLATFORM=xcb).
TEST_F(MainWindow, Screenshots)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "ORVEK_SHOTS is not set";
    window->resize(1200, 760);
    window->show();
    Start();
    Tick(1000);
    ASSERT_NE(Root(), nullptr);
    for (const int language : { 0, 1 }) {
        LanguageID = language;
        window->RefreshTexts();
        for (const int preset : { 3, 1 }) {
            ZoomPresetIndex = preset;
            ZoomPresetRequest = true;
            Tick(10);
            QTest::qWait(200);
            window->grab().save(QStringLiteral("%1/main_window_%2_%3.png")
                                    .arg(folder, language ? "sk" : "en", preset == 3 ? "100" : "50"));
        }
    }
    // The second tool bar of the weighing edition, with its two import buttons.
    const bool edition = OstrevinMode;
    OstrevinMode = true;
    window->UpdateActions(1);
    window->resize(1900, 760);
    QTest::qWait(200);
    window->ToolBar2->grab().save(folder + "/main_window_toolbar2_weighing.png");
    OstrevinMode = edition;
}

} // namespace
