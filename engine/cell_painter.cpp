#include "engine/cell_painter.h"

#include "core/settings.h"
#include "engine/cell.h"

#include <QFont>
#include <QPainter>

namespace orvek {

QColor ColorFromBGR(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

namespace {

// A 1-pixel frame: light on the top and left, dark on the bottom and right when raised.
void PaintBevel(QPainter& painter, const QRect& r, bool raised)
{
    const QColor light = Qt::white, dark = QColor(128, 128, 128);
    painter.setPen(raised ? light : dark);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(raised ? dark : light);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

void PaintCellsConnectors(QPainter& painter, const TCell& cell, QPoint offset)
{
    if (!cell.FVisible)
        return;
    PaintCellConnectors(painter, cell, offset);
    for (const auto& child : cell.FChildren)
        PaintCellsConnectors(painter, *child, offset);
}

void PaintCellsBoxes(QPainter& painter, const TCell& cell, QPoint offset)
{
    if (!cell.FVisible)
        return;
    PaintCellBox(painter, cell, offset);
    for (const auto& child : cell.FChildren)
        PaintCellsBoxes(painter, *child, offset);
}

} // namespace

void PaintCellConnectors(QPainter& painter, const TCell& cell, QPoint offset)
{
    for (const TCellPanel* line : { &cell.FHorzLine, &cell.FVertLine }) {
        if (line->Visible && line->Rect.width() > 0 && line->Rect.height() > 0)
            painter.fillRect(line->Rect.translated(offset), Qt::black);
    }
}

void PaintCellBox(QPainter& painter, const TCell& cell, QPoint offset)
{
    const QRect box = cell.FBox.Rect.translated(offset);
    if (box.width() <= 0 || box.height() <= 0)
        return;
    painter.save();
    painter.fillRect(box, ColorFromBGR(cell.FBox.Color));
    PaintBevel(painter, box.adjusted(0, 0, -1, -1), true);
    if (cell.FBox.InnerBevelLowered)
        PaintBevel(painter, box.adjusted(1, 1, -2, -2), false);

    QFont font(CellFontName);
    font.setPointSize(std::max(1, DefaultFontSize));
    painter.setFont(font);
    painter.setPen(Qt::black);
    if (DefaultFontSize > 0)
        painter.drawText(
            box.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, cell.FBox.Caption);

    if (cell.FExpandButton.Visible) {
        const QRect button = cell.FExpandButton.Rect.translated(box.topLeft());
        painter.fillRect(button, QColor(212, 208, 200));
        PaintBevel(painter, button.adjusted(0, 0, -1, -1), true);
        // The sign drawn as lines, so that it stays centred at every zoom.
        const QPoint c = button.center();
        const int half = std::max(1, button.width() / 2 - 2);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(c.x() - half, c.y(), c.x() + half, c.y());
        if (cell.FExpandButton.Caption == "+")
            painter.drawLine(c.x(), c.y() - half, c.x(), c.y() + half);
    }
    painter.restore();
}

void PaintDiagram(QPainter& painter, const TCell& root, QPoint offset)
{
    PaintCellsConnectors(painter, root, offset);
    PaintCellsBoxes(painter, root, offset);
}

} // namespace orvek
