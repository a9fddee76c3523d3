#pragma once
// The four cell dialogs as the cell tool sees them: what each is given, what it gives
// back after OK, and the small interface through which it is loaded, shown modally and
// read back. The window library supplies the dialogs through a factory; tests supply
// scripted ones. A dialog never changes the tree: the cell tool takes its results back.

#include "engine/cell_records.h"
#include "engine/equation_info.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

namespace orvek {

class TCell;

// The equation-cell dialog (TfOrvek5). Lock fields are the template locks of the cell.
struct TEquationDialogData {
    TCell* FCell = nullptr; // the equation cell shown
    bool FIsNewCell = false;
    bool Editing = false; // opened for editing; off for viewing
    QString Caption; // text 236
    QString FCellName;
    quint8 FCellNameLock = 0;
    QString FComment; // RTF or mark-up
    quint8 FCommentLock = 0;
    bool FCommentChanged = false; // out: FComment was read back from the comment box
    QString FSymbol;
    quint8 FSymbolLock = 0;
    QString FQuantityName;
    quint8 FQuantityNameLock = 0;
    QString FUnit;
    quint8 FUnitLock = 0;
    // The equation as the cell keeps it (left side, "=", right side); for viewing the
    // normalised one, without blanks. The dialog gives the whole equation back.
    QString FEquation;
    quint8 FEquationLock = 0;
    quint8 FCoverage = 0, FCoverageLock = 0;
    QString FCoverageFactor;
    quint8 FCoverageFactorLock = 0;
    QString FCorrelationMatrix;
    quint8 FCorrelationMatrixLock = 0;
    QString FValue, FCombinedUncertainty, FRelativeUncertainty, FExpandedUncertainty, FRelativeExpandedUncertainty;
    QString DegreesOfFreedom; // integer part, shown in Edit_PocetStupnovVolnosti
    // The quantity grid. In: one record per quantity or equation child, in child order
    // (TCell::FillEquationVariableList); empty for a cell whose children are built anew.
    // Out: the grid rows read back, CellId kept for rows that stand for an existing child
    // (ReadQuantityGrid), or every row as a new quantity when RowsAsNew
    // (ReadQuantityGridAsNew).
    TInfo_o_bunkach_typu_velicina Quantities;
    bool RowsAsNew = false;
};

// The quantity-cell dialog (TfOrvek9).
struct TQuantityDialogData {
    bool FEditingAllowed = false;
    // An equation cell becoming a quantity: unit, quantity name and value type are fixed.
    bool ConversionMode = false;
    QString FCellName;
    quint8 FCellNameLock = 0;
    QString FComment;
    quint8 FCommentLock = 0;
    bool FCommentChanged = false; // out
    quint8 FValueType = 0, FValueTypeLock = 0;
    QString FSymbol;
    QString FQuantityName;
    quint8 FQuantityNameLock = 0;
    QString FUnit;
    quint8 FUnitLock = 0;
    QString FValue;
    quint8 FValueLock = 0;
    quint8 FValueTransferred = 0;
    QString FCombinedUncertainty, FRelativeUncertainty;
    QString FSumFormula; // value type 2 only
    quint8 FSumFormulaLock = 0;
    QString FSumFormulaDetails;
    quint8 FSumFormulaDetailsLock = 0;
    QString WholeEquation; // the parent's equation, shown in Edit_CelaRovnica
    QString DegreesOfFreedom; // integer part, shown in Edit_PocetStupnovVolnosti
};

// The dialog of an uncertainty cell with sources below it (TfOrvek11).
struct TUncertaintyCellDialogData {
    QString FCellName;
    quint8 FCellNameLock = 0;
    QString FComment;
    quint8 FCommentLock = 0;
    // Out: the comment box was modified, so FComment holds its content.
    bool FCommentChanged = false;
    QString FUnit;
    QString FDegreesOfFreedom; // integer part or "Nekonecno"
    QString FCombinedUncertainty;
    bool Active = false; // CheckBox_Aktivita, in and out
    bool ActiveEnabled = false;
};

// The uncertainty-source dialog (TfOrvek6).
struct TSourceDialogData {
    TCell* FOwnerCell = nullptr; // the parent, or the cell a new source is added to
    quint8 FIsNewSource = 0;
    bool Editing = false; // opened for editing; off for viewing
    QString FCellName;
    quint8 FCellNameLock = 0;
    QString FComment;
    quint8 FCommentLock = 0;
    bool FCommentChanged = false; // out
    QString FUnit;
    TVstupStandardnejNeistoty FInput; // the working copy, in and out
    bool Active = false; // CheckBox_Aktivita, in and out
    bool ActiveEnabled = false;
    bool FHandsMean = false; // out: the computation gave a mean the owner may take
    QString FMeanText; // out: that mean as displayed
    // Asked by OK with the chosen method while the dialog is still open. False: the
    // method is refused (the reason was shown) and the dialog stays open. Empty when
    // the dialog only shows the source.
    std::function<bool(int method)> AcceptMethod;
};

// One dialog for one opening: loaded from the hand-over, shown modally, and read back
// into the hand-over after OK.
template <class Data> class TCellDialog {
public:
    virtual ~TCellDialog() = default;
    virtual void Load(const Data& data) = 0;
    // 1 OK (mrOk), 2 Cancel.
    virtual int ShowModal() = 0;
    virtual void ReadBack(Data& data) = 0;
};

using TEquationDialog = TCellDialog<TEquationDialogData>;
using TQuantityDialog = TCellDialog<TQuantityDialogData>;
using TUncertaintyCellDialog = TCellDialog<TUncertaintyCellDialogData>;
using TSourceDialog = TCellDialog<TSourceDialogData>;

// Makes the dialogs. A dialog that is not available gives null, and opening it is then
// the same as Cancel.
class TCellDialogFactory {
public:
    virtual ~TCellDialogFactory() = default;
    virtual std::unique_ptr<TEquationDialog> CreateEquationDialog() = 0;
    virtual std::unique_ptr<TQuantityDialog> CreateQuantityDialog() = 0;
    virtual std::unique_ptr<TUncertaintyCellDialog> CreateUncertaintyCellDialog() = 0;
    virtual std::unique_ptr<TSourceDialog> CreateSourceDialog() = 0;
    // Around the loading of a dialog: the busy cursor.
    virtual void LoadingStarted() { }
    virtual void LoadingFinished() { }
};

// Loads Dialog from Data (with the busy cursor), shows it modally and, after OK, reads
// it back into Data. True after OK; False after Cancel or when there is no dialog.
template <class Data>
bool RunCellDialog(TCellDialogFactory& factory, std::unique_ptr<TCellDialog<Data>> dialog, Data& data)
{
    if (!dialog)
        return false;
    {
        struct Loading {
            TCellDialogFactory& factory;
            explicit Loading(TCellDialogFactory& f)
                : factory(f)
            {
                factory.LoadingStarted();
            }
            ~Loading() { factory.LoadingFinished(); }
        } loading(factory);
        dialog->Load(data);
    }
    if (dialog->ShowModal() != 1)
        return false;
    dialog->ReadBack(data);
    return true;
}

} // namespace orvek
