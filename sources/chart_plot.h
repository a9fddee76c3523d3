#pragma once
// What a control chart shows, computed from a chart state: the points of series 0 with
// their x positions, labels and colours, the horizontal lines of series 1 to 7, the
// titles, the value axis's range and increment and the bottom axis. The source
// dialog's chart pages and the chart windows draw from this one routine; their
// differences are options.

#include <QString>
#include <QtGlobal>

#include <array>
#include <vector>

namespace orvek {

struct TChartData;

// Series of a control chart, in the chart control's order.
enum TChartSeries {
    PointSeries = 0,
    CenterLineSeries = 1,
    UclSeries = 2,
    LclSeries = 3,
    UpperTwoSigmaSeries = 4,
    LowerTwoSigmaSeries = 5,
    UpperOneSigmaSeries = 6,
    LowerOneSigmaSeries = 7,
    ChartSeriesCount = 8,
};

enum class TPlotColour { Green, Aqua };

struct TPlotPoint {
    double X = 0;
    double Y = 0;
    QString Label; // the bottom axis's label of the point
    TPlotColour Colour = TPlotColour::Green;
};

struct TPlotSeries {
    bool Active = false;
    QString Title;
    std::vector<TPlotPoint> Points;
    // A line's own label ("Xo", "UCL", "LCL"), shown at its third point; empty for none.
    QString LineLabel;
};

struct TChartPlotOptions {
    // 11 an individuals chart, 12 a subgroup chart.
    int Method = 11;
    // What u equals (OV_7 / OV_8); 1 and 3 make a subgroup chart relative (per cent).
    int UncertaintyOption = 0;
    // The centre line of an individuals chart as the record holds it (CLX_7 on the X
    // chart, CLR_7 on the range chart); a subgroup chart uses ChartCenterLine.
    QString CenterLineText;
    // Subgroup charts: the points of the evaluated range are drawn aqua when it is
    // shorter than all subgroups (the record's UR_8 is 1).
    bool MarkEvaluatedRange = false;
    // The chart windows draw with these differences from the dialog's pages: the centre
    // line, UCL and LCL are titled with their values ("CL (v)", " UCL (v)"), per-cent
    // titles only on the relative range chart (rounded to ChartDecimals), a subgroup
    // range chart shows its UCL only, and the value axis is divided into ChartLimitValue
    // steps. The points MarkFirst..MarkLast (from 1; none while MarkLast is 0) are aqua
    // on either chart when that range is shorter than all points; in a window they take
    // the place of MarkEvaluatedRange.
    bool DetailWindow = false;
    int MarkFirst = 0;
    int MarkLast = 0;
};

struct TChartPlot {
    std::array<TPlotSeries, ChartSeriesCount> Series;
    QString LeftTitle;
    QString BottomTitle;
    double AxisMinimum = 0;
    double AxisMaximum = 0;
    double AxisIncrement = 0;
    // Bottom axis: labels every LabelSeparation per cent of its length (2 plain, 10 with
    // date labels); the x values are days when DateAxis.
    int LabelSeparation = 2;
    bool DateAxis = false;
};

// The x position and bottom-axis label of point I (from 1): x = I and label "I" unless
// every point is dated; dated points are placed by days from the first point plus 1
// when ChartDivideByDate, and labelled by their date text when ChartDateLabels.
void ChartPointPosition(const TChartData& Data, int I, double& X, QString& Label);

// The plot of a computed chart; nothing but the titles when no point is loaded.
TChartPlot BuildChartPlot(const TChartData& Data, const TChartPlotOptions& Options);

} // namespace orvek
