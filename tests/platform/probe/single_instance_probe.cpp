// Second process for the single-instance tests.
//   single_instance_probe FOLDER start   acquire or notify, as the program does; exit 0
//   single_instance_probe FOLDER hold    acquire, print "held", then wait to be killed
#include "platform/single_instance.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    orvek::SingleInstanceGuard guard("OrvekTest", QString::fromLocal8Bit(argv[1]));
    const QByteArray mode = argv[2];
    if (mode == "hold") {
        if (!guard.TryAcquire())
            return 3;
        std::printf("held\n");
        std::fflush(stdout);
        return app.exec();
    }
    if (guard.TryAcquire()) {
        std::printf("first\n");
        return 0;
    }
    guard.NotifyRunningInstance();
    std::printf("notified\n");
    return 0;
}
