#pragma once
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
#include <unordered_map>
#include <vector>

class QPainter;
class QTextDocument;
class QTextTable;

namespace orvek {

class TRichTextPages {
public:
    // Lays Source out Width device pixels wide for the device Metrics describes (its
    // resolution resolves the fonts). Source is copied; it may change or go away afterwards.
    TRichTextPages(const QTextDocument& source, const TPageMetrics& metrics, int width);
    ~TRichTextPages();

    // What one page body holds: found from the layout alone, drawn later (or never).
    struct TPageCut {
        // The character the next page starts with: TextLength() after the last page, -1
        // when the body is too small for any text.
        int NextChar = 0;
        bool Empty = true; // nothing to draw
        double Top = 0, Bottom = 0, ContentTop = -1e9, Scale = 1.0, Offset = 0;
        double HeaderTop = 0, HeaderBottom = 0, HeaderContentTop = 0; // a repeated table header
    };

    // Cuts the page body of Target (device pixels) that starts at FirstChar. The pages
    // of a document are cut in order, each from the character the one before answered.
    TPageCut CutPage(const QRect& target, int firstChar) const;
    // Draws a page body cut for Target; only what lies on that page is drawn, so the
    // cost of a page does not grow with the document.
    void DrawPage(QPainter& painter, const QRect& target, const TPageCut& cut) const;

    // Cuts and draws one page body into Target from FirstChar on and returns the
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
    struct HeaderRows {
        double top = 0, bottom = 0;
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
    // The extent of the header rows of each table that has them.
    std::unordered_map<const QTextTable*, HeaderRows> headers_;
    mutable size_t resumeUnit_ = size_t(-1);
};

} // namespace orvek
