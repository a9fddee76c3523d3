// The status-bar texts of the main window.

#include "database/status_bar_texts.h"

#include "core/string_table.h"
#include "database/users.h"

namespace orvek {

std::array<QString, 4> StatusBarTexts(const TStatusBarState& state)
{
    std::array<QString, 4> panels;
    if (state.CurrentUserID <= 0) {
        panels[0] = GetString(641);
    } else {
        QString who = state.CurrentUserName;
        if (state.CurrentUserID == 1 && state.CurrentUserName != QLatin1String(kServiceUserName))
            who = QStringLiteral("Administrator");
        panels[0] = GetString(640) + QLatin1Char(' ') + who;
        if (state.CurrentUserRights == 1 && state.ShownOwnerID != 0)
            panels[1] = GetString(649) + QLatin1Char(' ') + state.ShownOwnerFullName;
        else
            panels[1] = GetString(650);
        panels[3] = state.CurrentGroupName;
    }
    panels[2] = GetString(1116);
    if (state.QuelvarMode)
        panels[3] = QStringLiteral(" Quelvar");
    else if (state.OstrevinMode)
        panels[3] = QStringLiteral(" Ostrevin");
    return panels;
}

} // namespace orvek
