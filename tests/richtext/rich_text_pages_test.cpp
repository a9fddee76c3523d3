#include "richtext/markup_render.h"
#include "richtext/page_picture.h"
#include "richtext/rich_text_pages.h"

#include <QImage>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

#include <algorithm>

using namespace orvek;

namespace {

const TPageMetrics kLetter96 { 96, 96, 816, 1056 };

// Runs the page loop over Doc and answers the first character of every page.
std::vector<int> PageStarts(const QTextDocument& doc, const QRect& body)
{
    TRichTextPages pages(doc, kLetter96, body.width());
    std::vector<int> starts;
    int first = 0;
    for (int guard = 0; guard < 1000; ++guard) {
        starts.push_back(first);
        TPagePicture page(kLetter96);
        QPainter painter(&page);
        const int next = pages.RenderPage(painter, body, first);
        if (next < 0 || next <= first || next >= pages.TextLength())
            break;
        first = next;
    }
    return starts;
}

} // namespace

TEST(RichTextPages, EveryLineOnExactlyOnePage)
{
    QTextDocument doc;
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QString("line %1").arg(i);
    doc.setPlainText(lines.join('\n'));
    const QRect body(50, 60, 700, 900);
    const auto starts = PageStarts(doc, body);
    ASSERT_GT(starts.size(), 2u);
    for (size_t i = 1; i < starts.size(); ++i) {
        EXPECT_GT(starts[i], starts[i - 1]);
        // Pages start at the start of a line.
        EXPECT_EQ(doc.findBlock(starts[i]).position(), starts[i]);
    }
}

TEST(RichTextPages, EmptyAndTooSmallBodies)
{
    QTextDocument empty;
    TRichTextPages pages(empty, kLetter96, 500);
    TPagePicture page(kLetter96);
    QPainter painter(&page);
    EXPECT_EQ(pages.RenderPage(painter, QRect(0, 0, 500, 500), 0), 0);

    QTextDocument doc;
    doc.setPlainText("some text");
    TRichTextPages more(doc, kLetter96, 500);
    EXPECT_EQ(more.RenderPage(painter, QRect(0, 0, 500, 0), 0), -1);
    EXPECT_EQ(more.RenderPage(painter, QRect(0, 0, 0, 100), 0), -1);
    EXPECT_EQ(more.RenderPage(painter, QRect(0, 0, 500, 100), 0), more.TextLength());
}

TEST(RichTextPages, TableRowsStayWholeAndTheHeaderRepeats)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText("Before");
    QTextTableFormat format;
    format.setHeaderRowCount(1);
    QTextTable* table = cursor.insertTable(80, 2, format);
    table->cellAt(0, 0).firstCursorPosition().insertText("Head");
    QTextCharFormat red;
    red.setBackground(Qt::red);
    table->cellAt(0, 0).setFormat(red); // the header row shows where it is drawn
    for (int r = 1; r < 80; ++r) {
        table->cellAt(r, 0).firstCursorPosition().insertText(QString("r%1").arg(r));
        table->cellAt(r, 1).firstCursorPosition().insertText("two\nlines");
    }
    const QRect body(0, 0, 600, 500);
    const auto starts = PageStarts(doc, body);
    ASSERT_GE(starts.size(), 3u);
    for (size_t i = 1; i < starts.size(); ++i) {
        // Each later page starts with the first cell of a row.
        const QTextTableCell cell = table->cellAt(starts[i]);
        ASSERT_TRUE(cell.isValid()) << starts[i];
        EXPECT_EQ(cell.column(), 0);
        EXPECT_EQ(cell.firstPosition(), starts[i]);
    }

    // A continued page shows the header row at its top.
    TRichTextPages pages(doc, kLetter96, body.width());
    TPagePicture picture(kLetter96);
    {
        QPainter painter(&picture);
        pages.RenderPage(painter, body, starts[1]);
    }
    QImage image(600, 500, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        picture.DrawScaled(p, QRectF(0, 0, 816, 1056));
    }
    int firstRed = -1, lastRed = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < 200; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60) {
                if (firstRed < 0)
                    firstRed = y;
                lastRed = y;
                break;
            }
        }
    }
    EXPECT_GE(firstRed, 0);
    EXPECT_LT(firstRed, 10);
    EXPECT_LT(lastRed, 40); // the header once, at the top
}

TEST(RichTextPages, TallPictureIsScaledOntoAPageOfItsOwn)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText("text");
    cursor.insertBlock();
    QImage tall(50, 3000, QImage::Format_RGB32);
    tall.fill(Qt::black);
    doc.addResource(QTextDocument::ImageResource, QUrl("tall"), tall);
    QTextImageFormat image;
    image.setName("tall");
    image.setWidth(50);
    image.setHeight(3000);
    cursor.insertImage(image);
    cursor.insertBlock();
    cursor.insertText("after");
    const auto starts = PageStarts(doc, QRect(0, 0, 600, 800));
    EXPECT_EQ(starts.size(), 3u);
}

TEST(RichTextPages, TallRowAfterAnEmptyParagraphStillLetsThePagesGoOn)
{
    // An empty paragraph and the table after it share one character position (the
    // document's start, or a blank line before a table). A first row taller than the
    // body used to end the page loop there: everything after it was never printed.
    QImage tall(50, 3000, QImage::Format_RGB32);
    tall.fill(Qt::black);
    for (const bool textBefore : { false, true }) {
        QTextDocument doc;
        doc.addResource(QTextDocument::ImageResource, QUrl("tall"), tall);
        QTextCursor cursor(&doc);
        if (textBefore) {
            cursor.insertText("before");
            cursor.insertBlock();
        }
        QTextTable* table = cursor.insertTable(3, 1);
        QTextImageFormat image;
        image.setName("tall");
        image.setWidth(50);
        image.setHeight(3000);
        table->cellAt(0, 0).firstCursorPosition().insertImage(image);
        table->cellAt(1, 0).firstCursorPosition().insertText("row two");
        table->cellAt(2, 0).firstCursorPosition().insertText("row three");
        cursor.movePosition(QTextCursor::End);
        cursor.insertText("after");

        TRichTextPages pages(doc, kLetter96, 600);
        int first = 0, count = 0;
        int next = 0;
        for (; count < 100; ++count) {
            TPagePicture page(kLetter96);
            QPainter painter(&page);
            next = pages.RenderPage(painter, QRect(0, 0, 600, 800), first);
            ASSERT_GT(next, first) << "page " << count + 1 << (textBefore ? " with text before" : "");
            if (next >= pages.TextLength())
                break;
            first = next;
        }
        EXPECT_EQ(next, pages.TextLength());
    }
}

// Rendered report pieces: a heading keeps with its table, and a short table stays on
// one page, wherever the page would have ended.
TEST(RichTextPages, HeadingsAndShortTablesStayWithWhatFollows)
{
    QString table = ":TABLE_BEGIN[2,6]10,50,1250,3050,";
    for (int r = 1; r <= 6; ++r)
        table += QString("[cf3]Label %1[cf1]\t%1,5 g\r").arg(r);
    table += ":TABLE_END";
    const QRect body(50, 60, 700, 900);
    int splitBefore = 0;
    for (int lines = 30; lines < 70; ++lines) {
        QString markup;
        for (int i = 0; i < lines; ++i)
            markup += QString("line %1\r").arg(i);
        markup += "[cf3]Heading:[cf1]\r" + table + "after";
        QTextDocument doc;
        RenderMarkupToRichEdit(10, "Arial", true, &doc, markup);
        const int heading = doc.find("Heading:").selectionStart();
        const int lastRow = doc.find("6,5 g").selectionStart();
        const auto starts = PageStarts(doc, body);
        const auto pageOf
            = [&](int pos) { return std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin(); };
        EXPECT_EQ(pageOf(heading), pageOf(lastRow)) << lines << " lines before";
        if (pageOf(heading) > 1)
            ++splitBefore;
    }
    EXPECT_GT(splitBefore, 0) << "some cases must reach the next page";
}

// A page that starts with a table row shows the table's top border above it.
TEST(RichTextPages, ATableStartingAPageKeepsItsTopBorder)
{
    QTextDocument doc;
    QStringList lines;
    for (int i = 0; i < 40; ++i)
        lines << QString("line %1").arg(i);
    QString markup = lines.join('\r') + "\r:TABLE_BEGIN[2,30]10,50,1250,3050,";
    for (int r = 1; r <= 30; ++r)
        markup += QString("[cf3]Label %1[cf1]\t%1,5 g\r").arg(r);
    markup += ":TABLE_END";
    RenderMarkupToRichEdit(10, "Arial", true, &doc, markup);
    const QRect body(0, 0, 600, 700);
    const auto starts = PageStarts(doc, body);
    ASSERT_GE(starts.size(), 2u);
    TRichTextPages pages(doc, kLetter96, body.width());
    TPagePicture picture(kLetter96);
    {
        QPainter painter(&picture);
        pages.RenderPage(painter, body, starts[1]);
    }
    QImage image(600, 700, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        picture.DrawScaled(p, QRectF(0, 0, 816, 1056));
    }
    // The first ink from the top is a line across the first column, above its text.
    int firstInk = -1;
    for (int y = 0; y < image.height() && firstInk < 0; ++y)
        for (int x = 0; x < 300; ++x)
            if (qGray(image.pixel(x, y)) < 100) {
                firstInk = y;
                break;
            }
    ASSERT_GE(firstInk, 0);
    int dark = 0;
    for (int x = 10; x < 70; ++x)
        dark += qGray(image.pixel(x, firstInk)) < 100 || qGray(image.pixel(x, firstInk + 1)) < 100;
    EXPECT_GT(dark, 50) << "a border line at y " << firstInk;
}
