#include "core/ui/help_window.h"

#include "core/ui/ui_text.h"
#include "platform/desktop.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace orvek {

TfHelp::TfHelp(QWidget* parent)
    : QDialog(parent, Qt::Window)
{
    setObjectName(QStringLiteral("fHelp"));
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenExternalLinks(false);
    Browser->setOpenLinks(false);
    connect(Browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        // Pages of the help stay here; web and mail addresses go to the desktop.
        if (url.isLocalFile() || url.isRelative())
            Browser->setSource(Browser->source().resolved(url));
        else
            OpenWithDesktop(url);
    });
    connect(Browser, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(Browser->documentTitle()); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Browser);
    resize(640, 520);
}

void TfHelp::ShowHelpPage(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        Browser->setHtml(QStringLiteral("<p>%1</p>").arg(path.toHtmlEscaped()));
        setWindowTitle(UiText(81, QStringLiteral("Help")));
    } else {
        Browser->setSource(QUrl::fromLocalFile(path));
    }
    show();
    raise();
    activateWindow();
}

} // namespace orvek
