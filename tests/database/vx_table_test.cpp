#include "database/vx_table.h"

#include "platform/db_session.h"
#include "tests/support/user_database_fixture.h"

namespace orvek {
namespace {

using VxTableRows = test::UserDatabase;

// Another workstation adds a column while this one has the table's schema cached; reading
// a row afterwards must neither crash nor lose the columns it already knew.
TEST_F(VxTableRows, RowSurvivesAColumnAddedByAnotherConnection)
{
    TVxTable tree(&module->SessionOrvek());
    tree.DatabaseName = AliasDB;
    tree.TableName = "TreeDB";
    ASSERT_TRUE(tree.Open());
    const qint64 id = tree.Append({ { "NazovMerania", "Mass" }, { "SampleID", "S-1" }, { "GroupID", 1 } });
    ASSERT_GT(id, 0);
    ASSERT_EQ(tree.Row(id).value("NazovMerania").toString(), "Mass");

    for (const char* column : { "IDDB2", "IDDB3" }) {
        QSqlDatabase other = Other();
        QSqlQuery alter(other);
        ASSERT_TRUE(ExecBound(alter, QString("ALTER TABLE TreeDB ADD COLUMN %1 VARCHAR(5)").arg(column)));
        const QVariantMap row = tree.Row(id);
        EXPECT_EQ(row.value("NazovMerania").toString(), "Mass");
        EXPECT_EQ(row.value("SampleID").toString(), "S-1");
        EXPECT_EQ(row.value("ID").toLongLong(), id);
    }
    // Once the connection has read the new schema, the new columns are part of the row.
    EXPECT_TRUE(tree.Row(id).contains("IDDB3"));
    EXPECT_TRUE(tree.Row(id + 1000).isEmpty());
}

} // namespace
} // namespace orvek
