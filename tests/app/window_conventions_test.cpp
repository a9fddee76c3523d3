// The program's windows as a user at a 1280 x 1024 screen meets them, in each of the
// program's languages: every window and dialog fits the screen with its buttons in
// sight, Enter presses OK and Escape closes, help and the small editors open in front
// of the window that asked for them, Qt's own texts and calendars speak the program's
// language while numbers keep the regional settings.

#include "core/common_vars.h"
#include "core/help.h"
#include "core/number_text.h"
#include "core/services.h"
#include "core/string_table.h"
#include "core/ui/help_window.h"
#include "core/ui/string_browser.h"
#include "database/data_module.h"
#include "database/record_writes.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/ui/diagram_view.h"
#include "mainwindow/main_language.h"
#include "mainwindow/ui/cell_properties_dialog.h"
#include "mainwindow/ui/equation_cell_dialog.h"
#include "mainwindow/ui/list_of_variables_units.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "mainwindow/ui/quantity_cell_dialog.h"
#include "mainwindow/ui/summary_windows.h"
#include "platform/desktop.h"
#include "platform/regional_locale.h"
#include "platform/sql_database.h"
#include "platform/ui/window_placement.h"
#include "sources/ui/source_dialog_chart_detail.h"
#include "tests/app/program_fixture.h"

#include <QAbstractScrollArea>
#include <QDateEdit>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

using namespace orvek;
using orvek::test::DialogScript;
using orvek::test::ProgramTest;
using orvek::test::WhenShown;

namespace {

QString Text(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Window lies on the screen's available area, frame included, and every push button
// of its own (outside scrolled parts) lies inside it.
void ExpectFits(QWidget& window, const std::string& what)
{
    const QRect area = window.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(window.frameGeometry()))
        << what << ": " << Text(window.frameGeometry()).toStdString() << " on " << Text(area).toStdString();
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->window() != &window || !button->isVisibleTo(&window))
            continue;
        bool scrolled = false;
        for (QWidget* up = button->parentWidget(); up && up != &window; up = up->parentWidget())
            scrolled = scrolled || qobject_cast<QAbstractScrollArea*>(up);
        if (scrolled)
            continue;
        const QRect at(button->mapTo(&window, QPoint(0, 0)), button->size());
        EXPECT_TRUE(window.rect().contains(at))
            << what << ": button " << button->objectName().toStdString() << " at " << Text(at).toStdString() << " in "
            << Text(window.rect()).toStdString();
    }
}

QPushButton* DefaultButton(QWidget& window)
{
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->isDefault() && button->window() == &window)
            return button;
    return nullptr;
}

void PressKey(QWidget& window, Qt::Key key)
{
    QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
    QTest::keyClick(target, key);
}

// The diagram text of y = a + b with a = 1 and b = 2.
QString ModelText()
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = info.Symbol = "y";
    info.Equation = info.NormalizedEquation = "a+b";
    TCell root(nullptr, info, 0, 0, nullptr);
    for (const auto& [symbol, value] :
        { std::pair { QString("a"), QString("1") }, std::pair { QString("b"), QString("2") } }) {
        TPrenosInfoDoNovejBunky q;
        q.CellType = kQuantityCell;
        q.CellName = q.Symbol = q.QuantityName = symbol;
        q.ValueType = 1;
        q.Value = value;
        root.AddChild(q);
    }
    return root.SaveToText() + "\r\n";
}

class WindowConventionsTest : public ProgramTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        QString error;
        {
            QSqlDatabase db = OpenFolderDatabase("other", DatabaseDir, false, &error);
            ASSERT_TRUE(db.isOpen()) << error.toStdString();
            TNewRecord record;
            record.GroupID = 1;
            record.RecordName = "Meranie";
            record.UserID = 1;
            record.Diagram = ModelText();
            recordId = int(AppendRecord(db, record, &error));
        }
        CloseFolderDatabase("other");
    }

    // Logs in and switches the program to the language of the test.
    void StartInLanguage()
    {
        StartAsAdministrator();
        if (GetParam() == 1) {
            Main().SwitchToSlovak();
        } else if (GetParam() == 2) {
            SwitchProgramLanguage(2);
            Main().RefreshTexts();
        }
        ASSERT_EQ(LanguageID, GetParam());
        Main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
    }

    // Shows the record in the main window, as a click on its row does.
    void ShowRecord()
    {
        Main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
        Main().RecordPanel->DBGrid_Tree->setCurrentIndex(Main().RecordPanel->DBGrid_Tree->model()->index(0, 0));
        ASSERT_TRUE(QTest::qWaitFor([&] { return CurrentRecordID == recordId && Main().FRootCell(); }, 5000));
    }

    // Opens the quantity dialog of cell a; Action runs on it.
    void OnQuantityDialog(const std::function<void(TfOrvek9&)>& action)
    {
        TCellBoxWidget* box = Main().ScrollBox2->BoxOf(Main().FRootCell()->Child(0));
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return box->isVisible(); }, 5000));
        Main().ActionEditovatObsahBunky->trigger();
        bool shown = false;
        WhenShown<TfOrvek9>([&](TfOrvek9& dialog) {
            shown = true;
            action(dialog);
        });
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        ASSERT_TRUE(shown);
        Main().activateWindow();
    }

    int recordId = 0;
};

TEST_P(WindowConventionsTest, TheMainWindowAndItsDialogsFitTheScreenWithTheirButtonsInSight)
{
    StartInLanguage();
    const std::string language = std::to_string(GetParam());
    ExpectFits(Main(), "main window " + language);
    // The tool bars need no overflow button at the width of the screen.
    Main().showNormal();
    Main().resize(WindowRoom(&Main()).width(), Main().height());
    QTest::qWait(100);
    for (QToolBar* bar : Main().findChildren<QToolBar*>()) {
        if (!bar->isVisible())
            continue;
        EXPECT_LE(bar->sizeHint().width(), Main().width()) << bar->objectName().toStdString() << " " << language;
        for (QToolButton* extension : bar->findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
            EXPECT_FALSE(extension->isVisible()) << bar->objectName().toStdString() << " " << language;
    }

    // The settings: fits, OK is the default, Escape closes.
    bool settingsShown = false;
    WhenShown<TfOrvekVlastnostiBunky>([&](TfOrvekVlastnostiBunky& dialog) {
        settingsShown = true;
        ExpectFits(dialog, "settings " + language);
        QPushButton* ok = DefaultButton(dialog);
        EXPECT_NE(ok, nullptr) << "settings have no default button";
        PressKey(dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible()) << "Escape left the settings open";
        if (dialog.isVisible())
            dialog.reject();
    });
    Main().ActionZobrazitVlastnostiBuniek->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return settingsShown; }, 10000));
    Main().activateWindow();

    // The list of texts: fits, its column titles in the program's language.
    bool stringsShown = false;
    WhenShown<TfOrvek2>([&](TfOrvek2& dialog) {
        stringsShown = true;
        ExpectFits(dialog, "program texts " + language);
        const QAbstractItemModel* model = dialog.DBGrid1->model();
        QStringList titles;
        for (int column = 0; column < 2; ++column)
            titles << model->headerData(column, Qt::Horizontal).toString();
        EXPECT_EQ(titles.join('|'), GetString(23800) + '|' + GetString(23801));
        PressKey(dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        if (dialog.isVisible())
            dialog.reject();
    });
    Action("ActionProgramoveStringy")->trigger();
    ASSERT_TRUE(stringsShown);
    Main().activateWindow();

    // The chart windows, the widest of the program.
    for (int method : { 11, 12 }) {
        ASSERT_TRUE(ChartDetailFactory);
        std::unique_ptr<TChartDetailWindow> chart = ChartDetailFactory(method, &Main());
        auto* window = dynamic_cast<QDialog*>(chart.get());
        ASSERT_NE(window, nullptr);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        ExpectFits(*window, "chart window " + std::to_string(method) + " " + language);
        auto* ok = window->findChild<QPushButton*>(QStringLiteral("Button_OK"));
        ASSERT_NE(ok, nullptr);
        EXPECT_TRUE(ok->isVisible());
        window->hide();
    }
}

TEST_P(WindowConventionsTest, QtsTextsAndCalendarsSpeakTheProgramsLanguageWhileNumbersKeepTheirSettings)
{
    StartInLanguage();
    const QLocale::Language expected[] = { QLocale::English, QLocale::Slovak, QLocale::Czech };
    EXPECT_EQ(QLocale().language(), expected[GetParam()]);
    QDateEdit date;
    date.setDate(QDate(2026, 12, 11));
    EXPECT_EQ(date.locale().monthName(12), QLocale(expected[GetParam()]).monthName(12));
    // The number settings are those the program found at start (the tests' C locale).
    EXPECT_EQ(RegionalLocale().decimalPoint(), QStringLiteral("."));
    InitDecimalSeparators();
    EXPECT_EQ(OwnDecimalSeparator, QChar('.'));

    // Back to English: the default follows the language again.
    Main().SwitchToEnglish();
    EXPECT_EQ(QLocale().language(), QLocale::English);
    EXPECT_EQ(RegionalLocale().decimalPoint(), QStringLiteral("."));
}

TEST_P(WindowConventionsTest, EnterPressesOkAndTabbingThroughTheQuantityDialogChangesNothing)
{
    StartInLanguage();
    ShowRecord();

    // Tab through every field without typing: Escape closes without asking.
    bool closed = false;
    OnQuantityDialog([&](TfOrvek9& dialog) {
        EXPECT_EQ(DefaultButton(dialog), dialog.Button_OK);
        for (int i = 0; i < 40; ++i)
            PressKey(dialog, Qt::Key_Tab);
        QTest::qWait(300); // the dialog's timer looks at the boxes
        PressKey(dialog, Qt::Key_Escape);
        closed = !dialog.isVisible();
        if (!closed) {
            DialogScript::Instance().AnswerMessage(mrYes);
            dialog.Button_Cancel->click();
        }
    });
    EXPECT_TRUE(closed) << "Escape asked to discard: " << Shown().join(" | ").toStdString();

    // A value typed and Enter: the dialog takes it.
    OnQuantityDialog([&](TfOrvek9& dialog) {
        dialog.Edit_HodnotaVeliciny->setFocus();
        dialog.Edit_HodnotaVeliciny->selectAll();
        QTest::keyClicks(dialog.Edit_HodnotaVeliciny, "5");
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.Button_OK->isEnabled(); }, 3000));
        QTest::keyClick(dialog.Edit_HodnotaVeliciny, Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible()) << "Enter did not press OK";
        if (dialog.isVisible())
            dialog.Button_Cancel->click();
    });
    EXPECT_EQ(Main().FRootCell()->Child(0)->FValue.Text, QStringLiteral("5"));
}

TEST_P(WindowConventionsTest, HelpAndTheSmallEditorsOpenInFrontOfTheModalWindowThatAskedForThem)
{
    StartInLanguage();
    QuantityListService* list = QuantityUnitList();
    ASSERT_NE(list, nullptr);
    bool checked = false;
    WhenShown<TfListOfVariablesUnits>([&](TfListOfVariablesUnits& window) {
        // Help from the modal list: a window of the list, shown and usable.
        ShowHelpContents();
        auto* help = window.findChild<TfHelp*>();
        EXPECT_NE(help, nullptr);
        if (help) {
            EXPECT_TRUE(help->isVisible());
            EXPECT_EQ(help->LanguageNote->isVisibleTo(help), LanguageID == 2);
        }
        // The "+" of quantities: its editor opens over the list, and goes back to the
        // main window afterwards.
        WhenShown<TfEditSpecialString>([&](TfEditSpecialString& editor) {
            EXPECT_EQ(editor.parentWidget(), &window);
            checked = true;
            editor.reject();
        });
        window.SpeedButton4->click();
        EXPECT_EQ(fEditSpecialString->parentWidget(), &Main());
        window.reject();
    });
    list->MaintainQuantityList();
    EXPECT_TRUE(checked);
}

TEST_P(WindowConventionsTest, EscapeClosesTheSummaryAndAPageNoBrowserOpensGivesItsAddress)
{
    StartInLanguage();
    ShowRecord();
    Main().ActionShowHideSummaryWindow->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fSummaryDesc && fSummaryDesc->isVisible(); }, 5000));
    fSummaryDesc->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fSummaryDesc));
    PressKey(*fSummaryDesc, Qt::Key_Escape);
    EXPECT_FALSE(fSummaryDesc->isVisible());

    const DesktopOpener previous = SetDesktopOpener([](const QUrl&) { return false; });
    DialogScript::Instance().AnswerMessage(mrOk);
    Action("ActionBrantel_HomePage")->trigger();
    SetDesktopOpener(previous);
    ASSERT_FALSE(Shown().isEmpty());
    EXPECT_TRUE(Shown().last().contains(ProductPageAddress(LanguageID).toString())) << Shown().last().toStdString();
}

TEST_F(ProgramTest, TheFirstGroupOfANewDatabaseIsNamedInTheLanguageItStartsIn)
{
    // The fixture's start made the database in English.
    EXPECT_EQ(ColumnElsewhere("SELECT Description FROM MeasureNameList WHERE ID = 1"), QStringList { "Group 1" });
    Stop();
    QDir(DatabaseDir).removeRecursively();
    LanguageID = 1;
    Start();
    EXPECT_EQ(ColumnElsewhere("SELECT Description FROM MeasureNameList WHERE ID = 1"), QStringList { "Skupina 1" });
}

std::string LanguageName(const ::testing::TestParamInfo<int>& info)
{
    static const char* const names[] = { "English", "Slovak", "Czech" };
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowConventionsTest, ::testing::Values(0, 1, 2), LanguageName);

} // namespace
