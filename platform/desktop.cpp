#include "platform/desktop.h"

#include <QDesktopServices>

namespace orvek {

namespace {
DesktopOpener& Opener()
{
    static DesktopOpener opener;
    return opener;
}
} // namespace

bool OpenWithDesktop(const QUrl& url)
{
    if (Opener())
        return Opener()(url);
    return QDesktopServices::openUrl(url);
}

DesktopOpener SetDesktopOpener(DesktopOpener opener)
{
    DesktopOpener previous = std::move(Opener());
    Opener() = std::move(opener);
    return previous;
}

} // namespace orvek
