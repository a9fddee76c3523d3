// The program's start as `main` runs it, offscreen: from the process's start to the
// shown log-in window, with the fsync/fdatasync calls made on the way. The program
// folder (the build's string table with its text source beside it, the empty
// database) is laid out once; the first start makes the user's database and is not
// counted; each measured start is a child process of this one.
//   start_bench [rounds]
#include "app/orvek_application.h"
#include "app/program.h"
#include "bench/sync_count.h"
#include "core/common_vars.h"
#include "database/ui/login_dialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

using namespace orvek;

namespace {

// One start: prints "<ms from main> <syncs>" once the log-in window shows, and ends.
int RunOneStart(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    OrvekApplication app(argc, argv);
    const qint64 application = clock.elapsed();
    CommonInit();
    app.setApplicationName(ProgramName);
    TOrvekProgram program(TOrvekProgram::Options {});
    const qint64 composed = clock.elapsed();
    program.Show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* login = qobject_cast<TfPrihlasenieDoProgramu*>(QApplication::activeModalWidget());
        if (!login || !login->isVisible())
            return;
        std::fprintf(stderr, "application object %lld ms, program composed %lld ms, log-in window %lld ms\n",
            static_cast<long long>(application), static_cast<long long>(composed),
            static_cast<long long>(clock.elapsed()));
        std::printf("%lld %d\n", static_cast<long long>(clock.elapsed()), bench::SyncCalls.load());
        std::fflush(stdout);
        ::_exit(0);
    });
    poll.start(1);
    return app.exec();
}

struct Start {
    double childMs = 0, wallMs = 0;
    int syncs = 0;
};

bool StartChild(const QString& self, Start& start)
{
    QProcess child;
    QElapsedTimer wall;
    wall.start();
    child.start(self, { QStringLiteral("--one-start") });
    if (!child.waitForFinished(60000))
        return false;
    start.wallMs = double(wall.elapsed());
    if (qEnvironmentVariableIsSet("START_BENCH_PHASES"))
        std::fprintf(stderr, "%s", child.readAllStandardError().constData());
    const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split('\n').last().split(' ');
    if (parts.size() != 2) {
        std::fprintf(stderr, "%s\n", child.readAllStandardError().constData());
        return false;
    }
    start.childMs = parts[0].toDouble();
    start.syncs = parts[1].toInt();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && qstrcmp(argv[1], "--one-start") == 0)
        return RunOneStart(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    const QString bin = QCoreApplication::applicationDirPath();
    const QString appDir = root.path() + QStringLiteral("/app/");
    QDir().mkpath(appDir + QStringLiteral("Strings"));
    QDir().mkpath(root.path() + QStringLiteral("/tmp"));
    for (const char* folder : { "EmptyDatabase", "help", "Validation", "DemoExamples" })
        QFile::link(bin + QLatin1Char('/') + QLatin1String(folder), appDir + QLatin1String(folder));
    QDir strings(bin + QStringLiteral("/Strings"));
    for (const QString& name : strings.entryList(QDir::Files))
        QFile::copy(strings.filePath(name), appDir + QStringLiteral("Strings/") + name);
    qputenv("ORVEK_APPDIR", appDir.toLocal8Bit());
    qputenv("HOME", root.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (root.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (root.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("TMPDIR", (root.path() + QStringLiteral("/tmp")).toLocal8Bit());

    const QString self = QCoreApplication::applicationFilePath();
    Start first;
    if (!StartChild(self, first)) {
        std::fprintf(stderr, "the first start did not reach the log-in window\n");
        return 1;
    }
    std::printf("first start (makes the database): %.0f ms in process, %d syncs\n", first.childMs, first.syncs);
    std::vector<Start> starts;
    for (int i = 0; i < rounds; ++i) {
        Start start;
        if (!StartChild(self, start)) {
            std::fprintf(stderr, "a start did not reach the log-in window\n");
            return 1;
        }
        starts.push_back(start);
    }
    auto column = [&](auto field) {
        std::vector<double> v;
        for (const Start& s : starts)
            v.push_back(double(s.*field));
        std::sort(v.begin(), v.end());
        return std::make_pair(v.front(), v[v.size() / 2]);
    };
    const auto inProcess = column(&Start::childMs);
    const auto wall = column(&Start::wallMs);
    const auto syncs = column(&Start::syncs);
    std::printf("start to the log-in window, %d starts: in process min %.0f ms median %.0f ms; "
                "process wall min %.0f ms median %.0f ms; syncs %g\n",
        rounds, inProcess.first, inProcess.second, wall.first, wall.second, syncs.second);
    return 0;
}
