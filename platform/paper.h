#pragma once
// The paper of printed and saved reports: A4, unless the user's locale uses US Letter.
// Lengths are twips (1/1440 inch).

#include <QPageSize>
#include <QRect>

namespace orvek {

struct TPageTwips {
    int paperWidth = 0, paperHeight = 0;
    int left = 0, top = 0, right = 0, bottom = 0; // margins
    int BodyWidth() const { return paperWidth - left - right; }
    bool IsValid() const { return paperWidth > 0 && paperHeight > 0 && BodyWidth() > 0; }
};

// US Letter where the user's locale says so (LC_PAPER), A4 otherwise.
QPageSize::PageSizeId LocalePaperSize();
// The paper of a locale whose paper is Width x Height millimetres.
QPageSize::PageSizeId PaperSizeOfMillimetres(int width, int height);

// The body of a page WidthInches x HeightInches with the margins of the page setup
// (Left ... Bottom, each counted as inches), laid out as reports always were: its
// corners lie Left x 600 and Top x 950 twips from the paper's top left corner, its
// right edge at (Width - Right) x 1500 and its bottom at (Height - Bottom) x 1300 twips.
QRect PageBodyTwips(double widthInches, double heightInches, double left, double top, double right, double bottom);

// The page a report is laid out for and that its RTF states: the locale's paper with the
// body the preview gives at its default margins (1 each).
TPageTwips DefaultReportPage();

} // namespace orvek
