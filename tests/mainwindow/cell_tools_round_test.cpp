// One edit of a source end to end on the real parts: a database made from the empty
// database, the record's lock and history in it, the string table and the engine; only
// the source dialog is a script, computing u with the engine's routine as the dialog does.

#include "cell_tool_fixture.h"

#include "engine/source_uncertainty.h"
#include "tests/support/user_database_fixture.h"

#include <QBuffer>
#include <cmath>

namespace orvek::test {
namespace {

class CellToolRound : public UserDatabase {
protected:
    void SetUp() override
    {
        UserDatabase::SetUp();
        LanguageID = 0;
        DataModule1 = module.get();
        EvaluateTreeHook = &EvaluateTree;
        ClearCellCommands();
        CellTreeChanged = false;
        EditMode = 1;

        // y = 3*a: a = 2 with a rectangular source of half-width 0.3.
        TPrenosInfoDoNovejBunky info;
        info.CellType = kEquationCell;
        info.CellName = "Result";
        info.Symbol = "y";
        info.Equation = "y = 3*a";
        info.NormalizedEquation = "y=3*a";
        root = std::make_unique<TCell>(nullptr, info, 20, 20, nullptr);
        a = AddCell(*root, kQuantityCell, "Length", "a");
        a->FValue.Text = "2";
        source = AddCell(*a, kUncertaintyCell, "Scale");
        source->FUncertaintyInput.TSN = 1;
        source->FUncertaintyInput.IS_2_1.Text = "0.3";
        EvaluateSourceRecord(source->FUncertaintyInput, "2");
        source->FCombinedUncertainty = source->FUncertaintyInput.HSN;
        EvaluateTree(*root);

        QSqlDatabase db = Other();
        QSqlQuery query(db);
        ASSERT_TRUE(ExecBound(query, "INSERT INTO TreeDB (GroupID, NazovMerania, Strom) VALUES (1, ?, ?)",
            { "Round", root->SaveToText() }));
        CurrentRecordID = query.lastInsertId().toInt();
        CurrentUserID = 1;
        CurrentGroupID = 1;
        CurrentUserName = "Administrator";
        module->RememberLoadedChangeCounter();
    }
    void TearDown() override
    {
        root.reset();
        DataModule1 = nullptr;
        ClearCellCommands();
        EditMode = 0;
        LanguageID = EditionFlag;
        UserDatabase::TearDown();
    }
    // What the main window's tick does after a change of the tree: saves the diagram into
    // the locked record.
    bool SaveRecord()
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        return ExecBound(query, "UPDATE TreeDB SET Strom = ? WHERE ID = ? AND OpenedByUserID = ?",
                   { root->SaveToText(), CurrentRecordID, CurrentUserID })
            && query.numRowsAffected() == 1;
    }

    ScriptedCellDialogs dialogs;
    DataModuleCellRecord record;
    TCellTools tools { dialogs, record };
    std::unique_ptr<TCell> root;
    TCell* a = nullptr;
    TCell* source = nullptr;
};

TEST_F(CellToolRound, EditedSourceRecalculatesTheModelSavesTheRecordAndWritesOneHistoryRow)
{
    ASSERT_NEAR(root->FCombinedUncertainty.toDouble(), 3 * 0.3 / std::sqrt(3.0), 1e-12);
    dialogs.source.Answer([](TSourceDialogData& d) {
        EXPECT_TRUE(d.AcceptMethod(d.FInput.TSN));
        d.FInput.IS_2_1.Text = "0.6";
        EvaluateSourceRecord(d.FInput, "2");
        return mrOk;
    });
    CmdEditCell = true;
    tools.ClickAction(source);

    EXPECT_EQ(Row("TreeDB", CurrentRecordID)["OpenedByUserID"].toInt(), 1);
    EXPECT_NEAR(source->FCombinedUncertainty.toDouble(), 0.6 / std::sqrt(3.0), 1e-12);
    // The request climbs one level a tick; the root evaluates the model.
    a->TimerTick();
    root->TimerTick();
    EXPECT_TRUE(CellTreeChanged);
    EXPECT_NEAR(root->FCombinedUncertainty.toDouble(), 3 * 0.6 / std::sqrt(3.0), 1e-12);

    ASSERT_TRUE(SaveRecord());
    const QString saved = Row("TreeDB", CurrentRecordID)["Strom"].toString();
    EXPECT_TRUE(saved.contains("0.6")) << saved.toStdString();
    EXPECT_EQ(saved, root->SaveToText());

    ASSERT_EQ(Count("History"), 1);
    QSqlDatabase db = Other();
    QSqlQuery query(db);
    ASSERT_TRUE(ExecBound(query, "SELECT DiagramID, PracovnikID, OriginalValues, NewValues FROM History"));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), CurrentRecordID);
    EXPECT_EQ(query.value(1).toInt(), 1);
    EXPECT_TRUE(query.value(2).toString().startsWith("[cf3]" + GetString(83) + ":[cf1] Scale\r"));
    EXPECT_EQ(query.value(3).toString(), DescribeOneCell(*source));
    EXPECT_TRUE(HistoryOriginalValues.isEmpty() && HistoryNewValues.isEmpty());
}

TEST_F(CellToolRound, RecordSavedOnAnotherWorkstationOpensTheCellReadOnly)
{
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        ASSERT_TRUE(ExecBound(query, "UPDATE TreeDB SET Strom = ? WHERE ID = ?", { "changed", CurrentRecordID }));
    }
    const QString model = root->SaveToText();
    dialogs.source.Answer([](TSourceDialogData& d) {
        EXPECT_FALSE(d.Editing);
        EXPECT_EQ(EditMode, 0);
        return mrOk;
    });
    DialogScript::Instance().AnswerMessage(mrCancel);
    CmdEditCell = true;
    tools.ClickAction(source);

    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(22250) });
    EXPECT_EQ(Row("TreeDB", CurrentRecordID)["OpenedByUserID"].toInt(), 0);
    EXPECT_EQ(root->SaveToText(), model);
    EXPECT_EQ(Count("History"), 0);
}

} // namespace
} // namespace orvek::test
