#pragma once
// The cell tool: what a click or double click on a cell box does. ClickAction runs the
// armed cell command on the clicked cell, EditProperties edits a cell in the dialog of
// its kind and takes the result back, ViewProperties shows a cell read-only. Every change
// writes its change-history row and asks for a recalculation (a change of results) or a
// save (a change of texts). The dialogs come from a factory and the record's lock and
// history from the record access, so the whole tool runs without windows.

#include "core/services.h"

namespace orvek {

class TCell;
class TCellDialogFactory;
class TCellRecordAccess;

class TCellTools : public CellToolService {
public:
    TCellTools(TCellDialogFactory& dialogs, TCellRecordAccess& record);

    void ClickAction(TCell* cell) override;
    void ViewProperties(TCell* cell) override;
    void EditProperties(TCell* cell) override;

private:
    // The commands, in the order ClickAction serves them. Each does nothing (and the
    // command stays armed) when it does not apply to the cell or a guard refuses.
    void EditCommand(TCell& cell);
    void ViewCommand(TCell& cell);
    void AddUncertainty(TCell& cell);
    void DeleteSource(TCell& cell);
    void ToggleActive(TCell& cell);
    void EquationToNewEquation(TCell& cell);
    void QuantityToNewEquation(TCell& cell);
    void EquationToQuantity(TCell& cell);

    // EditProperties by kind, after the lock was taken.
    void EditEquation(TCell& cell);
    void EditQuantity(TCell& cell);
    void EditUncertaintyCell(TCell& cell);
    void EditSource(TCell& cell);
    // The cell opens read-only after the record's lock was refused, with the reason.
    void ShowLockedCell(TCell& cell, bool changedSinceLoaded);
    // Writes the history row whose new text is the one-cell description of Cell, then
    // asks Cell's parent (Cell itself at the root) for a recalculation when Changed,
    // otherwise marks the diagram modified.
    void FinishEdit(TCell& cell, bool changed);
    void RequestRecalculation(TCell& cell);

    TCellDialogFactory& dialogs_;
    TCellRecordAccess& record_;
};

} // namespace orvek
