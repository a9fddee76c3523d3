#include "database/undo_table.h"

#include "core/common_vars.h"
#include "database/data_module.h"
#include "platform/sql_database.h"

#include <QFile>
#include <QSqlDatabase>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

// A diagram text long enough for the main window's policy.
QString State(int n)
{
    return QString("\r\nBeginCell=1;\r\n  CellName=state %1;\r\nEndCell=1;").arg(n);
}

class UndoTable : public ::testing::Test {
protected:
    void SetUp() override { CommonInit(); }
    void TearDown() override
    {
        CloseFolderDatabase("AliasTemp");
        CommonDone();
    }
    // The states from the current one back to the first.
    static QStringList WalkBack(TUndoTable& undo)
    {
        QStringList states;
        QString text;
        while (undo.Undo(text))
            states << text;
        return states;
    }
};

TEST_F(UndoTable, TheTemplatePolicyDropsTheUndoneStates)
{
    TUndoTable undo(TUndoPolicy::DropRedoTail);
    undo.Reset(); // creates the missing table
    ASSERT_TRUE(undo.Exists());
    for (const QString& text : { QString("a"), State(1), State(2) })
        ASSERT_TRUE(undo.Push(text)); // every snapshot, short ones too
    EXPECT_EQ(undo.RowCount(), 3);
    EXPECT_TRUE(undo.CanUndo());
    EXPECT_FALSE(undo.CanRedo());

    QString text;
    ASSERT_TRUE(undo.Undo(text));
    ASSERT_TRUE(undo.Undo(text));
    EXPECT_EQ(text, "a");
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_TRUE(undo.CanRedo());
    ASSERT_TRUE(undo.Redo(text));
    EXPECT_EQ(text, State(1));

    ASSERT_TRUE(undo.Push(State(3)));
    EXPECT_EQ(undo.RowCount(), 3);
    EXPECT_EQ(undo.RecNo(), 3);
    EXPECT_FALSE(undo.CanRedo());
    EXPECT_EQ(WalkBack(undo), QStringList({ State(1), "a" }));

    undo.Reset();
    EXPECT_EQ(undo.RowCount(), 0);
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_FALSE(undo.CanRedo());
}

TEST_F(UndoTable, TheMainWindowPolicyKeepsUndoneStatesAndSkipsEmptyTrees)
{
    TUndoTable undo(TUndoPolicy::KeepUndone);
    undo.Reset(); // a missing table stays missing
    EXPECT_FALSE(undo.Exists());
    EXPECT_FALSE(undo.Push(State(1)));
    ASSERT_TRUE(undo.Create());
    EXPECT_FALSE(undo.Push("   \r\n  BeginCell=1;  \r\n")); // 20 characters or fewer, trimmed
    EXPECT_EQ(undo.RowCount(), 0);

    // Loaded (row 1), changed twice, undone twice, changed once: the new state is row 4,
    // and undo passes back through the undone states before the older ones.
    for (int n : { 1, 2, 3 })
        ASSERT_TRUE(undo.Push(State(n)));
    QString text;
    ASSERT_TRUE(undo.Undo(text));
    ASSERT_TRUE(undo.Undo(text));
    EXPECT_EQ(undo.RecNo(), 1);
    ASSERT_TRUE(undo.Push(State(4)));
    EXPECT_EQ(undo.RowCount(), 4);
    EXPECT_EQ(undo.RecNo(), 4);
    EXPECT_FALSE(undo.CanRedo());
    EXPECT_EQ(WalkBack(undo), QStringList({ State(3), State(2), State(1) }));
}

TEST_F(UndoTable, EachHistoryHasATableOfItsOwnThatGoesWithIt)
{
    QString firstName;
    {
        TUndoTable first(TUndoPolicy::DropRedoTail), second(TUndoPolicy::DropRedoTail);
        ASSERT_TRUE(first.Create());
        ASSERT_TRUE(second.Create());
        firstName = first.TableName();
        EXPECT_NE(firstName, second.TableName());
        ASSERT_TRUE(first.Push(State(1)));
        EXPECT_EQ(second.RowCount(), 0);
        QSqlDatabase temp = TemporaryDatabase();
        EXPECT_TRUE(TableExists(temp, firstName));
    }
    QSqlDatabase temp = TemporaryDatabase();
    EXPECT_FALSE(TableExists(temp, firstName));
}

TEST_F(UndoTable, ASnapshotThatCannotBeWrittenIsLoggedAndTheEnablingFollowsTheRows)
{
    QFile::remove(AppDir + kErrorLogFile);
    TUndoTable undo(TUndoPolicy::DropRedoTail);
    ASSERT_TRUE(undo.Create());
    ASSERT_TRUE(undo.Push(State(1)));
    ASSERT_TRUE(undo.Push(State(2)));
    QSqlDatabase temp = TemporaryDatabase();
    ASSERT_TRUE(PostStatement(temp, "DROP TABLE " + QuoteName(undo.TableName())));

    EXPECT_FALSE(undo.Push(State(3)));
    EXPECT_EQ(undo.RowCount(), 2);
    EXPECT_EQ(undo.RecNo(), 2);
    QString text;
    EXPECT_FALSE(undo.Undo(text)); // the row cannot be read: the position stays
    EXPECT_EQ(undo.RecNo(), 2);
    QFile log(AppDir + kErrorLogFile);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString logged = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(logged.contains("push")) << logged.toStdString();
    EXPECT_TRUE(logged.contains("read")) << logged.toStdString();

    // Emptying it makes a new table, and the history works again.
    undo.Reset();
    EXPECT_TRUE(undo.Push(State(4)));
    EXPECT_EQ(undo.RowCount(), 1);
}

} // namespace
