#include "mainwindow/highlight_modes.h"

namespace orvek {

THighlightOutcome PressHighlight(
    quint8 pressed, quint8 currentMode, const THighlightFacts& facts, const std::function<bool()>& askHighlightUnfilled)
{
    THighlightOutcome out;
    if (pressed == currentMode || !facts.HasModel)
        return out;
    switch (pressed) {
    case kHighlightUnfilled:
        if (facts.HasUnfilledCells)
            out.Mode = kHighlightUnfilled;
        else
            out.Message = 708;
        break;
    case kHighlightExpired:
        if (facts.HasExpiredSource)
            out.Mode = kHighlightExpired;
        else
            out.Message = 652;
        break;
    case kHighlightLargest:
        if (facts.HasUnfilledCells) {
            // Without every value the contributions cannot be compared: offer the
            // cells that still lack one.
            if (askHighlightUnfilled && askHighlightUnfilled())
                out.Mode = kHighlightUnfilled;
        } else {
            out.Mode = kHighlightLargest;
            out.ComputeSensitivity = true;
        }
        break;
    default:
        break;
    }
    return out;
}

} // namespace orvek
