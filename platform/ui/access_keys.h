#pragma once
// Access keys (the underlined letter Alt or an open menu reaches an item by): the texts
// of the string table carry none, so the keys are chosen where the texts meet the
// widgets, the same way in every language and every window.

#include <QChar>
#include <QString>

class QAction;
class QWidget;

namespace orvek {

// The key Text marks with '&' (upper case), or a null character when it marks none
// ("&&" is a literal '&').
QChar AccessKey(const QString& text);

// Text as shown: without its '&' mark, "&&" as '&'.
QString WithoutAccessKey(const QString& text);

// Gives every item of Menu (a QMenu or QMenuBar) whose text the program set since the
// last call an access key unique in Menu: the first free letter of the text, word
// beginnings and plain Latin letters preferred, avoiding also the keys of the other
// menus that hold the same item. A text that marks a key already keeps it; a literal
// '&' is escaped. Items keyed before keep their keys.
void SetMenuAccessKeys(QWidget* menu);

// Whether the program set Item's text since SetMenuAccessKeys last keyed it.
bool IsUnkeyed(const QAction* item);

// Every label of Window directly followed in its layout by a field (an edit box, spin
// box, combo box, text box or list) gets that field as buddy and an access key, so that
// Alt with the key moves to the field. Keys are unique among the labels, buttons, group
// boxes and menu-bar items that can be reached together: the window's own and those of
// one page of a paged panel.
void SetLabelAccessKeys(QWidget* window);

} // namespace orvek
