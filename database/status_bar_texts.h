#pragma once
// The four texts of the main window's status bar: who is logged in, whose records are
// shown, the edition, and the group (or the customer's name).

#include <QString>
#include <array>

namespace orvek {

// Widths of the four panels in pixels; their texts are bold.
inline constexpr std::array<int, 4> kStatusPanelWidths { 250, 250, 200, 50 };

struct TStatusBarState {
    int CurrentUserID = 0; // 0 nobody
    QString CurrentUserName;
    int CurrentUserRights = 0;
    int ShownOwnerID = 0; // 0 all owners
    QString ShownOwnerFullName; // the full name of ShownOwnerID
    QString CurrentGroupName;
    bool QuelvarMode = false;
    bool OstrevinMode = false;
};

// Panel 0: text 641 for nobody, else 640 with " Administrator" for user 1 ("Tulkarn"
// for the service login) or the user's name. Panel 1: for main administrators text 649
// with the shown owner's name, or 650 while every owner is shown; users of rights 2
// and 3 see all records of their group, so 650. Panel 2: text 1116. Panel 3: the group,
// or " Quelvar" / " Ostrevin" in those customers' modes.
std::array<QString, 4> StatusBarTexts(const TStatusBarState& state);

} // namespace orvek
