// Editing and viewing a cell in the dialog of its kind: the record lock, the timers,
// what each dialog is given and what is taken back.

#include "cell_tool_fixture.h"

#include <stdexcept>

namespace orvek::test {
namespace {

// ---------------------------------------------------------------------------------
// The record lock: a refused lock shows the cell read-only with the reason and takes
// nothing back.

struct LockCase {
    const char* name;
    bool viaEditCommand; // CanLockItem refuses before the dialog; otherwise LockItem refuses
    bool changedSinceLoaded;
    int holder;
    std::function<QString()> message;
};

class LockRefusal : public CellToolTest, public ::testing::WithParamInterface<LockCase> { };

const LockCase kLockCases[] = {
    { "HeldByAnotherUserWhenArmed", true, false, 7, [] { return GetString(1102, { "Eva Nová" }); } },
    { "TakenByAnotherUserSinceTheCheck", false, false, 7, [] { return GetString(1102, { "Eva Nová" }); } },
    { "SavedOnAnotherWorkstation", false, true, 0, [] { return GetString(22250); } },
    { "DatabaseRefused", false, false, 0, [] { return GetString(22251); } },
};

TEST_P(LockRefusal, ShowsTheReasonAndTheCellReadOnly)
{
    const LockCase& c = GetParam();
    record.holder = c.holder;
    record.changedSinceLoaded = c.changedSinceLoaded;
    (c.viaEditCommand ? record.canLock : record.lockTaken) = false;
    const QString model = root->SaveToText();
    int modeWhileShown = -1;
    dialogs.source.Answer([&](TSourceDialogData& d) {
        modeWhileShown = EditMode;
        d.FInput.HSN = "9";
        d.Active = false;
        return mrOk;
    });
    DialogScript::Instance().AnswerMessage(mrCancel);

    if (c.viaEditCommand) {
        CmdEditCell = true;
        tools.ClickAction(ua1);
        EXPECT_EQ(record.lockCalls, 0);
    } else {
        tools.EditProperties(ua1);
    }

    EXPECT_EQ(Shown(), QStringList { c.message() });
    ASSERT_EQ(dialogs.source.loaded.size(), 1u);
    EXPECT_FALSE(dialogs.source.loaded[0].Editing);
    EXPECT_EQ(modeWhileShown, 0);
    EXPECT_EQ(EditMode, 1);
    EXPECT_EQ(root->SaveToText(), model);
    EXPECT_TRUE(record.history.empty());
    EXPECT_FALSE(a->FReloaded || CellTreeChanged);
}

INSTANTIATE_TEST_SUITE_P(Cases, LockRefusal, ::testing::ValuesIn(kLockCases),
    [](const ::testing::TestParamInfo<LockCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------
// Timers: stopped while a dialog is open and started again by the windows' rule on
// every way out, an error included.

struct TimerCase {
    const char* name;
    bool templateVisible;
    bool dialogThrows;
};

class Timers : public CellToolTest, public ::testing::WithParamInterface<TimerCase> { };

TEST_P(Timers, ArePausedForTheDialogAndStartedAgainByTheWindowsRule)
{
    const TimerCase& c = GetParam();
    FakeToolWindow templateWindow;
    templateWindow.visible = c.templateVisible;
    TemplateCellToolWindow = &templateWindow;
    ASSERT_TRUE(ua1->TimerEnabled());
    dialogs.source.Answer([&](TSourceDialogData&) -> int {
        EXPECT_FALSE(mainWindow.timerEnabled);
        EXPECT_FALSE(templateWindow.timerEnabled);
        EXPECT_FALSE(ua1->TimerEnabled());
        if (c.dialogThrows)
            throw std::runtime_error("dialog failed");
        return mrCancel;
    });
    CmdEditCell = true;
    if (c.dialogThrows)
        EXPECT_THROW(tools.ClickAction(ua1), std::runtime_error);
    else
        tools.ClickAction(ua1);

    EXPECT_EQ(templateWindow.timerEnabled, c.templateVisible);
    EXPECT_EQ(mainWindow.timerEnabled, !c.templateVisible);
    EXPECT_TRUE(ua1->TimerEnabled());
    EXPECT_EQ(mainWindow.cleared, 1);
    EXPECT_EQ(templateWindow.cleared, 1);
    TemplateCellToolWindow = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Cases, Timers,
    ::testing::Values(TimerCase { "TemplateWindowShown", true, false }, TimerCase { "MainWindowOnly", false, false },
        TimerCase { "DialogFails", false, true }),
    [](const ::testing::TestParamInfo<TimerCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------
// Sources

TEST_F(CellToolTest, UncheckingActiveRecalculatesAndWritesOneHistoryRow)
{
    ua2->FActive = true;
    const QString before = Before(*ua1);
    dialogs.source.Answer([&](TSourceDialogData& d) {
        EXPECT_EQ(d.FOwnerCell, a);
        EXPECT_EQ(d.FIsNewSource, 0);
        EXPECT_TRUE(d.Editing && d.ActiveEnabled && d.Active);
        EXPECT_EQ(d.FInput.IS_2_1.Text, "0.3");
        d.Active = false;
        return mrOk;
    });
    tools.EditProperties(ua1);

    EXPECT_FALSE(ua1->FActive);
    EXPECT_TRUE(a->FReloaded);
    EXPECT_FALSE(CellTreeChanged);
    ASSERT_EQ(record.history.size(), 1u);
    EXPECT_EQ(record.history[0].original, before);
    EXPECT_EQ(record.history[0].changed, DescribeOneCell(*ua1));
}

TEST_F(CellToolTest, TheOnlyActiveSourceOpensWithActiveFixed)
{
    dialogs.source.Answer([](TSourceDialogData& d) {
        EXPECT_FALSE(d.ActiveEnabled);
        return mrCancel;
    });
    tools.EditProperties(ua1);
    EXPECT_TRUE(record.history.empty());
}

TEST_F(CellToolTest, CommentOnlyOkKeepsTheTransferredValueAndOnlyMarksTheDiagramModified)
{
    ua1->FUncertaintyInput = SeriesRecord(6);
    ua1->FCombinedUncertainty = "0.1";
    ua1->FDegreesOfFreedom = "1";
    a->FValue.Text = "10.2";
    a->FValueTransferred = 1;
    dialogs.source.Answer([](TSourceDialogData& d) {
        d.FComment = "checked";
        d.FCommentChanged = true;
        return mrOk;
    });
    tools.EditProperties(ua1);

    EXPECT_EQ(ua1->FCellComment.Text, "checked");
    EXPECT_EQ(a->FValue.Text, "10.2");
    EXPECT_EQ(a->FValueTransferred, 1);
    EXPECT_FALSE(a->FReloaded);
    EXPECT_TRUE(CellTreeChanged);
    EXPECT_EQ(record.history.size(), 1u);
}

TEST_F(CellToolTest, MeanOfASourceInAGroupGoesToTheQuantity)
{
    TCell* group = AddCell(*a, kUncertaintyCell, "Readings");
    TCell* series = AddCell(*group, kUncertaintyCell, "Series");
    series->FUncertaintyInput = SeriesRecord(6);
    dialogs.source.Answer([](TSourceDialogData& d) {
        d.FInput.AP_3 = "10.25";
        d.FInput.HSN = "0.08";
        d.FHandsMean = true;
        d.FMeanText = "10.25";
        return mrOk;
    });
    tools.EditProperties(series);

    EXPECT_EQ(a->FValue.Text, "10.25");
    EXPECT_EQ(a->FValueTransferred, 1);
    EXPECT_EQ(group->FValue.Text, "");
    EXPECT_EQ(series->FCombinedUncertainty, "0.08");
    EXPECT_TRUE(group->FReloaded);
}

TEST_F(CellToolTest, SeriesMethodChosenAfterTheDialogClosedIsRefusedAndNothingTakenBack)
{
    ua1->FUncertaintyInput = SeriesRecord(6);
    ua2->FActive = true;
    const QString model = root->SaveToText();
    dialogs.source.Answer([](TSourceDialogData& d) {
        d.FInput = SeriesRecord(7); // a dialog that did not ask while open
        return mrOk;
    });
    DialogScript::Instance().AnswerMessage(mrCancel);
    tools.EditProperties(ua2);

    EXPECT_EQ(Shown(), QStringList { GetString(1066, { GetEvaluationMethodName(7) }) });
    EXPECT_EQ(root->SaveToText(), model);
    EXPECT_TRUE(record.history.empty());
}

// ---------------------------------------------------------------------------------
// Quantities

struct ValueTypeCase {
    const char* name;
    int from, to;
    int sourcesAfter;
};

class QuantityValueType : public CellToolTest, public ::testing::WithParamInterface<ValueTypeCase> { };

TEST_P(QuantityValueType, ChangeAddsOrDeletesTheSources)
{
    const ValueTypeCase& c = GetParam();
    TCell* q = c.from == 0 ? a : b;
    q->FValueType = quint8(c.from);
    q->FValueTransferred = c.from == 0 ? 1 : 0;
    dialogs.quantity.Answer([&](TQuantityDialogData& d) {
        EXPECT_TRUE(d.FEditingAllowed);
        EXPECT_EQ(d.WholeEquation, "y=a*b");
        d.FValueType = quint8(c.to);
        d.FValue = "5";
        return mrOk;
    });
    tools.EditProperties(q);

    EXPECT_EQ(q->FValueType, c.to);
    EXPECT_EQ(q->FValue.Text, "5");
    EXPECT_EQ(q->FValueTransferred, 0);
    ASSERT_EQ(q->ChildCount(), c.sourcesAfter);
    if (c.sourcesAfter == 1) {
        EXPECT_EQ(q->Child(0)->FCellName.Text, GetString(324) + " " + q->FSymbol.Text);
        EXPECT_TRUE(q->Child(0)->FActive);
    }
    EXPECT_TRUE(root->FReloaded);
    EXPECT_EQ(record.history.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, QuantityValueType,
    ::testing::Values(ValueTypeCase { "ValueOnlyToSources", 1, 0, 1 }, ValueTypeCase { "MolarMassToSources", 2, 0, 1 },
        ValueTypeCase { "SourcesToValueOnly", 0, 1, 0 }),
    [](const ::testing::TestParamInfo<ValueTypeCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------
// Equations

TEST_F(CellToolTest, EquationRowsAreMatchedByCellIdThenBySymbol)
{
    TCell* sub = AddCell(*root, kEquationCell, "Sub", "z");
    AddCell(*sub, kQuantityCell, "c", "c");
    dialogs.equation.Answer([&](TEquationDialogData& d) {
        EXPECT_EQ(d.Caption, GetString(236));
        EXPECT_EQ(d.FEquation, "y = a*b");
        EXPECT_FALSE(d.FIsNewCell);
        EXPECT_EQ(d.Quantities.Count, 3);
        TInfo_o_bunkach_typu_velicina& rows = d.Quantities;
        rows[1].CellId = 0; // a, found by its symbol
        rows[1].ValueType = 1;
        rows[2].Symbol = "w"; // b, found by its number, renamed and given sources
        rows[2].ValueType = 0;
        rows[3].ValueType = 1; // an equation child never changes kind here
        rows.Count = 4;
        rows[4].Symbol = "n"; // a row without a child
        return mrOk;
    });
    tools.EditProperties(root.get());

    EXPECT_EQ(a->FValueType, 1);
    EXPECT_EQ(a->ChildCount(), 0);
    EXPECT_EQ(b->FSymbol.Text, "w");
    ASSERT_EQ(b->ChildCount(), 1);
    EXPECT_EQ(b->Child(0)->FCellName.Text, GetString(324) + " w");
    EXPECT_EQ(sub->FCellType, kEquationCell);
    EXPECT_EQ(sub->ChildCount(), 1);
    EXPECT_EQ(root->ChildCount(), 3);
    EXPECT_TRUE(root->FReloaded);
}

TEST_F(CellToolTest, EquationOkWithoutChangesStillWritesAHistoryRowAndRecalculates)
{
    dialogs.equation.Answer([](TEquationDialogData&) { return mrOk; });
    const QString model = root->SaveToText();
    tools.EditProperties(root.get());
    EXPECT_EQ(root->SaveToText(), model);
    EXPECT_EQ(record.history.size(), 1u);
    EXPECT_TRUE(root->FReloaded);
}

// ---------------------------------------------------------------------------------
// Uncertainty cells with sources

TEST_F(CellToolTest, GroupWritesAHistoryRowOnlyForAChangeAndRecalculatesForTheActiveFlag)
{
    TCell* group = AddCell(*a, kUncertaintyCell, "Group");
    AddCell(*group, kUncertaintyCell, "G1");
    dialogs.group.Answer([](TUncertaintyCellDialogData& d) {
        EXPECT_TRUE(d.ActiveEnabled);
        return mrOk;
    });
    tools.EditProperties(group);
    EXPECT_TRUE(record.history.empty());
    EXPECT_FALSE(CellTreeChanged || a->FReloaded);

    dialogs.group.Answer([](TUncertaintyCellDialogData& d) {
        d.Active = false;
        return mrOk;
    });
    tools.EditProperties(group);
    EXPECT_FALSE(group->FActive);
    EXPECT_EQ(record.history.size(), 1u);
    EXPECT_TRUE(a->FReloaded);
}

// ---------------------------------------------------------------------------------
// Viewing

TEST_F(CellToolTest, ViewShowsReadOnlyAndTakesNothingBackAndNothingOpensWhileArmed)
{
    CmdDeleteCell = true;
    tools.ViewProperties(a);
    EXPECT_TRUE(dialogs.quantity.loaded.empty());

    ClearCellCommands();
    EditMode = 2;
    a->FValue.Lock = 1;
    int modeWhileShown = -1;
    dialogs.quantity.Answer([&](TQuantityDialogData& d) {
        modeWhileShown = EditMode;
        EXPECT_FALSE(d.FEditingAllowed);
        EXPECT_EQ(d.FValueLock, 0);
        d.FValue = "99";
        return mrOk;
    });
    tools.ViewProperties(a);
    EXPECT_EQ(modeWhileShown, 0);
    EXPECT_EQ(EditMode, 2);
    EXPECT_EQ(a->FValue.Text, "2");
    EXPECT_TRUE(record.history.empty());
}

} // namespace
} // namespace orvek::test
