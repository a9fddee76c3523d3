#pragma once
// Controls the equation, quantity and uncertainty cell dialogs build alike: the panels
// holding the formatted name and unit boxes, those boxes, and the background colour
// that tells a read-only or disabled field from an editable one.

class QWidget;

namespace orvek {

class TEditText98;

// A panel for a formatted box, at least 160 pixels wide.
QWidget* FormattedPanel(QWidget* parent, const char* name);
// A one-line formatted text box (8 point) on Panel, owned by Owner, Height pixels high.
TEditText98* FormattedBox(QWidget* owner, QWidget* panel, const char* name, int height);
// The field's background: grey while it is read-only (or disabled), white otherwise.
void ColourByReadOnly(QWidget* edit, bool readOnly);
void ColourByEnabled(QWidget* widget, bool enabled);

} // namespace orvek
