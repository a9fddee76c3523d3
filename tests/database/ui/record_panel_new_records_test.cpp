#include "core/settings.h"
#include "core/string_table.h"
#include "database/template_handover.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/cell_records.h"
#include "tests/database/ui/record_panel_fixture.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

namespace orvek {
namespace {

// The record panel with a temporary folder for the transfer file and a shown tree that
// is freed after each test.
class NewRecords : public RecordPanel {
protected:
    void SetUp() override
    {
        RecordPanel::SetUp();
        savedTempDir = TempDir;
        TempDir = temp.path() + "/";
        HighlightMode = 0;
    }
    void TearDown() override
    {
        TCell* root = window.Root;
        window.Root = nullptr;
        FreeCellTree(root);
        TempDir = savedTempDir;
        RecordPanel::TearDown();
    }

    // A one-cell model named Name as the template window writes it.
    static QString ModelText(const QString& name)
    {
        CellIdCounter = 1;
        ClearNewCellInfo();
        NewCellInfo.CellName = name;
        TCell root(nullptr, NewCellInfo, DiagramOriginY, DiagramOriginX, nullptr);
        return root.SaveToText() + "\r\n";
    }
    static void WriteTransferFile(const QString& text)
    {
        QFile file(TransferFileName());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
    std::unique_ptr<RecordViewPanel> OpenPanel(int recordID)
    {
        auto panel = std::make_unique<RecordViewPanel>(&module->SessionOrvek());
        panel->resize(420, 520);
        panel->show();
        panel->OpenMeasurementView(recordID);
        return panel;
    }

    QTemporaryDir temp;
    QString savedTempDir;
};

// A confirmed pick appends the handed-over template as a new record of the shown folder,
// makes it current and shows it; the source-template action opens the window on the
// template the current record came from.
TEST_F(NewRecords, ConfirmedPickAppendsAndShowsTheRecord)
{
    ASSERT_TRUE(PostStatement(db, "UPDATE TreeDB SET FromTemplateID = 7 WHERE ID = ?", { scale1 }));
    auto panel = OpenPanel(scale1);
    window.Modified = true;
    window.SummaryShown = true;
    QList<TTemplatePickRequest> requests;
    panel->TemplatePicker = [&](const TTemplatePickRequest& request, THandOverFields& fields) {
        requests << request;
        EXPECT_TRUE(TreeLoadInProgress);
        EXPECT_FALSE(window.TimerRunning);
        EXPECT_FALSE(QFile::exists(TransferFileName())); // an older transfer file is gone
        WriteTransferFile(ModelText("Mass"));
        fields.HandOverTemplateID = 7;
        fields.HandOverTemplateName = "Váženie";
        fields.HandOverRecordName = "Kalibrácia 'B' 100%";
        fields.HandOverSampleID = "V-1";
        return true;
    };
    QFile stale(TransferFileName());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    panel->ActionShowSourceTemplateFromDB->trigger();

    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].Source, TNewRecordSource::SourceTemplate);
    EXPECT_EQ(requests[0].TemplateID, 7);
    EXPECT_EQ(requests[0].Caption, GetString(392));
    EXPECT_EQ(window.Calls("SaveRecordDiagram"), 1); // the modified diagram was kept
    EXPECT_FALSE(window.SummaryShown);
    const QStringList rows = test::QueryColumn(db,
        "SELECT ID || '|' || IDDB1 || '|' || FromTemplateID || '|' || NazovVzoru || '|' || NazovMerania || '|' || "
        "SampleID || '|' || PracovnikID || '|' || Datum FROM TreeDB WHERE ID > ?",
        { deep });
    ASSERT_EQ(rows.size(), 1);
    const int created = rows[0].section('|', 0, 0).toInt();
    EXPECT_EQ(rows[0].section('|', 1), "3|7|Váženie|Kalibrácia 'B' 100%|V-1|1|2026-03-09");
    EXPECT_FALSE(QFile::exists(TransferFileName()));
    EXPECT_EQ(panel->View().CurrentRowID(), created);
    EXPECT_EQ(CurrentRecordID, created);
    EXPECT_EQ(window.LastRecNo, panel->View().CurrentRow() + 1);
    EXPECT_TRUE(window.LoadedFromTemplate);
    ASSERT_NE(window.Root, nullptr);
    EXPECT_EQ(window.Root->FCellName.Text, "Mass");
    EXPECT_TRUE(panel->ActionShowSourceTemplateFromDB->isEnabled());
    EXPECT_EQ(window.Calls("PushUndoSnapshot"), 1);
    EXPECT_EQ(window.Calls("ActionSuhrnVelicinExecute"), 1);
    EXPECT_EQ(window.LastUpdateMode, 1);
    EXPECT_FALSE(TreeLoadInProgress);
    EXPECT_TRUE(window.TimerRunning);

    // A new record from any template starts on the first template.
    panel->ActionNewRecFromTemplateTree->trigger();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[1].Source, TNewRecordSource::Template);
    EXPECT_EQ(requests[1].TemplateID, 0);
    EXPECT_EQ(requests[1].Caption, GetString(342));
    EXPECT_EQ(test::QueryColumn(db, "SELECT COUNT(*) FROM TreeDB WHERE ID > ?", { deep }), QStringList { "2" });
}

// Whatever the template window did to the shared highlight mode and zoom is undone when
// no record comes of the pick, and nothing is written.
TEST_F(NewRecords, PickWithoutARecordRestoresTheViewAndCreatesNothing)
{
    struct Case {
        const char* what;
        bool ok;
        bool writesFile;
    };
    const Case cases[] = { { "cancelled", false, false }, { "cancelled after writing", false, true },
        { "OK without a transfer file", true, false } };
    auto panel = OpenPanel(scale1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HighlightMode = 2;
        ZoomPresetIndex = 3;
        ZoomCoefficient = 1.0;
        window.TimerRunning = true;
        const int restores = window.Calls("RestoreViewState");
        panel->TemplatePicker = [&](const TTemplatePickRequest&, THandOverFields& fields) {
            HighlightMode = 0;
            ZoomPresetIndex = 0;
            ZoomCoefficient = 0.5;
            if (c.writesFile)
                WriteTransferFile(ModelText("Mass"));
            fields.HandOverRecordName = "nothing";
            return c.ok;
        };
        panel->ActionNewRecFromTemplateTree->trigger();
        EXPECT_EQ(test::QueryColumn(db, "SELECT COUNT(*) FROM TreeDB"), QStringList { "4" });
        EXPECT_EQ(HighlightMode, 2);
        EXPECT_EQ(ZoomPresetIndex, 3);
        EXPECT_EQ(ZoomCoefficient, 1.0);
        EXPECT_FALSE(TreeLoadInProgress);
        EXPECT_TRUE(window.TimerRunning);
        EXPECT_EQ(window.Calls("RestoreViewState"), restores + 1);
        EXPECT_EQ(panel->View().CurrentRowID(), scale1);
        EXPECT_EQ(window.Calls("PushUndoSnapshot"), 0);
        QFile::remove(TransferFileName());
    }
}

// An example becomes a record that the main timer loads: the shown record is left through
// the reload request, not by forgetting it.
TEST_F(NewRecords, ExampleRecordIsLoadedByTheTick)
{
    auto panel = OpenPanel(lab);
    CurrentRecordID = lab;
    window.SummaryShown = true;
    TTemplatePickRequest seen;
    panel->TemplatePicker = [&](const TTemplatePickRequest& request, THandOverFields& fields) {
        seen = request;
        EXPECT_FALSE(TreeLoadInProgress);
        WriteTransferFile(ModelText("Density"));
        fields.HandOverTemplateID = 3;
        fields.HandOverRecordName = "Hustota - validácia";
        return true;
    };
    window.ReloadRequested = false;
    panel->ImportExampleAsRecord("/examples/", "Hustota_vody.STM");
    EXPECT_EQ(seen.Source, TNewRecordSource::Example);
    EXPECT_EQ(seen.Folder, "/examples/");
    EXPECT_EQ(seen.FileName, "Hustota_vody.STM");
    EXPECT_TRUE(window.SummaryShown); // an example leaves the summary window alone
    const QString created
        = test::QueryColumn(db, "SELECT ID FROM TreeDB WHERE NazovMerania = ?", { "Hustota - validácia" }).value(0);
    ASSERT_FALSE(created.isEmpty());
    EXPECT_EQ(panel->View().CurrentRowID(), created.toInt());
    EXPECT_EQ(CurrentRecordID, lab);
    EXPECT_TRUE(window.ReloadRequested);
    EXPECT_TRUE(window.LoadedFromTemplate);
    EXPECT_EQ(window.Root, nullptr);
    EXPECT_EQ(window.Calls("ActionSuhrnVelicinExecute"), 0);
}

// The import's target record is brought up (its folder selected) unless the user keeps
// the modified shown diagram, and the imported data go only into a record of that name.
TEST_F(NewRecords, GoToRecordFollowsTheSaveQuestionAndTheName)
{
    struct Case {
        const char* what;
        int shown;
        QString targetName;
        int answer; // to text 115; 0: not asked
        bool saves;
        int expectedRow; // record current afterwards
        bool applied;
        int message; // a further text shown, 0 none
    };
    const Case cases[] = {
        { "unmodified", 0, "Kalibrácia teplomera", 0, true, 0, true, 0 },
        { "discarded", 0, "Kalibrácia teplomera", mrNo, true, 0, true, 0 },
        { "saved", 0, "Kalibrácia teplomera", mrYes, true, 0, true, 0 },
        { "save failed", 0, "Kalibrácia teplomera", mrYes, false, 1, false, 648 },
        { "cancelled", 0, "Kalibrácia teplomera", mrCancel, true, 1, false, 0 },
        { "already shown", 1, "Kalibrácia teplomera", 0, true, 1, true, 0 },
        { "already shown, renamed", 1, "Teplomer", 0, true, 1, false, 1100 },
    };
    ASSERT_TRUE(PostStatement(db, "UPDATE TreeDB SET Strom = ? WHERE ID = ?", { ModelText("Mass"), deep }));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int target = deep;
        const int start = c.shown ? deep : scale2;
        auto panel = OpenPanel(start);
        ASSERT_EQ(panel->View().CurrentRowID(), start);
        window.LastRecNo = panel->View().CurrentRow() + 1;
        CellIdCounter = 1;
        ClearNewCellInfo();
        window.Root = new TCell(nullptr, NewCellInfo, DiagramOriginY, DiagramOriginX, nullptr);
        window.Root->AddChild(NewCellInfo);
        window.Modified = c.answer != 0;
        window.SaveSucceeds = c.saves;
        test::DialogScript::Instance().Reset();
        if (c.answer)
            test::DialogScript::Instance().AnswerMessage(c.answer);
        if (c.message)
            test::DialogScript::Instance().AnswerMessage(mrOk);
        int applied = 0;
        panel->GoToRecord(target, c.targetName, [&](TCell&) { return ++applied > 0; });
        EXPECT_TRUE(test::DialogScript::Instance().AllAnswered());
        if (c.message == 1100) {
            EXPECT_EQ(test::DialogScript::Instance().Shown().value(0),
                GetString(1100, { "Kalibrácia teplomera", "Teplomer" }));
        }
        if (c.message == 648) {
            EXPECT_EQ(test::DialogScript::Instance().Shown().value(1), GetString(648));
        }
        EXPECT_EQ(panel->View().CurrentRowID(), c.expectedRow ? start : target);
        EXPECT_EQ(applied, c.applied ? 1 : 0);
        if (!c.shown && !c.expectedRow) {
            EXPECT_EQ(panel->DBTreeView->GetNodeID(panel->DBTreeView->currentItem()), "4");
            EXPECT_EQ(CurrentRecordID, target);
            EXPECT_FALSE(window.LoadedFromTemplate);
        }
        EXPECT_EQ(window.Modified, c.applied || (c.answer != 0 && c.expectedRow));
        EXPECT_TRUE(window.TimerRunning);
        TCell* root = window.Root;
        window.Root = nullptr;
        FreeCellTree(root);
    }
}

TEST_F(NewRecords, PopupMenuOffersTheEditItemOnlyOverACell)
{
    auto panel = OpenPanel(lab);
    QAction edit, separator;
    separator.setSeparator(true);
    TCell cell(nullptr, NewCellInfo, 20, 20, nullptr);
    HoveredCell = &cell;
    panel->PopupMenu1Popup(&edit, &separator);
    EXPECT_EQ(panel->FPopupCell, &cell);
    EXPECT_TRUE(edit.isVisible() && separator.isVisible());
    HoveredCell = nullptr;
    panel->PopupMenu1Popup(&edit, &separator);
    EXPECT_EQ(panel->FPopupCell, nullptr);
    EXPECT_FALSE(edit.isVisible() || separator.isVisible());
}

// Records dragged from the grid land in the folder they are dropped on, only while the
// main administrator holds Shift and Ctrl; other sources are refused.
TEST_F(NewRecords, GridRecordsDropOntoFoldersWhileArmed)
{
    auto panel = OpenPanel(scale1);
    QTreeWidgetItem* deleted = panel->DBTreeView->NodeByID("1");
    ASSERT_NE(deleted, nullptr);
    EXPECT_FALSE(panel->DBTreeView->OnDragOver(panel->DBGrid_Tree, deleted));
    const QPoint overGrid = panel->DBGrid_Tree->mapToGlobal(QPoint(5, 5));
    panel->FormKeyDown(Qt::Key_Control, Qt::ShiftModifier | Qt::ControlModifier, overGrid);
    ASSERT_TRUE(panel->DragEnabled);
    EXPECT_TRUE(panel->DBGrid_Tree->model()->flags(panel->DBGrid_Tree->model()->index(0, 0)) & Qt::ItemIsDragEnabled);
    EXPECT_TRUE(panel->DBTreeView->OnDragOver(panel->DBGrid_Tree, deleted));
    EXPECT_FALSE(panel->DBTreeView->OnDragOver(panel->DBTreeView, deleted));
    EXPECT_FALSE(panel->DBTreeView->OnDragOver(panel->DBGrid_Tree, nullptr));
    panel->DBTreeView->OnDragDrop(panel->DBTreeView, deleted); // not from the grid: nothing
    EXPECT_EQ(test::QueryColumn(db, "SELECT IDDB1 FROM TreeDB WHERE ID = ?", { scale1 }), QStringList { "3" });
    panel->DBTreeView->OnDragDrop(panel->DBGrid_Tree, deleted);
    EXPECT_EQ(test::QueryColumn(db, "SELECT IDDB1 FROM TreeDB WHERE ID = ?", { scale1 }), QStringList { "1" });
    EXPECT_EQ(test::QueryColumn(db, "SELECT IDDB1 FROM TreeDB WHERE ID = ?", { scale2 }), QStringList { "3" });
}

} // namespace
} // namespace orvek
