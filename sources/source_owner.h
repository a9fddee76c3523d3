#pragma once
// The quantity an uncertainty source belongs to. The source dialog publishes its value,
// unit and symbol here when it loads a source, so that the computation, the condition
// editor and the chart statistics all see the same owner.

#include <QString>

namespace orvek {

class TCell;

// Value text, unit mark-up and symbol of the cell that owns the source being edited;
// empty when the owner is an uncertainty cell (a group of sources has no value).
inline QString SourceQuantityValue;
inline QString SourceQuantityUnit;
inline QString SourceQuantitySymbol;

// The cell whose quantity a source under Owner belongs to: Owner itself when it is an
// equation or quantity cell, else its nearest ancestor that is; the top of the tree
// when every ancestor is an uncertainty cell. Null for a null Owner.
TCell* OwningQuantityCell(TCell* owner);

// Whether a source under Owner may use Method: at most one active source of methods
// 6, 7 and 13 feeds one quantity, however its sources are grouped. Source is the
// source being edited, which does not count against itself (null for a new source).
bool IsSourceMethodAllowed(TCell* owner, TCell* source, int method);

} // namespace orvek
