#include "core/common_vars.h"
#include "platform/sql_database.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <signal.h>

using namespace orvek;

namespace {

QString Probe()
{
    return QStringLiteral(ORVEK_PROBE_DIR "/database_post_probe");
}

QString FreshDatabase(const QString& name)
{
    const QString folder = test::TestRoot() + "/" + name;
    QDir().mkpath(folder);
    EXPECT_TRUE(
        QFile::copy(FolderDatabasePath(test::TestProgramFolder() + "EmptyDatabase"), FolderDatabasePath(folder)));
    return folder;
}

// Reads the probe's complete lines; the labels of its acknowledged posts go to Acks.
void ReadLines(QProcess& probe, QStringList& acks, QStringList& other)
{
    while (probe.canReadLine()) {
        const QString line = QString::fromLocal8Bit(probe.readLine()).trimmed();
        if (line.startsWith("ack "))
            acks << line.section(' ', 1, 1);
        else if (!line.isEmpty())
            other << line;
    }
}

QSet<QString> StoredNames(const QString& folder, QString* integrity)
{
    QSet<QString> names;
    QSqlDatabase db = OpenFolderDatabase("check", folder, false);
    EXPECT_TRUE(db.isOpen());
    QSqlQuery query(db);
    if (ExecBound(query, "PRAGMA integrity_check") && query.next())
        *integrity = query.value(0).toString();
    EXPECT_TRUE(ExecBound(query, "SELECT t.NazovMerania FROM TreeDB t JOIN History h ON h.DiagramID = t.ID"));
    while (query.next())
        names.insert(query.value(0).toString());
    CloseFolderDatabase("check");
    return names;
}

} // namespace

TEST(DatabaseReliability, KilledWriterLosesNoAcknowledgedPost)
{
    // A writer that stops answering is caught by ctest's timeout.
    const QString folder = FreshDatabase("killed");
    QStringList allAcks;
    for (quint32 seed = 1; seed <= 20; ++seed) {
        const int killAfter = int(QRandomGenerator(seed).bounded(1, 201));
        QProcess probe;
        probe.start(Probe(), { folder, QString("s%1").arg(seed), "0" });
        ASSERT_TRUE(probe.waitForStarted(10000)) << probe.errorString().toStdString();
        QStringList acks, other;
        while (acks.size() < killAfter) {
            probe.waitForReadyRead(1000);
            ReadLines(probe, acks, other);
            ASSERT_TRUE(other.isEmpty()) << other.join(' ').toStdString();
            ASSERT_EQ(probe.state(), QProcess::Running);
        }
        ::kill(pid_t(probe.processId()), SIGKILL);
        ASSERT_TRUE(probe.waitForFinished(10000));
        ReadLines(probe, acks, other); // acknowledged before the kill
        allAcks << acks;
        QString integrity;
        const QSet<QString> stored = StoredNames(folder, &integrity);
        EXPECT_EQ(integrity, "ok") << "seed " << seed;
        for (const QString& ack : std::as_const(allAcks))
            ASSERT_TRUE(stored.contains(ack)) << "seed " << seed << ": " << ack.toStdString();
    }
}

TEST(DatabaseReliability, TwoConcurrentWritersLoseNothingAndNeverFail)
{
    const QString folder = FreshDatabase("concurrent");
    QProcess first, second;
    first.start(Probe(), { folder, "a", "200" });
    second.start(Probe(), { folder, "b", "200" });
    ASSERT_TRUE(first.waitForStarted(10000));
    ASSERT_TRUE(second.waitForStarted(10000));
    QStringList acks, other;
    for (QProcess* probe : { &first, &second }) {
        while (probe->state() != QProcess::NotRunning)
            probe->waitForFinished(1000);
        EXPECT_EQ(probe->exitCode(), 0);
        ReadLines(*probe, acks, other);
    }
    EXPECT_EQ(other, QStringList({ "done 0", "done 0" }));
    EXPECT_EQ(acks.size(), 400);
    QString integrity;
    const QSet<QString> stored = StoredNames(folder, &integrity);
    EXPECT_EQ(integrity, "ok");
    EXPECT_EQ(stored.size(), 400);
    for (const QString& ack : std::as_const(acks))
        EXPECT_TRUE(stored.contains(ack)) << ack.toStdString();
}
