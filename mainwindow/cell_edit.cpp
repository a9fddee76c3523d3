// Viewing and editing one cell in the dialog of its kind.

#include "mainwindow/cell_tools.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "mainwindow/cell_dialogs.h"
#include "mainwindow/cell_hand_over.h"
#include "mainwindow/cell_record_access.h"
#include "mainwindow/cell_tool_rules.h"
#include "mainwindow/cell_tool_windows.h"
#include "platform/dialogs.h"

namespace orvek {

void TCellTools::ViewProperties(TCell* cell)
{
    if (!cell || IsCellCommandPending())
        return;
    // Viewing changes nothing, so every dialog shows its inputs read-only.
    TEditModeScope viewOnly(0);
    if (cell->FCellType == kEquationCell) {
        TEquationDialogData data = EquationDialogDataFor(*cell, false);
        RunCellDialog(dialogs_, dialogs_.CreateEquationDialog(), data);
    } else if (cell->FCellType == kQuantityCell) {
        TQuantityDialogData data = QuantityDialogDataFor(*cell, false);
        RunCellDialog(dialogs_, dialogs_.CreateQuantityDialog(), data);
    } else if (cell->ChildCount() > 0) {
        TUncertaintyCellDialogData data = UncertaintyCellDialogDataFor(*cell, false);
        RunCellDialog(dialogs_, dialogs_.CreateUncertaintyCellDialog(), data);
    } else {
        TSourceDialogData data = SourceDialogDataFor(*cell, false);
        RunCellDialog(dialogs_, dialogs_.CreateSourceDialog(), data);
    }
}

void TCellTools::EditProperties(TCell* cell)
{
    if (!cell)
        return;
    DiagramLockOwnerID = 0;
    bool changedSinceLoaded = false;
    const bool locked = record_.LockItem(&changedSinceLoaded);
    if (IsCellCommandPending())
        return;
    if (!locked) {
        ShowLockedCell(*cell, changedSinceLoaded);
        return;
    }
    TWindowTimersOff timersOff;
    if (cell->FCellType == kEquationCell)
        EditEquation(*cell);
    else if (cell->FCellType == kQuantityCell)
        EditQuantity(*cell);
    else if (cell->ChildCount() > 0)
        EditUncertaintyCell(*cell);
    else
        EditSource(*cell);
    cell->RefreshDisplay();
}

void TCellTools::ShowLockedCell(TCell& cell, bool changedSinceLoaded)
{
    QString text;
    if (changedSinceLoaded)
        text = GetString(22250);
    else if (DiagramLockOwnerID > 0)
        text = GetString(1102, { record_.GetUserFullName(DiagramLockOwnerID) });
    else
        text = GetString(22251);
    MessageDlg(text, TMsgDlgType::mtInformation, mbCancel);
    ViewProperties(&cell);
}

void TCellTools::EditEquation(TCell& cell)
{
    TEquationDialogData data = EquationDialogDataFor(cell, true);
    if (!RunCellDialog(dialogs_, dialogs_.CreateEquationDialog(), data) || EditMode == 0)
        return;
    HistoryOriginalValues = HistoryBeforeText(cell);
    TakeBackEquation(cell, data);
    // The rows may have changed the children, so the equation is always recalculated.
    FinishEdit(cell, true);
}

void TCellTools::EditQuantity(TCell& cell)
{
    TQuantityDialogData data = QuantityDialogDataFor(cell, true);
    if (!RunCellDialog(dialogs_, dialogs_.CreateQuantityDialog(), data) || EditMode == 0)
        return;
    HistoryOriginalValues = HistoryBeforeText(cell);
    FinishEdit(cell, TakeBackQuantity(cell, data));
}

void TCellTools::EditUncertaintyCell(TCell& cell)
{
    TUncertaintyCellDialogData data = UncertaintyCellDialogDataFor(cell, true);
    if (!RunCellDialog(dialogs_, dialogs_.CreateUncertaintyCellDialog(), data) || EditMode == 0)
        return;
    const QString before = HistoryBeforeText(cell);
    bool activeChanged = false;
    if (!TakeBackUncertaintyCell(cell, data, activeChanged))
        return;
    HistoryOriginalValues = before;
    FinishEdit(cell, activeChanged);
}

void TCellTools::EditSource(TCell& cell)
{
    TSourceDialogData data = SourceDialogDataFor(cell, true);
    TCell* owner = QuantityOwning(cell.FParent);
    TCell* source = &cell;
    data.AcceptMethod = [owner, source](int method) { return CheckMethodAllowed(owner, source, method); };
    if (!RunCellDialog(dialogs_, dialogs_.CreateSourceDialog(), data) || EditMode == 0)
        return;
    // A dialog that did not ask while it was open is checked now; refused, nothing
    // is taken back.
    if (!CheckMethodAllowed(owner, source, data.FInput.TSN))
        return;
    HistoryOriginalValues = HistoryBeforeText(cell);
    FinishEdit(cell, TakeBackSource(cell, data));
}

void TCellTools::FinishEdit(TCell& cell, bool changed)
{
    HistoryNewValues = DescribeOneCell(cell);
    record_.WriteHistory();
    if (changed)
        RequestRecalculation(cell);
    else
        CellTreeChanged = true;
}

void TCellTools::RequestRecalculation(TCell& cell)
{
    (cell.FParent ? cell.FParent : &cell)->FReloaded = true;
}

} // namespace orvek
