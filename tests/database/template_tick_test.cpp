#include "database/template_tick.h"

#include "core/common_vars.h"
#include "database/data_module.h"
#include "engine/cell.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace orvek;

QT_BEGIN_NAMESPACE
// Readable lists in failure messages.
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '[' << list.join(" | ").toStdString() << ']';
}
QT_END_NAMESPACE

namespace {

// The window as the tick sees it; it writes down what the tick asks of it.
class FakeWindow : public TTemplateTickHost {
public:
    bool IsActiveWindow() override { return active; }
    bool ListOpen() override { return open; }
    int RowCount() override { return rows; }
    int CurrentRowID() override { return currentRow; }
    int SelectedCount() override { return selected; }
    bool MultiSelectMode() override { return multiSelect; }
    bool SummaryClosedByUser() override { return summaryClosed; }

    void UncheckSummary() override
    {
        calls << "uncheck summary";
        summaryClosed = false;
    }
    void ClearDiagram() override
    {
        calls << "clear";
        CurrentTemplateID = 0;
    }
    void EnableCopyAction() override { ++copyEnabled; }
    void LoadTemplate(int id) override
    {
        calls << QString("load %1").arg(id);
        CurrentTemplateID = id;
        if (reenter)
            reenter->Timer1Timer();
    }
    void ShowDiagram(bool helpCursor) override { lastHelpCursor = helpCursor; }
    void StoreTreeChange() override { calls << "store"; }
    void RunDisplayRequest(TDisplayRequest request) override { calls << QString("request %1").arg(int(request)); }

    bool active = true, open = true, multiSelect = false, summaryClosed = false, lastHelpCursor = false;
    int rows = 10, currentRow = 0, selected = 1, copyEnabled = 0;
    TTemplateTick* reenter = nullptr;
    QStringList calls;
};

class TemplateTick : public ::testing::Test {
protected:
    void SetUp() override
    {
        CurrentTemplateID = 0;
        CellTreeChanged = TreeLoadInProgress = false;
        ClearCellCommands();
    }
    void TearDown() override
    {
        CurrentTemplateID = 0;
        CellTreeChanged = TreeLoadInProgress = false;
        ClearCellCommands();
    }
    // One tick at time Ms.
    void TickAt(qint64 ms)
    {
        now = ms;
        tick.Timer1Timer();
    }

    qint64 now = 0;
    FakeWindow window;
    TTemplateTick tick { window, [this] { return now; } };
};

TEST_F(TemplateTick, FastScrollingLoadsOnlyTheRowCurrentWhenTheGapHasPassed)
{
    window.currentRow = 1;
    TickAt(600);
    EXPECT_EQ(window.calls, QStringList({ "load 1" }));
    // Rows 2 to 5 pass within 500 ms of that load: none is loaded on the way.
    for (int row = 2; row <= 5; ++row) {
        window.currentRow = row;
        TickAt(600 + 100 * (row - 1));
    }
    TickAt(1099);
    EXPECT_EQ(window.calls, QStringList({ "load 1" }));
    TickAt(1100);
    EXPECT_EQ(window.calls, QStringList({ "load 1", "load 5" }));
    EXPECT_EQ(tick.LastLoadTick, 1100);
    // The shown template stays: no further load.
    TickAt(1800);
    EXPECT_EQ(window.calls.size(), 2);

    // Any refresh of the window's actions starts the gap again.
    window.currentRow = 6;
    now = 1900;
    tick.RestartLoadDelay();
    TickAt(2300);
    EXPECT_EQ(window.calls.size(), 2);
    TickAt(2400);
    EXPECT_EQ(window.calls.last(), "load 6");
}

TEST_F(TemplateTick, AnEmptyListOrASelectionOfSeveralClearsTheDiagramOnce)
{
    window.currentRow = 3;
    TickAt(1000);
    window.rows = 0;
    for (int t = 1; t <= 4; ++t)
        TickAt(1000 + 100 * t);
    EXPECT_EQ(window.calls, QStringList({ "load 3", "clear" }));
    EXPECT_EQ(tick.EmptyTicks, 4);
    window.rows = 10;
    TickAt(2000);
    EXPECT_EQ(tick.EmptyTicks, 0);
    window.rows = 0;
    TickAt(2100);
    TickAt(2200);
    EXPECT_EQ(window.calls, QStringList({ "load 3", "clear", "load 3", "clear" }));

    window.calls.clear();
    window.rows = 10;
    window.multiSelect = true;
    window.selected = 2;
    for (int t = 1; t <= 3; ++t)
        TickAt(3000 + 100 * t);
    EXPECT_EQ(window.calls, QStringList({ "clear" }));
}

TEST_F(TemplateTick, EachTickServesAtMostOneDisplayRequestInTheFixedOrder)
{
    window.currentRow = 7;
    ZoomPresetRequest = ZoomInRequest = ZoomOutRequest = ExpandTreeRequest = HighlightRequest = true;
    TickAt(1000); // the load tick serves no request
    EXPECT_EQ(window.calls, QStringList({ "load 7" }));
    for (int t = 1; t <= 6; ++t)
        TickAt(1100 + 100 * t);
    const QStringList expected { "load 7", QString("request %1").arg(int(TDisplayRequest::Highlight)),
        QString("request %1").arg(int(TDisplayRequest::ExpandTree)),
        QString("request %1").arg(int(TDisplayRequest::ZoomOut)),
        QString("request %1").arg(int(TDisplayRequest::ZoomIn)),
        QString("request %1").arg(int(TDisplayRequest::ZoomPreset)) };
    EXPECT_EQ(window.calls, expected);
}

TEST_F(TemplateTick, ATreeChangeIsStoredAtOnceOnlyWhenNoLoadKeepsItBack)
{
    window.currentRow = 4;
    TickAt(1000);
    const struct {
        bool loadInProgress;
        bool stored;
    } cases[] = { { false, true }, { true, false } };
    for (const auto& c : cases) {
        window.calls.clear();
        CellTreeChanged = true;
        TreeLoadInProgress = c.loadInProgress;
        TickAt(now + 100);
        EXPECT_EQ(window.calls.contains("store"), c.stored);
        EXPECT_EQ(CellTreeChanged, !c.stored);
    }
}

TEST_F(TemplateTick, AnInactiveWindowOrAClosedListLeavesEverythingPending)
{
    window.currentRow = 2;
    window.summaryClosed = true;
    window.active = false;
    CellTreeChanged = true;
    ZoomInRequest = true;
    TickAt(5000);
    EXPECT_EQ(window.calls, QStringList({ "uncheck summary" }));
    window.active = true;
    window.open = false;
    TickAt(5100);
    EXPECT_EQ(window.calls.size(), 1);
    EXPECT_TRUE(ZoomInRequest);
    EXPECT_EQ(window.copyEnabled, 0);

    window.open = true;
    TickAt(5200);
    EXPECT_EQ(window.copyEnabled, 1);
    EXPECT_EQ(window.calls.last(), "load 2");
    CmdEditCell = true;
    TickAt(5300);
    EXPECT_TRUE(window.lastHelpCursor);
    EXPECT_EQ(window.calls.mid(2), QStringList({ "store", QString("request %1").arg(int(TDisplayRequest::ZoomIn)) }));
}

TEST_F(TemplateTick, ATickThatRunsInsideAnotherDoesNothing)
{
    window.reenter = &tick;
    window.currentRow = 9;
    TickAt(1000);
    EXPECT_EQ(window.calls, QStringList({ "load 9" }));
}

} // namespace
