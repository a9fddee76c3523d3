#pragma once
// One recorded page. The picture answers for the device it stands in for (resolution
// and paper size in that device's pixels), so that text laid out and drawn on it has
// its fonts resolved at the device's resolution; a page is replayed onto any other
// device by scaling from these metrics.

#include <QPicture>

namespace orvek {

struct TPageMetrics {
    int PixelsPerInchX = 96;
    int PixelsPerInchY = 96;
    int PageWidth = 816; // paper width in device pixels
    int PageHeight = 1056; // paper height in device pixels
};

class TPagePicture : public QPicture {
public:
    explicit TPagePicture(const TPageMetrics& metrics);
    const TPageMetrics& Metrics() const { return metrics_; }

    // Draws the page onto Painter's device so that the paper fills Target (in the
    // painter's coordinates).
    void DrawScaled(QPainter& painter, const QRectF& target) const;

protected:
    int metric(PaintDeviceMetric m) const override;

private:
    TPageMetrics metrics_;
};

} // namespace orvek
