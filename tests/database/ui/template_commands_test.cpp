// The template window's commands driven as a user drives them, on a copy of the empty
// database: the hand-over to the main window, the import of model files, deleting to
// the bin and for good, the report outputs and the copy offered for a template in use.

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/folder_table_cursor.h"
#include "database/record_handover.h"
#include "database/template_document.h"
#include "database/template_handover.h"
#include "database/template_storage.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/edit_record_head.h"
#include "database/ui/list_of_folders.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "database/validation_examples.h"
#include "engine/cell.h"
#include "engine/model_file.h"
#include "platform/desktop.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/report_output.h"
#include "richtext/ui/rich_edit98_editor.h"
#include "tests/database/ui/folder_tree_fixture.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/dialog_script.h"
#include "tests/support/window_service_doubles.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <functional>

using namespace orvek;

namespace {

// y = a + b with one source of uncertainty per input; Expiry is the sources' validity
// date (empty: none).
QString ModelText(const QString& name, const QString& expiry = QString())
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = name;
    info.Symbol = "y";
    info.Equation = "a + b";
    info.NormalizedEquation = "a+b";
    info.Coverage = 1;
    TCell root(nullptr, info, 0, 0, nullptr);
    for (const QString symbol : { "a", "b" }) {
        TPrenosInfoDoNovejBunky q;
        q.CellType = kQuantityCell;
        q.CellName = q.Symbol = q.QuantityName = symbol;
        q.Value = "1";
        TCell* quantity = root.AddChild(q);
        TPrenosInfoDoNovejBunky s;
        s.CellType = kUncertaintyCell;
        s.CellName = "source of " + symbol;
        s.Active = 1;
        s.UncertaintyInput.TSN = 3;
        s.UncertaintyInput.SO_2_3.Text = "0.1";
        s.UncertaintyInput.PSV_2_3.Text = "Nekonecno";
        s.UncertaintyInput.HSN = "0.1";
        s.UncertaintyInput.EDate = expiry;
        quantity->AddChild(s);
    }
    StoreCellComments = true;
    return root.SaveToText() + "\r\n";
}

std::unique_ptr<TCell> TreeOf(const QString& text)
{
    auto root = std::make_unique<TCell>(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    QByteArray bytes = text.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_TRUE(root->LoadFromDevice(buffer));
    return root;
}

// Answers the next record-head dialog: Fill sees it, then OK or Cancel is clicked.
void AnswerHead(std::function<void(TfEditRecordHead&)> fill, bool ok = true)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, fill, ok] {
        auto* dialog = qobject_cast<TfEditRecordHead*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        fill(*dialog);
        (ok ? dialog->Button2 : dialog->Button1)->click();
    });
    timer->start();
}

class TemplateCommands : public test::FolderDatabase {
protected:
    void SetUp() override
    {
        test::FolderDatabase::SetUp();
        ASSERT_TRUE(files.isValid());
        CurrentUserID = AddUser("eva", "heslo1", 2, 1, 1, "Eva", QString::fromUtf8("Nová"));
        CurrentUserRights = 2;
        CurrentGroupID = 1;
        CurrentUserName = QString::fromUtf8("Eva Nová");
        HighlightMode = 0;
        ZoomCoefficient = 1.0;
        ZoomPresetIndex = 3;
        OtherExec("INSERT INTO TemplateID1 (ID, OwnerID, Description) VALUES ('4', '', 'Mass')");
        OtherExec("INSERT INTO TemplateID1 (ID, OwnerID, Description) VALUES ('5', '', 'Length')");
        first = AddTemplate("Balance", "4", ModelText("Balance"));
        second = AddTemplate("Weights", "4", ModelText("Weights", DateToDMYText(QDate(2020, 1, 1))));
        window = std::make_unique<TfOrvekDB>();
        fOrvekDB = window.get();
    }
    void TearDown() override
    {
        window.reset();
        fOrvekDB = nullptr;
        EXPECT_TRUE(test::DialogScript::Instance().AllAnswered());
        test::DialogScript::Instance().Reset();
        TreeLoadInProgress = false;
        CellTreeChanged = false;
        EditMode = HighlightMode = 0;
        ClearCellCommands();
        test::FolderDatabase::TearDown();
    }
    static int AddTemplate(const QString& name, const QString& folder, const QString& text)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        EXPECT_TRUE(ExecBound(query,
            "INSERT INTO TemplateDB (GroupID, TemplateName, CreatedBy, CreateDate, MainEquation, IDDB1, Strom) "
            "VALUES (1, ?, 'Eva Nová', '2026-03-09', 'y = a + b', ?, ?)",
            { name, folder, text }));
        return query.lastInsertId().toInt();
    }
    QStringList NamesIn(const QString& folder)
    {
        return Query("SELECT TemplateName FROM TemplateDB WHERE IDDB1 = ? ORDER BY TemplateName", { folder });
    }
    // Prepares the pick, shows the window and waits until template Shown is loaded
    // from folder Folder.
    void Open(const QString& folder = "4", int shown = 0)
    {
        window->PrepareTemplatePick(shown, "Templates");
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->IDTable_Template->FindKey(folder);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return CurrentTemplateID > 0 && CurrentTemplateID == window->CurrentRowID(); }, 5000));
    }
    // Makes template ID the shown one and waits for its load.
    void Show(int id)
    {
        for (int row = 0; row < window->ListRowCount(); ++row)
            if (window->ListRowID(row) == id)
                window->DBGrid_Template->setCurrentIndex(window->DBGrid_Template->model()->index(row, 0));
        ASSERT_TRUE(QTest::qWaitFor([&] { return CurrentTemplateID == id; }, 5000));
    }
    test::DialogScript& Script() { return test::DialogScript::Instance(); }

    QTemporaryDir files;
    test::ResultSummaryDouble summary;
    test::WaitWindowDouble wait;
    std::unique_ptr<TfOrvekDB> window;
    int first = 0, second = 0;
};

TEST_F(TemplateCommands, HandOverOfAnExpiredTemplateAsksAndRetryNoAndYesDoWhatTheySay)
{
    Open();
    Show(second);
    QFile::remove(TransferFileName());

    // Retry: the window stays open and nothing is handed over.
    Script().AnswerMessage(mrRetry);
    window->ActionCloseWindowandAddTemplateToDB->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->HandOverTemplateID, 0);
    EXPECT_FALSE(QFile::exists(TransferFileName()));

    // Yes, then Cancel in the record-head dialog: still open.
    Script().AnswerMessage(mrYes);
    AnswerHead([](TfEditRecordHead&) {}, false);
    window->ActionCloseWindowandAddTemplateToDB->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(QFile::exists(TransferFileName()));

    // Yes and OK: the head comes back, the tree is in the transfer file with every field
    // locked, and the window closes with OK.
    Script().AnswerMessage(mrYes);
    QString title;
    AnswerHead([&](TfEditRecordHead& head) {
        title = head.windowTitle();
        EXPECT_FALSE(head.Edit_Datum->isEnabled());
        EXPECT_EQ(head.Edit_Vytvoril->text(), CurrentUserName);
        head.Edit_NazovMerania->setText("Run 1");
        head.Edit_SampleID->setText("S-7");
    });
    window->ActionCloseWindowandAddTemplateToDB->trigger();
    EXPECT_EQ(title, GetString(761));
    EXPECT_EQ(window->result(), kTemplateWindowOk);
    EXPECT_EQ(window->HandOverTemplateID, second);
    EXPECT_EQ(window->HandOverTemplateName, "Weights");
    EXPECT_EQ(window->HandOverRecordName, "Run 1");
    EXPECT_EQ(window->HandOverSampleID, "S-7");
    EXPECT_EQ(window->HandOverDate, QDate::currentDate());
    // The record list reads the same values after the window closed.
    EXPECT_EQ(TemplateWindowHandOver.HandOverTemplateID, second);
    EXPECT_EQ(TemplateWindowHandOver.HandOverRecordName, "Run 1");
    QFile transfer(TransferFileName());
    ASSERT_TRUE(transfer.open(QIODevice::ReadOnly));
    auto handed = TreeOf(QString::fromUtf8(transfer.readAll()));
    EXPECT_EQ(handed->FCellName.Lock, 1);
    EXPECT_EQ(handed->Child(0)->FCellName.Lock, 1);
    EXPECT_EQ(handed->Child(0)->Child(0)->FUncertaintyInput.TSNLock, 1);
}

TEST_F(TemplateCommands, HandOverIsRefusedForTwoSelectedAndNoCancelsThePick)
{
    Open();
    window->SelectAllTemplates();
    ASSERT_EQ(window->SelectedIds.size(), 2);
    Script().AnswerMessage(mrCancel);
    window->ActionCloseWindowandAddTemplateToDB->trigger();
    EXPECT_EQ(Script().Shown().value(0), GetString(928));
    EXPECT_TRUE(window->isVisible());

    window->UnselectAllTemplates();
    Show(second);
    Script().AnswerMessage(mrNo);
    window->ActionCloseWindowandAddTemplateToDB->trigger();
    EXPECT_EQ(window->result(), kTemplateWindowCancel);
    EXPECT_EQ(window->HandOverTemplateID, 0);
}

TEST_F(TemplateCommands, ImportOfThreeFilesSkipsTheBrokenOneAndNamesIt)
{
    Open();
    const QString good1 = files.filePath("Mass_scale.stm"), broken = files.filePath("broken.stm"),
                  good2 = files.filePath("Length.stm");
    ASSERT_TRUE(WriteScrambledModelFile(good1, ModelText("m")));
    ASSERT_TRUE(WriteScrambledModelFile(good2, ModelText("l")));
    QFile bad(broken);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("BeginCell=1;\r\nthis is no model\r\n");
    bad.close();

    Script().AnswerOpenFile(good1 + "\n" + broken + "\n" + good2);
    Script().AnswerMessage(mrOk);
    window->ActionNewRecFromFileTree->trigger();
    const QString report = Script().Shown().value(0);
    EXPECT_TRUE(report.contains("broken.stm")) << report.toStdString();
    EXPECT_FALSE(report.contains("Length.stm")) << report.toStdString();
    EXPECT_EQ(NamesIn("4"), QStringList({ "Balance", "Length", "Mass_scale", "Weights" }));
    EXPECT_EQ(TreesDir, files.path());
    // The first imported template is the shown one.
    ASSERT_TRUE(QTest::qWaitFor([&] { return CurrentTemplateID > 0; }, 5000));
    EXPECT_EQ(Row("TemplateDB", CurrentTemplateID)["TemplateName"].toString(), "Mass_scale");
}

TEST_F(TemplateCommands, DeleteMovesToTheBinThenDeletesForGoodKeepingATemplateInUse)
{
    OtherExec("INSERT INTO TreeDB (FromTemplateID, NazovMerania) VALUES (?, 'r')", { first });
    const int third = AddTemplate("Gauge", "4", ModelText("Gauge"));
    Open();
    // Out of the bin: no question, all three go to the bin (an in-use one too, selected
    // beside the current one; a current template in use cannot be deleted).
    Show(second);
    window->SelectAllTemplates();
    window->ActionDeleteRecord->trigger();
    EXPECT_TRUE(Script().Shown().isEmpty());
    EXPECT_EQ(NamesIn("1"), QStringList({ "Balance", "Gauge", "Weights" }));

    // In the bin: a question with the count, and the one in use is kept and named.
    window->IDTable_Template->FindKey("1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->ListRowCount() == 3; }, 5000));
    Show(third);
    window->SelectAllTemplates();
    Script().AnswerMessage(mrNo);
    window->ActionDeleteRecord->trigger();
    EXPECT_EQ(Count("TemplateDB"), 3);
    Script().AnswerMessage(mrYes);
    Script().AnswerMessage(mrCancel);
    window->ActionDeleteRecord->trigger();
    ASSERT_EQ(Script().Shown().size(), 3);
    EXPECT_EQ(Script().Shown().value(1), DeleteForGoodQuestion(3));
    EXPECT_EQ(Script().Shown().value(2), KeptTemplatesText(3, 1));
    EXPECT_EQ(Query("SELECT ID FROM TemplateDB"), QStringList({ QString::number(first) }));
    EXPECT_TRUE(Row("TemplateDB", third).isEmpty());
}

TEST_F(TemplateCommands, OutputsRestoreEditModeAndSaveNeedsOneSelectedTemplate)
{
    Open();
    QGuiApplication::clipboard()->setText("mine");
    EditMode = 2;
    window->ActionCopyShortReport->trigger();
    EXPECT_EQ(EditMode, 2);
    EXPECT_NE(QGuiApplication::clipboard()->text(), "mine");
    EditMode = 0;
    window->ActionCopyFullReport->trigger();
    EXPECT_EQ(EditMode, 0);

    // A save of two selected templates is refused before any dialog.
    window->SelectAllTemplates();
    Script().AnswerMessage(mrCancel);
    window->ActionFullReportSaveToFile->trigger();
    EXPECT_EQ(Script().Shown().value(0), GetString(925));

    // With one, the save dialog comes and the file is written.
    window->UnselectAllTemplates();
    const QString path = files.filePath("report.rtf");
    Script().AnswerSaveFile(path);
    window->ActionShortReportSaveToFile->trigger();
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(TemplateCommands, EditPathsOfATemplateInUseOfferACopyInstead)
{
    OtherExec("INSERT INTO TreeDB (FromTemplateID, NazovMerania) VALUES (?, 'r')", { first });
    Open("4", first);
    ASSERT_TRUE(window->Document().TemplateInUse);
    const QString before = Row("TemplateDB", first)["Strom"].toString();

    // Every path that would change the template asks; No changes nothing.
    const std::pair<const char*, std::function<void()>> paths[] = {
        { "edit head", [&] { window->ActionEditRecordExecute(); } },
        { "cell command",
            [&] {
                window->ActionEditovatObsahBunky->setChecked(true);
                window->ArmCellCommand(window->ActionEditovatObsahBunky, &CmdEditCell, true);
            } },
        { "pop-up item",
            [&] {
                window->ClickedCell = window->Document().RootCell;
                window->RunPopupCommand(&CmdEditCell);
            } },
    };
    for (const auto& [name, run] : paths) {
        Script().Reset();
        Script().AnswerMessage(mrNo);
        run();
        EXPECT_EQ(Script().Shown().value(0), GetString(636)) << name;
        EXPECT_FALSE(CmdEditCell) << name;
    }
    EXPECT_EQ(Count("TemplateDB"), 2);

    // Yes makes a copy under the proposed name; the template stays as it was.
    Script().AnswerMessage(mrYes);
    QString proposed;
    AnswerHead([&](TfEditRecordHead& head) {
        proposed = head.Edit_NazovMerania->text();
        EXPECT_EQ(head.windowTitle(), GetString(906));
    });
    window->ActionEditRecordExecute();
    EXPECT_EQ(proposed, CopyNameProposal("Balance"));
    EXPECT_EQ(NamesIn("4"), QStringList({ "Balance", proposed, "Weights" }));
    EXPECT_EQ(Row("TemplateDB", first)["Strom"].toString(), before);
}

TEST_F(TemplateCommands, ValidationExampleActionImportsOnFirstUseAndShowsTheSameTemplateAfter)
{
    const QString savedApp = AppDir;
    AppDir = files.path() + "/";
    Open();
    const TValidationExample& example = ValidationExamples()[0];
    QAction* action = window->findChild<QAction*>(example.Action);
    ASSERT_TRUE(action);

    // Without the examples' folder nothing happens.
    action->trigger();
    EXPECT_EQ(Count("TemplateDB"), 2);

    ASSERT_TRUE(QDir().mkpath(ValidationFolder(0)));
    ASSERT_TRUE(WriteScrambledModelFile(ValidationFolder(0) + ValidationFileName(example, 0), ModelText("S2")));
    action->trigger();
    ASSERT_EQ(Count("TemplateDB"), 3);
    const QString name = ValidationTemplateName(ValidationFileName(example, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CurrentTemplateID > 0 && CurrentTemplateID != first; }, 5000));
    const int imported = CurrentTemplateID;
    EXPECT_EQ(Row("TemplateDB", imported)["TemplateName"].toString(), name);

    window->IDTable_Template->FindKey("4");
    ASSERT_TRUE(QTest::qWaitFor([&] { return CurrentTemplateID > 0 && CurrentTemplateID != imported; }, 5000));
    action->trigger();
    EXPECT_EQ(Count("TemplateDB"), 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return CurrentTemplateID == imported; }, 5000));
    AppDir = savedApp;
}

// Dragging is armed only while a user with rights 1 or 2 holds exactly Shift and Ctrl
// over the list or the folder tree; a drop from the list files the selected templates in
// the folder, a drop from the tree moves none. A user with rights 3 cannot drag but
// moves through the folder picker.
TEST_F(TemplateCommands, DraggingIsArmedOnlyWithShiftCtrlForRightsOneAndTwo)
{
    Open();
    const QPoint overGrid = window->DBGrid_Template->mapToGlobal(QPoint(5, 5));
    const QPoint overTree = window->DBTemplateView->mapToGlobal(QPoint(5, 5));
    const QPoint outside = window->mapToGlobal(QPoint(-50, -50));
    const auto both = Qt::ShiftModifier | Qt::ControlModifier;
    struct Case {
        const char* what;
        int rights;
        Qt::KeyboardModifiers modifiers;
        QPoint cursor;
        bool armed;
    };
    const Case cases[] = {
        { "rights 2 over the list", 2, both, overGrid, true },
        { "rights 1 over the tree", 1, both, overTree, true },
        { "not over list or tree", 2, both, outside, false },
        { "with Alt too", 2, both | Qt::AltModifier, overGrid, false },
        { "Shift alone", 2, Qt::ShiftModifier, overGrid, false },
        { "rights 3", 3, both, overGrid, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CurrentUserRights = c.rights;
        window->FormKeyDown(Qt::Key_Control, c.modifiers, c.cursor);
        EXPECT_EQ(window->MovingEnabled, c.armed);
        EXPECT_EQ(window->DBGrid_Template->dragEnabled(), c.armed);
        EXPECT_EQ(window->DBTemplateView->HasOption(dtAutoDragMove), c.armed);
        window->FormKeyUp(Qt::Key_Control, Qt::ShiftModifier);
        EXPECT_FALSE(window->MovingEnabled);
        EXPECT_FALSE(window->DBTemplateView->HasOption(dtAutoDragMove));
    }

    // The keys as the user presses them, wherever the focus is in the window.
    CurrentUserRights = 2;
    QCursor::setPos(overGrid);
    QTest::keyPress(window->DBGrid_Template, Qt::Key_Shift, Qt::ShiftModifier);
    QTest::keyPress(window->DBGrid_Template, Qt::Key_Control, both);
    EXPECT_TRUE(window->MovingEnabled);
    QTest::keyRelease(window->DBGrid_Template, Qt::Key_Control, Qt::ShiftModifier);
    EXPECT_FALSE(window->MovingEnabled);

    QTreeWidgetItem* length = window->DBTemplateView->NodeByID("5");
    ASSERT_NE(length, nullptr);
    EXPECT_FALSE(window->DBTemplateView->OnDragOver(window->DBGrid_Template, length));
    window->DBTemplateView->OnDragDrop(window->DBGrid_Template, length); // not armed
    EXPECT_TRUE(NamesIn("5").isEmpty());
    window->FormKeyDown(Qt::Key_Shift, both, overGrid);
    ASSERT_TRUE(window->MovingEnabled);
    EXPECT_TRUE(
        window->DBGrid_Template->model()->flags(window->DBGrid_Template->model()->index(0, 0)) & Qt::ItemIsDragEnabled);
    EXPECT_TRUE(window->DBTemplateView->OnDragOver(window->DBGrid_Template, length));
    EXPECT_FALSE(window->DBTemplateView->OnDragOver(window->DBGrid_Template, nullptr));
    window->DBTemplateView->OnDragDrop(window->DBTemplateView, length); // from the tree: nothing
    EXPECT_TRUE(NamesIn("5").isEmpty());
    window->SelectAllTemplates();
    window->DBTemplateView->OnDragDrop(window->DBGrid_Template, length);
    EXPECT_EQ(NamesIn("5"), QStringList({ "Balance", "Weights" }));
    // Letting go of the mouse in the list disarms.
    window->DBGrid_TemplateMouseUp();
    EXPECT_FALSE(window->MovingEnabled);

    // Rights 3: no dragging, but the picker moves.
    CurrentUserRights = 3;
    window->FormKeyDown(Qt::Key_Shift, both, overGrid);
    EXPECT_FALSE(window->MovingEnabled);
    window->IDTable_Template->FindKey("5");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->ListRowCount() == 2; }, 5000));
    window->UnselectAllTemplates();
    Show(first);
    test::WhenShown<TfListOfFolders>([](TfListOfFolders& picker) {
        picker.DBTemplateView->SelectNodeByID("4");
        picker.ButtonSelect->click();
    });
    window->ActionMoveSelectedRecordTo->trigger();
    EXPECT_EQ(NamesIn("4"), QStringList({ "Balance" }));
}

// A drop-down output button repeats the output last run in its mode, from whichever
// menu it was chosen; a command that is no output leaves the button alone; a new pick
// starts again with the short report.
TEST_F(TemplateCommands, OutputButtonsRepeatTheLastOutputOfTheirMode)
{
    Open();
    EXPECT_EQ(window->ToolButton_Copy->defaultAction(), window->ActionCopyShortReport);
    window->ActionCopyFullReport->trigger();
    EXPECT_EQ(window->ToolButton_Copy->defaultAction(), window->ActionCopyFullReport);
    EXPECT_EQ(window->ToolButton_Print->defaultAction(), window->ActionShortReportPrint);
    EXPECT_FALSE(window->ToolButton_Copy->icon().isNull());
    QSignalSpy repeated(window->ActionCopyFullReport, &QAction::triggered);
    window->ToolButton_Copy->click();
    EXPECT_EQ(repeated.count(), 1);

    Script().AnswerSaveFile(QString()); // the export is cancelled
    window->ActionExportTreeToFileAs->trigger();
    EXPECT_EQ(window->ToolButton_SaveToFile->defaultAction(), window->ActionShortReportSaveToFile);
    const QString path = files.filePath("diagram.rtf");
    Script().AnswerSaveFile(path);
    window->ActionTemplateSaveAs->trigger();
    EXPECT_EQ(window->ToolButton_SaveToFile->defaultAction(), window->ActionTemplateSaveAs);
    EXPECT_TRUE(QFile::exists(path));

    window->PrepareTemplatePick(first, "Templates");
    EXPECT_EQ(window->ToolButton_Copy->defaultAction(), window->ActionCopyShortReport);
    EXPECT_EQ(window->ToolButton_SaveToFile->defaultAction(), window->ActionShortReportSaveToFile);
}

// The service login's tools: a model file written as plain text and back as a model
// file gives the same tree; a file that cannot be read is named and the others are
// still written. Other users do not see the tools.
TEST_F(TemplateCommands, ServiceToolsConvertModelFilesBothWaysAndNameFailures)
{
    Open();
    EXPECT_FALSE(window->menuService->menuAction()->isVisible());
    CurrentUserName = "Tulkarn";
    window->UpdateActions();
    ASSERT_TRUE(window->menuService->menuAction()->isVisible());

    const QString model = files.filePath("scale.stm");
    const QString text = ModelText("Scale");
    ASSERT_TRUE(WriteScrambledModelFile(model, text));
    Script().AnswerOpenFile(model + "\n" + files.filePath("missing.stm"));
    Script().AnswerMessage(mrOk);
    window->LoadSTMfileandsavetodecrypted1->trigger();
    ASSERT_EQ(Script().Shown().size(), 1);
    EXPECT_TRUE(Script().Shown()[0].contains("missing.stm")) << Script().Shown()[0].toStdString();
    EXPECT_EQ(TreesDir, files.path());
    QFile plain(files.filePath("scale.DSTM"));
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
    EXPECT_TRUE(plain.readAll().contains("BeginCell="));
    plain.close();

    Script().AnswerOpenFile(files.filePath("scale.DSTM"));
    window->Lo1->trigger();
    const QString repaired = files.filePath("scale-repaired.STM");
    ASSERT_TRUE(QFile::exists(repaired));
    auto original = TreeOf(text);
    auto back = std::make_unique<TCell>(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
    ASSERT_TRUE(LoadModelFile(*back, repaired));
    const QRegularExpression cellIds(QStringLiteral("(BeginCell|EndCell)=\\d+"));
    EXPECT_EQ(back->SaveToText().replace(cellIds, "\\1="), original->SaveToText().replace(cellIds, "\\1="));
}

// The web page follows the language, English for Czech; the support mail goes to the
// support address.
TEST_F(TemplateCommands, WebPageFollowsTheLanguageWithEnglishForTheOthers)
{
    QList<QUrl> opened;
    const DesktopOpener previous = SetDesktopOpener([&](const QUrl& url) {
        opened << url;
        return true;
    });
    for (const quint8 language : { 0, 1, 2 }) {
        LanguageID = language;
        window->ActionBrantel_HomePage->trigger();
    }
    LanguageID = 0;
    window->ActionKestravaTechnicalSupport->trigger();
    SetDesktopOpener(previous);
    ASSERT_EQ(opened.size(), 4);
    EXPECT_NE(opened[0], opened[1]);
    EXPECT_EQ(opened[2], opened[0]);
    EXPECT_EQ(opened[3].toString(), "mailto:" + SupportEMail);
}

// An empty first folder opens the pick on the folder that follows the examples' folder.
TEST_F(TemplateCommands, AnEmptyFirstFolderOpensThePickAfterTheExamplesFolder)
{
    OtherExec("INSERT INTO TemplateID1 (ID, OwnerID, Description) VALUES ('6', '', ?)", { GetString(927) });
    OtherExec("INSERT INTO TemplateID1 (ID, OwnerID, Description) VALUES ('7', '', 'English examples')");
    const int example = AddTemplate("Example", "7", ModelText("Example"));
    window->PrepareTemplatePick(0, "Templates");
    EXPECT_EQ(window->CurrentFolderID, "7");
    ASSERT_EQ(window->ListRowCount(), 1);
    EXPECT_EQ(window->ListRowID(0), example);
}

// A report page opens in the separate editor window, captioned after the page: read-only
// for the short report, editable for the formula page. With ORVEK_SHOTS set, a picture
// of each separate window beside the template window is saved there.
TEST_F(TemplateCommands, SeparateReportWindowIsReadOnlyOnlyForTheShortReport)
{
    TfRichEdit98Editor editor;
    fRichEdit98Editor = &editor;
    Open();
    const QString shots = qEnvironmentVariable("ORVEK_SHOTS");
    const struct {
        QWidget* page;
        QTextEdit* edit;
        bool readOnly;
        const char* shot;
    } pages[] = { { window->TabSheet_Poznamky, window->RichEdit_ShortReport_Template, true, "short" },
        { window->TabSheet_VzorecPreNeistotu, window->RichEdit981, false, "formula" } };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.shot);
        window->PageControl1->setCurrentWidget(p.page);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !p.edit->toPlainText().isEmpty(); }, 5000));
        const QString caption = window->PageControl1->tabText(window->PageControl1->currentIndex());
        window->PopupMenu3Popup();
        auto* separate = window->findChild<QAction*>("dosamostatnhookna1");
        ASSERT_TRUE(separate);
        EXPECT_EQ(separate->text(), GetString(943, { caption }));
        bool readOnly = !p.readOnly;
        QString title, content;
        test::WhenShown<TfRichEdit98Editor>([&](TfRichEdit98Editor& shown) {
            readOnly = shown.Editor->isReadOnly();
            title = shown.windowTitle();
            content = shown.Editor->toPlainText();
            if (!shots.isEmpty()) {
                QTest::qWait(200);
                const QPixmap left = window->grab();
                shown.showNormal();
                shown.resize(760, left.height());
                QTest::qWait(200);
                const QPixmap right = shown.grab();
                QPixmap both(left.width() + right.width() + 8, std::max(left.height(), right.height()));
                both.fill(Qt::darkGray);
                QPainter painter(&both);
                painter.drawPixmap(0, 0, left);
                painter.drawPixmap(left.width() + 8, 0, right);
                painter.end();
                both.save(shots + "/template-separate-" + p.shot + ".png");
            }
            shown.reject();
        });
        separate->trigger();
        EXPECT_EQ(readOnly, p.readOnly);
        EXPECT_EQ(title, caption);
        EXPECT_FALSE(content.trimmed().isEmpty());
    }
    fRichEdit98Editor = nullptr;
}

// Records which cell a command ran on and which commands were armed then.
class CellToolsSpy : public CellToolService {
public:
    CellToolsSpy() { SetCellToolService(this); }
    ~CellToolsSpy() override { SetCellToolService(nullptr); }
    void ClickAction(TCell* cell) override
    {
        clicked = cell;
        editArmed = CmdEditCell;
        deleteArmed = CmdDeleteCell;
    }
    void ViewProperties(TCell*) override { }
    void EditProperties(TCell*) override { }
    TCell* clicked = nullptr;
    bool editArmed = false, deleteArmed = false;
};

// The cell actions arm by their table: edit, add, delete and block toggle disarm when
// chosen twice, a conversion stays armed; a click beside the cells disarms. The pop-up
// shows the items of the hovered cell's kind and runs its command at once. The 85 %
// preset gives its zoom at the next tick.
TEST_F(TemplateCommands, CellCommandsArmByTheirTableAndPopUpItemsFollowTheCellKind)
{
    Open();
    struct Arming {
        QAction* action;
        const bool* command;
        bool armedAfterTwice;
    };
    const Arming armings[] = { { window->ActionEditovatObsahBunky, &CmdEditCell, false },
        { window->ActionNeistotaNova, &CmdAddUncertainty, false },
        { window->ActionNeistotaVymazat, &CmdDeleteCell, false },
        { window->ActionNeistotaAnoNie, &CmdToggleActive, false },
        { window->ActionRovnicaNaVelicinu, &CmdEquationToQuantity, true },
        { window->ActionRovnicaNaInuRovnicuNovu, &CmdEquationToNewEquation, true },
        { window->ActionVelicinaNaRovnicuNovu, &CmdQuantityToNewEquation, true } };
    for (const Arming& a : armings) {
        SCOPED_TRACE(a.action->objectName().toStdString());
        // Another command armed before is disarmed.
        const bool editing = a.command == &CmdEditCell;
        (editing ? window->ActionRovnicaNaVelicinu : window->ActionEditovatObsahBunky)->trigger();
        a.action->trigger();
        EXPECT_TRUE(*a.command);
        EXPECT_TRUE(a.action->isChecked());
        EXPECT_FALSE(editing ? CmdEquationToQuantity : CmdEditCell);
        a.action->trigger();
        EXPECT_EQ(*a.command, a.armedAfterTwice);
        EXPECT_EQ(a.action->isChecked(), a.armedAfterTwice);
        window->ScrollBox_TemplateClick();
        EXPECT_FALSE(*a.command);
        EXPECT_FALSE(a.action->isChecked());
    }

    TCell* root = window->Document().RootCell;
    ASSERT_TRUE(root);
    TCell* quantity = root->Child(0);
    TCell* source = quantity->Child(0);
    struct Kind {
        const char* what;
        TCell* cell;
        std::vector<QAction*> shown;
    };
    const Kind kinds[] = {
        { "equation", root,
            { window->Editovaobsahbunky2, window->RovnicuZmenitNaNovuRovnicu, window->PridatNovuNeistotuMainMenu } },
        { "quantity", quantity,
            { window->Editovaobsahbunky2, window->VelicinuZmenitNaNovuRovnicu, window->PridatNovuNeistotuMainMenu } },
        { "source", source,
            { window->Editovaobsahbunky2, window->Vymazaoznaen1, window->ZablokovaOdblokovaoznaen1,
                window->PridatNovuNeistotuMainMenu } },
        { "none", nullptr, {} },
    };
    QAction* const items[] = { window->Editovaobsahbunky2, window->RovnicuZmenitNaVelicinu,
        window->RovnicuZmenitNaNovuRovnicu, window->VelicinuZmenitNaNovuRovnicu, window->Vymazaoznaen1,
        window->ZablokovaOdblokovaoznaen1, window->PridatNovuNeistotuMainMenu };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.what);
        HoveredCell = k.cell;
        window->PopupMenu1Popup();
        EXPECT_EQ(window->ClickedCell, k.cell);
        for (QAction* item : items)
            EXPECT_EQ(item->isVisible(), std::find(k.shown.begin(), k.shown.end(), item) != k.shown.end())
                << item->objectName().toStdString();
    }
    CellToolsSpy tools;
    HoveredCell = source;
    window->PopupMenu1Popup();
    window->Vymazaoznaen1->trigger();
    EXPECT_EQ(tools.clicked, source);
    EXPECT_TRUE(tools.deleteArmed && !tools.editArmed);
    EXPECT_FALSE(CmdDeleteCell);
    EXPECT_EQ(window->ClickedCell, nullptr);
    HoveredCell = nullptr;

    window->ActionZoom_85->trigger();
    EXPECT_EQ(ZoomPresetIndex, 2);
    EXPECT_TRUE(window->ActionZoom_85->isChecked());
    EXPECT_FALSE(window->ActionZoom_100->isChecked());
    EXPECT_EQ(window->ComboBox_Zoom->currentIndex(), 2);
    ASSERT_TRUE(QTest::qWaitFor([] { return std::abs(ZoomCoefficient - 0.85) < 1e-6; }, 5000));
}

} // namespace
