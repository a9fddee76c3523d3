#include "database/ec_data_link.h"
#include "database/folder_table_cursor.h"
#include "database/tv_record_list.h"
#include "tests/support/user_database_fixture.h"
#include "tests/support/sql_helpers.h"

using namespace orvek;

namespace {

// Records what the link is told.
class RecordingLink : public TECDataLink {
public:
    QStringList log;
    QString refuseDeleteOf; // the link aborts deleting this row

protected:
    void DoBeforeDelete() override
    {
        log << "link before delete " + DataSet()->FieldText("ID");
        if (DataSet()->FieldText("ID") == refuseDeleteOf)
            DataSet()->Abort("refused");
    }
    void DoAfterPost() override { log << "link after post"; }
    void ActiveChanged(bool active) override { log << (active ? "active" : "inactive"); }
    void TableChangedElsewhere() override { log << "changed elsewhere"; }
};

class FolderCursor : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        cursor.SetSession(&module->SessionOrvek());
        cursor.DatabaseName = AliasDB;
        cursor.TableName = "MeasureID1";
    }
    // A statement of another workstation.
    static bool OtherExec(const QString& sql)
    {
        QSqlDatabase db = Other();
        return PostStatement(db, sql);
    }
    QStringList Column(const QString& sql)
    {
        QSqlDatabase db = Other();
        return test::QueryColumn(db, sql);
    }
    FolderTableCursor cursor;
};

} // namespace

TEST_F(FolderCursor, LinkChainsToTheHandlersThereAndPutsThemBack)
{
    QStringList log;
    cursor.BeforeDelete = [&](FolderTableCursor& d) { log << "kept before delete " + d.FieldText("ID"); };
    cursor.AfterPost = [&](FolderTableCursor&) { log << "kept after post"; };
    RecordingLink link;
    link.ChangeCheckInterval = 0;
    link.refuseDeleteOf = "0";
    link.SetDataSet(&cursor);
    EXPECT_FALSE(link.Active());
    ASSERT_TRUE(cursor.Open());
    EXPECT_TRUE(link.Active());

    // Each event runs the handler that was there, then the link's.
    ASSERT_TRUE(cursor.Append());
    cursor.SetFieldValue("ID", "2");
    cursor.SetFieldValue("OwnerID", "0");
    cursor.SetFieldValue("Description", "Lab");
    ASSERT_TRUE(cursor.Post());
    EXPECT_EQ(cursor.FieldText("ID"), "2");
    ASSERT_TRUE(cursor.FindKey("2"));
    ASSERT_TRUE(cursor.Delete());
    // The link refuses: the row stays and the reason comes back.
    ASSERT_TRUE(cursor.FindKey("0"));
    QString error;
    EXPECT_FALSE(cursor.Delete(&error));
    EXPECT_EQ(error, "refused");
    EXPECT_EQ(Column("SELECT ID FROM MeasureID1 ORDER BY ID"), QStringList({ "0", "1" }));

    // Another workstation's change is noticed while the link is active.
    OtherExec("UPDATE MeasureID1 SET Description = 'x' WHERE ID = '1'");
    link.CheckForChanges();
    cursor.Close();
    OtherExec("UPDATE MeasureID1 SET Description = 'y' WHERE ID = '1'");
    link.CheckForChanges();

    EXPECT_EQ(log, QStringList({ "kept after post", "kept before delete 2", "kept before delete 0" }));
    EXPECT_EQ(link.log,
        QStringList({ "active", "link after post", "link before delete 2", "link before delete 0", "changed elsewhere",
            "inactive" }));

    // Closed: the cursor has its own handlers again.
    log.clear();
    cursor.AfterPost(cursor);
    EXPECT_EQ(log, QStringList { "kept after post" });
}

TEST_F(FolderCursor, AppendTakesTheNextIDWhenAnotherWorkstationTookItsKey)
{
    ASSERT_TRUE(cursor.Open());
    cursor.OnKeyTaken = [](FolderTableCursor& d) {
        QStringList ids;
        for (int row = 0; row < d.RecordCount(); ++row)
            ids << d.RowValue(row, d.FieldIndex("ID")).toString();
        return NextFreeID(ids, d.FieldSize("ID"));
    };
    ASSERT_TRUE(cursor.Append());
    cursor.SetFieldValue("ID", "2");
    cursor.SetFieldValue("OwnerID", "");
    cursor.SetFieldValue("Description", "mine");
    // The other workstation posts folder "2" first.
    ASSERT_TRUE(OtherExec("INSERT INTO MeasureID1 (ID, OwnerID, Description) VALUES ('2', '', 'theirs')"));
    ASSERT_TRUE(cursor.Post());
    EXPECT_EQ(cursor.FieldText("ID"), "3");
    EXPECT_EQ(Column("SELECT ID || '=' || Description FROM MeasureID1 WHERE ID > '1' ORDER BY ID"),
        QStringList({ "2=theirs", "3=mine" }));
}

TEST_F(FolderCursor, EditWritesOnlyWhatChangedAndRefusesAVanishedRow)
{
    ASSERT_TRUE(OtherExec("INSERT INTO MeasureID1 (ID, OwnerID, Description) VALUES ('2', '0', 'a'), "
                          "('3', '0', 'b')"));
    ASSERT_TRUE(cursor.Open());
    ASSERT_TRUE(cursor.FindKey("2"));
    ASSERT_TRUE(cursor.Edit());
    cursor.SetFieldValue("Description", "renamed");
    // Meanwhile another workstation moves the folder.
    ASSERT_TRUE(OtherExec("UPDATE MeasureID1 SET OwnerID = '1' WHERE ID = '2'"));
    ASSERT_TRUE(cursor.Post());
    EXPECT_EQ(
        Column("SELECT OwnerID || ':' || Description FROM MeasureID1 WHERE ID = '2'"), QStringList { "1:renamed" });
    EXPECT_EQ(cursor.FieldText("OwnerID"), "1"); // the post read the rows again

    ASSERT_TRUE(cursor.FindKey("3"));
    ASSERT_TRUE(cursor.Edit());
    cursor.SetFieldValue("Description", "lost?");
    ASSERT_TRUE(OtherExec("DELETE FROM MeasureID1 WHERE ID = '3'"));
    QString error;
    EXPECT_FALSE(cursor.Post(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(cursor.State(), TDataSetState::dsEdit); // the caller decides: cancel
    cursor.Cancel();
    EXPECT_EQ(cursor.State(), TDataSetState::dsBrowse);
}
