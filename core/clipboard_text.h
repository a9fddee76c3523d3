#pragma once
// Plain text on the system clipboard, and the test for a copied cell tree (a text
// that starts with ClipboardCellsMarker, a blank and the cell-kind digit).

#include <QString>

namespace orvek {

bool ClipboardHasText();
// The clipboard's text; empty when there is none.
QString GetClipboardText();
// True when the text is on the clipboard afterwards.
bool SetClipboardText(const QString& text);
void ClearClipboard();
// True with Kind set when the clipboard holds a copied cell tree; False otherwise,
// also when the character after the marker and blank is not a digit. Kind is left
// unchanged on False.
bool PeekClipboardCellKind(int& kind);

} // namespace orvek
