#include "database/upgrade.h"

#include "core/logs.h"
#include "database/folder_groups.h"
#include "platform/db_session.h"
#include "tests/support/sql_helpers.h"
#include "tests/support/user_database_fixture.h"

#include <QSqlError>

namespace orvek {
namespace {

class Upgrade : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        QFile::remove(AppDir + kTraceFileName);
        db = module->SessionOrvek().Database(AliasDB);
        ASSERT_TRUE(db.isOpen());
    }
    void TearDown() override
    {
        db = QSqlDatabase();
        test::UserDatabase::TearDown();
    }

    // Statements run as another workstation (or an older program) would.
    static void Exec(const QString& sql, const QVariantList& values = {})
    {
        QSqlDatabase other = Other();
        QSqlQuery query(other);
        ASSERT_TRUE(ExecBound(query, sql, values))
            << sql.toStdString() << ": " << query.lastError().text().toStdString();
    }

    // TreeDB as an older program made it: the given column definitions only.
    static void MakeOldTreeDB(const QStringList& columns)
    {
        Exec("DROP TABLE TreeDB");
        Exec("CREATE TABLE TreeDB (" + columns.join(", ") + ")");
    }

    static QString ErrFile()
    {
        QFile log(AppDir + kTraceFileName);
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    // Everything a second run must leave as it was: the schema and every row of TreeDB.
    QStringList Snapshot()
    {
        QStringList state = test::QueryColumn(db,
            "SELECT type || ' ' || name || ': ' || ifnull(sql, '') FROM "
            "sqlite_master ORDER BY type, name");
        QSqlQuery query(db);
        EXPECT_TRUE(ExecBound(query, "SELECT * FROM TreeDB ORDER BY rowid"));
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << query.record().fieldName(i) + "=" + query.value(i).toString();
            state << row.join("|");
        }
        return state;
    }

    // A step that cannot succeed (a missing key) is logged again on every run.
    void ExpectSecondRunChangesNothing(bool sameErrorFile = true)
    {
        const QStringList before = Snapshot();
        const QString errors = ErrFile();
        const TUpgradeOutcome again = UpgradeDatabaseStructure(db);
        EXPECT_TRUE(again.AddedColumns.isEmpty()) << again.AddedColumns.join(",").toStdString();
        EXPECT_TRUE(again.CreatedTables.isEmpty()) << again.CreatedTables.join(",").toStdString();
        EXPECT_EQ(again.MigratedRecords, 0);
        EXPECT_TRUE(again.FolderColumnsFound);
        EXPECT_EQ(Snapshot(), before);
        if (sameErrorFile) {
            EXPECT_EQ(ErrFile(), errors);
        }
    }

    QSqlDatabase db;
};

TEST_F(Upgrade, CurrentDatabaseGainsOnlyTheHistoryColumn)
{
    Exec("INSERT INTO TreeDB (GroupID, IDDB1, NazovMerania, Deleted) VALUES (1, '0', 'a', 0)");
    const TUpgradeOutcome outcome = UpgradeDatabaseStructure(db);
    EXPECT_TRUE(outcome.FolderColumnsFound);
    EXPECT_TRUE(outcome.AddedColumns.isEmpty());
    EXPECT_TRUE(outcome.FailedSteps.isEmpty());
    EXPECT_EQ(outcome.FirstGroupFolderTable, "MeasureID1");
    EXPECT_TRUE(ColumnNames(db, "History").contains("TreeID"));
    EXPECT_EQ(GroupCount, 1);
    EXPECT_TRUE(test::DialogScript::Instance().Shown().isEmpty());
    ExpectSecondRunChangesNothing();
}

// The login records of one user are read through the index on the user column, which a
// database made before it existed gains.
TEST_F(Upgrade, LoginRecordsGainTheUserIndex)
{
    const QString indexes = "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'Logs'";
    ASSERT_EQ(test::QueryColumn(db, indexes), QStringList { "PracovnikID_IDX" });
    Exec("DROP INDEX PracovnikID_IDX");
    const TUpgradeOutcome outcome = UpgradeDatabaseStructure(db);
    EXPECT_TRUE(outcome.FailedSteps.isEmpty());
    EXPECT_EQ(test::QueryColumn(db, indexes), QStringList { "PracovnikID_IDX" });
    ExpectSecondRunChangesNothing();
}

// Older record tables get each missing column; the key cannot be added to a table that
// exists, which is logged under the step's text while the other columns still come.
TEST_F(Upgrade, OlderRecordTableGetsItsMissingColumns)
{
    const QStringList base { "GroupID INTEGER", "OpenedByUserID INTEGER NOT NULL DEFAULT 0", "Deleted INTEGER",
        "FromTemplateID INTEGER", "PracovnikID INTEGER", "MenoPracovnika VARCHAR(50)", "NazovVzoru VARCHAR(100)",
        "NazovMerania VARCHAR(100)", "Poznamky TEXT", "Strom TEXT", "IDDB1 VARCHAR(5) NOT NULL DEFAULT '0'",
        "ChangeCounter INTEGER NOT NULL DEFAULT 0" };
    struct Case {
        const char* what;
        QStringList columns;
        QStringList added;
        bool keyLogged;
    };
    const Case cases[] = {
        { "without SampleID and Datum", QStringList { "ID INTEGER PRIMARY KEY AUTOINCREMENT" } + base,
            { "SampleID", "Datum" }, false },
        { "without its key", base + QStringList { "SampleID VARCHAR(30)" }, { "Datum" }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(AppDir + kTraceFileName);
        MakeOldTreeDB(c.columns);
        Exec("INSERT INTO TreeDB (GroupID, IDDB1, NazovMerania, Deleted) VALUES (1, '2', 'old', 0)");
        // This connection read the schema before the other one changed it.
        const TUpgradeOutcome outcome = UpgradeDatabaseStructure(db);
        EXPECT_EQ(outcome.AddedColumns, c.added);
        EXPECT_EQ(ErrFile().contains("Error: Actualize NameListOfDB_Measurements"), c.keyLogged)
            << ErrFile().toStdString();
        EXPECT_EQ(DeclaredFieldSize(db, "TreeDB", "SampleID"), 30);
        EXPECT_EQ(test::QueryColumn(db, "SELECT NazovMerania || '/' || IDDB1 FROM TreeDB"), QStringList { "old/2" });
        // The row change counter covers the added columns: a change of Datum is a head
        // edit and leaves the counter, a change of the diagram raises it.
        Exec("UPDATE TreeDB SET Datum = '2026-02-02'");
        EXPECT_EQ(test::QueryColumn(db, "SELECT ChangeCounter FROM TreeDB"), QStringList { "0" });
        Exec("UPDATE TreeDB SET Strom = 'x'");
        EXPECT_EQ(test::QueryColumn(db, "SELECT ChangeCounter FROM TreeDB"), QStringList { "1" });
        ExpectSecondRunChangesNothing(!c.keyLogged);
    }
}

TEST_F(Upgrade, DatabaseWithoutGroupsIsConverted)
{
    Exec("DROP TABLE MeasureNameList");
    Exec("DROP TABLE MeasureID1");
    MakeOldTreeDB({ "ID INTEGER PRIMARY KEY AUTOINCREMENT", "SampleID VARCHAR(30)", "GroupID INTEGER",
        "OpenedByUserID INTEGER NOT NULL DEFAULT 0", "Deleted INTEGER", "FromTemplateID INTEGER", "PracovnikID INTEGER",
        "MenoPracovnika VARCHAR(50)", "Datum TEXT", "NazovVzoru VARCHAR(100)", "NazovMerania VARCHAR(100)",
        "Poznamky TEXT", "Strom TEXT", "ChangeCounter INTEGER NOT NULL DEFAULT 0" });
    Exec("INSERT INTO TreeDB (GroupID, NazovMerania, Deleted) VALUES (1, 'kept', 0), (1, 'thrown away', 1)");
    test::DialogScript::Instance().AnswerMessage(mrYes);
    test::DialogScript::Instance().AnswerMessage(mrYes);

    const TUpgradeOutcome outcome = UpgradeDatabaseStructure(db);
    EXPECT_EQ(test::DialogScript::Instance().Shown(), (QStringList { GetString(839), GetString(837) }));
    EXPECT_TRUE(test::DialogScript::Instance().AllAnswered());
    EXPECT_FALSE(outcome.FolderColumnsFound);
    EXPECT_EQ(outcome.AddedColumns, QStringList { "IDDB1" });
    EXPECT_TRUE(outcome.FailedSteps.isEmpty()) << outcome.FailedSteps.join(",").toStdString();
    EXPECT_EQ(test::QueryColumn(db, "SELECT ID || ' ' || Description FROM MeasureNameList"),
        QStringList { "1 " + GetString(838) });
    EXPECT_EQ(test::QueryColumn(db, "SELECT ID || ' ' || OwnerID || ' ' || Description FROM MeasureID1 ORDER BY ID"),
        (QStringList { "0  " + GetString(832), "1  " + GetString(878) }));
    EXPECT_EQ(test::QueryColumn(db, "SELECT NazovMerania || ' ' || IDDB1 || ' ' || Deleted FROM TreeDB ORDER BY ID"),
        (QStringList { "kept 0 0", "thrown away 1 0" }));
    EXPECT_EQ(outcome.MigratedRecords, 1);
    EXPECT_EQ(outcome.FirstGroupID, 1);
    EXPECT_EQ(outcome.FirstGroupFolderTable, "MeasureID1");
    EXPECT_EQ(GroupCount, 1);
    ExpectSecondRunChangesNothing();
}

TEST_F(Upgrade, DeletedRecordsMoveToTheDeletedFolderOfEveryGroup)
{
    int second = 0;
    ASSERT_TRUE(CreateFolderGroup(db, "Second", second));
    Exec("INSERT INTO TreeDB (GroupID, IDDB1, " + GroupFolderColumn(second)
        + ", NazovMerania, Deleted) VALUES (1, '5', '7', 'gone', 1), (1, '5', '0', 'stays', 0), "
          "(2, '0', '3', 'gone too', 1)");
    const QStringList counters = test::QueryColumn(db, "SELECT ChangeCounter FROM TreeDB ORDER BY ID");

    const TUpgradeOutcome outcome = UpgradeDatabaseStructure(db);
    EXPECT_EQ(outcome.MigratedRecords, 2);
    EXPECT_EQ(test::QueryColumn(db,
                  "SELECT NazovMerania || ' ' || IDDB1 || ' ' || " + GroupFolderColumn(second)
                      + " || ' ' || Deleted FROM TreeDB ORDER BY ID"),
        (QStringList { "gone 1 1 0", "stays 5 0 0", "gone too 1 1 0" }));
    EXPECT_EQ(test::QueryColumn(db, "SELECT ChangeCounter FROM TreeDB WHERE NazovMerania = 'stays'"),
        QStringList { counters.at(1) });
    EXPECT_EQ(MigrateDeletedRecords(db), 0);
    ExpectSecondRunChangesNothing();
}

} // namespace
} // namespace orvek
