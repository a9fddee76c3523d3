#include "richtext/ui/diagram_picture.h"

#include "core/common_vars.h"
#include "core/settings.h"
#include "engine/cell.h"
#include "engine/cell_painter.h"
#include "richtext/markup_read.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>

#include <cmath>

namespace orvek {

namespace {

int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

TCell& RootOf(TCell& cell)
{
    TCell* root = &cell;
    while (root->FParent)
        root = root->FParent;
    return *root;
}

// Draws at zoom 1.0 at most for its lifetime and puts the zoom and the layout back.
class PictureZoom {
public:
    explicit PictureZoom(TCell& root)
        : root_(root)
    {
        if (ZoomCoefficient > 1.0) {
            saved_ = ZoomCoefficient;
            ZoomCoefficient = 1.0;
            ScaleLayoutToZoom();
            root_.RelayoutTree();
        }
    }
    ~PictureZoom()
    {
        if (saved_ > 0) {
            ZoomCoefficient = saved_;
            ScaleLayoutToZoom();
            root_.RelayoutTree();
        }
    }
    PictureZoom(const PictureZoom&) = delete;
    PictureZoom& operator=(const PictureZoom&) = delete;

private:
    TCell& root_;
    double saved_ = 0;
};

// A box drawn in the print colours: white for 0, its own colour for 1.
void DrawBox(const TCell& cell, QPainter& canvas, QPoint offset)
{
    if (DiagramPrintColors == 1) {
        PaintCellBox(canvas, cell, offset);
        return;
    }
    // The one box routine draws the box's own colour; white paper takes a copy of the
    // data with a white fill and a black frame.
    TCell& box = const_cast<TCell&>(cell);
    const quint32 color = box.FBox.Color;
    box.FBox.Color = 0xFFFFFF;
    PaintCellBox(canvas, box, offset);
    box.FBox.Color = color;
    canvas.save();
    canvas.setPen(Qt::black);
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRect(cell.FBox.Rect.translated(offset).adjusted(0, 0, -1, -1));
    canvas.restore();
}

} // namespace

void ExtendPictureBounds(const TCell& cell, int& MaxLeft, int& MaxTop)
{
    if (!cell.FVisible)
        return;
    MaxLeft = std::max(MaxLeft, cell.FBox.Rect.left());
    MaxTop = std::max(MaxTop, cell.FBox.Rect.top());
    if (cell.FExpanded)
        for (const auto& child : cell.FChildren)
            ExtendPictureBounds(*child, MaxLeft, MaxTop);
}

void PictureBounds(const TCell& cell, int& Right, int& Bottom)
{
    Right = cell.FBox.Rect.left();
    Bottom = cell.FBox.Rect.top();
    PictureOffsetX = Right < DiagramOriginX ? DiagramOriginX - Right : 0;
    PictureOffsetY = Bottom < DiagramOriginY ? DiagramOriginY - Bottom : 0;
    ExtendPictureBounds(cell, Right, Bottom);
    Right += CellWidth + CellHeight;
    Bottom += 2 * CellHeight;
}

void DrawDiagram(const TCell& cell, QPainter& Canvas)
{
    if (!cell.FVisible)
        return;
    const QPoint offset(PictureOffsetX, PictureOffsetY);
    PaintCellConnectors(Canvas, cell, offset);
    if (DiagramPrintColors <= 1)
        DrawBox(cell, Canvas, offset);
    if (cell.FExpanded)
        for (const auto& child : cell.FChildren)
            DrawDiagram(*child, Canvas);
}

void DrawOnCanvas(TCell* cell, QPainter& Canvas)
{
    if (cell)
        DrawDiagram(*cell, Canvas);
}

QImage ExportPicture(TCell& cell, quint8 Mode, double Scale)
{
    QImage image = RenderPicture(cell, Mode, Scale);
    if (QClipboard* clipboard = QGuiApplication::clipboard(); clipboard && !image.isNull())
        clipboard->setImage(image);
    return image;
}

QImage RenderPicture(TCell& cell, quint8 Mode, double Scale)
{
    if (Mode > 1)
        return QImage();
    TSuspendedUpdates updates(cell.Host()); // the window does not draw meanwhile
    PictureZoom zoom(RootOf(cell));
    int right = 0, bottom = 0;
    PictureBounds(cell, right, bottom);
    right += RoundEven(1.5 * ZoomedCellHeight);
    const int width = right + PictureOffsetX, height = bottom + PictureOffsetY;
    const double scale = Mode == 1 ? Scale : 1.0;
    QImage image(std::max(1, RoundEven(width * scale)), std::max(1, RoundEven(height * scale)), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        painter.setBrush(Qt::white);
        FillRectWithPen(painter, 1, 0, 0, image.width(), image.height());
        DrawOnCanvas(&cell, painter);
    }
    return image;
}

} // namespace orvek
