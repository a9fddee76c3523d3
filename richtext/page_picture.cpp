#include "richtext/page_picture.h"

#include <QPainter>

namespace orvek {

namespace {
// A picture replays as recorded at the default logical resolution, whatever device it
// was recorded on.
constexpr double kPictureDpi = 96.0;
} // namespace

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
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    default:
        return QPicture::metric(m);
    }
}

void TPagePicture::DrawScaled(QPainter& painter, const QRectF& target) const
{
    if (metrics_.PageWidth <= 0 || metrics_.PageHeight <= 0)
        return;
    // Replaying a picture scales it by the target device's resolution over the one it
    // was recorded at; that part of the mapping is taken out here.
    double replayX = 1.0, replayY = 1.0;
    if (const QPaintDevice* device = painter.device()) {
        if (device->logicalDpiX() > 0)
            replayX = double(device->logicalDpiX()) / kPictureDpi;
        if (device->logicalDpiY() > 0)
            replayY = double(device->logicalDpiY()) / kPictureDpi;
    }
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / metrics_.PageWidth / replayX, target.height() / metrics_.PageHeight / replayY);
    painter.drawPicture(0, 0, *this);
    painter.restore();
}

} // namespace orvek
