#include "platform/single_instance.h"
#include "tests/support/test_env.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

QString Probe()
{
    return QStringLiteral(ORVEK_PROBE_DIR "/single_instance_probe");
}

QString FreshFolder(const char* name)
{
    QString folder = test::TestRoot() + "/guard-" + name;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

// Runs the probe while this process keeps serving its event loop.
QString RunProbe(const QString& folder, const char* mode, int* exitCode)
{
    QProcess probe;
    probe.start(Probe(), { folder, mode });
    EXPECT_TRUE(probe.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    while (probe.state() != QProcess::NotRunning && clock.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        probe.waitForFinished(20);
    }
    *exitCode = probe.exitCode();
    return QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed();
}

} // namespace

TEST(SingleInstance, SecondStartNotifiesFirstAndEndsWithZero)
{
    const QString folder = FreshFolder("second");
    SingleInstanceGuard first("OrvekTest", folder);
    ASSERT_TRUE(first.TryAcquire());
    int notices = 0;
    QObject::connect(&first, &SingleInstanceGuard::ActivationRequested, [&] { ++notices; });

    int exitCode = -1;
    EXPECT_EQ(RunProbe(folder, "start", &exitCode), "notified");
    EXPECT_EQ(exitCode, 0);
    QElapsedTimer clock;
    clock.start();
    while (notices == 0 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(notices, 1);
}

TEST(SingleInstance, LockOfKilledInstanceDoesNotBlockNextStart)
{
    const QString folder = FreshFolder("stale");
    QProcess holder;
    holder.start(Probe(), { folder, "hold" });
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readAllStandardOutput().trimmed(), "held");
    {
        SingleInstanceGuard blocked("OrvekTest", folder);
        EXPECT_FALSE(blocked.TryAcquire());
    }
    holder.kill();
    holder.waitForFinished();

    SingleInstanceGuard next("OrvekTest", folder);
    EXPECT_TRUE(next.TryAcquire());
    // The socket file left by the killed process was replaced by a working one.
    int exitCode = -1;
    EXPECT_EQ(RunProbe(folder, "start", &exitCode), "notified");
    EXPECT_EQ(exitCode, 0);
}

TEST(SingleInstance, NoticeToAVanishedServerStillEnds)
{
    const QString folder = FreshFolder("nobody");
    SingleInstanceGuard lonely("OrvekTest", folder);
    EXPECT_FALSE(lonely.NotifyRunningInstance(200));
}
