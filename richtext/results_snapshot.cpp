#include "richtext/results_snapshot.h"

#include "engine/cell.h"

#include <vector>

namespace orvek {

namespace {

// The fields of one cell that an evaluation or the sensitivity pass writes. The formula
// each source gets in the listing (FSheetFormula) is the listing's own result and stays.
struct CellResults {
    TCell* cell = nullptr;
    TStringRec value;
    TStringRec coverageFactor;
    TVstupStandardnejNeistoty input;
    QString combined, relative, expanded, relativeExpanded, dof;
    QString numSensitivity, numContribution, sensitivity, errorText;
    std::array<quint32, 6> colors {};
    bool largest = false;

    explicit CellResults(TCell& c)
        : cell(&c)
        , value(c.FValue)
        , coverageFactor(c.FCoverageFactor)
        , input(c.FUncertaintyInput)
        , combined(c.FCombinedUncertainty)
        , relative(c.FRelativeUncertainty)
        , expanded(c.FExpandedUncertainty)
        , relativeExpanded(c.FRelativeExpandedUncertainty)
        , dof(c.FDegreesOfFreedom)
        , numSensitivity(c.FNumSensitivity)
        , numContribution(c.FNumContribution)
        , sensitivity(c.FSensitivity)
        , errorText(c.FErrorText)
        , colors(c.FColors)
        , largest(c.FLargestContribution)
    {
    }
    void PutBack() const
    {
        TCell& c = *cell;
        c.FValue = value;
        c.FCoverageFactor = coverageFactor;
        c.FUncertaintyInput = input;
        c.FCombinedUncertainty = combined;
        c.FRelativeUncertainty = relative;
        c.FExpandedUncertainty = expanded;
        c.FRelativeExpandedUncertainty = relativeExpanded;
        c.FDegreesOfFreedom = dof;
        c.FNumSensitivity = numSensitivity;
        c.FNumContribution = numContribution;
        c.FSensitivity = sensitivity;
        c.FErrorText = errorText;
        c.FColors = colors;
        c.FLargestContribution = largest;
        c.UpdateHint();
    }
};

void Collect(TCell& cell, std::vector<CellResults>& out)
{
    out.emplace_back(cell);
    for (const auto& child : cell.FChildren)
        Collect(*child, out);
}

} // namespace

struct TResultsSnapshot::Saved {
    std::vector<CellResults> cells;
};

TResultsSnapshot::TResultsSnapshot(TCell& root)
    : saved_(std::make_unique<Saved>())
{
    Collect(root, saved_->cells);
}

TResultsSnapshot::~TResultsSnapshot()
{
    for (const CellResults& c : saved_->cells)
        c.PutBack();
}

} // namespace orvek
