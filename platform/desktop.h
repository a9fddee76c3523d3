#pragma once
// Opens a document, a web address or a mail link with the desktop's associated
// program. Tests replace the opener to see what would be opened.

#include <QUrl>
#include <functional>

namespace orvek {

// True when the desktop took the address; False when it has no program for it.
bool OpenWithDesktop(const QUrl& url);

using DesktopOpener = std::function<bool(const QUrl&)>;
// Installs Opener in place of the desktop (an empty one restores it); returns the previous.
DesktopOpener SetDesktopOpener(DesktopOpener opener);

} // namespace orvek
