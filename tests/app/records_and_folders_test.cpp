// Records made from the validation examples, records dragged onto folders and folders
// moved in the main window's tree, driven through the composed program.

#include "core/settings.h"
#include "database/data_module.h"
#include "database/template_document.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/edit_record_head.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/cell_records.h"
#include "engine/ui/diagram_view.h"
#include "tests/app/program_fixture.h"

#include <QCursor>
#include <QMenu>

using namespace orvek;
using orvek::test::DialogScript;
using orvek::test::ProgramTest;
using orvek::test::WhenShown;

namespace {

// A one-cell model named Name, as the program writes a diagram.
QString ModelText(const QString& name)
{
    CellIdCounter = 1;
    ClearNewCellInfo();
    NewCellInfo.CellName = name;
    TCell root(nullptr, NewCellInfo, DiagramOriginY, DiagramOriginX, nullptr);
    return root.SaveToText() + "\r\n";
}

class ProgramRecords : public ProgramTest {
protected:
    RecordViewPanel& Panel() { return *Main().RecordPanel; }
    QAction* PanelAction(const char* name)
    {
        auto* action = Panel().findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    // Waits in the template window until its current row's template is loaded.
    static int WaitForShownTemplate(TfOrvekDB& window)
    {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return window.CurrentRowID() > 0 && CurrentTemplateID == window.CurrentRowID(); }, 5000));
        return window.CurrentRowID();
    }
    // Hands the shown template over as a new record named Name.
    static void HandOver(TfOrvekDB& window, const QString& name)
    {
        ASSERT_NE(window.Document().RootCell, nullptr);
        if (window.Document().RootCell->HasExpiredSource())
            DialogScript::Instance().AnswerMessage(mrYes); // use it although a source expired?
        WhenShown<TfEditRecordHead>([name](TfEditRecordHead& head) {
            head.Edit_NazovMerania->setText(name);
            head.Button2->click();
        });
        window.ActionCloseWindowandAddTemplateToDB->trigger();
    }
    static QStringList RecordNamed(const QString& name)
    {
        return ColumnElsewhere(
            "SELECT FromTemplateID || '|' || NazovVzoru FROM TreeDB WHERE NazovMerania = ?", { name });
    }
    static QString TemplateRow(int id)
    {
        return QString::number(id) + "|"
            + ColumnElsewhere("SELECT TemplateName FROM TemplateDB WHERE ID = ?", { id }).value(0);
    }
    // Folder ID under OwnerID, as another workstation adds it before the log-in.
    static void AddFolder(const QString& id, const QString& owner, const QString& name)
    {
        ExecElsewhere("INSERT INTO MeasureID1 (ID, OwnerID, Description) VALUES (?, ?, ?)", { id, owner, name });
    }
    // Holds exactly Shift and Ctrl down with the mouse at Cursor, pressed in the main
    // window's diagram (the keys reach the window wherever the focus is).
    void PressShiftCtrl(const QPoint& cursor)
    {
        QCursor::setPos(cursor);
        QTest::keyPress(Main().ScrollBox2, Qt::Key_Shift, Qt::ShiftModifier);
        QTest::keyPress(Main().ScrollBox2, Qt::Key_Control, Qt::ShiftModifier | Qt::ControlModifier);
    }
    void ReleaseShiftCtrl()
    {
        QTest::keyRelease(Main().ScrollBox2, Qt::Key_Control, Qt::ShiftModifier);
        QTest::keyRelease(Main().ScrollBox2, Qt::Key_Shift, Qt::NoModifier);
    }
};

// The template the tree showed last lies elsewhere: the example's own template is shown
// and becomes the record's template.
TEST_F(ProgramRecords, AnExamplePickedInTheMainWindowBecomesARecordOfItsOwnTemplate)
{
    const qint64 own = ExecElsewhere("INSERT INTO TemplateDB (GroupID, CreatedBy, PracovnikID, CreateDate, "
                                     "TemplateName, MainEquation, Strom, IDDB1) VALUES (1, 'Administrator', 1, "
                                     "'2025-01-15', 'Hustota', '', ?, '0')",
        { ModelText("Hustota") });
    StartAsAdministrator();

    // An ordinary pick shows the unassigned folder with the user's own template.
    bool shown = false;
    WhenShown<TfOrvekDB>([&](TfOrvekDB& window) {
        EXPECT_EQ(WaitForShownTemplate(window), own);
        shown = true;
        window.MenuExit->trigger();
    });
    PanelAction("ActionNewRecFromTemplateTree")->trigger();
    ASSERT_TRUE(shown);

    int example = 0;
    QString folder;
    WhenShown<TfOrvekDB>([&](TfOrvekDB& window) {
        example = WaitForShownTemplate(window);
        folder = window.DBTemplateView->GetNodeID(window.DBTemplateView->currentItem());
        HandOver(window, "Závažie 10 kg");
    });
    PanelAction("Action_S2")->trigger();
    ASSERT_GT(example, 0);
    EXPECT_NE(example, own);
    EXPECT_EQ(ColumnElsewhere("SELECT CreatedBy || '|' || IDDB1 FROM TemplateDB WHERE ID = ?", { example }),
        QStringList { "Validation|" + folder });
    EXPECT_EQ(RecordNamed("Závažie 10 kg"), QStringList { TemplateRow(example) });
    EXPECT_EQ(Panel().View().Field(Panel().View().CurrentRow(), 6).toString(), "Závažie 10 kg");
}

TEST_F(ProgramRecords, TheTemplateWindowsValidationSubmenuImportsAnExample)
{
    StartAsAdministrator();
    int first = 0, second = 0;
    bool offered = false;
    WhenShown<TfOrvekDB>([&](TfOrvekDB& window) {
        first = WaitForShownTemplate(window);
        offered = window.menuValidation_in_Orvek2000->menuAction()->isVisible()
            && window.menuValidacia->actions().contains(window.menuValidation_in_Orvek2000->menuAction());
        QAction* s3 = nullptr;
        for (QAction* item : window.menuValidation_in_Orvek2000->actions())
            if (item->objectName() == "Action_S3")
                s3 = item;
        ASSERT_NE(s3, nullptr);
        ASSERT_TRUE(s3->isEnabled());
        s3->trigger();
        EXPECT_TRUE(QTest::qWaitFor([&] { return CurrentTemplateID > 0 && CurrentTemplateID != first; }, 5000));
        second = WaitForShownTemplate(window);
        HandOver(window, "Odpor 10 kOhm");
    });
    PanelAction("Action_S2")->trigger();
    EXPECT_TRUE(offered);
    ASSERT_GT(second, first);
    EXPECT_EQ(ColumnElsewhere("SELECT count(*) FROM TemplateDB WHERE CreatedBy = 'Validation'"), QStringList { "2" });
    EXPECT_TRUE(TemplateRow(second).contains("S3 ")) << TemplateRow(second).toStdString();
    EXPECT_EQ(RecordNamed("Odpor 10 kOhm"), QStringList { TemplateRow(second) });
}

TEST_F(ProgramRecords, ShiftCtrlThenADragFilesTheRecordInAFolder)
{
    AddFolder("2", "", "Váhy");
    const qint64 record = ExecElsewhere("INSERT INTO TreeDB (SampleID, GroupID, FromTemplateID, PracovnikID, "
                                        "MenoPracovnika, Datum, NazovVzoru, NazovMerania, Strom, IDDB1) VALUES ("
                                        "'S-1', 1, 0, 1, 'Administrator', '2025-01-15', '', 'Hustota vody', ?, '0')",
        { ModelText("Hustota") });
    StartAsAdministrator();
    RecordViewPanel& panel = Panel();
    panel.DBTreeView->SelectNodeByID("0");
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.View().CurrentRowID() == record; }, 5000));
    QTreeWidgetItem* scales = panel.DBTreeView->NodeByID("2");
    ASSERT_NE(scales, nullptr);
    EXPECT_FALSE(panel.DBTreeView->OnDragOver(panel.DBGrid_Tree, scales));

    PressShiftCtrl(panel.DBGrid_Tree->mapToGlobal(QPoint(5, 5)));
    ASSERT_TRUE(panel.DragEnabled);
    EXPECT_TRUE(panel.DBGrid_Tree->dragEnabled());
    ASSERT_TRUE(panel.DBTreeView->OnDragOver(panel.DBGrid_Tree, scales));
    panel.DBTreeView->OnDragDrop(panel.DBGrid_Tree, scales);
    EXPECT_EQ(ColumnElsewhere("SELECT IDDB1 FROM TreeDB WHERE ID = ?", { record }), QStringList { "2" });
    EXPECT_EQ(panel.View().RowCount(), 0);
    ReleaseShiftCtrl();
    EXPECT_FALSE(panel.DragEnabled);
    EXPECT_FALSE(panel.DBGrid_Tree->dragEnabled());

    // Letting go of the mouse in the grid disarms too.
    PressShiftCtrl(panel.DBGrid_Tree->mapToGlobal(QPoint(5, 5)));
    ASSERT_TRUE(panel.DragEnabled);
    QTest::mousePress(
        panel.DBGrid_Tree->viewport(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(5, 5));
    EXPECT_TRUE(panel.MouseDownInGrid);
    QTest::mouseRelease(
        panel.DBGrid_Tree->viewport(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(5, 5));
    EXPECT_FALSE(panel.MouseDownInGrid);
    EXPECT_FALSE(panel.DragEnabled);
    ReleaseShiftCtrl();
}

TEST_F(ProgramRecords, OnlyTheArmedMainAdministratorMovesFoldersAndTheFixedFoldersNeverMove)
{
    AddFolder("2", "", "Váhy");
    AddFolder("3", "", "Teplomery");
    StartAsAdministrator();
    const int eva = AddUser("eva", "abc123");
    RecordViewPanel& panel = Panel();
    TDBTreeView& tree = *panel.DBTreeView;
    const auto owner = [](const QString& id) {
        return ColumnElsewhere("SELECT coalesce(OwnerID, '') FROM MeasureID1 WHERE ID = ?", { id }).value(0);
    };
    const QPoint overTree = tree.mapToGlobal(QPoint(5, 5));

    // A group user cannot arm dragging: folders stay put.
    DialogScript::Instance().AnswerMessage(mrYes); // log the administrator out?
    AnswerLogin("eva", "abc123");
    Action("aLogInNewUser")->trigger();
    ASSERT_EQ(CurrentUserID, eva);
    PressShiftCtrl(overTree);
    EXPECT_FALSE(panel.DragEnabled);
    EXPECT_FALSE(tree.HasOption(dtAutoDragMove));
    EXPECT_FALSE(tree.OnDragOver(&tree, tree.NodeByID("3")));
    ReleaseShiftCtrl();

    // The main administrator arms it; "0" and "1" neither move nor take a folder.
    DialogScript::Instance().AnswerMessage(mrYes);
    AnswerLogin("admin", "heslo1");
    Action("aLogInNewUser")->trigger();
    ASSERT_EQ(CurrentUserID, 1);
    EXPECT_FALSE(tree.HasOption(dtAutoDragMove));
    PressShiftCtrl(overTree);
    ASSERT_TRUE(panel.DragEnabled);
    EXPECT_TRUE(tree.HasOption(dtAutoDragMove));
    for (const char* fixed : { "0", "1" }) {
        SCOPED_TRACE(fixed);
        QTreeWidgetItem* node = tree.NodeByID(fixed);
        ASSERT_NE(node, nullptr);
        EXPECT_FALSE(tree.CanMoveNode(node));
        EXPECT_FALSE(tree.MoveNode(node, tree.NodeByID("3"), TNodeAttachMode::naAddChild));
        EXPECT_EQ(owner(fixed), "");
        EXPECT_FALSE(tree.OnDragOver(&tree, node));
    }
    EXPECT_TRUE(tree.CanMoveNode(tree.NodeByID("2")));
    ASSERT_TRUE(tree.OnDragOver(&tree, tree.NodeByID("3")));
    EXPECT_TRUE(tree.MoveNode(tree.NodeByID("2"), tree.NodeByID("3"), TNodeAttachMode::naAddChild));
    EXPECT_EQ(owner("2"), "3");
    ReleaseShiftCtrl();
    EXPECT_FALSE(tree.HasOption(dtAutoDragMove));
}

} // namespace
