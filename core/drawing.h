#pragma once
// Drawing routines of the diagram picture and the colours of editable inputs. Colours
// given as quint32 are $00BBGGRR values, as the settings keep them.

#include <QColor>
#include <QString>
#include <QtGlobal>

class QPainter;

namespace orvek {

// $00BBGGRR to a colour.
QColor ColorFromBgr(quint32 bgr);

// A line from (X1, Y1) to (X2, Y2) in Colour.
void DrawColoredLine(QPainter& canvas, int x1, int y1, quint32 colour, int y2, int x2);
// Text with its top-left corner at (X, Y) in Colour, without background.
void DrawColoredText(QPainter& canvas, int x, int y, quint32 colour, const QString& text);
// Text at (X, Y) on BackColour in CellFontName at DefaultFontSize; the painter's brush
// and font are restored afterwards.
void DrawCellText(QPainter& canvas, int x, int y, quint32 backColour, quint32 textColour, const QString& text);
// A rectangle (X, Y)-(X + Width, Y + Height) filled with FillColour and outlined with
// PenColour; the brush is restored afterwards.
void DrawFilledRect(QPainter& canvas, int x, int y, quint32 fillColour, quint32 penColour, int height, int width);

// The background of a read-only input (button face) or of an editable one (window).
QColor ReadOnlyColor(bool readOnly);
// The background of an enabled input (window) or of a disabled one (button face).
QColor EnabledColor(bool enabled);

// Returns at once: it neither waits nor lets events run.
void Delay(int milliseconds);

} // namespace orvek
