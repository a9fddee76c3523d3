#include "database/bde_util.h"

#include "platform/db_session.h"

namespace orvek {

namespace {
TableControlStatus* g_window = nullptr;
}

TableControlStatus* TableControlWindow()
{
    return g_window;
}
void SetTableControlWindow(TableControlStatus* window)
{
    g_window = window;
}

TBDEUtil::TBDEUtil(DatabaseSession* session)
    : session_(session)
{
}

TBDEUtil::~TBDEUtil()
{
    UnregisterProgressCallback();
}

void TBDEUtil::RegisterProgressCallback()
{
    if (session_)
        session_->SetProgressCallback(
            [](int phase, int percent) { BDEProgressCallback(kGeneralProgress, phase, percent); });
}

void TBDEUtil::UnregisterProgressCallback()
{
    if (session_)
        session_->SetProgressCallback({});
}

int TBDEUtil::BDEProgressCallback(int callbackType, int phase, int percent)
{
    if (callbackType != kGeneralProgress || !g_window)
        return 0;
    int bar = -1;
    switch (phase) {
    case 0:
        bar = 0;
        break;
    case 1:
        bar = 1;
        break;
    case 2:
        bar = 2;
        break;
    case 8:
        bar = 3;
        break;
    default:
        return 0;
    }
    g_window->SetBar(bar, qBound(0, percent, 100));
    return 0;
}

} // namespace orvek
