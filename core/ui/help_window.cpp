#include "core/ui/help_window.h"

#include "core/help.h"

#include "core/common_vars.h"
#include "core/ui/ui_text.h"
#include "platform/desktop.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
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
            OpenWebAddress(url);
    });
    connect(Browser, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(Browser->documentTitle()); });
    LanguageNote = new QLabel(this);
    LanguageNote->setObjectName(QStringLiteral("LanguageNote"));
    LanguageNote->setContentsMargins(6, 4, 6, 4);
    LanguageNote->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(LanguageNote);
    layout->addWidget(Browser);
    resize(640, 520);
}

void TfHelp::ShowHelpPage(const QString& path)
{
    // Asked from a modal window: the help is a window of that one, in front of it and
    // usable while it is open (a window of another would wait behind it). It closes
    // with the modal window.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this && !modal->isAncestorOf(this) && modal != parentWidget()) {
        auto* own = modal->findChild<TfHelp*>(QString(), Qt::FindDirectChildrenOnly);
        if (!own)
            own = new TfHelp(modal);
        own->ShowHelpPage(path);
        return;
    }
    LanguageNote->setVisible(LanguageID == 2);
    if (LanguageID == 2)
        LanguageNote->setText(UiText(23820, QStringLiteral("The help pages are in Slovak.")));
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
