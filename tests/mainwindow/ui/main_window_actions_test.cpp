#include "mainwindow/ui/main_window.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "core/ui/splash_window.h"
#include "database/record_writes.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "mainwindow/main_document.h"
#include "mainwindow/main_language.h"
#include "tests/mainwindow/main_record_fixture.h"
#include "tests/support/test_env.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace orvek;
using orvek::test::DialogScript;

namespace {

// The main window on a database of two records of y = a + b (every value filled), with
// Eva (rights 3) logged in, the timer's clock in the test's hand and the window counted
// as active.
class MainWindowActions : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        LanguageID = 0;
        DataModule1 = module.get();
        eva = AddUser("eva", "heslo1", 3);
        QSqlDatabase db = module->SessionOrvek().Database(AliasDB);
        for (const char* a : { "1", "10" }) {
            TNewRecord record;
            record.GroupID = 1;
            record.RecordName = QStringLiteral("meranie %1").arg(a);
            record.UserID = eva;
            record.SampleID = QStringLiteral("S%1").arg(a);
            record.Diagram = test::ModelText(a);
            AppendRecord(db, record);
        }
        DialogScript::Instance().Reset();
        ZoomCoefficient = 1.0;
        ZoomPresetIndex = 3;
        HighlightMode = 0;
        window = std::make_unique<TfOrvek1>(nullptr, [this] { return now; });
        window->ActiveWindowProbe = [] { return true; };
        SetMainWindowService(window.get());
        prompt.logins.push_back({ "eva", "heslo1" });
        window->FirstActivationTimer->start(0);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->FFirstActivation; }, 5000));
        window->Timer1->stop();
        Tick(1000);
        ASSERT_TRUE(window->Document().RootCell);
    }
    void TearDown() override
    {
        window.reset();
        SetMainWindowService(nullptr);
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        DialogScript::Instance().Reset();
        SwitchProgramLanguage(EditionFlag);
        DataModule1 = nullptr;
        ZoomCoefficient = 1.0;
        ZoomPresetIndex = 3;
        HighlightMode = 0;
        CellTreeChanged = TreeLoadInProgress = false;
        test::UserDatabase::TearDown();
    }
    void Tick(quint32 ms = 10)
    {
        now += ms;
        window->Timer1Timer();
        window->Timer1->stop();
    }
    int MessagesShown() const { return int(DialogScript::Instance().Shown().size()); }

    std::unique_ptr<TfOrvek1> window;
    int eva = 0;
    quint32 now = 100000;
};

TEST_F(MainWindowActions, ZoomStepsAndPresetsThroughTheActions)
{
    // Out from 1.0: the seventh step leaves 0.30000000000000016, so an eighth step to
    // about 0.2 is taken and only then is zooming out disabled.
    int steps = 0;
    while (window->ActionStromZmensit->isEnabled() && steps < 20) {
        window->ActionStromZmensit->trigger();
        Tick();
        ++steps;
    }
    EXPECT_EQ(steps, 8);
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("20%"))) << window->windowTitle().toStdString();
    EXPECT_EQ(window->ComboBox_Zoom->currentIndex(), 0);
    const double free = ZoomCoefficient;

    window->ActionZoom_150->trigger();
    Tick();
    EXPECT_DOUBLE_EQ(ZoomCoefficient, 1.5);
    EXPECT_TRUE(window->ActionZoom_150->isChecked());
    EXPECT_EQ(window->ComboBox_Zoom->currentIndex(), 4);

    // The combo's entry 0 brings the last free value back.
    window->ComboBox_Zoom->setCurrentIndex(0);
    Q_EMIT window->ComboBox_Zoom->activated(0);
    Tick();
    // The free value is kept as a single-precision factor.
    EXPECT_FLOAT_EQ(float(ZoomCoefficient), float(free));
    EXPECT_FALSE(window->ActionZoom_150->isChecked());
    EXPECT_TRUE(window->ActionStromZvacsit->isEnabled());
}

TEST_F(MainWindowActions, HighlightModesAreExclusiveAndSayWhenThereIsNothingToShow)
{
    // The model's quantities have no uncertainty yet: there are cells to fill.
    QAction* unfilled = window->ActionZvyraznitLenNenaplnene;
    QAction* expired = window->ActionZvyraznitLenExpirovane;
    QAction* largest = window->ActionShowMaxUncertainty;
    const auto checks = [&] {
        return QVector<bool> { unfilled->isChecked(), expired->isChecked(), largest->isChecked() };
    };

    unfilled->trigger();
    EXPECT_EQ(HighlightMode, 1);
    EXPECT_EQ(checks(), (QVector<bool> { true, false, false }));
    Tick();

    // Nothing expired: message 652, and the highlight that was on goes off.
    DialogScript::Instance().AnswerMessage(mrYes);
    expired->trigger();
    EXPECT_EQ(DialogScript::Instance().Shown().constLast(), GetString(652));
    EXPECT_EQ(HighlightMode, 0);
    EXPECT_EQ(checks(), (QVector<bool> { false, false, false }));
    Tick();

    // The largest contribution needs every cell filled: 883 asks, No leaves all off but
    // still redraws, Yes highlights the cells to fill.
    DialogScript::Instance().AnswerMessage(mrNo);
    largest->trigger();
    EXPECT_EQ(DialogScript::Instance().Shown().constLast(), GetString(883));
    EXPECT_EQ(HighlightMode, 0);
    EXPECT_EQ(checks(), (QVector<bool> { false, false, false }));
    EXPECT_TRUE(HighlightRequest);
    Tick();
    DialogScript::Instance().AnswerMessage(mrYes);
    largest->trigger();
    EXPECT_EQ(HighlightMode, 1);
    EXPECT_EQ(checks(), (QVector<bool> { true, false, false }));
}

TEST_F(MainWindowActions, ExportWritesTheFileThenItsHistoryRowAndARefusalKeepsEverything)
{
    QTemporaryDir dir;
    const int history = Count("History");
    const QString shown = window->Document().RootCell->SaveToText();

    // A folder that does not exist: 669, no file, no row, the diagram as it was.
    DialogScript::Instance().AnswerSaveFile(dir.path() + "/missing/model.stm");
    DialogScript::Instance().AnswerMessage(mrCancel);
    window->RecordPanel->ActionExportTreeToFileAs->trigger();
    EXPECT_TRUE(DialogScript::Instance().Shown().constLast().startsWith(GetString(669).left(10)));
    EXPECT_EQ(Count("History"), history);
    EXPECT_TRUE(window->FDiagramFileName.isEmpty());
    EXPECT_EQ(window->Document().RootCell->SaveToText(), shown);

    const QString file = dir.path() + "/model.stm";
    DialogScript::Instance().AnswerSaveFile(file);
    window->RecordPanel->ActionExportTreeToFileAs->trigger();
    EXPECT_TRUE(QFileInfo(file).size() > 0);
    EXPECT_EQ(window->FDiagramFileName, file);
    EXPECT_EQ(Count("History"), history + 1);
}

// The test's script, with the filter of every save dialog kept.
class SaveFilterRecorder : public DialogHandler {
public:
    SaveFilterRecorder() { SetDialogHandler(this); }
    ~SaveFilterRecorder() override { SetDialogHandler(&DialogScript::Instance()); }
    int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) override
    {
        return script().MessageDlg(text, type, buttons, helpContext);
    }
    bool OpenFileDialog(FileDialogRequest& request) override { return script().OpenFileDialog(request); }
    bool SaveFileDialog(FileDialogRequest& request) override
    {
        Filters << request.filter;
        return script().SaveFileDialog(request);
    }
    bool ColorDialog(std::uint32_t& color) override { return script().ColorDialog(color); }
    bool FontDialog(QString& family, int& pointSize) override { return script().FontDialog(family, pointSize); }
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override
    {
        return script().InputQuery(caption, prompt, value);
    }
    QStringList Filters;

private:
    static DialogScript& script() { return DialogScript::Instance(); }
};

TEST_F(MainWindowActions, TheExportAndReportSaveDialogsFilterInTheProgramsLanguage)
{
    SaveFilterRecorder recorder;
    for (QAction* language : { window->ActionLanguageSlovak, window->ActionLanguageEnglish }) {
        language->trigger();
        SCOPED_TRACE(LanguageID);
        recorder.Filters.clear();
        // Both dialogs cancelled: nothing is written.
        DialogScript::Instance().AnswerSaveFile(QString());
        window->RecordPanel->ActionExportTreeToFileAs->trigger();
        DialogScript::Instance().AnswerSaveFile(QString());
        window->ActionFullReportSaveToFile->trigger();
        EXPECT_EQ(recorder.Filters, (QStringList { GetString(263), GetString(707) + "|*.rtf" }));
    }
}

TEST_F(MainWindowActions, ReportOutputsCheckTheSelectionAndTheButtonRepeatsTheLastKind)
{
    const int history = Count("History");
    window->ActionCopyShortReport->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().contains(QStringLiteral("meranie 1")));
    EXPECT_EQ(Count("History"), history + 1);
    EXPECT_EQ(window->ToolButton_Copy->defaultAction(), window->ActionCopyShortReport);
    window->ActionCopyFullReport->trigger();
    EXPECT_EQ(window->ToolButton_Copy->defaultAction(), window->ActionCopyFullReport);

    // Two records selected: a save warns with 925, a preview does nothing.
    RecordViewPanel& panel = *window->RecordPanel;
    panel.DBGrid_Tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    panel.DBGrid_Tree->selectAll();
    ASSERT_EQ(panel.DBGrid_Tree->selectionModel()->selectedRows().size(), 2);
    const int shown = MessagesShown();
    DialogScript::Instance().AnswerMessage(mrCancel);
    window->ActionFullReportSaveToFile->trigger();
    EXPECT_EQ(DialogScript::Instance().Shown().constLast(), GetString(925));
    window->ActionReportPrintPreview->trigger();
    EXPECT_EQ(MessagesShown(), shown + 1);
    EXPECT_EQ(Count("History"), history + 2);
}

TEST_F(MainWindowActions, APreviewOfTheShortReportOpensFromTheMenu)
{
    bool previewed = false;
    QTimer::singleShot(0, [&] {
        (void)QTest::qWaitFor([&] { return QApplication::activeModalWidget() != nullptr; }, 5000);
        if (QWidget* modal = QApplication::activeModalWidget()) {
            previewed = modal->objectName() == QStringLiteral("PreviewForm");
            modal->close();
        }
    });
    window->ActionShortReportPrintPreview->trigger();
    EXPECT_TRUE(previewed);
}

TEST_F(MainWindowActions, TheLanguageItemsSwitchMenusAndQtsButtons)
{
    window->ActionLanguageSlovak->trigger();
    EXPECT_EQ(LanguageID, 1);
    EXPECT_TRUE(window->ActionLanguageSlovak->isChecked());
    EXPECT_FALSE(window->ActionLanguageEnglish->isChecked());
    EXPECT_EQ(window->MenuFile->title(), GetString(79));
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Zrušiť"));
    TfOrvekAbout about;
    EXPECT_EQ(about.Button_Close->text(), QStringLiteral("Zavrieť"));
    const QString slovakTitle = window->MenuFile->title();

    window->ActionLanguageEnglish->trigger();
    EXPECT_EQ(LanguageID, 0);
    EXPECT_NE(window->MenuFile->title(), slovakTitle);
    QDialogButtonBox english(QDialogButtonBox::Cancel);
    EXPECT_EQ(english.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
}

} // namespace

namespace {

// Pictures to look at (ORVEK_SHOTS names their folder): the window at 50 % switched
// through its language items, and the about window in Slovak.
TEST_F(MainWindowActions, Screenshots)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "ORVEK_SHOTS is not set";
    window->resize(1200, 760);
    window->show();
    window->ActionZoom_50->trigger();
    Tick();
    for (QAction* language : { window->ActionLanguageSlovak, window->ActionLanguageEnglish }) {
        language->trigger();
        QTest::qWait(200);
        window->grab().save(
            QStringLiteral("%1/actions_%2_50.png").arg(folder, language == window->ActionLanguageSlovak ? "sk" : "en"));
    }
    window->ActionLanguageSlovak->trigger();
    TfOrvekAbout about(window.get());
    about.show();
    QTest::qWait(200);
    about.grab().save(folder + "/about_sk.png");
}

} // namespace
