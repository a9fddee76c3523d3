#include "sources/chart_plot.h"

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "sources/chart_data.h"

#include <algorithm>
#include <cmath>

namespace orvek {

namespace {

constexpr int kPointsTitleText = 961;
constexpr int kCenterLineText = 962;
constexpr int kRangeAxisText = 990;
constexpr int kMeanAxisText = 991;
constexpr int kValueAxisText = 1005;
constexpr int kRelativeRangeAxisText = 1084;
constexpr int kPointAxisText = 959;
constexpr int kDateAxisText = 992;

QString RoundedText(double value, int decimals)
{
    return RoundDecimalsText(FloatToGeneralText(value), quint8(std::clamp(decimals, 0, 255)));
}

// A horizontal line from x = 1 to LastX; a labelled line gets a third point for its label.
void AddLine(TPlotSeries& series, double y, double lastX, const QString& label = {})
{
    series.Points.push_back({ 1, y, {}, TPlotColour::Green });
    series.Points.push_back({ lastX, y, {}, TPlotColour::Green });
    if (!label.isEmpty()) {
        series.Points.push_back({ lastX, y, {}, TPlotColour::Green });
        series.LineLabel = label;
    }
}

} // namespace

void ChartPointPosition(const TChartData& Data, int I, double& X, QString& Label)
{
    X = I;
    Label = QString::number(I);
    if (!Data.ChartAllDated || I < 1 || size_t(I) >= Data.ChartDates.size())
        return;
    if (Data.ChartDivideByDate && Data.ChartDates[1].isValid() && Data.ChartDates[size_t(I)].isValid())
        X = double(Data.ChartDates[1].daysTo(Data.ChartDates[size_t(I)])) + 1;
    if (Data.ChartDateLabels) {
        const QString& text = Data.ChartDateTexts[size_t(I)];
        Label = text.isEmpty() ? DateToShortText(Data.ChartDates[size_t(I)]) : text.trimmed();
    }
}

TChartPlot BuildChartPlot(const TChartData& Data, const TChartPlotOptions& Options)
{
    TChartPlot plot;
    const bool individuals = Options.Method == 11;
    const bool xChart = Data.ChartType == 0;
    const bool window = Options.DetailWindow;
    const bool relative = !individuals && (Options.UncertaintyOption == 1 || Options.UncertaintyOption == 3);
    // The pages title both charts of a relative u in per cent; a window only the range
    // chart, the one drawn in per cent, with the per-cent decimals.
    const bool percentTitles = relative && (!window || !xChart);
    const QString percent = percentTitles ? QStringLiteral(" %") : QString();
    const int lineDecimals = window && percentTitles ? Data.ChartDecimals : Data.ChartValueDecimals;
    auto& s = plot.Series;
    auto valueTitle = [&](const QString& name, double value) {
        return name + RoundedText(value, lineDecimals) + percent + QLatin1Char(')');
    };

    // Which series show, and their titles.
    for (int i = 0; i < ChartSeriesCount; ++i)
        s[size_t(i)].Active = true;
    if (individuals) {
        for (int i : { LclSeries, LowerTwoSigmaSeries, LowerOneSigmaSeries })
            s[size_t(i)].Active = xChart;
        s[PointSeries].Title = GetString(kPointsTitleText);
        if (window) {
            s[CenterLineSeries].Title
                = valueTitle(QStringLiteral("CL ("), xChart ? Data.ChartMean : Data.ChartMeanRange);
            s[UclSeries].Title = valueTitle(QStringLiteral(" UCL ("), Data.ChartUCL);
            s[LclSeries].Title = valueTitle(QStringLiteral(" LCL ("), Data.ChartLCL);
        } else {
            s[CenterLineSeries].Title = GetString(kCenterLineText);
        }
        plot.LeftTitle = GetString(xChart ? kValueAxisText : kRangeAxisText);
    } else {
        for (int i = UpperTwoSigmaSeries; i <= LowerOneSigmaSeries; ++i)
            s[size_t(i)].Active = xChart;
        if (window)
            s[LclSeries].Active = xChart;
        s[PointSeries].Title = GetString(kPointsTitleText) + percent;
        s[UclSeries].Title = valueTitle(QStringLiteral(" UCL ("), Data.ChartUCL);
        s[LclSeries].Title = valueTitle(QStringLiteral(" LCL ("), Data.ChartLCL);
        if (window)
            s[CenterLineSeries].Title = valueTitle(QStringLiteral("CL ("), Data.ChartCenterLine);
        else
            s[CenterLineSeries].Title = GetString(kCenterLineText) + QStringLiteral(" (")
                + RoundedText(Data.ChartCenterLine, Data.ChartValueDecimals) + QLatin1Char(')');
        if (xChart)
            plot.LeftTitle = GetString(kMeanAxisText);
        else
            plot.LeftTitle
                = relative ? GetString(kRelativeRangeAxisText) + QStringLiteral(" [%]") : GetString(kRangeAxisText);
    }
    plot.LabelSeparation = Data.ChartDateLabels ? 10 : 2;
    plot.BottomTitle = GetString(Data.ChartDateLabels ? kDateAxisText : kPointAxisText);
    plot.DateAxis = Data.ChartDateLabels && Data.ChartAllDated;

    const int count = std::min(Data.ChartPointCount, int(Data.ChartXSeries.size()) - 1);
    if (count <= 0)
        return plot;

    // The points, and the range of the values plotted.
    double largest = -1e11, smallest = 1e11;
    if (Data.ChartUsedCount != 0) {
        int markFirst = Data.ChartRangeFirst, markLast = Data.ChartRangeLast;
        bool markRange
            = !individuals && Options.MarkEvaluatedRange && (Data.ChartRangeFirst > 1 || Data.ChartRangeLast < count);
        if (window) {
            markFirst = Options.MarkFirst;
            markLast = Options.MarkLast;
            markRange = markLast > 0 && markLast - markFirst + 1 < Data.ChartPointCount;
        }
        const int first = individuals && !xChart ? 2 : 1;
        for (int i = first; i <= count; ++i) {
            double y = 0;
            if (xChart)
                y = individuals ? Data.ChartPointValues[size_t(i)][0] : Data.ChartXSeries[size_t(i)];
            else
                y = relative ? Data.ChartRelativeRanges[size_t(i)] : Data.ChartRangeSeries[size_t(i)];
            TPlotPoint point;
            ChartPointPosition(Data, i, point.X, point.Label);
            point.Y = y;
            if (markRange && i >= markFirst && i <= markLast)
                point.Colour = TPlotColour::Aqua;
            s[PointSeries].Points.push_back(point);
            largest = std::max(largest, y);
            smallest = std::min(smallest, y);
        }
    }

    // The horizontal lines.
    double lastX = 0;
    QString lastLabel;
    ChartPointPosition(Data, count, lastX, lastLabel);
    double center = Data.ChartCenterLine;
    if (individuals && !TryStrToFloatNeutral(Options.CenterLineText.trimmed(), center))
        center = Data.ChartCenterLine;
    AddLine(s[CenterLineSeries], center, lastX, QStringLiteral("Xo"));
    AddLine(s[UclSeries], Data.ChartUCL, lastX, QStringLiteral("UCL"));
    AddLine(s[UpperTwoSigmaSeries], Data.ChartPlus2Sigma, lastX);
    AddLine(s[UpperOneSigmaSeries], Data.ChartPlus1Sigma, lastX);
    if (xChart) {
        AddLine(s[LowerTwoSigmaSeries], Data.ChartMinus2Sigma, lastX);
        AddLine(s[LowerOneSigmaSeries], Data.ChartMinus1Sigma, lastX);
    }
    if (xChart || !individuals)
        AddLine(s[LclSeries], Data.ChartLCL, lastX, QStringLiteral("LCL"));
    for (TPlotSeries& series : s)
        if (!series.Active)
            series.Points.clear();

    // The value axis: the limits with half an s to spare, widened to the data.
    const double sd = Data.ChartSD;
    double maximum = Data.ChartUCL + sd / 2;
    double minimum = Data.ChartLCL - sd / 2;
    if (individuals && !xChart)
        minimum = Data.ChartMinus2Sigma;
    if (!individuals && xChart && relative) {
        maximum = Data.ChartUCL + std::fabs(Data.ChartUCL - Data.ChartCenterLine) / 3;
        minimum = Data.ChartLCL - std::fabs(Data.ChartLCL - Data.ChartCenterLine) / 3;
    }
    if (!s[PointSeries].Points.empty()) {
        if (largest > maximum)
            maximum = largest + sd / 2;
        if (smallest < minimum)
            minimum = smallest - sd / 2;
    }
    // A chart whose limits and values coincide (s = 0) still gets an axis of some height.
    if (!(maximum > minimum)) {
        const double spare = std::max(std::fabs(maximum) * 0.1, 1.0);
        maximum += spare;
        minimum -= spare;
    }
    plot.AxisMaximum = maximum;
    plot.AxisMinimum = minimum;
    const long intervals = std::max(1L, window ? long(ChartLimitValue) : std::lround(ChartLimitValue / 2.0));
    plot.AxisIncrement = (maximum - minimum) / double(intervals);
    return plot;
}

} // namespace orvek
