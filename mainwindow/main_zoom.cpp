#include "mainwindow/main_zoom.h"

#include "core/common_vars.h"
#include "core/settings.h"

namespace orvek {

void SyncFreeZoomPreset()
{
    if (ZoomPresetIndex == 0)
        UpdateZoomPresetText();
}

bool TMainZoom::RestoreOwnZoom()
{
    if (!own_.RestoreOwnZoom())
        return false;
    SyncFreeZoomPreset();
    return true;
}

bool TMainZoom::ZoomIn()
{
    ZoomOutEnabled = true;
    const bool changed = ZoomCoefficient < kLargestZoom;
    if (changed) {
        ZoomCoefficient += ZoomStep;
        ZoomPresetIndex = 0;
        Remember();
        SyncFreeZoomPreset();
    }
    if (ZoomCoefficient >= kLargestZoom)
        ZoomInEnabled = false;
    return changed;
}

bool TMainZoom::ZoomOut()
{
    ZoomInEnabled = true;
    const bool changed = ZoomCoefficient > kSmallestZoom;
    if (changed) {
        ZoomCoefficient -= ZoomStep;
        ZoomPresetIndex = 0;
        Remember();
        SyncFreeZoomPreset();
    }
    if (ZoomCoefficient <= kSmallestZoom)
        ZoomOutEnabled = false;
    return changed;
}

void TMainZoom::ApplyPreset()
{
    const int index = ZoomPresetIndex >= 0 && ZoomPresetIndex < int(ZoomPresetFactors.size()) ? ZoomPresetIndex : 3;
    ZoomPresetIndex = index;
    ZoomCoefficient = ZoomPresetFactors[size_t(index)];
    Remember();
}

} // namespace orvek
