#include "database/ui/record_view_panel.h"

#include "database/folder_groups.h"
#include "database/folder_table_cursor.h"
#include "database/record_writes.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/edit_record_head.h"
#include "database/ui/input_search_string.h"
#include "database/ui/list_of_folders.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/cell_records.h"
#include "platform/db_session.h"
#include "tests/database/ui/record_panel_fixture.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/main_window_double.h"
#include "tests/support/sql_helpers.h"
#include "tests/support/user_database_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace orvek {
namespace {

TEST_F(RecordPanel, OpensOnTheLastRecordAndFollowsTheFolderTree)
{
    RecordViewPanel panel(&module->SessionOrvek());
    panel.resize(420, 520);
    panel.show();
    panel.OpenMeasurementView(deep);
    EXPECT_EQ(panel.DBTreeView->GetNodeID(panel.DBTreeView->currentItem()), "4");
    EXPECT_EQ(Rows(panel), QList<int> { deep });
    EXPECT_EQ(panel.View().CurrentRowID(), deep);
    EXPECT_EQ(panel.Panel_RecNo->text(), "1/1");
    EXPECT_EQ(panel.ComboBox_MainID->count(), 1);
    EXPECT_EQ(panel.ActionShowDeleted->text(), GetString(885));
    LanguageID = 1;
    panel.ApplyTexts();
    EXPECT_EQ(panel.ActionShowDeleted->toolTip(), "Vymazané záznamy");
    EXPECT_EQ(panel.DBGrid_Tree->model()->headerData(0, Qt::Horizontal).toString(), GetString(646));
    LanguageID = 0;

    // Choosing a folder in the tree lists its records, sorted by the first column.
    panel.DBTreeView->setCurrentItem(panel.DBTreeView->NodeByID("3"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.View().RowCount() == 2; }, 5000));
    EXPECT_TRUE(window.ReloadRequested);
    EXPECT_EQ(panel.Panel_RecNo->text(), "1/2");

    // The whole group, then back to the folder of the current record.
    panel.ActionZobrazitVsetkyMerania->trigger();
    EXPECT_EQ(panel.View().RowCount(), 4);
    EXPECT_FALSE(panel.DBTreeView->isEnabled());
    panel.ActionShowUnassigned->trigger();
    EXPECT_TRUE(panel.DBTreeView->isEnabled());
    EXPECT_EQ(panel.View().RowCount(), 0);
    EXPECT_GE(window.Calls("ClearDiagram"), 1);
    EXPECT_EQ(panel.Panel_RecNo->text(), "0/0");
}

TEST_F(RecordPanel, SearchMultiSelectionAndMoveToTheDeletedFolder)
{
    RecordViewPanel panel(&module->SessionOrvek());
    panel.resize(420, 520);
    panel.show();
    // The name first: the search works on the first column.
    panel.View().ColumnFields = QStringList { "NazovMerania", "SampleID", "MenoPracovnika", "Datum", "NazovVzoru" };
    panel.OpenMeasurementView(scale1);
    panel.DBTreeView->expandAll();
    ASSERT_TRUE(panel.ActionSearchMeasurement->isEnabled());

    test::WhenShown<TfInputSearchString1>([](TfInputSearchString1& dialog) {
        dialog.Edit_SearchString->setText("kalibrácia");
        dialog.RadioButton_AllFolders->setChecked(true);
        dialog.Button_Search->click();
    });
    panel.ActionSearchMeasurement->trigger();
    EXPECT_TRUE(panel.ActionSearchMeasurement->isChecked());
    EXPECT_EQ(Rows(panel), (QList<int> { deep, scale1 })); // "teplomera" before "váh"
    EXPECT_FALSE(panel.DBTreeView->isEnabled());

    panel.ActionSelectAllRecords->trigger();
    EXPECT_TRUE(panel.ActionEnableDisableMultiselection->isChecked());
    panel.CollectSelectedRecordIds();
    EXPECT_EQ(panel.SelectedRecordIDs.size(), 2);

    // Out of the deleted folder, deleting moves to it without a question.
    panel.ActionDeleteRecord->trigger();
    EXPECT_TRUE(test::DialogScript::Instance().Shown().isEmpty());
    EXPECT_EQ(test::QueryColumn(db, "SELECT ID FROM TreeDB WHERE IDDB1 = '1' ORDER BY ID"),
        (QStringList { QString::number(scale1), QString::number(deep) }));

    // Search off: back to the folder view; the deleted folder asks before deleting for good.
    panel.ActionSearchMeasurement->trigger();
    EXPECT_FALSE(panel.ActionSearchMeasurement->isChecked());
    EXPECT_TRUE(panel.DBTreeView->isEnabled());
    panel.ActionShowDeleted->trigger();
    EXPECT_EQ(panel.View().RowCount(), 2);
    panel.ActionUnSelectAllRecords->trigger();
    test::DialogScript::Instance().AnswerMessage(mrYes);
    panel.ActionDeleteRecord->trigger();
    EXPECT_EQ(test::DialogScript::Instance().Shown(), QStringList { GetString(335) });
    EXPECT_EQ(panel.View().RowCount(), 1);
    EXPECT_EQ(test::QueryColumn(db, "SELECT count(*) FROM TreeDB"), QStringList { "3" });
}

// Deleting a folder takes its sub-folders along and moves their records of this group
// to the deleted folder; the fixed folders stay; a new group becomes the current one.
TEST_F(RecordPanel, FolderAndGroupActions)
{
    TNewRecord other;
    other.GroupID = 9;
    other.FolderID = "3";
    other.RecordName = "other group";
    const qint64 otherGroup = AppendRecord(db, other);
    RecordViewPanel panel(&module->SessionOrvek());
    panel.show();
    panel.OpenMeasurementView(scale1);
    auto& script = test::DialogScript::Instance();

    script.AnswerInput("Nový priečinok");
    panel.ActionInsertNewSub_folder->trigger();
    EXPECT_EQ(test::QueryColumn(db, "SELECT OwnerID FROM MeasureID1 WHERE Description = 'Nový priečinok'"),
        QStringList { "3" });

    panel.DBTreeView->setCurrentItem(panel.DBTreeView->NodeByID("1"));
    script.AnswerMessage(mrCancel);
    panel.ActionDeleteFolder->trigger();
    EXPECT_EQ(script.Shown().last(), GetString(835));

    panel.DBTreeView->setCurrentItem(panel.DBTreeView->NodeByID("3"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.View().RowCount() == 2; }, 5000));
    script.AnswerMessage(mrYes);
    panel.ActionDeleteFolder->trigger();
    EXPECT_EQ(script.Shown().last(), GetString(874, { "Váhy" }) + "\r\r" + GetString(877));
    EXPECT_EQ(test::QueryColumn(db, "SELECT ID FROM MeasureID1 ORDER BY ID"), (QStringList { "0", "1", "2" }));
    EXPECT_EQ(test::QueryColumn(db, "SELECT ID || ':' || IDDB1 FROM TreeDB ORDER BY ID"),
        (QStringList { QString("%1:2").arg(lab), QString("%1:1").arg(scale1), QString("%1:1").arg(scale2),
            QString("%1:1").arg(deep), QString("%1:3").arg(otherGroup) }));
    EXPECT_EQ(panel.DBTreeView->GetNodeID(panel.DBTreeView->currentItem()), "2");

    script.AnswerInput("Druhé laboratórium");
    panel.ActionNewGroupOfFolders->trigger();
    EXPECT_EQ(panel.ComboBox_MainID->count(), 2);
    EXPECT_EQ(panel.ComboBox_MainID->currentText(), "Druhé laboratórium");
    EXPECT_EQ(CurrentGroupID, panel.ComboBox_MainID->currentData().toInt());
    EXPECT_EQ(panel.IDTable_Tree().TableName, "MeasureID" + QString::number(CurrentGroupID));
    EXPECT_EQ(panel.View().RowCount(), 0);

    script.AnswerMessage(mrYes);
    panel.ActionDeleteGroupOfFolders->trigger();
    EXPECT_EQ(panel.ComboBox_MainID->count(), 1);
    EXPECT_EQ(CurrentGroupID, 1);
    EXPECT_TRUE(script.AllAnswered());
}

// The combo and the three group actions show only with more groups of folders; turning
// the setting off brings back the first group.
TEST_F(RecordPanel, TheGroupControlsFollowMoreGroupsOfFolders)
{
    int second = 0;
    ASSERT_TRUE(CreateFolderGroup(db, "Chémia", second));
    RecordViewPanel panel(&module->SessionOrvek());
    panel.show();
    panel.OpenMeasurementView(scale1);
    QAction* const groupActions[]
        = { panel.ActionNewGroupOfFolders, panel.ActionRenameGroupOfFolders, panel.ActionDeleteGroupOfFolders };
    for (const bool more : { true, false }) {
        SCOPED_TRACE(more);
        MoreGroupsOfFolders = more;
        if (more) {
            panel.ApplyFolderGroupsSetting();
            panel.ComboBox_MainID->setCurrentIndex(panel.ComboBox_MainID->findData(second));
            ASSERT_EQ(CurrentGroupID, second);
            EXPECT_EQ(panel.View().RowCount(), 0);
        } else {
            panel.ApplyFolderGroupsSetting();
            EXPECT_EQ(CurrentGroupID, 1);
            EXPECT_EQ(panel.IDTable_Tree().TableName, "MeasureID1");
        }
        EXPECT_EQ(panel.ComboBox_MainID->isVisible(), more);
        for (QAction* action : groupActions) {
            EXPECT_EQ(action->isVisible(), more) << action->objectName().toStdString();
            EXPECT_EQ(action->isEnabled(), more) << action->objectName().toStdString();
        }
    }
}

// A width the user gives a column stays with its field at every later rebuild (folder,
// whole group, moved column); "+" and "-" in the tree open and close every folder.
TEST_F(RecordPanel, ColumnWidthsTheUserSetsStayAndPlusMinusOpenOrCloseTheWholeTree)
{
    RecordViewPanel panel(&module->SessionOrvek());
    panel.resize(420, 520);
    panel.show();
    panel.OpenMeasurementView(scale1);
    QHeaderView* header = panel.DBGrid_Tree->horizontalHeader();
    const auto widthOf
        = [&](const char* field) { return header->sectionSize(int(panel.View().ColumnFields.indexOf(field))); };
    const int defaultWidth = widthOf("Datum");
    header->resizeSection(int(panel.View().ColumnFields.indexOf("NazovMerania")), 177);
    panel.DBTreeView->setCurrentItem(panel.DBTreeView->NodeByID("4"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.View().RowCount() == 1; }, 5000));
    EXPECT_EQ(widthOf("NazovMerania"), 177);
    panel.ActionZobrazitVsetkyMerania->trigger();
    EXPECT_EQ(widthOf("NazovMerania"), 177);
    header->moveSection(int(panel.View().ColumnFields.indexOf("NazovMerania")), 0);
    EXPECT_EQ(panel.View().ColumnFields.value(0), "NazovMerania");
    EXPECT_EQ(widthOf("NazovMerania"), 177);
    EXPECT_EQ(widthOf("Datum"), defaultWidth);
    panel.ActionZobrazitVsetkyMerania->trigger();

    TDBTreeView& tree = *panel.DBTreeView;
    tree.setCurrentItem(tree.NodeByID("2"));
    tree.collapseAll();
    QTest::keyClick(&tree, Qt::Key_Plus);
    EXPECT_TRUE(tree.NodeByID("3")->isExpanded());
    tree.setCurrentItem(tree.NodeByID("4"));
    QTest::keyClick(&tree, Qt::Key_Minus);
    EXPECT_FALSE(tree.NodeByID("2")->isExpanded());
    EXPECT_FALSE(tree.NodeByID("3")->isExpanded());
}

TEST_F(RecordPanel, HeadEditCopyMoveAndExport)
{
    RecordViewPanel panel(&module->SessionOrvek());
    panel.show();
    panel.OpenMeasurementView(scale2);
    ASSERT_EQ(panel.View().CurrentRowID(), scale2);

    // The head edit writes the current record only, which stays current.
    test::WhenShown<TfEditRecordHead>([](TfEditRecordHead& dialog) {
        EXPECT_EQ(dialog.windowTitle(), GetString(762));
        EXPECT_EQ(dialog.Edit_NazovMerania->text(), "Čistota závažia");
        dialog.Edit_NazovMerania->setText("Akosť závažia");
        dialog.Button2->click();
    });
    panel.ActionEditRecord->trigger();
    EXPECT_EQ(test::QueryColumn(db, "SELECT NazovMerania FROM TreeDB WHERE IDDB1 = '3' ORDER BY ID"),
        (QStringList { "Kalibrácia váh A", "Akosť závažia" }));
    EXPECT_EQ(panel.View().CurrentRowID(), scale2);

    // A copy of the shown tree, named after the record.
    CellIdCounter = 1;
    ClearNewCellInfo();
    NewCellInfo.CellName = "Mass";
    TCell root(nullptr, NewCellInfo, 20, 20, nullptr);
    window.Root = &root;
    test::WhenShown<TfEditRecordHead>([](TfEditRecordHead& dialog) {
        EXPECT_EQ(dialog.windowTitle(), GetString(761));
        EXPECT_EQ(dialog.Edit_NazovMerania->text(), "Akosť závažia (" + GetString(880) + ")");
        dialog.Button2->click();
    });
    panel.ActionUrobitKopiuZaznamu->trigger();
    window.Root = nullptr;
    const QStringList copy = test::QueryColumn(db,
        "SELECT IDDB1 || '|' || Datum || '|' || (instr(Strom, 'CellName=Mass;') > 0) FROM TreeDB WHERE "
        "NazovMerania LIKE 'Akos% (%'");
    EXPECT_EQ(copy, QStringList { "3|2026-03-09|1" });
    EXPECT_EQ(window.Calls("ActionSuhrnVelicinExecute"), 1);
    EXPECT_EQ(panel.View().RowCount(), 3);

    // Two selected records move to the folder chosen in the picker; export wants one.
    panel.ActionSelectAllRecords->trigger();
    test::DialogScript::Instance().AnswerMessage(mrCancel);
    panel.ActionExportTreeToFileAs->trigger();
    EXPECT_EQ(test::DialogScript::Instance().Shown().last(), GetString(924));
    EXPECT_EQ(window.Calls("ExportTreeToFile"), 0);
    test::WhenShown<TfListOfFolders>([](TfListOfFolders& picker) {
        EXPECT_EQ(picker.windowTitle(), GetString(866));
        picker.DBTemplateView->SelectNodeByID("2");
        picker.ButtonSelect->click();
    });
    panel.ActionMoveSelectedRecordTo->trigger();
    EXPECT_EQ(test::QueryColumn(db, "SELECT count(*) FROM TreeDB WHERE IDDB1 = '2'"), QStringList { "4" });
    EXPECT_EQ(panel.View().RowCount(), 0);
}

// Only the main administrator arms dragging, with exactly Shift and Ctrl held while the
// mouse is over the grid or the tree; a drop files the selected records in the folder.
TEST_F(RecordPanel, DragIsArmedOnlyByTheMainAdministrator)
{
    RecordViewPanel panel(&module->SessionOrvek());
    panel.resize(400, 500);
    panel.show();
    panel.OpenMeasurementView(scale1);
    const QPoint overGrid = panel.DBGrid_Tree->mapToGlobal(QPoint(5, 5));
    const QPoint gridCorner = panel.DBGrid_Tree->mapToGlobal(panel.DBGrid_Tree->rect().bottomRight() + QPoint(1, 1));
    const QPoint outside = panel.mapToGlobal(QPoint(-50, -50));
    const auto both = Qt::ShiftModifier | Qt::ControlModifier;
    struct Case {
        const char* what;
        int user;
        Qt::KeyboardModifiers modifiers;
        QPoint cursor;
        bool armed;
    };
    const Case cases[] = {
        { "main administrator over the grid", 1, both, overGrid, true },
        { "edge of the grid counts", 1, both, gridCorner, true },
        { "not over grid or tree", 1, both, outside, false },
        { "with Alt too", 1, both | Qt::AltModifier, overGrid, false },
        { "another administrator", 2, both, overGrid, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CurrentUserID = c.user;
        panel.FormKeyDown(Qt::Key_Control, c.modifiers, c.cursor);
        EXPECT_EQ(panel.DragEnabled, c.armed);
        EXPECT_EQ(panel.DBGrid_Tree->dragEnabled(), c.armed);
        EXPECT_EQ(panel.DBTreeView->HasOption(dtAutoDragMove), c.armed);
        panel.FormKeyUp(Qt::Key_Control, Qt::ShiftModifier);
        EXPECT_FALSE(panel.DragEnabled);
        EXPECT_FALSE(panel.DBTreeView->HasOption(dtAutoDragMove));
    }
    CurrentUserID = 1;
    panel.DBTreeViewDragDrop("0"); // not armed: nothing moves
    EXPECT_EQ(test::QueryColumn(db, "SELECT count(*) FROM TreeDB WHERE IDDB1 = '0'"), QStringList { "0" });
    panel.FormKeyDown(Qt::Key_Shift, both, overGrid);
    panel.DBTreeViewDragDrop("0");
    EXPECT_EQ(
        test::QueryColumn(db, "SELECT ID FROM TreeDB WHERE IDDB1 = '0'"), QStringList { QString::number(scale1) });
    // Any other key over the grid disarms.
    panel.FormKeyDown(Qt::Key_A, Qt::NoModifier, overGrid);
    EXPECT_FALSE(panel.DragEnabled);
}

} // namespace
} // namespace orvek
