#include "mainwindow/ui/equation_dialog_provider.h"

#include "mainwindow/cell_dialogs.h"
#include "mainwindow/ui/equation_cell_dialog.h"

#include <QApplication>

namespace orvek {

void NewEquationFromDialog(const TEquationDialogData& from, TNewEquationDialogData& to)
{
    to = TNewEquationDialogData();
    to.CellName = from.FCellName;
    to.CellComment = from.FComment;
    to.Symbol = from.FSymbol;
    to.QuantityName = from.FQuantityName;
    to.UnitText = from.FUnit;
    to.Coverage = from.FCoverage;
    to.CoverageFactor = from.FCoverageFactor;
    to.Equation = from.FEquation;
    to.CorrelationMatrix = from.FCorrelationMatrix;
    for (int i = 1; i <= from.Quantities.Count; ++i) {
        const auto& row = from.Quantities[i];
        to.Rows.append({ row.Symbol, row.UnitText, row.QuantityName, row.ValueType });
    }
}

bool EquationDialogProvider::RunNewEquationDialog(const QString& caption, TNewEquationDialogData& data)
{
    TEquationDialogData dialogData;
    dialogData.FIsNewCell = true;
    dialogData.Editing = true;
    dialogData.RowsAsNew = true;
    dialogData.Caption = caption;
    TfOrvek5 dialog(QApplication::activeWindow());
    dialog.Load(dialogData);
    if (dialog.ShowModal() != 1)
        return false;
    dialog.ReadBack(dialogData);
    NewEquationFromDialog(dialogData, data);
    return true;
}

} // namespace orvek
