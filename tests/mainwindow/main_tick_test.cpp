#include "mainwindow/main_tick.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "mainwindow/main_change_history.h"
#include "tests/mainwindow/main_record_fixture.h"

#include <QStringList>

using namespace orvek;
using orvek::test::DialogScript;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '[' << list.join(" | ").toStdString() << ']';
}
QT_END_NAMESPACE

namespace {

// The cell tool's record access as the program has it, without a database of its own:
// the main window wraps it so that the tick knows which rows the tool wrote.
class ToolRecord : public TCellRecordAccess {
public:
    bool CanLockItem() override { return true; }
    bool LockItem(bool*) override { return true; }
    QString GetUserFullName(int) override { return {}; }
    bool WriteHistory() override { return DataModule1->WriteHistory(); }
};

// The main window as the tick sees it; it writes down what the tick asks of it and
// loads records as the record view's loader does.
class FakeMainWindow : public TMainTickHost {
public:
    explicit FakeMainWindow(std::function<TRecordLoad(int)> loader)
        : loader_(std::move(loader))
    {
    }
    bool IsActiveWindow() override { return active; }
    bool RecordQueryOpen() override { return true; }
    int RowCount() override { return int(rows.size()); }
    int CurrentRowID() override { return rows.value(current); }
    int CurrentRowNo() override { return current + 1; }
    int CurrentRowFromTemplateID() override { return 0; }
    int SelectedCount() override { return selected; }
    bool MultiSelectMode() override { return multiSelect; }
    bool SummaryClosedByUser() override { return false; }

    void SetTimerRunning(bool running) override { timerOn = running; }
    void UncheckSummary() override { }
    void TidyRecordView(bool) override { }
    void ShowNoDiagram() override { calls << "no diagram"; }
    void ShowRecordNumber(int rowNo, int rowCount) override
    {
        recordNumber = QString("%1/%2").arg(rowNo).arg(rowCount);
    }
    TRecordLoad LoadRecordDiagram(int id) override
    {
        calls << QString("load %1").arg(id);
        return loader_(id);
    }
    void RefreshSummary() override { }
    void EnableSourceTemplateAction(bool) override { }
    void MoveGridToRow(int rowNo) override
    {
        calls << QString("grid back to %1").arg(rowNo);
        current = rowNo - 1;
    }
    void SetPickCursor(bool) override { }
    void TreeChangedPages() override { ++pageRefreshes; }
    void RunDisplayRequest(TDisplayRequest request) override { calls << QString("request %1").arg(int(request)); }
    void ShowCellProperties() override { calls << "properties"; }

    QVector<int> rows;
    int current = 0, selected = 1, pageRefreshes = 0;
    bool active = true, multiSelect = false, timerOn = false;
    QString recordNumber;
    QStringList calls;

private:
    std::function<TRecordLoad(int)> loader_;
};

class MainTick : public test::MainRecords {
protected:
    void SetUp() override
    {
        test::MainRecords::SetUp();
        window.rows = ids;
        tick.FFirstActivation = false;
    }
    void TickAt(quint32 ms)
    {
        now = ms;
        tick.Timer1Timer();
    }
    // Shows the record of grid row Row (0-based) by a tick at Ms.
    void ShowRow(int row, quint32 ms)
    {
        window.current = row;
        TickAt(ms);
        ASSERT_EQ(CurrentRecordID, ids[row]);
    }
    QString Text(int id) const { return GetString(id); }

    quint32 now = 0;
    ToolRecord toolRecord;
    TMainChangeHistory history { toolRecord };
    FakeMainWindow window { [this](int id) { return Load(id); } };
    TMainTick tick { window, document, [this] { return now; }, &history };
};

TEST_F(MainTick, AGridMoveAsksAboutTheModifiedDiagramAndSavesItIntoTheShownRecord)
{
    const struct {
        int answer;
        QString storedA; // record 0 afterwards
        int shownRecord; // index of the record shown afterwards
        QString shownA;
        QString lastCall;
    } cases[] = {
        { mrYes, "1", 1, "10", "load" },
        { mrNo, "5", 1, "10", "load" },
        { mrCancel, "5", 0, "1", "grid back to 1" },
    };
    quint32 t = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        Exec("UPDATE TreeDB SET Strom = ? WHERE ID = ?", { test::ModelText("1"), ids[0] });
        CurrentRecordID = 0;
        ShowRow(0, t += 10000);
        // The change is stored at once; an undo step then shows a state the record does
        // not hold, and the cell tool locked the record for the next edit.
        Edit("5");
        TickAt(t += 100);
        ASSERT_EQ(StoredA(ids[0]), "5");
        ASSERT_TRUE(document.UndoStep());
        ASSERT_TRUE(document.FModified);
        Exec("UPDATE TreeDB SET OpenedByUserID = ? WHERE ID = ?", { eva, ids[0] });

        window.calls.clear();
        DialogScript::Instance().AnswerMessage(c.answer);
        window.current = 1;
        TickAt(t += 1000);
        ASSERT_EQ(DialogScript::Instance().Shown().size(), 1);
        EXPECT_EQ(DialogScript::Instance().Shown().last(), Text(115));
        DialogScript::Instance().Reset();

        // Yes saves the shown state into the record that was shown, not into the grid's
        // new row; the lock is released whatever the answer.
        EXPECT_EQ(StoredA(ids[0]), c.storedA);
        EXPECT_EQ(StoredA(ids[1]), "10");
        EXPECT_EQ(LockOwner(ids[0]), 0);
        EXPECT_EQ(CurrentRecordID, ids[c.shownRecord]);
        EXPECT_EQ(ShownA(), c.shownA);
        ASSERT_EQ(window.calls.size(), 1);
        EXPECT_TRUE(window.calls.first().startsWith(c.lastCall));
        EXPECT_EQ(window.recordNumber, "2/3");
        EXPECT_EQ(document.FModified, c.answer == mrCancel);
        if (c.answer != mrCancel) {
            EXPECT_EQ(document.UndoTable().RowCount(), 1);
        }
        EXPECT_TRUE(window.timerOn);
    }
}

TEST_F(MainTick, FastGridMovesLoadOnlyTheLastRowOnce500MsPassedAlsoAcrossTheWrap)
{
    for (const quint32 start : { quint32(10000), quint32(0xFFFFFF00) }) {
        SCOPED_TRACE(start);
        CurrentRecordID = 0;
        window.calls.clear();
        ShowRow(0, start);
        window.current = 1;
        TickAt(start + 200);
        window.current = 2;
        TickAt(start + 400);
        TickAt(start + 499);
        EXPECT_EQ(window.calls, QStringList({ QString("load %1").arg(ids[0]) }));
        TickAt(start + 500);
        EXPECT_EQ(window.calls, QStringList({ QString("load %1").arg(ids[0]), QString("load %1").arg(ids[2]) }));
        EXPECT_EQ(tick.FLastLoadTick, start + 500);
    }
}

TEST_F(MainTick, OneDisplayRequestPerTickInOrderAndCellPropertiesOnEveryTickAfterTheLoad)
{
    window.current = 0;
    HighlightRequest = ZoomInRequest = ZoomPresetRequest = CellPropertiesRequest = true;
    TickAt(1000);
    TickAt(1100);
    TickAt(1200);
    TickAt(1300);
    TickAt(1400);
    const QStringList expected { QString("load %1").arg(ids[0]), "properties",
        QString("request %1").arg(int(TDisplayRequest::Highlight)),
        QString("request %1").arg(int(TDisplayRequest::ZoomIn)),
        QString("request %1").arg(int(TDisplayRequest::ZoomPreset)) };
    EXPECT_EQ(window.calls, expected);

    // Nothing but the cell-properties request while the window is not in front.
    window.calls.clear();
    window.active = false;
    ExpandTreeRequest = CellPropertiesRequest = true;
    TickAt(1500);
    EXPECT_EQ(window.calls, QStringList({ "properties" }));
    EXPECT_TRUE(ExpandTreeRequest);
    // Nor anything before the first activation.
    window.calls.clear();
    tick.FFirstActivation = true;
    CellPropertiesRequest = true;
    TickAt(1600);
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_TRUE(CellPropertiesRequest);
}

TEST_F(MainTick, EveryChangeIsStoredAtOnceWithOneHistoryRow)
{
    ShowRow(0, 1000);
    // A change by the cell tool: the tool wrote the row, the tick stores the change.
    HistoryOriginalValues = "a = 1";
    HistoryNewValues = "a = 3";
    history.WriteHistory();
    Edit("3");
    TickAt(1100);
    EXPECT_EQ(StoredA(ids[0]), "3");
    EXPECT_EQ(HistoryRows(ids[0]), 1);
    EXPECT_FALSE(document.FModified);
    EXPECT_TRUE(DataChangedSinceBackup);
    EXPECT_EQ(window.pageRefreshes, 1);
    EXPECT_EQ(document.UndoTable().RowCount(), 2);

    // A change without the cell tool (summary of quantities): the tick writes the row.
    HistoryOriginalValues = "summary";
    Edit("4");
    TickAt(1200);
    EXPECT_EQ(StoredA(ids[0]), "4");
    EXPECT_EQ(HistoryRows(ids[0]), 2);

    // A record just made from a template is stored without rows until the next load.
    document.FLoadedFromTemplate = true;
    Edit("6");
    TickAt(1300);
    EXPECT_EQ(StoredA(ids[0]), "6");
    EXPECT_EQ(HistoryRows(ids[0]), 2);
    ShowRow(1, 1900);
    EXPECT_FALSE(document.FLoadedFromTemplate);

    // With no record shown a raised change is not served; the next load drops it.
    CurrentRecordID = 0;
    Edit("7");
    TickAt(2000);
    EXPECT_TRUE(CellTreeChanged);
    TickAt(2400);
    EXPECT_EQ(CurrentRecordID, ids[1]);
    EXPECT_FALSE(CellTreeChanged);
    EXPECT_EQ(StoredA(ids[1]), "10");
}

TEST_F(MainTick, AChangeStoredElsewhereMeanwhileIsRefusedAndReportedOnce)
{
    ShowRow(0, 1000);
    // Another workstation stores the record after it was loaded here.
    Exec("UPDATE TreeDB SET Strom = ? WHERE ID = ?", { test::ModelText("9"), ids[0] });
    DialogScript::Instance().AnswerMessage(mrCancel);
    HistoryNewValues = "summary";
    Edit("3");
    TickAt(1100);
    Edit("4");
    TickAt(1200);
    ASSERT_EQ(DialogScript::Instance().Shown().size(), 1);
    EXPECT_TRUE(DialogScript::Instance().Shown().first().startsWith(Text(648)));
    EXPECT_TRUE(DialogScript::Instance().Shown().first().contains(Text(22100)));
    EXPECT_EQ(StoredA(ids[0]), "9");
    EXPECT_EQ(HistoryRows(ids[0]), 0);
    EXPECT_TRUE(HistoryNewValues.isEmpty());
    EXPECT_TRUE(document.FModified);
}

TEST_F(MainTick, AChangeIsStoredWithItsHistoryRowOrNotAtAll)
{
    ShowRow(0, 1000);
    const qint64 counter = Row("TreeDB", ids[0])["ChangeCounter"].toLongLong();
    // The history row fails after the record's row was written in the same transaction.
    Exec("CREATE TRIGGER RefuseHistory BEFORE INSERT ON History BEGIN SELECT RAISE(ABORT, 'no history'); END", {});
    DialogScript::Instance().AnswerMessage(mrCancel);
    HistoryOriginalValues = "a = 1";
    HistoryNewValues = "a = 3";
    Edit("3");
    TickAt(1100);
    ASSERT_EQ(DialogScript::Instance().Shown().size(), 1);
    EXPECT_TRUE(DialogScript::Instance().Shown().first().startsWith(Text(648)));
    EXPECT_TRUE(DialogScript::Instance().Shown().first().contains("no history"));
    EXPECT_EQ(StoredA(ids[0]), "1");
    EXPECT_EQ(Row("TreeDB", ids[0])["ChangeCounter"].toLongLong(), counter);
    EXPECT_EQ(HistoryRows(ids[0]), 0);
    EXPECT_TRUE(document.FModified);
    EXPECT_TRUE(HistoryNewValues.isEmpty());

    // Once the row can be written, the next change stores both.
    Exec("DROP TRIGGER RefuseHistory", {});
    HistoryNewValues = "a = 4";
    Edit("4");
    TickAt(1200);
    EXPECT_EQ(StoredA(ids[0]), "4");
    EXPECT_EQ(HistoryRows(ids[0]), 1);
    EXPECT_FALSE(document.FModified);
}

TEST_F(MainTick, ClearingAndReloadingStoreTheShownChangeAndReleaseTheLockFirst)
{
    // A multi-selection clears the diagram once; a pending change and a modified
    // diagram are stored before it goes, and the lock is released.
    ShowRow(0, 1000);
    Exec("UPDATE TreeDB SET OpenedByUserID = ? WHERE ID = ?", { eva, ids[0] });
    Edit("3");
    window.multiSelect = true;
    window.selected = 2;
    TickAt(1100);
    TickAt(1200);
    EXPECT_EQ(window.calls, QStringList({ QString("load %1").arg(ids[0]), "no diagram" }));
    EXPECT_EQ(StoredA(ids[0]), "3");
    EXPECT_EQ(LockOwner(ids[0]), 0);
    EXPECT_EQ(CurrentRecordID, 0);
    EXPECT_EQ(document.RootCell, nullptr);
    EXPECT_EQ(HistoryRows(ids[0]), 1);

    // An empty grid clears once per run of empty ticks.
    window.calls.clear();
    window.multiSelect = false;
    window.selected = 1;
    ShowRow(1, 2000);
    window.rows.clear();
    for (quint32 t = 2100; t <= 2400; t += 100)
        TickAt(t);
    EXPECT_EQ(window.calls, QStringList({ QString("load %1").arg(ids[1]), "no diagram" }));
    EXPECT_EQ(tick.FEmptyGridTicks, 4);

    // A reload takes the current row at once and never asks: an undone state is stored.
    window.calls.clear();
    window.rows = ids;
    ShowRow(1, 3000);
    Edit("20");
    TickAt(3100);
    ASSERT_TRUE(document.UndoStep());
    EXPECT_TRUE(document.FModified);
    tick.RequestReload();
    TickAt(3150);
    EXPECT_EQ(window.calls, QStringList({ QString("load %1").arg(ids[1]), QString("load %1").arg(ids[1]) }));
    EXPECT_EQ(StoredA(ids[1]), "10");
    EXPECT_EQ(ShownA(), "10");
    EXPECT_FALSE(document.FModified);
    EXPECT_FALSE(tick.ReloadRequested());
}

} // namespace
