#include "core/services.h"

namespace orvek {

namespace {
MainWindowService* g_mainWindow = nullptr;
MessageWindowService* g_messageWindow = nullptr;
HelpService* g_help = nullptr;
}  // namespace

MainWindowService* MainWindow() { return g_mainWindow; }
void SetMainWindowService(MainWindowService* service) { g_mainWindow = service; }
MessageWindowService* MessageWindow() { return g_messageWindow; }
void SetMessageWindowService(MessageWindowService* service) { g_messageWindow = service; }
HelpService* HelpViewer() { return g_help; }
void SetHelpService(HelpService* service) { g_help = service; }

}  // namespace orvek
