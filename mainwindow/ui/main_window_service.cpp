// What the main window offers the rest of the program (MainWindowService): the shown
// record and its tree, its store, the view state, the summary actions, the service page
// and the status bar.

#include "core/common_vars.h"
#include "core/settings.h"
#include "database/data_module.h"
#include "database/record_load.h"
#include "database/ui/record_view_panel.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "engine/ui/diagram_view.h"
#include "mainwindow/main_document.h"
#include "mainwindow/ui/main_window.h"
#include "platform/db_session.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSqlDatabase>
#include <QTabWidget>
#include <QTextEdit>

namespace orvek {

void TfOrvek1::RestoreAndActivate()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

bool TfOrvek1::LoadShownRecord(int id, QString* reason, QString* treeText)
{
    if (!DataModule1)
        return false;
    QSqlDatabase db = DataModule1->SessionOrvek().Database(AliasDB);
    return LoadRecordDiagram(db, id, reason, treeText) == TRecordLoad::Loaded;
}

bool TfOrvek1::SaveRecordDiagram()
{
    return document_->SaveRecordDiagram();
}

void TfOrvek1::ShowNoDiagram()
{
    RecordPanel->Panel_RecNo->setText(QStringLiteral("0/0"));
    ScrollBox2->setVisible(false);
    RichEdit_ShortReport->clear();
    RichEdit_Rovnice->clear();
    RestoreViewState();
}

void TfOrvek1::ClearDiagram()
{
    document_->ClearDiagram();
    ShowNoDiagram();
}

void TfOrvek1::RestoreViewState()
{
    SensitivityPassEnabled = true;
    EditMode = 1;
    // Each database window keeps its own zoom although the zoom globals are shared.
    if (Zoom.RestoreOwnZoom())
        SyncZoomControls();
    UpdateCaptionZoom();
    UpdateActions(1);
}

void TfOrvek1::RefreshReportPages()
{
    FShortReportStale = true;
    FFormulaPageStale = true;
    if (RebuildShownReportPage)
        RebuildShownReportPage();
}

void TfOrvek1::ExportTreeToFile()
{
    // The export dialog is one of the tool actions, filled in with them.
    if (ExportTreeToFileHandler)
        ExportTreeToFileHandler();
}

TCell* TfOrvek1::FRootCell()
{
    return document_->RootCell;
}

void TfOrvek1::SetRootCell(TCell* root)
{
    document_->RootCell = root;
}

TDiagramHost* TfOrvek1::DiagramHost()
{
    return ScrollBox2;
}

bool TfOrvek1::FModified()
{
    return document_->FModified;
}

void TfOrvek1::SetModified(bool modified)
{
    document_->FModified = modified;
}

bool TfOrvek1::FLoadedFromTemplate()
{
    return document_->FLoadedFromTemplate;
}

void TfOrvek1::SetLoadedFromTemplate(bool loaded)
{
    document_->FLoadedFromTemplate = loaded;
}

void TfOrvek1::ActionSuhrnVelicinExecute()
{
    ActionSuhrnVelicin->trigger();
}

void TfOrvek1::ActionShowHideSummaryWindowExecute()
{
    ActionShowHideSummaryWindow->trigger();
}

void TfOrvek1::ApplyFolderGroupsSetting()
{
    RecordPanel->ApplyFolderGroupsSetting();
}

void TfOrvek1::ShowServicePage(bool shown)
{
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet_Service), shown);
    menuService->menuAction()->setVisible(shown);
}

void TfOrvek1::SetStatusBarTexts(const QStringList& texts)
{
    for (int i = 0; i < 4; ++i)
        StatusPanels[i]->setText(texts.value(i));
}

} // namespace orvek
