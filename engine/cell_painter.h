#pragma once
// Drawing of the diagram from the cells' data: connectors, boxes with their bevels and
// captions, and the expand buttons. The box widgets use it, and so does the picture of
// the diagram in the reports.

#include <QColor>
#include <QPoint>
#include <QtGlobal>

class QPainter;

namespace orvek {

class TCell;

// A colour kept as $00BBGGRR.
QColor ColorFromBGR(quint32 bgr);

// The cell's horizontal and vertical connectors, when shown; Offset is added to the
// diagram coordinates.
void PaintCellConnectors(QPainter& painter, const TCell& cell, QPoint offset);
// The cell's box: fill, bevels, caption and the expand button.
void PaintCellBox(QPainter& painter, const TCell& cell, QPoint offset);
// Every shown cell of the subtree: connectors first, then the boxes.
void PaintDiagram(QPainter& painter, const TCell& root, QPoint offset);

} // namespace orvek
