#include "core/common_vars.h"
#include "database/bde_util.h"
#include "database/data_module.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"
#include "platform/table_repair.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

class DataModuleSql : public ::testing::Test {
protected:
    void SetUp() override
    {
        CommonInit();
        LanguageID = 0;
        module = std::make_unique<TDataModule1>();
        DataModule1 = module.get();
        ASSERT_TRUE(module->TablesOpen());
    }
    void TearDown() override
    {
        DataModule1 = nullptr;
        module.reset();
        CommonDone();
    }
    QStringList Column(const QString& sql, const QVariantList& values = {})
    {
        QSqlDatabase db = module->SessionOrvek().Database(AliasDB);
        QSqlQuery query(db);
        QString error;
        EXPECT_TRUE(ExecBound(query, sql, values, &error)) << error.toStdString();
        QStringList out;
        while (query.next())
            out << query.value(0).toString();
        return out;
    }
    std::unique_ptr<TDataModule1> module;
};

// Records the bars and captions the repair routines show.
struct RecordingStatus : TableControlStatus {
    QVector<std::pair<int, int>> bars;
    QStringList captions;
    int shown = 0;
    void ShowStatus() override { ++shown; }
    void HideStatus() override { }
    void SetTableCaption(const QString& caption) override { captions << caption; }
    void SetBar(int bar, int percent) override { bars.append({ bar, percent }); }
};

} // namespace

TEST_F(DataModuleSql, ExecSqlBindsValuesWithQuotesPercentAndSlovakLetters)
{
    const QString name = QString::fromUtf8("\"Meranie\" 100% ťažké; DROP TABLE TreeDB; --'");
    ASSERT_TRUE(module->ExecSQL("INSERT INTO TreeDB (NazovMerania, GroupID) VALUES (?, ?)", { name, 1 }));
    EXPECT_EQ(Column("SELECT NazovMerania FROM TreeDB WHERE NazovMerania = ?", { name }), QStringList { name });
    EXPECT_EQ(Column("SELECT count(*) FROM TreeDB WHERE upper(NazovMerania) LIKE ?", { QString::fromUtf8("%ŤAŽ%") }),
        QStringList { "1" });
    QString error;
    EXPECT_FALSE(module->ExecSQL("UPDATE NoSuchTable SET x = ?", { 1 }, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(DataModuleSql, UnassignAndDeleteRefileOnlyTheGivenGroupsItems)
{
    ASSERT_TRUE(module->ExecSQL("ALTER TABLE TreeDB ADD COLUMN IDDB2 VARCHAR(5) NOT NULL DEFAULT '0'"));
    // (group, IDDB1) of six records.
    const std::pair<int, const char*> records[]
        = { { 1, "5" }, { 1, "7" }, { 1, "9" }, { 1, "3" }, { 2, "5" }, { 2, "9" } };
    for (const auto& [group, folder] : records)
        ASSERT_TRUE(module->ExecSQL("INSERT INTO TreeDB (GroupID, IDDB1) VALUES (?, ?)", { group, folder }));

    AddTempId("5"); // before the table exists: nothing happens
    EXPECT_FALSE(UnassignFoldersInTempTable("TreeDB", "IDDB1", 1));
    ASSERT_TRUE(CreateTempIdTable());
    EXPECT_TRUE(TempIdTableName().startsWith("Temp"));
    for (const char* id : { "5", "7", "9" })
        AddTempId(id);
    CloseTempIdTable();
    AddTempId("3"); // closed: not collected
    ASSERT_TRUE(module->ExecSQL("INSERT INTO MeasureID1 (ID, OwnerID, Description) VALUES ('5', '0', 'a'), "
                                "('7', '5', 'b'), ('9', '7', 'c'), ('3', '0', 'd')"));
    ASSERT_TRUE(UnassignFoldersInTempTable("TreeDB", "IDDB1", 1, "MeasureID1"));
    EXPECT_EQ(Column("SELECT IDDB1 FROM TreeDB ORDER BY ID"), QStringList({ "0", "0", "0", "3", "5", "9" }));
    EXPECT_EQ(Column("SELECT ID FROM MeasureID1 ORDER BY ID"), QStringList({ "0", "1", "3" }));
    // A failing folder delete leaves the items where they were.
    ASSERT_TRUE(module->ExecSQL("UPDATE TreeDB SET IDDB1 = '5' WHERE ID = 1"));
    EXPECT_FALSE(UnassignFoldersInTempTable("TreeDB", "IDDB1", 1, "NoSuchFolderTable"));
    EXPECT_EQ(Column("SELECT IDDB1 FROM TreeDB WHERE ID = 1"), QStringList { "5" });
    ASSERT_TRUE(module->ExecSQL("UPDATE TreeDB SET IDDB1 = '0' WHERE ID = 1"));
    DropTempIdTable();
    EXPECT_TRUE(TempIdTableName().isEmpty());

    ASSERT_TRUE(MoveFoldersToDeleted("TreeDB", "IDDB1", { "5", "3", "it's" }, 2));
    EXPECT_EQ(Column("SELECT IDDB1 FROM TreeDB ORDER BY ID"), QStringList({ "0", "0", "0", "3", "1", "9" }));
    EXPECT_FALSE(MoveFoldersToDeleted("NoTable", "IDDB1", { "5" }, 2));
}

TEST_F(DataModuleSql, OldDatabaseTransferFilesIntoTheCurrentGroup)
{
    // An older database of ours with two templates and three records.
    const QString old = test::TestRoot() + "/old";
    QDir().mkpath(old);
    ASSERT_TRUE(QFile::copy(FolderDatabasePath(EmptyDatabaseDir), FolderDatabasePath(old)));
    {
        QSqlDatabase db = OpenFolderDatabase("old", old, false);
        ASSERT_TRUE(PostStatement(db,
            "INSERT INTO TemplateDB (ID, TemplateName, Strom, IDDB1) VALUES "
            "(10, 'T10', 'tree10', '1'), (11, 'T11', 'tree11', '42')"));
        ASSERT_TRUE(PostStatement(db,
            "INSERT INTO TreeDB (ID, NazovMerania, FromTemplateID, IDDB1) VALUES "
            "(1, 'R1', 11, '0'), (2, 'R2', 99, '1'), (3, 'R3', NULL, '77')"));
    }
    CloseFolderDatabase("old");
    ASSERT_TRUE(module->ExecSQL("INSERT INTO TemplateDB (TemplateName) VALUES ('existing')"));
    CurrentGroupID = 1;
    test::DialogScript::Instance().AnswerMessage(mrOk);
    test::DialogScript::Instance().AnswerMessage(mrOk);
    QString error;
    ASSERT_TRUE(module->MergeOldTemplateDB(old, &error)) << error.toStdString();
    ASSERT_TRUE(module->MergeOldTreeDB(old, &error)) << error.toStdString();
    EXPECT_EQ(Column("SELECT TemplateName || '|' || IDDB1 || '|' || GroupID FROM TemplateDB WHERE ID > 1 ORDER BY ID"),
        QStringList({ "T10|1|1", "T11|0|1" }));
    const QString t11 = Column("SELECT ID FROM TemplateDB WHERE TemplateName = 'T11'").value(0);
    EXPECT_EQ(Column("SELECT NazovMerania || '|' || IFNULL(FromTemplateID, '') || '|' || IFNULL(NazovVzoru, '') || '|' "
                     "|| IDDB1 FROM TreeDB ORDER BY ID"),
        QStringList({ "R1|" + t11 + "|T11|0", "R2|||1", "R3|||0" }));
    EXPECT_EQ(test::DialogScript::Instance().Shown(), QStringList({ "Koniec", "Koniec" }));
    // A missing older database writes nothing.
    EXPECT_FALSE(module->MergeOldTemplateDB(test::TestRoot() + "/nowhere", &error));
}

TEST_F(DataModuleSql, DamagedDatabaseIsVerifiedRebuiltAndReported)
{
    RecordingStatus status;
    SetTableControlWindow(&status);
    // Enough records to fill many pages; then damage pages in the middle of the file.
    QSqlDatabase db = module->SessionOrvek().Database(AliasDB);
    ASSERT_TRUE(Post(db, [&](QString* error) {
        QSqlQuery query(db);
        for (int i = 0; i < 2000; ++i)
            if (!ExecBound(query, "INSERT INTO TreeDB (NazovMerania, Strom, GroupID) VALUES (?, ?, 1)",
                    { QString("R%1").arg(i), QString(400, 'x') }, error))
                return false;
        return true;
    }));
    EXPECT_EQ(module->VerifyAllTables(DatabaseDir), 0);
    EXPECT_EQ(TableCheckReport, GetString(507));
    EXPECT_EQ(status.shown, 1);
    EXPECT_TRUE(status.captions.contains(GetString(505) + " TreeDB "));
    EXPECT_FALSE(status.captions.contains(GetString(505) + " Logs ")); // main table 7 is never checked

    module->CloseDatabase();
    const QString path = FolderDatabasePath(DatabaseDir);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 pages = file.size() / 4096;
    file.seek(4096 * (pages / 2));
    file.write(QByteArray(4096, '\x5A'));
    file.close();
    module->OpenDatabase();

    EXPECT_GE(module->VerifyAllTables(DatabaseDir), 1);
    EXPECT_EQ(module->RebuildAllTables(DatabaseDir), 0);
    EXPECT_EQ(module->RebuiltTableCount, 1);
    EXPECT_TRUE(TableCheckReport.startsWith("Rebuild was successful. Rows not carried over: "))
        << TableCheckReport.toStdString();
    EXPECT_EQ(module->VerifyAllTables(DatabaseDir), 0);
    bool rebuildBar = false;
    for (const auto& [bar, percent] : status.bars)
        rebuildBar = rebuildBar || (bar == 3 && percent == 100);
    EXPECT_TRUE(rebuildBar);
    // The rebuilt main tables still open with the session's passwords.
    module->SessionOrvek().RemoveAllPasswords();
    QSqlDatabase rebuilt = module->SessionOrvek().Database(AliasDB);
    EXPECT_FALSE(module->SessionOrvek().MayOpenTable(rebuilt, "TreeDB"));
    module->AddSessionPasswords();
    EXPECT_TRUE(module->SessionOrvek().MayOpenTable(rebuilt, "TreeDB"));
    SetTableControlWindow(nullptr);
}

TEST(VerifyStatusText, EachStatusHasItsText)
{
    LanguageID = 0;
    AppDir = test::TestProgramFolder();
    const int texts[] = { 507, 508, 509, 510, 511, 512, 512 };
    for (int status = 0; status <= 6; ++status) {
        EXPECT_EQ(VerifyStatusText(status), GetString(texts[status])) << status;
        EXPECT_FALSE(VerifyStatusText(status).isEmpty());
    }
    EXPECT_EQ(TBDEUtil::BDEProgressCallback(TBDEUtil::kGeneralProgress, 5, 50), 0);
}
