// The process frame: application object, program state, single instance, the
// windows, the message loop and the orderly end.

#include "app/orvek_application.h"
#include "app/placeholder_main_window.h"
#include "core/common_vars.h"
#include "core/services.h"
#include "platform/single_instance.h"
#include "platform/ui/widget_dialogs.h"

#include <QScreen>
#include <cstdio>

using namespace orvek;

int main(int argc, char** argv)
{
    // The display metrics need the screen, so the application object comes first.
    OrvekApplication app(argc, argv);
    if (QScreen* screen = app.primaryScreen())
        ScreenPixelsPerInch = screen->logicalDotsPerInchY();
    CommonInit();

    SingleInstanceGuard guard(ProgramName, TempDir);
    if (!guard.TryAcquire()) {
        guard.NotifyRunningInstance();
        CommonDone();
        return 0;
    }

    app.setApplicationName(ProgramName);
    app.setApplicationDisplayName(ProgramTitle);
    WidgetDialogHandler dialogs;
    SetDialogHandler(&dialogs);

    int result = 0;
    {
        PlaceholderMainWindow mainWindow;
        SetMainWindowService(&mainWindow);
        QObject::connect(&guard, &SingleInstanceGuard::ActivationRequested, &mainWindow,
                         &PlaceholderMainWindow::RestoreAndActivate);
        mainWindow.show();
        std::printf("%s: main window created\n", qUtf8Printable(ProgramTitle));
        std::fflush(stdout);
        result = app.exec();
        SetMainWindowService(nullptr);
    }
    SetDialogHandler(nullptr);
    CommonDone();
    return result;
}
