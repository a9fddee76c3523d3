#include "platform/ui/chart.h"
#include "platform/ui/f1_book.h"

#include <QLineSeries>
#include <gtest/gtest.h>

namespace orvek {
namespace {

TEST(F1Book, CellsCountFromOneAndShowTheirNumberFormat)
{
    TF1Book book;
    book.SetMaxRow(10);
    book.SetMaxCol(3);
    book.SetColText(3, "Value 1");
    EXPECT_EQ(book.ColText(3), "Value 1");
    book.SetTextRC(1, 1, "first");
    book.SetTextRC(10, 3, "1.5");
    book.SetTextRC(11, 1, "outside");
    book.SetTextRC(1, 4, "outside");
    EXPECT_EQ(book.item(0, 0)->text(), "first");
    EXPECT_EQ(book.TextRC(10, 3), "1.5");
    EXPECT_EQ(book.rowCount(), 10);
    EXPECT_EQ(book.columnCount(), 3);

    // A format goes to the selection only; the text shown follows the formatter.
    book.SetSelection(5, 3, 10, 3);
    book.SetNumberFormat("0.00");
    EXPECT_EQ(book.NumberFormatRC(10, 3), "0.00");
    EXPECT_TRUE(book.NumberFormatRC(4, 3).isEmpty());
    EXPECT_EQ(book.Row(), 5);
    EXPECT_EQ(book.Col(), 3);
    EXPECT_EQ(book.NumberFormat(), "0.00");
    EXPECT_EQ(book.FormattedTextRC(10, 3), "1.5");
    TF1Book::SetFormatter([](const QString& text, const QString& format) { return text + "|" + format; });
    EXPECT_EQ(book.FormattedTextRC(10, 3), "1.5|0.00");
    EXPECT_EQ(book.FormattedTextRC(1, 1), "first");
    TF1Book::SetFormatter({});

    // Widths in 1/256 of a digit's width come back as set, within a pixel's rounding.
    book.SetColWidth(2, 4000);
    EXPECT_NEAR(book.ColWidth(2), 4000, 256);
    book.SetColHidden(1, true);
    EXPECT_TRUE(book.ColHidden(1));
    EXPECT_TRUE(book.isColumnHidden(0));

    book.SetEnableProtection(true);
    EXPECT_EQ(book.editTriggers(), QAbstractItemView::NoEditTriggers);
    book.SetEnableProtection(false);
    EXPECT_NE(book.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(Chart, EightSeriesAndTitledAxes)
{
    TChart chart;
    ASSERT_EQ(chart.SeriesCount(), 8);
    chart.Series(0)->append(1, 10.2);
    chart.Series(1)->append(1, 10);
    chart.SetLeftAxisTitle("Value");
    chart.SetBottomAxisTitle("Point");
    chart.SetValueFormat("#,##0.0000");
    EXPECT_EQ(chart.LeftAxisTitle(), "Value");
    EXPECT_EQ(chart.BottomAxisTitle(), "Point");
    EXPECT_EQ(chart.ValueFormat(), "#,##0.0000");
    EXPECT_EQ(chart.Series(8), nullptr);
    chart.ClearAllSeries();
    EXPECT_EQ(chart.Series(0)->count(), 0);
    EXPECT_EQ(chart.Series(1)->count(), 0);
}

} // namespace
} // namespace orvek
