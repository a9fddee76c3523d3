#pragma once
// The two windows that show a tree of cells and arm the cell commands, the main window
// and the template window, as the cell tool uses them: their timers and their cell
// actions. The program installs an adapter for each window that exists; a window that
// is not installed counts as hidden and is left alone.

namespace orvek {

class TCell;

class TCellToolWindow {
public:
    virtual ~TCellToolWindow() = default;
    virtual bool IsVisible() const = 0;
    virtual void SetTimerEnabled(bool enabled) = 0;
    // The window's own disarm routine: every cell command and request flag off and
    // its cell actions unchecked.
    virtual void ClearCellCommands() = 0;
};

inline TCellToolWindow* MainCellToolWindow = nullptr; // fOrvek1
inline TCellToolWindow* TemplateCellToolWindow = nullptr; // fOrvekDB

// Disarms the cell commands in both windows (and the flags themselves when neither
// window exists).
void ClearCellCommandsInWindows();

// Stops the timers of both windows for the life of the object. On every way out the
// template window's timer runs again when that window is visible, the main window's
// when the template window is not.
class TWindowTimersOff {
public:
    TWindowTimersOff();
    ~TWindowTimersOff();
    TWindowTimersOff(const TWindowTimersOff&) = delete;
    TWindowTimersOff& operator=(const TWindowTimersOff&) = delete;
};

// Stops a cell's own timer for the life of the object; afterwards it runs again as it
// did before, unless the cell has been hidden meanwhile.
class TCellTimerOff {
public:
    explicit TCellTimerOff(TCell& cell);
    ~TCellTimerOff();
    TCellTimerOff(const TCellTimerOff&) = delete;
    TCellTimerOff& operator=(const TCellTimerOff&) = delete;

private:
    TCell& cell_;
    bool wasEnabled_;
};

} // namespace orvek
