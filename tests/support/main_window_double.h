#pragma once
// A stand-in for the main window as its record view sees it: installed for its
// lifetime, it keeps the shown record's state in fields and counts every call.

#include "core/services.h"

#include <QMap>
#include <QString>

namespace orvek::test {

class MainWindowDouble : public MainWindowService {
public:
    MainWindowDouble();
    ~MainWindowDouble() override;
    MainWindowDouble(const MainWindowDouble&) = delete;
    MainWindowDouble& operator=(const MainWindowDouble&) = delete;

    void RestoreAndActivate() override { Count("RestoreAndActivate"); }
    bool StopMainTimer() override
    {
        Count("StopMainTimer");
        const bool was = TimerRunning;
        TimerRunning = false;
        return was;
    }
    void RestoreMainTimer(bool running) override
    {
        Count("RestoreMainTimer");
        TimerRunning = running;
    }
    bool SaveRecordDiagram() override
    {
        Count("SaveRecordDiagram");
        if (SaveSucceeds)
            Modified = false;
        return SaveSucceeds;
    }
    void ResetUndo() override { Count("ResetUndo"); }
    void PushUndoSnapshot() override { Count("PushUndoSnapshot"); }
    void RefreshEquationsPage() override { Count("RefreshEquationsPage"); }
    void RefreshReportPages() override { Count("RefreshReportPages"); }
    void RestoreViewState() override { Count("RestoreViewState"); }
    void UpdateActions(int mode) override
    {
        Count("UpdateActions");
        LastUpdateMode = mode;
    }
    void ExportTreeToFile() override { Count("ExportTreeToFile"); }
    void ClearDiagram() override;
    void RequestRecordReload() override
    {
        Count("RequestRecordReload");
        ReloadRequested = true;
    }
    TCell* FRootCell() override { return Root; }
    void SetRootCell(TCell* root) override { Root = root; }
    TDiagramHost* DiagramHost() override { return Host; }
    bool FModified() override { return Modified; }
    void SetModified(bool modified) override { Modified = modified; }
    bool FLoadedFromTemplate() override { return LoadedFromTemplate; }
    void SetLoadedFromTemplate(bool loaded) override { LoadedFromTemplate = loaded; }
    int FLastRecNo() override { return LastRecNo; }
    void SetLastRecNo(int row) override { LastRecNo = row; }
    bool FSummaryShown() override { return SummaryShown; }
    void ActionSuhrnVelicinExecute() override { Count("ActionSuhrnVelicinExecute"); }
    void ActionShowHideSummaryWindowExecute() override
    {
        Count("ActionShowHideSummaryWindowExecute");
        SummaryShown = !SummaryShown;
    }
    void ApplyFolderGroupsSetting() override { Count("ApplyFolderGroupsSetting"); }
    bool CreateUndoTable() override
    {
        Count("CreateUndoTable");
        return true;
    }
    void DropUndoTable() override { Count("DropUndoTable"); }
    void ShowServicePage(bool shown) override
    {
        Count("ShowServicePage");
        ServicePageShown = shown;
    }
    void SetStatusBarTexts(const QStringList& texts) override
    {
        Count("SetStatusBarTexts");
        StatusBarTexts = texts;
    }

    // How often each member was called, by name.
    int Calls(const QString& name) const { return calls_.value(name); }

    bool TimerRunning = true;
    bool ServicePageShown = false;
    QStringList StatusBarTexts;
    bool SaveSucceeds = true;
    bool Modified = false;
    bool LoadedFromTemplate = false;
    bool SummaryShown = false;
    bool ReloadRequested = false;
    int LastRecNo = 0;
    int LastUpdateMode = -1;
    TCell* Root = nullptr; // not owned
    TDiagramHost* Host = nullptr; // not owned

private:
    void Count(const QString& name) { ++calls_[name]; }
    QMap<QString, int> calls_;
    MainWindowService* previous_ = nullptr;
};

} // namespace orvek::test
