#include "core/common_vars.h"
#include "core/settings.h"
#include "platform/registry.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

using namespace orvek;

TEST(CommandLine, SwitchTable)
{
    struct Case {
        QStringList params;
        bool quelvar, ostrevin, trace;
    } cases[] = {
        { {}, false, false, false },
        { { "QUELVAR" }, true, false, false },
        { { "x", "quelvar" }, true, false, false },
        { { "Ostrevin", "step_write" }, false, true, true },
        { { "STEP_WRITE", "OSTREVIN", "QUELVAR" }, false, true, true }, // a third parameter is ignored
        { { "QUELVARX" }, false, false, false },
        { { "STEP" }, false, false, false },
    };
    for (const auto& c : cases) {
        ParseCommandLine(c.params);
        SCOPED_TRACE(c.params.join(' ').toStdString());
        EXPECT_EQ(QuelvarMode, c.quelvar);
        EXPECT_EQ(OstrevinMode, c.ostrevin);
        EXPECT_EQ(TraceSteps, c.trace);
    }
    ParseCommandLine({ "a", "quelvar" });
    EXPECT_EQ(CmdArg1, "A");
    EXPECT_EQ(CmdArg2, "QUELVAR");
    ParseCommandLine({});
}

TEST(RequestFlags, PendingCountsCellCommandsAndDiagramRequests)
{
    ClearCellCommands();
    EXPECT_FALSE(IsCellCommandPending());
    for (bool* counted : { &CmdAddUncertainty, &CmdReplaceFromDatabase, &CmdQuantityToNewEquation,
             &CmdEquationToQuantity, &CmdDeleteCell, &CmdToggleActive, &CmdNewEquation, &CmdEquationToNewEquation,
             &CmdViewCell, &CmdEditCell, &ExpandTreeRequest, &CollapseTreeRequest, &ZoomOutRequest, &ZoomInRequest,
             &SaveTreeAsRequest, &SaveTreeRequest }) {
        *counted = true;
        EXPECT_TRUE(IsCellCommandPending());
        ClearCellCommands();
        EXPECT_FALSE(*counted);
    }
    for (bool* notCounted : { &AddTreeItemsRequest, &WholeTreeRequest, &CurrentCellRequest, &LoadTreeFromFileRequest,
             &ZoomPresetRequest, &CellPropertiesRequest, &CmdHideUncertaintyCells, &CmdShowUncertaintyCells,
             &HighlightRequest, &CmdReserved }) {
        *notCounted = true;
        EXPECT_FALSE(IsCellCommandPending());
        ClearCellCommands();
        EXPECT_FALSE(*notCounted);
    }
}

TEST(CommonInit, SetsIdentityFoldersAndStartValues)
{
    test::ClearSettingsStore();
    CommonInit();
    EXPECT_EQ(ProgramName, "Orvek2010");
    EXPECT_EQ(ClipboardCellsMarker, "Orvek2000Info");
    EXPECT_EQ(AppDir, test::TestProgramFolder());
    EXPECT_EQ(DatabaseDir, AppDir + "Database/");
    EXPECT_EQ(TreesDir, AppDir + "Examples");
    EXPECT_EQ(EmptyDatabaseDir, AppDir + "EmptyDatabase/");
    for (const QString& created : { WorkingBackupDir, AdminBackupDir, TreesDir, ReportsDir })
        EXPECT_TRUE(QFileInfo(created).isDir()) << created.toStdString();
    EXPECT_FALSE(QFileInfo::exists(DatabaseDir));

    struct stat info { };
    ASSERT_EQ(::stat(TempDir.toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(TempDir.endsWith('/'));

    EXPECT_EQ(HeadingMarkupLarge, "[cf3][cfarial][cfsize13]");
    EXPECT_EQ(HeadingMarkup, "[cf3][cfarial][cfsize12]");
    EXPECT_EQ(HeadingMarkupSmall, "[cf3][cfarial][cfsize10]");
    EXPECT_EQ(DefaultRowHeight, 17);
    EXPECT_EQ(ReportSections, 27);
    EXPECT_EQ(LanguageID, EditionFlag);
    CommonDone();
}

TEST(CommonInit, NestedCallsRunTheBodyOnce)
{
    test::ClearSettingsStore();
    CommonInit();
    CommonInit();
    CommonDone();
    CommonDone();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(SetupKeyPath, false));
    EXPECT_EQ(reg.ReadInteger("PocetStartov"), 1);
    EXPECT_EQ(CommonInitCount, 0);
}

TEST(CommonInit, StartCounterGrowsByOnePerStart)
{
    test::ClearSettingsStore();
    for (int start = 1; start <= 3; ++start) {
        CommonInit();
        EXPECT_EQ(StartCount, start);
        CommonDone();
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(SetupKeyPath, false));
    EXPECT_EQ(reg.ReadInteger("PocetStartov"), 3);
}

// The temporary folder is used only when it is a real, private folder of this user; a
// link or a folder others may write into gives a fresh private folder beside it.
TEST(CommonInit, TemporaryFolderIsPrivateOrFresh)
{
    const QString root = test::TestRoot() + "/private/";
    QDir(root).removeRecursively();
    QDir().mkpath(root + "elsewhere");
    const auto mode = [](const QString& path) {
        struct stat info { };
        return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
    };
    struct Case {
        const char* name;
        std::function<void(const QString&)> prepare;
        bool taken;
    };
    const Case cases[] = {
        { "missing", [](const QString&) {}, true },
        { "own and private", [](const QString& p) { QDir().mkpath(p); }, true },
        { "own, readable by others", [](const QString& p) { QDir().mkpath(p), ::chmod(QFile::encodeName(p), 0755); },
            true },
        { "writable by everyone", [](const QString& p) { QDir().mkpath(p), ::chmod(QFile::encodeName(p), 0777); },
            false },
        { "a link", [&](const QString& p) { QFile::link(root + "elsewhere", p); }, false },
        { "a file",
            [](const QString& p) {
                QFile f(p);
                f.open(QIODevice::WriteOnly);
            },
            false },
        // Only root can give a folder to another user; elsewhere the case is made as "missing".
        { "another user's", [](const QString& p) { QDir().mkpath(p), ::chown(QFile::encodeName(p), 65534, 65534); },
            ::geteuid() != 0 },
    };
    const int elsewhere = mode(root + "elsewhere");
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = root + QString("t%1").arg(++n);
        c.prepare(path);
        QString reason;
        const QString folder = PrivateFolder(path, &reason);
        ASSERT_FALSE(folder.isEmpty()) << reason.toStdString();
        EXPECT_TRUE(folder.endsWith('/'));
        EXPECT_EQ(folder == path + "/", c.taken) << folder.toStdString();
        EXPECT_EQ(reason.isEmpty(), c.taken) << reason.toStdString();
        EXPECT_TRUE(QFileInfo(folder).isDir());
        EXPECT_FALSE(QFileInfo(folder.chopped(1)).isSymLink());
        EXPECT_EQ(mode(folder.chopped(1)), 0700);
        if (!c.taken) {
            EXPECT_TRUE(reason.contains(path)) << reason.toStdString();
        }
    }
    EXPECT_EQ(mode(root + "elsewhere"), elsewhere) << "the link's target is left alone";
}

// A private folder made because the usual one could not be trusted goes at exit; those
// that stopped starts of this user left go at the next start, and nothing else does:
// not a folder a running start holds, nor a link, another user's folder or another name.
TEST(CommonInit, PrivateTemporaryFoldersGoAtExitAndLeftOnesAtTheNextStart)
{
    test::ClearSettingsStore();
    const QString root = test::TestRoot() + "/sweep";
    QDir(root).removeRecursively();
    QDir().mkpath(root + "/elsewhere");
    QFile(root + "/elsewhere/keep.txt").open(QIODevice::WriteOnly);
    const QByteArray savedTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(root));
    const auto restoreTmp = qScopeGuard([&] { qputenv("TMPDIR", savedTmp); });
    const QString base = root + QString("/Orvek-%1").arg(::getuid());
    QDir().mkpath(base);
    ASSERT_EQ(::chmod(QFile::encodeName(base).constData(), 0777), 0); // not to be trusted

    const auto makeFolder = [](const QString& path) {
        QDir().mkpath(path + "/sub");
        QFile(path + "/sub/undo.sqlite").open(QIODevice::WriteOnly);
        ::chmod(QFile::encodeName(path).constData(), 0700);
    };
    makeFolder(base + "-abc123"); // left without a lock
    makeFolder(base + "-dead01"); // held by a program that no longer runs
    {
        QProcess ended;
        ended.start("true");
        ASSERT_TRUE(ended.waitForStarted());
        const qint64 pid = ended.processId();
        ASSERT_TRUE(ended.waitForFinished());
        QFile lock(base + "-dead01/in-use.lock");
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(pid) + "\n");
    }
    makeFolder(base + "-live01"); // held by a running start
    QLockFile held(base + "-live01/in-use.lock");
    ASSERT_TRUE(held.tryLock(0));
    QFile::link(root + "/elsewhere", base + "-link01");
    for (const QString& name : { base + "-toolong1", base + "-ab", root + "/Orvek-99999-abc123" })
        makeFolder(name);
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        makeFolder(base + "-other1");
        ASSERT_EQ(::chown(QFile::encodeName(base + "-other1").constData(), 65534, 65534), 0);
    }

    CommonInit();
    const QString fresh = TempDir;
    EXPECT_TRUE(fresh.startsWith(base + "-")) << fresh.toStdString();
    EXPECT_TRUE(QFileInfo(fresh).isDir());
    QStringList kept { QFileInfo(base).fileName(), "Orvek-99999-abc123", "elsewhere" };
    for (const char* suffix : { "-ab", "-link01", "-live01", "-toolong1" })
        kept << QFileInfo(base).fileName() + suffix;
    if (asRoot)
        kept << QFileInfo(base).fileName() + "-other1";
    const auto present = [&] {
        QStringList names = QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        names.removeAll(QFileInfo(fresh.chopped(1)).fileName());
        names.sort();
        return names.join(' ').toStdString();
    };
    kept.sort();
    EXPECT_EQ(present(), kept.join(' ').toStdString());
    EXPECT_TRUE(QFile::exists(root + "/elsewhere/keep.txt")) << "a link's target is left alone";
    EXPECT_TRUE(QFile::exists(base + "-live01/sub/undo.sqlite"));

    // While the program runs, another start leaves its folder alone.
    RemoveAbandonedPrivateFolders(base);
    EXPECT_TRUE(QFileInfo(fresh).isDir());

    CommonDone();
    EXPECT_FALSE(QFileInfo::exists(fresh));
    EXPECT_EQ(present(), kept.join(' ').toStdString());
}
