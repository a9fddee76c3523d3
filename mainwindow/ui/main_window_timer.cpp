// The main window's 100 ms timer: what the tick (TMainTick) reads from the window and
// does on it, the display requests it serves one per tick, and the window's own zoom.

#include "core/common_vars.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/ui/hidden_while_rebuilt.h"
#include "database/record_view.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/ui/diagram_view.h"
#include "mainwindow/cell_record_access.h"
#include "mainwindow/main_change_history.h"
#include "mainwindow/main_document.h"
#include "mainwindow/main_tick.h"
#include "mainwindow/ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTextEdit>
#include <QTimer>
#include <cmath>

namespace orvek {

class TfOrvek1::TickHost : public TMainTickHost {
public:
    explicit TickHost(TfOrvek1& window)
        : w(window)
    {
    }

    bool IsActiveWindow() override
    {
        if (w.ActiveWindowProbe)
            return w.ActiveWindowProbe();
        return w.isVisible() && w.isActiveWindow();
    }
    bool RecordQueryOpen() override { return w.RecordPanel->View().Active(); }
    int RowCount() override { return w.RecordPanel->View().RowCount(); }
    int CurrentRowID() override { return w.RecordPanel->View().CurrentRowID(); }
    int CurrentRowNo() override { return w.RecordPanel->View().CurrentRow() + 1; }
    int CurrentRowFromTemplateID() override
    {
        TRecordView& view = w.RecordPanel->View();
        if (view.CurrentRow() < 0)
            return 0;
        return view.Field(view.CurrentRow(), RecordAnswerFieldNumber(QStringLiteral("FromTemplateID"))).toInt();
    }
    int SelectedCount() override
    {
        if (!w.RecordPanel->FMultiSelect)
            return RowCount() > 0 ? 1 : 0;
        const QItemSelectionModel* selection = w.RecordPanel->DBGrid_Tree->selectionModel();
        return selection ? int(selection->selectedRows().size()) : 0;
    }
    bool MultiSelectMode() override { return w.RecordPanel->FMultiSelect; }
    bool SummaryClosedByUser() override
    {
        return w.FSummaryShownFlag && ResultSummary() && !ResultSummary()->IsVisible();
    }

    void SetTimerRunning(bool running) override
    {
        if (running)
            w.Timer1->start();
        else
            w.Timer1->stop();
    }
    void UncheckSummary() override
    {
        w.FSummaryShownFlag = false;
        w.ActionShowHideSummaryWindow->setChecked(false);
    }
    void TidyRecordView(bool oneRowSelected) override
    {
        w.RecordPanel->DBTreeView->setRootIsDecorated(true);
        if (oneRowSelected && !w.RecordPanel->ActionUrobitKopiuZaznamu->isEnabled())
            w.RecordPanel->ActionUrobitKopiuZaznamu->setEnabled(true);
    }
    void ShowNoDiagram() override { w.ShowNoDiagram(); }
    void ShowRecordNumber(int rowNo, int rowCount) override
    {
        w.RecordPanel->Panel_RecNo->setText(QStringLiteral("%1/%2").arg(rowNo).arg(rowCount));
    }
    TRecordLoad LoadRecordDiagram(int id) override
    {
        TRecordLoad load;
        w.ScrollBox2->setVisible(true);
        load.Loaded = w.LoadShownRecord(id, &load.Error, &load.TreeText);
        return load;
    }
    void RefreshSummary() override { w.RefreshSummary(); }
    void EnableSourceTemplateAction(bool enabled) override
    {
        w.RecordPanel->ActionShowSourceTemplateFromDB->setEnabled(enabled);
    }
    void MoveGridToRow(int rowNo) override { w.RecordPanel->RefreshGrid(w.RecordPanel->View().RowID(rowNo - 1)); }
    void SetPickCursor(bool help) override
    {
        if (help)
            w.ScrollBox2->setCursor(Qt::WhatsThisCursor);
        else if (w.ScrollBox2->cursor().shape() == Qt::WhatsThisCursor)
            w.ScrollBox2->unsetCursor();
    }
    void TreeChangedPages() override
    {
        DataChangedSinceBackup = true;
        w.FShortReportStale = true;
        w.FFormulaPageStale = true;
        w.RefreshEquationsPage();
    }
    void RunDisplayRequest(TDisplayRequest request) override { w.RunDisplayRequest(request); }
    void ShowCellProperties() override
    {
        if (w.ShowCellPropertiesHandler)
            w.ShowCellPropertiesHandler();
    }

private:
    TfOrvek1& w;
};

void TfOrvek1::StartTimerLoop(std::function<quint32()> clock)
{
    recordAccess_ = std::make_unique<DataModuleCellRecord>();
    changeHistory_ = std::make_unique<TMainChangeHistory>(*recordAccess_);
    tickHost_ = std::make_unique<TickHost>(*this);
    tick_ = std::make_unique<TMainTick>(*tickHost_, *document_, std::move(clock), changeHistory_.get());
    connect(Timer1, &QTimer::timeout, this, &TfOrvek1::Timer1Timer);
}

TfOrvek1::~TfOrvek1()
{
    Timer1->stop();
    FormDestroy();
    // The record list's grid and counter stand in a panel of the window but belong to the
    // record panel, which still uses them while it is destroyed: they go with it.
    RecordPanel->DBGrid_Tree->setParent(RecordPanel);
    RecordPanel->Panel_RecNo->setParent(RecordPanel);
    tick_.reset();
    tickHost_.reset();
    if (fOrvek1 == this)
        fOrvek1 = nullptr;
}

void TfOrvek1::Timer1Timer()
{
    tick_->Timer1Timer();
    UpdateUndoActions();
}

bool TfOrvek1::StopMainTimer()
{
    const bool running = Timer1->isActive();
    Timer1->stop();
    return running;
}

void TfOrvek1::RestoreMainTimer(bool running)
{
    if (running && !FFirstActivation && !FClosing)
        Timer1->start();
}

void TfOrvek1::RequestRecordReload()
{
    tick_->RequestReload();
}

int TfOrvek1::FLastRecNo()
{
    return tick_->FLastRecNo;
}

void TfOrvek1::SetLastRecNo(int row)
{
    tick_->FLastRecNo = row;
}

void TfOrvek1::RefreshSummary()
{
    if (FSummaryShownFlag && ResultSummary() && ResultSummary()->IsVisible() && document_->RootCell)
        ResultSummary()->ShowCellSummary(document_->RootCell);
}

void TfOrvek1::RunDisplayRequest(TDisplayRequest request)
{
    TCell* root = document_->RootCell;
    switch (request) {
    case TDisplayRequest::Highlight:
        if (root) {
            HiddenWhileRebuilt hidden(ScrollBox2);
            // The largest-contribution colours need the sensitivities; the pass shows
            // the wait window itself when the model is large.
            if (HighlightMode == 3)
                root->ComputeSensitivityByDifference();
            root->SetHighlightMode(HighlightMode);
        }
        break;
    case TDisplayRequest::ExpandTree:
        if (root) {
            HiddenWhileRebuilt hidden(ScrollBox2);
            root->ExpandAll();
        }
        break;
    case TDisplayRequest::ZoomOut:
        ZoomOut();
        break;
    case TDisplayRequest::ZoomIn:
        ZoomIn();
        break;
    case TDisplayRequest::ZoomPreset:
        Zoom.ApplyPreset();
        RelayoutToZoom();
        UpdateCaptionZoom();
        break;
    case TDisplayRequest::None:
        break;
    }
}

void TfOrvek1::RelayoutToZoom()
{
    ScaleLayoutToZoom();
    if (document_->RootCell)
        document_->RootCell->RelayoutTree();
}

void TfOrvek1::ZoomIn()
{
    ActionStromZmensit->setEnabled(true);
    if (Zoom.ZoomIn()) {
        SyncZoomControls();
        RelayoutToZoom();
        UpdateCaptionZoom();
    }
    ActionStromZvacsit->setEnabled(Zoom.ZoomInEnabled);
}

void TfOrvek1::ZoomOut()
{
    ActionStromZvacsit->setEnabled(true);
    if (Zoom.ZoomOut()) {
        SyncZoomControls();
        RelayoutToZoom();
        UpdateCaptionZoom();
    }
    ActionStromZmensit->setEnabled(Zoom.ZoomOutEnabled);
}

void TfOrvek1::SyncZoomControls()
{
    QAction* presets[] = { ActionZoom_50, ActionZoom_85, ActionZoom_100, ActionZoom_150, ActionZoom_200 };
    for (QAction* action : presets)
        action->setChecked(false);
    if (ZoomPresetIndex == 0) {
        SyncFreeZoomPreset();
        ComboBox_Zoom->setItemText(0, ZoomPresetTexts[0]);
    } else if (ZoomPresetIndex >= 1 && ZoomPresetIndex <= 5) {
        presets[ZoomPresetIndex - 1]->setChecked(true);
    }
    const QSignalBlocker blocker(ComboBox_Zoom);
    ComboBox_Zoom->setCurrentIndex(ZoomPresetIndex);
}

} // namespace orvek
