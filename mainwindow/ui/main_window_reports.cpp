// The main window's report pages and outputs: reports and diagram pictures copied,
// printed, previewed or saved.

#include "mainwindow/ui/main_window.h"

namespace orvek {

void TfOrvek1::ConnectReportActions() { }

} // namespace orvek
