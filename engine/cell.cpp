#include "engine/cell.h"

#include "core/common_vars.h"
#include "core/settings.h"
#include "engine/diagram_host.h"
#include "engine/diagram_text.h"

#include <QTimer>

namespace orvek {

std::array<quint32, 6> CurrentCellColors()
{
    return { CellColorFilledVal, CellColorUnFilledVal, CellColorChecked, CellColorFilledNeistota,
        CellColorUnFilledNeistota, CellColorNeaktivnaNeistota };
}

TSuspendedUpdates::TSuspendedUpdates(TDiagramHost* host, bool hourglass)
    : host_(host)
{
    if (host_)
        host_->BeginUpdate(hourglass);
}

TSuspendedUpdates::~TSuspendedUpdates()
{
    if (host_)
        host_->EndUpdate();
}

TCell::TCell(TDiagramHost* host, const TPrenosInfoDoNovejBunky& info, int top, int left, TCell* parentCell)
    : FHost(host)
{
    FCellType = info.CellType;
    FCellName.Text = info.CellName;
    FCellComment.Text = info.CellComment;
    FActive = info.Active != 0;
    FCombinedUncertainty = info.CombinedUncertainty;
    FDegreesOfFreedom = info.DegreesOfFreedom;
    FSumFormula.Text = info.SumFormula;
    FSumFormulaDetails.Text = info.SumFormulaDetails;
    FSymbol.Text = info.Symbol;
    FQuantityName.Text = info.QuantityName;
    FValue.Text = info.Value;
    FValueTransferred = info.ValueTransferred;
    FEquation = info.Equation;
    FNormalizedEquation = info.NormalizedEquation;
    FCorrelationMatrix.Text = info.CorrelationMatrix;
    FUnit.Text = info.UnitText;
    if (FCellType == kEquationCell) {
        FCoverage = info.Coverage;
        FCoverageFactor.Text = info.CoverageFactor;
    } else if (FCellType == kQuantityCell) {
        FValueType = info.ValueType;
    } else if (FCellType == kUncertaintyCell) {
        FUncertaintyInput = info.UncertaintyInput;
        FCombinedUncertainty = FUncertaintyInput.HSN;
    }
    FId = CellIdCounter;
    FColors = CurrentCellColors();

    FParent = parentCell;
    // A child added under a collapsed parent that already shows children, or under a
    // hidden parent, stays hidden until the parent is expanded.
    if (FParent && ((!FParent->FExpanded && !FParent->FChildren.empty()) || !FParent->FVisible))
        FVisible = false;

    const int H = ZoomedCellHeight, W = ZoomedCellWidth, B = ZoomedHorizontalBondWidth;
    const int O = ZoomedBeginHorizontalBond, G = ZoomedVertDistance;
    if (FParent)
        FBox.Rect = QRect(left + O + 1 + B - 2, top + H + G, W, H);
    else
        FBox.Rect = QRect(left, top, W, H);
    const QRect& box = FBox.Rect;

    FExpandButton.Visible = false;
    FExpandButton.Caption = "+";
    PlaceExpandButton();

    if (FParent)
        FHorzLine.Rect = QRect(box.left() - B + 1, box.top() + H / 2 - 1, B, 1);
    else
        FHorzLine.Rect = QRect(box.left() - B, box.top() + H / 2 - 1, 0, 0);
    FVertLine.Rect = QRect(box.left() + O, box.top() + box.height() - 1, 1, 0);

    if (FParent) {
        QRect& pv = FParent->FVertLine.Rect;
        pv.setHeight(FHorzLine.Rect.top() + 1 - pv.top());
        FParent->Changed();
    }

    if (FHost) {
        FTimer = std::make_unique<QTimer>();
        FTimer->setInterval(100);
        QObject::connect(FTimer.get(), &QTimer::timeout, [this] { TimerTick(); });
        FHost->CellCreated(this);
    }
    SetTimerEnabled(FVisible);
    ApplyCellWidth();
    RefreshDisplay();
    FBox.Visible = FVisible;
    FVertLine.Visible = FVisible;
    FHorzLine.Visible = FParent && FVisible;
    Changed();
}

TCell::~TCell()
{
    SetTimerEnabled(false);
    TSuspendedUpdates suspended(FHost);
    while (!FChildren.empty())
        FChildren.pop_back();
    ClearFields();
    if (HoveredCell == this)
        HoveredCell = nullptr;
    if (FHost)
        FHost->CellDestroyed(this);
}

void TCell::Changed()
{
    if (FHost && !THeldCellChanges::Holding())
        FHost->CellChanged(this);
}

void TCell::SetTimerEnabled(bool enabled)
{
    FTimerEnabled = enabled;
    if (!FTimer)
        return;
    if (enabled)
        FTimer->start();
    else
        FTimer->stop();
}

void FreeCellTree(TCell*& cell)
{
    if (!cell)
        return;
    {
        TSuspendedUpdates suspended(cell->Host());
        while (!cell->FChildren.empty())
            cell->FChildren.pop_back();
        delete cell;
    }
    cell = nullptr;
}

void TCell::ClearFields()
{
    ClearUncertaintyInput(FUncertaintyInput);
    FCellTypeLock = 0;
    FValueTypeLock = 0;
    for (TStringRec* rec : { &FCellName, &FCellComment, &FSymbol, &FUnit, &FQuantityName, &FValue, &FSumFormula,
             &FSumFormulaDetails, &FCoverageFactor, &FCorrelationMatrix })
        *rec = TStringRec();
    FValueTransferred = 0;
    FNormalizedEquation.clear();
    FCoverageLock = 0;
    FEquationLock = 0;
    FIndent.clear();
    FCombinedUncertainty.clear();
    FRelativeUncertainty.clear();
    FExpandedUncertainty.clear();
    FDegreesOfFreedom.clear();
    FRelativeExpandedUncertainty.clear();
    FSheetFormula.clear();
    FSensitivity.clear();
    FNumSensitivity.clear();
    FNumContribution.clear();
}

namespace {

quint8 LockWhenSet(const QString& text)
{
    return text.isEmpty() ? 0 : 1;
}

} // namespace

void TCell::MarkAsTemplate()
{
    FCellTypeLock = 1;
    FCellName.Lock = 1;
    FSymbol.Lock = 1;
    FActiveLock = 1;
    TVstupStandardnejNeistoty& u = FUncertaintyInput;
    if (FCellType == kUncertaintyCell) {
        u.TSNLock = 1;
        FCellComment.Lock = LockWhenSet(FCellComment.Text);
        switch (u.TSN) {
        case 0:
            u.ZPSV_1Lock = 1;
            break;
        case 1:
            u.ZPSV_2_1Lock = 1;
            break;
        case 2:
            u.ZPSV_2_2Lock = 1;
            break;
        case 3:
            u.ZPSV_2_3Lock = 1;
            break;
        case 4:
            u.ZPSV_2_4Lock = 1;
            u.HSLock = 1;
            break;
        case 5:
            u.ZPSV_2_5Lock = 1;
            break;
        case 10:
            u.ZPSV_2_6Lock = 1;
            break;
        default:
            break;
        }
        if (StoreCellComments) {
            auto lockAll = [](std::initializer_list<TStringRec*> recs) {
                for (TStringRec* r : recs)
                    r->Lock = LockWhenSet(r->Text);
            };
            switch (u.TSN) {
            case 0:
                lockAll({ &u.KO, &u.PSV_1, &u.RN_1 });
                u.TR_1Lock = 1;
                break;
            case 1:
                lockAll({ &u.IS_2_1, &u.PSV_2_1, &u.RN_2_1 });
                break;
            case 2:
                lockAll({ &u.IS_2_2, &u.PSV_2_2, &u.RN_2_2 });
                break;
            case 3:
                lockAll({ &u.SO_2_3, &u.PSV_2_3, &u.RN_2_3 });
                break;
            case 4:
                lockAll({ &u.IS_2_4, &u.PSV_2_4, &u.RN_2_4 });
                break;
            case 5:
                lockAll({ &u.IS_2_5, &u.PSV_2_5, &u.RN_2_5 });
                break;
            case 10:
                lockAll({ &u.PD_2_6, &u.TFa_2_6, &u.RN_2_6 });
                break;
            case 6:
                if (u.PM_3 > 0)
                    u.VM_3.Lock = LockWhenSet(u.VM_3.Text);
                break;
            case 7:
                if (u.PM_4 > 0) {
                    u.VM_4.Lock = LockWhenSet(u.VM_4.Text);
                    lockAll({ &u.SOP, &u.PSV_4 });
                }
                break;
            case 8:
                lockAll({ &u.SO_5, &u.PSV_5 });
                break;
            case 9:
                if (u.PM_6 > 0) {
                    u.VM_6.Lock = LockWhenSet(u.VM_6.Text);
                    lockAll({ &u.PSV_6 });
                }
                break;
            case 11:
                if (u.PM_7 > 0)
                    u.VM_7.Lock = LockWhenSet(u.VM_7.Text);
                break;
            case 12:
                if (u.PM_8 > 0)
                    u.VM_8.Lock = LockWhenSet(u.VM_8.Text);
                break;
            case 13:
                if (u.PM_9 > 0) {
                    u.VM_9.Lock = LockWhenSet(u.VM_9.Text);
                    lockAll({ &u.PSV_9 });
                }
                break;
            default:
                break;
            }
        }
    } else {
        FCellComment.Lock = 0;
        if (!FQuantityName.Text.isEmpty())
            FQuantityName.Lock = 1;
        if (!FUnit.Text.isEmpty())
            FUnit.Lock = 1;
        if (FCellType == kEquationCell) {
            FEquationLock = 1;
            FCoverageLock = 1;
            if (!FValue.Text.isEmpty())
                FValue.Lock = 1;
            if (!FCoverageFactor.Text.isEmpty())
                FCoverageFactor.Lock = 1;
            FCorrelationMatrix.Lock = 1;
        } else if (FCellType == kQuantityCell) {
            FValueTypeLock = 1;
            if (FValueType == 0 || FValueType == 1) {
                if (!FValue.Text.isEmpty())
                    FValue.Lock = 1;
            } else if (FValueType == 2) {
                FValue.Lock = 1;
                if (!FSumFormula.Text.isEmpty())
                    FSumFormula.Lock = 1;
                if (!FSumFormulaDetails.Text.isEmpty())
                    FSumFormulaDetails.Lock = 1;
            }
        }
    }
    for (auto& child : FChildren)
        child->MarkAsTemplate();
}

void TCell::ClearTemplateMarks()
{
    FCellTypeLock = 0;
    FValueTypeLock = 0;
    for (TStringRec* rec : { &FCellName, &FCellComment, &FSymbol, &FUnit, &FQuantityName, &FValue, &FSumFormula,
             &FSumFormulaDetails, &FCoverageFactor, &FCorrelationMatrix })
        rec->Lock = 0;
    FCoverageLock = 0;
    FEquationLock = 0;
    FActiveLock = 0;
}

void TCell::SetEquationTemplateFlag(quint8 value)
{
    if (FCellType == kEquationCell)
        FEquationLock = value;
    for (auto& child : FChildren)
        child->SetEquationTemplateFlag(value);
}

void TCell::PropagateUnitToSources()
{
    for (auto& child : FChildren) {
        if (child->FCellType == kUncertaintyCell)
            child->FUnit.Text = FUnit.Text;
        child->PropagateUnitToSources();
    }
}

} // namespace orvek
