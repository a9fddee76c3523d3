#include "database/record_load.h"

#include "core/settings.h"
#include "database/record_writes.h"
#include "engine/cell.h"
#include "engine/cell_records.h"
#include "platform/db_session.h"
#include "tests/support/main_window_double.h"
#include "tests/support/sql_helpers.h"
#include "tests/support/user_database_fixture.h"

namespace orvek {
namespace {

class RecordLoad : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        db = module->SessionOrvek().Database(AliasDB);
        ASSERT_TRUE(db.isOpen());
    }
    void TearDown() override
    {
        TCell* root = window.Root;
        window.Root = nullptr;
        FreeCellTree(root);
        db = QSqlDatabase();
        test::UserDatabase::TearDown();
    }

    // A one-cell model as the program stores it.
    static QString ModelText()
    {
        CellIdCounter = 1; // as the loader numbers the cells
        ClearNewCellInfo();
        NewCellInfo.CellName = "Mass";
        TCell root(nullptr, NewCellInfo, DiagramOriginY, DiagramOriginX, nullptr);
        return root.SaveToText() + "\r\n";
    }

    int Add(const QString& diagram)
    {
        TNewRecord record;
        record.GroupID = 1;
        record.Diagram = diagram;
        return int(AppendRecord(db, record));
    }

    QSqlDatabase db;
    test::MainWindowDouble window;
};

TEST_F(RecordLoad, WholeTextBecomesTheShownTree)
{
    const QString text = ModelText();
    const int id = Add(text);
    window.TimerRunning = false;
    window.Modified = true;
    EXPECT_EQ(LoadRecordDiagram(db, id), TRecordLoad::Loaded);
    ASSERT_NE(window.Root, nullptr);
    // Every equation of a loaded record carries the template flag.
    QString flagged = text;
    flagged.replace("Equation=;", "Equation=~@#1;");
    EXPECT_EQ((window.Root->SaveToText() + "\r\n").toStdString(), flagged.toStdString());
    EXPECT_FALSE(window.Modified);
    EXPECT_TRUE(window.TimerRunning); // runs afterwards whatever it did before
    EXPECT_EQ(window.Calls("RefreshEquationsPage"), 1);
    EXPECT_EQ(window.Calls("SaveRecordDiagram"), 0);
    EXPECT_FALSE(TreeLoadInProgress);
}

// A text the reader refuses shows no tree and says why once; what was read before the
// error is never stored over the record. A record another workstation deleted shows no
// tree and no message.
TEST_F(RecordLoad, FailedOrMissingLoadShowsNoTreeAndStoresNothing)
{
    const QString text = ModelText();
    QString broken = text;
    broken.replace("NrChildCells=0;", "NrChildCells=2;\r\nBeginCell=2;\r\n  CellType=1;\r\n  NrChildCells=x;");
    const int id = Add(broken);
    const int shown = Add(text);
    ASSERT_EQ(LoadRecordDiagram(db, shown), TRecordLoad::Loaded);
    ASSERT_NE(window.Root, nullptr);

    test::DialogScript::Instance().AnswerMessage(mrOk);
    QString reason;
    EXPECT_EQ(LoadRecordDiagram(db, id, &reason), TRecordLoad::Unreadable);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(window.Root, nullptr);
    ASSERT_EQ(test::DialogScript::Instance().Shown().size(), 1);
    EXPECT_TRUE(test::DialogScript::Instance().Shown().first().contains(reason));
    EXPECT_EQ(window.Calls("SaveRecordDiagram"), 0);
    EXPECT_EQ(test::QueryColumn(db, "SELECT Strom FROM TreeDB WHERE ID = ?", { id }), QStringList { broken });

    ASSERT_EQ(LoadRecordDiagram(db, shown), TRecordLoad::Loaded);
    EXPECT_EQ(LoadRecordDiagram(db, 9999), TRecordLoad::Missing);
    EXPECT_EQ(window.Root, nullptr);
    EXPECT_EQ(test::DialogScript::Instance().Shown().size(), 1);
    EXPECT_TRUE(window.TimerRunning);
}

} // namespace
} // namespace orvek
