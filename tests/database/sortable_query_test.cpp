#include "database/sortable_query.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

class SortableQuery : public ::testing::Test {
protected:
    void SetUp() override
    {
        records = test::TestRoot() + "/records";
        answers = test::TestRoot() + "/answers";
        QDir().mkpath(records);
        QDir().mkpath(answers);
        session.SetAlias("OrvekDB", records);
        ASSERT_TRUE(session.SetActive(true));
        QSqlDatabase db = session.Database("OrvekDB", true);
        ASSERT_TRUE(PostStatement(db, "CREATE TABLE TreeDB (ID INTEGER PRIMARY KEY, Name TEXT, Size INTEGER)"));
        const std::pair<const char*, int> rows[]
            = { { "žaba", 3 }, { "Chata", 10 }, { "cukor", 2 }, { "Čaj", 2 }, { "hrad", 1 } };
        for (const auto& [name, size] : rows)
            ASSERT_TRUE(
                PostStatement(db, "INSERT INTO TreeDB (Name, Size) VALUES (?, ?)", { QString::fromUtf8(name), size }));
    }
    QStringList Names(TSortableQuery& query)
    {
        QStringList names;
        for (int row = 0; row < query.RowCount(); ++row)
            names << query.Field(row, 1).toString();
        return names;
    }
    bool AnswerExists(const QString& table)
    {
        QSqlDatabase db = OpenFolderDatabase("check", answers, false);
        return db.isOpen() && TableExists(db, table);
    }
    DatabaseSession session { "S" };
    QString records, answers;
};

} // namespace

TEST_F(SortableQuery, AnswerTableIsSortedInPlaceWithSlovakOrderAndCaseFlags)
{
    TSortableQuery query(&session);
    query.DatabaseName = "OrvekDB";
    query.SQL = "SELECT Name, Size FROM TreeDB WHERE Size < ? ORDER BY ID";
    query.Params = { 5 };
    query.AnswerDirectory = answers;
    query.AnswerTableName = "Q1234.db";
    EXPECT_EQ(query.AnswerTable(), "Q1234");
    EXPECT_EQ(query.DriverName(), "PARADOX");
    QString error;
    ASSERT_TRUE(query.Open(&error)) << error.toStdString();
    EXPECT_TRUE(AnswerExists("Q1234"));
    EXPECT_EQ(Names(query), QStringList({ QString::fromUtf8("žaba"), "cukor", QString::fromUtf8("Čaj"), "hrad" }));

    int sorted = 0;
    ASSERT_TRUE(query.SortAnswerTable(1, { 1 }, { 0 }, { true }, sorted, &error)) << error.toStdString();
    EXPECT_EQ(sorted, 4);
    EXPECT_EQ(Names(query), QStringList({ "cukor", QString::fromUtf8("Čaj"), "hrad", QString::fromUtf8("žaba") }));
    // By size descending, then name: the statement is not run again (the answer table
    // holds only the rows it returned).
    ASSERT_TRUE(query.SortAnswerTable(2, { 2, 1 }, { 1, 0 }, { false, true }, sorted, &error));
    EXPECT_EQ(Names(query), QStringList({ QString::fromUtf8("žaba"), "cukor", QString::fromUtf8("Čaj"), "hrad" }));
    EXPECT_FALSE(query.SortAnswerTable(1, { 9 }, { 0 }, { false }, sorted, &error));
    query.Close();
    EXPECT_FALSE(AnswerExists("Q1234"));
}

TEST_F(SortableQuery, KeptAnswerTableAndRefusedLiveResult)
{
    TSortableQuery query(&session);
    query.DatabaseName = "OrvekDB";
    query.SQL = "SELECT Name FROM TreeDB";
    query.AnswerDirectory = answers;
    query.AnswerTableName = "MainTab1";
    query.AnswerDelete = false;
    query.RequestLive = true;
    QString error;
    EXPECT_FALSE(query.Open(&error));
    EXPECT_EQ(error, TSortableQuery::kRequestLiveText);
    query.RequestLive = false;
    ASSERT_TRUE(query.Open(&error)) << error.toStdString();
    query.Close();
    EXPECT_TRUE(AnswerExists("MainTab1"));
    query.AnswerOverwrite = false;
    EXPECT_FALSE(query.Open(&error));
    query.SQL = "SELECT nonsense FROM";
    query.AnswerOverwrite = true;
    EXPECT_FALSE(query.Open(&error));
    EXPECT_FALSE(query.Active());
}

// The rows are sorted in memory as SQLite sorts the answer by skcz_key of each field
// (upper-cased texts where the case is ignored), ties in the answer's order: NULL,
// numbers, texts in Slovak/Czech order, blobs. The answer table holds the new order.
TEST_F(SortableQuery, SortInMemoryOrdersAsTheSqlSortKeysDo)
{
    QSqlDatabase db = session.Database("OrvekDB", true);
    ASSERT_TRUE(PostStatement(db, "CREATE TABLE Mixed (ID INTEGER PRIMARY KEY, A, B)"));
    const QVariantList as = { QVariant(), 3, 2.5, -1, QString(""), QString::fromUtf8("čaj"), "Chata", "cukor", "hrad",
        QString::fromUtf8("Čaj"), "CHATA", QByteArray("\x01z"), QByteArray(""), 2, 2.0, QString("2"), QVariant(),
        QString::fromUtf8("žaba"), "Zebra", "zebra", QString::fromUtf8("ďateľ"), "dub", "a", "A", QString::fromUtf8("á") };
    for (int i = 0; i < as.size(); ++i)
        ASSERT_TRUE(PostStatement(db, "INSERT INTO Mixed (A, B) VALUES (?, ?)", { as[i], (i * 7) % 5 }));
    struct Case {
        QVector<int> fields, orders;
        QVector<bool> fold;
        const char* orderBy;
    };
    const char* foldA = "skcz_key(CASE WHEN typeof(A) = 'text' THEN upper(A) ELSE A END)";
    const Case cases[] = {
        { { 2 }, { 0 }, { false }, "skcz_key(A)" },
        { { 2 }, { 1 }, { false }, "skcz_key(A) DESC" },
        { { 2 }, { 0 }, { true }, foldA },
        { { 3, 2 }, { 1, 0 }, { false, true }, "skcz_key(B) DESC, %1" },
        { { 3, 2 }, { 0, 1 }, { false, false }, "skcz_key(B), skcz_key(A) DESC" },
    };
    for (const Case& c : cases) {
        const QString orderBy = QString::fromLatin1(c.orderBy).replace("%1", QString::fromLatin1(foldA));
        SCOPED_TRACE(orderBy.toStdString());
        QSqlQuery expected(db);
        ASSERT_TRUE(expected.exec("SELECT ID FROM Mixed ORDER BY " + orderBy + ", ID"));
        QVariantList ids;
        while (expected.next())
            ids << expected.value(0);
        TSortableQuery query(&session);
        query.DatabaseName = "OrvekDB";
        query.SQL = "SELECT ID, A, B FROM Mixed ORDER BY ID";
        query.AnswerDirectory = answers;
        query.AnswerTableName = "Sorted";
        QString error;
        ASSERT_TRUE(query.Open(&error)) << error.toStdString();
        int sorted = 0;
        ASSERT_TRUE(query.SortAnswerTable(int(c.fields.size()), c.fields, c.orders, c.fold, sorted, &error))
            << error.toStdString();
        EXPECT_EQ(sorted, as.size());
        QVariantList got;
        for (int row = 0; row < query.RowCount(); ++row)
            got << query.Field(row, 1);
        EXPECT_EQ(got, ids);
        QSqlDatabase answerDb = OpenFolderDatabase("check", answers, false);
        QSqlQuery stored(answerDb);
        ASSERT_TRUE(stored.exec("SELECT ID FROM Sorted ORDER BY rowid"));
        QVariantList storedIds;
        while (stored.next())
            storedIds << stored.value(0);
        EXPECT_EQ(storedIds, ids);
        // A second sort starts from the order the first one left.
        ASSERT_TRUE(query.SortAnswerTable(1, { 1 }, { 1 }, { false }, sorted, &error));
        EXPECT_EQ(query.Field(0, 1).toInt(), as.size());
    }
}

// The answer is read whole when it opens and after each sort: no cursor stays inside the
// answer's database, so a writer of another connection to it is never kept waiting.
TEST_F(SortableQuery, AnOpenAnswerHoldsNoLockOnItsDatabase)
{
    TSortableQuery query(&session);
    query.DatabaseName = "OrvekDB";
    query.SQL = "SELECT Name, Size FROM TreeDB ORDER BY ID";
    query.AnswerDirectory = answers;
    query.AnswerTableName = "Held";
    QString error;
    ASSERT_TRUE(query.Open(&error)) << error.toStdString();
    int sorted = 0;
    QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "writer");
    other.setDatabaseName(FolderDatabasePath(answers));
    other.setConnectOptions("QSQLITE_BUSY_TIMEOUT=100");
    ASSERT_TRUE(other.open());
    for (int step = 0; step < 2; ++step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(query.RowCount(), 5);
        EXPECT_EQ(query.Field(1, 1).toString(), step == 0 ? "Chata" : "cukor");
        EXPECT_FALSE(query.Field(5, 1).isValid());
        EXPECT_FALSE(query.Field(0, 3).isValid());
        QSqlQuery write(other);
        EXPECT_TRUE(write.exec(QString("CREATE TABLE Other%1 (x)").arg(step)))
            << write.lastError().text().toStdString();
        ASSERT_TRUE(query.SortAnswerTable(1, { 2 }, { 0 }, { false }, sorted, &error)) << error.toStdString();
    }
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase("writer");
    query.Close();
    EXPECT_EQ(query.RowCount(), 0);
}
