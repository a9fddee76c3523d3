#include "core/common_vars.h"
#include "database/empty_database.h"
#include "database/password_hash.h"
#include "database/table_set.h"
#include "platform/sql_database.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

QSqlDatabase OpenBuiltEmptyDatabase()
{
    QString error;
    QSqlDatabase db = OpenFolderDatabase("empty", test::TestProgramFolder() + "EmptyDatabase", false, &error);
    EXPECT_TRUE(db.isOpen()) << error.toStdString();
    return db;
}

QString SchemaPath()
{
    return QDir::cleanPath(QString(ORVEK_TEST_DATA_DIR) + "/../../data/schema/empty_database.sql");
}

} // namespace

TEST(EmptyDatabase, HoldsEveryRequiredTableAndTheFirstAdministrator)
{
    QSqlDatabase db = OpenBuiltEmptyDatabase();
    const QStringList tables = TableNames(db);
    for (const QString& table : RequiredTables())
        EXPECT_TRUE(tables.contains(table)) << table.toStdString();
    EXPECT_TRUE(tables.contains(kParametersTable));

    QSqlQuery query(db);
    ASSERT_TRUE(ExecBound(query,
        "SELECT ID, UserRights, UserGroup, Aktivny, UserName, UserPassword, PasswordHash, "
        "MustChangePassword FROM Administration"));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 1);
    EXPECT_EQ(query.value(1).toInt(), 1);
    EXPECT_EQ(query.value(4).toString(), kFirstAdministratorName);
    EXPECT_EQ(query.value(5).toString(), ""); // no password in plain text
    EXPECT_TRUE(VerifyPassword(kFirstAdministratorPassword, query.value(6).toString()));
    EXPECT_EQ(query.value(7).toInt(), 1);
    EXPECT_FALSE(query.next());

    EXPECT_EQ(DeclaredFieldSize(db, "Administration", "UserPassword"), 50);
    EXPECT_EQ(DeclaredFieldSize(db, "Administration", "FirstName"), 30);
    EXPECT_EQ(DeclaredFieldSize(db, "TreeDB", "IDDB1"), 5);
    EXPECT_EQ(DeclaredFieldSize(db, "TreeDB", "Strom"), -1);

    for (const char* table : { "MeasureID1", "TemplateID1" }) {
        QSqlQuery folders(db);
        ASSERT_TRUE(ExecBound(folders, QString("SELECT ID, Description FROM %1 ORDER BY ID").arg(table)));
        QStringList ids;
        while (folders.next()) {
            ids << folders.value(0).toString();
            EXPECT_FALSE(folders.value(1).toString().isEmpty());
        }
        EXPECT_EQ(ids, QStringList({ "0", "1" })) << table;
    }
}

TEST(EmptyDatabase, ControlChartFactorsMatchThePublishedTable)
{
    // n, A2, A3, D3, D4, d2 from the published table of control-chart constants.
    const struct {
        int n;
        double a2, a3, d3, d4, d2;
    } published[] = {
        { 2, 1.880, 2.659, 0.0, 3.267, 1.128 },
        { 5, 0.577, 1.427, 0.0, 2.114, 2.326 },
        { 25, 0.153, 0.606, 0.459, 1.541, 3.931 },
    };
    QSqlDatabase db = OpenBuiltEmptyDatabase();
    QSqlQuery count(db);
    ASSERT_TRUE(
        ExecBound(count, "SELECT count(*), min(NrPoints), max(NrPoints), count(DISTINCT NrPoints) FROM RD_Parameters"));
    ASSERT_TRUE(count.next());
    EXPECT_EQ(count.value(0).toInt(), 24);
    EXPECT_EQ(count.value(1).toInt(), 2);
    EXPECT_EQ(count.value(2).toInt(), 25);
    EXPECT_EQ(count.value(3).toInt(), 24);
    for (const auto& row : published) {
        QSqlQuery query(db);
        ASSERT_TRUE(ExecBound(query, "SELECT A2, A3, D3, D4, _d2 FROM RD_Parameters WHERE NrPoints = ?", { row.n }));
        ASSERT_TRUE(query.next()) << row.n;
        EXPECT_DOUBLE_EQ(query.value(0).toDouble(), row.a2) << row.n;
        EXPECT_DOUBLE_EQ(query.value(1).toDouble(), row.a3) << row.n;
        EXPECT_DOUBLE_EQ(query.value(2).toDouble(), row.d3) << row.n;
        EXPECT_DOUBLE_EQ(query.value(3).toDouble(), row.d4) << row.n;
        EXPECT_DOUBLE_EQ(query.value(4).toDouble(), row.d2) << row.n;
    }
}

TEST(EmptyDatabase, RowChangeCounterIgnoresTheLockField)
{
    const QString folder = test::TestRoot() + "/built";
    QDir().mkpath(folder);
    QString error;
    ASSERT_TRUE(BuildEmptyDatabase(SchemaPath(), folder, DefaultMainStringEntries(), &error)) << error.toStdString();
    // Building over an existing database is refused.
    EXPECT_FALSE(BuildEmptyDatabase(SchemaPath(), folder, DefaultMainStringEntries()));
    QSqlDatabase db = OpenFolderDatabase("built", folder, false, &error);
    ASSERT_TRUE(db.isOpen());
    for (const char* table : { "TreeDB", "TemplateDB" }) {
        const QString t = table;
        const QString name = t == "TreeDB" ? "NazovMerania" : "TemplateName";
        ASSERT_TRUE(PostStatement(db, "INSERT INTO " + t + " (" + name + ") VALUES ('x')"));
        const auto counter = [&] {
            QSqlQuery query(db);
            EXPECT_TRUE(ExecBound(query, "SELECT ChangeCounter FROM " + t));
            return query.next() ? query.value(0).toInt() : -1;
        };
        EXPECT_EQ(counter(), 0);
        ASSERT_TRUE(PostStatement(db, "UPDATE " + t + " SET OpenedByUserID = 5"));
        ASSERT_TRUE(PostStatement(db, "UPDATE " + t + " SET OpenedByUserID = 0"));
        EXPECT_EQ(counter(), 0) << table;
        ASSERT_TRUE(PostStatement(db, "UPDATE " + t + " SET " + name + " = 'y', OpenedByUserID = 3"));
        EXPECT_EQ(counter(), 1) << table;
        ASSERT_TRUE(PostStatement(db, "UPDATE " + t + " SET Strom = ?", { QString(5000, 'z') }));
        EXPECT_EQ(counter(), 2) << table;
        ASSERT_TRUE(PostStatement(db, "UPDATE " + t + " SET Strom = Strom")); // no change
        EXPECT_EQ(counter(), 2) << table;
    }
}

TEST(PasswordHash, VerifiesOnlyTheRightPasswordAndRejectsMalformedHashes)
{
    const QString stored = HashPassword(QString::fromUtf8("heslo Žltý 1"), 1000);
    EXPECT_TRUE(stored.startsWith("pbkdf2-sha256$1000$"));
    EXPECT_TRUE(VerifyPassword(QString::fromUtf8("heslo Žltý 1"), stored));
    EXPECT_FALSE(VerifyPassword(QString::fromUtf8("heslo Zltý 1"), stored));
    EXPECT_FALSE(VerifyPassword("", stored));
    EXPECT_NE(HashPassword("same", 1000), HashPassword("same", 1000)); // fresh salt each time
    for (const QString& bad : { QString(), QString("plain"), QString("pbkdf2-sha256$0$AAAA$AAAA"),
             QString("pbkdf2-sha256$1000$$"), QString("md5$1$a$b"), stored.left(stored.size() - 4) })
        EXPECT_FALSE(VerifyPassword("plain", bad)) << bad.toStdString();
}
