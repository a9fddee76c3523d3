#include "core/clock.h"
#include "core/common_vars.h"
#include "core/services.h"
#include "core/settings.h"
#include "engine/cell.h"
#include "engine/cell_order.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <random>

namespace orvek {
namespace {

using test::DialogScript;

TPrenosInfoDoNovejBunky Info(quint8 kind, const QString& name = {})
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kind;
    info.CellName = name;
    info.Active = 1;
    return info;
}

constexpr int kRow = 21; // cell height 18 + distance 3

class CellTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaultDiagramSettings();
        ScaleLayoutToZoom();
        ClearCellCommands();
        EvaluateTreeHook = nullptr;
        SetClock({});
        TreeEvaluationRunning = false;
        CellTreeChanged = false;
        HoveredCell = nullptr;
        CellIdCounter = 0;
        root = std::make_unique<TCell>(nullptr, Info(kEquationCell, "R"), 20, 20, nullptr);
    }
    void TearDown() override
    {
        SetClock({});
        SetTextWidthService(nullptr);
        SetRecordLockService(nullptr);
        SetCellToolService(nullptr);
    }
    std::unique_ptr<TCell> root;
};

int Top(const TCell* cell)
{
    return cell->FBox.Rect.top();
}

TEST_F(CellTree, AddingBelowAnExpandedSubtreeMovesTheLaterRowsDown)
{
    TCell* a = root->AddChild(Info(kQuantityCell, "A"));
    TCell* b = a->AddChild(Info(kUncertaintyCell, "B"));
    TCell* c = a->AddChild(Info(kUncertaintyCell, "C"));
    TCell* c1 = c->AddChild(Info(kUncertaintyCell, "C1"));
    TCell* c2 = c->AddChild(Info(kUncertaintyCell, "C2"));
    TCell* d = root->AddChild(Info(kQuantityCell, "D"));
    EXPECT_EQ(Top(a), 20 + kRow);
    EXPECT_EQ(a->FBox.Rect.left(), 20 + 83 + 1 + 18 - 2);
    EXPECT_EQ(Top(b), 20 + 2 * kRow);
    EXPECT_EQ(Top(c2), 20 + 5 * kRow);
    EXPECT_EQ(Top(d), 20 + 6 * kRow);

    TCell* e = a->AddChild(Info(kUncertaintyCell, "E"));
    EXPECT_EQ(Top(e), 20 + 6 * kRow);
    EXPECT_EQ(Top(d), 20 + 7 * kRow);
    EXPECT_EQ(Top(c1), 20 + 4 * kRow);
    // The vertical connector of A reaches E's horizontal connector.
    EXPECT_EQ(a->FVertLine.Rect.top() + a->FVertLine.Rect.height() - 1, e->FHorzLine.Rect.top());
    EXPECT_EQ(e->FId, 7);
    EXPECT_TRUE(a->FExpandButton.Visible);
    EXPECT_EQ(a->FExpandButton.Caption, "-");
}

TEST_F(CellTree, CollapseThenExpandRestoresPositionsAndMatchesAFreshLayout)
{
    TCell* a = root->AddChild(Info(kQuantityCell, "A"));
    a->AddChild(Info(kUncertaintyCell, "B"));
    TCell* c = a->AddChild(Info(kUncertaintyCell, "C"));
    TCell* c1 = c->AddChild(Info(kUncertaintyCell, "C1"));
    c->AddChild(Info(kUncertaintyCell, "C2"));
    TCell* e = a->AddChild(Info(kUncertaintyCell, "E"));
    TCell* d = root->AddChild(Info(kQuantityCell, "D"));

    std::map<const TCell*, int> before;
    std::function<void(const TCell*)> record = [&](const TCell* cell) {
        before[cell] = Top(cell);
        for (const auto& child : cell->FChildren)
            record(child.get());
    };
    record(root.get());

    c->SetExpanded(false);
    EXPECT_FALSE(c1->IsVisible());
    EXPECT_FALSE(c1->TimerEnabled());
    EXPECT_EQ(Top(e), before[e] - 2 * kRow);
    EXPECT_EQ(Top(d), before[d] - 2 * kRow);
    EXPECT_EQ(c->FExpandButton.Caption, "+");

    // A fresh layout of the collapsed tree puts the shown boxes in the same rows.
    std::map<const TCell*, int> collapsed;
    for (TCell* cell : { root.get(), a, c, e, d })
        collapsed[cell] = Top(cell);
    root->RelayoutTree();
    for (auto [cell, top] : collapsed)
        EXPECT_EQ(Top(cell), top) << cell->FCellName.Text.toStdString();

    c->SetExpanded(true);
    std::function<void(const TCell*)> check = [&](const TCell* cell) {
        EXPECT_EQ(Top(cell), before[cell]) << cell->FCellName.Text.toStdString();
        EXPECT_TRUE(cell->IsVisible());
        for (const auto& child : cell->FChildren)
            check(child.get());
    };
    check(root.get());

    root->SetExpanded(false);
    a->SetExpanded(false);
    c->SetExpanded(false);
    c->SetExpanded(true);
    c->SetExpanded(true);
    EXPECT_FALSE(c1->IsVisible()); // its ancestors are still collapsed
    root->ExpandAll();
    check(root.get());
}

TEST_F(CellTree, ChildAddedUnderACollapsedCellShowsInItsRowWhenExpanded)
{
    TCell* a = root->AddChild(Info(kQuantityCell, "A"));
    TCell* c = a->AddChild(Info(kUncertaintyCell, "C"));
    c->AddChild(Info(kUncertaintyCell, "C1"));
    c->AddChild(Info(kUncertaintyCell, "C2"));
    TCell* d = root->AddChild(Info(kQuantityCell, "D"));
    const int dTop = Top(d);
    c->SetExpanded(false);
    a->SetExpanded(false);
    TCell* hidden = c->AddChild(Info(kUncertaintyCell, "C3"));
    EXPECT_FALSE(hidden->IsVisible());
    a->SetExpanded(true); // C stays collapsed: C3 stays hidden
    EXPECT_FALSE(hidden->IsVisible());
    EXPECT_EQ(Top(d), dTop - 2 * kRow);
    c->SetExpanded(true);
    EXPECT_TRUE(hidden->IsVisible());
    EXPECT_EQ(Top(hidden), Top(c) + 3 * kRow);
    EXPECT_EQ(Top(d), dTop + kRow);
    std::map<const TCell*, int> tops;
    for (TCell* cell : { root.get(), a, c, hidden, d })
        tops[cell] = Top(cell);
    root->RelayoutTree();
    for (auto [cell, top] : tops)
        EXPECT_EQ(Top(cell), top) << cell->FCellName.Text.toStdString();
}

// Adding, removing, collapsing and expanding anywhere (under collapsed cells too) keep
// every box, shown or hidden, in the row a fresh layout gives it.
TEST_F(CellTree, RandomEditsKeepTheRowsOfAFreshLayout)
{
    std::mt19937 rng(77);
    std::vector<TCell*> cells { root.get() };
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    std::function<void(TCell*)> forget = [&](TCell* cell) {
        cells.erase(std::remove(cells.begin(), cells.end(), cell), cells.end());
        for (auto& child : cell->FChildren)
            forget(child.get());
    };
    for (int step = 0; step < 1500; ++step) {
        TCell* cell = cells[pick(cells.size())];
        const size_t op = pick(4);
        switch (op) {
        case 0:
        case 1:
            cells.push_back(cell->AddChild(Info(kUncertaintyCell)));
            break;
        case 2:
            if (cell->FParent) {
                forget(cell);
                cell->FParent->RemoveChild(cell);
            }
            break;
        default:
            cell->SetExpanded(!cell->IsExpanded());
            break;
        }
        std::map<const TCell*, int> tops;
        for (TCell* c : cells)
            tops[c] = Top(c);
        root->RelayoutTree();
        for (TCell* c : cells)
            ASSERT_EQ(Top(c), tops[c]) << "step " << step;
        for (TCell* c : cells) {
            bool shown = true;
            for (TCell* a = c->FParent; a; a = a->FParent)
                shown = shown && a->IsExpanded();
            ASSERT_EQ(c->IsVisible(), shown) << "step " << step;
        }
    }
}

TEST_F(CellTree, RemovingAShownSubtreeGivesBackItsRows)
{
    TCell* a = root->AddChild(Info(kQuantityCell, "A"));
    TCell* c = a->AddChild(Info(kUncertaintyCell, "C"));
    c->AddChild(Info(kUncertaintyCell, "C1"));
    c->AddChild(Info(kUncertaintyCell, "C2"));
    TCell* e = a->AddChild(Info(kUncertaintyCell, "E"));
    TCell* d = root->AddChild(Info(kQuantityCell, "D"));
    const int eTop = Top(e), dTop = Top(d);
    HoveredCell = c->Child(0);
    a->RemoveChild(c);
    EXPECT_EQ(HoveredCell, nullptr);
    EXPECT_EQ(a->ChildCount(), 1);
    EXPECT_EQ(Top(e), eTop - 3 * kRow);
    EXPECT_EQ(Top(d), dTop - 3 * kRow);

    a->DeleteAllChildren();
    EXPECT_EQ(a->ChildCount(), 0);
    EXPECT_EQ(a->FVertLine.Rect.height(), 0);
    EXPECT_FALSE(a->FExpandButton.Visible);
}

class FixedWidths : public TextWidthService {
public:
    int MeasureTextWidth(const QString& text) override { return int(text.size()) * 10; }
};

TEST_F(CellTree, CaptionIsFittedAtWordBoundaries)
{
    FixedWidths widths;
    SetTextWidthService(&widths);
    struct Case {
        QString name;
        int fontSize;
        QString caption;
    };
    const Case cases[] = {
        { "  short ", 9, " short" },
        { "alpha beta gamma delta epsilon zeta", 9, " alpha beta gamma delta..." },
        { QString(30, 'w'), 9, "..." },
        { "anything at all", 0, " " },
    };
    for (const Case& c : cases) {
        DefaultFontSize = c.fontSize;
        root->FCellName.Text = c.name;
        root->FitCaption();
        EXPECT_EQ(root->FBox.Caption, c.caption) << c.name.toStdString();
    }
}

TEST_F(CellTree, ColoursFollowTheStateAndTheHighlightMode)
{
    SetClock([] { return QDateTime(QDate(2024, 6, 10), QTime(9, 30)); });
    TCell* q = root->AddChild(Info(kQuantityCell, "q"));
    TCell* yesterday = q->AddChild(Info(kUncertaintyCell, "y"));
    yesterday->FUncertaintyInput.EDate = "D 9M 6Y2024";
    TCell* today = q->AddChild(Info(kUncertaintyCell, "t"));
    today->FUncertaintyInput.EDate = "D10M 6Y2024";
    TCell* inactive = q->AddChild(Info(kUncertaintyCell, "i"));
    inactive->FActive = false;
    inactive->FUncertaintyInput.EDate = "D 1M 1Y2000";

    root->SetHighlightMode(0);
    EXPECT_EQ(root->FBox.Color, CellColorUnFilledVal);
    EXPECT_EQ(yesterday->FBox.Color, CellColorUnFilledNeistota); // no u yet
    EXPECT_EQ(inactive->FBox.Color, CellColorNeaktivnaNeistota);
    EXPECT_FALSE(inactive->FBox.InnerBevelLowered);
    yesterday->FUncertaintyInput.HSN = "0.1";
    root->FValue.Text = root->FCombinedUncertainty = root->FExpandedUncertainty = "1";
    root->FDegreesOfFreedom = root->FCoverageFactor.Text = "2";
    root->SetHighlightMode(0);
    EXPECT_EQ(root->FBox.Color, CellColorFilledVal);
    EXPECT_EQ(yesterday->FBox.Color, CellColorFilledNeistota);

    root->SetHighlightMode(1);
    EXPECT_EQ(q->FBox.Color, kColorRed); // value type 0 without value
    EXPECT_EQ(today->FBox.Color, kColorRed);
    EXPECT_EQ(inactive->FBox.Color, kColorSilver);

    root->SetHighlightMode(2);
    EXPECT_EQ(yesterday->FBox.Color, kColorRed);
    EXPECT_EQ(today->FBox.Color, kColorSilver);
    EXPECT_EQ(inactive->FBox.Color, kColorSilver);
    EXPECT_EQ(root->FBox.Color, kColorSilver);

    today->FLargestContribution = true;
    root->SetHighlightMode(3);
    EXPECT_EQ(today->FBox.Color, kColorBlue);
    EXPECT_EQ(yesterday->FBox.Color, kColorSilver);
}

TEST_F(CellTree, ExpiryStatesAroundToday)
{
    SetClock([] { return QDateTime(QDate(2024, 6, 10), QTime(9, 30)); });
    TCell* s = root->AddChild(Info(kUncertaintyCell, "s"));
    const std::pair<const char*, int> cases[] = {
        { "", 0 },
        { "D 9M 6Y2024", 1 },
        { "D10M 6Y2024", 2 },
        { "D11M 6Y2024", 3 },
        { "D10M 7Y2024", 3 },
        { "D11M 7Y2024", 4 },
        { "garbage", 1 },
        { "D31M 2Y2024", 1 },
    };
    for (auto [date, state] : cases) {
        s->FUncertaintyInput.EDate = QString::fromLatin1(date);
        EXPECT_EQ(s->GetExpiryState(), state) << date;
    }
    s->FUncertaintyInput.EDate = "D 9M 6Y2024";
    EXPECT_TRUE(root->HasExpiredSource());
    EXPECT_EQ(CalculationAborted, 1);
    s->FActive = false;
    EXPECT_FALSE(root->HasExpiredSource());
}

// A chain root -> e1 -> ... -> e(n-1) -> leaf at depth n.
std::vector<TCell*> Chain(TCell& root, int depth)
{
    std::vector<TCell*> cells { &root };
    for (int i = 1; i <= depth; ++i)
        cells.push_back(cells.back()->AddChild(Info(i < depth ? kEquationCell : kUncertaintyCell)));
    return cells;
}

int g_evaluations = 0;

TEST_F(CellTree, ChangeReachesTheRootAfterOneTickPerLevelWithOneEvaluation)
{
    g_evaluations = 0;
    EvaluateTreeHook = [](TCell&) { ++g_evaluations; };
    const int depth = 5;
    std::vector<TCell*> cells = Chain(*root, depth);
    TCell* other = cells[depth - 1]->AddChild(Info(kUncertaintyCell));
    cells.push_back(other);
    cells[depth]->FReloaded = true;
    other->FReloaded = true; // two changes meet on the way
    for (int round = 1; round <= 2 * depth; ++round) {
        for (TCell* cell : cells)
            cell->TimerTick();
        EXPECT_EQ(g_evaluations, round <= depth ? 0 : 1) << "round " << round;
    }
    EXPECT_TRUE(CellTreeChanged);
    EXPECT_EQ(CalculationAborted, 0);
}

TEST_F(CellTree, ExpiredSourceSwitchesToTheExpiredHighlightInsteadOfEvaluating)
{
    g_evaluations = 0;
    EvaluateTreeHook = [](TCell&) { ++g_evaluations; };
    SetClock([] { return QDateTime(QDate(2024, 6, 10), QTime(9, 30)); });
    TCell* s = root->AddChild(Info(kUncertaintyCell));
    s->FUncertaintyInput.EDate = "D 1M 1Y2024";
    root->FReloaded = true;
    root->TimerTick();
    EXPECT_EQ(g_evaluations, 0);
    EXPECT_EQ(s->FHighlightMode, 2);
    EXPECT_EQ(s->FBox.Color, kColorRed);
    EXPECT_TRUE(CellTreeChanged);
}

TEST_F(CellTree, DeferredDeletionOfTheLastSourceMakesAnUncertaintyOnlyCell)
{
    TCell* q = root->AddChild(Info(kQuantityCell));
    TCell* u = q->AddChild(Info(kUncertaintyCell));
    u->FUncertaintyInput.TSN = 6;
    u->FCombinedUncertainty = "1";
    TCell* source = u->AddChild(Info(kUncertaintyCell));
    u->FPendingDelete = source;
    u->TimerTick();
    EXPECT_EQ(u->ChildCount(), 0);
    EXPECT_EQ(u->FPendingDelete, nullptr);
    EXPECT_EQ(u->FCoverageFactor.Text, "2");
    EXPECT_EQ(u->FCoverage, 3);
    EXPECT_EQ(u->FUncertaintyInput.TSN, 0);
    EXPECT_TRUE(u->FCombinedUncertainty.isEmpty());
    EXPECT_TRUE(q->FReloaded);
}

TEST_F(CellTree, CursorShowsWhereTheArmedCommandApplies)
{
    TCell* q = root->AddChild(Info(kQuantityCell));
    TCell* u = q->AddChild(Info(kUncertaintyCell));
    CmdDeleteCell = true;
    for (TCell* cell : { root.get(), q, u })
        cell->TimerTick();
    EXPECT_EQ(root->FBox.Cursor, TCellCursor::No);
    EXPECT_EQ(q->FBox.Cursor, TCellCursor::No);
    EXPECT_EQ(u->FBox.Cursor, TCellCursor::HandPoint);
    CmdDeleteCell = false;
    CmdEquationToQuantity = true;
    root->TimerTick();
    EXPECT_EQ(root->FBox.Cursor, TCellCursor::No); // the root has no parent
    ClearCellCommands();
    u->TimerTick();
    EXPECT_EQ(u->FBox.Cursor, TCellCursor::Default);
}

TEST_F(CellTree, HoverColourEndsOnTheNextTick)
{
    TCell* q = root->AddChild(Info(kQuantityCell));
    PovolenaZmenaFarbyOznacenejBunky = true;
    q->BoxMouseMove();
    EXPECT_EQ(q->FBox.Color, CellColorChecked);
    EXPECT_EQ(HoveredCell, q);
    root->BoxMouseMove();
    q->TimerTick();
    EXPECT_EQ(q->FBox.Color, CellColorUnFilledVal);
}

class ToolsDouble : public CellToolService {
public:
    void ClickAction(TCell*) override { ++clicks; }
    void ViewProperties(TCell*) override
    {
        ++views;
        modeDuringView = EditMode;
    }
    void EditProperties(TCell*) override { ++edits; }
    int clicks = 0, views = 0, edits = 0;
    int modeDuringView = -1;
};

class LocksDouble : public RecordLockService {
public:
    bool CanLockItem() override
    {
        DiagramLockOwnerID = 7;
        return canLock;
    }
    QString GetUserFullName(int userID) override { return userID == 7 ? "Jana Novak" : "?"; }
    bool canLock = false;
};

TEST_F(CellTree, DoubleClickOnALockedRecordTellsWhoHoldsItAndOnlyShows)
{
    ToolsDouble tools;
    LocksDouble locks;
    SetCellToolService(&tools);
    SetRecordLockService(&locks);
    EditMode = 2;
    AppDir = test::TestProgramFolder(); // where the built string table lies
    LanguageID = 0;
    DialogScript::Instance().AnswerMessage(mrCancel);
    root->BoxDblClick();
    ASSERT_EQ(DialogScript::Instance().Shown().size(), 1);
    EXPECT_TRUE(DialogScript::Instance().Shown().first().contains("Jana Novak"));
    EXPECT_EQ(tools.views, 1);
    EXPECT_EQ(tools.modeDuringView, 0);
    EXPECT_EQ(tools.edits, 0);
    EXPECT_EQ(EditMode, 2);

    locks.canLock = true;
    root->BoxDblClick();
    EXPECT_EQ(tools.edits, 1);
    EditMode = 0;
    root->BoxDblClick();
    EXPECT_EQ(tools.views, 2);
}

ToolsDouble* g_tools = nullptr;
TCell* g_other = nullptr;

TEST_F(CellTree, WhileTheTreeIsEvaluatedNoBoxEventOrTimerChangesIt)
{
    ToolsDouble tools;
    SetCellToolService(&tools);
    g_tools = &tools;
    TCell* q = root->AddChild(Info(kQuantityCell));
    TCell* u = q->AddChild(Info(kUncertaintyCell));
    g_other = q;
    q->FPendingDelete = u;
    EvaluateTreeHook = [](TCell& r) {
        r.BoxClick();
        r.BoxDblClick();
        g_other->ExpandButtonClick();
        g_other->TimerTick();
        g_other->PasteAsChild();
    };
    root->FReloaded = true;
    root->TimerTick();
    EXPECT_EQ(tools.clicks, 0);
    EXPECT_EQ(tools.views + tools.edits, 0);
    EXPECT_TRUE(q->IsExpanded());
    EXPECT_EQ(q->ChildCount(), 1);
    EXPECT_FALSE(TreeEvaluationRunning);
    q->TimerTick();
    EXPECT_EQ(q->ChildCount(), 0);
}

TEST_F(CellTree, TenThousandChildrenAreOrderedInLogLinearComparisons)
{
    for (int i = 0; i < 10000; ++i)
        root->AddChild(Info(kUncertaintyCell));
    std::vector<TCell*> cells;
    for (int i = 9999; i >= 0; --i)
        cells.push_back(root->Child(i));
    quint64 comparisons = 0;
    SortChildrenByTop(cells, &comparisons);
    EXPECT_LT(comparisons, 400000u); // n log n is about 140,000; n^2 / 2 is 50,000,000
    EXPECT_EQ(cells.front(), root->Child(0));
    root->RelayoutTree();
    EXPECT_EQ(Top(root->Child(9999)), 20 + 10000 * kRow);
}

} // namespace
} // namespace orvek
