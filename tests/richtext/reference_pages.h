#pragma once
// The pagination the report pages were first cut with, kept as the reference the
// program's TRichTextPages is held to: every page it draws and every character it
// answers must be the same. It draws each page by painting the whole laid-out document
// clipped to the page, which is simple and slow.
//
// Cuts a rich-text document into pages. The document is laid out once at the width of
// the target rectangle, on the device the pages are recorded for; each page then draws
// what fits from a given character on and answers the character the next page starts
// with. Lines are never cut; a table row is kept whole, and a table continued on a new
// page repeats its header rows first. A paragraph or row that keeps with the next one
// (rtfprop::KeepWithNext: headings, the rows of short tables) does not end a page unless
// a whole page is one such chain. A page that starts inside a table shows the table's
// border above its first row. Anything taller than a whole page body (a picture, a row)
// gets a page of its own, scaled down to fit.

#include "richtext/page_picture.h"

#include <QRect>
#include <memory>
#include <vector>

class QPainter;
class QTextDocument;
class QTextTable;

namespace orvek::test {

class TReferencePages {
public:
    // Lays Source out Width device pixels wide for the device Metrics describes (its
    // resolution resolves the fonts). Source is copied; it may change or go away afterwards.
    TReferencePages(const QTextDocument& source, const TPageMetrics& metrics, int width);
    ~TReferencePages();

    // Draws one page body into Target (device pixels) from FirstChar on and returns the
    // character the next page starts with: TextLength() when everything has been drawn,
    // -1 when Target is too small for any text (nothing is drawn then).
    int RenderPage(QPainter& painter, const QRect& target, int firstChar) const;

    int TextLength() const;
    int Width() const { return width_; }

private:
    struct Unit {
        double top = 0, bottom = 0;
        int pos = 0;
        QTextTable* table = nullptr; // a table row of this table
        int row = -1;
        bool keepNext = false; // stays on the page of the unit after it
    };
    void BuildUnits();
    int UnitAt(int firstChar) const;
    // Draws the document from Top to Bottom at (X, Y), scaled; only lines below
    // ContentTop are drawn, what is above it only as far as a frame reaches into it.
    void DrawSlice(
        QPainter& painter, double top, double bottom, double x, double y, double scale, double contentTop = -1e9) const;

    TPagePicture layoutDevice_; // the layout keeps using it
    std::unique_ptr<QTextDocument> doc_;
    int width_;
    std::vector<Unit> units_;
    mutable size_t resumeUnit_ = size_t(-1);
};

} // namespace orvek::test
