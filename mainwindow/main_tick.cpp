#include "mainwindow/main_tick.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "engine/cell.h"
#include "mainwindow/main_change_history.h"
#include "mainwindow/main_document.h"
#include "platform/dialogs.h"

#include <chrono>

namespace orvek {

namespace {

constexpr int kSaveQuestionText = 115;

// The history row of the shown record, whichever window's diagram the lock and
// history globals point at now, as a step of the record's store.
TMainDocument::TStoreStep RecordHistoryStep()
{
    if (!DataModule1)
        return {};
    const bool kind = CurrentDiagramKind;
    CurrentDiagramKind = false;
    TMainDocument::TStoreStep step = DataModule1->TakeHistoryStep();
    CurrentDiagramKind = kind;
    return step;
}

bool UserLoggedIn()
{
    return CurrentUserRights >= 1 && CurrentUserRights <= 3;
}

} // namespace

TMainTick::TMainTick(
    TMainTickHost& host, TMainDocument& document, std::function<quint32()> clock, TMainChangeHistory* history)
    : host_(host)
    , document_(document)
    , clock_(std::move(clock))
    , history_(history)
{
    FLastLoadTick = Now();
}

quint32 TMainTick::Now() const
{
    if (clock_)
        return clock_();
    return quint32(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

void TMainTick::RestartLoadDelay()
{
    FLastLoadTick = Now();
}

void TMainTick::Timer1Timer()
{
    if (FFirstActivation || running_)
        return;
    running_ = true;
    host_.SetTimerRunning(false);
    Tick();
    // Served on every tick that got this far, after a record change.
    if (CellPropertiesRequest) {
        CellPropertiesRequest = false;
        host_.ShowCellProperties();
    }
    running_ = false;
    host_.SetTimerRunning(true);
}

void TMainTick::Tick()
{
    // The summary window closed by the user is no longer kept shown.
    if (host_.SummaryClosedByUser())
        host_.UncheckSummary();

    // Several selected records show no diagram; it is cleared when the selection grows,
    // not on every tick.
    if (host_.MultiSelectMode() && host_.SelectedCount() > 1) {
        if (!multiCleared_ || CurrentRecordID != 0)
            ClearDiagram();
        multiCleared_ = true;
        return;
    }
    multiCleared_ = false;

    if (!host_.IsActiveWindow() || !UserLoggedIn() || !host_.RecordQueryOpen())
        return;
    document_.MakeCurrent();
    host_.TidyRecordView(host_.SelectedCount() == 1);
    FTickNow = Now();

    // An empty grid clears the diagram once per run of empty ticks.
    if (host_.RowCount() <= 0) {
        if (++FEmptyGridTicks == 1)
            ClearDiagram();
        return;
    }
    FEmptyGridTicks = 0;

    const int rowId = host_.CurrentRowID();
    // The tick count wraps after 2^32 ms; the unsigned difference stays right across it.
    if (reloadRequested_ || (rowId != CurrentRecordID && quint32(FTickNow - FLastLoadTick) >= kLoadGapMs)) {
        const bool reload = reloadRequested_;
        reloadRequested_ = false;
        ChangeRecord(rowId, reload);
        return;
    }

    // The same record, or a row reached less than 500 ms after the last load (taken on
    // a later tick).
    host_.SetPickCursor(IsCellCommandPending());
    if (document_.TakePendingChange())
        ServeTreeChange();
    const TDisplayRequest request = TakeDisplayRequest();
    if (request != TDisplayRequest::None)
        host_.RunDisplayRequest(request);
}

void TMainTick::ChangeRecord(int rowId, bool reload)
{
    // A change made just before the move belongs to the shown record.
    if (document_.TakePendingChange())
        ServeTreeChange();
    document_.ReleaseOwnLock();
    const int rowNo = host_.CurrentRowNo();
    host_.ShowRecordNumber(rowNo, host_.RowCount());

    bool proceed = true;
    if (reload) {
        // The list was rebuilt: the grid cannot return to the shown record, so a
        // modified diagram is stored without asking.
        document_.LeaveRecord();
    } else if (CurrentRecordID > 0 && document_.FModified && document_.RootCell
        && document_.RootCell->ChildCount() > 0) {
        switch (MessageDlg(GetString(kSaveQuestionText), TMsgDlgType::mtConfirmation, mbYesNoCancel)) {
        case mrYes:
            proceed = document_.SaveRecordDiagram() || document_.LastSave == TRecordSaveOutcome::NothingToStore;
            if (!proceed)
                MessageDlg(document_.SaveFailureText(), TMsgDlgType::mtWarning, mbCancel);
            break;
        case mrNo:
            break;
        default:
            proceed = false;
            break;
        }
    }

    if (proceed) {
        CurrentRecordID = rowId;
        FLastRecNo = rowNo;
        // The record view marks a record it just made from a template before it asks
        // for the reload that shows it.
        if (!reload)
            document_.FLoadedFromTemplate = false;
        LoadRow(rowId);
    } else if (FLastRecNo > 0) {
        host_.MoveGridToRow(FLastRecNo);
    }
    FLastLoadTick = Now();
}

void TMainTick::LoadRow(int rowId)
{
    const TRecordLoad load = host_.LoadRecordDiagram(rowId);
    document_.RecordLoaded(load.Loaded, load.Error, load.TreeText);
    if (history_)
        history_->TakeWrittenByCellTool();
    host_.RefreshSummary();
    host_.EnableSourceTemplateAction(host_.CurrentRowFromTemplateID() > 0);
}

void TMainTick::ServeTreeChange()
{
    host_.TreeChangedPages();
    const bool toolWroteRow = history_ && history_->TakeWrittenByCellTool();
    // The change's history row is written in the store's transaction: a change is
    // stored with its row or not at all. A change whose row exists already, or that
    // is not stored, leaves no texts behind for the next change's row.
    TMainDocument::TStoreStep historyRow;
    if (!document_.FLoadedFromTemplate && !toolWroteRow)
        historyRow = RecordHistoryStep();
    HistoryOriginalValues.clear();
    HistoryNewValues.clear();
    const bool stored = document_.StoreTreeChange(historyRow);
    if (!stored && document_.LastSave != TRecordSaveOutcome::NothingToStore)
        document_.ReportSaveFailure(true);
    host_.RefreshSummary();
}

void TMainTick::ClearDiagram()
{
    if (document_.TakePendingChange())
        ServeTreeChange();
    document_.ClearDiagram();
    host_.ShowNoDiagram();
}

} // namespace orvek
