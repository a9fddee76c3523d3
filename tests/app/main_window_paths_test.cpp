// The main window's own paths in the program as it ships: the report pages follow the
// record shown, the diagram's context menu, the cell tool's button and timers around a
// cell dialog, the summary of quantities, and the panel widths kept between two runs.

#include "core/settings.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/record_writes.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/ui/diagram_view.h"
#include "mainwindow/main_document.h"
#include "mainwindow/ui/quantity_cell_dialog.h"
#include "mainwindow/ui/table_quantities.h"
#include "platform/sql_database.h"
#include "tests/app/program_fixture.h"

#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

using namespace orvek;
using orvek::test::DialogScript;
using orvek::test::ProgramTest;
using orvek::test::WhenShown;

namespace {

// The diagram text of Equation (over a and b) with input a of value A and b = 2.
QString ModelText(const QString& equation, const QString& a)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = info.Symbol = "y";
    info.Equation = equation;
    info.NormalizedEquation = QString(equation).remove(' ');
    TCell root(nullptr, info, 0, 0, nullptr);
    for (const auto& [symbol, value] : { std::pair { QString("a"), a }, std::pair { QString("b"), QString("2") } }) {
        TPrenosInfoDoNovejBunky q;
        q.CellType = kQuantityCell;
        q.CellName = q.Symbol = q.QuantityName = symbol;
        q.ValueType = 1;
        q.Value = value;
        root.AddChild(q);
    }
    StoreCellComments = true;
    return root.SaveToText() + "\r\n";
}

class MainWindowPaths : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        // Two records, written by another workstation before the log-in.
        first = AddRecord("Meranie prve", "y = a + b", "1");
        second = AddRecord("Meranie druhe", "y = a * b", "10");
    }
    void TearDown() override
    {
        ProgramTest::TearDown();
        CloseFolderDatabase("other");
    }

    static int AddRecord(const QString& name, const QString& equation, const QString& a)
    {
        QString error;
        QSqlDatabase db = OpenFolderDatabase("other", DatabaseDir, false, &error);
        EXPECT_TRUE(db.isOpen()) << error.toStdString();
        TNewRecord record;
        record.GroupID = 1;
        record.RecordName = name;
        record.UserID = 1;
        record.Diagram = ModelText(equation, a);
        return int(AppendRecord(db, record, &error));
    }

    RecordViewPanel& Panel() { return *Main().RecordPanel; }
    TCell* Root() { return Main().FRootCell(); }
    int RowOf(int id)
    {
        TRecordView& view = Panel().View();
        for (int row = 0; row < view.RowCount(); ++row)
            if (view.RowID(row) == id)
                return row;
        return -1;
    }
    // Moves the grid to record ID as a click on its row does, and waits until the
    // timer has loaded it.
    void ShowRecord(int id)
    {
        // The timer loads only into the active window.
        Main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
        const int row = RowOf(id);
        ASSERT_GE(row, 0) << id;
        Panel().DBGrid_Tree->setCurrentIndex(Panel().DBGrid_Tree->model()->index(row, 0));
        ASSERT_TRUE(QTest::qWaitFor([&] { return CurrentRecordID == id && Root(); }, 5000)) << id;
    }
    // A tab chosen as a click on it chooses it.
    void ChoosePage(QWidget* page) { Main().PageControl1->setCurrentWidget(page); }
    QString ShortReport() { return Main().RichEdit_ShortReport->toPlainText(); }
    TCellBoxWidget* BoxOf(TCell* cell) { return Main().ScrollBox2->BoxOf(cell); }
    // The mouse moved onto Pos of Widget and its right button clicked there, through
    // the window as the window system delivers them.
    void RightClick(QWidget* widget, const QPoint& pos)
    {
        QWindow* window = Main().windowHandle();
        const QPoint at = widget->mapTo(&Main(), pos);
        QTest::mouseMove(window, at);
        QTest::mouseClick(window, Qt::RightButton, {}, at);
    }
    QToolButton* EditToolButton()
    {
        return qobject_cast<QToolButton*>(Main().ToolBar2->widgetForAction(Main().ActionEditovatObsahBunky));
    }

    int first = 0, second = 0;
};

TEST_F(MainWindowPaths, TheReportPagesShowTheRecordLoadedWhileTheDiagramWasShown)
{
    StartAsAdministrator();
    ShowRecord(first);
    ChoosePage(Main().TabSheet_Poznamky);
    EXPECT_TRUE(ShortReport().contains("Meranie prve")) << ShortReport().toStdString();
    ChoosePage(Main().TabSheet_VzorecPreNeistotu);
    const QString firstFormula = Main().RichEdit981->toPlainText();
    EXPECT_FALSE(firstFormula.isEmpty());

    // Another record loaded on the diagram page: the other pages follow when chosen.
    ChoosePage(Main().TabSheet_Struktura);
    ShowRecord(second);
    ChoosePage(Main().TabSheet_Poznamky);
    EXPECT_TRUE(ShortReport().contains("Meranie druhe")) << ShortReport().toStdString();
    EXPECT_FALSE(ShortReport().contains("Meranie prve"));
    ChoosePage(Main().TabSheet_VzorecPreNeistotu);
    EXPECT_FALSE(Main().RichEdit981->toPlainText().isEmpty());
    EXPECT_NE(Main().RichEdit981->toPlainText(), firstFormula);
}

TEST_F(MainWindowPaths, ARightClickOnTheDiagramOpensItsMenu)
{
    StartAsAdministrator();
    ShowRecord(first);
    QMenu* menu = Main().PopupMenu1;
    TCell* a = Root()->Child(0);
    TCellBoxWidget* box = BoxOf(a);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->isVisible(); }, 5000));

    // Over a cell box: the menu offers to edit that cell.
    RightClick(box, box->rect().center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 5000));
    EXPECT_EQ(Main().FPopupCell, a);
    EXPECT_TRUE(Main().Editovaobsahbunky2->isVisible());
    EXPECT_TRUE(menu->actions().at(1)->isVisible()) << "the separator below the edit item";
    menu->hide();

    // The edit item opens the cell's dialog; the record is the same afterwards.
    bool shown = false;
    WhenShown<TfOrvek9>([&](TfOrvek9& dialog) {
        shown = true;
        dialog.Button_Cancel->click();
    });
    Main().Editovaobsahbunky2->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(Main().FPopupCell, nullptr);
    EXPECT_FALSE(CmdEditCell);

    // Off every box: only the diagram's own entries.
    QWidget* canvas = Main().ScrollBox2->Canvas();
    const QPoint empty(canvas->width() - 5, canvas->height() - 5);
    ASSERT_EQ(canvas->childAt(empty), nullptr);
    RightClick(canvas, empty);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 5000));
    EXPECT_EQ(Main().FPopupCell, nullptr);
    EXPECT_FALSE(Main().Editovaobsahbunky2->isVisible());
    EXPECT_FALSE(menu->actions().at(1)->isVisible());
    menu->hide();
}

TEST_F(MainWindowPaths, ABoxClickRunsTheArmedCommandWithTheTimersPausedAndReleasesTheToolButton)
{
    StartAsAdministrator();
    ShowRecord(first);
    TCellBoxWidget* box = BoxOf(Root()->Child(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->isVisible(); }, 5000));

    Main().ActionEditovatObsahBunky->trigger();
    ASSERT_TRUE(CmdEditCell);
    ASSERT_NE(EditToolButton(), nullptr);
    EXPECT_TRUE(EditToolButton()->isChecked());

    bool mainTimerDuringDialog = true, templateTimerDuringDialog = true, shown = false;
    WhenShown<TfOrvek9>([&](TfOrvek9& dialog) {
        shown = true;
        mainTimerDuringDialog = Main().Timer1->isActive();
        templateTimerDuringDialog = program->TemplateWindow().Timer1->isActive();
        dialog.Button_Cancel->click();
    });
    QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    ASSERT_TRUE(shown);
    EXPECT_FALSE(mainTimerDuringDialog);
    EXPECT_FALSE(templateTimerDuringDialog);

    // Nothing is armed any more, and the button shows it; the main window's timer runs
    // again (the template window is hidden).
    EXPECT_FALSE(CmdEditCell);
    EXPECT_FALSE(Main().ActionEditovatObsahBunky->isChecked());
    EXPECT_FALSE(EditToolButton()->isChecked());
    EXPECT_TRUE(Main().Timer1->isActive());
    EXPECT_FALSE(program->TemplateWindow().Timer1->isActive());
}

TEST_F(MainWindowPaths, TheSummaryOfQuantitiesRebuildsAnOpenShortReportAtOnce)
{
    StartAsAdministrator();
    ShowRecord(first);
    ChoosePage(Main().TabSheet_Poznamky);
    const QString before = ShortReport();
    ASSERT_FALSE(before.isEmpty());

    WhenShown<TfTableQuantites>([](TfTableQuantites& summary) {
        QTableWidget* grid = summary.StringGrid_Quantities;
        // The row of quantity a: retyped from 1 to 5.
        for (int row = 0; row < grid->rowCount(); ++row)
            if (grid->item(row, 0) && grid->item(row, 0)->text() == "a")
                grid->item(row, 2)->setText("5");
        summary.OkButtonClick();
    });
    // All cells have values: the summary window is switched on, no question is asked.
    Main().ActionSuhrnVelicin->trigger();
    EXPECT_EQ(Root()->Child(0)->FValue.Text, "5");
    // The page shows the new input and the result computed from it (y = 5 + 2).
    const QString after = ShortReport();
    EXPECT_TRUE(before.contains("\na\n1\n"));
    EXPECT_TRUE(after.contains("\na\n5\n")) << after.toStdString();
    EXPECT_TRUE(after.contains("\ny\n7.0\n")) << after.toStdString();
    if (Main().ActionShowHideSummaryWindow->isChecked())
        Main().ActionShowHideSummaryWindow->trigger();
}

TEST_F(MainWindowPaths, BothPanelWidthsComeBackAtTheNextStart)
{
    StartAsAdministrator();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Main().Panel_MeasurementDB->width() > 0; }, 5000));
    QSplitter* splitter = Main().Splitter_Panels;
    QList<int> sizes = splitter->sizes();
    ASSERT_EQ(sizes.size(), 3);
    const int total = sizes[0] + sizes[1] + sizes[2];
    const QList<int> chosen { 260, 330, total - 590 };
    splitter->setSizes(chosen);
    ASSERT_EQ(Main().Panel_MeasurementTree->width(), 260);
    ASSERT_EQ(Main().Panel_MeasurementDB->width(), 330);

    // Closed by the user (605 answered Yes): the widths are stored; the next start reads
    // them back.
    DialogScript::Instance().AnswerMessage(mrYes);
    ASSERT_TRUE(Main().close());
    Stop();
    WindowSizeOrvek1 = {};
    LoadSettings();
    EXPECT_EQ(WindowSizeOrvek1[0], 260);
    EXPECT_EQ(WindowSizeOrvek1[1], 330);
    Start();
    AnswerLogin("admin", "heslo1");
    ShowAndWaitForLogin();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Main().Panel_MeasurementDB->width() > 0; }, 5000));
    EXPECT_EQ(Main().Panel_MeasurementTree->width(), 260);
    EXPECT_EQ(Main().Panel_MeasurementDB->width(), 330);
}

TEST_F(MainWindowPaths, AStoredWidthThatDoesNotFitGivesTheMinimumAndAFifth)
{
    // Too wide for the window, and narrower than the minimum.
    Stop();
    WindowSizeOrvek1 = { 5000, 10 };
    Start();
    StartAsAdministrator();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Main().Panel_MeasurementDB->width() > 0; }, 5000));
    const auto fallback = [](QWidget* panel) { return int(std::nearbyint(panel->minimumWidth() * 1.2)); };
    EXPECT_EQ(Main().Panel_MeasurementTree->width(), fallback(Main().Panel_MeasurementTree));
    EXPECT_EQ(Main().Panel_MeasurementDB->width(), fallback(Main().Panel_MeasurementDB));
}

} // namespace

namespace {

// The texts of a menu's items and of its submenus' items, each with the menu's path;
// an item without a text is listed as "<path>: (no text)".
void CollectItemsWithoutText(const QMenu& menu, const QString& path, QStringList& missing)
{
    for (QAction* action : menu.actions()) {
        if (action->isSeparator())
            continue;
        const QString text = action->text();
        if (text.trimmed().isEmpty())
            missing << path + ": " + action->objectName() + " (no text)";
        if (action->menu())
            CollectItemsWithoutText(*action->menu(), path + " > " + text, missing);
    }
}

// Every item of the main window's menus has a text, in English and in Slovak.
TEST_F(MainWindowPaths, EveryMenuItemHasATextInEachLanguage)
{
    StartAsAdministrator();
    for (const char* language : { "ActionLanguageSlovak", "ActionLanguageEnglish" }) {
        SCOPED_TRACE(language);
        Action(language)->trigger();
        QStringList missing;
        for (QAction* top : Main().menuBar()->actions())
            if (top->menu())
                CollectItemsWithoutText(*top->menu(), top->text(), missing);
        EXPECT_EQ(missing, QStringList());
    }
}

} // namespace
