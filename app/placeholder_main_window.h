#pragma once
// The program's frame window until the full main window is built: it carries the
// program title, the menu on which the program's windows are hung, closes the splash
// at its first activation, and answers a later start of the program by coming to the
// front.

#include "core/services.h"

#include <QMainWindow>

class QAction;
class QMenu;

namespace orvek {

class PlaceholderMainWindow : public QMainWindow, public MainWindowService {
    Q_OBJECT
public:
    explicit PlaceholderMainWindow(QWidget* parent = nullptr);
    void RestoreAndActivate() override;
    void ApplyFolderGroupsSetting() override;

    QMenu* ProgramMenu() const { return programMenu_; }
    QMenu* HelpMenu() const { return helpMenu_; }

    QAction* ActionProgramoveStringy = nullptr;
    QAction* ActionHelpContents = nullptr;
    QAction* ActionHelpGlossary = nullptr;
    QAction* ActionAboutProgram = nullptr;

    void FormActivate();
    void ActionProgramoveStringyExecute();
    void ActionAboutProgramExecute();

protected:
    bool event(QEvent* event) override;

private:
    void CloseSplash();

    QMenu* programMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    bool activatedOnce_ = false;
};

} // namespace orvek
