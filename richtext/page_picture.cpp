#include "richtext/page_picture.h"

#include <QPainter>

namespace orvek {

TPagePicture::TPagePicture(const TPageMetrics& metrics)
    : metrics_(metrics)
{
}

int TPagePicture::metric(PaintDeviceMetric m) const
{
    switch (m) {
    case PdmWidth:
        return metrics_.PageWidth;
    case PdmHeight:
        return metrics_.PageHeight;
    case PdmWidthMM:
        return qRound(metrics_.PageWidth * 25.4 / metrics_.PixelsPerInchX);
    case PdmHeightMM:
        return qRound(metrics_.PageHeight * 25.4 / metrics_.PixelsPerInchY);
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return metrics_.PixelsPerInchX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return metrics_.PixelsPerInchY;
    default:
        return QPicture::metric(m);
    }
}

void TPagePicture::DrawScaled(QPainter& painter, const QRectF& target) const
{
    if (metrics_.PageWidth <= 0 || metrics_.PageHeight <= 0)
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / metrics_.PageWidth, target.height() / metrics_.PageHeight);
    painter.drawPicture(0, 0, *this);
    painter.restore();
}

} // namespace orvek
