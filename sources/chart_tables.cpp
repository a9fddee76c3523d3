#include "sources/chart_tables.h"

#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/cell_records.h"
#include "richtext/markup_read.h"
#include "richtext/report_table.h"
#include "sources/chart_data.h"

#include <algorithm>

namespace orvek {

namespace {

enum TableText {
    TextStandardUncertainty = 677,
    TextRelativeSDPercent = 907,
    TextValueHeading = 952,
    TextDateHeading = 953,
    TextCenterLine = 962,
    TextRunTests = 963,
    TextTestHeading = 964,
    TextResultHeading = 965,
    TextViolated = 966,
    TextNotViolated = 967,
    TextPointCount = 968,
    TextSubgroupSize = 969,
    TextStandardDeviation = 970,
    TextDegreesOfFreedom = 971,
    TextUpperLimit = 972,
    TextLowerLimit = 973,
    TextUpperWarning = 974,
    TextLowerWarning = 975,
    TextStatistics = 977,
    TextEvaluatedPoints = 982,
    TextSelectedRange = 983,
    TextAllPoints = 984,
    TextFirstPoint = 985,
    TextLastPoint = 986,
    TextRangeHeading = 990,
    TextMeanHeading = 991,
    TextParameters = 993,
    TextComputed = 994,
    TextGiven = 995,
    TextControlLimits = 996,
    TextRelativeSD = 1002,
    TextUsedCount = 1006,
    TextEstimateOfS = 1007,
    TextPoints = 1035,
    TextC4 = 1045,
    TextMeanMovingRange = 1046,
    TextExperimental = 1049,
    TextFirstTest = 1058,
    TextMeanRange = 1079,
    TextRangeUpperLimit = 1082,
    TextRangeLowerLimit = 1083,
    TextMeanRelativeRange = 1085,
};

const QChar CR(u'\r');

QString Bold(const QString& text)
{
    return QStringLiteral("[cf3]") + text + QStringLiteral("[cf1]");
}
QString Label(int id)
{
    return Bold(GetString(id));
}
QString General(double value)
{
    return FloatToGeneralText(value);
}

// The report table started empty with Columns columns.
TStringTable& StartTable(int columns)
{
    TStringTable& table = *ReportTable;
    table.Clear();
    table.ColCount = columns;
    return table;
}

void AddRow(TStringTable& table, const QString& first, const QString& second)
{
    ++table.RowCount;
    table.Cells(1, table.RowCount) = first;
    table.Cells(2, table.RowCount) = second;
}

// Formatting of the statistics' value column.
struct ValueText {
    const TChartData& d;
    QString Sig(const QString& text) const { return FormatSignificantText(d.SignificantDigits, text); }
    QString Sig(double value) const { return Sig(General(value)); }
    QString Dec(const QString& text) const
    {
        return RoundDecimalsText(NormalizeNumberText(text), quint8(std::clamp(d.ChartValueDecimals, 0, 255)));
    }
    QString Dec(double value) const { return Dec(General(value)); }
    QString Mag(double value) const { return RoundByMagnitudeText(General(value)); }
    QString Percent(double value) const
    {
        return RoundDecimalsText(General(value), quint8(std::clamp(d.ChartDecimals, 0, 255)));
    }
    QString Unit() const { return QChar(' ') + WrapRtfBlock(d.SourceQuantityUnit); }
    QString Uncertainty(const QString& hsn) const { return hsn.isEmpty() ? QStringLiteral("...") : Sig(hsn) + Unit(); }
};

// "n." or, when every point is dated, the date text and " (n.)".
QString PointName(const TChartData& d, int index)
{
    const QString number = QString::number(index) + QChar('.');
    if (d.ChartAllDated)
        return d.ChartDateTexts[index] + QStringLiteral(" (") + number + QChar(')');
    return number;
}

void AddRangeRows(TStringTable& table, const TChartData& d, bool rangeSelected, bool withSubgroupSize)
{
    AddRow(table, Label(TextEvaluatedPoints), GetString(rangeSelected ? TextSelectedRange : TextAllPoints));
    AddRow(table, Label(TextPointCount), QString::number(d.ChartPointCount));
    if (rangeSelected)
        AddRow(table, Label(TextUsedCount), QString::number(d.ChartUsedCount));
    if (withSubgroupSize)
        AddRow(table, Label(TextSubgroupSize), QString::number(d.ChartSubgroupSize));
    if (rangeSelected) {
        AddRow(table, Label(TextFirstPoint), PointName(d, d.ChartRangeFirst));
        AddRow(table, Label(TextLastPoint), PointName(d, d.ChartRangeLast));
    }
}

void AppendStatistics(const TChartData& d, int firstWidth, int secondWidth, QString& text)
{
    TStringTable& table = *ReportTable;
    table.ColWidths[1] = firstWidth;
    table.ColWidths[2] = secondWidth;
    QString block;
    BuildTableMarkup(false, 0, d.ReportTableFontSize, block, 50);
    text += QStringLiteral("[cf3]") + GetString(TextStatistics)
        + (d.ChartType == 0 ? QStringLiteral(" X[cf1]") : QStringLiteral(" R[cf1]")) + CR + block;
}

void AppendWithHeading(const TChartData& d, int headingText, bool autoWidths, QString& text)
{
    QString block;
    BuildTableMarkup(autoWidths, 0, d.ReportTableFontSize, block, 50);
    text += CR + Label(headingText) + CR + block;
}

bool RangeIsEmpty(const TChartData& d)
{
    return d.ChartPointCount <= 0 || d.ChartRangeFirst < 1 || d.ChartRangeLast < d.ChartRangeFirst
        || d.ChartRangeLast > d.ChartPointCount;
}

double Factor(const TChartData& d, int column)
{
    const int n = d.ChartSubgroupSize;
    return n >= 2 && n < int(d.ChartFactors.size()) ? d.ChartFactors[n][column] : 0.0;
}

} // namespace

void BuildRuleTestTable(TChartData& d, QString& text)
{
    ReportTableOwner owner;
    d.ChartOutOfControl = false;
    TStringTable& table = StartTable(3);
    table.RowCount = 1;
    table.Cells(1, 1) = QStringLiteral("[cf3]No.[cf1]");
    table.Cells(2, 1) = Label(TextTestHeading);
    table.Cells(3, 1) = Label(TextResultHeading);
    int shown = 0;
    for (int test = 1; test <= 8; ++test) {
        const quint16 bit = quint16(1u << test);
        if (!(d.ChartRuleMask & bit))
            continue;
        const int row = ++table.RowCount;
        table.Cells(1, row) = Bold(QString::number(++shown) + QChar('.'));
        table.Cells(2, row) = GetString(TextFirstTest + test - 1);
        if (d.ChartRuleResults & bit) {
            table.Cells(3, row) = Label(TextViolated);
            d.ChartOutOfControl = true;
        } else {
            table.Cells(3, row) = GetString(TextNotViolated);
        }
    }
    table.ColWidths[1] = 450;
    table.ColWidths[2] = 5000;
    table.ColWidths[3] = 1100;
    AppendWithHeading(d, TextRunTests, false, text);
}

void BuildRuleTestMessage(const TChartData& d, QString& text)
{
    ReportTableOwner owner;
    TStringTable& table = StartTable(2);
    table.RowCount = 1;
    table.Cells(1, 1) = QStringLiteral("[cf3]No.[cf1]");
    table.Cells(2, 1) = Label(TextTestHeading);
    for (int test = 1; test <= 8; ++test) {
        if (!(d.ChartRuleResults & (1u << test)))
            continue;
        AddRow(table, Bold(QString::number(test) + QChar('.')), GetString(TextFirstTest + test - 1));
    }
    table.ColWidths[1] = 450;
    table.ColWidths[2] = 5000;
    AppendWithHeading(d, TextRunTests, false, text);
}

void BuildIndividualsStatisticsTable(TChartData& d, const TVstupStandardnejNeistoty& rec, QString& text)
{
    if (d.ChartPointCount <= 0)
        return;
    UpdateChartDecimals(d);
    const ValueText v { d };
    const bool xChart = d.ChartType == 0;
    const bool computed = (rec.RPSS_7 & 0xFF) == 0;
    const bool rangeSelected = (rec.UR_7 & 0xFF) == 1;
    const int estimate = rec.OSO_7 & 0xFF;
    TStringTable& table = StartTable(2);

    AddRow(table, Label(TextStandardUncertainty), v.Uncertainty(rec.HSN));
    AddRangeRows(table, d, rangeSelected, false);
    AddRow(table, Label(TextParameters), GetString(computed ? TextComputed : TextGiven));
    if (computed && xChart) {
        const QString experimental
            = QStringLiteral("s = s[cf15] ") + GetString(TextExperimental) + QStringLiteral(" [cf1]");
        const QString rule = estimate == 0 ? QStringLiteral("s = 0.8865;tsMR")
            : estimate == 1                ? experimental + QStringLiteral("/C4")
            : estimate == 2                ? experimental
                                           : QString();
        AddRow(table, Label(TextEstimateOfS), rule);
    }
    if (computed && ((xChart && estimate == 0) || !xChart))
        AddRow(table, QStringLiteral("[cf3]MR - ") + GetString(TextMeanMovingRange) + QStringLiteral("[cf1]"),
            v.Sig(d.ChartMRBar));
    if (computed && xChart && estimate == 1) {
        AddRow(table, QStringLiteral("[cf3]C4 - ") + GetString(TextC4) + QStringLiteral("[cf1]"), v.Sig(d.ChartC4));
        AddRow(table, QStringLiteral("[cf3]s[cf1][cf15] ") + GetString(TextExperimental) + QStringLiteral(" [cf1]"),
            v.Sig(d.ChartExperimentalSD));
    }
    if (xChart) {
        AddRow(table, Label(TextStandardDeviation), v.Sig(d.ChartSD) + v.Unit());
        AddRow(table, Label(TextRelativeSD),
            d.ChartRelativeSDKnown ? v.Percent(d.ChartRelativeSD) + QStringLiteral(" %") : QString());
    }
    AddRow(table, Label(TextUpperLimit), v.Dec(d.ChartUCL) + v.Unit());
    AddRow(table, Label(TextUpperWarning), v.Dec(d.ChartPlus2Sigma) + v.Unit());
    AddRow(table, QStringLiteral("[cf3]") + GetString(TextCenterLine) + QStringLiteral(" (CL)[cf1]"),
        v.Dec(d.ChartCenterLine) + v.Unit());
    if (xChart) {
        AddRow(table, Label(TextLowerWarning), v.Dec(d.ChartMinus2Sigma) + v.Unit());
        AddRow(table, Label(TextLowerLimit), v.Dec(d.ChartLCL) + v.Unit());
    }
    AddRow(table, Label(TextDegreesOfFreedom), rec.PSV_7);
    AppendStatistics(d, 3200, 2000, text);
}

void BuildSubgroupStatisticsTable(TChartData& d, const TVstupStandardnejNeistoty& rec, QString& text)
{
    if (d.ChartPointCount <= 0)
        return;
    UpdateChartDecimals(d);
    const ValueText v { d };
    const bool xChart = d.ChartType == 0;
    const bool computed = (rec.RPSS_8 & 0xFF) == 0;
    const bool rangeSelected = (rec.UR_8 & 0xFF) == 1;
    const int output = rec.OV_8 & 0xFF;
    const bool relative = output == 1 || output == 3;
    const int limits = rec.SV_UCL_LCL_8 & 0xFF;
    const QString percent = QStringLiteral(" %");
    TStringTable& table = StartTable(2);

    AddRow(table, Label(TextStandardUncertainty), v.Uncertainty(rec.HSN));
    if (relative)
        AddRow(table, Label(TextRelativeSDPercent), v.Sig(d.ChartSD) + percent);
    AddRangeRows(table, d, rangeSelected, true);
    AddRow(table, Label(TextParameters), GetString(computed ? TextComputed : TextGiven));
    if (computed && xChart) {
        const QString rule = limits == 0 ? QStringLiteral("X;pmA[cf15]2[cf1];tsR")
            : limits == 1                ? QStringLiteral("X;pmA[cf15]3[cf1];tss")
            : limits == 2                ? QStringLiteral("X;pm3;tss")
                                         : QString();
        AddRow(table, Label(TextControlLimits), rule);
        if (limits == 0) {
            AddRow(table, QStringLiteral("[cf3]A[cf1][cf15]2[cf1]"), v.Dec(Factor(d, kA2)));
            AddRow(table, Label(TextMeanRange), v.Dec(v.Sig(rec.CLR_8)));
        } else if (limits == 1) {
            AddRow(table, QStringLiteral("[cf3]A[cf1][cf15]3[cf1]"), General(Factor(d, kA3)));
        }
    }
    if (computed && !xChart) {
        AddRow(table, Label(TextRangeUpperLimit), QStringLiteral("D[cf15]4[cf1];tsR"));
        AddRow(table, Label(TextRangeLowerLimit), QStringLiteral("D[cf15]3[cf1];tsR"));
        AddRow(table, QStringLiteral("[cf3]D[cf1][cf3][cf15]4[cf1]"), v.Dec(Factor(d, kD4)));
        AddRow(table, QStringLiteral("[cf3]D[cf1][cf3][cf15]3[cf1]"), v.Dec(Factor(d, kD3)));
        if (relative)
            AddRow(table, QStringLiteral("[cf3]") + GetString(TextMeanRelativeRange) + QStringLiteral(" (%) [cf1]"),
                v.Mag(d.ChartMeanRelativeRange) + percent);
        else
            AddRow(table, Label(TextMeanRange), v.Dec(rec.CLR_8) + v.Unit());
    }
    if (!xChart) {
        if (relative)
            AddRow(table, Label(TextRelativeSD), v.Sig(d.ChartSD) + percent);
        else
            AddRow(table, Label(TextStandardDeviation), v.Sig(d.ChartSD) + v.Unit());
    } else {
        AddRow(table, Label(TextStandardDeviation), v.Dec(d.ChartSD) + (relative ? percent : v.Unit()));
        if (!relative)
            AddRow(
                table, Label(TextRelativeSD), d.ChartRelativeSDKnown ? v.Sig(d.ChartRelativeSD) + percent : QString());
    }
    // Only the range chart of a relative s is drawn in per cent; the X-bar chart's
    // limits are in the unit of the values.
    const bool percentLines = relative && !xChart;
    AddRow(table, Label(TextUpperLimit), percentLines ? v.Mag(d.ChartUCL) + percent : v.Dec(d.ChartUCL) + v.Unit());
    const QString centerLabel = QStringLiteral("[cf3]") + GetString(TextCenterLine) + QStringLiteral(" (CL)[cf1]");
    if (xChart) {
        AddRow(table, Label(TextUpperWarning), v.Dec(d.ChartPlus2Sigma) + v.Unit());
        AddRow(table, centerLabel, v.Dec(d.ChartCenterLine) + v.Unit());
        AddRow(table, Label(TextLowerWarning), v.Dec(d.ChartMinus2Sigma) + v.Unit());
        AddRow(table, Label(TextLowerLimit), v.Dec(d.ChartLCL) + v.Unit());
    } else {
        AddRow(table, centerLabel,
            percentLines ? v.Mag(d.ChartCenterLine) + percent : v.Dec(d.ChartCenterLine) + v.Unit());
    }
    AddRow(table, Label(TextDegreesOfFreedom), rec.PSV_8);
    AppendStatistics(d, 3500, 2450, text);
}

void BuildIndividualsDataTable(TChartData& d, const TVstupStandardnejNeistoty&, QString& text)
{
    if (RangeIsEmpty(d))
        return;
    UpdateChartDecimals(d);
    const ValueText v { d };
    ReportTableOwner owner;
    const bool dated = d.ChartAllDated;
    TStringTable& table = StartTable(dated ? 4 : 3);
    table.RowCount = 1;
    int column = 1;
    table.Cells(column++, 1) = QStringLiteral("[cf3]i[cf1]");
    if (dated)
        table.Cells(column++, 1) = Label(TextDateHeading);
    table.Cells(column++, 1) = Bold(GetString(TextValueHeading, { QStringLiteral(" ") }));
    table.Cells(column, 1) = Label(TextRangeHeading);
    for (int i = d.ChartRangeFirst; i <= d.ChartRangeLast; ++i) {
        const int row = ++table.RowCount;
        column = 1;
        table.Cells(column++, row) = QString::number(i - d.ChartRangeFirst + 1) + QChar('.');
        if (dated)
            table.Cells(column++, row) = d.ChartDateTexts[i];
        table.Cells(column++, row) = v.Dec(d.ChartPointValueTexts[i][0]);
        // The first point of the range has no moving range inside it.
        table.Cells(column, row) = i > d.ChartRangeFirst ? v.Dec(d.ChartRangeSeries[i]) : QString();
    }
    AppendWithHeading(d, TextPoints, true, text);
}

void BuildSubgroupDataTable(TChartData& d, const TVstupStandardnejNeistoty&, QString& text)
{
    if (RangeIsEmpty(d))
        return;
    UpdateChartDecimals(d);
    const ValueText v { d };
    int largest = 0;
    for (int i = d.ChartRangeFirst; i <= d.ChartRangeLast; ++i)
        largest = std::max(largest, d.ChartSubgroupSizes[i]);
    ReportTableOwner owner;
    const bool dated = d.ChartAllDated;
    TStringTable& table = StartTable(1 + (dated ? 1 : 0) + largest + 3);
    table.RowCount = 1;
    int column = 1;
    table.Cells(column++, 1) = QStringLiteral("[cf3]i[cf1]");
    if (dated)
        table.Cells(column++, 1) = Label(TextDateHeading);
    for (int j = 1; j <= largest; ++j)
        table.Cells(column++, 1) = Bold(GetString(TextValueHeading, { QString::number(j) }));
    table.Cells(column++, 1) = Label(TextMeanHeading);
    table.Cells(column++, 1) = Label(TextRangeHeading);
    table.Cells(column, 1) = QStringLiteral("[cf3]SD[cf1][cf3][cf15]i[cf1]");
    for (int i = d.ChartRangeFirst; i <= d.ChartRangeLast; ++i) {
        const int row = ++table.RowCount;
        column = 1;
        table.Cells(column++, row) = QString::number(i - d.ChartRangeFirst + 1) + QChar('.');
        if (dated)
            table.Cells(column++, row) = d.ChartDateTexts[i];
        for (int j = 0; j < largest; ++j, ++column)
            if (j < d.ChartSubgroupSizes[i])
                table.Cells(column, row) = v.Dec(d.ChartPointValueTexts[i][j]);
        table.Cells(column++, row) = v.Dec(d.ChartXSeries[i]);
        table.Cells(column++, row) = v.Dec(d.ChartRangeSeries[i]);
        table.Cells(column, row) = v.Dec(d.ChartSubgroupSD[i]);
    }
    AppendWithHeading(d, TextPoints, true, text);
}

} // namespace orvek
