#pragma once
// The diagram of a model as a picture for the reports: the visible part of the tree
// below a cell drawn onto an image, which goes to the clipboard, from where the report
// windows paste it in place of the diagram section.

#include <QImage>
#include <QtGlobal>

class QPainter;

namespace orvek {

class TCell;

// The shift added to every drawn coordinate, set by PictureBounds.
inline int PictureOffsetX = 0;
inline int PictureOffsetY = 0;

// Draws the diagram below Cell at zoom 1.0 at most and puts the picture on the clipboard:
// Mode 0 an image of the diagram's size, Mode 1 an image enlarged by Scale (the drawing
// keeps its coordinates). Any other mode draws nothing and gives a null image. The zoom
// and the window's drawing are restored on every way out.
QImage ExportPicture(TCell& cell, quint8 Mode, double Scale);
// The same picture without the clipboard: the report outputs carry it themselves, so
// that printing or saving a report leaves the user's clipboard alone.
QImage RenderPicture(TCell& cell, quint8 Mode, double Scale);

// Sets the picture offsets and returns the extent of the picture below Cell.
void PictureBounds(const TCell& cell, int& Right, int& Bottom);
void ExtendPictureBounds(const TCell& cell, int& MaxLeft, int& MaxTop);

// Draws the shown cells below Cell, collapsed branches left out, in the colours that
// DiagramPrintColors chooses (0 boxes on white, 1 boxes in their screen colours).
void DrawOnCanvas(TCell* cell, QPainter& Canvas);
void DrawDiagram(const TCell& cell, QPainter& Canvas);

} // namespace orvek
