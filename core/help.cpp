#include "core/help.h"

#include "core/common_vars.h"
#include "core/services.h"
#include "platform/desktop.h"

#include <QUrl>

namespace orvek {

namespace {
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

} // namespace orvek
