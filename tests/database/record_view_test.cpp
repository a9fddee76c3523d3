#include "database/record_view.h"

#include "database/record_writes.h"
#include "platform/db_session.h"
#include "tests/support/main_window_double.h"
#include "tests/support/user_database_fixture.h"

namespace orvek {
namespace {

class RecordView : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        db = module->SessionOrvek().Database(AliasDB);
        ASSERT_TRUE(db.isOpen());
        CurrentUserID = 5;
        CurrentUserRights = 3;
        CurrentGroupID = 1;
    }
    void TearDown() override
    {
        db = QSqlDatabase();
        test::UserDatabase::TearDown();
    }

    int Add(const QString& folder, const QString& name, const QString& sample)
    {
        TNewRecord record;
        record.GroupID = 1;
        record.FolderID = folder;
        record.RecordName = name;
        record.SampleID = sample;
        record.UserID = 5;
        return int(AppendRecord(db, record));
    }

    static QList<int> Rows(TRecordView& view)
    {
        QList<int> ids;
        for (int row = 0; row < view.RowCount(); ++row)
            ids << view.RowID(row);
        return ids;
    }

    QSqlDatabase db;
    test::MainWindowDouble window;
};

// Every rebuild leaves the shown record through the main window's record-change path:
// a modified state is saved first and CurrentRecordID keeps naming the shown record, so
// that the tick can release its lock; the timer comes back as it was.
TEST_F(RecordView, RebuildSavesAModifiedDiagramAndAsksForAReload)
{
    const int a = Add("2", "b", "s2");
    const int b = Add("2", "a", "s1");
    const int c = Add("3", "c", "s3");
    TRecordView view(&module->SessionOrvek());
    view.CurrentFolderID = "2";
    CurrentRecordID = a;

    struct Case {
        const char* what;
        bool modified;
        QString folder;
        QList<int> rows;
    };
    const Case cases[] = {
        { "unchanged diagram", false, "2", { b, a } },
        { "modified diagram", true, "3", { c } },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        window.Modified = k.modified;
        window.ReloadRequested = false;
        window.TimerRunning = true;
        const int saves = window.Calls("SaveRecordDiagram");
        view.CurrentFolderID = k.folder;
        view.RefreshRecordView();
        EXPECT_EQ(window.Calls("SaveRecordDiagram") - saves, k.modified ? 1 : 0);
        EXPECT_TRUE(window.ReloadRequested);
        EXPECT_EQ(CurrentRecordID, a);
        EXPECT_TRUE(window.TimerRunning);
        EXPECT_EQ(Rows(view), k.rows);
        EXPECT_EQ(view.CurrentRow(), 0);
    }
    EXPECT_EQ(window.Calls("ClearDiagram"), 0);
}

TEST_F(RecordView, EmptyOrFailedListClearsTheDiagram)
{
    Add("2", "a", "s1");
    TRecordView view(&module->SessionOrvek());
    struct Case {
        const char* what;
        QString folder;
        QString folderColumn;
    };
    const Case cases[] = {
        { "empty folder", "7", "IDDB1" },
        { "statement the database refuses", "2", "IDDB9" },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const int clears = window.Calls("ClearDiagram");
        const int resets = window.Calls("ResetUndo");
        CurrentRecordID = 42;
        window.TimerRunning = true;
        view.CurrentFolderID = k.folder;
        view.FolderColumn = k.folderColumn;
        view.RefreshRecordView();
        EXPECT_EQ(view.RowCount(), 0);
        EXPECT_EQ(view.CurrentRowID(), 0);
        EXPECT_EQ(window.Calls("ClearDiagram"), clears + 1);
        EXPECT_EQ(window.Calls("ResetUndo"), resets + 1);
        EXPECT_EQ(CurrentRecordID, 0);
        EXPECT_TRUE(window.TimerRunning);
    }
}

TEST_F(RecordView, MovingAColumnResortsAndKeepsTheRecord)
{
    const int first = Add("2", "b", "s1");
    const int second = Add("2", "a", "s2");
    TRecordView view(&module->SessionOrvek());
    view.CurrentFolderID = "2";
    view.RefreshRecordView();
    EXPECT_EQ(Rows(view), (QList<int> { first, second }));
    EXPECT_FALSE(view.SearchEnabled);
    view.SetCurrentRow(1);

    view.ColumnFields = QStringList { "NazovMerania", "SampleID", "MenoPracovnika", "Datum", "NazovVzoru" };
    view.RefreshGrid(view.CurrentRowID());
    EXPECT_EQ(Rows(view), (QList<int> { second, first }));
    EXPECT_EQ(view.CurrentRowID(), second);
    EXPECT_TRUE(view.SearchEnabled);
    EXPECT_EQ(view.RecordGridSortFields, (QVector<int> { 6, 3, 4, 5, 7 }));
    EXPECT_EQ(view.FolderOfRecord(first), "2");
    EXPECT_EQ(view.FolderOfRecord(999), "");
}

} // namespace
} // namespace orvek
