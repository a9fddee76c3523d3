#include "sources/source_computation.h"

#include "core/number_text.h"
#include "engine/cell_records.h"
#include "engine/expression.h"
#include "engine/percent_of_text.h"
#include "engine/source_uncertainty.h"

#include <cmath>
#include <exception>

namespace orvek {

namespace {

QString Num(long double x)
{
    return FloatToGeneralText(x);
}

bool ReadsAsNumber(const QString& text, long double& value)
{
    return !text.trimmed().isEmpty() && TryStrToExtendedNeutral(text.trimmed(), value);
}

int InputLabelText(int method)
{
    switch (method) {
    case 0:
        return kLabelEstimateText;
    case 1:
    case 2:
        return kLabelHalfWidthText;
    case 8:
        return kLabelGivenSDText;
    default:
        return kLabelUncertaintyText;
    }
}

// Own measurement I: mean, s and u = s / sqrt(n) of the readings.
void EvaluateSeriesMeanRecord(TVstupStandardnejNeistoty& rec)
{
    rec.PSV_3.clear();
    rec.AP_3.clear();
    rec.SO_3.clear();
    rec.SOPr_3.clear();
    rec.RSOPr_3.clear();
    long double mean = 0, s = 0;
    // Deviations within the readings' own rounding noise count as none.
    if (!SeriesStatistics(rec.VM_3.Text, rec.PM_3, mean, s, true))
        return;
    const int n = rec.PM_3;
    rec.PSV_3 = QString::number(n - 1);
    rec.AP_3 = Num(mean);
    rec.SO_3 = Num(s);
    rec.SOPr_3 = Num(s / std::sqrt((long double)n));
    rec.RSOPr_3 = mean == 0 ? QStringLiteral("0") : PercentOfText(rec.SOPr_3, rec.AP_3);
    rec.HSN = rec.SOPr_3;
}

// Own measurement II: the mean of the readings and u = sigma / sqrt(n) of the given sigma.
void EvaluateKnownSigmaRecord(TVstupStandardnejNeistoty& rec)
{
    rec.AP_4.clear();
    rec.SOPr_4.clear();
    rec.SOP.Text = rec.SOP.Text.trimmed();
    long double mean = 0, s = 0;
    if (!SeriesStatistics(rec.VM_4.Text, rec.PM_4, mean, s))
        return;
    const int n = rec.PM_4;
    FillSeriesDegreesOfFreedom(rec.PSV_4.Text, n, false);
    rec.AP_4 = Num(mean);
    long double sigma = 0;
    if (ReadsAsNumber(rec.SOP.Text, sigma)) {
        rec.SOPr_4 = Num(sigma / std::sqrt((long double)n));
        rec.HSN = rec.SOPr_4;
    }
}

} // namespace

const QString* SourceMainInput(const TVstupStandardnejNeistoty& rec)
{
    switch (rec.TSN) {
    case 0:
        return &rec.KO.Text;
    case 1:
        return &rec.IS_2_1.Text;
    case 2:
        return &rec.IS_2_2.Text;
    case 3:
        return &rec.SO_2_3.Text;
    case 4:
        return &rec.IS_2_4.Text;
    case 5:
        return &rec.IS_2_5.Text;
    case 8:
        return &rec.SO_5.Text;
    default:
        return nullptr;
    }
}

QString* SourceMainInput(TVstupStandardnejNeistoty& rec)
{
    return const_cast<QString*>(SourceMainInput(static_cast<const TVstupStandardnejNeistoty&>(rec)));
}

bool IsEvaluableFormula(const QString& formula)
{
    QString text = formula.trimmed().toUpper();
    if (text.startsWith(QLatin1Char('=')))
        text.remove(0, 1);
    SubstituteSymbolValue(text, QStringLiteral("VAR"), QStringLiteral("1"));
    QString result;
    try {
        EvaluateExpression(text, result);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void ComputeTrapezoidRecord(TVstupStandardnejNeistoty& rec)
{
    rec.HSN.clear();
    rec.USType = kInputNumber;
    long double a = 0, beta = 0;
    if (!ReadsAsNumber(rec.PD_2_6.Text, a) || !ReadsAsNumber(rec.TFa_2_6.Text, beta) || beta < 0 || beta > 1)
        return;
    rec.PD_2_6.Text = rec.PD_2_6.Text.trimmed();
    rec.TFa_2_6.Text = rec.TFa_2_6.Text.trimmed();
    EvaluateSourceRecord(rec, QString());
}

TSourceComputation ComputeSourceRecord(
    TVstupStandardnejNeistoty& rec, const QString& ownerValue, bool ownerIsUncertainty)
{
    TSourceComputation result;
    if (rec.TSN == 11 || rec.TSN == 12)
        return result;
    rec.HSN.clear();

    if (const QString* input = SourceMainInput(rec)) {
        long double number = 0;
        quint8 kind = kInputInvalid;
        ClassifyInputValue(*input, number, kind);
        rec.USType = kind;
        if ((kind == kInputPercent || kind == kInputFormula) && ownerIsUncertainty) {
            result.Failed = true;
            result.Message = kRefusedOwnerValueText;
            result.MessageLabel = InputLabelText(rec.TSN);
            return result;
        }
        const bool estimate = rec.TSN == 0;
        const bool accepted = kind == kInputNumber || kind == kInputPercent || kind == kInputFormula
            || (estimate && kind == kInputCondition);
        if (!accepted) {
            // The estimate leaves u empty for a kind without a rule; the other pages
            // cannot take such an input at all.
            result.Failed = !estimate;
            return result;
        }
        EvaluateSourceRecord(rec, ownerValue);
        return result;
    }

    switch (rec.TSN) {
    case 6:
        rec.USType = kInputNumber;
        EvaluateSeriesMeanRecord(rec);
        break;
    case 7:
        rec.USType = kInputNumber;
        EvaluateKnownSigmaRecord(rec);
        break;
    case 10:
        ComputeTrapezoidRecord(rec);
        break;
    case 9:
    case 13:
    case 14:
        rec.USType = kInputNumber;
        EvaluateSourceRecord(rec, ownerValue);
        break;
    default:
        break;
    }
    return result;
}

} // namespace orvek
