#pragma once
// The three highlight modes of the diagram as one exclusive choice (HighlightMode: 0
// none, 1 cells without values, 2 expired uncertainty sources, 3 largest contribution
// to the uncertainty). Pressing one of the three actions decides the new mode from the
// model; the check marks of the three actions follow the mode, so switching one on
// switches the other two off.

#include <QtGlobal>
#include <functional>

namespace orvek {

inline constexpr quint8 kHighlightNone = 0;
inline constexpr quint8 kHighlightUnfilled = 1;
inline constexpr quint8 kHighlightExpired = 2;
inline constexpr quint8 kHighlightLargest = 3;

// What the model offers to highlight; HasModel false: there is no model.
struct THighlightFacts {
    bool HasModel = false;
    bool HasUnfilledCells = false;
    bool HasExpiredSource = false;
};

struct THighlightOutcome {
    quint8 Mode = kHighlightNone;
    // An information message with one Yes button to show (708 nothing unfilled, 652
    // nothing expired); 0 for none.
    int Message = 0;
    // Mode 3 was chosen: the sensitivities of the whole model are computed before the
    // redraw.
    bool ComputeSensitivity = false;
};

// The press of the action of Pressed (1, 2 or 3) while CurrentMode is on. Pressing the
// action of the mode that is on switches highlighting off. The largest contribution
// needs every cell filled: otherwise AskHighlightUnfilled (message 883, Yes/No) is
// asked, and Yes highlights the unfilled cells instead; No leaves every mode off. The
// caller raises the redraw request in every case.
THighlightOutcome PressHighlight(quint8 pressed, quint8 currentMode, const THighlightFacts& facts,
    const std::function<bool()>& askHighlightUnfilled);

// Whether the action of Action (1, 2 or 3) is checked while Mode is on.
inline bool HighlightChecked(quint8 action, quint8 mode)
{
    return action == mode;
}

} // namespace orvek
