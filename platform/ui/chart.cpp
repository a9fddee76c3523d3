#include "platform/ui/chart.h"

#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

namespace orvek {

namespace {

// The look of each series: colour, width and dash.
struct SeriesLook {
    Qt::GlobalColor color;
    int width;
    Qt::PenStyle style;
};
constexpr SeriesLook kLooks[TChart::kSeriesCount] = {
    { Qt::darkGreen, 3, Qt::SolidLine },
    { Qt::black, 2, Qt::SolidLine },
    { Qt::red, 2, Qt::SolidLine },
    { Qt::blue, 2, Qt::DashLine },
    { Qt::red, 1, Qt::DotLine },
    { Qt::red, 1, Qt::DotLine },
    { Qt::red, 1, Qt::DotLine },
    { Qt::red, 1, Qt::DotLine },
};

} // namespace

TChart::TChart(QWidget* parent)
    : QChartView(parent)
{
    auto* chart = new QChart();
    chart->legend()->hide();
    leftAxis_ = new QValueAxis(chart);
    bottomAxis_ = new QValueAxis(chart);
    chart->addAxis(leftAxis_, Qt::AlignLeft);
    chart->addAxis(bottomAxis_, Qt::AlignBottom);
    for (int i = 0; i < kSeriesCount; ++i) {
        auto* series = new QLineSeries(chart);
        QPen pen(kLooks[i].color);
        pen.setWidth(kLooks[i].width);
        pen.setStyle(kLooks[i].style);
        series->setPen(pen);
        if (i == 0) {
            series->setPointsVisible(true);
            series->setBrush(Qt::white);
        }
        chart->addSeries(series);
        series->attachAxis(leftAxis_);
        series->attachAxis(bottomAxis_);
        series_[i] = series;
    }
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
}

QLineSeries* TChart::Series(int index) const
{
    return index >= 0 && index < kSeriesCount ? series_[index] : nullptr;
}

void TChart::ClearAllSeries()
{
    for (QLineSeries* series : series_)
        series->clear();
}

QString TChart::LeftAxisTitle() const
{
    return leftAxis_->titleText();
}

void TChart::SetLeftAxisTitle(const QString& title)
{
    leftAxis_->setTitleText(title);
}

QString TChart::BottomAxisTitle() const
{
    return bottomAxis_->titleText();
}

void TChart::SetBottomAxisTitle(const QString& title)
{
    bottomAxis_->setTitleText(title);
}

} // namespace orvek
