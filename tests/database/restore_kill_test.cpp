// A restore killed at any moment leaves the database folder whole: either as it was or
// as the backup holds it, once the next start has settled it. A second process runs
// the restore and kills itself after each of its steps in turn (also between the
// steps of the database copy), then a few times at random moments; each time a fresh
// start of that process settles the folder, and the folder is checked.

#include "core/common_vars.h"
#include "platform/sql_database.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <csignal>

using namespace orvek;

namespace {

QString Probe()
{
    return QStringLiteral(ORVEK_PROBE_DIR "/restore_probe");
}

void WriteText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

QString ReadText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<missing>");
}

// A database folder of the empty database with Rows records named Label, and two other
// files whose texts name Label too.
void MakeFolder(const QString& folder, const QString& label, int rows)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    ASSERT_TRUE(
        QFile::copy(FolderDatabasePath(test::TestProgramFolder() + "EmptyDatabase"), FolderDatabasePath(folder)));
    QFile::setPermissions(FolderDatabasePath(folder), QFile::ReadOwner | QFile::WriteOwner);
    {
        QSqlDatabase db = OpenFolderDatabase("make", folder, false);
        ASSERT_TRUE(Post(db, [&](QString* error) {
            QSqlQuery query(db);
            for (int i = 0; i < rows; ++i)
                if (!ExecBound(query, "INSERT INTO TreeDB (NazovMerania, Strom, GroupID) VALUES (?, ?, 1)",
                        { label, QString(2000, QChar('a' + i % 26)) }, error))
                    return false;
            return true;
        }));
    }
    CloseFolderDatabase("make");
    WriteText(folder + "/val.ref", label.toUtf8() + " reference");
    WriteText(folder + "/notes.txt", label.toUtf8() + " notes");
}

// What the folder holds: "old", "new", or a description of a mixed or damaged state.
QString StateOf(const QString& folder)
{
    QStringList names;
    QString integrity;
    {
        QString error;
        QSqlDatabase db = OpenFolderDatabase("state", folder, false, &error);
        QSqlQuery query(db);
        if (ExecBound(query, "PRAGMA integrity_check") && query.next())
            integrity = query.value(0).toString();
        if (ExecBound(query, "SELECT DISTINCT NazovMerania FROM TreeDB"))
            while (query.next())
                names << query.value(0).toString();
    }
    CloseFolderDatabase("state");
    if (integrity != "ok" || names.size() != 1)
        return "database " + integrity + " " + names.join(',');
    const QString label = names.first();
    const QString ref = ReadText(folder + "/val.ref"), notes = ReadText(folder + "/notes.txt");
    if (ref != label + " reference" || notes != label + " notes")
        return QString("mixed: database %1, val.ref %2, notes %3").arg(label, ref, notes);
    const QStringList left = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const QStringList expected { kFolderDatabaseFileName, "notes.txt", "val.ref" };
    QStringList extra;
    // The lock file is the lock's own; a journal, hot or not, is gone once the start
    // has opened the database.
    for (const QString& name : left)
        if (!expected.contains(name) && name != "Orvek.restore-lock")
            extra << name;
    if (!extra.isEmpty())
        return "leftovers " + extra.join(',');
    return label;
}

struct ProbeRun {
    bool finished = false; // lived to the end of the restore
    bool restored = false; // and the restore said it succeeded
    int steps = 0;
};

ProbeRun RunProbe(const QString& appDir, const QString& backup, int killStep, int pause = 0, int killAfterMs = -1)
{
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORVEK_APPDIR", appDir);
    probe.setProcessEnvironment(env);
    probe.start(Probe(), { backup, QString::number(killStep), QString::number(pause) });
    EXPECT_TRUE(probe.waitForStarted()) << probe.errorString().toStdString();
    if (killAfterMs >= 0) {
        probe.waitForFinished(killAfterMs);
        if (probe.state() != QProcess::NotRunning)
            ::kill(pid_t(probe.processId()), SIGKILL);
    }
    probe.waitForFinished(-1);
    ProbeRun run;
    for (const QString& line : QString::fromLocal8Bit(probe.readAllStandardOutput()).split('\n')) {
        if (line.startsWith("steps "))
            run.steps = line.mid(6).toInt();
        if (line.startsWith("done ")) {
            run.finished = true;
            run.restored = line.startsWith("done 1");
        }
    }
    return run;
}

} // namespace

TEST(RestoreKill, EveryKillLeavesTheOldFolderOrTheRestoredOne)
{
    const QString root = test::TestRoot() + "/restorekill/";
    const QString appDir = root + "program/";
    const QString database = appDir + "Database";
    QDir().mkpath(appDir);
    QFile::link(test::TestProgramFolder() + "EmptyDatabase", appDir + "EmptyDatabase");
    const QString oldFolder = root + "old", backup = root + "backup";
    MakeFolder(oldFolder, "old", 5);
    MakeFolder(backup, "new", 200); // many pages, so that the copy takes several steps

    const auto freshStart = [&] {
        QDir(database).removeRecursively();
        QDir().mkpath(database);
        for (const QString& name : QDir(oldFolder).entryList(QDir::Files))
            QFile::copy(oldFolder + "/" + name, database + "/" + name);
    };

    // The restore run whole: it counts its steps and gives the restored folder.
    freshStart();
    const ProbeRun whole = RunProbe(appDir, backup, 0);
    ASSERT_TRUE(whole.finished && whole.restored);
    ASSERT_GT(whole.steps, 8);
    EXPECT_EQ(StateOf(database), "new");

    int oldStates = 0, newStates = 0;
    const auto check = [&](const QString& what) {
        const ProbeRun settle = RunProbe(appDir, backup, -1);
        ASSERT_TRUE(settle.finished) << what.toStdString();
        const QString state = StateOf(database);
        if (state == "old")
            ++oldStates;
        else if (state == "new")
            ++newStates;
        else
            ADD_FAILURE() << what.toStdString() << ": " << state.toStdString();
    };
    for (int step = 1; step <= whole.steps; ++step) {
        freshStart();
        const ProbeRun killed = RunProbe(appDir, backup, step);
        if (killed.finished) {
            // The copy's step count is not fixed from run to run: this run ended before
            // the step, so the restore ran whole and must have left the new folder.
            EXPECT_TRUE(killed.restored) << "step " << step;
            EXPECT_EQ(StateOf(database), "new") << "step " << step;
            continue;
        }
        check(QString("killed after step %1").arg(step));
    }
    // Kills from outside at random moments, with a pause after each step so that they
    // land between the steps as often as in them.
    QRandomGenerator random(3011);
    for (int round = 0; round < 8; ++round) {
        freshStart();
        const int at = random.bounded(whole.steps * 20);
        RunProbe(appDir, backup, 0, 20, at);
        check(QString("killed at %1 ms").arg(at));
    }
    EXPECT_GT(oldStates, 0);
    EXPECT_GT(newStates, 0);
}
