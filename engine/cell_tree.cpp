// The tree of cells as a diagram: adding and removing cells, the row layout, collapsing,
// the caption and colours of the boxes, the box events and the cell timer.

#include "engine/cell.h"
#include "engine/cell_order.h"

#include "core/clock.h"
#include "core/common_vars.h"
#include "core/dates.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "engine/diagram_host.h"
#include "platform/dialogs.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <exception>

namespace orvek {

namespace {

int RowHeight()
{
    return ZoomedCellHeight + ZoomedVertDistance;
}

// Width of a text in the box font, widened by 5 % as the captions are fitted.
int MeasuredCaptionWidth(const QString& text)
{
    int width = 0;
    if (TextWidthService* service = TextWidths()) {
        width = service->MeasureTextWidth(text);
    } else if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QFont font(CellFontName);
        font.setPointSize(std::max(1, DefaultFontSize));
        width = QFontMetrics(font).horizontalAdvance(text);
    } else {
        width = int(text.size()) * std::max(1, DefaultFontSize);
    }
    return int(std::nearbyint(1.05 * width));
}

// Runs a box or timer handler so that nothing it throws leaves the handler: the error
// is shown the way an unhandled event error is.
template <typename F> void Guarded(F&& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        ShowMessage(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowMessage(QStringLiteral("Unexpected error in the diagram."));
    }
}

} // namespace

void SortChildrenByTop(std::vector<TCell*>& cells, quint64* comparisons)
{
    std::stable_sort(cells.begin(), cells.end(), [comparisons](const TCell* a, const TCell* b) {
        if (comparisons)
            ++*comparisons;
        return a->FBox.Rect.top() < b->FBox.Rect.top();
    });
}

std::vector<TCell*> TCell::ChildOrderByTop() const
{
    std::vector<TCell*> order;
    order.reserve(FChildren.size());
    for (const auto& child : FChildren)
        order.push_back(child.get());
    SortChildrenByTop(order, nullptr);
    return order;
}

TCell* TCell::AddChild(const TPrenosInfoDoNovejBunky& info)
{
    TSuspendedUpdates suspended(FHost);
    ++CellIdCounter;
    // The new child takes the row below the subtree's last one. Under a collapsed cell
    // that row is hidden (the child shows there when the cell is expanded) and the cells
    // below keep their rows.
    // A collapsed cell without children shows no button: its first child shows, so
    // the cell is expanded.
    if (!FExpanded && FChildren.empty())
        FExpanded = true;
    const bool intoCollapsed = !FExpanded;
    auto child = std::make_unique<TCell>(FHost, info, LastRowTop(true), FBox.Rect.left(), this);
    TCell* added = child.get();
    FChildren.push_back(std::move(child));
    if (FParent && !intoCollapsed)
        FParent->ShiftCellsBelow(FBox.Rect.top(), RowHeight());
    UpdateExpandButton();
    return added;
}

int TCell::BottomVisibleTop() const
{
    if (FChildren.empty() || !FExpanded)
        return FBox.Rect.top();
    bool any = false;
    int bottom = 0;
    for (const auto& child : FChildren) {
        if (!child->FVisible)
            continue;
        int top = child->BottomVisibleTop();
        if (!any || top > bottom)
            bottom = top;
        any = true;
    }
    return any ? bottom : FBox.Rect.top();
}

int TCell::LastRowTop(bool asExpanded) const
{
    if (FChildren.empty() || (!asExpanded && !FExpanded))
        return FBox.Rect.top();
    int bottom = FBox.Rect.top();
    for (const auto& child : FChildren)
        bottom = std::max(bottom, child->LastRowTop(false));
    return bottom;
}

void TCell::ShiftCellsBelow(int top, int delta)
{
    for (TCell* cell = this; cell; cell = cell->FParent) {
        for (auto& child : cell->FChildren)
            if (child->FBox.Rect.top() > top)
                child->MoveBy(delta);
        cell->FitVertLine();
        // The rows of a collapsed cell's subtree are hidden: nothing beyond it moves.
        if (!cell->FExpanded)
            break;
    }
}

void TCell::MoveBy(int delta)
{
    FBox.Rect.translate(0, delta);
    FHorzLine.Rect.translate(0, delta);
    FVertLine.Rect.translate(0, delta);
    for (auto& child : FChildren)
        child->MoveBy(delta);
    Changed();
}

void TCell::FitVertLine()
{
    if (FChildren.empty()) {
        FVertLine.Rect.setHeight(0);
        Changed();
        return;
    }
    int largest = FChildren.front()->FHorzLine.Rect.top();
    for (const auto& child : FChildren)
        largest = std::max(largest, child->FHorzLine.Rect.top());
    FVertLine.Rect.setHeight(std::max(0, largest + 1 - FVertLine.Rect.top()));
    Changed();
}

void TCell::RemoveChild(TCell* child)
{
    try {
        auto it = std::find_if(FChildren.begin(), FChildren.end(), [child](const auto& c) { return c.get() == child; });
        if (it == FChildren.end())
            return;
        TSuspendedUpdates suspended(FHost);
        if (FPendingDelete == child)
            FPendingDelete = nullptr;
        const int T = child->FHorzLine.Rect.top();
        // The rows the child's subtree takes (its collapsed parts take none).
        const int D = child->LastRowTop(false) - child->FBox.Rect.top() + RowHeight();
        FChildren.erase(it);
        for (auto& c : FChildren)
            if (c->FBox.Rect.top() > T)
                c->MoveBy(-D);
        FitVertLine();
        if (FExpanded && FParent)
            FParent->ShiftCellsBelow(T, -D);
        UpdateExpandButton();
    } catch (...) {
    }
}

void TCell::DeleteAllChildren()
{
    TSuspendedUpdates suspended(FHost);
    while (!FChildren.empty())
        RemoveChild(FChildren.back().get());
    FVertLine.Rect.setHeight(0);
    RefreshDisplay();
}

void TCell::SetVisibleCollecting(bool value, int& largest)
{
    FVisible = value;
    largest = std::max(largest, FHorzLine.Rect.top());
    FBox.Visible = value;
    FHorzLine.Visible = value && FParent;
    FVertLine.Visible = value && FExpanded;
    SetTimerEnabled(value);
    if (FExpanded) {
        for (auto& child : FChildren) {
            child->FHighlightMode = FHighlightMode;
            child->SetVisibleCollecting(value, largest);
            child->ApplyHighlightColour();
        }
    }
    Changed();
}

void TCell::SetVisible(bool value)
{
    int largest = 0;
    SetVisibleCollecting(value, largest);
}

void TCell::SetExpanded(bool value)
{
    // Expanding an expanded cell (or collapsing a collapsed one) moves nothing.
    if (value == FExpanded) {
        UpdateExpandButton();
        return;
    }
    FExpanded = value;
    int largest = FHorzLine.Rect.top();
    {
        TSuspendedUpdates suspended(FHost);
        // Under a collapsed ancestor the children stay hidden (their rows still count);
        // they show when the ancestor is expanded.
        for (auto& child : FChildren)
            child->SetVisibleCollecting(value && FVisible, largest);
        if (FParent) {
            const int D = largest - FHorzLine.Rect.top();
            if (D > 0)
                FParent->ShiftCellsBelow(FBox.Rect.top(), value ? D : -D);
        }
        FVertLine.Visible = FVisible && FExpanded;
    }
    UpdateExpandButton();
}

void TCell::ExpandAll()
{
    TSuspendedUpdates suspended(FHost);
    if (!FChildren.empty() && !FExpanded)
        SetExpanded(true);
    for (auto& child : FChildren)
        if (!child->FChildren.empty())
            child->ExpandAll();
}

void TCell::LayoutSubtree(int& x, int& y)
{
    const int H = ZoomedCellHeight, W = ZoomedCellWidth, B = ZoomedHorizontalBondWidth;
    const int O = ZoomedBeginHorizontalBond, G = ZoomedVertDistance;
    if (FParent) {
        x = x + O + 1 + B - 2;
        y = y + H + G;
    }
    FBox.Rect = QRect(x, y, W, H);
    FitCaption();
    ApplyCellWidth();
    PlaceExpandButton();
    if (FParent)
        FHorzLine.Rect = QRect(FBox.Rect.left() - B + 1, FBox.Rect.top() + H / 2, B, 1);
    FVertLine.Rect = QRect(FBox.Rect.left() + O, FBox.Rect.top() + FBox.Rect.height() - 1, 1, 0);
    if (FChildren.empty())
        FVertLine.Visible = false;
    if (FParent) {
        QRect& pv = FParent->FVertLine.Rect;
        pv.setHeight(std::max(0, FHorzLine.Rect.top() + 1 - pv.top()));
        FParent->Changed();
    }
    const int rowsBefore = y;
    for (TCell* child : ChildOrderByTop()) {
        int childX = FBox.Rect.left();
        child->LayoutSubtree(childX, y);
    }
    // Hidden children take no rows.
    if (!FExpanded)
        y = rowsBefore;
    ApplyCellWidthToChildren();
    FitCaption();
    Changed();
}

void TCell::RelayoutTree()
{
    TSuspendedUpdates suspended(FHost, true);
    int x = DiagramOriginX;
    int y = DiagramOriginY;
    LayoutSubtree(x, y);
}

void TCell::ApplyCellWidth()
{
    FBox.Rect.setWidth(ZoomedCellWidth);
    PlaceExpandButton();
    Changed();
}

void TCell::ApplyCellWidthToChildren()
{
    FBox.Rect.setWidth(ZoomedCellWidth);
    FVertLine.Rect.moveLeft(FBox.Rect.left() + ZoomedBeginHorizontalBond);
    for (auto& child : FChildren) {
        child->FBox.Rect.setWidth(ZoomedCellWidth);
        QRect& h = child->FHorzLine.Rect;
        const int left = FVertLine.Rect.left() + 1;
        h.setLeft(left);
        h.setWidth(child->FBox.Rect.left() - left + 1);
        child->PlaceExpandButton();
        child->Changed();
    }
    PlaceExpandButton();
    Changed();
}

void TCell::PlaceExpandButton()
{
    const int w = ZoomedPlusMinusWidth, h = ZoomedPlusMinusHeight;
    const int x = ZoomedHorizPlusMinus == 0 ? 2 : FBox.Rect.width() - 2 - w;
    const int y = ZoomedVertPlusMinus == 0 ? 2 : FBox.Rect.height() - 2 - h;
    FExpandButton.Rect = QRect(x, y, w, h);
}

void TCell::UpdateExpandButton()
{
    if (!FVisible)
        return;
    FExpandButton.Visible = !FChildren.empty();
    FVertLine.Visible = FExpanded;
    FExpandButton.Caption = FExpanded ? "-" : "+";
    Changed();
}

void TCell::RefreshDisplay()
{
    FitCaption();
    ApplyHighlightColour();
    UpdateHint();
}

void TCell::FitCaption()
{
    try {
        const QString name = DefaultFontSize > 0 ? FCellName.Text : QString();
        const int available = FBox.Rect.width() - (FExpandButton.Visible ? FExpandButton.Rect.width() : 0);
        if (MeasuredCaptionWidth(name) < available) {
            FBox.Caption = " " + name.trimmed();
        } else {
            // The longest prefix up to a blank (or the whole name) that fits; widths grow
            // with the prefix, so the scan stops at the first that does not.
            QString best;
            for (qsizetype i = 0; i < name.size(); ++i) {
                if (name[i] != ' ' && i != name.size() - 1)
                    continue;
                const QString prefix = name.left(i + 1);
                if (MeasuredCaptionWidth(prefix) >= available)
                    break;
                best = prefix;
            }
            FBox.Caption = best.isEmpty() ? QStringLiteral("...") : " " + best.trimmed() + "...";
        }
        Changed();
    } catch (...) {
    }
}

void TCell::ApplyHighlightColour()
{
    const bool hasChildren = !FChildren.empty();
    auto set = [](const QString& s) { return !s.isEmpty(); };
    bool filled = false;
    if (FCellType == kEquationCell) {
        filled = set(FValue.Text) && set(FCombinedUncertainty) && set(FExpandedUncertainty) && set(FDegreesOfFreedom)
            && set(FCoverageFactor.Text);
    } else if (FCellType == kQuantityCell) {
        if (FValueType == 0)
            filled = set(FValue.Text) && set(FCombinedUncertainty) && set(FDegreesOfFreedom);
        else if (FValueType == 1)
            filled = set(FValue.Text);
        else
            filled = set(FSumFormula.Text) && set(FValue.Text);
    }
    switch (FHighlightMode) {
    case 0:
        if (FCellType == kUncertaintyCell) {
            FBox.InnerBevelLowered = FActive;
            if (!FActive) {
                FBox.Color = FColors[5];
            } else {
                const bool unfilled = hasChildren
                    ? FCombinedUncertainty.isEmpty()
                    : (GetDegreesOfFreedomText(FUncertaintyInput).isEmpty() || FUncertaintyInput.HSN.isEmpty());
                FBox.Color = unfilled ? FColors[4] : FColors[3];
            }
        } else {
            FBox.Color = filled ? FColors[0] : FColors[1];
        }
        break;
    case 1:
        if (FCellType == kEquationCell) {
            FBox.Color = kColorSilver;
        } else if (FCellType == kQuantityCell) {
            const bool ok = FValueType == 1 ? set(FValue.Text) : (set(FValue.Text) && set(FCombinedUncertainty));
            FBox.Color = ok ? kColorSilver : kColorRed;
        } else {
            FBox.InnerBevelLowered = FActive;
            FBox.Color = (!FActive || hasChildren || set(FCombinedUncertainty)) ? kColorSilver : kColorRed;
        }
        break;
    case 2:
        if (FCellType == kUncertaintyCell) {
            FBox.InnerBevelLowered = FActive;
            FBox.Color = (FActive && GetExpiryState() == 1) ? kColorRed : kColorSilver;
        } else {
            FBox.Color = kColorSilver;
        }
        break;
    case 3:
        FBox.Color = (FCellType == kUncertaintyCell && FLargestContribution) ? kColorBlue : kColorSilver;
        break;
    default:
        break;
    }
    Changed();
}

void TCell::UpdateHint()
{
    if (CellHintService* hints = CellHints())
        FBox.Hint = hints->HintText(*this);
    Changed();
}

void TCell::SetHighlightMode(quint8 mode)
{
    FHighlightMode = mode;
    ApplyHighlightColour();
    for (auto& child : FChildren)
        child->SetHighlightMode(mode);
}

void TCell::ReapplyHighlightMode()
{
    if (FHighlightMode != 0)
        SetHighlightMode(FHighlightMode);
}

void TCell::BoxClick()
{
    if (TreeEvaluationRunning)
        return;
    Guarded([this] {
        if (CellToolService* tools = CellTools())
            tools->ClickAction(this);
    });
}

void TCell::BoxDblClick()
{
    if (TreeEvaluationRunning)
        return;
    Guarded([this] {
        CellToolService* tools = CellTools();
        if (!tools)
            return;
        if (EditMode == 0) {
            tools->ViewProperties(this);
            return;
        }
        RecordLockService* locks = RecordLocks();
        if (!locks || locks->CanLockItem()) {
            tools->EditProperties(this);
            return;
        }
        const quint8 savedMode = EditMode;
        EditMode = 0;
        struct Restore {
            quint8 mode;
            ~Restore() { EditMode = mode; }
        } restore { savedMode };
        MessageDlg(
            GetString(1102, { locks->GetUserFullName(DiagramLockOwnerID) }), TMsgDlgType::mtInformation, mbCancel);
        tools->ViewProperties(this);
    });
}

void TCell::BoxMouseMove()
{
    if (HoveredCell != this && PovolenaZmenaFarbyOznacenejBunky) {
        FBox.Color = CellColorChecked;
        Changed();
    }
    HoveredCell = this;
}

void TCell::ExpandButtonClick()
{
    if (TreeEvaluationRunning)
        return;
    Guarded([this] { SetExpanded(!FExpanded); });
}

void TCell::TimerTick()
{
    SetTimerEnabled(false);
    if (!TreeEvaluationRunning)
        Guarded([this] { TimerTickBody(); });
    // The cell may have been hidden meanwhile; a hidden cell's timer stays stopped.
    SetTimerEnabled(FVisible);
}

void TCell::TimerTickBody()
{
    UpdateExpandButton();

    TCellCursor cursor = TCellCursor::Default;
    if (IsCellCommandPending()) {
        bool applies = true;
        if (CmdReplaceFromDatabase)
            applies = FCellType == kEquationCell;
        else if (CmdQuantityToNewEquation)
            applies = FCellType == kQuantityCell;
        else if (CmdDeleteCell || CmdToggleActive)
            applies = FCellType == kUncertaintyCell;
        else if (CmdEquationToQuantity)
            applies = FCellType == kEquationCell && FParent;
        cursor = applies ? TCellCursor::HandPoint : TCellCursor::No;
    }
    if (FBox.Cursor != cursor) {
        FBox.Cursor = cursor;
        Changed();
    }

    const auto colors = CurrentCellColors();
    if (colors != FColors) {
        FColors = colors;
        ApplyHighlightColour();
    }
    if (HoveredCell != this && FBox.Color == CellColorChecked)
        ApplyHighlightColour();

    if (FPendingDelete) {
        {
            TSuspendedUpdates suspended(FHost, true);
            RemoveChild(FPendingDelete);
            FPendingDelete = nullptr;
        }
        if (FCellType == kUncertaintyCell && FChildren.empty()) {
            // An uncertainty cell without sources is an uncertainty-only cell.
            ClearUncertaintyInput(FUncertaintyInput);
            FCombinedUncertainty.clear();
            FRelativeUncertainty.clear();
            FExpandedUncertainty.clear();
            FDegreesOfFreedom.clear();
            FCoverageFactor.Text = "2";
            FCoverage = 3;
            ApplyHighlightColour();
        }
        PropagateChange();
    } else if (FReloaded) {
        FReloaded = false;
        PropagateChange();
    }
}

void TCell::PropagateChange()
{
    if (FParent) {
        FParent->FReloaded = true;
        return;
    }
    CalculationAborted = 0;
    if (HasExpiredSource()) {
        SetHighlightMode(2);
    } else if (EvaluateTreeHook) {
        struct Guard {
            Guard() { TreeEvaluationRunning = true; }
            ~Guard() { TreeEvaluationRunning = false; }
        } guard;
        EvaluateTreeHook(*this);
    }
    ReapplyHighlightMode();
    CellTreeChanged = true;
}

quint8 TCell::GetExpiryState() const
{
    const QString& text = FUncertaintyInput.EDate;
    if (text.isEmpty())
        return 0;
    QDate date;
    try {
        date = DMYTextToDate(text);
    } catch (const EDateConversion&) {
        // A validity date that cannot be read is not trusted: the source counts as
        // expired, which stops the evaluation and marks it in the expired highlight.
        return 1;
    }
    const QDate today = Today();
    if (date < today)
        return 1;
    if (date == today)
        return 2;
    if (date <= today.addDays(30))
        return 3;
    return 4;
}

bool TCell::HasExpiredSource()
{
    if (FCellType == kUncertaintyCell && FActive && FChildren.empty()) {
        CalculationAborted = GetExpiryState();
        return CalculationAborted == 1;
    }
    for (auto& child : FChildren)
        if (child->HasExpiredSource())
            return true;
    return false;
}

} // namespace orvek
