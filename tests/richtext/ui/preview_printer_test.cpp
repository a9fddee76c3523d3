#include "platform/ui/printer.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/report_table.h"
#include "richtext/ui/markup_rich_edit.h"
#include "richtext/ui/preview_printer.h"
#include "tests/support/dialog_script.h"
#include "tests/support/test_env.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

struct PdfWord {
    int page;
    double xMin, yMin, xMax, yMax;
    QString text;
};

// The words of a PDF with their boxes in points, through poppler's pdftotext.
std::vector<PdfWord> PdfWords(const QString& pdf, int* pages = nullptr)
{
    QProcess p;
    p.start("pdftotext", { "-bbox", pdf, "-" });
    EXPECT_TRUE(p.waitForFinished(30000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    std::vector<PdfWord> words;
    int page = 0;
    static const QRegularExpression token(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith("<page")) {
            ++page;
            continue;
        }
        words.push_back({ page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
            m.captured(4).toDouble(), m.captured(5) });
    }
    if (pages)
        *pages = page;
    return words;
}

QString PageText(const std::vector<PdfWord>& words, int page)
{
    QStringList list;
    for (const PdfWord& w : words)
        if (w.page == page)
            list << w.text;
    return list.join(' ');
}

QString PdfPath(const QString& name)
{
    return test::TestRoot() + "/" + name;
}

// Pages are printed into Path.
void PrintInto(const QString& path)
{
    SharedPrinter().setOutputFormat(QPrinter::PdfFormat);
    SharedPrinter().setOutputFileName(path);
}

QString Lines(int count, const QString& prefix = "Line")
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QString("%1 %2 of the measurement report").arg(prefix).arg(i, 4, 10, QChar('0'));
    return lines.join('\n');
}

} // namespace

TEST(PreviewPrinter, EmptyTextGivesOnePageWithFrameTexts)
{
    TRichEdit98 edit;
    TPreviewPrinter printer;
    printer.TextOptions.Header = "Empty report";
    ASSERT_TRUE(printer.PrintRichEdit(false, edit));
    EXPECT_EQ(printer.PageCount(), 1);

    const QString pdf = PdfPath("empty.pdf");
    PrintInto(pdf);
    ASSERT_TRUE(printer.Print());
    int pages = 0;
    const auto words = PdfWords(pdf, &pages);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(PageText(words, 1), "Empty report Page 1");
}

TEST(PreviewPrinter, UntouchedLastPageIsDropped)
{
    TPreviewPrinter printer;
    printer.BeginDoc();
    printer.GetCanvas()->drawText(10, 10, "x");
    printer.NewPage();
    printer.GetCanvas();
    printer.NewPage();
    printer.EndDoc();
    EXPECT_EQ(printer.PageCount(), 2);
    EXPECT_FALSE(printer.Printing());
}

TEST(PreviewPrinter, UnitConversions)
{
    TPreviewPrinter printer;
    printer.PixelsPerInchX = 600;
    printer.PixelsPerInchY = 300;
    EXPECT_EQ(printer.XToDevice(1.5), 900);
    EXPECT_EQ(printer.YToDevice(1.5), 450);
    printer.SetUnits(unCentimeters);
    EXPECT_EQ(printer.XToDevice(2.54), 600);
    EXPECT_DOUBLE_EQ(printer.DeviceToUnits(600), 2.54);
    // Halves go to the even neighbour.
    printer.PixelsPerInchX = 1;
    printer.SetUnits(unInches);
    EXPECT_EQ(printer.XToDevice(2.5), 2);
    EXPECT_EQ(printer.XToDevice(3.5), 4);
}

// The body rectangle: the margins in inches weighted 600, 950, 1500 and 1300 twips,
// the paper's height measured with the vertical resolution.
TEST(PreviewPrinter, BodyRectangleOnADeviceWithUnequalResolutions)
{
    TPreviewPrinter printer;
    printer.PixelsPerInchX = 600;
    printer.PixelsPerInchY = 300;
    printer.PageWidth = 5100; // 8.5 in
    printer.PageHeight = 3300; // 11 in
    const QRect body = printer.BodyRect();
    EXPECT_EQ(body.left(), 250); // 600 twips
    EXPECT_EQ(body.top(), 198); // 950 twips
    EXPECT_EQ(body.right() + 1, 4688); // (8.5 - 1) x 1500 twips
    EXPECT_EQ(body.bottom() + 1, 2708); // (11 - 1) x 1300 twips
}

// A long report printed to PDF: every line once, in order, the pages as the printer
// counted them, and the body, header and page number where the layout puts them.
TEST(PreviewPrinter, LongReportPrintsToPdfWithItsGeometry)
{
    TRichEdit98 edit;
    QString text = "Wide paragraph:";
    for (int i = 0; i < 40; ++i)
        text += " wrapping words";
    text += "\n" + Lines(1560);
    edit.setPlainText(text);
    QFont f("Arial");
    f.setPointSize(10);
    edit.document()->setDefaultFont(f);

    TPreviewPrinter printer;
    printer.TextOptions.Header = "Report header";
    printer.TextOptions.HeaderFont = QFont("Arial", 12);
    printer.TextOptions.HeaderMargin = 0.5;
    printer.SetUnits(unCentimeters); // pagination counts the margins as inches regardless
    ASSERT_TRUE(printer.PrintRichEdit(false, edit));
    ASSERT_EQ(printer.PageCount(), 29); // A4, the paper of the tests' locale
    EXPECT_EQ(printer.Units(), unCentimeters);

    const QString pdf = PdfPath("long.pdf");
    PrintInto(pdf);
    ASSERT_TRUE(printer.Print());
    int pages = 0;
    const auto words = PdfWords(pdf, &pages);
    ASSERT_EQ(pages, printer.PageCount());
    QProcess info;
    info.start("pdfinfo", { pdf });
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(info.readAllStandardOutput().contains("(A4)")) << "the paper of the locale, not US Letter";

    // Every line exactly once and in order.
    int expected = 1;
    for (const PdfWord& w : words) {
        if (w.text.size() != 4 || !w.text.at(0).isDigit())
            continue;
        ASSERT_EQ(w.text.toInt(), expected) << "page " << w.page << " y " << w.yMin;
        ++expected;
    }
    EXPECT_EQ(expected, 1561);

    // Body rectangle in points on A4 paper: left 600 twips, top 950 twips, right
    // (210 / 25.4 - 1) x 1500 twips.
    const double left = 30, top = 47.5, right = (210 / 25.4 - 1) * 1500 / 20;
    double firstTop = 1e9, maxRight = 0, minLeft = 1e9;
    for (const PdfWord& w : words) {
        if (w.page != 1 || w.text == "Report" || w.text == "header")
            continue;
        firstTop = std::min(firstTop, w.yMin);
        maxRight = std::max(maxRight, w.xMax);
        minLeft = std::min(minLeft, w.xMin);
    }
    EXPECT_NEAR(firstTop, top, 3.0);
    EXPECT_NEAR(minLeft, left, 1.5);
    EXPECT_LE(maxRight, right + 1.0);
    EXPECT_GT(maxRight, right - 60); // the wide paragraph wraps at the right edge

    // The 12-point header is a sixth of an inch (12 pt) high, give or take the face's
    // ascent and descent, and its top lies 1.2 text heights above the header line (36 pt).
    for (const PdfWord& w : words) {
        if (w.page == 1 && w.text == "Report") {
            EXPECT_NEAR(w.yMax - w.yMin, 12.0, 2.5);
            EXPECT_NEAR(w.yMin, 36.0 - 1.2 * (w.yMax - w.yMin), 1.5);
        }
        if (w.text == "Report" || w.text == "header") {
            EXPECT_EQ(w.page, 1) << "the header belongs to the first page only";
        }
    }
    EXPECT_TRUE(PageText(words, 2).contains("Page 2"));
    EXPECT_TRUE(PageText(words, pages).endsWith(QString("Page %1").arg(pages)));
}

TEST(PreviewPrinter, FrameTextsAndPageNumberPlacement)
{
    TRichEdit98 edit;
    edit.setPlainText(Lines(120));
    TPreviewPrinter printer;
    printer.TextOptions.Header = "First line.new_row.Second line";
    printer.TextOptions.Footer = "Foot";
    printer.TextOptions.PrintPageNumber = pnTop;
    printer.TextOptions.PageNumText = "%d%% done, page %d";
    ASSERT_TRUE(printer.PrintRichEdit(false, edit));
    ASSERT_GE(printer.PageCount(), 2);
    const QString pdf = PdfPath("frame.pdf");
    PrintInto(pdf);
    ASSERT_TRUE(printer.Print());
    const auto words = PdfWords(pdf);
    double first = 0, second = 0, number2 = 0;
    for (const PdfWord& w : words) {
        if (w.page == 1 && w.text == "First")
            first = w.yMin;
        if (w.page == 1 && w.text == "Second")
            second = w.yMin;
        if (w.page == 2 && w.text == "2%%")
            number2 = w.yMax;
    }
    // The two lines' tops lie 1.5 and 0.5 line heights above the header line (36 pt).
    const double line = second - first;
    EXPECT_GT(line, 10.0);
    EXPECT_NEAR(first, 36.0 - 1.5 * line, 2.0);
    EXPECT_FALSE(PageText(words, 2).contains("First"));
    EXPECT_TRUE(PageText(words, 2).contains("Foot"));
    // Only "%d" is replaced; the page number stands on the header line on every page.
    EXPECT_TRUE(PageText(words, 2).contains("2%% done, page 2"));
    EXPECT_GT(number2, 0);
    EXPECT_LT(number2, 40);
}

TEST(PreviewPrinter, PrintDialogRangeAndCopiesPrintAsSeparateJobs)
{
    TRichEdit98 edit;
    edit.setPlainText(Lines(200));
    TPreviewPrinter printer;
    ASSERT_TRUE(printer.PrintRichEdit(false, edit));
    ASSERT_GE(printer.PageCount(), 3);
    QList<int> printed;
    int jobs = 0;
    printer.OnStatus = [&](QObject*, const QString&, int page, TStatusType type) {
        if (type == stPrinting)
            printed << page;
        if (type == stPrintFinished)
            ++jobs;
    };
    const QString pdf = PdfPath("range.pdf");
    test::DialogScript::Instance().AnswerPrint(2, 3, 2, pdf);
    ASSERT_TRUE(printer.PrintWithDialog());
    EXPECT_EQ(jobs, 2);
    EXPECT_EQ(printed, (QList<int> { 1, 2, 1, 2 }));
    int pages = 0;
    PdfWords(pdf, &pages);
    EXPECT_EQ(pages, 2);

    test::DialogScript::Instance().AnswerPrint(0, 0, 1, QString(), false);
    EXPECT_FALSE(printer.PrintWithDialog());
    EXPECT_EQ(jobs, 2);
    EXPECT_TRUE(test::DialogScript::Instance().AllAnswered());
}

TEST(PreviewPrinter, PrintRangeThatCannotStartReportsFalse)
{
    TRichEdit98 edit;
    edit.setPlainText("one page");
    TPreviewPrinter printer;
    ASSERT_TRUE(printer.PrintRichEdit(false, edit));
    PrintInto(PdfPath("bad.pdf"));
    EXPECT_FALSE(printer.PrintRange(0, 1));
    EXPECT_FALSE(printer.PrintRange(-1, 0));
    EXPECT_FALSE(printer.PrintRange(1, 0));
    EXPECT_TRUE(printer.PrintRange(0, 0));
}

TEST(PreviewPrinter, BodyTooSmallForAnyTextEndsAndReports)
{
    TRichEdit98 edit;
    edit.setPlainText(Lines(10));
    TPreviewPrinter printer;
    printer.TextOptions.MarginTop = 20; // the top lies below the bottom
    EXPECT_FALSE(printer.PrintRichEdit(false, edit));
    EXPECT_EQ(printer.PageCount(), 1);
}

TEST(PreviewPrinter, PictureTallerThanTheBodyGetsAPageOfItsOwn)
{
    QImage tall(120, 4000, QImage::Format_RGB32);
    tall.fill(Qt::red);
    QPainter(&tall).fillRect(0, 2000, 120, 2000, Qt::blue);
    TRichEdit98 edit;
    QTextCursor cursor(edit.document());
    cursor.insertText("Before the picture");
    cursor.insertBlock();
    edit.document()->addResource(QTextDocument::ImageResource, QUrl("tall.png"), tall);
    QTextImageFormat image;
    image.setName("tall.png");
    image.setWidth(120);
    image.setHeight(4000);
    cursor.insertImage(image);
    cursor.insertBlock();
    cursor.insertText("After the picture");

    TPreviewPrinter printer;
    ASSERT_TRUE(printer.PrintRichEdit(false, edit));
    ASSERT_EQ(printer.PageCount(), 3);

    // The picture's page shows both its red top and its blue bottom inside the body.
    const TPagePicture* page = printer.GetPage(1);
    QImage out(printer.PageWidth, printer.PageHeight, QImage::Format_RGB32);
    out.fill(Qt::white);
    {
        QPainter p(&out);
        page->DrawScaled(p, QRectF(0, 0, out.width(), out.height()));
    }
    const QRect body = printer.BodyRect();
    int redTop = -1, blueBottom = -1;
    for (int y = 0; y < out.height(); ++y) {
        for (int x = body.left(); x < body.left() + 20; ++x) {
            const QColor c = out.pixelColor(x, y);
            if (c.red() > 200 && c.blue() < 60 && redTop < 0)
                redTop = y;
            if (c.blue() > 200 && c.red() < 60)
                blueBottom = y;
        }
    }
    ASSERT_GE(redTop, 0);
    ASSERT_GE(blueBottom, 0);
    EXPECT_GE(redTop, body.top() - 1);
    EXPECT_LE(blueBottom, body.bottom() + 1);

    const QString pdf = PdfPath("picture.pdf");
    PrintInto(pdf);
    ASSERT_TRUE(printer.Print());
    const auto words = PdfWords(pdf);
    EXPECT_TRUE(PageText(words, 1).startsWith("Before the picture"));
    EXPECT_TRUE(PageText(words, 3).startsWith("After the picture"));
}

TEST(PreviewPrinter, ReportTableRepeatsItsHeaderRowAndKeepsRowsWhole)
{
    ReportTableOwner owner;
    TStringTable& t = owner.Table();
    t.Clear();
    t.ColCount = 3;
    t.RowCount = 1;
    t.Cells(1, 1) = "[cf3]Quantity[cf1]";
    t.Cells(2, 1) = "[cf3]Estimate[cf1]";
    t.Cells(3, 1) = "[cf3]Uncertainty[cf1]";
    for (int r = 1; r <= 130; ++r) {
        ++t.RowCount;
        t.Cells(1, t.RowCount) = QString("Q%1").arg(r, 4, 10, QChar('0'));
        t.Cells(2, t.RowCount) = QString("%1,5 g").arg(r);
        t.Cells(3, t.RowCount) = "0,01 g";
    }
    QString table;
    BuildTableMarkup(true, 0, 10, table, 50);
    TRichEdit98 edit;
    RenderMarkupToRichEdit(10, "Arial", false, edit, "Budget\r" + table + "\rEnd of budget");

    TPreviewPrinter printer;
    ASSERT_TRUE(printer.PrintRichEdit(false, edit));
    ASSERT_GE(printer.PageCount(), 3);
    const QString pdf = PdfPath("table.pdf");
    PrintInto(pdf);
    ASSERT_TRUE(printer.Print());
    int pages = 0;
    const auto words = PdfWords(pdf, &pages);
    for (int p = 1; p <= pages; ++p) {
        const QString text = PageText(words, p);
        if (text.contains("Q0")) {
            EXPECT_TRUE(text.contains("Quantity Estimate Uncertainty")) << "page " << p;
        }
    }
    // Each row once, whole: its three cells on one page.
    for (int r = 1; r <= 130; ++r) {
        const QString name = QString("Q%1").arg(r, 4, 10, QChar('0'));
        int count = 0, page = 0;
        for (const PdfWord& w : words) {
            if (w.text == name) {
                ++count;
                page = w.page;
            }
        }
        ASSERT_EQ(count, 1) << name.toStdString();
        EXPECT_TRUE(PageText(words, page).contains(name + QString(" %1,5 g 0,01 g").arg(r)));
    }
    EXPECT_TRUE(PageText(words, pages).contains("End of budget"));
}

// The page number and the footer lines drawn on the same base line (or the first page's
// header, for a number at the top) each keep a line of their own, on the paper: the
// number goes beyond them towards the paper's edge, or to their other side where the
// paper ends first.
TEST(PreviewPrinter, PageNumberSharesNoLineWithTheFooterOrHeader)
{
    struct Case {
        const char* name;
        TPrintPageNumber where;
        QString header, footer;
        double footerMargin; // inches
        bool numberBeyond; // towards the paper's edge
    };
    const Case cases[] = {
        { "two footer lines", pnBottom, "", "Orvek version line.new_row.Notice of the program", 0.4, true },
        { "one footer line", pnBottom, "", "Notice of the program", 0.5, true },
        { "footer at the paper's edge", pnBottom, "", "Orvek version line.new_row.Notice of the program", 0.15, false },
        { "two header lines", pnTop, "Orvek version line.new_row.Notice of the program", "", 0.4, true },
    };
    TRichEdit98 edit;
    edit.setPlainText(Lines(120));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPreviewPrinter printer;
        TTextOptions& o = printer.TextOptions;
        QFont small("Times New Roman");
        small.setPointSizeF(9.75); // 13 pixels at 96 pixels per inch
        small.setItalic(true);
        o.FooterFont = o.PageNumFont = o.HeaderFont = small;
        o.Header = c.header;
        o.Footer = c.footer;
        o.HeaderMargin = 0.55;
        o.FooterMargin = c.footerMargin;
        o.HeaderAlign = o.FooterAlign = o.PageNumAlign = taCenter;
        o.PrintPageNumber = c.where;
        o.PageNumText = "Page %d";
        ASSERT_TRUE(printer.PrintRichEdit(false, edit));
        ASSERT_GE(printer.PageCount(), 2);
        const QString pdf = PdfPath("page-number.pdf");
        PrintInto(pdf);
        ASSERT_TRUE(printer.Print());
        const auto words = PdfWords(pdf);
        const double paperHeight = 297 / 25.4 * 72;
        // Page 1: the header is drawn there too.
        double numberTop = -1, numberBottom = -1, linesTop = 1e9, linesBottom = -1;
        for (const PdfWord& w : words) {
            if (w.page != 1)
                continue;
            if (w.text == "Page") {
                numberTop = w.yMin;
                numberBottom = w.yMax;
            } else if (w.text == "version" || w.text == "Notice") {
                linesTop = std::min(linesTop, w.yMin);
                linesBottom = std::max(linesBottom, w.yMax);
            }
        }
        ASSERT_GE(numberTop, 0) << "the page number is on the page";
        ASSERT_GE(linesBottom, 0) << "the footer or header is on the page";
        EXPECT_TRUE(numberBottom <= linesTop || numberTop >= linesBottom)
            << "number " << numberTop << ".." << numberBottom << ", lines " << linesTop << ".." << linesBottom;
        EXPECT_LE(numberBottom, paperHeight);
        EXPECT_GE(numberTop, 0.0);
        const bool beyond = c.where == pnBottom ? numberTop >= linesBottom : numberBottom <= linesTop;
        EXPECT_EQ(beyond, c.numberBeyond);
        EXPECT_TRUE(PageText(words, 2).contains("Page 2"));
    }
}
