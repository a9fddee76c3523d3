// Every window and dialog of the program, opened as a user opens it, in each of the
// program's languages on a 1280 x 1024 screen: it fits the screen, its labels and
// buttons show their whole texts, it shows no text of another language, a dialog has a
// default button and Escape closes it without a question; every menu item has an access
// key unique in its menu.

#include "core/common_vars.h"
#include "core/services.h"
#include "core/string_table.h"
#include "core/ui/help_window.h"
#include "core/ui/splash_window.h"
#include "core/ui/string_browser.h"
#include "database/data_module.h"
#include "database/record_writes.h"
#include "database/ui/administrator_window.h"
#include "database/ui/edit_record_head.h"
#include "database/ui/history_window.h"
#include "database/ui/info_user_dialog.h"
#include "database/ui/input_search_string.h"
#include "database/ui/list_of_folders.h"
#include "database/ui/login_records_window.h"
#include "database/ui/password_dialog.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/template_window.h"
#include "database/ui/validation_history.h"
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
#include "mainwindow/ui/table_quantities.h"
#include "platform/sql_database.h"
#include "platform/ui/access_keys.h"
#include "richtext/ui/preview_form.h"
#include "richtext/ui/report_selection.h"
#include "sources/ui/chart_detail_window.h"
#include "sources/ui/source_dialog.h"
#include "sources/ui/source_dialog_chart_detail.h"
#include "tests/app/program_fixture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QStyle>
#include <QTabBar>
#include <QTextDocument>
#include <QToolButton>
#include <functional>

using namespace orvek;
using orvek::test::DialogScript;
using orvek::test::ProgramTest;
using orvek::test::WhenShown;

namespace {

// The texts of the string table, one set per language.
const std::array<QSet<QString>, 3>& TableTexts()
{
    static const std::array<QSet<QString>, 3> texts = [] {
        std::array<QSet<QString>, 3> sets;
        QFile file(QStringLiteral(ORVEK_TEST_DATA_DIR "/../../data/strings.tsv"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        QVector<StringTableRow> rows;
        QString error;
        EXPECT_TRUE(ReadStringTableSource(file, rows, &error)) << error.toStdString();
        for (const StringTableRow& row : rows) {
            sets[0].insert(row.english.trimmed());
            sets[1].insert(row.slovak.trimmed());
            sets[2].insert(row.czech.trimmed());
        }
        return sets;
    }();
    return texts;
}

// Texts that stand in one language in every language on purpose.
const QStringList& OneLanguageTexts()
{
    // The language items name each language in its own words.
    static const QStringList texts { QStringLiteral("English"), QStringLiteral("Slovensky") };
    return texts;
}

// Text is a text of the string table in another language than Language, and not one of
// Language's own.
bool OfAnotherLanguage(const QString& text, int language)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || OneLanguageTexts().contains(t)
        || std::none_of(t.begin(), t.end(), [](QChar c) { return c.isLetter(); }))
        return false;
    const auto& texts = TableTexts();
    if (texts[size_t(language)].contains(t))
        return false;
    for (int other = 0; other < 3; ++other)
        if (other != language && texts[size_t(other)].contains(t))
            return true;
    return false;
}

// Every item of Menu with a text has an access key, unique in Menu; an item goes
// without only when every letter of its text is another item's key already.
void CheckMenuKeys(const QWidget& menu, const QString& where, QStringList& faults)
{
    QSet<QChar> keys;
    QList<const QAction*> unkeyed;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator() || action->text().isEmpty())
            continue;
        const QChar key = AccessKey(action->text());
        if (key.isNull())
            unkeyed << action;
        else if (keys.contains(key))
            faults << where + ": access key used twice: " + action->text();
        keys.insert(key);
    }
    for (const QAction* action : unkeyed) {
        const QString text = WithoutAccessKey(action->text());
        if (std::any_of(
                text.begin(), text.end(), [&](QChar c) { return c.isLetterOrNumber() && !keys.contains(c.toUpper()); }))
            faults << where + ": no access key: " + action->text();
    }
}

bool ShownIn(const QWidget* widget, const QWidget& window)
{
    return widget->window() == &window && widget->isVisibleTo(&window);
}

// The texts Window shows that another language's, or that do not fit their widgets.
void CheckTexts(QWidget& window, int language, QStringList& faults)
{
    const auto foreign = [&](const QString& what, const QString& text) {
        if (OfAnotherLanguage(text, language))
            faults << what + " of another language: " + text;
    };
    const auto fits = [&](const QWidget* widget, const QString& text, int need, int room) {
        if (need > room)
            faults << QStringLiteral("%1 cut (%2 of %3 px): %4")
                          .arg(widget->metaObject()->className())
                          .arg(need)
                          .arg(room)
                          .arg(text);
    };
    foreign(QStringLiteral("title"), window.windowTitle());
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!ShownIn(label, window) || label->text().isEmpty() || !label->pixmap().isNull())
            continue;
        if (label->textFormat() == Qt::RichText
            || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text())))
            continue;
        const QString shown = label->buddy() ? WithoutAccessKey(label->text()) : label->text();
        foreign(QStringLiteral("label"), shown);
        if (label->wordWrap())
            continue;
        const int room = label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
        for (const QString& line : shown.split(QLatin1Char('\n')))
            fits(label, line, label->fontMetrics().horizontalAdvance(line), room);
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!ShownIn(button, window) || button->text().isEmpty())
            continue;
        if (auto* tool = qobject_cast<QToolButton*>(button); tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
            continue;
        const QString shown = WithoutAccessKey(button->text());
        foreign(QStringLiteral("button"), shown);
        int need = button->fontMetrics().horizontalAdvance(shown);
        if (!button->icon().isNull())
            need += button->iconSize().width() + 4;
        if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
            need += button->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button)
                + button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
        fits(button, shown, need, button->width());
    }
    for (QGroupBox* box : window.findChildren<QGroupBox*>())
        if (ShownIn(box, window) && !box->title().isEmpty()) {
            const QString shown = WithoutAccessKey(box->title());
            foreign(QStringLiteral("group"), shown);
            fits(box, shown, box->fontMetrics().horizontalAdvance(shown), box->width());
        }
    for (QTabBar* tabs : window.findChildren<QTabBar*>())
        if (ShownIn(tabs, window))
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->isTabVisible(i)) {
                    const QString shown = WithoutAccessKey(tabs->tabText(i));
                    foreign(QStringLiteral("tab"), shown);
                    fits(tabs, shown, tabs->fontMetrics().horizontalAdvance(shown), tabs->tabRect(i).width());
                }
    for (QAbstractItemView* view : window.findChildren<QAbstractItemView*>())
        if (ShownIn(view, window) && view->model())
            for (int column = 0; column < view->model()->columnCount(); ++column)
                foreign(QStringLiteral("column title"), view->model()->headerData(column, Qt::Horizontal).toString());
    for (QMenuBar* bar : window.findChildren<QMenuBar*>())
        if (bar->window() == &window)
            for (QAction* top : bar->actions())
                foreign(QStringLiteral("menu"), WithoutAccessKey(top->text()));
    // Every menu of the window, its menu bar's and its context menus.
    for (QMenuBar* bar : window.findChildren<QMenuBar*>())
        CheckMenuKeys(*bar, QStringLiteral("menu bar"), faults);
    for (QMenu* menu : window.findChildren<QMenu*>()) {
        if (!menu->parentWidget() || menu->parentWidget()->window() != &window)
            continue;
        CheckMenuKeys(*menu, WithoutAccessKey(menu->title()), faults);
        for (QAction* item : menu->actions())
            if (!item->isSeparator())
                foreign(QStringLiteral("menu item"), WithoutAccessKey(item->text()));
    }
}

// Window lies on the screen's available area.
void CheckFits(QWidget& window, QStringList& faults)
{
    const QRect area = window.screen()->availableGeometry();
    if (!area.contains(window.frameGeometry()))
        faults << QStringLiteral("off the screen: %1,%2 %3x%4")
                      .arg(window.frameGeometry().x())
                      .arg(window.frameGeometry().y())
                      .arg(window.frameGeometry().width())
                      .arg(window.frameGeometry().height());
}

QPushButton* DefaultButton(QWidget& window)
{
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->isDefault() && ShownIn(button, window))
            return button;
    return nullptr;
}

bool HasPushButtons(QWidget& window)
{
    const QList<QPushButton*> buttons = window.findChildren<QPushButton*>();
    return std::any_of(buttons.begin(), buttons.end(), [&](QPushButton* b) { return ShownIn(b, window); });
}

// The diagram text of y = a + b with a = 1 (its uncertainty from one source) and b = 2.
QString ModelText()
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = info.Symbol = "y";
    info.Equation = "y = a + b";
    info.NormalizedEquation = "y=a+b";
    TCell root(nullptr, info, 0, 0, nullptr);
    TPrenosInfoDoNovejBunky q;
    q.CellType = kQuantityCell;
    q.CellName = q.Symbol = q.QuantityName = "a";
    q.ValueType = 0;
    q.Value = "1";
    TCell* a = root.AddChild(q);
    TPrenosInfoDoNovejBunky u;
    u.CellType = kUncertaintyCell;
    u.CellName = QStringLiteral("u1");
    u.Active = 1;
    TVstupStandardnejNeistoty source;
    ClearUncertaintyInput(source);
    source.TSN = 1;
    a->AddChild(u)->FUncertaintyInput = source;
    q.CellName = q.Symbol = q.QuantityName = "b";
    q.ValueType = 1;
    q.Value = "2";
    root.AddChild(q);
    return root.SaveToText() + "\r\n";
}

class EveryWindow;

// A window of the program: which it is, and how the user opens it. A modal window's
// opener returns when the window has closed.
struct WindowCase {
    const char* name;
    std::function<bool(QWidget*)> is;
    std::function<void(EveryWindow&)> open;
};

template <typename T> bool Is(QWidget* w)
{
    return dynamic_cast<T*>(w) != nullptr;
}

class EveryWindow : public ProgramTest, public ::testing::WithParamInterface<int> {
public:
    using ProgramTest::Main;

    void SetUp() override
    {
        ProgramTest::SetUp();
        // The program starts in the language of the test, on a database made in it.
        Stop();
        QDir(DatabaseDir).removeRecursively();
        LanguageID = quint8(GetParam());
        Start();
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
    void TearDown() override
    {
        chart.reset(); // a window of the main window: it goes before the program
        ProgramTest::TearDown();
        LanguageID = 0;
    }

    void StartInLanguage()
    {
        StartAsAdministrator();
        ASSERT_EQ(LanguageID, GetParam());
        ShowRecord();
    }

    // Switches the program to Language, as its language items and settings do.
    void SwitchTo(int language)
    {
        if (language == 0)
            Main().SwitchToEnglish();
        else if (language == 1)
            Main().SwitchToSlovak();
        else {
            SwitchProgramLanguage(2);
            Main().RefreshTexts();
        }
        ASSERT_EQ(LanguageID, language);
    }

    void ShowRecord()
    {
        Main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
        Main().RecordPanel->DBGrid_Tree->setCurrentIndex(Main().RecordPanel->DBGrid_Tree->model()->index(0, 0));
        ASSERT_TRUE(QTest::qWaitFor([&] { return CurrentRecordID == recordId && Main().FRootCell(); }, 5000));
    }

    // A double click on the box of Cell, as the user opens its dialog.
    void DoubleClickCell(TCell* cell)
    {
        Main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
        TCellBoxWidget* box = Main().ScrollBox2->BoxOf(cell);
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return box->isVisible(); }, 5000));
        QTest::mouseDClick(box, Qt::LeftButton, {}, box->rect().center());
    }

    // Opens the window of Case, looks at it as soon as it shows, and closes it with
    // Escape; the faults found, each named after the window.
    QStringList Visit(const WindowCase& c)
    {
        QStringList faults;
        bool seen = false;
        QTimer watch;
        watch.setInterval(20);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (seen || !w->isVisible() || !c.is(w))
                    continue;
                seen = true;
                watch.stop();
                Look(*w, faults);
                return;
            }
        });
        watch.start();
        c.open(*this);
        if (!QTest::qWaitFor([&] { return seen; }, 10000))
            faults << QStringLiteral("never opened");
        watch.stop();
        Main().activateWindow();
        QTest::qWait(50);
        for (QString& fault : faults)
            fault.prepend(QString::fromLatin1(c.name) + QStringLiteral(": "));
        return faults;
    }

    // The checks of one window, ending with Escape.
    void Look(QWidget& window, QStringList& faults)
    {
        if (!QTest::qWaitForWindowExposed(&window))
            faults << QStringLiteral("not exposed");
        QTest::qWait(50); // menus get their keys once their texts are set
        CheckFits(window, faults);
        CheckTexts(window, GetParam(), faults);
        // The report selection offers the outputs side by side: none of them is what
        // Enter should do unasked.
        if (qobject_cast<QDialog*>(&window) && HasPushButtons(window) && !DefaultButton(window)
            && !Is<TfOrvekReportSelection>(&window))
            faults << QStringLiteral("no default button");
        const qsizetype asked = Shown().size();
        // An Escape in a grid's open editor leaves the editor; the next closes.
        for (int escapes = 0; escapes < 2 && window.isVisible(); ++escapes) {
            QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
            const bool inEditor = qobject_cast<QAbstractItemView*>(
                target->parentWidget() ? target->parentWidget()->parentWidget() : nullptr);
            QTest::keyClick(target, Qt::Key_Escape);
            QTest::qWait(20);
            if (!inEditor)
                break;
        }
        if (Shown().size() != asked)
            faults << QStringLiteral("Escape asked: ") + Shown().last();
        if (window.isVisible()) {
            faults << QStringLiteral("Escape left it open");
            window.hide();
        }
    }

    // A chart window as the source dialog's chart pages open it, through the factory the
    // program installs.
    void OpenChart(int method)
    {
        ASSERT_TRUE(ChartDetailFactory);
        chart = ChartDetailFactory(method, &Main());
        auto* window = dynamic_cast<QDialog*>(chart.get());
        ASSERT_NE(window, nullptr);
        window->show();
    }

    int recordId = 0;
    std::unique_ptr<TChartDetailWindow> chart;
};

void Trigger(EveryWindow& t, const char* action)
{
    QAction* a = t.Main().findChild<QAction*>(QString::fromLatin1(action));
    ASSERT_NE(a, nullptr) << action;
    a->trigger();
}

std::function<void(EveryWindow&)> ByAction(const char* action)
{
    return [action](EveryWindow& t) { Trigger(t, action); };
}

const std::vector<WindowCase>& Windows()
{
    static const std::vector<WindowCase> windows = {
        { "settings", Is<TfOrvekVlastnostiBunky>, ByAction("ActionZobrazitVlastnostiBuniek") },
        { "program texts", Is<TfOrvek2>, ByAction("ActionProgramoveStringy") },
        { "report selection", Is<TfOrvekReportSelection>, ByAction("ActionVyberPreReport") },
        { "print preview", Is<TPreviewForm>, ByAction("ActionReportPrintPreview") },
        { "summary of quantities", Is<TfTableQuantites>, ByAction("ActionSuhrnVelicin") },
        { "summary window", Is<TfSummaryDesc>, ByAction("ActionShowHideSummaryWindow") },
        { "help", Is<TfHelp>, ByAction("ActionHelpContents") },
        { "about", Is<TfOrvekAbout>, ByAction("ActionAboutProgram") },
        { "users", Is<TfAdministrator>, ByAction("aZoznamUzivatelov") },
        { "user card", Is<TfInfoUser>,
            [](EveryWindow& t) {
                WhenShown<TfAdministrator>([](TfAdministrator& users) {
                    users.Button_Novy->click();
                    users.reject();
                });
                Trigger(t, "aZoznamUzivatelov");
            } },
        { "login records", Is<TfEvidenciaPrihlasovania>, ByAction("aEvidenciaPrihlasovania") },
        { "history", Is<TfHistory1>, ByAction("aHistory") },
        { "password", Is<TfZmenaHesla>, ByAction("aChangeUserPassword") },
        { "validation", Is<TfValidationHistory>, ByAction("ActionStartValidation") },
        { "record head", Is<TfEditRecordHead>, ByAction("ActionEditRecord") },
        { "search", Is<TfInputSearchString1>, ByAction("ActionSearchMeasurement") },
        { "folder choice", Is<TfListOfFolders>, ByAction("ActionMoveSelectedRecordTo") },
        { "template window", Is<TfOrvekDB>, ByAction("ActionNewRecFromTemplateTree") },
        { "list of quantities", Is<TfListOfVariablesUnits>,
            [](EveryWindow&) { QuantityUnitList()->MaintainQuantityList(); } },
        { "equation dialog", Is<TfOrvek5>, [](EveryWindow& t) { t.DoubleClickCell(t.Main().FRootCell()); } },
        { "quantity dialog", Is<TfOrvek9>, [](EveryWindow& t) { t.DoubleClickCell(t.Main().FRootCell()->Child(0)); } },
        { "source dialog", Is<TfOrvek6>,
            [](EveryWindow& t) { t.DoubleClickCell(t.Main().FRootCell()->Child(0)->Child(0)); } },
        { "chart window X", Is<TChartDetailForm>, [](EveryWindow& t) { t.OpenChart(11); } },
        { "chart window R", Is<TChartDetailForm>, [](EveryWindow& t) { t.OpenChart(12); } },
    };
    return windows;
}

TEST_P(EveryWindow, EachWindowFitsShowsItsLanguageWholeAndClosesWithEscape)
{
    StartInLanguage();
    QStringList faults;
    CheckFits(Main(), faults);
    CheckTexts(Main(), GetParam(), faults);
    for (QString& fault : faults)
        fault.prepend(QStringLiteral("main window: "));
    for (const WindowCase& c : Windows()) {
        faults << Visit(c);
        if (HasFatalFailure())
            break;
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}

TEST_P(EveryWindow, EveryMenuItemHasAnAccessKeyUniqueInItsMenu)
{
    StartInLanguage();
    // In the language the program started in, and after switching to each other one.
    for (int language : { GetParam(), (GetParam() + 1) % 3, (GetParam() + 2) % 3, GetParam() }) {
        SwitchTo(language);
        QTest::qWait(50);
        QStringList faults;
        for (QWidget* widget : QApplication::allWidgets())
            if (qobject_cast<QMenu*>(widget) || qobject_cast<QMenuBar*>(widget))
                CheckMenuKeys(*widget,
                    widget->window()->objectName() + QLatin1Char('/') + widget->objectName() + QLatin1Char(' ')
                        + (qobject_cast<QMenu*>(widget) ? WithoutAccessKey(static_cast<QMenu*>(widget)->title())
                                                        : QString()),
                    faults);
        EXPECT_TRUE(faults.isEmpty()) << "language " << language << ":\n"
                                      << faults.join(QLatin1Char('\n')).toStdString();
    }
}

std::string LanguageName(const ::testing::TestParamInfo<int>& info)
{
    static const char* const names[] = { "English", "Slovak", "Czech" };
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(Languages, EveryWindow, ::testing::Values(0, 1, 2), LanguageName);

} // namespace
