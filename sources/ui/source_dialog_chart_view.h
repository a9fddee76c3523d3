#pragma once
// Drawing a control chart's plot (sources/chart_plot) on a chart control, reading and
// compacting a point table through the spreadsheet control, and the table's refusals,
// for the source dialog's chart pages and the chart windows alike.

#include "platform/ui/f1_book.h"
#include "sources/chart_point_table.h"
#include "sources/chart_window_grid.h"

#include <functional>

class QLineEdit;

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

// The same, writable: a check may compact the table.
class TF1BookTable : public TChartCellTable {
public:
    explicit TF1BookTable(TF1Book& Book)
        : book_(Book)
    {
    }
    int MaxRow() const override { return book_.MaxRow(); }
    int MaxCol() const override { return book_.MaxCol(); }
    QString CellText(int row, int col) const override { return book_.TextRC(row, col); }
    QString ShownText(int row, int col) const override { return book_.FormattedTextRC(row, col); }
    void SetCellText(int row, int col, const QString& text) override { book_.SetTextRC(row, col, text); }

private:
    TF1Book& book_;
};

// Tells the user that a date or operator cell does not fit its list (FitsPointList).
void RefuseListCharacter(int row, int col);

// A paste into a point table: date and operator cells must fit their lists.
bool AcceptPastedPointCell(int row, int col, const QString& text);

// The end of an edit in the current cell of a point table: a date or operator that does
// not fit its list is refused (Cancel); a value is normalised and its mask becomes
// ChartLastEditMask. True when the cell is a value cell.
bool TakeEditedPointCell(const TF1Book& table, QString& text, bool& cancel);

// The table's refusals, said the same way in the dialog and the chart windows.
void ShowTableRefusal(TF1Book::TRefusal refusal, int row, int col);

// The N of the mean from its edit: empty or "0" and any N below 1 become 1 (the edit
// then shows "1"); a text that is no integer is refused with message 1088, the edit
// showing "1" again. Refresh runs once the field holds the edit's N.
void TakeMeanCount(QLineEdit* edit, int& field, const std::function<void()>& refresh);

} // namespace orvek
