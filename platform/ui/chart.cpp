#include "platform/ui/chart.h"
#include "platform/regional_locale.h"

#include <QCategoryAxis>
#include <QChart>
#include <QClipboard>
#include <QGraphicsSimpleTextItem>
#include <QGuiApplication>
#include <QLineSeries>
#include <QLocale>
#include <QPen>

#include <algorithm>
#include <cmath>

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

// The index of a line's labelled point.
constexpr int kLabelPoint = 2;

void ClearCategories(QCategoryAxis* axis)
{
    const QStringList labels = axis->categoriesLabels();
    for (const QString& label : labels)
        axis->remove(label);
}

} // namespace

TChart::TChart(QWidget* parent)
    : QChartView(parent)
{
    auto* chart = new QChart();
    chart->legend()->hide();
    leftAxis_ = new QCategoryAxis(chart);
    bottomAxis_ = new QCategoryAxis(chart);
    for (QCategoryAxis* axis : { leftAxis_, bottomAxis_ }) {
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        axis->setTruncateLabels(false);
    }
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
            series->setMarkerSize(7);
            series->setBrush(Qt::white);
        }
        chart->addSeries(series);
        series->attachAxis(leftAxis_);
        series->attachAxis(bottomAxis_);
        series_[i] = series;
        labelItems_[i] = new QGraphicsSimpleTextItem(chart);
        labelItems_[i]->hide();
    }
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    connect(chart, &QChart::plotAreaChanged, this, [this] { PlaceLineLabels(); });
}

QLineSeries* TChart::Series(int index) const
{
    return index >= 0 && index < kSeriesCount ? series_[index] : nullptr;
}

QValueAxis* TChart::LeftAxis() const
{
    return leftAxis_;
}

QValueAxis* TChart::BottomAxis() const
{
    return bottomAxis_;
}

void TChart::ClearAllSeries()
{
    for (int i = 0; i < kSeriesCount; ++i) {
        series_[i]->clearPointsConfiguration();
        series_[i]->clear();
        lineLabels_[i].clear();
        labelItems_[i]->hide();
    }
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

void TChart::SetValueFormat(const QString& format)
{
    valueFormat_ = format;
}

QString TChart::FormatValue(double value) const
{
    // Qt's label formats have no thousands grouping: the format's decimals are counted
    // here and the locale groups the digits.
    int decimals = 0;
    for (int i = int(valueFormat_.size()) - 1; i >= 0 && valueFormat_[i] == QLatin1Char('0'); --i)
        ++decimals;
    if (decimals == valueFormat_.size())
        decimals = 0;
    const bool grouped = valueFormat_.startsWith(QStringLiteral("#,"));
    QLocale locale = RegionalLocale();
    locale.setNumberOptions(grouped ? QLocale::DefaultNumberOptions : QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

void TChart::SetSeriesActive(int series, bool active)
{
    if (QLineSeries* s = Series(series)) {
        s->setVisible(active);
        PlaceLineLabels();
    }
}

bool TChart::SeriesActive(int series) const
{
    const QLineSeries* s = Series(series);
    return s && s->isVisible();
}

void TChart::SetSeriesTitle(int series, const QString& title)
{
    if (QLineSeries* s = Series(series))
        s->setName(title);
}

QString TChart::SeriesTitle(int series) const
{
    const QLineSeries* s = Series(series);
    return s ? s->name() : QString();
}

void TChart::SetPointColour(int series, int index, const QColor& colour)
{
    QLineSeries* s = Series(series);
    if (!s || index < 0 || index >= s->count())
        return;
    s->setPointConfiguration(index, QXYSeries::PointConfiguration::Color, colour);
}

QColor TChart::PointColour(int series, int index) const
{
    const QLineSeries* s = Series(series);
    if (!s || index < 0 || index >= s->count())
        return {};
    const auto config = s->pointConfiguration(index);
    const auto it = config.find(QXYSeries::PointConfiguration::Color);
    return it == config.end() ? s->color() : it->value<QColor>();
}

void TChart::SetLineLabel(int series, const QString& label)
{
    if (series < 0 || series >= kSeriesCount)
        return;
    lineLabels_[series] = label;
    labelItems_[series]->setText(label);
    PlaceLineLabels();
}

void TChart::PlaceLineLabels()
{
    // The label stands right above the line's labelled point; Qt's point labels cannot
    // carry a text of their own per point, so a text item is placed there.
    for (int i = 0; i < kSeriesCount; ++i) {
        QGraphicsSimpleTextItem* item = labelItems_[i];
        const QLineSeries* s = series_[i];
        if (lineLabels_[i].isEmpty() || !s->isVisible() || s->count() <= kLabelPoint) {
            item->hide();
            continue;
        }
        const QPointF at = chart()->mapToPosition(s->at(kLabelPoint), series_[i]);
        item->setBrush(s->pen().color());
        const QRectF box = item->boundingRect();
        item->setPos(at.x() - box.width() - 2, at.y() - box.height());
        item->show();
    }
}

void TChart::SetValueAxis(double minimum, double maximum, double increment)
{
    ClearCategories(leftAxis_);
    leftAxis_->setRange(minimum, maximum);
    // A category must end above the axis's start value, so the start lies below the range.
    leftAxis_->setStartValue(minimum - std::max(1.0, std::fabs(maximum - minimum)));
    if (increment > 0 && std::isfinite(increment) && (maximum - minimum) / increment <= 1000) {
        QStringList used;
        for (double v = minimum; v <= maximum + increment * 1e-9; v += increment) {
            // A label text may stand once on an axis; equal texts of close ticks are skipped.
            const QString text = FormatValue(std::fabs(v) < increment * 1e-9 ? 0.0 : v);
            if (used.contains(text))
                continue;
            used << text;
            leftAxis_->append(text, v);
        }
    }
    PlaceLineLabels();
}

void TChart::SetBottomLabels(const std::vector<std::pair<double, QString>>& labels, int separation)
{
    bottomLabels_ = labels;
    bottomSeparation_ = std::max(1, separation);
    ClearCategories(bottomAxis_);
    if (labels.empty()) {
        bottomAxis_->setRange(0, 1);
        return;
    }
    double first = labels.front().first, last = labels.front().first;
    int widest = 1;
    for (const auto& [x, text] : labels) {
        first = std::min(first, x);
        last = std::max(last, x);
        widest = std::max(widest, int(fontMetrics().horizontalAdvance(text)));
    }
    bottomAxis_->setStartValue(first - 1);
    bottomAxis_->setRange(first - 0.5, last + 0.5);
    // Every label needs its own width and the separation as room.
    const double room = widest * (1 + bottomSeparation_ / 100.0) + 4;
    const double plotWidth = std::max(100.0, double(width()) - 120);
    const double perUnit = plotWidth / std::max(1.0, last - first + 1);
    double lastShown = -1e300;
    QStringList used;
    for (const auto& [x, text] : labels) {
        if ((x - lastShown) * perUnit < room || used.contains(text))
            continue;
        bottomAxis_->append(text, x);
        used << text;
        lastShown = x;
    }
    PlaceLineLabels();
}

QStringList TChart::BottomLabels() const
{
    return bottomAxis_->categoriesLabels();
}

QStringList TChart::ValueLabels() const
{
    return leftAxis_->categoriesLabels();
}

void TChart::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    if (!bottomLabels_.empty())
        SetBottomLabels(std::vector<std::pair<double, QString>>(bottomLabels_), bottomSeparation_);
    PlaceLineLabels();
}

QImage TChart::Picture()
{
    return grab().toImage();
}

void TChart::CopyToClipboard()
{
    QGuiApplication::clipboard()->setImage(Picture());
}

} // namespace orvek
