#include "mainwindow/main_document.h"

#include "core/string_table.h"
#include "tests/mainwindow/main_record_fixture.h"

using namespace orvek;

namespace {

using MainDocument = test::MainRecords;

// The user changes input a and the tick stores the change.
void Change(TMainDocument& document, const QString& a)
{
    document.RootCell->Child(0)->FValue.Text = a;
    EXPECT_TRUE(document.StoreTreeChange());
}

TEST_F(MainDocument, UndoPassesBackThroughUndoneStatesAndModifiedFollowsTheStoredRow)
{
    Show(ids[0]);
    EXPECT_EQ(document.UndoTable().RowCount(), 1);
    EXPECT_FALSE(document.CanUndo());
    Change(document, "2");
    Change(document, "3");
    EXPECT_EQ(document.UndoTable().RecNo(), 3);
    EXPECT_FALSE(document.FModified);

    // Back to the loaded state: the record still holds the third, so the diagram shown
    // is modified (and message 115 will ask before it is left).
    ASSERT_TRUE(document.UndoStep());
    ASSERT_TRUE(document.UndoStep());
    EXPECT_EQ(ShownA(), "1");
    EXPECT_EQ(document.UndoTable().RecNo(), 1);
    EXPECT_TRUE(document.FModified);
    EXPECT_FALSE(CellTreeChanged);
    EXPECT_EQ(StoredA(ids[0]), "3");
    EXPECT_FALSE(document.UndoStep());

    // A new state goes after the last row; redo is off after any push.
    Change(document, "4");
    EXPECT_EQ(document.UndoTable().RowCount(), 4);
    EXPECT_EQ(document.UndoTable().RecNo(), 4);
    EXPECT_FALSE(document.CanRedo());
    EXPECT_FALSE(document.FModified);
    QStringList shown;
    while (document.UndoStep())
        shown << ShownA();
    EXPECT_EQ(shown, QStringList({ "3", "2", "1" }));
    EXPECT_TRUE(document.FModified);
    // Redo back to the stored state: nothing left to store.
    while (document.RedoStep()) { }
    EXPECT_EQ(ShownA(), "4");
    EXPECT_FALSE(document.FModified);
    EXPECT_EQ(StoredA(ids[0]), "4");
}

TEST_F(MainDocument, AStoreNeverOverwritesAnotherUsersLockANewerSaveOrAFailedLoad)
{
    // A text that breaks off at a value type that does not convert.
    QString brokenText = test::ModelText("1");
    ASSERT_TRUE(brokenText.contains("VarValue=2;"));
    brokenText.replace("VarValue=2;", "VarValue=2;\r\n  ValueType=x;");
    const int broken = AddRecord(brokenText);
    const struct {
        const char* name;
        int record;
        std::function<void()> meanwhile;
        TRecordSaveOutcome outcome;
        QString reason;
    } cases[] = {
        { "lock of another user", ids[0],
            [&] {
                Exec("UPDATE TreeDB SET OpenedByUserID = ? WHERE ID = ?", { jan, ids[0] });
            },
            TRecordSaveOutcome::HeldByOther, GetString(22103, { QString::fromUtf8("Ján Kráľ") }) },
        { "stored elsewhere", ids[1],
            [&] {
                Exec("UPDATE TreeDB SET Strom = ? WHERE ID = ?", { test::ModelText("9"), ids[1] });
            },
            TRecordSaveOutcome::ChangedSinceLoaded, GetString(22100) },
        { "deleted", ids[2], [&] { Exec("DELETE FROM TreeDB WHERE ID = ?", { ids[2] }); }, TRecordSaveOutcome::Missing,
            GetString(22101) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Show(c.record);
        c.meanwhile();
        const QVariantMap changed = Row("TreeDB", c.record);
        document.RootCell->Child(0)->FValue.Text = "7";
        EXPECT_FALSE(document.StoreTreeChange());
        EXPECT_EQ(document.LastSave, c.outcome);
        EXPECT_EQ(document.LastSaveReason, c.reason);
        EXPECT_EQ(Row("TreeDB", c.record), changed);
        EXPECT_TRUE(document.FModified);
        EXPECT_EQ(document.SaveFailureText(), GetString(648) + "\n\n" + c.reason);
    }

    // A diagram that did not load whole is shown as far as it was read, never stored.
    CurrentRecordID = broken;
    const TRecordLoad load = Load(broken);
    ASSERT_FALSE(load.Loaded);
    document.RecordLoaded(load.Loaded, load.Error);
    EXPECT_FALSE(document.SaveRecordDiagram());
    EXPECT_EQ(document.LastSave, TRecordSaveOutcome::LoadFailed);
    EXPECT_EQ(document.LastSaveReason, GetString(22102, { load.Error }));
    EXPECT_EQ(Row("TreeDB", broken)["Strom"].toString(), brokenText);

    // Without a tree or a shown record there is nothing to store, which is no failure.
    CurrentRecordID = 0;
    EXPECT_FALSE(document.SaveRecordDiagram());
    EXPECT_EQ(document.LastSave, TRecordSaveOutcome::NothingToStore);
    document.ClearDiagram();
    CurrentRecordID = ids[0];
    EXPECT_FALSE(document.SaveRecordDiagram());
    EXPECT_EQ(document.LastSave, TRecordSaveOutcome::NothingToStore);
}

TEST_F(MainDocument, StoresOnlyTheDiagramAndTheLockAndKeepTheirCounterInStep)
{
    Show(ids[0]);
    Exec("UPDATE TreeDB SET OpenedByUserID = ? WHERE ID = ?", { eva, ids[0] });
    QVariantMap expected = Row("TreeDB", ids[0]);
    for (const QString a : { "5", "8" }) {
        document.RootCell->Child(0)->FValue.Text = a;
        ASSERT_TRUE(document.SaveRecordDiagram()) << document.LastSaveReason.toStdString();
    }
    // The record view stores the record's head and remembers the new counter: the
    // diagram is still stored afterwards.
    Exec("UPDATE TreeDB SET NazovMerania = 'nove' WHERE ID = ?", { ids[0] });
    DataModule1->RememberLoadedChangeCounter();
    document.RootCell->Child(0)->FValue.Text = "6";
    ASSERT_TRUE(document.SaveRecordDiagram()) << document.LastSaveReason.toStdString();
    expected["NazovMerania"] = "nove";
    const QVariantMap stored = Row("TreeDB", ids[0]);
    EXPECT_EQ(test::ValueOfA(stored["Strom"].toString()), "6");
    EXPECT_EQ(stored["OpenedByUserID"].toInt(), 0);
    // The template window works meanwhile; the record's counter is taken back.
    LoadedItemChangeCounter = 12345;
    CurrentDiagramKind = true;
    document.MakeCurrent();
    EXPECT_FALSE(CurrentDiagramKind);
    EXPECT_EQ(LoadedItemChangeCounter, stored["ChangeCounter"].toLongLong());
    // Nothing else of the row was written.
    QVariantMap rest = stored;
    for (const char* column : { "Strom", "OpenedByUserID", "ChangeCounter" }) {
        expected.remove(column);
        rest.remove(column);
    }
    EXPECT_EQ(rest, expected);
}

TEST_F(MainDocument, CloseAsksAndKeepsTheWindowOpenWhenTheSaveFails)
{
    const struct {
        const char* name;
        bool modified, storedElsewhere;
        QVector<int> answers;
        bool closes;
        QString storedA;
        int messages;
    } cases[] = {
        { "no to closing", true, false, { mrNo }, false, "1", 1 },
        { "unmodified", false, false, { mrYes }, true, "1", 1 },
        { "saved", true, false, { mrYes, mrYes }, true, "5", 2 },
        { "not saved", true, false, { mrYes, mrNo }, true, "1", 2 },
        { "cancelled", true, false, { mrYes, mrCancel }, false, "1", 2 },
        { "save refused", true, true, { mrYes, mrYes, mrCancel }, false, "9", 3 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Exec("UPDATE TreeDB SET Strom = ?, OpenedByUserID = ? WHERE ID = ?", { test::ModelText("1"), eva, ids[0] });
        Show(ids[0]);
        if (c.modified) {
            document.RootCell->Child(0)->FValue.Text = "5";
            document.FModified = true;
        }
        if (c.storedElsewhere)
            Exec("UPDATE TreeDB SET Strom = ? WHERE ID = ?", { test::ModelText("9"), ids[0] });
        test::DialogScript::Instance().Reset();
        for (int answer : c.answers)
            test::DialogScript::Instance().AnswerMessage(answer);
        EXPECT_EQ(document.ConfirmClose(), c.closes);
        const QStringList shown = test::DialogScript::Instance().Shown();
        ASSERT_EQ(shown.size(), c.messages);
        EXPECT_EQ(shown.first(), GetString(605));
        if (c.messages > 1) {
            EXPECT_EQ(shown[1], GetString(115));
        }
        if (c.messages > 2) {
            EXPECT_EQ(shown[2], GetString(648) + "\n\n" + GetString(22100));
        }
        EXPECT_EQ(StoredA(ids[0]), c.storedA);
        // The lock goes even when the window stays open.
        EXPECT_EQ(LockOwner(ids[0]), 0);
    }
    document.CloseRecord();
    EXPECT_EQ(document.RootCell->ChildCount(), 0);
    EXPECT_FALSE(document.UndoTable().Exists());
}

} // namespace
