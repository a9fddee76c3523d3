#include "core/common_vars.h"
#include "core/file_utils.h"
#include "core/services.h"
#include "engine/model_file.h"
#include "platform/desktop.h"
#include "platform/sql_database.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

using namespace orvek;

namespace {

QString Folder(const QString& name)
{
    const QString path = test::TestRoot() + "/" + name + "/";
    QDir().mkpath(path);
    return path;
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Collects Qt's warnings while it lives.
struct WarningsCatcher {
    static inline QStringList caught;
    QtMessageHandler previous;
    WarningsCatcher()
    {
        caught.clear();
        previous
            = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { caught << text; });
    }
    ~WarningsCatcher() { qInstallMessageHandler(previous); }
};

} // namespace

TEST(FileNames, SanitizeAndValidate)
{
    EXPECT_EQ(SanitizeFileName("a|b"), "a b");
    EXPECT_EQ(SanitizeFileName("x/y\\z<>*:?\"k"), "x y z      k");
    for (QChar c : QString("/\\<>*:?|\""))
        EXPECT_FALSE(IsValidFileName(QString("ab") + c));
    EXPECT_TRUE(IsValidFileName(QString::fromUtf8("Meranie č. 5 (kópia).stm")));
}

TEST(FileNames, UniqueFileNameRangeAndNeverExisting)
{
    const QString dir = Folder("unique");
    const QRegularExpression shape("^tmp(\\d{5})(\\d{3})$");
    for (int i = 0; i < 200; ++i) {
        const QString name = UniqueFileName(dir, "tmp", i % 2 ? "txt" : "");
        const auto m = shape.match(name);
        ASSERT_TRUE(m.hasMatch()) << name.toStdString();
        const int a = m.captured(1).toInt(), b = m.captured(2).toInt();
        EXPECT_TRUE(a >= 12345 && a <= 64999 && b >= 124 && b <= 998) << name.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir + name + ".txt"));
        EXPECT_TRUE(QDir(dir).entryList({ name + ".*" }, QDir::Files).isEmpty());
        // Take the name, so later calls must avoid it (with another extension too).
        Write(dir + name + (i % 2 ? ".txt" : ".db"), "x");
    }
    EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), 200);
}

TEST(CopyFiles, SkipsLockFilesAndExistingTargetsAndReplacesCompletely)
{
    const QString src = Folder("src"), dst = test::TestRoot() + "/dst/deep/";
    Write(src + "a.db", "A");
    Write(src + "b.DB", "B");
    Write(src + "pdoxusrs.net", "lock");
    Write(src + "DBDWORK.INI", "work");
    Write(src + "Orvek.sqlite-journal", "journal");
    Write(src + "c.txt", "C");
    {
        QFile stamped(src + "a.db");
        ASSERT_TRUE(stamped.open(QIODevice::ReadWrite));
        stamped.setFileTime(QDateTime(QDate(2009, 3, 5), QTime(10, 0)), QFileDevice::FileModificationTime);
    }

    EXPECT_TRUE(CopyFiles("*.*", src, dst, false));
    EXPECT_EQ(QDir(dst).entryList(QDir::Files), QStringList({ "a.db", "b.DB", "c.txt" }));
    EXPECT_EQ(QFileInfo(dst + "a.db").lastModified().date(), QDate(2009, 3, 5));

    // Without Overwrite an existing target stays; with it, it is replaced.
    Write(dst + "a.db", "old");
    Write(src + "d.db", "D");
    EXPECT_TRUE(CopyFiles("*.db", src, dst, false));
    EXPECT_EQ(Read(dst + "a.db"), "old");
    EXPECT_EQ(Read(dst + "d.db"), "D");
    EXPECT_TRUE(CopyFiles("A.DB", src, dst, true));
    EXPECT_EQ(Read(dst + "a.db"), "A");

    EXPECT_FALSE(CopyFiles("*.none", src, dst, true)); // nothing matched
    EXPECT_TRUE(CopyFiles("pdoxusrs.net", src, dst, true)); // every match skipped
}

TEST(CopyFiles, FailureIsReported)
{
    const QString src = Folder("src1"), dst = Folder("dst1");
    Write(src + "good.db", "new good");
    Write(src + "bad.db", "new bad");
    QDir().mkpath(dst + "bad.db"); // a folder where the copy should go
    EXPECT_FALSE(CopyFiles("*.db", src, dst, true));
    EXPECT_EQ(Read(dst + "good.db"), "new good");
    EXPECT_TRUE(QFileInfo(dst + "bad.db").isDir());
}

TEST(CopyFiles, UnreadableSourceKeepsTheOldTarget)
{
    const QString src = Folder("src2"), dst = Folder("dst2");
    Write(src + "good.db", "new good");
    Write(src + "bad.db", "new bad");
    Write(dst + "bad.db", "old bad");
    // An unreadable source fails that file only; the old target survives intact.
    QFile(src + "bad.db").setPermissions(QFileDevice::Permissions());
    if (QFile(src + "bad.db").open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that read any file";
    EXPECT_FALSE(CopyFiles("*.db", src, dst, true));
    EXPECT_EQ(Read(dst + "good.db"), "new good");
    EXPECT_EQ(Read(dst + "bad.db"), "old bad");
    EXPECT_EQ(QDir(dst).entryList(QDir::Files).size(), 2); // no temporary left behind
}

namespace {
struct RecordingMessageWindow : MessageWindowService {
    QStringList calls;
    void ShowBatch(const QString& caption, bool) override { calls << "show " + caption; }
    void SetupProgress(bool, int min, int max) override { calls << QString("range %1-%2").arg(min).arg(max); }
    bool StepProgress(int value) override
    {
        calls << QString("step %1").arg(value);
        return true; // Cancel pressed: the copy goes on regardless
    }
    void HideBatch() override { calls << "hide"; }
};
} // namespace

TEST(CopyFiles, WithProgressCountsKilobytesAndSteps)
{
    const QString src = Folder("src3"), dst = Folder("dst3"), home = Folder("home3");
    Write(src + "one.db", QByteArray(3000, 'x'));
    Write(src + "two.db", QByteArray(600000, 'y'));
    RecordingMessageWindow window;
    SetMessageWindowService(&window);
    int kbytes = -1;
    EXPECT_TRUE(CopyFilesWithProgress("*.db", src, dst, kbytes, "Backup", home));
    SetMessageWindowService(nullptr);
    EXPECT_EQ(window.calls, QStringList({ "show Backup (" + src + ")", "range 1-2", "step 1", "step 2", "hide" }));
    EXPECT_EQ(kbytes, 2 + 488 + 97); // per block: 3000/1024, 500001/1024, 99999/1024
    EXPECT_EQ(Read(dst + "two.db").size(), 600000);
    EXPECT_EQ(QDir::currentPath() + "/", home);
}

TEST(Files, DeleteFilesTempTablesAndFolderSize)
{
    const QString dir = Folder("del");
    for (const char* name : { "RedoUndo.db", "JoinTab12.db", "MainTab.px", "SecTab9", "Keep.db", "x.txt" })
        Write(dir + name, "12345");
    EXPECT_EQ(FolderSize(dir), 30);
    DeleteFiles(dir, "x.txt");
    DeleteFiles(dir, "nothing*.*");
    EXPECT_EQ(FolderSize(dir), 25);

    QSqlDatabase db = OpenFolderDatabase("temp", dir, true);
    for (const char* table : { "RedoUndo", "JoinTab5", "MainTab77", "SecTab", "Records" })
        ASSERT_TRUE(PostStatement(db, QString("CREATE TABLE %1 (x)").arg(QuoteName(table))));
    {
        WarningsCatcher warnings;
        DeleteTempTables(dir);
        EXPECT_EQ(warnings.caught, QStringList()) << "no connection is removed while still in use";
    }
    QStringList left = QDir(dir).entryList(QDir::Files);
    left.removeAll("Orvek.sqlite");
    EXPECT_EQ(left, QStringList { "Keep.db" });
    EXPECT_TRUE(TableExists(db, "Records"));
    for (const char* table : { "RedoUndo", "JoinTab5", "MainTab77", "SecTab" })
        EXPECT_FALSE(TableExists(db, table)) << table;
}

TEST(Files, OpenDocumentMissingFileAndNoViewer)
{
    AppDir = test::TestProgramFolder();
    LanguageID = 0;
    auto& script = test::DialogScript::Instance();
    script.AnswerMessage(mrOk);
    EXPECT_FALSE(OpenDocument(test::TestRoot() + "/none.pdf"));
    ASSERT_EQ(script.Shown().size(), 1);
    EXPECT_TRUE(script.Shown()[0].contains("none.pdf"));

    const QString dir = Folder("docs");
    for (const char* name : { "a.doc", "b.XLS", "c.pdf", "d.odt" })
        Write(dir + name, "x");
    QList<QUrl> opened;
    SetDesktopOpener([&](const QUrl& url) {
        opened << url;
        return false; // no program for any type
    });
    for (int i = 0; i < 3; ++i)
        script.AnswerMessage(mrOk);
    for (const char* name : { "a.doc", "b.XLS", "c.pdf", "d.odt" })
        EXPECT_FALSE(OpenDocument(dir + name));
    EXPECT_EQ(script.Shown().size(), 4); // nothing shown for d.odt
    EXPECT_TRUE(script.Shown()[2].contains("XLS"));
    SetDesktopOpener([&](const QUrl& url) {
        opened << url;
        return true;
    });
    EXPECT_TRUE(OpenDocument(dir + "d.odt"));
    SetDesktopOpener({});
    EXPECT_EQ(opened.last(), QUrl::fromLocalFile(dir + "d.odt"));
    LanguageID = EditionFlag;
}

// A file that cannot be written says why, as the system says it, and the old file stays
// whole. A write beyond the process's file-size limit stands for a full disk: both fail
// in the middle of writing the data.
TEST(Files, FailedWriteNamesTheCauseAndKeepsTheOldFile)
{
    const QString dir = Folder("whole");
    QString error;
    EXPECT_FALSE(WriteFileWhole(dir + "missing/x.stm", "data", &error));
    EXPECT_EQ(error, QString::fromLocal8Bit(std::strerror(ENOENT)));
    EXPECT_FALSE(WriteScrambledModelFile(dir + "missing/x.stm", "BeginCell=1;", &error));
    EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(ENOENT)))) << error.toStdString();

    ASSERT_TRUE(WriteFileWhole(dir + "model.stm", "old content", &error));
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteScrambledModelFile(dir + "model.stm", QString(20000, 'x'), &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << error.toStdString();
    EXPECT_EQ(Read(dir + "model.stm"), "old content");
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList { "model.stm" }) << "no temporary file is left";

    if (::geteuid() != 0) {
        const QString locked = Folder("whole/locked");
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_FALSE(WriteFileWhole(locked + "x.stm", "data", &error));
        EXPECT_EQ(error, QString::fromLocal8Bit(std::strerror(EACCES)));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}
