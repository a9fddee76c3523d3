#pragma once
// The chart control of the control-chart pages and windows (TChart): one chart with
// eight line series (0 the points, 1 the centre line, 2 UCL, 3 LCL, 4 and 5 the upper
// and lower two-sigma lines, 6 and 7 the one-sigma lines), a value axis on the left
// with its number format, a bottom axis and their titles.

#include <QChartView>

class QLineSeries;
class QValueAxis;

namespace orvek {

class TChart : public QChartView {
    Q_OBJECT
public:
    static constexpr int kSeriesCount = 8;

    explicit TChart(QWidget* parent = nullptr);

    int SeriesCount() const { return kSeriesCount; }
    QLineSeries* Series(int index) const;
    // Every series emptied.
    void ClearAllSeries();

    QString LeftAxisTitle() const;
    void SetLeftAxisTitle(const QString& title);
    QString BottomAxisTitle() const;
    void SetBottomAxisTitle(const QString& title);
    // The number format of the value axis's labels ("#,##0.0000").
    QString ValueFormat() const { return valueFormat_; }
    void SetValueFormat(const QString& format) { valueFormat_ = format; }

    QValueAxis* LeftAxis() const { return leftAxis_; }
    QValueAxis* BottomAxis() const { return bottomAxis_; }

private:
    QLineSeries* series_[kSeriesCount] {};
    QValueAxis* leftAxis_ = nullptr;
    QValueAxis* bottomAxis_ = nullptr;
    QString valueFormat_;
};

} // namespace orvek
