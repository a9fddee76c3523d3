#pragma once
// Interfaces through which lower libraries call on the windows of higher ones. The
// program installs the real implementations at start-up; tests install doubles.

#include <QString>

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

// The shared batch-progress window (fMessageWindow) as file and database routines
// use it: a caption, a bar, an optional Cancel button whose press the loop polls.
class MessageWindowService {
public:
    virtual ~MessageWindowService() = default;
    // Sets the caption and whether Cancel is offered, and shows the window.
    virtual void ShowBatch(const QString& caption, bool showCancel) = 0;
    // Nothing when Min >= Max; otherwise shows or hides the bar, range Min..Max.
    virtual void SetupProgress(bool showBar, int min, int max) = 0;
    // Lets pending events run, moves the bar to Value (> 0) and returns True when
    // the user pressed Cancel.
    virtual bool StepProgress(int value) = 0;
    virtual void HideBatch() = 0;
};

MessageWindowService* MessageWindow();
void SetMessageWindowService(MessageWindowService* service);

// The help window: shows one page of the program's help.
class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void ShowHelpPage(const QString& path) = 0;
};

HelpService* HelpViewer();
void SetHelpService(HelpService* service);

}  // namespace orvek
