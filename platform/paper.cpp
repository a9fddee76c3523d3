#include "platform/paper.h"

#include <cmath>
#include <cstdint>
#include <langinfo.h>

namespace orvek {

namespace {
// Nearest integer, halves to the even neighbour.
int RoundEven(double v)
{
    return int(std::nearbyint(v));
}
} // namespace

QPageSize::PageSizeId PaperSizeOfMillimetres(int width, int height)
{
    // US Letter is 216 x 279 mm (8.5 x 11 inches); every other paper reads as A4.
    return (width == 216 && height == 279) ? QPageSize::Letter : QPageSize::A4;
}

QPageSize::PageSizeId LocalePaperSize()
{
    // glibc answers the locale's paper in millimetres, as integers in the pointer.
    const int width = int(reinterpret_cast<std::intptr_t>(nl_langinfo(_NL_PAPER_WIDTH)));
    const int height = int(reinterpret_cast<std::intptr_t>(nl_langinfo(_NL_PAPER_HEIGHT)));
    return PaperSizeOfMillimetres(width, height);
}

QRect PageBodyTwips(double widthInches, double heightInches, double left, double top, double right, double bottom)
{
    return QRect(QPoint(RoundEven(left * 600), RoundEven(top * 950)),
        QPoint(RoundEven((widthInches - right) * 1500) - 1, RoundEven((heightInches - bottom) * 1300) - 1));
}

TPageTwips DefaultReportPage()
{
    const QSizeF inches = QPageSize(LocalePaperSize()).size(QPageSize::Millimeter) / 25.4;
    const QRect body = PageBodyTwips(inches.width(), inches.height(), 1, 1, 1, 1);
    TPageTwips page;
    page.paperWidth = RoundEven(inches.width() * 1440);
    page.paperHeight = RoundEven(inches.height() * 1440);
    page.left = body.left();
    page.top = body.top();
    page.right = page.paperWidth - (body.right() + 1);
    page.bottom = page.paperHeight - (body.bottom() + 1);
    return page;
}

} // namespace orvek
