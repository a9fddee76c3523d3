#pragma once
// What the cell tool hands to each dialog, for viewing and for editing, and how the
// dialog's results go back into the tree.

#include "mainwindow/cell_dialogs.h"

namespace orvek {

class TCell;

// True when Cell is an active uncertainty cell and the only active one under a
// quantity or uncertainty parent: it may be neither switched off nor deleted.
bool IsSoleActiveSource(const TCell& cell);

TEquationDialogData EquationDialogDataFor(TCell& cell, bool editing);
TQuantityDialogData QuantityDialogDataFor(const TCell& cell, bool editing);
TUncertaintyCellDialogData UncertaintyCellDialogDataFor(const TCell& cell, bool editing);
TSourceDialogData SourceDialogDataFor(TCell& cell, bool editing);
// A new source about to be added under Cell: method 1, named text 324 + " " + the
// cell's name, active, in the cell's unit.
TSourceDialogData NewSourceDialogData(TCell& cell);

// The equation dialog for a cell that becomes a new equation: name, comment, fixed
// symbol, unit and quantity name; coverage choice 3 with k "2"; no correlation matrix,
// value or uncertainties; rows read back as new. With KeepEquation (an equation cell
// built anew) also its equation and expanded uncertainties.
TEquationDialogData NewEquationDialogData(TCell& cell, bool keepEquation);
// The quantity dialog in its conversion mode for an equation cell that becomes a
// quantity: name, comment, value and symbol; unit, quantity name and value type 0 fixed.
TQuantityDialogData ConversionQuantityDialogData(const TCell& cell);

// Takes an edited equation cell back: its own fields, then the quantity rows matched to
// its children (by CellId, then by symbol; each child at most once). A row whose child
// is a quantity of another value type adds a source (to value type 0) or deletes its
// sources (from 0); an equation child never changes kind here.
void TakeBackEquation(TCell& cell, const TEquationDialogData& data);
// Takes an edited quantity cell back. True when a value, u or value type changed.
bool TakeBackQuantity(TCell& cell, const TQuantityDialogData& data);
// Takes the name, comment and active flag of an uncertainty cell with sources where
// they differ and may be changed. ActiveChanged tells whether the flag went over.
// True when anything changed.
bool TakeBackUncertaintyCell(TCell& cell, const TUncertaintyCellDialogData& data, bool& activeChanged);
// Takes an edited source back, with the mean it hands to its owner. True when the
// change may affect a result: the active flag went over, the owner's value changed, or
// u or the degrees of freedom of a source active before or after changed.
bool TakeBackSource(TCell& cell, const TSourceDialogData& data);

// The cell becomes (or stays) an equation cell with the dialog's data, its children
// rebuilt from the dialog's rows as new quantities, each of value type 0 with a new
// source. Value and uncertainties are cleared.
void RebuildAsEquation(TCell& cell, const TEquationDialogData& data);
// The equation cell becomes a quantity cell with the dialog's data and no children
// but, for value type 0, a new source.
void RebuildAsQuantity(TCell& cell, const TQuantityDialogData& data);

} // namespace orvek
