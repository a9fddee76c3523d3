// The pagination of the program held to the reference pagination (reference_pages.h):
// on the end-gauge example's full report and on a report of about 200 pages, every page
// starts and ends at the same character and looks the same, pixel for pixel.

#include "reference_pages.h"
#include "report_fixtures.h"
#include "richtext/markup_render.h"
#include "richtext/page_picture.h"
#include "richtext/report_texts.h"
#include "richtext/rich_text_pages.h"

#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace orvek;
using namespace orvek::test;

namespace {

const TPageMetrics kLetter96 { 96, 96, 816, 1056 };
// The body of a Letter page at 96 pixels per inch with the reports' margins.
const QRect kBody(40, 63, 700, 830);

QImage Blank()
{
    QImage image(kLetter96.PageWidth, kLetter96.PageHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

// Paginates Doc with both paginations and compares every page; answers the pages.
int ComparePages(const QTextDocument& doc)
{
    TRichTextPages pages(doc, kLetter96, kBody.width());
    TReferencePages reference(doc, kLetter96, kBody.width());
    EXPECT_EQ(pages.TextLength(), reference.TextLength());
    int first = 0, count = 0;
    for (;;) {
        ++count;
        QImage drawn = Blank(), expected = Blank();
        int next = 0, expectedNext = 0;
        {
            QPainter painter(&drawn);
            next = pages.RenderPage(painter, kBody, first);
        }
        {
            QPainter painter(&expected);
            expectedNext = reference.RenderPage(painter, kBody, first);
        }
        EXPECT_EQ(next, expectedNext) << "page " << count;
        EXPECT_TRUE(drawn == expected) << "page " << count << " from character " << first;
        if (next != expectedNext || drawn != expected || next <= first || next >= reference.TextLength())
            break;
        first = next;
    }
    return count;
}

QTextDocument* FullReport(TCell& model, QTextDocument& doc)
{
    RenderMarkupToRichEdit(ReportFontSize, ReportFontName, true, &doc, FullReportText(model));
    return &doc;
}

} // namespace

TEST(PaginationReference, EndGaugeFullReportPagesAreTheReferencePages)
{
    ResetReportSettings();
    ReportSections = 31;
    auto model = LoadReportModel("gum_h1_end_gauge.txt");
    model->Calculate();
    QTextDocument doc;
    EXPECT_GE(ComparePages(*FullReport(*model, doc)), 3);
}

TEST(PaginationReference, LongReportPagesAreTheReferencePages)
{
    ResetReportSettings();
    ReportSections = 31; // with a description of every cell
#ifdef __SANITIZE_ADDRESS__
    // The reference draws the whole document for every page: under the sanitizer a
    // report of a few dozen pages checks the same paths in a bearable time; the normal
    // build compares the long one.
    constexpr int kInputs = 40, kMinimumPages = 36;
#else
    constexpr int kInputs = 200, kMinimumPages = 180;
#endif
    auto model = GeneratedModel(kInputs, 2);
    model->Calculate();
    ASSERT_FALSE(model->FCombinedUncertainty.isEmpty());
    QTextDocument doc;
    EXPECT_GE(ComparePages(*FullReport(*model, doc)), kMinimumPages);
}
