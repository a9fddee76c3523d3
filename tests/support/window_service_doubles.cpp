#include "tests/support/window_service_doubles.h"

namespace orvek::test {

ResultSummaryDouble::ResultSummaryDouble()
    : previous_(ResultSummary())
{
    SetResultSummaryService(this);
}

ResultSummaryDouble::~ResultSummaryDouble()
{
    SetResultSummaryService(previous_);
}

WaitWindowDouble::WaitWindowDouble()
    : previous_(WaitWindow())
{
    SetWaitWindowService(this);
}

WaitWindowDouble::~WaitWindowDouble()
{
    SetWaitWindowService(previous_);
}

void WaitWindowDouble::Show(const QString& message)
{
    Visible = true;
    Messages << message;
}

void WaitWindowDouble::Progress(int position, int total)
{
    ++ProgressCalls;
    LastPosition = position;
    LastTotal = total;
}

void WaitWindowDouble::Hide()
{
    Visible = false;
    ++Hides;
}

} // namespace orvek::test
