#pragma once
// Interfaces through which lower libraries call on the windows of higher ones. The
// program installs the real implementations at start-up; tests install doubles.

namespace orvek {

// The main window as the process frame sees it.
class MainWindowService {
public:
    virtual ~MainWindowService() = default;
    // Another start of the program asked this one to come to the front: restore the
    // application's window and activate it.
    virtual void RestoreAndActivate() = 0;
};

MainWindowService* MainWindow();
void SetMainWindowService(MainWindowService* service);

}  // namespace orvek
