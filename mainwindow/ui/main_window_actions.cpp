// The main window's tool actions: zoom, highlight, cell tool, derivative mode, help,
// links and the service page.

#include "mainwindow/ui/main_window.h"

namespace orvek {

void TfOrvek1::ConnectToolActions() { }

} // namespace orvek
