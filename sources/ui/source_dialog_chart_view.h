#pragma once
// Drawing a control chart's plot (sources/chart_plot) on a chart control, and reading a
// point table through the spreadsheet control, for the source dialog's chart pages
// and the chart windows alike.

#include "platform/ui/f1_book.h"
#include "sources/chart_point_table.h"

namespace orvek {

class TChart;
struct TChartPlot;

// The chart is cleared and shows the plot's series with their titles, points, colours
// and line labels, its value axis set by hand and its axis titles.
void ShowChartPlot(TChart& Chart, const TChartPlot& Plot);
// The bottom axis's labels of the plot's points.
void ShowChartBottomAxis(TChart& Chart, const TChartPlot& Plot);

// A point table's cells as the readers see them.
class TF1BookCells : public TChartCellSource {
public:
    explicit TF1BookCells(const TF1Book& Book)
        : book_(Book)
    {
    }
    int MaxRow() const override { return book_.MaxRow(); }
    int MaxCol() const override { return book_.MaxCol(); }
    QString CellText(int row, int col) const override { return book_.TextRC(row, col); }
    QString ShownText(int row, int col) const override { return book_.FormattedTextRC(row, col); }

private:
    const TF1Book& book_;
};

} // namespace orvek
