#include "core/services.h"

namespace orvek {

namespace {
MainWindowService* g_mainWindow = nullptr;
}

MainWindowService* MainWindow() { return g_mainWindow; }
void SetMainWindowService(MainWindowService* service) { g_mainWindow = service; }

}  // namespace orvek
