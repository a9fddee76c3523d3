// The process frame: application object, program state, single instance, the composed
// program, the message loop and the orderly end.

#include "app/orvek_application.h"
#include "app/program.h"
#include "core/common_vars.h"
#include "core/ui/wheel_filter.h"
#include "mainwindow/ui/main_window.h"
#include "platform/single_instance.h"
#include "platform/sql_engine.h"

#include <QDir>
#include <QScreen>
#include <cstdio>
#include <memory>

using namespace orvek;

namespace {

// --database LOCATION (or --database=LOCATION) names the records database: a folder or a
// lab's server database postgresql://host[:port]/database[?user=role]. False, with
// Error, when the location is not one.
bool ApplyDatabaseArgument(const QStringList& arguments, QString* error)
{
    QString location;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--database") && i + 1 < arguments.size())
            location = arguments.at(++i);
        else if (argument.startsWith(QLatin1String("--database=")))
            location = argument.mid(int(qstrlen("--database=")));
    }
    if (location.isEmpty())
        return true;
    if (IsServerLocation(location)) {
        TServerDatabase server;
        if (!ParseServerLocation(location, server, error))
            return false;
        DatabaseDir = location;
        return true;
    }
    DatabaseDir = QDir(location).absolutePath() + QLatin1Char('/');
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // The display metrics need the screen, so the application object comes first.
    OrvekApplication app(argc, argv);
    if (QScreen* screen = app.primaryScreen())
        ScreenPixelsPerInch = screen->logicalDotsPerInchY();
    CommonInit();
    QString databaseError;
    if (!ApplyDatabaseArgument(app.arguments(), &databaseError)) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(databaseError));
        CommonDone();
        return 2;
    }

    // Its lock and socket live in TempDir, which CommonDone may remove: it goes first.
    auto guard = std::make_unique<SingleInstanceGuard>(ProgramName, TempDir);
    if (!guard->TryAcquire()) {
        guard->NotifyRunningInstance();
        guard.reset();
        CommonDone();
        return 0;
    }

    // No application display name: Qt would append it to every window title, and the
    // titles carry the program's name already.
    app.setApplicationName(ProgramName);
    int result = 0;
    {
        // The mouse wheel moves through lists and grids as the arrow keys do.
        TWheelToArrowKeys wheelToArrowKeys;
        app.installEventFilter(&wheelToArrowKeys);

        TOrvekProgram program(TOrvekProgram::Options {});
        QObject::connect(guard.get(), &SingleInstanceGuard::ActivationRequested, &program.MainWindow(),
            &TfOrvek1::RestoreAndActivate);
        program.Show();
        std::printf("%s: main window created\n", qUtf8Printable(ProgramTitle));
        std::fflush(stdout);
        result = app.exec();
    }
    guard.reset();
    CommonDone();
    return result;
}
