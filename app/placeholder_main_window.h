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

    // The placeholder shows no record: the record view's calls do nothing.
    bool StopMainTimer() override { return false; }
    void RestoreMainTimer(bool) override { }
    bool SaveRecordDiagram() override { return true; }
    void ResetUndo() override { }
    void PushUndoSnapshot() override { }
    void RefreshEquationsPage() override { }
    void RefreshReportPages() override { }
    void RestoreViewState() override { }
    void UpdateActions(int) override { }
    void ExportTreeToFile() override { }
    void ClearDiagram() override { }
    void RequestRecordReload() override { }
    TCell* FRootCell() override { return nullptr; }
    void SetRootCell(TCell*) override { }
    TDiagramHost* DiagramHost() override { return nullptr; }
    bool FModified() override { return false; }
    void SetModified(bool) override { }
    bool FLoadedFromTemplate() override { return false; }
    void SetLoadedFromTemplate(bool) override { }
    int FLastRecNo() override { return 0; }
    void SetLastRecNo(int) override { }
    bool FSummaryShown() override { return false; }
    void ActionSuhrnVelicinExecute() override { }
    void ActionShowHideSummaryWindowExecute() override { }
    bool CreateUndoTable() override { return true; }
    void DropUndoTable() override { }
    void ShowServicePage(bool) override { }
    void SetStatusBarTexts(const QStringList&) override { }

    QMenu* ProgramMenu() const { return programMenu_; }
    QMenu* HelpMenu() const { return helpMenu_; }

    QAction* ActionProgramoveStringy = nullptr;
    QAction* ActionTemplates = nullptr;
    QAction* ActionHelpContents = nullptr;
    QAction* ActionHelpGlossary = nullptr;
    QAction* ActionAboutProgram = nullptr;

    void FormActivate();
    void ActionProgramoveStringyExecute();
    void ActionTemplatesExecute();
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
