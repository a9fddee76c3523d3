#include "sources/ui/source_dialog_chart_view.h"

#include "core/number_text.h"
#include "core/string_table.h"
#include "platform/dialogs.h"
#include "platform/ui/chart.h"
#include "sources/chart_data.h"
#include "sources/chart_plot.h"

#include <QLineEdit>
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

void RefuseListCharacter(int row, int col)
{
    MessageDlg(GetString(22500, { QString::number(row), QString::number(col) }), TMsgDlgType::mtError, mbRetry);
}

bool TakeEditedPointCell(const TF1Book& table, QString& text, bool& cancel)
{
    if (table.Col() <= 2) {
        if (!FitsPointList(text)) {
            RefuseListCharacter(table.Row(), table.Col());
            cancel = true;
        }
        return false;
    }
    text = NormalizeNumberText(text);
    ChartData.ChartLastEditMask = PointValueMask(text);
    return true;
}

bool AcceptPastedPointCell(int row, int col, const QString& text)
{
    if (col > 2 || FitsPointList(text))
        return true;
    RefuseListCharacter(row, col);
    return false;
}

void ShowTableRefusal(TF1Book::TRefusal refusal, int row, int col)
{
    if (refusal == TF1Book::TRefusal::PasteTooLarge)
        MessageDlg(GetString(22501, { QString::number(row), QString::number(col) }), TMsgDlgType::mtError, mbRetry);
    else
        MessageDlg(GetString(22502), TMsgDlgType::mtError, mbRetry);
}

void TakeMeanCount(QLineEdit* edit, int& field, const std::function<void()>& refresh)
{
    const QString text = edit->text().trimmed();
    int value = 1;
    if (!text.isEmpty() && text != QLatin1String("0") && !TryStrToIntNeutral(text, value)) {
        MessageDlg(GetString(1088), TMsgDlgType::mtError, mbRetry);
        edit->setText(QStringLiteral("1"));
        edit->setFocus();
        return;
    }
    if (value < 1 || text.isEmpty() || text == QLatin1String("0")) {
        field = 1;
        if (edit->text() != QLatin1String("1")) {
            edit->setText(QStringLiteral("1"));
            return;
        }
    } else {
        field = value;
    }
    refresh();
}

} // namespace orvek
