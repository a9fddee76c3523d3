#pragma once
// Coverage factors from the two-sided Student t distribution.

#include <QString>
#include <QtGlobal>
#include <array>

namespace orvek {

struct TStudentTRow {
    int DegreesOfFreedom;
    // Factors for 90 %, 95 % and 99 %.
    std::array<double, 3> Factor;
};

// Rows for 1 to 20, 25, 30, 35, 40, 45, 50 and 100 degrees of freedom; the last
// row (101) stands for infinity.
extern const std::array<TStudentTRow, 28> StudentTTable;

// The factor for the whole degrees of freedom of DofText (its fraction is cut) at
// Level 0 (90 %), 1 (95 %) or 2 (99 %), interpolated linearly between rows, as its
// general text. "Nekonecno", "1E6" and more than 100 take the infinity row. Empty
// for a level above 2, a text that is no whole number and degrees below 1.
QString StudentTFactorText(const QString& DofText, quint8 Level);

} // namespace orvek
