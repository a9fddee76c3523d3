#include "core/help.h"

#include "core/common_vars.h"
#include "core/services.h"
#include "core/string_table.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"

#include <QUrl>

namespace orvek {

namespace {

constexpr int kPageNotOpenedText = 23821;

void ShowContents(const QString& base)
{
    ApplicationHelpFile = HelpFolder(base);
    const QString page = ApplicationHelpFile + QStringLiteral("/index.html");
    if (HelpService* help = HelpViewer())
        help->ShowHelpPage(page);
    else
        OpenWithDesktop(QUrl::fromLocalFile(page));
}
} // namespace

QString HelpFolder(const QString& base)
{
    return AppDir + QStringLiteral("help/") + base + (LanguageID == 0 ? QStringLiteral("_EN") : QStringLiteral("_SK"));
}

void ShowHelpContents()
{
    ShowContents(HelpBaseName);
}

void ShowHelpGlossary()
{
    ShowContents(QStringLiteral("Glossary"));
}

void OpenWebAddress(const QUrl& url)
{
    if (OpenWithDesktop(url))
        return;
    const QString address = url.scheme() == QLatin1String("mailto") ? url.path() : url.toString();
    ShowMessage(GetString(kPageNotOpenedText, { address }));
}

} // namespace orvek
