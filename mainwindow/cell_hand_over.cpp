#include "mainwindow/cell_hand_over.h"

#include "core/common_vars.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "engine/diagram_host.h"
#include "engine/expression.h"
#include "mainwindow/cell_tool_rules.h"
#include "richtext/report_format.h"

#include <vector>

namespace orvek {

bool IsSoleActiveSource(const TCell& cell)
{
    const TCell* parent = cell.FParent;
    return cell.FCellType == kUncertaintyCell && cell.FActive && parent
        && (parent->FCellType == kQuantityCell || parent->FCellType == kUncertaintyCell)
        && parent->ActiveSourceCount() == 1;
}

// ---------------------------------------------------------------------------------
// Hand-over

namespace {

// The equation dialog on Cell with the cell's texts, without locks.
TEquationDialogData EquationDialogTexts(TCell& cell, bool editing)
{
    TEquationDialogData d;
    d.FCell = &cell;
    d.Editing = editing;
    d.Caption = GetString(236);
    d.FCellName = cell.FCellName.Text;
    d.FComment = cell.FCellComment.Text;
    d.FSymbol = cell.FSymbol.Text;
    d.FQuantityName = cell.FQuantityName.Text;
    d.FUnit = cell.FUnit.Text;
    return d;
}

} // namespace

TEquationDialogData EquationDialogDataFor(TCell& cell, bool editing)
{
    TEquationDialogData d = EquationDialogTexts(cell, editing);
    d.FCoverage = cell.FCoverage;
    d.FCoverageFactor = cell.FCoverageFactor.Text;
    d.FCorrelationMatrix = cell.FCorrelationMatrix.Text;
    d.FValue = cell.FValue.Text;
    d.FCombinedUncertainty = cell.FCombinedUncertainty;
    d.FRelativeUncertainty = cell.FRelativeUncertainty;
    d.FExpandedUncertainty = cell.FExpandedUncertainty;
    d.FRelativeExpandedUncertainty = cell.FRelativeExpandedUncertainty;
    d.DegreesOfFreedom = IntegerPartText(cell.FDegreesOfFreedom);
    if (editing) {
        d.FEquation = cell.FEquation;
        d.FCellNameLock = cell.FCellName.Lock;
        d.FCommentLock = cell.FCellComment.Lock;
        d.FSymbolLock = cell.FSymbol.Lock;
        d.FQuantityNameLock = cell.FQuantityName.Lock;
        d.FUnitLock = cell.FUnit.Lock;
        d.FEquationLock = cell.FEquationLock;
        d.FCoverageLock = cell.FCoverageLock;
        d.FCoverageFactorLock = cell.FCoverageFactor.Lock;
        d.FCorrelationMatrixLock = cell.FCorrelationMatrix.Lock;
    } else {
        d.FEquation = cell.FNormalizedEquation;
    }
    cell.FillEquationVariableList();
    d.Quantities = EquationVariables;
    return d;
}

TQuantityDialogData QuantityDialogDataFor(const TCell& cell, bool editing)
{
    TQuantityDialogData d;
    d.FEditingAllowed = editing;
    d.FCellName = cell.FCellName.Text;
    d.FComment = cell.FCellComment.Text;
    d.FValueType = cell.FValueType;
    d.FSymbol = cell.FSymbol.Text;
    d.FQuantityName = cell.FQuantityName.Text;
    d.FUnit = cell.FUnit.Text;
    d.FValue = cell.FValue.Text;
    d.FValueTransferred = cell.FValueTransferred;
    d.FCombinedUncertainty = cell.FCombinedUncertainty;
    d.FRelativeUncertainty = cell.FRelativeUncertainty;
    if (cell.FValueType == 2) {
        d.FSumFormula = cell.FSumFormula.Text;
        d.FSumFormulaDetails = cell.FSumFormulaDetails.Text;
    }
    if (editing) {
        d.FCellNameLock = cell.FCellName.Lock;
        d.FCommentLock = cell.FCellComment.Lock;
        d.FValueTypeLock = cell.FValueTypeLock;
        d.FQuantityNameLock = cell.FQuantityName.Lock;
        d.FUnitLock = cell.FUnit.Lock;
        d.FValueLock = cell.FValue.Lock;
        if (cell.FValueType == 2) {
            d.FSumFormulaLock = cell.FSumFormula.Lock;
            d.FSumFormulaDetailsLock = cell.FSumFormulaDetails.Lock;
        }
    }
    // The normalised equation already holds its left side; EquationLine writes it once.
    if (const TCell* parent = cell.FParent)
        d.WholeEquation = EquationLine(parent->FSymbol.Text, parent->FNormalizedEquation).remove(QLatin1Char(' '));
    d.DegreesOfFreedom = IntegerPartText(cell.FDegreesOfFreedom);
    return d;
}

TUncertaintyCellDialogData UncertaintyCellDialogDataFor(const TCell& cell, bool editing)
{
    TUncertaintyCellDialogData d;
    d.FCellName = cell.FCellName.Text;
    d.FComment = cell.FCellComment.Text;
    if (editing) {
        d.FCellNameLock = cell.FCellName.Lock;
        d.FCommentLock = cell.FCellComment.Lock;
    }
    d.FUnit = cell.FUnit.Text;
    d.FDegreesOfFreedom = IntegerPartText(cell.FDegreesOfFreedom);
    d.FCombinedUncertainty = cell.FCombinedUncertainty;
    d.Active = cell.FActive;
    d.ActiveEnabled = editing && !IsSoleActiveSource(cell);
    return d;
}

TSourceDialogData SourceDialogDataFor(TCell& cell, bool editing)
{
    TSourceDialogData d;
    d.FOwnerCell = cell.FParent;
    d.FIsNewSource = 0;
    d.Editing = editing;
    d.FCellName = cell.FCellName.Text;
    d.FComment = cell.FCellComment.Text;
    if (editing) {
        d.FCellNameLock = cell.FCellName.Lock;
        d.FCommentLock = cell.FCellComment.Lock;
    }
    d.FUnit = cell.FUnit.Text;
    d.FInput = cell.FUncertaintyInput;
    d.Active = cell.FActive;
    d.ActiveEnabled = editing && !IsSoleActiveSource(cell) && cell.FActiveLock == 0;
    return d;
}

TSourceDialogData NewSourceDialogData(TCell& cell)
{
    TSourceDialogData d;
    d.FOwnerCell = &cell;
    d.FIsNewSource = 1;
    d.Editing = true;
    d.FCellName = GetString(324) + QStringLiteral(" ") + cell.FCellName.Text;
    d.FUnit = cell.FUnit.Text;
    ClearUncertaintyInput(d.FInput);
    d.FInput.TSN = 1;
    d.Active = true;
    d.ActiveEnabled = true;
    return d;
}

TEquationDialogData NewEquationDialogData(TCell& cell, bool keepEquation)
{
    TEquationDialogData d = EquationDialogTexts(cell, true);
    d.FSymbolLock = 1;
    d.FCoverage = 3;
    d.FCoverageFactor = QStringLiteral("2");
    if (keepEquation) {
        d.FEquation = cell.FEquation;
        d.FExpandedUncertainty = cell.FExpandedUncertainty;
        d.FRelativeExpandedUncertainty = cell.FRelativeExpandedUncertainty;
    }
    d.RowsAsNew = true;
    return d;
}

TQuantityDialogData ConversionQuantityDialogData(const TCell& cell)
{
    TQuantityDialogData d;
    d.FEditingAllowed = true;
    d.ConversionMode = true;
    d.FCellName = cell.FCellName.Text;
    d.FComment = cell.FCellComment.Text;
    d.FValue = cell.FValue.Text;
    d.FSymbol = cell.FSymbol.Text;
    d.FUnit = cell.FUnit.Text;
    d.FUnitLock = 1;
    d.FQuantityName = cell.FQuantityName.Text;
    d.FQuantityNameLock = 1;
    d.FValueType = 0;
    d.FValueTypeLock = 1;
    return d;
}

// ---------------------------------------------------------------------------------
// Take-back

namespace {

void TakeComment(TCell& cell, bool changed, const QString& comment)
{
    if (changed)
        cell.FCellComment.Text = comment;
}

// The child that row Row stands for: by cell number, then by symbol; never a child
// another row took.
TCell* MatchRow(
    const TInfo_o_bunke_typu_velicina& row, const std::vector<TCell*>& children, std::vector<bool>& used, bool bySymbol)
{
    for (size_t i = 0; i < children.size(); ++i) {
        if (used[i])
            continue;
        const bool match = bySymbol ? children[i]->FSymbol.Text == row.Symbol : children[i]->FId == row.CellId;
        if (match) {
            used[i] = true;
            return children[i];
        }
    }
    return nullptr;
}

void ApplyRowToChild(const TInfo_o_bunke_typu_velicina& row, TCell& child)
{
    const bool isQuantity = child.FCellType == kQuantityCell;
    const bool typeChanges = isQuantity && row.ValueType != child.FValueType;
    if (!typeChanges && row.Symbol == child.FSymbol.Text && row.UnitText == child.FUnit.Text
        && row.QuantityName == child.FQuantityName.Text)
        return;
    child.FSymbol.Text = row.Symbol;
    child.FUnit.Text = row.UnitText;
    child.FQuantityName.Text = row.QuantityName;
    if (typeChanges) {
        if (row.ValueType == 0) {
            AddNewSource(child);
        } else if (child.FValueType == 0) {
            child.DeleteAllChildren();
            // Without sources no value can be transferred from one.
            child.FValueTransferred = 0;
        }
        child.FValueType = row.ValueType;
    }
    child.RefreshDisplay();
    child.PropagateUnitToSources();
}

void ApplyQuantityRows(TCell& cell, const TInfo_o_bunkach_typu_velicina& rows)
{
    std::vector<TCell*> children;
    for (int i = 0; i < cell.ChildCount(); ++i)
        if (cell.Child(i)->FCellType != kUncertaintyCell)
            children.push_back(cell.Child(i));
    std::vector<bool> used(children.size(), false);
    std::vector<TCell*> matched(size_t(rows.Count) + 1, nullptr);
    for (int i = 1; i <= rows.Count; ++i)
        if (rows[i].CellId > 0)
            matched[size_t(i)] = MatchRow(rows[i], children, used, false);
    for (int i = 1; i <= rows.Count; ++i)
        if (!matched[size_t(i)])
            matched[size_t(i)] = MatchRow(rows[i], children, used, true);
    for (int i = 1; i <= rows.Count; ++i)
        if (matched[size_t(i)])
            ApplyRowToChild(rows[i], *matched[size_t(i)]);
}

bool ResultsDiffer(const TVstupStandardnejNeistoty& a, const TVstupStandardnejNeistoty& b)
{
    return a.TSN != b.TSN || a.HSN != b.HSN || GetDegreesOfFreedomText(a) != GetDegreesOfFreedomText(b)
        || SeriesMean(a) != SeriesMean(b);
}

// A lock holds at level 1 only; level 2 edits templates, locks included.
bool MayChange(quint8 lock)
{
    return lock == 0 || EditMode == 2;
}

void ClearQuantityFields(TCell& cell)
{
    cell.FValueType = 0;
    cell.FValueTransferred = 0;
    cell.FSumFormula = TStringRec();
    cell.FSumFormulaDetails = TStringRec();
}

} // namespace

void TakeBackEquation(TCell& cell, const TEquationDialogData& data)
{
    cell.FCellName.Text = data.FCellName;
    TakeComment(cell, data.FCommentChanged, data.FComment);
    cell.FEquation = data.FEquation;
    RemoveBlanks(data.FEquation, cell.FNormalizedEquation);
    cell.FCoverage = data.FCoverage;
    cell.FCoverageFactor.Text = data.FCoverageFactor;
    cell.FCorrelationMatrix.Text = data.FCorrelationMatrix;
    cell.FExpandedUncertainty = data.FExpandedUncertainty;
    cell.FUnit.Text = data.FUnit;
    cell.FQuantityName.Text = data.FQuantityName;
    cell.PropagateUnitToSources();
    ApplyQuantityRows(cell, data.Quantities);
}

bool TakeBackQuantity(TCell& cell, const TQuantityDialogData& data)
{
    cell.FCellName.Text = data.FCellName;
    TakeComment(cell, data.FCommentChanged, data.FComment);
    cell.FUnit.Text = data.FUnit;
    cell.FQuantityName.Text = data.FQuantityName;
    bool changed = false;
    auto takeValues = [&] {
        cell.FValue.Text = data.FValue;
        cell.FCombinedUncertainty = data.FCombinedUncertainty;
        cell.FRelativeUncertainty = data.FRelativeUncertainty;
        changed = true;
    };
    if (data.FValueType != cell.FValueType) {
        takeValues();
        if (cell.FValueType == 0) {
            cell.DeleteAllChildren();
            cell.FValueTransferred = 0;
        } else if (data.FValueType == 0) {
            ClearUncertaintyInput(cell.FUncertaintyInput);
            AddNewSource(cell);
        }
        cell.FValueType = data.FValueType;
    } else if (cell.FValueType == 1) {
        if (data.FValue != cell.FValue.Text)
            takeValues();
    } else if (data.FValue != cell.FValue.Text || data.FCombinedUncertainty != cell.FCombinedUncertainty) {
        takeValues();
    }
    if (cell.FValueType == 2) {
        cell.FSumFormula.Text = data.FSumFormula;
        cell.FSumFormulaDetails.Text = data.FSumFormulaDetails;
        cell.FDegreesOfFreedom = QStringLiteral("Nekonecno");
        changed = true;
    }
    cell.PropagateUnitToSources();
    return changed;
}

bool TakeBackUncertaintyCell(TCell& cell, const TUncertaintyCellDialogData& data, bool& activeChanged)
{
    bool changed = false;
    activeChanged = false;
    if (MayChange(cell.FCellName.Lock) && cell.FCellName.Text != data.FCellName) {
        cell.FCellName.Text = data.FCellName;
        changed = true;
    }
    if (data.FCommentChanged && MayChange(cell.FCellComment.Lock) && cell.FCellComment.Text != data.FComment) {
        cell.FCellComment.Text = data.FComment;
        changed = true;
    }
    if (MayChange(cell.FActiveLock) && cell.FActive != data.Active) {
        cell.FActive = data.Active;
        changed = activeChanged = true;
    }
    return changed;
}

bool TakeBackSource(TCell& cell, const TSourceDialogData& data)
{
    const bool wasActive = cell.FActive;
    const TVstupStandardnejNeistoty before = cell.FUncertaintyInput;
    cell.FCellName.Text = data.FCellName;
    TakeComment(cell, data.FCommentChanged, data.FComment);
    cell.FActive = data.Active;
    cell.FUncertaintyInput = data.FInput;
    bool changed = wasActive != data.Active;

    // The mean goes to the quantity the source belongs to, also from inside a group.
    if (TCell* owner = QuantityOwning(cell.FParent)) {
        const QString oldValue = owner->FValue.Text;
        const quint8 oldFlag = owner->FValueTransferred;
        if (data.Active && !data.FHandsMean && owner->FValueTransferred) {
            // Only a computation of a series source that gave no mean takes the flag
            // away; a comment-only OK ran none and another kind of source never
            // handed the mean on.
            const bool series = IsSeriesMethod(before.TSN) || IsSeriesMethod(data.FInput.TSN);
            if (series && ResultsDiffer(before, data.FInput))
                owner->FValueTransferred = 0;
        } else if (data.Active && data.FHandsMean && owner->FValue.Lock == 0) {
            owner->FValue.Text = data.FMeanText;
            owner->FValueTransferred = data.FMeanText.isEmpty() ? 0 : 1;
        } else if (wasActive && !data.Active && data.FHandsMean && owner->FValue.Lock == 0) {
            owner->FValue.Text.clear();
            owner->FValueTransferred = 0;
        }
        if (owner->FValue.Text != oldValue || owner->FValueTransferred != oldFlag)
            changed = true;
    }

    const QString dof = GetDegreesOfFreedomText(data.FInput);
    if (cell.FCombinedUncertainty != data.FInput.HSN || cell.FDegreesOfFreedom != dof) {
        cell.FCombinedUncertainty = data.FInput.HSN;
        cell.FDegreesOfFreedom = dof;
        if (wasActive || data.Active)
            changed = true;
    }
    return changed;
}

void RebuildAsEquation(TCell& cell, const TEquationDialogData& data)
{
    TSuspendedUpdates hidden(cell.Host(), true);
    cell.SetExpanded(true);
    cell.DeleteAllChildren();
    cell.FCellType = kEquationCell;
    ClearQuantityFields(cell);
    cell.FCellName.Text = data.FCellName;
    TakeComment(cell, data.FCommentChanged, data.FComment);
    cell.FQuantityName.Text = data.FQuantityName;
    cell.FUnit.Text = data.FUnit;
    cell.FSymbol.Text = data.FSymbol;
    cell.FEquation = data.FEquation;
    RemoveBlanks(data.FEquation, cell.FNormalizedEquation);
    cell.FCorrelationMatrix.Text = data.FCorrelationMatrix;
    cell.FCoverage = data.FCoverage;
    cell.FCoverageFactor.Text = data.FCoverageFactor;
    cell.FValue.Text.clear();
    cell.FCombinedUncertainty.clear();
    cell.FRelativeUncertainty.clear();
    const TInfo_o_bunkach_typu_velicina& rows = data.Quantities;
    for (int i = 1; i <= rows.Count; ++i) {
        const TInfo_o_bunke_typu_velicina& row = rows[i];
        ClearNewCellInfo();
        NewCellInfo.CellType = kQuantityCell;
        NewCellInfo.CellName = row.CellName.isEmpty() ? row.Symbol : row.CellName;
        NewCellInfo.CellComment = row.CellComment;
        NewCellInfo.Symbol = row.Symbol;
        NewCellInfo.QuantityName = row.QuantityName;
        NewCellInfo.UnitText = row.UnitText;
        NewCellInfo.ValueType = row.ValueType;
        NewCellInfo.Active = 1;
        TCell* quantity = cell.AddChild(NewCellInfo);
        if (quantity->FValueType == 0)
            AddNewSource(*quantity);
    }
}

void RebuildAsQuantity(TCell& cell, const TQuantityDialogData& data)
{
    TSuspendedUpdates hidden(cell.Host(), true);
    cell.DeleteAllChildren();
    cell.FCellType = kQuantityCell;
    ClearQuantityFields(cell);
    cell.FCellName.Text = data.FCellName;
    TakeComment(cell, data.FCommentChanged, data.FComment);
    cell.FValue.Text = data.FValue;
    cell.FSymbol.Text = data.FSymbol;
    cell.FUnit.Text = data.FUnit;
    cell.FQuantityName.Text = data.FQuantityName;
    cell.FCombinedUncertainty.clear();
    cell.FRelativeUncertainty.clear();
    // What only an equation cell holds goes with the kind.
    cell.FEquation.clear();
    cell.FNormalizedEquation.clear();
    cell.FCorrelationMatrix = TStringRec();
    cell.FExpandedUncertainty.clear();
    cell.FRelativeExpandedUncertainty.clear();
    cell.FDegreesOfFreedom.clear();
    cell.FValueType = data.FValueType;
    if (cell.FValueType == 2) {
        cell.FSumFormula.Text = data.FSumFormula;
        cell.FSumFormulaDetails.Text = data.FSumFormulaDetails;
    }
    if (cell.FValueType == 0)
        AddNewSource(cell);
}

} // namespace orvek
