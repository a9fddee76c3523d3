#include "database/template_tick.h"

#include "core/common_vars.h"
#include "database/data_module.h"
#include "engine/cell.h"

#include <chrono>

namespace orvek {

TDisplayRequest TakeDisplayRequest()
{
    const struct {
        bool* flag;
        TDisplayRequest request;
    } order[] = { { &HighlightRequest, TDisplayRequest::Highlight },
        { &ExpandTreeRequest, TDisplayRequest::ExpandTree }, { &ZoomOutRequest, TDisplayRequest::ZoomOut },
        { &ZoomInRequest, TDisplayRequest::ZoomIn }, { &ZoomPresetRequest, TDisplayRequest::ZoomPreset } };
    for (const auto& entry : order) {
        if (*entry.flag) {
            *entry.flag = false;
            return entry.request;
        }
    }
    return TDisplayRequest::None;
}

TTemplateTick::TTemplateTick(TTemplateTickHost& host, std::function<qint64()> clock)
    : host_(host)
    , clock_(std::move(clock))
{
    LastLoadTick = Now();
}

qint64 TTemplateTick::Now() const
{
    if (clock_)
        return clock_();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void TTemplateTick::RestartLoadDelay()
{
    LastLoadTick = Now();
}

void TTemplateTick::Timer1Timer()
{
    if (running_)
        return;
    struct Running {
        bool& flag;
        explicit Running(bool& f)
            : flag(f)
        {
            flag = true;
        }
        ~Running() { flag = false; }
    } running(running_);

    // 1. The summary window closed by the user is no longer kept shown.
    if (host_.SummaryClosedByUser())
        host_.UncheckSummary();

    // 2. Several selected templates show no diagram; it is cleared when the selection
    // grows, not on every tick.
    if (host_.MultiSelectMode() && host_.SelectedCount() > 1) {
        if (!multiCleared_ || CurrentTemplateID != 0)
            host_.ClearDiagram();
        multiCleared_ = true;
        return;
    }
    multiCleared_ = false;

    // 3. The rest only while the window is in front and the list is open.
    if (!host_.IsActiveWindow() || !host_.ListOpen())
        return;
    if (host_.SelectedCount() == 1)
        host_.EnableCopyAction();

    // 4. An empty list clears the diagram once.
    if (host_.RowCount() <= 0) {
        if (++EmptyTicks == 1)
            host_.ClearDiagram();
        return;
    }
    EmptyTicks = 0;

    // 5. Another row became current: loaded once the gap since the last load passed;
    // until then the shown template stays and nothing else happens.
    const int rowId = host_.CurrentRowID();
    if (rowId != CurrentTemplateID) {
        const qint64 now = Now();
        // A clock that went back (restarted) counts as the gap passed.
        if (now - LastLoadTick > kLoadGapMs || now < LastLoadTick) {
            host_.LoadTemplate(rowId);
            LastLoadTick = Now();
        }
        return;
    }

    // 6. The same template.
    host_.ShowDiagram(IsCellCommandPending());

    // 7. A change of the tree is stored at once (never during a load, nor for a user
    // whose loads keep TreeLoadInProgress set).
    if (CellTreeChanged && !TreeLoadInProgress && CurrentTemplateID > 0) {
        CellTreeChanged = false;
        host_.StoreTreeChange();
    }

    // 8. At most one display request.
    const TDisplayRequest request = TakeDisplayRequest();
    if (request != TDisplayRequest::None)
        host_.RunDisplayRequest(request);
}

} // namespace orvek
