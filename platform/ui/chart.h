#pragma once
// The chart control of the control-chart pages and windows (TChart): one chart with
// eight line series (0 the points, 1 the centre line, 2 UCL, 3 LCL, 4 and 5 the upper
// and lower two-sigma lines, 6 and 7 the one-sigma lines), a value axis on the left
// set by hand and labelled in its number format, a bottom axis whose labels are the
// points' own (numbers or dates), and their titles.

#include <QChartView>
#include <QColor>

#include <utility>
#include <vector>

class QCategoryAxis;
class QGraphicsSimpleTextItem;
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
    // Every series emptied, with its point colours and line label.
    void ClearAllSeries();

    QString LeftAxisTitle() const;
    void SetLeftAxisTitle(const QString& title);
    QString BottomAxisTitle() const;
    void SetBottomAxisTitle(const QString& title);
    // The number format of the value axis's labels: "#,##0." and decimals; the labels
    // show thousands grouped and as many decimals as zeros end the format.
    QString ValueFormat() const { return valueFormat_; }
    void SetValueFormat(const QString& format);
    // A value as the value axis labels it.
    QString FormatValue(double value) const;

    void SetSeriesActive(int series, bool active);
    bool SeriesActive(int series) const;
    void SetSeriesTitle(int series, const QString& title);
    QString SeriesTitle(int series) const;
    // A point's marker colour (series 0's points).
    void SetPointColour(int series, int index, const QColor& colour);
    QColor PointColour(int series, int index) const;
    // The label of a line, shown at its third point only.
    void SetLineLabel(int series, const QString& label);
    QString LineLabel(int series) const
    {
        return series >= 0 && series < kSeriesCount ? lineLabels_[series] : QString();
    }

    // The value axis from Minimum to Maximum, labelled every Increment from Minimum.
    void SetValueAxis(double minimum, double maximum, double increment);
    // The bottom axis over the points' x values, labelled by the points' own texts;
    // Separation is the least room between two labels in per cent of the label's width.
    void SetBottomLabels(const std::vector<std::pair<double, QString>>& labels, int separation);
    QStringList BottomLabels() const;
    QStringList ValueLabels() const;

    // The chart as a picture, and on the clipboard as an image.
    QImage Picture();
    void CopyToClipboard();

    QValueAxis* LeftAxis() const;
    QValueAxis* BottomAxis() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceLineLabels();

    QLineSeries* series_[kSeriesCount] {};
    QString lineLabels_[kSeriesCount];
    QGraphicsSimpleTextItem* labelItems_[kSeriesCount] {};
    QCategoryAxis* leftAxis_ = nullptr;
    QCategoryAxis* bottomAxis_ = nullptr;
    QString valueFormat_ = QStringLiteral("#,##0.0000");
    std::vector<std::pair<double, QString>> bottomLabels_;
    int bottomSeparation_ = 2;
};

} // namespace orvek
