#pragma once
// The decisions of the template window's 100 ms timer (Timer1Timer), apart from the
// window: the window implements the host, and the clock and whether the window is the
// active one are the host's and the constructor's to give, so that a test can drive
// every path. Per tick at most one template is loaded, at most one display request is
// carried out, and a change of the tree is stored at once.

#include <QtGlobal>
#include <functional>

namespace orvek {

// The display requests, in the order a tick serves them.
enum class TDisplayRequest { None, Highlight, ExpandTree, ZoomOut, ZoomIn, ZoomPreset };

// Clears and returns the first display request flag that is set, in the order
// HighlightRequest, ExpandTreeRequest, ZoomOutRequest, ZoomInRequest,
// ZoomPresetRequest; the others stay set for the next ticks.
TDisplayRequest TakeDisplayRequest();

class TTemplateTickHost {
public:
    virtual ~TTemplateTickHost() = default;

    // What the tick reads.
    virtual bool IsActiveWindow() = 0;
    virtual bool ListOpen() = 0;
    virtual int RowCount() = 0;
    virtual int CurrentRowID() = 0;
    virtual int SelectedCount() = 0;
    virtual bool MultiSelectMode() = 0;
    // The summary window is kept shown (SummaryShown) but the user closed it.
    virtual bool SummaryClosedByUser() = 0;

    // What the tick does.
    virtual void UncheckSummary() = 0;
    virtual void ClearDiagram() = 0;
    virtual void EnableCopyAction() = 0;
    // Shows the diagram and makes row ID the shown template (LoadCurrentTemplate),
    // then refreshes the actions and a shown summary window.
    virtual void LoadTemplate(int id) = 0;
    // The shown template stays: the diagram is shown with the help cursor while a cell
    // command is armed, the default cursor otherwise.
    virtual void ShowDiagram(bool helpCursor) = 0;
    // The tree changed: undo snapshot, store, equations page, stale report pages.
    virtual void StoreTreeChange() = 0;
    virtual void RunDisplayRequest(TDisplayRequest request) = 0;
};

class TTemplateTick {
public:
    // Clock gives a monotonic time in milliseconds (a steady clock when empty).
    explicit TTemplateTick(TTemplateTickHost& host, std::function<qint64()> clock = {});

    // One tick. A tick that runs while another is running (a host call let events run)
    // does nothing.
    void Timer1Timer();

    // LastLoadTick := now: the next template load waits 500 ms from here (the window's
    // UpdateActions calls it).
    void RestartLoadDelay();

    qint64 LastLoadTick = 0;
    int EmptyTicks = 0;

    // A changed row is loaded once more than this many milliseconds passed since the
    // last load.
    static constexpr qint64 kLoadGapMs = 499;

private:
    qint64 Now() const;

    TTemplateTickHost& host_;
    std::function<qint64()> clock_;
    bool running_ = false;
    bool multiCleared_ = false;
};

} // namespace orvek
