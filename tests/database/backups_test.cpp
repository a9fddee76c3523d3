#include "core/file_utils.h"
#include "core/services.h"
#include "database/backups.h"
#include "engine/model_file.h"
#include "tests/support/test_env.h"
#include "tests/support/user_database_fixture.h"

#include <QScopeGuard>
#include <sys/stat.h>

using namespace orvek;
using orvek::test::DialogScript;

namespace {

// What stops a backup halfway, as a killed process would.
struct Stopped { };

// The progress window; a press of Cancel, or a stop, can be staged at a given step.
class ProgressDouble : public MessageWindowService {
public:
    int steps = 0, cancelAtStep = -1, stopAtStep = -1;
    QStringList captions;
    void ShowBatch(const QString& caption, bool) override { captions << caption; }
    void SetupProgress(bool, int, int) override { }
    bool StepProgress(int) override
    {
        if (++steps == stopAtStep)
            throw Stopped {};
        return steps == cancelAtStep;
    }
    void HideBatch() override { }
};

class Backups : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        WorkingBackupDir = test::TestRoot() + "/work backups/";
        AdminBackupDir = test::TestRoot() + "/admin/";
        QDir().mkpath(AdminBackupDir);
        SetMessageWindowService(&progress);
        QFile ref(DatabaseDir + "val.ref");
        ASSERT_TRUE(ref.open(QIODevice::WriteOnly));
        ref.write("reference 1");
    }
    void TearDown() override
    {
        SetMessageWindowService(nullptr);
        SetFreeSpaceProbe({});
        test::UserDatabase::TearDown();
    }
    static QString ReadText(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString("<missing>");
    }
    static int UsersIn(const QString& folder)
    {
        int count = -1;
        {
            QSqlDatabase db = OpenFolderDatabase("count", folder, false);
            QSqlQuery query(db);
            if (ExecBound(query, "SELECT count(*) FROM Administration") && query.next())
                count = query.value(0).toInt();
        }
        CloseFolderDatabase("count");
        return count;
    }
    ProgressDouble progress;
};

TEST_F(Backups, WorkingBackupInTheSameMinuteReusesItsFolder)
{
    ASSERT_TRUE(module->MakeWorkingBackup());
    moment = moment.addSecs(20);
    ASSERT_TRUE(module->MakeWorkingBackup());
    const QString folder = WorkingBackupDir + "2026-03-09_08-15/";
    QString last;
    GetLastBackupDir(last);
    EXPECT_EQ(last, folder);
    EXPECT_EQ(ReadText(AppDir + kBackupListFile), "2026-03-09 ; 08:15:30 ; " + folder + "\n");
    EXPECT_EQ(UsersIn(folder), 1);
    EXPECT_EQ(ReadText(folder + "val.ref"), "reference 1");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), (QStringList { kFolderDatabaseFileName, "val.ref" }));
    EXPECT_EQ(module->CountMissingDatabaseFiles(folder), 0);
}

// A working backup is listed once it is whole: one stopped halfway is never taken for
// the last backup, and what it left goes at the next start.
TEST_F(Backups, AStoppedWorkingBackupIsNotListed)
{
    ASSERT_TRUE(module->MakeWorkingBackup());
    const QString first = WorkingBackupDir + "2026-03-09_08-15/";
    moment = moment.addSecs(120);
    progress.stopAtStep = progress.steps + 1;
    EXPECT_THROW(module->MakeWorkingBackup(), Stopped);
    progress.stopAtStep = -1;
    QString last;
    GetLastBackupDir(last);
    EXPECT_EQ(last, first);
    EXPECT_EQ(ReadText(AppDir + kBackupListFile), "2026-03-09 ; 08:15:30 ; " + first + "\n");

    module.reset();
    module = std::make_unique<TDataModule1>(); // the next start
    EXPECT_EQ(
        QDir(WorkingBackupDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList { "2026-03-09_08-15" });
    ASSERT_TRUE(module->MakeWorkingBackup());
    GetLastBackupDir(last);
    EXPECT_EQ(last, WorkingBackupDir + "2026-03-09_08-17/");
    EXPECT_EQ(UsersIn(last), 1);
    EXPECT_EQ(ReadText(AppDir + kBackupListFile).count('\n'), 2);
}

TEST_F(Backups, TheListIsReadWholeAndUnreadableLinesAreSkipped)
{
    {
        QFile list(AppDir + kBackupListFile);
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write("\n   \nnot a date ; 1 ; /nowhere\n");
    }
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(module->MakeWorkingBackup());
        moment = moment.addSecs(60);
    }
    QString last;
    GetLastBackupDir(last);
    EXPECT_EQ(last, WorkingBackupDir + "2026-03-09_09-14/");
    EXPECT_EQ(QDir(WorkingBackupDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 60);
    // The last listed folder is gone: no backup to point to.
    QDir(last).removeRecursively();
    GetLastBackupDir(last);
    EXPECT_TRUE(last.isEmpty());
}

TEST_F(Backups, FreeSpaceMustBeFiftyTimesTheDatabase)
{
    const qint64 neededKB = FolderSize(DatabaseDir) / 1024 * 50;
    qint64 free = neededKB * 1024 - 1024;
    SetFreeSpaceProbe([&](const QString&) { return free; });
    QString folder;
    DialogScript::Instance().AnswerMessage(mrCancel);
    EXPECT_FALSE(module->ChooseWorkingBackupDir(folder));
    EXPECT_TRUE(DialogScript::Instance().Shown().last().contains(QString::number(neededKB)));
    EXPECT_FALSE(QFileInfo::exists(folder));
    free += 1024;
    EXPECT_TRUE(module->ChooseWorkingBackupDir(folder));
}

TEST_F(Backups, AdministratorsBackupExportsItemsAndTouchesNothingElse)
{
    {
        QSqlDatabase db = Other();
        ASSERT_TRUE(PostStatement(db,
            "INSERT INTO TreeDB (SampleID, GroupID, Datum, NazovMerania, Poznamky, Strom) VALUES (?, ?, ?, ?, ?, ?)",
            { "S-1", 1, "2026-03-01", QString::fromUtf8("Váženie"), "notes", "BeginCell=;\nEndCell=;" }));
        ASSERT_TRUE(PostStatement(db, "INSERT INTO TreeDB (SampleID) VALUES (?)", { "S-2" }));
        ASSERT_TRUE(PostStatement(
            db, "INSERT INTO TemplateDB (TemplateName, CreateDate) VALUES (?, ?)", { "Vzor", "2026-02-01" }));
        ASSERT_TRUE(PostStatement(db, "INSERT INTO MeasureNameList (ID, Description) VALUES (3, 'Tri')"));
        for (const char* table : { "MeasureID3", "TemplateID3" })
            ASSERT_TRUE(PostStatement(db,
                QString("CREATE TABLE %1 (ID VARCHAR(5) NOT NULL PRIMARY KEY, OwnerID "
                        "VARCHAR(5), Description VARCHAR(100))")
                    .arg(table)));
    }
    QFile keep(AdminBackupDir + "keep.txt");
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.close();

    ASSERT_TRUE(module->MakeAdminBackup());
    ASSERT_TRUE(module->MakeAdminBackup()); // replaces the first one
    EXPECT_EQ(QDir(AdminBackupDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
        (QStringList { "OrvekBackup", "keep.txt" }));
    const QString items = AdminBackupDir + "OrvekBackup/DBItems/";
    const QString tree = ReadText(items + "TreeDB.txt");
    const QStringList rows = tree.split(" \n", Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 2) << tree.toStdString();
    EXPECT_TRUE(rows[0].startsWith("ID=1\nSampleID=S-1\nGroupID=1\nOpenedByUserID=0\n")) << tree.toStdString();
    EXPECT_TRUE(rows[0].contains("Datum=2026-03-01\n"));
    EXPECT_TRUE(rows[0].contains(QString::fromUtf8("NazovMerania=Váženie\n")));
    EXPECT_TRUE(rows[0].contains("Strom=TreeDB1.STM\n"));
    EXPECT_FALSE(tree.contains("Poznamky"));
    EXPECT_FALSE(rows[1].contains("Strom="));
    EXPECT_FALSE(QFileInfo::exists(items + "TreeDB2.STM"));
    QByteArray scrambled;
    ASSERT_TRUE(ReadWholeFile(items + "TreeDB1.STM", scrambled));
    EXPECT_TRUE(UnscrambleModelText(scrambled).startsWith("BeginCell=;\nEndCell=;"));
    EXPECT_TRUE(ReadText(items + "TemplateDB.txt").contains("CreateDate=2026-02-01\nTemplateName=Vzor\n"));

    QStringList blocks;
    for (const QString& line : ReadText(items + "Folders.txt").split('\n'))
        if (line.startsWith("TableName="))
            blocks << line.mid(10);
    EXPECT_EQ(blocks, (QStringList { "MeasureNameList", "MeasureID1", "MeasureID3", "TemplateID1", "TemplateID3" }));
    EXPECT_TRUE(ReadText(items + "Folders.txt").startsWith("TableName=MeasureNameList\nRecordCount=2\nID=1\n"));
}

// The export holds every record: its files may be read by whom the database file may,
// whatever the mode of new files is.
TEST_F(Backups, TheExportTakesTheDatabaseFilesPermissions)
{
    {
        QSqlDatabase db = Other();
        ASSERT_TRUE(PostStatement(
            db, "INSERT INTO TreeDB (SampleID, Strom) VALUES (?, ?)", { "S-1", "BeginCell=;\nEndCell=;" }));
    }
    const mode_t umask = ::umask(022);
    const auto restoreUmask = qScopeGuard([umask] { ::umask(umask); });
    const auto mode = [](const QString& path) {
        struct stat info { };
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
    };
    const QString items = AdminBackupDir + "OrvekBackup/DBItems/";
    for (const int databaseMode : { 0660, 0600, 0640 }) {
        SCOPED_TRACE(databaseMode);
        ASSERT_EQ(::chmod(QFile::encodeName(FolderDatabasePath(DatabaseDir)).constData(), mode_t(databaseMode)), 0);
        ASSERT_TRUE(module->MakeAdminBackup());
        const QStringList files = QDir(items).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        EXPECT_EQ(files, (QStringList { "Folders.txt", "TemplateDB.txt", "TreeDB.txt", "TreeDB1.STM" }));
        for (const QString& name : files)
            EXPECT_EQ(mode(items + name), databaseMode) << name.toStdString();
        EXPECT_EQ(mode(items), 0755) << "the folder keeps the mode of new folders";
    }
}

// A backup folder is replaced whole; what a backup stopped halfway left (a half-built
// folder, a folder set aside for the new one, the part of a copy and its journal) is
// settled at the next start, and a backup set aside still restores meanwhile.
TEST_F(Backups, StoppedBackupsAreSettledAndASetAsideBackupStillRestores)
{
    ASSERT_TRUE(module->MakeAdminBackup());
    const QString base = AdminBackupDir + "OrvekBackup";
    // Stopped between setting the old backup aside and moving the new one in.
    ASSERT_TRUE(QDir().rename(base, base + ".old"));
    QDir().mkpath(base + ".new/DBItems");
    AddUser("later", "heslo1");
    QString error;
    ASSERT_TRUE(module->RestoreDatabase(AdminBackupDir, &error)) << error.toStdString();
    EXPECT_FALSE(module->UserNameInUse("later"));

    ASSERT_TRUE(module->MakeWorkingBackup());
    const QString working = WorkingBackupDir + "2026-03-09_08-15";
    for (const char* name : { "/Orvek.sqlite.part", "/Orvek.sqlite.part-journal" }) {
        QFile part(working + name);
        ASSERT_TRUE(part.open(QIODevice::WriteOnly));
    }
    QDir().mkpath(WorkingBackupDir + "2026-03-09_08-16.new");
    module.reset();
    module = std::make_unique<TDataModule1>(); // the next start
    ASSERT_TRUE(module->TablesOpen());
    EXPECT_EQ(QDir(AdminBackupDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList { "OrvekBackup" });
    EXPECT_EQ(UsersIn(base), 1);
    EXPECT_EQ(
        QDir(WorkingBackupDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList { "2026-03-09_08-15" });
    EXPECT_EQ(QDir(working).entryList(QDir::Files), (QStringList { kFolderDatabaseFileName, "val.ref" }));

    // A new backup takes the place of the old one; nothing stays beside it.
    AddUser("newer", "heslo2");
    ASSERT_TRUE(module->MakeAdminBackup());
    EXPECT_EQ(QDir(AdminBackupDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList { "OrvekBackup" });
    EXPECT_EQ(UsersIn(base), 2);
}

TEST_F(Backups, RestoreReplacesTheDatabaseThroughTheLiveConnection)
{
    ASSERT_TRUE(module->MakeAdminBackup());
    AddUser("later", "heslo1");
    QFile ref(DatabaseDir + "val.ref");
    ASSERT_TRUE(ref.open(QIODevice::WriteOnly));
    ref.write("reference 2");
    ref.close();
    QString error;
    ASSERT_TRUE(module->RestoreDatabase(AdminBackupDir, &error)) << error.toStdString(); // the chosen folder
    EXPECT_EQ(UsersIn(DatabaseDir), 1);
    EXPECT_EQ(ReadText(DatabaseDir + "val.ref"), "reference 1");
    EXPECT_FALSE(module->UserNameInUse("later")); // the module's own connection sees it
    EXPECT_TRUE(module->UserNameInUse("admin"));
    EXPECT_FALSE(module->RestoreDatabase("", &error));
    EXPECT_FALSE(module->RestoreDatabase(test::TestRoot() + "/nothing", &error));
    EXPECT_FALSE(module->RestoreDatabase(DatabaseDir, &error)); // not onto itself
    EXPECT_TRUE(module->UserNameInUse("admin"));
}

TEST_F(Backups, RestoreStoppedHalfwayOrFromABadBackupLeavesTheDatabase)
{
    {
        // A backup of many pages, so that the copy takes several steps.
        QSqlDatabase db = Other();
        ASSERT_TRUE(PostStatement(db, "INSERT INTO TreeDB (Strom) VALUES (?)", { QString(400000, 'x') }));
    }
    ASSERT_TRUE(module->MakeAdminBackup());
    const QString backup = AdminBackupDir + "OrvekBackup/";
    {
        QSqlDatabase db = Other();
        ASSERT_TRUE(PostStatement(db, "DELETE FROM TreeDB"));
    }
    AddUser("later", "heslo1");
    const int usersBefore = UsersIn(DatabaseDir);

    progress.steps = 0;
    progress.cancelAtStep = 3;
    QString error;
    EXPECT_FALSE(module->RestoreDatabase(backup, &error));
    EXPECT_EQ(progress.steps, 3);
    progress.cancelAtStep = -1;
    EXPECT_EQ(UsersIn(DatabaseDir), usersBefore);
    EXPECT_EQ(Count("TreeDB"), 0);
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        ASSERT_TRUE(ExecBound(query, "PRAGMA integrity_check") && query.next());
        EXPECT_EQ(query.value(0).toString(), "ok");
    }

    // A backup lacking a required table is refused before anything changes.
    {
        QSqlDatabase db = OpenFolderDatabase("backup", backup, false);
        ASSERT_TRUE(PostStatement(db, "DROP TABLE Jednotky"));
    }
    CloseFolderDatabase("backup");
    EXPECT_FALSE(module->RestoreDatabase(backup, &error));
    EXPECT_TRUE(error.contains("incomplete")) << error.toStdString();
    EXPECT_EQ(UsersIn(DatabaseDir), usersBefore);

    // A damaged file is refused too.
    QFile file(FolderDatabasePath(backup));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(4096);
    file.write(QByteArray(8192, '\x5a'));
    file.close();
    EXPECT_FALSE(module->RestoreDatabase(backup, &error));
    EXPECT_EQ(UsersIn(DatabaseDir), usersBefore);
    EXPECT_TRUE(module->UserNameInUse("later"));
}

} // namespace

// The restore's own files, the temporaries of the save files that write them included,
// are told from the files of the database folder.
TEST(RestoreWorkingFiles, NamesOfTheRestoreAndItsSaveFiles)
{
    const struct {
        const char* name;
        bool working;
    } cases[] = { { "Orvek.restore-note", true }, { "Orvek.restore-note.DI9dPC", true }, { "Orvek.restore-lock", true },
        { "val.ref.restore", true }, { "val.ref.restore.a1B2c3", true }, { "val.ref", false }, { "Orvek.db", false },
        { "restore.txt", false }, { "val.restore.ref", false } };
    for (const auto& c : cases)
        EXPECT_EQ(orvek::IsRestoreWorkingFile(c.name), c.working) << c.name;
}
