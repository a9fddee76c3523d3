// The main window's language items.

#include "mainwindow/ui/main_window.h"

namespace orvek {

void TfOrvek1::ConnectLanguageActions() { }

} // namespace orvek
