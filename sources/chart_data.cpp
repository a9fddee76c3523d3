#include "sources/chart_data.h"

#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/cell_records.h"
#include "platform/regional_locale.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace orvek {

// Texts of the refusals and of the charts that give no result.
enum ChartText {
    TextTooManyPoints = 13001,
    TextValueCountMismatch = 13002,
    TextSizeCountMismatch = 13003,
    TextBadSubgroupSize = 13004,
    TextBadPointValue = 13005,
    TextBadSubgroupValue = 13006,
    TextRangeTooShort = 13007,
    TextGivenParametersMissing = 13008,
    TextNoFactors = 13009,
    TextNoQuantityValue = 13010,
    TextZeroMean = 13011,
    TextZeroSubgroupMean = 13012,
    TextUnknownOutputOption = 13013,
    TextSubgroupTooSmall = 13014,
};

// Fixed constants of the individuals chart for n = 2: 1/d2, D4 and d2. They do not
// come from the factor table.
constexpr double InverseD2OfTwo = 0.8865;
constexpr double D4OfTwo = 3.268;
constexpr double D2OfTwo = 1.128;

using FactorRow = TChartFactorTable::value_type;

TChartData::TChartData()
{
    AllocateChartData(*this);
}

namespace {

void ZeroStatistics(TChartData& d)
{
    d.ChartAllDated = false;
    d.ChartDivideByDate = false;
    d.ChartMean = 0;
    d.ChartMeanRange = 0;
    d.ChartMeanRangeCalc = 0;
    d.ChartMeanRelativeRange = 0;
    d.ChartPointCount = 0;
    d.ChartUsedCount = 0;
    d.ChartValueCount = 0;
    d.ChartSD = 0;
    d.ChartExperimentalSD = 0;
    d.ChartRelativeSD = 0;
    d.ChartRelativeSDKnown = false;
    d.ChartSubgroupSize = 0;
    d.ChartUCL = d.ChartLCL = 0;
    d.ChartPlus2Sigma = d.ChartMinus2Sigma = 0;
    d.ChartPlus1Sigma = d.ChartMinus1Sigma = 0;
    d.ChartMRBar = 0;
    d.ChartC4 = 0;
    d.ChartCenterLine = 0;
    d.ChartRangeFirst = 0;
    d.ChartRangeLast = 0;
    d.ChartRuleResults = 0;
    d.ChartOutOfControl = false;
}

// Statistics and lines emptied, the points kept: what a chart without result shows.
void ClearComputedStatistics(TChartData& d)
{
    const int count = d.ChartPointCount;
    const bool allDated = d.ChartAllDated, byDate = d.ChartDivideByDate;
    const double mean = d.ChartMean, meanRange = d.ChartMeanRange, sd = d.ChartSD;
    ZeroStatistics(d);
    d.ChartPointCount = count;
    d.ChartAllDated = allDated;
    d.ChartDivideByDate = byDate;
    d.ChartMean = mean;
    d.ChartMeanRange = meanRange;
    d.ChartSD = sd;
    d.ChartRangeFirst = 1;
    d.ChartRangeLast = 0;
}

// The items of an "@"-terminated list; a last item without its "@" still counts.
QStringList ListItems(const QString& text)
{
    if (text.isEmpty())
        return {};
    QStringList items = text.split(QChar('@'));
    if (text.endsWith(QChar('@')))
        items.removeLast();
    return items;
}

void LoadDates(TChartData& d, const QString& list, const QString& format, int count)
{
    if (list.isEmpty())
        return;
    const QStringList items = ListItems(list);
    int dated = 0;
    for (int i = 1; i <= count && i <= items.size(); ++i) {
        const QString& item = items[i - 1];
        if (item.trimmed().isEmpty())
            continue;
        const QDate date = ReadChartDate(item, format);
        if (!date.isValid())
            continue;
        d.ChartDates[i] = date;
        d.ChartDateTexts[i] = item;
        ++dated;
    }
    d.ChartAllDated = dated == count;
}

void LoadOperators(TChartData& d, const QString& list, int count)
{
    const QStringList items = ListItems(list);
    for (int i = 1; i <= count && i <= items.size(); ++i)
        d.ChartOperators[i] = items[i - 1];
}

double NumberOrZero(const QString& text)
{
    double value = 0;
    if (!TryStrToFloatNeutral(text, value))
        return 0;
    return value;
}

// The given centre line, mean range and s a record keeps.
void LoadStoredParameters(TChartData& d, const QString& clx, const QString& clr, const QString& so)
{
    if (clx.isEmpty())
        return;
    d.ChartMean = NumberOrZero(clx);
    d.ChartMeanRange = NumberOrZero(clr);
    d.ChartCenterLine = d.ChartMean;
    d.ChartSD = NumberOrZero(so);
    d.ChartMeanRangeCalc = d.ChartMeanRange;
}

// A subgroup size: a whole number from 1 to 20 written with digits only.
bool ReadSubgroupSize(const QString& item, int& size)
{
    const QString text = item.trimmed();
    if (text.isEmpty() || text.size() > 3)
        return false;
    for (QChar c : text)
        if (!c.isDigit())
            return false;
    size = text.toInt();
    return size >= 1 && size <= MaxChartSubgroupSize;
}

bool LoadIndividuals(TChartData& d, const TVstupStandardnejNeistoty& rec, QString& error)
{
    const int count = rec.PM_7;
    if (count > MaxChartPoints) {
        error = GetString(TextTooManyPoints, { count, MaxChartPoints });
        return false;
    }
    d.ChartPointCount = std::max(count, 0);
    if (count <= 0)
        return true;
    LoadStoredParameters(d, rec.CLX_7, rec.CLR_7, rec.SO_7);
    const QStringList values = ListItems(rec.VM_7.Text);
    if (values.size() != count) {
        error = GetString(TextValueCountMismatch, { int(values.size()), count });
        return false;
    }
    for (int i = 1; i <= count; ++i) {
        const QString& item = values[i - 1];
        if (!ReadChartPointValue(item, d.ChartPointValues[i][0])) {
            error = GetString(TextBadPointValue, { i, item });
            return false;
        }
        d.ChartPointValueTexts[i][0] = item;
    }
    LoadDates(d, rec.DM_7, rec.FD_7, count);
    d.ChartDivideByDate = d.ChartAllDated;
    LoadOperators(d, rec.Meral_7, count);
    return true;
}

bool LoadSubgroups(TChartData& d, const TVstupStandardnejNeistoty& rec, QString& error)
{
    const int count = rec.PM_8;
    if (count > MaxChartPoints) {
        error = GetString(TextTooManyPoints, { count, MaxChartPoints });
        return false;
    }
    d.ChartPointCount = std::max(count, 0);
    if (count <= 0)
        return true;
    // Given parameters are read as for individuals, so that a subgroup chart drawn from
    // typed parameters reports its s and centre line.
    LoadStoredParameters(d, rec.CLX_8, rec.CLR_8, rec.SO_8);
    const QStringList sizes = ListItems(rec.PBM_8);
    if (sizes.size() != count) {
        error = GetString(TextSizeCountMismatch, { int(sizes.size()), count });
        return false;
    }
    int total = 0;
    for (int i = 1; i <= count; ++i) {
        if (!ReadSubgroupSize(sizes[i - 1], d.ChartSubgroupSizes[i])) {
            error = GetString(TextBadSubgroupSize, { i, sizes[i - 1] });
            return false;
        }
        total += d.ChartSubgroupSizes[i];
    }
    const QStringList values = ListItems(rec.VM_8.Text);
    if (values.size() != total) {
        error = GetString(TextValueCountMismatch, { int(values.size()), total });
        return false;
    }
    int next = 0;
    for (int i = 1; i <= count; ++i) {
        for (int j = 0; j < d.ChartSubgroupSizes[i]; ++j) {
            const QString& item = values[next++];
            if (!ReadChartPointValue(item, d.ChartPointValues[i][j])) {
                error = GetString(TextBadSubgroupValue, { i, j + 1, item });
                return false;
            }
            d.ChartPointValueTexts[i][j] = item;
        }
    }
    LoadDates(d, rec.DM_8, rec.FD_8, count);
    LoadOperators(d, rec.Meral_8, count);
    return true;
}

// The result fields of one method.
struct ResultFields {
    QString& SO;
    QString& RSO;
    QString& PSV;
    QString& CLX;
    QString& CLR;
};

// No standard uncertainty for this data: the old results must not pass for it. What a
// record with given parameters holds as its parameters (s, centre line, mean range)
// stays.
void NoResult(TChartData& d, TVstupStandardnejNeistoty& rec, const ResultFields& f, bool given)
{
    ClearComputedStatistics(d);
    rec.HSN.clear();
    f.RSO.clear();
    f.PSV.clear();
    if (!given) {
        f.SO.clear();
        f.CLX.clear();
        f.CLR.clear();
    }
}

// The evaluated range clamped to the loaded points; False when it holds fewer than 2.
bool EvaluatedRange(const TChartData& d, int rangeOption, int from, int to, int& first, int& last)
{
    first = 1;
    last = d.ChartPointCount;
    if ((rangeOption & 0xFF) == 1) {
        first = std::max(from, 1);
        last = std::min(to, d.ChartPointCount);
    }
    return last - first + 1 >= 2;
}

void SetXLines(TChartData& d, double center, double distance)
{
    d.ChartCenterLine = center;
    d.ChartUCL = center + distance;
    d.ChartLCL = center - distance;
    d.ChartPlus2Sigma = center + 2 * distance / 3;
    d.ChartMinus2Sigma = center - 2 * distance / 3;
    d.ChartPlus1Sigma = center + distance / 3;
    d.ChartMinus1Sigma = center - distance / 3;
}

// The moving-range chart: UCL = 3.268 x centre line, LCL = 0, zone lines from the
// sigma of the moving range.
void SetMovingRangeLines(TChartData& d, double center)
{
    d.ChartCenterLine = center;
    d.ChartUCL = D4OfTwo * center;
    d.ChartLCL = 0;
    const double sigma = (d.ChartUCL - center) / 3;
    d.ChartPlus2Sigma = center + 2 * sigma;
    d.ChartMinus2Sigma = center - 2 * sigma;
    d.ChartPlus1Sigma = center + sigma;
    d.ChartMinus1Sigma = center - sigma;
}

void SetRangeLines(TChartData& d, double center, const FactorRow& factors)
{
    d.ChartCenterLine = center;
    d.ChartUCL = factors[kD4] * center;
    d.ChartLCL = factors[kD3] * center;
    d.ChartPlus2Sigma = d.ChartMinus2Sigma = 0;
    d.ChartPlus1Sigma = d.ChartMinus1Sigma = 0;
}

QString Text(double value)
{
    return FloatToGeneralText(value);
}

// Writes the results and the standard uncertainty. RelativeForU is the relative s in
// per cent from which a relative u is taken (options 1 and 3).
bool WriteResults(TChartData& d, TVstupStandardnejNeistoty& rec, const ResultFields& f, int dof, int option,
    int meanCount, QString& reason)
{
    f.SO = Text(d.ChartSD);
    f.RSO = d.ChartRelativeSDKnown ? Text(d.ChartRelativeSD) : QString();
    f.PSV = QString::number(dof);
    f.CLX = Text(d.ChartMean);
    f.CLR = Text(d.ChartMeanRange);

    double u = 0;
    switch (option) {
    case 0:
    case 2:
        u = d.ChartSD;
        break;
    case 1:
    case 3: {
        double quantityValue = 0;
        if (!d.ChartRelativeSDKnown) {
            rec.HSN.clear();
            reason = GetString(TextZeroMean);
            return false;
        }
        if (!TryStrToFloatNeutral(d.SourceQuantityValue, quantityValue)) {
            rec.HSN.clear();
            reason = GetString(TextNoQuantityValue);
            return false;
        }
        u = quantityValue * d.ChartRelativeSD / 100;
        break;
    }
    default:
        rec.HSN.clear();
        reason = GetString(TextUnknownOutputOption, { option });
        return false;
    }
    // The mean of N results (options 2 and 3) has 1/sqrt(N) of the spread of one;
    // the stored s stays that of a single result.
    if ((option == 2 || option == 3) && meanCount > 1) {
        const double root = std::sqrt(double(meanCount));
        d.ChartSD /= root;
        u /= root;
    }
    rec.HSN = Text(u);
    return true;
}

const FactorRow* FactorsFor(const TChartData& d, int n)
{
    if (n < 2 || n >= int(d.ChartFactors.size()))
        return nullptr;
    const FactorRow& row = d.ChartFactors[n];
    if (!(row[kd2] > 0))
        return nullptr;
    return &row;
}

} // namespace

QDate ReadChartDate(const QString& item, const QString& recordFormat)
{
    const QString text = item.trimmed();
    const QString formats[]
        = { recordFormat, RegionalLocale().dateFormat(QLocale::ShortFormat), QStringLiteral("d.M.yyyy") };
    for (const QString& format : formats) {
        if (format.isEmpty())
            continue;
        QDate date = QDate::fromString(text, format);
        if (!date.isValid())
            continue;
        // A two-digit year is read into the 1900s; dates of measurements lie after 1950.
        if (!format.contains(QStringLiteral("yyyy")) && date.year() < 1950)
            date = date.addYears(100);
        return date;
    }
    return {};
}

void AllocateChartData(TChartData& d)
{
    const std::size_t size = MaxChartPoints + 1;
    d.ChartPointValues.assign(size, {});
    d.ChartPointValueTexts.assign(size, {});
    d.ChartSubgroupSizes.assign(size, 0);
    d.ChartDates.assign(size, QDate());
    d.ChartDateTexts.assign(size, QString());
    d.ChartOperators.assign(size, QString());
    d.ChartXSeries.assign(size, 0.0);
    d.ChartRangeSeries.assign(size, 0.0);
    d.ChartRelativeRanges.assign(size, 0.0);
    d.ChartSubgroupSD.assign(size, 0.0);
    ZeroStatistics(d);
    d.ChartDateLabels = false;
}

void ReleaseChartData(TChartData& d)
{
    ZeroStatistics(d);
    d.ChartDateLabels = false;
    d.ChartPointValues.clear();
    d.ChartPointValueTexts.clear();
    d.ChartSubgroupSizes.clear();
    d.ChartDates.clear();
    d.ChartDateTexts.clear();
    d.ChartOperators.clear();
    d.ChartXSeries.clear();
    d.ChartRangeSeries.clear();
    d.ChartRelativeRanges.clear();
    d.ChartSubgroupSD.clear();
}

void UpdateChartDecimals(TChartData& d)
{
    d.ChartValueDecimals = int(d.ChartNumberMask.size()) - 2;
    if (d.ChartValueDecimals <= 0)
        d.ChartValueDecimals = 1;
}

bool ReadChartPointValue(const QString& Item, double& Value)
{
    return !Item.trimmed().isEmpty() && TryStrToFloatNeutral(Item, Value) && std::isfinite(Value);
}

bool LoadChartDataFromInput(TChartData& d, const TVstupStandardnejNeistoty& rec, QString& error)
{
    error.clear();
    if (rec.TSN != 11 && rec.TSN != 12)
        return true;
    ReleaseChartData(d);
    AllocateChartData(d);
    const bool loaded = rec.TSN == 11 ? LoadIndividuals(d, rec, error) : LoadSubgroups(d, rec, error);
    if (!loaded)
        AllocateChartData(d);
    return loaded;
}

bool ReloadChartDataFromInput(TChartData& d, const TVstupStandardnejNeistoty& rec, QString& error)
{
    const bool byDate = d.ChartDivideByDate;
    const bool dateLabels = d.ChartDateLabels;
    const bool loaded = LoadChartDataFromInput(d, rec, error);
    d.ChartDivideByDate = byDate;
    d.ChartDateLabels = dateLabels;
    return loaded;
}

bool ComputeIndividualsChart(
    TChartData& d, const QString& SText, const QString& CLText, TVstupStandardnejNeistoty& rec, QString& reason)
{
    reason.clear();
    const bool given = (rec.RPSS_7 & 0xFF) != 0;
    const ResultFields fields { rec.SO_7, rec.RSO_7, rec.PSV_7, rec.CLX_7, rec.CLR_7 };
    int first = 0, last = 0;
    if (!EvaluatedRange(d, rec.UR_7, rec.R_OD_7, rec.R_DO_7, first, last)) {
        NoResult(d, rec, fields, given);
        reason = GetString(TextRangeTooShort);
        return false;
    }
    if (given && (SText.trimmed().isEmpty() || CLText.trimmed().isEmpty())) {
        reason = GetString(TextGivenParametersMissing);
        return false;
    }
    const int k = last - first + 1;

    // The series cover every point, so that a chart shows the points outside the range
    // too; the statistics use the range only.
    d.ChartSubgroupSize = 1;
    d.ChartRangeFirst = first;
    d.ChartRangeLast = last;
    d.ChartUsedCount = k;
    d.ChartValueCount = k;
    for (int i = 1; i <= d.ChartPointCount; ++i) {
        d.ChartXSeries[i] = d.ChartPointValues[i][0];
        d.ChartRangeSeries[i] = i > 1 ? std::fabs(d.ChartPointValues[i][0] - d.ChartPointValues[i - 1][0]) : 0.0;
    }
    double sum = 0, sumOfRanges = 0;
    for (int i = first; i <= last; ++i) {
        sum += d.ChartXSeries[i];
        if (i > first)
            sumOfRanges += d.ChartRangeSeries[i];
    }

    if (!given) {
        d.ChartMRBar = sumOfRanges / (k - 1);
        d.ChartMeanRangeCalc = d.ChartMeanRange = d.ChartMRBar;
        d.ChartMean = sum / k;
        double squares = 0;
        for (int i = first; i <= last; ++i)
            squares += (d.ChartXSeries[i] - d.ChartMean) * (d.ChartXSeries[i] - d.ChartMean);
        d.ChartExperimentalSD = std::sqrt(squares / (k - 1));
        switch (rec.OSO_7 & 0xFF) {
        case 0:
            d.ChartSD = InverseD2OfTwo * d.ChartMRBar;
            break;
        // The approximation 1 - 1/(4k - 1) of c4 is the system's chosen one.
        case 1:
            d.ChartC4 = 1.0 - 1.0 / (4.0 * k - 1.0);
            d.ChartSD = d.ChartExperimentalSD / d.ChartC4;
            break;
        case 2:
            d.ChartSD = d.ChartExperimentalSD;
            break;
        default:
            break;
        }
        if (d.ChartType == 0)
            SetXLines(d, d.ChartMean, 3 * d.ChartSD);
        else
            SetMovingRangeLines(d, d.ChartMeanRange);
    } else {
        TryStrToFloatNeutral(SText, d.ChartSD);
        TryStrToFloatNeutral(CLText, d.ChartMean);
        if (d.ChartType == 0) {
            SetXLines(d, d.ChartMean, 3 * d.ChartSD);
        } else {
            // The stored mean moving range, or the one a normal process with this s has.
            double center = 0;
            if (!TryStrToFloatNeutral(rec.CLR_7, center) || !(center > 0))
                center = D2OfTwo * d.ChartSD;
            d.ChartMeanRange = center;
            SetMovingRangeLines(d, center);
        }
    }

    d.ChartRelativeSDKnown = d.ChartMean != 0;
    d.ChartRelativeSD = d.ChartRelativeSDKnown ? 100 * d.ChartSD / d.ChartMean : 0;
    return WriteResults(d, rec, fields, k - 1, rec.OV_7 & 0xFF, rec.NPP_7, reason);
}

bool ComputeSubgroupChart(
    TChartData& d, const QString& SText, const QString& CLText, TVstupStandardnejNeistoty& rec, QString& reason)
{
    reason.clear();
    const bool given = (rec.RPSS_8 & 0xFF) != 0;
    const int option = rec.OV_8 & 0xFF;
    const bool relative = option == 1 || option == 3;
    const ResultFields fields { rec.SO_8, rec.RSO_8, rec.PSV_8, rec.CLX_8, rec.CLR_8 };
    int first = 0, last = 0;
    if (!EvaluatedRange(d, rec.UR_8, rec.R_OD_8, rec.R_DO_8, first, last)) {
        NoResult(d, rec, fields, given);
        reason = GetString(TextRangeTooShort);
        return false;
    }
    if (given && (SText.trimmed().isEmpty() || CLText.trimmed().isEmpty())) {
        reason = GetString(TextGivenParametersMissing);
        return false;
    }
    const int k = last - first + 1;

    // The factors are those of the first subgroup of the range, for any size the
    // table holds.
    const int n = d.ChartSubgroupSizes[first];
    const bool needsFactors = !given || d.ChartType == 1;
    const FactorRow* factors = FactorsFor(d, n);
    if (needsFactors && !factors) {
        NoResult(d, rec, fields, given);
        reason = n < 2 ? GetString(TextSubgroupTooSmall) : GetString(TextNoFactors, { n });
        return false;
    }

    for (int i = 1; i <= d.ChartPointCount; ++i) {
        const int size = d.ChartSubgroupSizes[i];
        const auto& values = d.ChartPointValues[i];
        double sum = 0;
        for (int j = 0; j < size; ++j)
            sum += values[j];
        const double mean = size > 0 ? sum / size : 0.0;
        double smallest = values[0], largest = values[0];
        double squares = 0;
        for (int j = 0; j < size; ++j) {
            smallest = std::min(smallest, values[j]);
            largest = std::max(largest, values[j]);
            squares += (values[j] - mean) * (values[j] - mean);
        }
        d.ChartXSeries[i] = mean;
        d.ChartRangeSeries[i] = largest - smallest;
        d.ChartRelativeRanges[i] = mean != 0 ? 100 * d.ChartRangeSeries[i] / mean : 0.0;
        d.ChartSubgroupSD[i] = size > 1 ? std::sqrt(squares / (size - 1)) : 0.0;
    }

    double sumOfValues = 0, sumOfRanges = 0, sumOfRelativeRanges = 0, pooledSquares = 0;
    int valueCount = 0, dof = 0;
    for (int i = first; i <= last; ++i) {
        const int size = d.ChartSubgroupSizes[i];
        if (relative && d.ChartXSeries[i] == 0) {
            NoResult(d, rec, fields, given);
            reason = GetString(TextZeroSubgroupMean, { i });
            return false;
        }
        for (int j = 0; j < size; ++j)
            sumOfValues += d.ChartPointValues[i][j];
        valueCount += size;
        sumOfRanges += d.ChartRangeSeries[i];
        sumOfRelativeRanges += d.ChartRelativeRanges[i];
        pooledSquares += (size - 1) * d.ChartSubgroupSD[i] * d.ChartSubgroupSD[i];
        dof += size - 1;
    }
    d.ChartRangeFirst = first;
    d.ChartRangeLast = last;
    d.ChartUsedCount = k;
    d.ChartValueCount = valueCount;
    d.ChartSubgroupSize = n;

    if (!given) {
        d.ChartMean = sumOfValues / valueCount;
        d.ChartMeanRange = d.ChartMeanRangeCalc = sumOfRanges / k;
        d.ChartMeanRelativeRange = sumOfRelativeRanges / k;
        const double d2 = (*factors)[kd2];
        switch (option) {
        case 0:
        case 2:
            d.ChartSD = d.ChartMeanRangeCalc / d2;
            break;
        case 1:
        case 3:
            d.ChartSD = d.ChartMeanRelativeRange / d2;
            break;
        default:
            d.ChartSD = dof > 0 ? std::sqrt(pooledSquares / dof) : 0.0;
            break;
        }
        if (d.ChartType == 0) {
            // Under a relative s the limits need it back in the unit of the values.
            const double absoluteSD = relative ? d.ChartSD * d.ChartMean / 100 : d.ChartSD;
            double distance = 0;
            switch (rec.SV_UCL_LCL_8 & 0xFF) {
            case 0:
                distance = (*factors)[kA2] * d.ChartMeanRange;
                break;
            case 1:
                distance = (*factors)[kA3] * absoluteSD;
                break;
            case 2:
                distance = 3 * absoluteSD;
                break;
            default:
                break;
            }
            SetXLines(d, d.ChartMean, distance);
        } else {
            SetRangeLines(d, relative ? d.ChartMeanRelativeRange : d.ChartMeanRange, *factors);
        }
    } else {
        TryStrToFloatNeutral(SText, d.ChartSD);
        TryStrToFloatNeutral(CLText, d.ChartMean);
        if (d.ChartType == 0) {
            const double absoluteSD = relative ? d.ChartSD * d.ChartMean / 100 : d.ChartSD;
            SetXLines(d, d.ChartMean, 3 * absoluteSD);
        } else {
            // The stored mean range, or the one a normal process with this s has. Under
            // a relative s the range chart shows relative ranges, which no stored mean
            // range describes.
            double center = 0;
            if (relative || !TryStrToFloatNeutral(rec.CLR_8, center) || !(center > 0))
                center = (*factors)[kd2] * d.ChartSD;
            d.ChartMeanRange = center;
            SetRangeLines(d, center, *factors);
        }
    }

    // A relative s needs a mean to be relative to: at a grand mean of 0 the relative
    // ranges of subgroups on either side cancel, and the limits would have no width.
    if (relative && d.ChartMean == 0) {
        NoResult(d, rec, fields, given);
        reason = GetString(TextZeroMean);
        return false;
    }
    if (relative) {
        d.ChartRelativeSDKnown = true;
        d.ChartRelativeSD = d.ChartSD;
    } else {
        d.ChartRelativeSDKnown = d.ChartMean != 0;
        d.ChartRelativeSD = d.ChartRelativeSDKnown ? 100 * d.ChartSD / d.ChartMean : 0;
    }
    return WriteResults(d, rec, fields, dof, option, rec.NPP_8, reason);
}

} // namespace orvek
