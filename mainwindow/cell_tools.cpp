// The cell commands that a click on a cell box runs.

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

TCellTools::TCellTools(TCellDialogFactory& dialogs, TCellRecordAccess& record)
    : dialogs_(dialogs)
    , record_(record)
{
}

void TCellTools::ClickAction(TCell* cell)
{
    if (!cell)
        return;
    TCellTimerOff paused(*cell);
    bool adding = false;
    if (CmdEditCell) {
        EditCommand(*cell);
    } else if (CmdViewCell) {
        ViewCommand(*cell);
    } else if (CmdAddUncertainty) {
        adding = true;
        AddUncertainty(*cell);
    } else if (CmdDeleteCell) {
        DeleteSource(*cell);
    } else if (CmdToggleActive) {
        ToggleActive(*cell);
    } else if (CmdEquationToNewEquation) {
        EquationToNewEquation(*cell);
    } else if (CmdQuantityToNewEquation) {
        QuantityToNewEquation(*cell);
    } else if (CmdEquationToQuantity) {
        EquationToQuantity(*cell);
    }
    // The clicked cell's timer is stopped, so its request goes up at once. A new source's
    // request stays on the cell it was added to.
    if (!adding && cell->FReloaded && cell->FParent) {
        cell->FReloaded = false;
        cell->FParent->FReloaded = true;
    }
}

void TCellTools::EditCommand(TCell& cell)
{
    ClearCellCommandsInWindows();
    if (record_.CanLockItem()) {
        EditProperties(&cell);
        return;
    }
    MessageDlg(GetString(1102, { record_.GetUserFullName(DiagramLockOwnerID) }), TMsgDlgType::mtInformation, mbCancel);
    ViewProperties(&cell);
}

void TCellTools::ViewCommand(TCell& cell)
{
    ClearCellCommandsInWindows();
    ViewProperties(&cell);
}

void TCellTools::AddUncertainty(TCell& cell)
{
    if (cell.FCellType == kQuantityCell && (cell.FValueType == 1 || cell.FValueType == 2)) {
        MessageDlg(GetString(309), TMsgDlgType::mtError, mbCancel);
        return;
    }
    ClearCellCommandsInWindows();
    if (cell.ChildCount() > 0 && !cell.IsExpanded())
        cell.SetExpanded(true);
    TSourceDialogData data = NewSourceDialogData(cell);
    TCell* owner = QuantityOwning(&cell);
    data.AcceptMethod = [owner](int method) { return CheckMethodAllowed(owner, nullptr, method); };
    if (!RunCellDialog(dialogs_, dialogs_.CreateSourceDialog(), data) || EditMode == 0)
        return;
    const TVstupStandardnejNeistoty& rec = data.FInput;
    if (!CheckMethodAllowed(owner, nullptr, rec.TSN))
        return;

    HistoryOriginalValues = HistoryBeforeText(cell);
    ClearNewCellInfo();
    NewCellInfo.CellType = kUncertaintyCell;
    NewCellInfo.CellName = data.FCellName;
    NewCellInfo.CellComment = data.FComment;
    NewCellInfo.UnitText = cell.FUnit.Text;
    NewCellInfo.CombinedUncertainty = rec.HSN;
    NewCellInfo.Active = data.Active ? 1 : 0;
    NewCellInfo.UncertaintyInput = rec;
    TCell* source = cell.AddChild(NewCellInfo);
    HistoryNewValues = HistoryHeadedText(GetString(614), *source);
    record_.WriteHistory();

    // An uncertainty cell with a source below it is a group: its u comes from them.
    if (cell.FCellType == kUncertaintyCell) {
        cell.FCombinedUncertainty.clear();
        cell.FRelativeUncertainty.clear();
    }
    if (owner && IsSeriesMethod(rec.TSN)) {
        if (source->FActive)
            TransferSeriesMean(*owner, rec);
        else
            ClearSeriesMean(*owner, rec);
    }
    cell.FReloaded = true;
}

void TCellTools::DeleteSource(TCell& cell)
{
    if (cell.FCellType != kUncertaintyCell || !cell.FParent)
        return;
    TCell& parent = *cell.FParent;
    const int activeSources = parent.ActiveSourceCount();
    const bool lastActiveOfQuantity = parent.FCellType == kQuantityCell && activeSources == 1 && cell.FActive;
    const bool groupWithOneActive
        = parent.FCellType == kUncertaintyCell && parent.ChildCount() > 1 && activeSources == 1;
    if (lastActiveOfQuantity || groupWithOneActive) {
        MessageDlg(GetString(247), TMsgDlgType::mtWarning, mbCancel);
        return;
    }
    if (parent.FCellType == kUncertaintyCell && parent.ChildCount() == 1) {
        if (MessageDlg(GetString(329, { QStringLiteral("\r"), QStringLiteral("\r\r") }), TMsgDlgType::mtConfirmation,
                mbYes | mbCancel)
            != mrYes)
            return;
    } else if (MessageDlg(GetString(248), TMsgDlgType::mtConfirmation, mbYesNo) != mrYes) {
        return;
    }

    ClearCellCommandsInWindows();
    HistoryNewValues = HistoryHeadedText(GetString(615), cell);
    record_.WriteHistory();
    // An active series source takes the mean it handed to its quantity with it; an
    // inactive one never handed one on.
    if (cell.FActive && cell.ChildCount() == 0)
        if (TCell* owner = QuantityOwning(&parent))
            ClearSeriesMean(*owner, cell.FUncertaintyInput);
    // The parent's timer removes one pending child a tick; an earlier one still waiting
    // goes now, so that it is never forgotten.
    if (parent.FPendingDelete && parent.FPendingDelete != &cell)
        parent.RemoveChild(parent.FPendingDelete);
    parent.FPendingDelete = &cell;
    parent.FReloaded = true;
}

void TCellTools::ToggleActive(TCell& cell)
{
    if (cell.FCellType != kUncertaintyCell || !cell.FParent)
        return;
    if (IsSoleActiveSource(cell)) {
        MessageDlg(GetString(249), TMsgDlgType::mtWarning, mbCancel);
        return;
    }
    const bool leaf = cell.ChildCount() == 0;
    const TVstupStandardnejNeistoty& rec = cell.FUncertaintyInput;
    TCell* owner = QuantityOwning(cell.FParent);
    // A series source switched on must be the only one feeding its quantity.
    if (!cell.FActive && leaf && !CheckMethodAllowed(owner, &cell, rec.TSN))
        return;

    ClearCellCommandsInWindows();
    HistoryNewValues = HistoryHeadedText(cell.FActive ? GetString(616) : GetString(617), cell);
    record_.WriteHistory();
    cell.FActive = !cell.FActive;
    if (leaf && owner && IsSeriesMethod(rec.TSN)) {
        if (cell.FActive)
            TransferSeriesMean(*owner, rec);
        else
            ClearSeriesMean(*owner, rec);
    }
    cell.FReloaded = true;
    cell.RefreshDisplay();
}

void TCellTools::EquationToNewEquation(TCell& cell)
{
    if (cell.FCellType != kEquationCell)
        return;
    ClearCellCommandsInWindows();
    TEquationDialogData data = NewEquationDialogData(cell, true);
    if (!RunCellDialog(dialogs_, dialogs_.CreateEquationDialog(), data) || EditMode == 0)
        return;
    // The template marks go only when the conversion is confirmed.
    cell.ClearTemplateMarks();
    RebuildAsEquation(cell, data);
    cell.FReloaded = true;
}

void TCellTools::QuantityToNewEquation(TCell& cell)
{
    if (cell.FCellType != kQuantityCell)
        return;
    ClearCellCommandsInWindows();
    TEquationDialogData data = NewEquationDialogData(cell, false);
    if (!RunCellDialog(dialogs_, dialogs_.CreateEquationDialog(), data) || EditMode == 0)
        return;
    HistoryOriginalValues = HistoryBeforeText(cell);
    cell.ClearTemplateMarks();
    RebuildAsEquation(cell, data);
    HistoryNewValues = HistoryHeadedText(GetString(618), cell);
    record_.WriteHistory();
    cell.FReloaded = true;
    cell.RefreshDisplay();
}

void TCellTools::EquationToQuantity(TCell& cell)
{
    if (cell.FCellType != kEquationCell || !cell.FParent)
        return;
    if (MessageDlg(
            GetString(246, { QStringLiteral("\r\r"), QStringLiteral("\r\r") }), TMsgDlgType::mtConfirmation, mbYesNo)
        != mrYes)
        return;
    ClearCellCommandsInWindows();
    TQuantityDialogData data = ConversionQuantityDialogData(cell);
    if (!RunCellDialog(dialogs_, dialogs_.CreateQuantityDialog(), data) || EditMode == 0)
        return;
    HistoryOriginalValues = HistoryBeforeText(cell);
    cell.ClearTemplateMarks();
    RebuildAsQuantity(cell, data);
    HistoryNewValues = HistoryHeadedText(GetString(619), cell);
    record_.WriteHistory();
    cell.FParent->FReloaded = true;
    cell.RefreshDisplay();
}

} // namespace orvek
