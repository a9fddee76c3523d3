#pragma once
// The cell clipboard: a copied subtree is plain text made of the cells marker, a blank,
// the kind digit of the copied cell, a blank, an optional origin tag and a blank, and
// the diagram text of the subtree.

#include <QString>

namespace orvek {

class TCell;

// Origin tags: copied in the template window, or in the main window.
inline const QString kTagDiagramFromTemplates = QStringLiteral("DiagramFromTemplates");
inline const QString kTagDiagramFromMainDB = QStringLiteral("DiagramFromMainDB");

// The marker of copied cells ("Orvek2000Info").
QString CellsMarker();

// The clipboard text of Cell's subtree; the tag part is left out when Tag is empty.
QString CellClipboardText(const QString& tag, TCell& cell);
// Puts that text on the clipboard; True on success.
bool CopyCellTreeToClipboard(const QString& tag, TCell& cell);

} // namespace orvek
