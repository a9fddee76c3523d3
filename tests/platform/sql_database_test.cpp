#include "platform/collation.h"
#include "platform/sql_database.h"
#include "tests/support/sql_helpers.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>

using namespace orvek;

namespace {

QSqlDatabase OpenScratch(const char* name = "scratch")
{
    const QString folder = test::TestRoot() + "/db";
    QDir().mkpath(folder);
    QString error;
    QSqlDatabase db = OpenFolderDatabase(name, folder, true, &error);
    EXPECT_TRUE(db.isOpen()) << error.toStdString();
    return db;
}

} // namespace

TEST(Collation, SlovakAndCzechAlphabetOrder)
{
    // Each list is in alphabetical order; shuffled and sorted, it must come back.
    const QStringList ordered[] = {
        { "a", "á", "ä", "b", "c", "č", "d", "ď", "e", "h", "chata", "i" },
        { "cesta", "čaj", "hora", "chlieb", "ihla" },
        { "rak", "Rak", "ryba", "řeka", "sova", "šatka", "zima", "žena" },
        { "ocot", "ôsmy", "pes" },
        { "", " x", "1", "9", "a" },
        { "Čierny", "čierny2", "Dub" },
    };
    for (const QStringList& list : ordered) {
        QStringList sorted = list;
        std::reverse(sorted.begin(), sorted.end());
        std::sort(
            sorted.begin(), sorted.end(), [](const QString& x, const QString& y) { return CompareSlovak(x, y) < 0; });
        EXPECT_EQ(sorted, list) << list.join(',').toStdString();
    }
    EXPECT_EQ(CompareSlovak("Šimon", "Šimon"), 0);
    EXPECT_LT(CompareSlovak("abc", "Abc"), 0); // lower case first when all else is equal
}

TEST(Collation, SortKeysOrderAsTheComparison)
{
    // Names with every kind of difference the comparison knows: alphabet places with
    // "ch", accents, case, a text that starts another, digits, blanks, punctuation,
    // letters of other alphabets, surrogate pairs and code units above the accented
    // letters.
    QStringList names;
    for (const char* name : { "Čapek", "čapek", "Capek", "capek", "Cáp", "cap", "Chalupa", "chalupa", "Cihla", "Hrad",
             "hrad", "Hradec", "hradec Králové", "Hradec-Králové", "Řezník", "rezník", "Rezník", "Šťastný", "stastny",
             "Stastný", "Ťava", "tava", "Žák", "zak", "Zák", "Ondřej", "Ôsmy", "osmy", "Öller", "Ýva", "yva", "Ďurica",
             "durica", "Ľubomír", "lubomir", "Lubomír", "Ĺudo", "Mařík", "Marik", "Novák", "Nováková", "Novák 2",
             "Novák 10", "Novák10", "1. kapitola", "10", "9", "", " ", "a-b", "a b", "ab", "a.b", "Ωμέγα", "ωμέγα",
             "Жук", "жук", "Łódź", "lodz", "ß", "ss", "\xef\xbf\xbd", "\xf0\x9d\x90\x80", "\xef\xbc\xa1", "ch", "c",
             "h", "CH", "Ch", "cH", "chch", "cch", "hch" })
        names << QString::fromUtf8(name);
    const auto sign = [](int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); };
    for (const QString& a : names)
        for (const QString& b : names) {
            const int keys = sign(SlovakSortKey(a).compare(SlovakSortKey(b)));
            EXPECT_EQ(keys, sign(CompareSlovak(a, b))) << a.toStdString() << " / " << b.toStdString();
        }

    // In SQL the key sorts texts as the collation does and keeps NULL, numbers and
    // blobs where SQLite puts them.
    QSqlDatabase db = OpenScratch("sortkeys");
    ASSERT_TRUE(PostStatement(db, "CREATE TABLE Names (Name)"));
    for (const QString& name : names)
        ASSERT_TRUE(PostStatement(db, "INSERT INTO Names VALUES (?)", { name }));
    ASSERT_TRUE(PostStatement(db, "INSERT INTO Names VALUES (NULL), (12), (-3.5), (x'00ff'), (x'')"));
    const auto order = [&](const QString& key) {
        return test::QueryColumn(db, "SELECT quote(Name) FROM Names ORDER BY " + key + ", rowid");
    };
    EXPECT_EQ(order("skcz_key(Name)"), order("Name COLLATE SKCZ"));
    EXPECT_EQ(order("skcz_key(upper(Name)) DESC"), order("upper(Name) COLLATE SKCZ DESC"));
}

TEST(SqlDatabase, CollationUpperAndLikeFoldSlovakLetters)
{
    QSqlDatabase db = OpenScratch();
    ASSERT_TRUE(PostStatement(db, "CREATE TABLE Names (Name TEXT)"));
    for (const char* name : { "žaba", "zebra", "Čaj", "cukor", "chata", "hrad" })
        ASSERT_TRUE(PostStatement(db, "INSERT INTO Names VALUES (?)", { QString::fromUtf8(name) }));
    EXPECT_EQ(test::QueryColumn(db, "SELECT Name FROM Names ORDER BY Name COLLATE SKCZ"),
        QStringList({ "cukor", "Čaj", "hrad", "chata", "zebra", "žaba" }));
    EXPECT_EQ(test::QueryColumn(db, "SELECT upper(?)", { QString::fromUtf8("žltý kôň ťava") }),
        QStringList { QString::fromUtf8("ŽLTÝ KÔŇ ŤAVA") });
    EXPECT_EQ(test::QueryColumn(db, "SELECT lower(?)", { QString::fromUtf8("ČAJ") }),
        QStringList { QString::fromUtf8("čaj") });
    EXPECT_EQ(test::QueryColumn(db, "SELECT Name FROM Names WHERE Name LIKE ? ORDER BY Name COLLATE SKCZ", { "ča%" }),
        QStringList { QString::fromUtf8("Čaj") });
    EXPECT_EQ(test::QueryColumn(db, "SELECT Name FROM Names WHERE Name LIKE ?", { "_aba" }),
        QStringList { QString::fromUtf8("žaba") });
    EXPECT_EQ(test::QueryColumn(db, "SELECT count(*) FROM Names WHERE Name LIKE '%A%'"), QStringList { "5" });
    EXPECT_EQ(test::QueryColumn(db, "SELECT 'a%b' LIKE 'a!%%' ESCAPE '!'"), QStringList { "1" });
    EXPECT_EQ(test::QueryColumn(db, "SELECT 'axb' LIKE 'a!%%' ESCAPE '!'"), QStringList { "0" });
}

TEST(SqlDatabase, QuotedNamesAndBoundValuesCarryAnyText)
{
    QSqlDatabase db = OpenScratch();
    const QString table = "odd \"name\"; DROP TABLE x";
    EXPECT_EQ(QuoteName("a\"b"), "\"a\"\"b\"");
    ASSERT_TRUE(PostStatement(db, "CREATE TABLE " + QuoteName(table) + " (" + QuoteName("col 1") + " TEXT)"));
    EXPECT_TRUE(TableExists(db, table));
    const QString value = "it's \"quoted\"; --";
    ASSERT_TRUE(PostStatement(db, "INSERT INTO " + QuoteName(table) + " VALUES (?)", { value }));
    EXPECT_EQ(
        test::QueryColumn(db, "SELECT " + QuoteName("col 1") + " FROM " + QuoteName(table)), QStringList { value });
}

TEST(SqlDatabase, FailedPostLeavesNothingAndReportsWhy)
{
    QSqlDatabase db = OpenScratch();
    ASSERT_TRUE(PostStatement(db, "CREATE TABLE T (ID INTEGER PRIMARY KEY, V TEXT)"));
    QString error;
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            return ExecBound(query, "INSERT INTO T VALUES (1, 'a')", {}, workError)
                && ExecBound(query, "INSERT INTO T VALUES (1, 'b')", {}, workError);
        },
        &error);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(test::QueryColumn(db, "SELECT count(*) FROM T"), QStringList { "0" });
    int rows = -1;
    ASSERT_TRUE(PostStatement(db, "INSERT INTO T VALUES (2, 'c')", {}, nullptr, &rows));
    EXPECT_EQ(rows, 1);
    // A second connection (another instance) sees the committed row at once.
    QSqlDatabase other = OpenScratch("other");
    EXPECT_EQ(test::QueryColumn(other, "SELECT V FROM T"), QStringList { "c" });
}

TEST(SqlDatabase, MissingFileIsNotCreatedOnRequest)
{
    QString error;
    QSqlDatabase db = OpenFolderDatabase("absent", test::TestRoot() + "/nowhere", false, &error);
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(FolderDatabasePath(test::TestRoot() + "/nowhere")));
}
