#include "core/common_vars.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/chart_factors.h"
#include "database/data_module.h"
#include "database/table_set.h"
#include "database/vx_table.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

class DataModuleOpen : public ::testing::Test {
protected:
    void SetUp() override
    {
        CommonInit();
        LanguageID = 0;
        ChartFactors = {};
    }
    void TearDown() override { CommonDone(); }

    // A database folder holding a copy of the empty database.
    static void CopyEmptyDatabase()
    {
        QDir().mkpath(DatabaseDir);
        ASSERT_TRUE(QFile::copy(FolderDatabasePath(EmptyDatabaseDir), FolderDatabasePath(DatabaseDir)));
    }
    static QSqlDatabase Direct(const QString& name = "direct")
    {
        QString error;
        QSqlDatabase db = OpenFolderDatabase(name, DatabaseDir, false, &error);
        EXPECT_TRUE(db.isOpen()) << error.toStdString();
        return db;
    }
    static QString ErrorLog()
    {
        QFile log(AppDir + kErrorLogFile);
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }
    static QString DbStatus()
    {
        QString status;
        ReadDBStatus(status);
        return status;
    }
};

} // namespace

TEST_F(DataModuleOpen, FirstStartCreatesTheFolderAndOpensTheTables)
{
    QDir(DatabaseDir).removeRecursively();
    {
        TDataModule1 module;
        EXPECT_TRUE(module.TablesOpen());
        EXPECT_TRUE(QFile::exists(FolderDatabasePath(DatabaseDir)));
        EXPECT_EQ(UserPasswordSize, 50);
        EXPECT_EQ(UserNameSize, 50);
        EXPECT_EQ(FirstNameSize, 30);
        EXPECT_EQ(LastNameSize, 50);
        EXPECT_DOUBLE_EQ(ChartFactors[5][kA2], 0.577);
        EXPECT_DOUBLE_EQ(ChartFactors[25][kd2], 3.931);
        ASSERT_EQ(GroupCount, 1);
        QString name;
        // The one group of a new database is named in the program's language.
        GetGroupName(1, name);
        EXPECT_EQ(name, "Group 1");
        GetGroupName(7, name);
        EXPECT_EQ(name, "");
        EXPECT_EQ(DbStatus(), "Open");
        EXPECT_EQ(module.SessionOrvek().AliasParams(AliasDB), QStringList { "PATH=" + DatabaseDir });
    }
    EXPECT_EQ(DbStatus(), "Close");
    EXPECT_TRUE(test::DialogScript::Instance().Shown().isEmpty());
}

TEST_F(DataModuleOpen, EmptyFolderIsFilledWithoutOverwritingWhatIsThere)
{
    // The folder holds only a factor table of its own: kept, the rest filled in.
    QDir().mkpath(DatabaseDir);
    {
        QSqlDatabase db = OpenFolderDatabase("own", DatabaseDir, true);
        ASSERT_TRUE(PostStatement(db,
            "CREATE TABLE RD_Parameters (ID INTEGER PRIMARY KEY AUTOINCREMENT, NrPoints "
            "INTEGER, A1 REAL, A2 REAL, A3 REAL, D1 REAL, D2 REAL, D3 REAL, D4 REAL, _d2 REAL, "
            "_C4 REAL)"));
        ASSERT_TRUE(PostStatement(db,
            "INSERT INTO RD_Parameters (NrPoints, A1, A2, A3, D1, D2, D3, D4, _d2, _C4) "
            "VALUES (5, 1, 9.5, 1, 1, 1, 1, 1, 1, 1)"));
    }
    CloseFolderDatabase("own");
    TDataModule1 module;
    EXPECT_TRUE(module.TablesOpen());
    EXPECT_DOUBLE_EQ(ChartFactors[5][kA2], 9.5);
    EXPECT_DOUBLE_EQ(ChartFactors[2][kA2], 0.0);
    QSqlDatabase db = Direct();
    for (const QString& table : RequiredTables())
        EXPECT_TRUE(TableExists(db, table)) << table.toStdString();
    EXPECT_TRUE(TableHasPassword(db, "Administration")); // the filled tables are protected too
    QSqlQuery query(db);
    ASSERT_TRUE(ExecBound(query, "SELECT count(*) FROM RD_Parameters"));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 1);
}

TEST_F(DataModuleOpen, MissingFactorTableIsRestoredSilently)
{
    CopyEmptyDatabase();
    {
        QSqlDatabase db = Direct("drop");
        ASSERT_TRUE(PostStatement(db, "DROP TABLE RD_Parameters"));
    }
    CloseFolderDatabase("drop");
    TDataModule1 module;
    EXPECT_TRUE(module.TablesOpen());
    EXPECT_TRUE(TableCheckReport.isEmpty()) << TableCheckReport.toStdString();
    EXPECT_DOUBLE_EQ(ChartFactors[2][kD4], 3.267);
    EXPECT_TRUE(ErrorLog().isEmpty());
}

TEST_F(DataModuleOpen, OneMissingTableLeavesTheTablesClosedAndIsReported)
{
    CopyEmptyDatabase();
    {
        QSqlDatabase db = Direct("drop");
        ASSERT_TRUE(PostStatement(db, "DROP TABLE Jednotky"));
    }
    CloseFolderDatabase("drop");
    TDataModule1 module;
    EXPECT_FALSE(module.TablesOpen());
    EXPECT_EQ(MissingDatabaseFileCount, 1);
    EXPECT_EQ(TableCheckReport, GetString(516) + "\nJednotky\n");
    EXPECT_FALSE(GetString(516).isEmpty());
    EXPECT_TRUE(ErrorLog().contains("Jednotky"));
    EXPECT_EQ(GroupCount, 0);
    EXPECT_EQ(module.CountMissingDatabaseFiles(DatabaseDir), 1);
    EXPECT_EQ(module.VerifyAllTables(DatabaseDir), 99999);
    // Nothing was copied into the incomplete folder.
    QSqlDatabase db = Direct();
    EXPECT_FALSE(TableExists(db, "Jednotky"));
}

TEST_F(DataModuleOpen, BadFactorRowsAreSkippedAndLoggedAndTheRestLoads)
{
    CopyEmptyDatabase();
    {
        QSqlDatabase db = Direct("bad");
        ASSERT_TRUE(PostStatement(db, "INSERT INTO RD_Parameters (NrPoints, A2) VALUES (1, 7), (26, 7)"));
        ASSERT_TRUE(PostStatement(db, "UPDATE RD_Parameters SET _C4 = NULL, A2 = 99 WHERE NrPoints = 3"));
        ASSERT_TRUE(PostStatement(
            db, "INSERT INTO MeasureNameList (Description) VALUES (?)", { QString::fromUtf8("Skupina Ž") }));
    }
    CloseFolderDatabase("bad");
    TDataModule1 module;
    EXPECT_TRUE(module.TablesOpen());
    EXPECT_DOUBLE_EQ(ChartFactors[3][kA2], 0.0);
    EXPECT_DOUBLE_EQ(ChartFactors[4][kA2], 0.729);
    EXPECT_EQ(GroupCount, 2);
    QString name;
    GetGroupName(2, name);
    EXPECT_EQ(name, QString::fromUtf8("Skupina Ž"));
    EXPECT_EQ(DbStatus(), "Open");
    const QString log = ErrorLog();
    EXPECT_TRUE(log.contains("NrPoints 1 ")) << log.toStdString();
    EXPECT_TRUE(log.contains("NrPoints 26 "));
    EXPECT_TRUE(log.contains("NrPoints 3 "));
}

TEST_F(DataModuleOpen, UnreadableDatabaseFileFailsTheStartWithBoxAndLog)
{
    QDir().mkpath(DatabaseDir);
    QFile file(FolderDatabasePath(DatabaseDir));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    test::DialogScript::Instance().AnswerMessage(mrOk);
    TDataModule1 module;
    EXPECT_FALSE(module.TablesOpen());
    EXPECT_FALSE(module.SessionOrvek().Active());
    ASSERT_EQ(test::DialogScript::Instance().Shown().size(), 1);
    EXPECT_TRUE(DatabaseErrorText.startsWith(
        "Exception:\nTemporaryFilePath=" + TempDir + "\nDatabasePath=" + DatabaseDir + "\nSessionOrvek.Active:=cYes"))
        << DatabaseErrorText.toStdString();
    EXPECT_EQ(test::DialogScript::Instance().Shown().first(), DatabaseErrorText);
    EXPECT_TRUE(ErrorLog().contains("SessionOrvek.Active:=cYes"));
    EXPECT_EQ(DbStatus(), "Close");
    module.CloseDatabase(); // a second close does no harm
}

TEST_F(DataModuleOpen, ProtectedTablesOpenOnlyWithTheSessionsPasswords)
{
    TDataModule1 module;
    ASSERT_TRUE(module.TablesOpen());
    TVxTable admin(&module.SessionOrvek());
    admin.DatabaseName = AliasDB;
    admin.TableName = "Administration";
    EXPECT_EQ(admin.SelRecNo, -1);
    QString error;
    EXPECT_TRUE(admin.Open(&error)) << error.toStdString();
    admin.Close();
    module.SessionOrvek().RemoveAllPasswords();
    EXPECT_FALSE(admin.Open(&error));
    module.AddSessionPasswords();
    EXPECT_TRUE(admin.Open());

    // A new table gets its password only through an exclusive open.
    ASSERT_TRUE(module.ExecSQL("CREATE TABLE Extra (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT)"));
    TVxTable extra(&module.SessionOrvek());
    extra.DatabaseName = AliasDB;
    extra.TableName = "Extra";
    ASSERT_TRUE(extra.Open());
    EXPECT_FALSE(module.AddMasterPassword(extra, "secret", &error));
    EXPECT_EQ(error, "Table must be opened in exclusive mode to add passwords");
    extra.Exclusive = true;
    EXPECT_TRUE(module.AddMasterPassword(extra, "secret", &error)) << error.toStdString();
    EXPECT_TRUE(extra.Active());
    QSqlDatabase db = extra.Database();
    EXPECT_TRUE(TableHasPassword(db, "Extra"));
    // New IDs come from the insert.
    const qint64 first = extra.Append({ { "Name", "a" } });
    const qint64 second = extra.Append({ { "Name", "it's \"b\"" } });
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(extra.Row(second).value("Name").toString(), "it's \"b\"");
    EXPECT_TRUE(extra.Update(first, { { "Name", "c" } }));
    EXPECT_FALSE(extra.Update(999, { { "Name", "c" } }, &error));
    EXPECT_TRUE(FlushTable(extra));
}
