#pragma once
// The window side of a diagram. A tree of cells keeps its boxes as plain data; the
// window that shows the tree implements this interface, mirrors each cell's data in a
// box widget and hands the box events back to the cell's handlers (BoxClick,
// BoxDblClick, BoxMouseMove, ExpandButtonClick). A tree without a host is pure data.
// The cells keep a pointer to their host: a window frees its tree (FreeCellTree)
// before it is destroyed itself.

namespace orvek {

class TCell;

class TDiagramHost {
public:
    virtual ~TDiagramHost() = default;
    // A cell was created: make its box.
    virtual void CellCreated(TCell* cell) = 0;
    // The box data, connectors or visibility of the cell changed.
    virtual void CellChanged(TCell* cell) = 0;
    // The cell is being destroyed: drop its box. The cell must not be used afterwards.
    virtual void CellDestroyed(TCell* cell) = 0;
    // Many boxes are about to change: stop drawing, remember the scroll positions and,
    // when Hourglass is set, show the busy cursor. Calls nest; EndUpdate restores.
    virtual void BeginUpdate(bool hourglass) = 0;
    virtual void EndUpdate() = 0;
};

} // namespace orvek
