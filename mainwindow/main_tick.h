#pragma once
// The decisions of the main window's 100 ms timer (Timer1Timer), apart from the window.
// The window implements the host; the clock is a 32-bit millisecond tick count that
// wraps, given to the constructor so that a test can drive every path. Per tick at most
// one record is loaded, a change of the tree is stored at once, and at most one display
// request is carried out, in the order of TakeDisplayRequest; the cell-properties
// request is served on every tick.
//
// The shown record (CurrentRecordID) is left only through TMainDocument: a pending
// change is stored, a modified diagram is stored or dropped by the user's answer to
// message 115 on a grid move, or stored without asking before a reload or a clearing
// (the grid cannot return to it there), and this user's lock is released.

#include "database/template_tick.h"

#include <QString>
#include <QtGlobal>
#include <functional>

namespace orvek {

class TMainDocument;
class TMainChangeHistory;

// What the window's record loader reports.
struct TRecordLoad {
    bool Loaded = false;
    QString Error; // the reader's reason when not Loaded
    // The loaded tree's text when the loader wrote it already (empty otherwise): the
    // undo history starts from it instead of writing the tree again.
    QString TreeText;
};

class TMainTickHost {
public:
    virtual ~TMainTickHost() = default;

    // What the tick reads.
    virtual bool IsActiveWindow() = 0;
    virtual bool RecordQueryOpen() = 0;
    virtual int RowCount() = 0;
    virtual int CurrentRowID() = 0;
    virtual int CurrentRowNo() = 0; // 1-based
    virtual int CurrentRowFromTemplateID() = 0;
    virtual int SelectedCount() = 0;
    virtual bool MultiSelectMode() = 0;
    // The summary window is kept shown (FSummaryShown) but the user closed it.
    virtual bool SummaryClosedByUser() = 0;

    // What the tick does.
    virtual void SetTimerRunning(bool running) = 0;
    virtual void UncheckSummary() = 0;
    // Folder tree root lines on; the copy action enabled when one row is selected.
    virtual void TidyRecordView(bool oneRowSelected) = 0;
    // The window's part of ClearDiagram: "0/0", diagram hidden, report and equations
    // pages emptied, RestoreViewState.
    virtual void ShowNoDiagram() = 0;
    virtual void ShowRecordNumber(int rowNo, int rowCount) = 0;
    // Reads record ID into the document's tree (LoadRecordDiagram).
    virtual TRecordLoad LoadRecordDiagram(int id) = 0;
    // A shown summary window shows the root's summary.
    virtual void RefreshSummary() = 0;
    virtual void EnableSourceTemplateAction(bool enabled) = 0;
    virtual void MoveGridToRow(int rowNo) = 0;
    virtual void SetPickCursor(bool help) = 0;
    // The tree changed: the report pages are stale and the equations page is rebuilt.
    virtual void TreeChangedPages() = 0;
    virtual void RunDisplayRequest(TDisplayRequest request) = 0;
    virtual void ShowCellProperties() = 0;
};

class TMainTick {
public:
    // Clock gives GetTickCount's 32-bit millisecond count (from a steady clock when
    // empty). History, when given, tells which changes the cell tool already wrote a
    // history row for.
    TMainTick(TMainTickHost& host, TMainDocument& document, std::function<quint32()> clock = {},
        TMainChangeHistory* history = nullptr);

    // One tick. A tick that runs while another is running (a host call let events run)
    // does nothing.
    void Timer1Timer();

    // FLastLoadTick := now (the first activation).
    void RestartLoadDelay();
    // The record view rebuilt its list: the current row is loaded again on the next
    // tick, without waiting for the 500 ms since the last load and without message 115.
    void RequestReload() { reloadRequested_ = true; }
    bool ReloadRequested() const { return reloadRequested_; }

    // While True the timer does nothing (FFirstActivation).
    bool FFirstActivation = true;
    quint32 FLastLoadTick = 0;
    quint32 FTickNow = 0;
    int FLastRecNo = 0;
    int FEmptyGridTicks = 0;

    // A changed row is loaded once this many milliseconds passed since the last load.
    static constexpr quint32 kLoadGapMs = 500;

private:
    quint32 Now() const;
    void Tick();
    void ChangeRecord(int rowId, bool reload);
    void LoadRow(int rowId);
    void ServeTreeChange();
    void ClearDiagram();

    TMainTickHost& host_;
    TMainDocument& document_;
    std::function<quint32()> clock_;
    TMainChangeHistory* history_;
    bool running_ = false;
    bool multiCleared_ = false;
    bool reloadRequested_ = false;
};

} // namespace orvek
