#include "platform/ui/chart.h"
#include "platform/ui/f1_book.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
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
}

// A 5 x 3 book with texts "r,c" in every cell and the refusals it reports.
struct BookFixture {
    BookFixture()
    {
        book.SetMaxRow(5);
        book.SetMaxCol(3);
        for (int r = 1; r <= 5; ++r)
            for (int c = 1; c <= 3; ++c)
                book.SetTextRC(r, c, QString("%1,%2").arg(r).arg(c));
        TF1Book::SetRefusalHandler([this](TF1Book::TRefusal refusal, int row, int col) {
            refusals << QString("%1:%2:%3").arg(int(refusal)).arg(row).arg(col);
        });
        book.OnModified = [this] { ++modified; };
    }
    ~BookFixture() { TF1Book::SetRefusalHandler({}); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&book, &press);
    }
    TF1Book book;
    QStringList refusals;
    int modified = 0;
};

TEST(F1Book, CopyCutPasteAndDeleteWorkOnTheSelectionAsTabSeparatedText)
{
    BookFixture f;
    TF1Book& book = f.book;
    book.SetSelection(1, 2, 2, 3);
    EXPECT_EQ(book.SelStartRow(), 1);
    EXPECT_EQ(book.SelEndCol(), 3);
    f.Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "1,2\t1,3\n2,2\t2,3\n");
    EXPECT_EQ(f.modified, 0);

    book.SetSelection(4, 1, 4, 1);
    f.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(book.TextRC(4, 1), "1,2");
    EXPECT_EQ(book.TextRC(5, 2), "2,3");
    EXPECT_EQ(book.TextRC(4, 3), "4,3");
    EXPECT_EQ(f.modified, 1);

    // A paste that would pass the last row or column is refused whole.
    book.SetSelection(5, 1, 5, 1);
    EXPECT_FALSE(book.PasteText("a\tb\nc\td\r\n"));
    EXPECT_EQ(f.refusals.value(0), "1:6:2");
    EXPECT_EQ(book.TextRC(5, 1), "2,2");
    book.SetSelection(1, 3, 1, 3);
    EXPECT_FALSE(book.PasteText("a\tb"));
    EXPECT_EQ(f.refusals.value(1), "1:1:4");
    EXPECT_EQ(book.TextRC(1, 3), "1,3");

    book.SetSelection(1, 1, 2, 1);
    f.Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "1,1\n2,1\n");
    EXPECT_TRUE(book.TextRC(2, 1).isEmpty());
    book.SetSelection(3, 1, 3, 3);
    f.Key(Qt::Key_Delete);
    EXPECT_TRUE(book.TextRC(3, 2).isEmpty());
    EXPECT_EQ(book.TextRC(2, 2), "2,2");
    EXPECT_EQ(f.modified, 3);
}

TEST(F1Book, ProtectionRefusesEveryChangeOfLockedCells)
{
    BookFixture f;
    TF1Book& book = f.book;
    book.SetSelection(1, 3, 5, 3);
    book.SetProtection(false, false);
    book.SetEnableProtection(true);
    EXPECT_TRUE(book.LockedRC(1, 1));
    EXPECT_FALSE(book.LockedRC(1, 3));

    int starts = 0;
    book.OnStartEdit = [&](bool&) { ++starts; };
    book.SetSelection(1, 1, 1, 1);
    EXPECT_FALSE(book.edit(book.model()->index(0, 0), QAbstractItemView::EditKeyPressed, nullptr));
    f.Key(Qt::Key_Delete);
    f.Key(Qt::Key_X, Qt::ControlModifier);
    book.SetSelection(1, 2, 1, 2);
    EXPECT_FALSE(book.PasteText("x\ty"));
    EXPECT_EQ(f.refusals, QStringList({ "0:0:0", "0:0:0", "0:0:0", "0:0:0" }));
    EXPECT_EQ(book.TextRC(1, 1), "1,1");
    EXPECT_EQ(book.TextRC(1, 3), "1,3");
    EXPECT_EQ(f.modified, 0);
    EXPECT_EQ(starts, 0);

    // Unlocked cells stay editable under protection.
    book.SetSelection(2, 3, 2, 3);
    f.Key(Qt::Key_Delete);
    EXPECT_TRUE(book.TextRC(2, 3).isEmpty());
    EXPECT_TRUE(book.edit(book.model()->index(2, 2), QAbstractItemView::EditKeyPressed, nullptr));
    EXPECT_EQ(starts, 1);
    book.EndEdit();
    book.SetEnableProtection(false);
    book.SetSelection(1, 1, 1, 1);
    EXPECT_TRUE(book.PasteText("free"));
    EXPECT_EQ(book.TextRC(1, 1), "free");
}

TEST(F1Book, EndingAnEditGoesThroughTheHandlers)
{
    BookFixture f;
    TF1Book& book = f.book;
    QStringList events;
    book.OnStartEdit = [&](bool&) { events << "start"; };
    book.OnEndEdit = [&](QString& text, bool& cancel) {
        events << "end " + text;
        if (text == "keep")
            cancel = true;
        else
            text = text.toUpper();
    };
    book.OnStartRecalc = [&] { events << "recalc"; };
    book.OnKeyDown = [&](int key, Qt::KeyboardModifiers) { events << QString::number(key); };
    const auto type = [&](const QString& text) {
        book.SetSelection(2, 2, 2, 2);
        ASSERT_TRUE(book.edit(book.model()->index(1, 1), QAbstractItemView::EditKeyPressed, nullptr));
        ASSERT_TRUE(book.IsEditing());
        auto* editor = qobject_cast<QLineEdit*>(book.indexWidget(book.currentIndex()));
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        book.EndEdit();
        EXPECT_FALSE(book.IsEditing());
    };
    type("abc");
    EXPECT_EQ(book.TextRC(2, 2), "ABC");
    type("keep");
    EXPECT_EQ(book.TextRC(2, 2), "ABC");
    f.Key(Qt::Key_Delete);
    EXPECT_EQ(events,
        QStringList({ "start", "end abc", "recalc", "start", "end keep", QString::number(Qt::Key_Delete), "recalc" }));
    EXPECT_EQ(f.modified, 2);
}

TEST(F1Book, FillPatternsOfTheSelection)
{
    BookFixture f;
    f.book.SetSelection(2, 1, 3, 3);
    f.book.SetPattern(1, Qt::cyan);
    EXPECT_EQ(f.book.FillRC(3, 2), QColor(Qt::cyan));
    EXPECT_FALSE(f.book.FillRC(1, 2).isValid());
    f.book.SetSelection(1, 1, 5, 3);
    f.book.SetPattern(0);
    EXPECT_FALSE(f.book.FillRC(3, 2).isValid());
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

TEST(Chart, ValueLabelsAreGroupedInTheFormatAndPointsKeepTheirColours)
{
    TChart chart;
    chart.resize(600, 400);
    chart.SetValueFormat("#,##0.00");
    EXPECT_EQ(chart.FormatValue(12345.678), "12,345.68");
    chart.SetValueFormat("#,##0.0");
    chart.SetValueAxis(1000, 3000, 500);
    EXPECT_EQ(chart.ValueLabels(), QStringList({ "1,000.0", "1,500.0", "2,000.0", "2,500.0", "3,000.0" }));

    for (int i = 1; i <= 4; ++i)
        chart.Series(0)->append(i, 1000 + i);
    chart.SetPointColour(0, 2, Qt::cyan);
    EXPECT_EQ(chart.PointColour(0, 2), QColor(Qt::cyan));
    EXPECT_EQ(chart.PointColour(0, 1), chart.Series(0)->color());
    chart.Series(2)->replace({ QPointF(1, 2000), QPointF(4, 2000), QPointF(4, 2000) });
    chart.SetLineLabel(2, "UCL");
    EXPECT_EQ(chart.LineLabel(2), "UCL");

    // Bottom labels that would overlap are thinned out; each text stands once.
    std::vector<std::pair<double, QString>> labels;
    for (int i = 1; i <= 400; ++i)
        labels.emplace_back(i, QString::number(i));
    chart.SetBottomLabels(labels, 10);
    const QStringList shown = chart.BottomLabels();
    EXPECT_EQ(shown.value(0), "1");
    EXPECT_LT(shown.size(), 100);
    EXPECT_GT(shown.size(), 3);

    EXPECT_FALSE(chart.Picture().isNull());
    chart.CopyToClipboard();
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());
}

} // namespace
} // namespace orvek
