#include "tests/support/main_window_double.h"

#include "database/data_module.h"

namespace orvek::test {

MainWindowDouble::MainWindowDouble()
    : previous_(MainWindow())
{
    SetMainWindowService(this);
}

MainWindowDouble::~MainWindowDouble()
{
    SetMainWindowService(previous_);
}

void MainWindowDouble::ClearDiagram()
{
    Count("ClearDiagram");
    Root = nullptr;
    Modified = false;
    CurrentRecordID = 0;
}

} // namespace orvek::test
