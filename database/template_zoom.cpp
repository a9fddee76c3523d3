#include "database/template_zoom.h"

#include "core/common_vars.h"
#include "core/settings.h"

#include <cmath>

namespace orvek {

namespace {

// Repeated steps of 0.1 drift in binary; the zoom is kept to a millionth so that the
// bounds are met exactly.
double Tidy(double zoom)
{
    return std::round(zoom * 1e6) / 1e6;
}

} // namespace

void TTemplateZoom::Remember()
{
    SavedZoom = ZoomCoefficient;
    SavedZoomPreset = quint8(ZoomPresetIndex);
}

bool TTemplateZoom::RestoreOwnZoom()
{
    if (ZoomPresetIndex == SavedZoomPreset && ZoomCoefficient == SavedZoom)
        return false;
    ZoomPresetIndex = SavedZoomPreset;
    ZoomCoefficient = SavedZoom;
    if (ZoomPresetIndex == 0)
        ZoomPresetFactors[0] = float(ZoomCoefficient);
    return true;
}

bool TTemplateZoom::ZoomIn()
{
    if (!CanZoomIn())
        return false;
    ZoomCoefficient = std::min(Tidy(ZoomCoefficient + ZoomStep), kLargestZoom);
    ZoomPresetIndex = 0;
    Remember();
    return true;
}

bool TTemplateZoom::ZoomOut()
{
    if (!CanZoomOut())
        return false;
    ZoomCoefficient = std::max(Tidy(ZoomCoefficient - ZoomStep), kSmallestZoom);
    ZoomPresetIndex = 0;
    Remember();
    return true;
}

bool TTemplateZoom::CanZoomIn() const
{
    return ZoomCoefficient < kLargestZoom;
}

bool TTemplateZoom::CanZoomOut() const
{
    return ZoomCoefficient > kSmallestZoom;
}

void TTemplateZoom::ApplyPreset()
{
    const int index = ZoomPresetIndex >= 0 && ZoomPresetIndex < int(ZoomPresetFactors.size()) ? ZoomPresetIndex : 3;
    ZoomPresetIndex = index;
    ZoomCoefficient = Tidy(ZoomPresetFactors[size_t(index)]);
    Remember();
}

QString ZoomCaption(const QString& captionBase)
{
    return captionBase + QStringLiteral(" (") + QString::number(qint64(std::nearbyint(ZoomCoefficient * 100)))
        + QStringLiteral("%)");
}

} // namespace orvek
