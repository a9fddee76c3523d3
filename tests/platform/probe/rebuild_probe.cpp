// Second process for the rebuild kill test: rebuilds the database of a folder and
// kills itself (SIGKILL) right after the given step (0: never).
//   rebuild_probe FOLDER TEMPFOLDER KILLSTEP
//   Prints "steps <n>" and "done <1|0> <error>" when it lives to the end.
#include "platform/table_repair.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=0";
}
#endif

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const int killStep = QByteArray(argv[3]).toInt();
    int steps = 0;
    const auto step = [&] {
        if (++steps == killStep)
            std::raise(SIGKILL);
    };
    orvek::SetRebuildStepHook([&](const char*) { step(); });
    orvek::RebuildResult result;
    QString error;
    const bool ok = orvek::RebuildDatabase(
        QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), &result, &error, [&](int, int) { step(); });
    std::printf("steps %d\ndone %d %s\n", steps, ok ? 1 : 0, qPrintable(error));
    std::fflush(stdout);
    return 0;
}
