#include "core/drawing.h"

#include "core/settings.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPolygon>

namespace orvek {

QColor ColorFromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void DrawColoredLine(QPainter& canvas, int x1, int y1, quint32 colour, int y2, int x2)
{
    QPen pen = canvas.pen();
    pen.setColor(ColorFromBgr(colour));
    canvas.setPen(pen);
    canvas.drawLine(x1, y1, x2, y2);
}

namespace {
void DrawTextAt(QPainter& canvas, int x, int y, const QString& text)
{
    const QFontMetrics metrics(canvas.font());
    canvas.drawText(QPoint(x, y + metrics.ascent()), text);
}
} // namespace

void DrawColoredText(QPainter& canvas, int x, int y, quint32 colour, const QString& text)
{
    canvas.save();
    canvas.setPen(ColorFromBgr(colour));
    DrawTextAt(canvas, x, y, text);
    canvas.restore();
}

void DrawCellText(QPainter& canvas, int x, int y, quint32 backColour, quint32 textColour, const QString& text)
{
    canvas.save();
    QFont font(CellFontName);
    font.setPointSize(std::max(DefaultFontSize, 1));
    canvas.setFont(font);
    const QFontMetrics metrics(font);
    canvas.fillRect(QRect(QPoint(x, y), metrics.size(Qt::TextSingleLine, text)), ColorFromBgr(backColour));
    canvas.setPen(ColorFromBgr(textColour));
    DrawTextAt(canvas, x, y, text);
    canvas.restore();
}

void DrawFilledRect(QPainter& canvas, int x, int y, quint32 fillColour, quint32 penColour, int height, int width)
{
    const QBrush brush = canvas.brush();
    const QPen pen = canvas.pen();
    canvas.setBrush(ColorFromBgr(fillColour));
    QPen outline = pen;
    outline.setColor(ColorFromBgr(penColour));
    canvas.setPen(outline);
    canvas.drawPolygon(
        QPolygon({ QPoint(x, y), QPoint(x + width, y), QPoint(x + width, y + height), QPoint(x, y + height) }));
    canvas.setBrush(brush);
    canvas.setPen(pen);
}

QColor ReadOnlyColor(bool readOnly)
{
    const QPalette palette = QGuiApplication::palette();
    return readOnly ? palette.color(QPalette::Button) : palette.color(QPalette::Base);
}

QColor EnabledColor(bool enabled)
{
    return ReadOnlyColor(!enabled);
}

void Delay(int) { }

} // namespace orvek
