// Second process for the restore kill test: starts the data module on the program
// folder named by ORVEK_APPDIR (settling what an earlier restore left) and restores.
//   restore_probe BACKUPFOLDER KILLSTEP [PAUSEMS]
//     KILLSTEP > 0: the process kills itself (SIGKILL) right after that step of the
//     restore; 0: the restore runs to its end; -1: only the start, no restore.
//     PAUSEMS: a pause after every step, so that a kill from outside can land in it.
//   Prints "steps <n>" and "done <1|0> <error>" when it lives to the end.
#include "core/common_vars.h"
#include "database/backups.h"
#include "database/data_module.h"

#include <QCoreApplication>
#include <QThread>
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
    if (argc < 3)
        return 2;
    const QString backup = QString::fromLocal8Bit(argv[1]);
    const int killStep = QByteArray(argv[2]).toInt();
    const int pause = argc > 3 ? QByteArray(argv[3]).toInt() : 0;
    orvek::CommonInit();
    int steps = 0;
    {
        orvek::TDataModule1 module;
        if (killStep >= 0) {
            orvek::SetRestoreStepHook([&](const char*) {
                if (++steps == killStep)
                    std::raise(SIGKILL);
                if (pause > 0)
                    QThread::msleep(pause);
            });
            QString error;
            const bool ok = module.RestoreDatabase(backup, &error);
            std::printf("steps %d\ndone %d %s\n", steps, ok ? 1 : 0, qPrintable(error));
        } else {
            std::printf("steps 0\ndone %d started\n", module.TablesOpen() ? 1 : 0);
        }
    }
    std::fflush(stdout);
    orvek::CommonDone();
    return 0;
}
