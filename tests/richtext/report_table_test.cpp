#include "richtext/markup_read.h"
#include "richtext/markup_render.h"
#include "richtext/report_table.h"

#include "platform/rtf_reader.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace orvek;

TEST(ReportTable, OwnerAllocatesOnceAndAlwaysReleases)
{
    ASSERT_EQ(ReportTable, nullptr);
    {
        ReportTableOwner outer;
        TStringTable* table = ReportTable;
        ASSERT_NE(table, nullptr);
        {
            ReportTableOwner inner; // a writer inside a whole report uses the report's table
            EXPECT_EQ(ReportTable, table);
        }
        EXPECT_EQ(ReportTable, table);
    }
    EXPECT_EQ(ReportTable, nullptr);
    // An error between allocation and release leaves nothing behind.
    EXPECT_THROW(
        {
            ReportTableOwner owner;
            owner.Table().Cells(101, 1) = "x";
        },
        std::out_of_range);
    EXPECT_EQ(ReportTable, nullptr);
    ReportTableOwner owner;
    EXPECT_THROW(owner.Table().Cells(1, 2001), std::out_of_range);
    EXPECT_THROW(owner.Table().Cells(0, 1), std::out_of_range);
    EXPECT_NO_THROW(owner.Table().Cells(100, 2000));
}

TEST(ReportTable, BuildTableMarkup)
{
    ReportTableOwner owner;
    TStringTable& t = owner.Table();
    t.Clear();
    t.ColCount = 4;
    t.RowCount = 1;
    const int widths[] = { 1200, 1800, 1200, 5000 };
    for (int i = 1; i <= 4; ++i) {
        t.ColWidths[i] = widths[i - 1];
        t.Cells(i, 1) = QString("[cf3]H%1[cf1]").arg(i);
    }
    QString text = "old content";
    BuildTableMarkup(false, 0, 10, text, 50);
    EXPECT_EQ(text.toStdString(),
        "\r:TABLE_BEGIN[4,1]10,50,1250,3050,4250,9250,"
        "[cf3]H1[cf1]\t[cf3]H2[cf1]\t[cf3]H3[cf1]\t[cf3]H4[cf1]\r:TABLE_END");
    // Cells that hold row or cell separators keep the block's rows intact.
    t.RowCount = 2;
    t.Cells(1, 2) = "a\tb\r\nc";
    t.Cells(2, 2) = "{\\rtf1 x\r\ny\tz}";
    BuildTableMarkup(false, 0, 10, text, 50);
    EXPECT_TRUE(text.endsWith("a b c\t{\\rtf1 xy\\tab z}\t\t\r:TABLE_END")) << text.toStdString();
    QTextDocument doc;
    RenderMarkupToRichEdit(10, "Arial", false, &doc, text);
    EXPECT_TRUE(doc.toPlainText().contains("xy\tz"));

    // A line end after a control word ends that word: as stored rich texts are written,
    // "\par" at a line end followed by the next line's text, or a picture's size
    // followed by its data.
    t.RowCount = 1;
    t.ColCount = 1;
    t.Cells(1, 1) = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\r\n\\f0\\fs20 line1\\par\r\nline2\\par\r\n2nd\\\\par\r\nx}";
    BuildTableMarkup(false, 0, 10, text, 0);
    QTextDocument cell;
    RenderMarkupToRichEdit(10, "Arial", false, &cell, text);
    EXPECT_EQ(cell.toPlainText().trimmed().toStdString(), "line1\nline2\n2nd\\parx");
}

TEST(ReportTable, AutoSizeColumns)
{
    ReportTableOwner owner;
    TStringTable& t = owner.Table();
    t.Clear();
    t.ColCount = 3;
    t.RowCount = 2;
    t.Cells(1, 1) = "[cf3]Nr.[cf1]";
    t.Cells(1, 2) = "1";
    t.Cells(2, 1) = "h";
    t.Cells(2, 2) = QString(100, 'a');
    t.Cells(3, 1) = "{\\rtf1 {\\b Nr.}}";
    t.Cells(3, 2) = "";
    AutoSizeTableColumns(2, 10); // no cap
    EXPECT_EQ(t.ColWidths[1], 100 * 7 - 10 * 2 + 5 * 1); // "Nr.": n=3, O=2, U=1
    EXPECT_EQ(t.ColWidths[2], 6400);
    EXPECT_EQ(t.ColWidths[3], t.ColWidths[1]); // an RTF cell counts by its plain text
    AutoSizeTableColumns(0, 10);
    EXPECT_EQ(t.ColWidths[2], 2800); // capped: the header is narrower
    EXPECT_EQ(t.ColWidths[1], 685);
    AutoSizeTableColumns(1, 10);
    EXPECT_EQ(t.ColWidths[1], 891); // 685 × 1.3, rounded
    AutoSizeTableColumns(2, 8);
    EXPECT_EQ(t.ColWidths[2], 100 * 82 - 800 - 50 * 40);
    // Mark-up holding an RTF block (a value with its unit as rich text) counts by the
    // text it shows.
    t.ColCount = 4;
    t.Cells(4, 1) = ":RTF_BEGIN{\\rtf1 {\\b N}}:RTF_END[cf3]r.[cf1]";
    t.Cells(4, 2) = "";
    AutoSizeTableColumns(2, 10);
    EXPECT_EQ(t.ColWidths[4], t.ColWidths[1]);
}

TEST(ReportTable, StripFormatCodes)
{
    QString s = "[cf3]a[cf1][cfcenter][cfsize12]b[cf1][cfcolorred]c[cf1][cf3][cf3]d";
    StripFormatCodes(s);
    EXPECT_EQ(s, "a12]bred]cd");
    EXPECT_EQ(PlainTextOfRtfBlock(":RTF_BEGIN{\\rtf1 {\\b x}y}:RTF_END"), "xy");
}

namespace {

// For every cell of the first table of Doc laid out at the report body's width: does a
// line of it start inside a word?
QStringList BrokenWords(QTextDocument& doc)
{
    doc.setTextWidth(ReportBodyWidth() * PixelsPerTwip);
    doc.documentLayout()->documentSize();
    QStringList broken;
    QTextTable* table = nullptr;
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if ((table = qobject_cast<QTextTable*>(f)))
            break;
    if (!table)
        return { "no table" };
    for (int r = 0; r < table->rows(); ++r)
        for (int c = 0; c < table->columns(); ++c) {
            const QTextBlock block = table->cellAt(r, c).firstCursorPosition().block();
            const QString text = block.text();
            for (int i = 1; i < block.layout()->lineCount(); ++i) {
                const int at = block.layout()->lineAt(i).textStart();
                if (at > 0 && text[at - 1] != ' ')
                    broken << text;
            }
        }
    return broken;
}

} // namespace

// Columns are as wide as their widest word, header words included, so that neither a
// header nor a number breaks; a table too wide for the page gives up the room its text
// columns can spare first, and a column that wraps takes the room other columns leave.
TEST(ReportTable, ColumnsFitTheirWordsAndThePage)
{
    ReportTableOwner owner;
    TStringTable& t = owner.Table();
    struct Case {
        const char* name;
        int width; // given to every column
        int columns;
    };
    for (const Case& c : { Case { "too narrow", 600, 7 }, Case { "too wide", 2600, 7 }, Case { "wrapping", 900, 3 } }) {
        SCOPED_TRACE(c.name);
        t.Clear();
        t.ColCount = c.columns;
        t.RowCount = 3;
        const QStringList headers { "Quantity", "Estimate", "Standard uncertainty", "Distribution", "Sensitivity",
            "Contribution", "Degrees of freedom" };
        for (int col = 1; col <= c.columns; ++col) {
            t.ColWidths[col] = c.width;
            t.Cells(col, 1) = "[cf3]" + headers[col - 1] + "[cf1]";
            t.Cells(col, 2) = "-0.000000100";
            t.Cells(col, 3) = col == 2 ? "a combination of several distributions" : "-0.0000166";
        }
        QString text;
        BuildTableMarkup(false, 0, 10, text, 50);
        int total = 0;
        for (int col = 1; col <= c.columns; ++col)
            total += t.ColWidths[col];
        EXPECT_LE(total, ReportBodyWidth() - 50);
        QTextDocument doc;
        RenderMarkupToRichEdit(10, "Arial", false, &doc, text);
        EXPECT_EQ(BrokenWords(doc), QStringList());
        if (QString(c.name) == "wrapping") {
            EXPECT_GT(t.ColWidths[2], t.ColWidths[1]) << "the wrapping column takes the free room";
        }
    }
}
