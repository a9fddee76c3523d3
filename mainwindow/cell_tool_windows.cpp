#include "mainwindow/cell_tool_windows.h"

#include "core/common_vars.h"
#include "engine/cell.h"

namespace orvek {

void ClearCellCommandsInWindows()
{
    ClearCellCommands();
    for (TCellToolWindow* window : { MainCellToolWindow, TemplateCellToolWindow })
        if (window)
            window->ClearCellCommands();
}

TWindowTimersOff::TWindowTimersOff()
{
    for (TCellToolWindow* window : { MainCellToolWindow, TemplateCellToolWindow })
        if (window)
            window->SetTimerEnabled(false);
}

TWindowTimersOff::~TWindowTimersOff()
{
    const bool templateShown = TemplateCellToolWindow && TemplateCellToolWindow->IsVisible();
    if (templateShown)
        TemplateCellToolWindow->SetTimerEnabled(true);
    else if (MainCellToolWindow)
        MainCellToolWindow->SetTimerEnabled(true);
}

TCellTimerOff::TCellTimerOff(TCell& cell)
    : cell_(cell)
    , wasEnabled_(cell.TimerEnabled())
{
    cell_.SetTimerEnabled(false);
}

TCellTimerOff::~TCellTimerOff()
{
    cell_.SetTimerEnabled(wasEnabled_ && cell_.IsVisible());
}

} // namespace orvek
