#pragma once
// The main window's own zoom and its steps. Both database windows share the zoom
// globals (ZoomCoefficient, ZoomPresetIndex); each keeps a copy of its own
// (FOwnZoom, FOwnZoomPreset) and puts it back when it becomes current.
//
// The main window steps by ZoomStep from the exact binary value, without rounding,
// and compares the bounds 0.3 and 3.0 exactly: from 1.0 the seventh step down gives
// 0.30000000000000016, still above 0.3, so an eighth step to about 0.2 (shown as 20 %)
// is taken before zooming out is disabled.

#include "database/template_zoom.h"

#include <QString>

namespace orvek {

class TMainZoom {
public:
    double FOwnZoom() const { return own_.SavedZoom; }
    quint8 FOwnZoomPreset() const { return own_.SavedZoomPreset; }

    // FOwnZoom and FOwnZoomPreset take the current zoom.
    void Remember() { own_.Remember(); }
    // When the shared zoom differs from this window's own, the own zoom is made current
    // and the free entry of the presets follows it (SyncZoomControls). True when it
    // was: the caller then updates its zoom controls.
    bool RestoreOwnZoom();

    // One step (ZoomIn, ZoomOut): True when the zoom changed; the new zoom is the free
    // value (preset 0) and this window's own. Afterwards ZoomInEnabled and
    // ZoomOutEnabled give the state of the two actions.
    bool ZoomIn();
    bool ZoomOut();
    // The preset request: ZoomCoefficient := the factor of ZoomPresetIndex, kept as this
    // window's own.
    void ApplyPreset();

    bool ZoomInEnabled = true;
    bool ZoomOutEnabled = true;

private:
    TTemplateZoom own_;
};

// The free value's entry of the zoom presets (SyncZoomControls for preset 0): its text
// is the zoom in per cent, with two leading blanks when that has two digits, and "%".
void SyncFreeZoomPreset();

} // namespace orvek
