#include "sources/source_help.h"

#include "core/common_vars.h"
#include "core/help.h"
#include "core/services.h"
#include "platform/desktop.h"

#include <QUrl>
#include <array>

namespace orvek {

namespace {

constexpr std::array<const char*, 15> kTopics {
    "IDH_HELP_z_tabuliek_podla_vyberu",
    "IDH_HELP_z_tabuliek_obdlznikove",
    "IDH_HELP_z_tabuliek_trojuholnikove",
    "IDH_HELP_z_tabuliek_t-rozdelenie",
    "IDH_HELP_z_tabuliek_normalne",
    "IDH_HELP_z_tabuliek_U-rozdelenie",
    "IDH_HELP_Vlastne_meranie_I",
    "IDH_HELP_Vlastne_meranie_II",
    "IDH_HELP_Vlastne_meranie_III",
    "IDH_HELP_Vlastne_meranie_IV",
    "IDH_HELP_z_tabuliek_lichobeznikove",
    "IDH_HELP_RD_individualne_merania",
    "IDH_HELP_RD_opakovane_merania",
    "IDH_HELP_Vlastne_meranie_V",
    "IDH_HELP_Vlastne_meranie_VI",
};

} // namespace

QString SourceHelpTopic(int method)
{
    if (method < 0 || method >= int(kTopics.size()))
        return QString();
    return QString::fromLatin1(kTopics[size_t(method)]);
}

QString SourceHelpPage(int method)
{
    const QString topic = SourceHelpTopic(method);
    return topic.isEmpty() ? QString() : HelpFolder(HelpBaseName) + QLatin1Char('/') + topic + QStringLiteral(".html");
}

void ShowSourceHelp(int method)
{
    const QString page = SourceHelpPage(method);
    if (page.isEmpty())
        return;
    ApplicationHelpFile = HelpFolder(HelpBaseName);
    if (HelpService* help = HelpViewer())
        help->ShowHelpPage(page);
    else
        OpenWithDesktop(QUrl::fromLocalFile(page));
}

} // namespace orvek
