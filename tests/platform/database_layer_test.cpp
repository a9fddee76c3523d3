#include "platform/db_session.h"
#include "platform/sql_database.h"
#include "platform/table_repair.h"
#include "tests/support/sql_helpers.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace orvek;

namespace {

QString Folder(const QString& name)
{
    const QString folder = test::TestRoot() + "/" + name;
    QDir().mkpath(folder);
    return folder;
}

QSqlDatabase Open(const QString& connection, const QString& folder)
{
    QString error;
    QSqlDatabase db = OpenFolderDatabase(connection, folder, true, &error);
    EXPECT_TRUE(db.isOpen()) << error.toStdString();
    return db;
}

// A table of Rows rows with texts long enough to fill many pages.
void FillTable(QSqlDatabase& db, const QString& table, int rows)
{
    ASSERT_TRUE(PostStatement(
        db, "CREATE TABLE " + table + " (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(40), Strom TEXT)"));
    ASSERT_TRUE(Post(db, [&](QString* error) {
        QSqlQuery query(db);
        for (int i = 1; i <= rows; ++i)
            if (!ExecBound(query, "INSERT INTO " + table + " (Name, Strom) VALUES (?, ?)",
                    { QString("row %1").arg(i), QString(300, QChar('a' + i % 26)) }, error))
                return false;
        return true;
    }));
}

} // namespace

TEST(DatabaseSession, AliasesActivationAndConnections)
{
    DatabaseSession session("S");
    session.SetAlias("OrvekDB", "/first");
    session.SetAlias("orvekdb", Folder("db"));
    EXPECT_EQ(session.AliasParams("OrvekDB"), QStringList { "PATH=" + Folder("db") });
    EXPECT_TRUE(session.AliasParams("Other").isEmpty());

    QString error;
    EXPECT_FALSE(session.Database("OrvekDB", true, &error).isOpen()); // inactive
    EXPECT_FALSE(error.isEmpty());
    session.PrivateDir = Folder("private");
    ::chmod(Folder("private").toLocal8Bit().constData(), 0500);
    if (::geteuid() != 0) {
        EXPECT_FALSE(session.SetActive(true, &error));
        EXPECT_TRUE(error.contains("private")) << error.toStdString();
    }
    ::chmod(Folder("private").toLocal8Bit().constData(), 0700);
    ASSERT_TRUE(session.SetActive(true, &error)) << error.toStdString();
    EXPECT_FALSE(session.Database("Nowhere", true).isOpen());
    QSqlDatabase db = session.Database("OrvekDB", true, &error);
    ASSERT_TRUE(db.isOpen()) << error.toStdString();
    EXPECT_TRUE(QFile::exists(FolderDatabasePath(Folder("db"))));
    session.SetActive(false);
    EXPECT_FALSE(db.isOpen());
}

TEST(DatabaseSession, ProtectedTableOpensOnlyWithItsPassword)
{
    QSqlDatabase db = Open("pw", Folder("pw"));
    ASSERT_TRUE(PostStatement(db, "CREATE TABLE Secret (ID INTEGER)"));
    ASSERT_TRUE(PostStatement(db, "CREATE TABLE Open (ID INTEGER)"));
    ASSERT_TRUE(SetTablePassword(db, "Secret", "p1"));
    DatabaseSession session("S");
    EXPECT_TRUE(session.MayOpenTable(db, "Open"));
    EXPECT_FALSE(session.MayOpenTable(db, "Secret"));
    session.AddPassword("p2");
    EXPECT_FALSE(session.MayOpenTable(db, "Secret"));
    session.AddPassword("p1");
    EXPECT_TRUE(session.MayOpenTable(db, "Secret"));
    EXPECT_TRUE(session.MayOpenTable(db, "secret")); // names are case-blind, as file names were
    session.RemoveAllPasswords();
    EXPECT_FALSE(session.MayOpenTable(db, "Secret"));
}

TEST(DatabaseLayer, OtherConnectionsChangesAreNoticedAlsoForBulkStatements)
{
    const QString folder = Folder("watch");
    QSqlDatabase mine = Open("mine", folder);
    FillTable(mine, "Folders", 3);
    ASSERT_TRUE(PostStatement(mine, "CREATE TABLE Other (ID INTEGER)"));
    ASSERT_TRUE(InstallChangeCounters(mine));
    TableChangeWatcher watcher(mine.connectionName(), { "Folders", "Other" }, 0);
    EXPECT_TRUE(watcher.Poll().isEmpty());

    QSqlDatabase theirs = Open("theirs", folder);
    int rows = 0;
    ASSERT_TRUE(PostStatement(theirs, "UPDATE Folders SET Name = 'x'", {}, nullptr, &rows));
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(ReadChangeCounter(theirs, "Folders"), 3); // one per updated row
    EXPECT_EQ(watcher.Poll(), QStringList { "Folders" });
    EXPECT_TRUE(watcher.Poll().isEmpty());
    ASSERT_TRUE(PostStatement(theirs, "DELETE FROM Other")); // no rows: no change
    EXPECT_TRUE(watcher.Poll().isEmpty());
    ASSERT_TRUE(PostStatement(theirs, "INSERT INTO Other VALUES (1)"));
    EXPECT_EQ(watcher.Poll(), QStringList { "Other" });
}

TEST(DatabaseLayer, MissingTablesAreCopiedWithRowsAndCountersAndPresentOnesKept)
{
    QSqlDatabase source = Open("source", Folder("source"));
    FillTable(source, "A", 5);
    FillTable(source, "B", 2);
    ASSERT_TRUE(PostStatement(source, "DELETE FROM A WHERE ID = 5"));
    ASSERT_TRUE(PostStatement(source, "CREATE INDEX A_Name ON A (Name)"));
    QSqlDatabase target = Open("target", Folder("target"));
    FillTable(target, "B", 1);
    QStringList copied;
    QString error;
    ASSERT_TRUE(CopyMissingTables(target, FolderDatabasePath(Folder("source")), {}, &copied, &error))
        << error.toStdString();
    EXPECT_EQ(copied, QStringList { "A" });
    EXPECT_EQ(test::QueryColumn(target, "SELECT count(*) FROM A"), QStringList { "4" });
    EXPECT_EQ(test::QueryColumn(target, "SELECT count(*) FROM B"), QStringList { "1" }); // not overwritten
    EXPECT_EQ(test::QueryColumn(target, "SELECT name FROM sqlite_master WHERE type = 'index' AND name = 'A_Name'"),
        QStringList { "A_Name" });
    ASSERT_TRUE(PostStatement(target, "INSERT INTO A (Name) VALUES ('new')"));
    EXPECT_EQ(test::QueryColumn(target, "SELECT max(ID) FROM A"), QStringList { "6" }); // ID 5 is never given again
    EXPECT_GE(ReadChangeCounter(target, "A"), 1);
}

TEST(DatabaseLayer, ValuesWithQuotesPercentSignsAndSlovakLettersAreBoundNotPasted)
{
    QSqlDatabase db = Open("values", Folder("values"));
    ASSERT_TRUE(PostStatement(db, "CREATE TABLE T (Name TEXT)"));
    const QStringList values
        = { "O'Brien \"x\"", "100% ", QString::fromUtf8("Ťažký kôň"), "a_b", "'); DROP TABLE T; --" };
    for (const QString& v : values)
        ASSERT_TRUE(PostStatement(db, "INSERT INTO T VALUES (?)", { v }));
    for (const QString& v : values)
        EXPECT_EQ(test::QueryColumn(db, "SELECT Name FROM T WHERE Name = ?", { v }), QStringList { v });
    EXPECT_EQ(
        test::QueryColumn(db, "SELECT Name FROM T WHERE Name LIKE ? ESCAPE '!'", { "%!%%" }), QStringList { "100% " });
    EXPECT_EQ(test::QueryColumn(db, "SELECT Name FROM T WHERE upper(Name) LIKE ?", { QString::fromUtf8("ŤAŽ%") }),
        QStringList { QString::fromUtf8("Ťažký kôň") });
}

TEST(TableRepair, DamagedFileIsDetectedAndRebuiltWithWhatCouldBeRead)
{
    const QString folder = Folder("damaged");
    const QString temp = Folder("temp");
    const int rows = 3000;
    {
        QSqlDatabase db = Open("damaged", folder);
        FillTable(db, "Records", rows);
        FillTable(db, "Small", 3);
        ASSERT_TRUE(PostStatement(db, "CREATE UNIQUE INDEX Records_Name ON Records (Name)"));
        EXPECT_EQ(VerifyDatabaseTable(folder, "Records"), kVerifyOk);
        EXPECT_EQ(VerifyDatabaseTable(folder, "Nothing"), kVerifyMissing);
        EXPECT_TRUE(TableReadsWhole(folder, "Records"));
    }
    CloseFolderDatabase("damaged");
    // Overwrite pages in the middle of the file, where the rows of Records lie.
    const QString path = FolderDatabasePath(folder);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 pageSize = 4096, pages = file.size() / pageSize;
    ASSERT_GT(pages, 100);
    file.seek(pageSize * (pages / 3));
    file.write(QByteArray(pageSize * 2, '\xA5'));
    file.close();

    QString detail;
    const int status = VerifyDatabaseTable(folder, "Records", &detail);
    EXPECT_TRUE(status == kVerifyDataErrors || status == kVerifyUnreadable) << status;
    EXPECT_FALSE(TableReadsWhole(folder, "Records"));
    EXPECT_EQ(VerifyDatabaseTable(folder, "Small"), kVerifyOk);

    RebuildResult result;
    QString error;
    QVector<int> phases;
    ASSERT_TRUE(RebuildDatabase(folder, temp, &result, &error, [&](int phase, int) { phases << phase; }))
        << error.toStdString();
    EXPECT_TRUE(QFile::exists(result.backupPath));
    EXPECT_TRUE(phases.contains(8));
    EXPECT_EQ(VerifyDatabaseTable(folder, "Records"), kVerifyOk);
    EXPECT_TRUE(TableReadsWhole(folder, "Records"));
    QSqlDatabase rebuilt = Open("rebuilt", folder);
    const qint64 carried = test::QueryColumn(rebuilt, "SELECT count(*) FROM Records").value(0).toLongLong();
    EXPECT_LT(carried, rows);
    EXPECT_GT(carried, rows / 2);
    EXPECT_EQ(carried + result.NotCarried("Records"), rows);
    EXPECT_EQ(test::QueryColumn(rebuilt, "SELECT count(*) FROM Small"), QStringList { "3" });
    EXPECT_EQ(test::QueryColumn(rebuilt, "SELECT count(*) FROM sqlite_master WHERE name = 'Records_Name'"),
        QStringList { "1" });
    ASSERT_TRUE(PostStatement(rebuilt, "INSERT INTO Records (Name) VALUES ('after')"));
    EXPECT_EQ(test::QueryColumn(rebuilt, "SELECT max(ID) FROM Records"), QStringList { QString::number(rows + 1) });
}

TEST(TableRepair, RowsRefusedByAKeyGoToTheProblemTable)
{
    const QString folder = Folder("keys");
    const QString temp = Folder("keystemp");
    {
        QSqlDatabase db = Open("keys", folder);
        FillTable(db, "T", 4);
        // An index declared unique over rows that already break it (as after a crash
        // of an older file) refuses the second row on the rebuild.
        ASSERT_TRUE(PostStatement(db, "UPDATE T SET Name = 'same' WHERE ID IN (2, 3)"));
        ASSERT_TRUE(PostStatement(db, "CREATE INDEX T_Name ON T (Name)"));
        ASSERT_TRUE(PostStatement(db, "PRAGMA writable_schema = ON"));
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec("PRAGMA writable_schema = ON"));
        ASSERT_TRUE(query.exec("UPDATE sqlite_master SET sql = 'CREATE UNIQUE INDEX T_Name ON T (Name)' "
                               "WHERE name = 'T_Name'"));
    }
    CloseFolderDatabase("keys");
    RebuildResult result;
    QString error;
    ASSERT_TRUE(RebuildDatabase(folder, temp, &result, &error)) << error.toStdString();
    EXPECT_EQ(result.NotCarried("T"), 1);
    QSqlDatabase problems = Open("problems", temp);
    EXPECT_EQ(
        test::QueryColumn(problems, "SELECT SourceRowID FROM PROBLEM WHERE TableName = 'T'"), QStringList { "3" });
}

TEST(TableRepair, AutoincCountersOfEmptiedTablesSurviveARebuild)
{
    // IDs are never given twice, also in a table whose rows were all deleted: histories
    // and locks still name the old ones.
    const QString folder = Folder("emptied");
    {
        QSqlDatabase db = Open("emptied", folder);
        FillTable(db, "Emptied", 5);
        FillTable(db, "Kept", 5);
        ASSERT_TRUE(PostStatement(db, "DELETE FROM Emptied"));
        ASSERT_TRUE(PostStatement(db, "DELETE FROM Kept WHERE ID > 2"));
    }
    CloseFolderDatabase("emptied");
    RebuildResult result;
    QString error;
    ASSERT_TRUE(RebuildDatabase(folder, Folder("emptiedtemp"), &result, &error)) << error.toStdString();
    QSqlDatabase rebuilt = Open("emptiedrebuilt", folder);
    for (const QString table : { "Emptied", "Kept" }) {
        ASSERT_TRUE(PostStatement(rebuilt, "INSERT INTO " + table + " (Name) VALUES ('after')"));
        EXPECT_EQ(test::QueryColumn(rebuilt, "SELECT max(ID) FROM " + table), QStringList { "6" })
            << table.toStdString();
    }
}

// Database files hold password hashes: the program makes them, and its copies of them,
// readable and writable by owner and group only, whatever the umask lets through.
TEST(DatabaseLayer, DatabaseFilesAndTheirCopiesAreForOwnerAndGroupOnly)
{
    const mode_t saved = ::umask(022);
    const auto mode = [](const QString& path) {
        struct stat info { };
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
    };
    const QString folder = Folder("modes");
    QSqlDatabase db = Open("modes", folder);
    FillTable(db, "T", 200);
    EXPECT_EQ(mode(FolderDatabasePath(folder)), 0660);
    const QString copy = Folder("modes-copy") + "/copy.sqlite";
    QString error;
    ASSERT_TRUE(BackupDatabase(db, copy, &error)) << error.toStdString();
    EXPECT_EQ(mode(copy), 0660);
    ::umask(saved);
}

// A backup that fails in the middle (here at the process's file-size limit, as on a
// full disk) leaves neither the copy nor its journal, and the leftovers of a backup that
// was killed are no part of the next one.
TEST(DatabaseLayer, BackupLeavesNoLeftoversAndTakesNone)
{
    const QString folder = Folder("failing");
    QSqlDatabase db = Open("failing", folder);
    FillTable(db, "T", 400);
    const QString copies = Folder("failing-copy");
    const QString target = FolderDatabasePath(copies);
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16384;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool ok = BackupDatabase(db, target, &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QDir(copies).entryList(QDir::Files), QStringList());

    // What a killed backup leaves: a part of the copy and its journal.
    for (const char* suffix : { "", "-journal" }) {
        QFile junk(target + suffix);
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(3000, '\x5a'));
    }
    ASSERT_TRUE(BackupDatabase(db, target, &error)) << error.toStdString();
    EXPECT_EQ(QDir(copies).entryList(QDir::Files), QStringList { kFolderDatabaseFileName });
    QSqlDatabase copy = OpenFolderDatabase("failingcopy", copies, false);
    EXPECT_EQ(test::QueryColumn(copy, "PRAGMA integrity_check"), QStringList { "ok" });
    EXPECT_EQ(test::QueryColumn(copy, "SELECT count(*) FROM T"), QStringList { "400" });
}

// Copying into a live database is one transaction: stopped halfway it leaves the
// target as it was, run to the end it leaves a copy of the source.
TEST(DatabaseLayer, CopyIntoALiveDatabaseIsAllOrNothing)
{
    QSqlDatabase source = Open("copysource", Folder("copysource"));
    FillTable(source, "T", 600);
    QSqlDatabase target = Open("copytarget", Folder("copytarget"));
    FillTable(target, "Old", 3);
    int calls = 0;
    bool stopped = false;
    QString error;
    EXPECT_FALSE(CopyDatabaseInto(
        source, target,
        [&](int done, int total) {
            EXPECT_LE(done, total);
            return ++calls < 3;
        },
        &stopped, &error));
    EXPECT_TRUE(stopped);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(test::QueryColumn(target, "SELECT count(*) FROM Old"), QStringList { "3" });
    EXPECT_EQ(test::QueryColumn(target, "PRAGMA integrity_check"), QStringList { "ok" });
    ASSERT_TRUE(CopyDatabaseInto(
        source, target, [](int, int) { return true; }, &stopped, &error))
        << error.toStdString();
    EXPECT_FALSE(stopped);
    EXPECT_EQ(test::QueryColumn(target, "SELECT count(*) FROM T"), QStringList { "600" });
    EXPECT_EQ(test::QueryColumn(target, "SELECT count(*) FROM sqlite_master WHERE name = 'Old'"), QStringList { "0" });
}

namespace {

// Rows rows named "before" in Folder's database, whose last change (renaming every row
// "during") was cut off by a kill: the file holds pages of the change, its journal the
// rollback. Made by copying the file and the journal while the change is open.
void MakeCutOffChange(const QString& folder, int rows)
{
    const QString source = test::TestRoot() + "/cutoff-source";
    for (const QString& f : { source, folder }) {
        QDir(f).removeRecursively();
        QDir().mkpath(f);
    }
    {
        QSqlDatabase db = Open("cutoff", source);
        FillTable(db, "T", rows);
        ASSERT_TRUE(PostStatement(db, "UPDATE T SET Name = 'before'"));
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec("PRAGMA cache_size = 5")); // the change spills into the file
        ASSERT_TRUE(db.transaction());
        ASSERT_TRUE(query.exec("UPDATE T SET Name = 'during', Strom = upper(Strom)"));
        for (const char* suffix : { "", "-journal" })
            ASSERT_TRUE(QFile::copy(FolderDatabasePath(source) + suffix, FolderDatabasePath(folder) + suffix));
        db.rollback();
    }
    CloseFolderDatabase("cutoff");
}

// "ok" and the names of the rows, or what went wrong.
QString Content(const QString& folder)
{
    QString text;
    {
        QSqlDatabase db = OpenFolderDatabase("content", folder, false);
        text = test::QueryColumn(db, "PRAGMA integrity_check").join(',') + " "
            + test::QueryColumn(db, "SELECT Name || ':' || count(*) FROM T GROUP BY Name").join(',');
    }
    CloseFolderDatabase("content");
    return text;
}

} // namespace

// A journal SQLite no longer needs goes once the database is open: one whose header was
// never written (a copy stopped early), or an empty one. A hot journal is played back
// first, and the live journal of another connection's write is never touched.
TEST(DatabaseLayer, OnlyAJournalSQLiteNoLongerNeedsIsRemoved)
{
    QByteArray unwritten(1250000, '\x5a');
    std::memset(unwritten.data(), 0, 512);
    for (const QByteArray& journal : { unwritten, QByteArray() }) {
        SCOPED_TRACE(journal.size());
        const QString folder = Folder("leftjournal");
        QFile::remove(FolderDatabasePath(folder));
        {
            QSqlDatabase db = Open("leftjournal", folder);
            FillTable(db, "T", 50);
        }
        CloseFolderDatabase("leftjournal");
        QFile left(FolderDatabasePath(folder) + "-journal");
        ASSERT_TRUE(left.open(QIODevice::WriteOnly));
        left.write(journal);
        left.close();
        {
            QSqlDatabase db = OpenFolderDatabase("leftjournal", folder, false);
            EXPECT_TRUE(RemoveUnneededJournal(db));
            EXPECT_FALSE(left.exists());
            EXPECT_EQ(test::QueryColumn(db, "PRAGMA integrity_check"), QStringList { "ok" });
            EXPECT_EQ(test::QueryColumn(db, "SELECT count(*) FROM T"), QStringList { "50" });
            EXPECT_FALSE(RemoveUnneededJournal(db)) << "none is left to remove";
        }
        CloseFolderDatabase("leftjournal");
    }

    const QString hot = Folder("hotjournal");
    MakeCutOffChange(hot, 300);
    {
        QSqlDatabase db = OpenFolderDatabase("hotjournal", hot, false);
        RemoveUnneededJournal(db);
    }
    CloseFolderDatabase("hotjournal");
    EXPECT_EQ(Content(hot), "ok before:300");
    EXPECT_FALSE(QFile::exists(FolderDatabasePath(hot) + "-journal"));

    // A write under way: its journal (header not yet written) is its own.
    const QString shared = Folder("livejournal");
    QSqlDatabase writer = Open("livewriter", shared);
    FillTable(writer, "T", 100);
    ASSERT_TRUE(writer.transaction());
    QSqlQuery change(writer);
    ASSERT_TRUE(change.exec("UPDATE T SET Name = 'changed'"));
    const QString live = FolderDatabasePath(shared) + "-journal";
    ASSERT_TRUE(QFile::exists(live));
    QSqlDatabase reader = Open("livereader", shared);
    EXPECT_FALSE(RemoveUnneededJournal(reader));
    EXPECT_TRUE(QFile::exists(live));
    ASSERT_TRUE(writer.commit());
    EXPECT_EQ(test::QueryColumn(reader, "SELECT Name || ':' || count(*) FROM T GROUP BY Name"),
        QStringList { "changed:100" });
    EXPECT_EQ(test::QueryColumn(reader, "PRAGMA integrity_check"), QStringList { "ok" });
}

namespace {

struct RebuildRun {
    bool finished = false;
    int steps = 0;
};

RebuildRun RunRebuild(const QString& folder, const QString& temp, int killStep)
{
    QProcess probe;
    probe.start(QStringLiteral(ORVEK_PROBE_DIR "/rebuild_probe"), { folder, temp, QString::number(killStep) });
    EXPECT_TRUE(probe.waitForStarted()) << probe.errorString().toStdString();
    probe.waitForFinished(-1);
    RebuildRun run;
    for (const QString& line : QString::fromLocal8Bit(probe.readAllStandardOutput()).split('\n')) {
        if (line.startsWith("steps "))
            run.steps = line.mid(6).toInt();
        run.finished = run.finished || line.startsWith("done 1");
    }
    return run;
}

} // namespace

// A rebuild plays a cut-off change's rollback back before anything else, never deletes a
// journal, and keeps only the last damaged copy; a rebuild killed after any of its steps
// leaves the live file whole with the rollback applied, and its working files go at the
// next rebuild or start.
TEST(TableRepair, RebuildKeepsTheRollbackAndLeavesNoWorkingFiles)
{
    const QString folder = Folder("cutoff"), temp = Folder("cutoff-temp");
    const QString expected = "ok before:300";
    MakeCutOffChange(folder, 300);
    const RebuildRun whole = RunRebuild(folder, temp, 0);
    ASSERT_TRUE(whole.finished);
    EXPECT_EQ(Content(folder), expected);
    EXPECT_FALSE(QFile::exists(FolderDatabasePath(folder) + "-journal"));
    ASSERT_TRUE(RunRebuild(folder, temp, 0).finished);
    EXPECT_EQ(QDir(temp).entryList(QDir::Files), QStringList { kLastRebuildCopy }) << "one kept copy, nothing else";

    for (int step = 1; step <= whole.steps; ++step) {
        MakeCutOffChange(folder, 300);
        EXPECT_FALSE(RunRebuild(folder, temp, step).finished) << "step " << step;
        EXPECT_EQ(Content(folder), expected) << "killed after step " << step;
        RemoveRebuildLeftovers(temp, folder);
        for (const QString& name : QDir(temp).entryList(QDir::Files))
            EXPECT_EQ(name, kLastRebuildCopy) << "killed after step " << step;
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList { kFolderDatabaseFileName })
            << "killed after step " << step;
    }
}
