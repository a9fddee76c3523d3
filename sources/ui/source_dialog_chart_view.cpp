#include "sources/ui/source_dialog_chart_view.h"

#include "platform/ui/chart.h"
#include "sources/chart_plot.h"

#include <QLineSeries>

namespace orvek {

void ShowChartPlot(TChart& Chart, const TChartPlot& Plot)
{
    Chart.ClearAllSeries();
    for (int i = 0; i < ChartSeriesCount; ++i) {
        const TPlotSeries& series = Plot.Series[size_t(i)];
        Chart.SetSeriesActive(i, series.Active);
        Chart.SetSeriesTitle(i, series.Title);
        QList<QPointF> points;
        points.reserve(qsizetype(series.Points.size()));
        for (const TPlotPoint& p : series.Points)
            points.append(QPointF(p.X, p.Y));
        Chart.Series(i)->replace(points);
        for (size_t k = 0; k < series.Points.size(); ++k)
            if (series.Points[k].Colour == TPlotColour::Aqua)
                Chart.SetPointColour(i, int(k), Qt::cyan);
        Chart.SetLineLabel(i, series.LineLabel);
    }
    Chart.SetLeftAxisTitle(Plot.LeftTitle);
    Chart.SetBottomAxisTitle(Plot.BottomTitle);
    Chart.SetValueAxis(Plot.AxisMinimum, Plot.AxisMaximum, Plot.AxisIncrement);
}

void ShowChartBottomAxis(TChart& Chart, const TChartPlot& Plot)
{
    const std::vector<TPlotPoint>& points = Plot.Series[PointSeries].Points;
    std::vector<std::pair<double, QString>> labels;
    labels.reserve(points.size());
    for (const TPlotPoint& p : points)
        labels.emplace_back(p.X, p.Label);
    Chart.SetBottomAxisTitle(Plot.BottomTitle);
    Chart.SetBottomLabels(labels, Plot.LabelSeparation);
}

} // namespace orvek
