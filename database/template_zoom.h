#pragma once
// The template window's own zoom. Both database windows share the zoom globals
// (ZoomCoefficient, ZoomPresetIndex); the template window keeps a copy of its own and
// puts it back whenever it comes to the front.

#include <QString>
#include <QtGlobal>

namespace orvek {

inline constexpr double kLargestZoom = 3.0;
inline constexpr double kSmallestZoom = 0.3;

class TTemplateZoom {
public:
    // SavedZoom and SavedZoomPreset take the current zoom.
    void Remember();
    // When the shared zoom differs from this window's (the main window changed it),
    // the window's own is made current again. True when it was: the caller then
    // updates its zoom controls.
    bool RestoreOwnZoom();

    // One ZoomStep up (ZoomIn) or down (ZoomOut) within the bounds; the new zoom is
    // this window's, with the custom preset 0. False when the bound was reached and
    // nothing changed. After either, CanZoomIn and CanZoomOut give the enabling of
    // the two actions.
    bool ZoomIn();
    bool ZoomOut();
    bool CanZoomIn() const;
    bool CanZoomOut() const;

    // The preset request: ZoomCoefficient := the factor of ZoomPresetIndex, kept as
    // this window's zoom.
    void ApplyPreset();

    double SavedZoom = 1.0;
    quint8 SavedZoomPreset = 3;
};

// CaptionBase + " (" + the zoom in per cent, rounded half to even + "%)".
QString ZoomCaption(const QString& captionBase);

} // namespace orvek
