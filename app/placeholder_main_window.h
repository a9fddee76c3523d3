#pragma once
// The program's frame window until the full main window is built: it carries the
// program title, the menu on which the program's windows are hung, and answers a
// later start of the program by coming to the front.

#include "core/services.h"

#include <QMainWindow>

class QMenu;

namespace orvek {

class PlaceholderMainWindow : public QMainWindow, public MainWindowService {
    Q_OBJECT
public:
    explicit PlaceholderMainWindow(QWidget* parent = nullptr);
    void RestoreAndActivate() override;

    QMenu* ProgramMenu() const { return programMenu_; }
    QMenu* HelpMenu() const { return helpMenu_; }

private:
    QMenu* programMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
};

}  // namespace orvek
