// The cell commands a click runs: their guards, deferred deletion, switching sources
// on and off, adding sources and the conversions of cell kinds.

#include "cell_tool_fixture.h"

#include "engine/cell_records.h"

namespace orvek::test {
namespace {

// ---------------------------------------------------------------------------------
// Guards: each refusal shows its message and leaves the model, the history and the
// armed command as they were.

struct GuardCase {
    const char* name;
    std::function<QString()> message;
    int answer; // to the message box
};

class CellGuards : public CellToolTest, public ::testing::WithParamInterface<GuardCase> { };

// A group under Quantity: G1 active and, with Second, G2 active or not.
TCell* MakeGroup(TCell& quantity, bool second, bool secondActive = false)
{
    TCell* group = AddCell(quantity, kUncertaintyCell, "Group");
    AddCell(*group, kUncertaintyCell, "G1");
    if (second)
        AddCell(*group, kUncertaintyCell, "G2")->FActive = secondActive;
    return group;
}

const GuardCase kGuards[] = {
    { "AddToValueOnlyQuantity", [] { return GetString(309); }, mrCancel },
    { "AddToMolarMass", [] { return GetString(309); }, mrCancel },
    { "DeleteLastActiveSourceOfQuantity", [] { return GetString(247); }, mrCancel },
    { "DeleteActiveSourceOfGroupWithOneActive", [] { return GetString(247); }, mrCancel },
    { "DeleteInactiveSourceOfGroupWithOneActive", [] { return GetString(247); }, mrCancel },
    { "SwitchOffLastActiveSource", [] { return GetString(249); }, mrCancel },
    { "DeleteOnlySourceOfGroupCancelled",
        [] {
            return GetString(329, { "\r", "\r\r" });
        },
        mrCancel },
    { "DeleteSeriesSourceAnsweredNo", [] { return GetString(248); }, mrNo },
    { "EquationToQuantityAnsweredNo",
        [] {
            return GetString(246, { "\r\r", "\r\r" });
        },
        mrNo },
    { "SecondSeriesSourceSwitchedOn", [] { return GetString(1066, { GetEvaluationMethodName(13) }); }, mrCancel },
};

// The cell each case clicks, on the fixture's model (y = a*b; a with ua1 active, ua2
// inactive; b a value only).
TCell* ArmGuard(const std::string& name, TCell* a, TCell* ua1, TCell* ua2, TCell* b, TCell* root)
{
    if (name == "AddToValueOnlyQuantity") {
        CmdAddUncertainty = true;
        return b;
    }
    if (name == "AddToMolarMass") {
        b->FValueType = 2;
        CmdAddUncertainty = true;
        return b;
    }
    if (name == "DeleteLastActiveSourceOfQuantity") {
        CmdDeleteCell = true;
        return ua1;
    }
    if (name == "DeleteActiveSourceOfGroupWithOneActive") {
        CmdDeleteCell = true;
        return MakeGroup(*a, true)->Child(0);
    }
    if (name == "DeleteInactiveSourceOfGroupWithOneActive") {
        CmdDeleteCell = true;
        return MakeGroup(*a, true)->Child(1);
    }
    if (name == "SwitchOffLastActiveSource") {
        CmdToggleActive = true;
        return ua1;
    }
    if (name == "DeleteOnlySourceOfGroupCancelled") {
        CmdDeleteCell = true;
        return MakeGroup(*a, false)->Child(0);
    }
    if (name == "DeleteSeriesSourceAnsweredNo") {
        // The series source handed its mean to a; No keeps it.
        ua2->FActive = true;
        ua2->FUncertaintyInput = SeriesRecord(6);
        a->FValue.Text = "10.2";
        a->FValueTransferred = 1;
        CmdDeleteCell = true;
        return ua2;
    }
    if (name == "EquationToQuantityAnsweredNo") {
        TCell* sub = AddCell(*root, kEquationCell, "Sub", "z");
        AddCell(*sub, kQuantityCell, "c", "c");
        CmdEquationToQuantity = true;
        return sub;
    }
    // SecondSeriesSourceSwitchedOn: ua1 already feeds a from a series.
    ua1->FUncertaintyInput = SeriesRecord(6);
    ua2->FUncertaintyInput = SeriesRecord(13);
    CmdToggleActive = true;
    return ua2;
}

TEST_P(CellGuards, RefusalShowsItsMessageAndChangesNothing)
{
    const GuardCase& c = GetParam();
    TCell* clicked = ArmGuard(c.name, a, ua1, ua2, b, root.get());
    const QString model = root->SaveToText();
    DialogScript::Instance().AnswerMessage(c.answer);

    tools.ClickAction(clicked);

    EXPECT_EQ(Shown(), QStringList { c.message() });
    EXPECT_EQ(root->SaveToText(), model);
    EXPECT_TRUE(record.history.empty());
    EXPECT_TRUE(dialogs.source.loaded.empty() && dialogs.quantity.loaded.empty());
    EXPECT_EQ(clicked->FParent->FPendingDelete, nullptr);
    EXPECT_FALSE(clicked->FParent->FReloaded);
    EXPECT_TRUE(IsCellCommandPending());
    EXPECT_EQ(mainWindow.cleared, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, CellGuards, ::testing::ValuesIn(kGuards),
    [](const ::testing::TestParamInfo<GuardCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------
// Deleting

TEST_F(CellToolTest, ConfirmedDeletionIsDeferredToTheParentsTimerAndTakesTheTransferredMean)
{
    ua2->FActive = true;
    ua2->FUncertaintyInput = SeriesRecord(6);
    a->FValue.Text = "10.2";
    a->FValueTransferred = 1;
    const QString after = Headed(615, *ua2);
    CmdDeleteCell = true;
    DialogScript::Instance().AnswerMessage(mrYes);

    tools.ClickAction(ua2);

    EXPECT_EQ(Shown(), QStringList { GetString(248) });
    ASSERT_EQ(record.history.size(), 1u);
    EXPECT_EQ(record.history[0].original, "");
    EXPECT_EQ(record.history[0].changed, after);
    EXPECT_EQ(a->FPendingDelete, ua2);
    EXPECT_TRUE(a->FReloaded);
    EXPECT_EQ(a->FValue.Text, "");
    EXPECT_EQ(a->FValueTransferred, 0);
    EXPECT_FALSE(IsCellCommandPending());
    EXPECT_EQ(mainWindow.cleared, 1);

    a->TimerTick();
    EXPECT_EQ(a->ChildCount(), 1);
    EXPECT_TRUE(root->FReloaded);
}

TEST_F(CellToolTest, DeletingTheOnlySourceOfAGroupAsksFirstAndAnEarlierPendingChildIsNotForgotten)
{
    TCell* group = AddCell(*a, kUncertaintyCell, "Group");
    TCell* only = AddCell(*group, kUncertaintyCell, "Only");
    a->FPendingDelete = ua2; // waiting for a tick that has not come yet

    CmdDeleteCell = true;
    DialogScript::Instance().AnswerMessage(mrYes);
    tools.ClickAction(only);
    EXPECT_EQ(Shown(), QStringList { GetString(329, { "\r", "\r\r" }) });
    EXPECT_EQ(group->FPendingDelete, only);

    // A second deletion under the same parent before its tick.
    CmdDeleteCell = true;
    DialogScript::Instance().AnswerMessage(mrYes);
    tools.ClickAction(group);
    EXPECT_EQ(a->FPendingDelete, group);
    EXPECT_EQ(a->ChildCount(), 2); // ua2 went at once, the group waits
    EXPECT_EQ(record.history.size(), 2u);
}

// ---------------------------------------------------------------------------------
// Switching on and off

TEST_F(CellToolTest, SwitchingASeriesSourceOnAndOffMovesItsMeanAndAsksForARecalculation)
{
    ua2->FUncertaintyInput = SeriesRecord(7, "4.5");
    const QString switchedOn = Headed(617, *ua2);

    CmdToggleActive = true;
    tools.ClickAction(ua2);
    EXPECT_TRUE(ua2->FActive);
    EXPECT_EQ(a->FValue.Text, "4.5");
    EXPECT_EQ(a->FValueTransferred, 1);
    // The request of the switched source goes to its parent at once.
    EXPECT_FALSE(ua2->FReloaded);
    EXPECT_TRUE(a->FReloaded);
    ASSERT_EQ(record.history.size(), 1u);
    EXPECT_EQ(record.history[0].changed, switchedOn);

    const QString switchedOff = Headed(616, *ua2);
    a->FReloaded = false;
    CmdToggleActive = true;
    tools.ClickAction(ua2);
    EXPECT_FALSE(ua2->FActive);
    EXPECT_EQ(a->FValue.Text, "");
    EXPECT_EQ(a->FValueTransferred, 0);
    EXPECT_TRUE(a->FReloaded);
    ASSERT_EQ(record.history.size(), 2u);
    EXPECT_EQ(record.history[1].changed, switchedOff);
}

TEST_F(CellToolTest, SwitchingOffClearsAMeanTheDialogHandedOnAsDisplayed)
{
    ua2->FActive = true;
    ua2->FUncertaintyInput = SeriesRecord(6, "10.2345");
    // The source dialog displays the mean to the digits of its uncertainty 0.1.
    a->FValue.Text = "10.23";
    a->FValueTransferred = 1;
    CmdToggleActive = true;
    tools.ClickAction(ua2);
    EXPECT_EQ(a->FValue.Text, "");

    // A value typed by the user (no transferred flag) stays, even when it equals the mean.
    ua2->FActive = true;
    a->FValue.Text = "10.2345";
    CmdToggleActive = true;
    tools.ClickAction(ua2);
    EXPECT_FALSE(ua2->FActive);
    EXPECT_EQ(a->FValue.Text, "10.2345");
}

// ---------------------------------------------------------------------------------
// Adding

TEST_F(CellToolTest, AddedSourceTakesTheDialogsRecordAndWritesOneHistoryRow)
{
    a->SetExpanded(false);
    const QString before = Before(*a);
    dialogs.source.Answer([](TSourceDialogData& d) {
        d.FInput.TSN = 3;
        d.FInput.SO_2_3.Text = "0.05";
        d.FInput.HSN = "0.05";
        d.FCellName = "Reference";
        return mrOk;
    });
    CmdAddUncertainty = true;
    tools.ClickAction(a);

    ASSERT_EQ(dialogs.source.loaded.size(), 1u);
    const TSourceDialogData& shown = dialogs.source.loaded[0];
    EXPECT_EQ(shown.FIsNewSource, 1);
    EXPECT_EQ(shown.FOwnerCell, a);
    EXPECT_EQ(shown.FCellName, GetString(324) + " Length");
    EXPECT_EQ(shown.FInput.TSN, 1);
    EXPECT_TRUE(shown.Active && shown.Editing);
    EXPECT_EQ(dialogs.loadings, 1);
    EXPECT_EQ(dialogs.loadingDepth, 0);

    EXPECT_TRUE(a->IsExpanded());
    ASSERT_EQ(a->ChildCount(), 3);
    TCell* added = a->Child(2);
    EXPECT_EQ(added->FCellName.Text, "Reference");
    EXPECT_EQ(added->FUncertaintyInput.SO_2_3.Text, "0.05");
    EXPECT_EQ(added->FCombinedUncertainty, "0.05");
    EXPECT_TRUE(added->FActive);
    ASSERT_EQ(record.history.size(), 1u);
    EXPECT_EQ(record.history[0].original, before);
    EXPECT_EQ(record.history[0].changed, Headed(614, *added));
    // The request stays on the cell the source was added to.
    EXPECT_TRUE(a->FReloaded);
    EXPECT_FALSE(root->FReloaded);
}

// Two groups under one quantity: a series source in one group already feeds the
// quantity, so a second source of method 6, 7 or 13 in the other group is refused while
// the dialog stays open; method 14 is accepted and hands its mean to the quantity.
struct SeriesCase {
    int method;
    bool allowed;
};

class SecondSeriesSource : public CellToolTest, public ::testing::WithParamInterface<SeriesCase> { };

TEST_P(SecondSeriesSource, IsRefusedWhileTheDialogStaysOpenUnlessItIsAWeightedMean)
{
    const SeriesCase c = GetParam();
    TCell* groupA = AddCell(*a, kUncertaintyCell, "Readings");
    AddCell(*groupA, kUncertaintyCell, "Series")->FUncertaintyInput = SeriesRecord(6);
    TCell* groupB = AddCell(*a, kUncertaintyCell, "Others");
    AddCell(*groupB, kUncertaintyCell, "Other");

    bool firstAnswer = true;
    dialogs.source.Answer([&](TSourceDialogData& d) {
        firstAnswer = d.AcceptMethod(c.method);
        if (firstAnswer) {
            d.FInput = SeriesRecord(c.method, "7.5");
            return mrOk;
        }
        // Still open: the user picks a method that may be used.
        d.FInput = RectangularRecord("1", "0.577350269189626");
        EXPECT_TRUE(d.AcceptMethod(1));
        return mrOk;
    });
    if (!c.allowed)
        DialogScript::Instance().AnswerMessage(mrCancel);
    CmdAddUncertainty = true;
    tools.ClickAction(groupB);

    EXPECT_EQ(firstAnswer, c.allowed);
    ASSERT_EQ(groupB->ChildCount(), 2);
    if (c.allowed) {
        EXPECT_TRUE(Shown().isEmpty());
        EXPECT_EQ(groupB->Child(1)->FUncertaintyInput.TSN, c.method);
        // The mean goes to the quantity, not to the group.
        EXPECT_EQ(a->FValue.Text, "7.5");
        EXPECT_EQ(a->FValueTransferred, 1);
    } else {
        EXPECT_EQ(Shown(), QStringList { GetString(1066, { GetEvaluationMethodName(c.method) }) });
        EXPECT_EQ(groupB->Child(1)->FUncertaintyInput.TSN, 1);
        EXPECT_EQ(a->FValue.Text, "2");
    }
    EXPECT_EQ(record.history.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Methods, SecondSeriesSource,
    ::testing::Values(
        SeriesCase { 6, false }, SeriesCase { 7, false }, SeriesCase { 13, false }, SeriesCase { 14, true }),
    [](const ::testing::TestParamInfo<SeriesCase>& info) { return "Method" + std::to_string(info.param.method); });

// ---------------------------------------------------------------------------------
// Conversions of cell kinds

TEST_F(CellToolTest, QuantityBecomesANewEquationWithNewQuantitiesAndOneHistoryRow)
{
    a->FCellName.Lock = 1;
    const QString before = Before(*a);
    dialogs.equation.Answer([](TEquationDialogData& d) {
        EXPECT_EQ(d.FSymbolLock, 1);
        EXPECT_EQ(d.FEquation, "");
        EXPECT_TRUE(d.RowsAsNew);
        d.FEquation = "a = p/q";
        d.Quantities.Count = 2;
        d.Quantities[1].Symbol = "p";
        d.Quantities[1].UnitText = "g";
        d.Quantities[2].Symbol = "q";
        d.Quantities[2].CellName = "Volume";
        d.Quantities[2].ValueType = 1;
        return mrOk;
    });
    CmdQuantityToNewEquation = true;
    tools.ClickAction(a);

    EXPECT_EQ(a->FCellType, kEquationCell);
    EXPECT_EQ(a->FNormalizedEquation, "a=p/q");
    EXPECT_EQ(a->FCellName.Lock, 0);
    EXPECT_EQ(a->FValue.Text, "");
    ASSERT_EQ(a->ChildCount(), 2);
    TCell* p = a->Child(0);
    EXPECT_EQ(p->FCellName.Text, "p");
    ASSERT_EQ(p->ChildCount(), 1);
    EXPECT_EQ(p->Child(0)->FCellName.Text, GetString(324) + " p");
    EXPECT_EQ(p->Child(0)->FUnit.Text, "g");
    EXPECT_EQ(a->Child(1)->FCellName.Text, "Volume");
    EXPECT_EQ(a->Child(1)->ChildCount(), 0);
    ASSERT_EQ(record.history.size(), 1u);
    EXPECT_EQ(record.history[0].original, before);
    EXPECT_EQ(record.history[0].changed, Headed(618, *a));
    EXPECT_TRUE(root->FReloaded);
}

TEST_F(CellToolTest, EquationBecomesAQuantityWithOneNewSource)
{
    TCell* sub = AddCell(*root, kEquationCell, "Sub", "z");
    sub->FEquation = "z = c + d";
    AddCell(*AddCell(*sub, kQuantityCell, "c", "c"), kUncertaintyCell, "uc");
    dialogs.quantity.Answer([](TQuantityDialogData& d) {
        EXPECT_TRUE(d.ConversionMode);
        EXPECT_EQ(d.FValueTypeLock, 1);
        EXPECT_EQ(d.FUnitLock, 1);
        d.FValue = "12";
        return mrOk;
    });
    DialogScript::Instance().AnswerMessage(mrYes);
    CmdEquationToQuantity = true;
    tools.ClickAction(sub);

    EXPECT_EQ(sub->FCellType, kQuantityCell);
    EXPECT_EQ(sub->FValue.Text, "12");
    EXPECT_EQ(sub->FEquation, "");
    ASSERT_EQ(sub->ChildCount(), 1);
    EXPECT_EQ(sub->Child(0)->FCellName.Text, GetString(324) + " z");
    ASSERT_EQ(record.history.size(), 1u);
    EXPECT_EQ(record.history[0].changed, Headed(619, *sub));
    EXPECT_TRUE(root->FReloaded);
}

TEST_F(CellToolTest, EquationBuiltAnewWritesNoHistoryRow)
{
    dialogs.equation.Answer([](TEquationDialogData& d) {
        EXPECT_EQ(d.FEquation, "y = a*b");
        EXPECT_EQ(d.FCoverage, 3);
        EXPECT_EQ(d.FCoverageFactor, "2");
        d.FEquation = "y = m";
        d.Quantities.Count = 1;
        d.Quantities[1].Symbol = "m";
        return mrOk;
    });
    CmdEquationToNewEquation = true;
    tools.ClickAction(root.get());
    ASSERT_EQ(root->ChildCount(), 1);
    EXPECT_EQ(root->Child(0)->FSymbol.Text, "m");
    EXPECT_EQ(root->Child(0)->ChildCount(), 1);
    EXPECT_TRUE(record.history.empty());
    EXPECT_TRUE(root->FReloaded); // the root keeps its own request
}

TEST_F(CellToolTest, CancelledConversionsKeepTheTemplateMarks)
{
    TCell* sub = AddCell(*root, kEquationCell, "Sub", "z");
    for (TCell* cell : { root.get(), a, sub })
        cell->FCellName.Lock = 1;
    dialogs.equation.Answer([](TEquationDialogData&) { return mrCancel; });
    dialogs.equation.Answer([](TEquationDialogData&) { return mrCancel; });
    dialogs.quantity.Answer([](TQuantityDialogData&) { return mrCancel; });
    DialogScript::Instance().AnswerMessage(mrYes);
    const QString model = root->SaveToText();

    CmdEquationToNewEquation = true;
    tools.ClickAction(root.get());
    CmdQuantityToNewEquation = true;
    tools.ClickAction(a);
    CmdEquationToQuantity = true;
    tools.ClickAction(sub);

    EXPECT_EQ(root->SaveToText(), model);
    EXPECT_TRUE(record.history.empty());
}

} // namespace
} // namespace orvek::test
