#pragma once
// Drawing a control chart's plot (sources/chart_plot) on a chart control, reading and
// compacting a point table through the spreadsheet control, and the table's refusals,
// for the source dialog's chart pages and the chart windows alike.

#include "core/number_text.h"
#include "core/string_table.h"
#include "platform/dialogs.h"
#include "platform/ui/f1_book.h"
#include "sources/chart_point_table.h"
#include "sources/chart_window_grid.h"

#include <QLineEdit>
#include <functional>

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

// Date and operator cells go into "@"-separated lists that the model file keeps on one
// line: an "@" would shift every later point's item, a line break would end the field.
inline bool FitsPointList(const QString& text)
{
    return !text.contains(QLatin1Char('@')) && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'));
}

inline void RefuseListCharacter(int row, int col)
{
    MessageDlg(GetString(22500, { QString::number(row), QString::number(col) }), TMsgDlgType::mtError, mbRetry);
}

// A paste into a point table: date and operator cells must fit their lists.
inline bool AcceptPastedPointCell(int row, int col, const QString& text)
{
    if (col > 2 || FitsPointList(text))
        return true;
    RefuseListCharacter(row, col);
    return false;
}

// The table's refusals, said the same way in the dialog and the chart windows.
inline void ShowTableRefusal(TF1Book::TRefusal refusal, int row, int col)
{
    if (refusal == TF1Book::TRefusal::PasteTooLarge)
        MessageDlg(GetString(22501, { QString::number(row), QString::number(col) }), TMsgDlgType::mtError, mbRetry);
    else
        MessageDlg(GetString(22502), TMsgDlgType::mtError, mbRetry);
}

// The N of the mean from its edit: empty or "0" and any N below 1 become 1 (the edit
// then shows "1"); a text that is no integer is refused with message 1088, the edit
// showing "1" again. Refresh runs once the field holds the edit's N.
inline void TakeMeanCount(QLineEdit* edit, int& field, const std::function<void()>& refresh)
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
