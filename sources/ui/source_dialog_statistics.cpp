// The statistics of the reading pages: the page's readings go into the record, the
// record is computed by the same routines the evaluation uses, and the page shows the
// results; the mean a page hands to its quantity is the one it shows.

#include "sources/ui/source_dialog.h"

#include "core/common_vars.h"
#include "core/number_text.h"
#include "engine/cell.h"
#include "engine/source_uncertainty.h"
#include "sources/source_computation.h"
#include "sources/source_owner.h"
#include "sources/source_record.h"

#include <QLineEdit>

namespace orvek {

bool TfOrvek6::EvaluateSeriesPage()
{
    FInput.HSN.clear();
    const bool ownerIsUncertainty = FParentCell && FParentCell->FCellType == kUncertaintyCell;
    ComputeSourceRecord(FInput, SourceQuantityValue, ownerIsUncertainty);
    ShowSeriesResults();
    // The degrees of freedom a series gives stand in its edit; a typed value stays.
    switch (FInput.TSN) {
    case 7:
        if (Page4.Edit_PocetstupnovVolnosti_4->text().trimmed().isEmpty())
            Page4.Edit_PocetstupnovVolnosti_4->setText(ShownDegreesOfFreedom(FInput.PSV_4.Text));
        break;
    case 9:
        Page6.Edit_PocetstupnovVolnosti_6->setText(ShownDegreesOfFreedom(FInput.PSV_6.Text));
        break;
    case 13:
        Page9.Edit_PocetstupnovVolnosti_9->setText(ShownDegreesOfFreedom(FInput.PSV_9.Text));
        break;
    default:
        break;
    }
    // Methods 6, 7, 13 and 14 hand their displayed mean to the quantity.
    const QString mean = SourceMeanText(FInput, SignificantDigits);
    if (!mean.isEmpty()) {
        FHandsMean = true;
        FMeanText = mean;
    }
    switch (FInput.TSN) {
    case 6:
        return !FInput.AP_3.isEmpty();
    case 7:
        return !FInput.AP_4.isEmpty();
    case 9:
        return !FInput.AP_6.isEmpty();
    case 13:
        return !FInput.AP_9.isEmpty();
    case 14:
        return !FInput.AP_10.isEmpty();
    default:
        return false;
    }
}

bool TfOrvek6::EvaluateSeriesMean()
{
    return FInput.TSN == 6 && EvaluateSeriesPage();
}

bool TfOrvek6::EvaluateKnownSigma()
{
    return FInput.TSN == 7 && EvaluateSeriesPage();
}

bool TfOrvek6::EvaluateRelativeSeries()
{
    return FInput.TSN == 9 && EvaluateSeriesPage();
}

bool TfOrvek6::EvaluateVariances()
{
    return FInput.TSN == 13 && EvaluateSeriesPage();
}

bool TfOrvek6::EvaluateWeightedPairs()
{
    return FInput.TSN == 14 && EvaluateSeriesPage();
}

} // namespace orvek
