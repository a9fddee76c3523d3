// The template window's timer loop: what the tick reads from the window and does on it,
// the display requests it serves one per tick, and the window's own zoom.

#include "core/common_vars.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/ui/hidden_while_rebuilt.h"
#include "database/template_document.h"
#include "database/template_list.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/ui/diagram_view.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QTimer>
#include <cmath>

namespace orvek {

class TfOrvekDB::TickHost : public TTemplateTickHost {
public:
    explicit TickHost(TfOrvekDB& window)
        : w(window)
    {
    }

    bool IsActiveWindow() override { return w.isVisible() && w.isActiveWindow(); }
    bool ListOpen() override { return w.list_->Active(); }
    int RowCount() override { return w.ListRowCount(); }
    int CurrentRowID() override { return w.CurrentRowID(); }
    int SelectedCount() override
    {
        if (!w.MultiSelectMode)
            return w.ListRowCount() > 0 ? 1 : 0;
        const QItemSelectionModel* selection = w.DBGrid_Template->selectionModel();
        return selection ? int(selection->selectedRows().size()) : 0;
    }
    bool MultiSelectMode() override { return w.MultiSelectMode; }
    bool SummaryClosedByUser() override { return w.SummaryShown && ResultSummary() && !ResultSummary()->IsVisible(); }

    void UncheckSummary() override
    {
        w.SummaryShown = false;
        w.ActionShowHideSummaryWindow->setChecked(false);
    }
    void ClearDiagram() override { w.ClearDiagram(); }
    void EnableCopyAction() override
    {
        w.ActionUrobitKopiuZaznamu->setEnabled(CurrentUserRights >= 1 && CurrentUserRights <= 3);
    }
    void LoadTemplate(int id) override { w.LoadTemplate(id); }
    void ShowDiagram(bool helpCursor) override
    {
        w.ScrollBox_Template->setVisible(true);
        if (helpCursor)
            w.ScrollBox_Template->setCursor(Qt::WhatsThisCursor);
        else if (w.ScrollBox_Template->cursor().shape() == Qt::WhatsThisCursor)
            w.ScrollBox_Template->unsetCursor();
    }
    void StoreTreeChange() override { w.StoreTreeChange(); }
    void RunDisplayRequest(TDisplayRequest request) override { w.RunDisplayRequest(request); }

private:
    TfOrvekDB& w;
};

void TfOrvekDB::StartTickLoop()
{
    tickHost_ = new TickHost(*this);
    tick_ = std::make_unique<TTemplateTick>(*tickHost_);
}

void TfOrvekDB::StopTickLoop()
{
    tick_.reset();
    delete tickHost_;
    tickHost_ = nullptr;
}

void TfOrvekDB::Timer1Timer()
{
    // No tick overlaps another: the timer stays off while one runs.
    Timer1->stop();
    try {
        tick_->Timer1Timer();
    } catch (const std::exception&) {
        // A failing step of one tick is not repeated in a loop of message boxes; the
        // next tick starts afresh.
    }
    if (isVisible())
        Timer1->start();
}

void TfOrvekDB::LoadTemplate(int)
{
    ScrollBox_Template->setVisible(true);
    LoadCurrentTemplate();
    UpdateActions();
    RefreshSummary();
}

void TfOrvekDB::StoreTreeChange()
{
    const bool wasReadOnly = document_->TemplateReadOnly;
    RefreshEquationsPage();
    // The new state is pushed to the undo history and stored at once.
    document_->TreeChanged();
    ShortReportStale = FormulaPageStale = true;
    RefreshSummary();
    UpdateUndoActions();
    // A refused store leaves the template read-only: its editing commands go.
    if (document_->TemplateReadOnly != wasReadOnly)
        UpdateActions();
}

void TfOrvekDB::RefreshSummary()
{
    if (SummaryShown && ResultSummary() && ResultSummary()->IsVisible() && document_->RootCell)
        ResultSummary()->ShowCellSummary(document_->RootCell);
}

void TfOrvekDB::RunDisplayRequest(TDisplayRequest request)
{
    switch (request) {
    case TDisplayRequest::Highlight:
        RunHighlight();
        break;
    case TDisplayRequest::ExpandTree:
        ExpandWholeTree();
        break;
    case TDisplayRequest::ZoomOut:
        ZoomOut();
        break;
    case TDisplayRequest::ZoomIn:
        ZoomIn();
        break;
    case TDisplayRequest::ZoomPreset:
        ApplyZoomPreset();
        break;
    case TDisplayRequest::None:
        break;
    }
}

void TfOrvekDB::RunHighlight()
{
    TCell* root = document_->RootCell;
    if (!root)
        return;
    HiddenWhileRebuilt hidden(ScrollBox_Template);
    // The largest-contribution colours need the sensitivities; the pass shows the wait
    // window itself when the model is large.
    if (HighlightMode == 3)
        root->ComputeSensitivityByDifference();
    root->SetHighlightMode(HighlightMode);
}

void TfOrvekDB::ExpandWholeTree()
{
    TCell* root = document_->RootCell;
    if (!root)
        return;
    HiddenWhileRebuilt hidden(ScrollBox_Template);
    root->ExpandAll();
}

void TfOrvekDB::RelayoutToZoom()
{
    ScaleLayoutToZoom();
    if (document_->RootCell)
        document_->RootCell->RelayoutTree();
}

void TfOrvekDB::ZoomIn()
{
    ActionStromZmensit->setEnabled(true);
    if (Zoom.ZoomIn()) {
        SyncZoomControls();
        RelayoutToZoom();
        UpdateCaptionZoom();
    }
    ActionStromZvacsit->setEnabled(Zoom.CanZoomIn());
}

void TfOrvekDB::ZoomOut()
{
    ActionStromZvacsit->setEnabled(true);
    if (Zoom.ZoomOut()) {
        SyncZoomControls();
        RelayoutToZoom();
        UpdateCaptionZoom();
    }
    ActionStromZmensit->setEnabled(Zoom.CanZoomOut());
}

void TfOrvekDB::ApplyZoomPreset()
{
    Zoom.ApplyPreset();
    RelayoutToZoom();
    UpdateCaptionZoom();
}

void TfOrvekDB::SyncZoomControls()
{
    CheckZoomAction(ZoomPresetIndex);
    if (ZoomPresetIndex == 0) {
        const qint64 percent = qint64(std::nearbyint(ZoomCoefficient * 100));
        QString text = QString::number(percent);
        if (text.size() == 2)
            text.prepend(QStringLiteral("  "));
        ComboBox_Zoom->setItemText(0, text + QLatin1Char('%'));
        ZoomPresetFactors[0] = float(ZoomCoefficient);
    }
    ComboBox_Zoom->setCurrentIndex(ZoomPresetIndex);
}

void TfOrvekDB::UpdateCaptionZoom()
{
    setWindowTitle(ZoomCaption(CaptionBase));
}

} // namespace orvek
