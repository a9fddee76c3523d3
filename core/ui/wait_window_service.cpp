#include "core/ui/wait_window_service.h"

#include "core/common_vars.h"
#include "core/ui/ui_text.h"
#include "core/ui/wait_window.h"

#include <QCoreApplication>
#include <QLabel>

namespace orvek {

void TWaitWindowProvider::Show(const QString& message)
{
    WaitCancelled = false;
    window_.setWindowTitle(UiText(22188, QStringLiteral("Please wait...")));
    window_.Panel1->setText(message);
    window_.show();
    window_.raise();
    window_.repaint();
}

void TWaitWindowProvider::Progress(int position, int total)
{
    if (total > 0) {
        WaitProgressTotal = total;
        WaitProgressPosition = position;
        WaitProgressActive = true;
    }
    QCoreApplication::processEvents();
}

void TWaitWindowProvider::Hide()
{
    window_.hide();
    WaitProgressActive = false;
}

bool TWaitWindowProvider::Cancelled()
{
    return WaitCancelled;
}

} // namespace orvek
