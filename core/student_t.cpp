#include "core/student_t.h"

#include "core/number_text.h"

namespace orvek {

const std::array<TStudentTRow, 28> StudentTTable { {
    { 1, { 6.31, 12.71, 63.66 } },
    { 2, { 2.92, 4.30, 9.92 } },
    { 3, { 2.35, 3.18, 5.84 } },
    { 4, { 2.13, 2.78, 4.60 } },
    { 5, { 2.02, 2.57, 4.03 } },
    { 6, { 1.94, 2.45, 3.71 } },
    { 7, { 1.89, 2.36, 3.50 } },
    { 8, { 1.86, 2.31, 3.36 } },
    { 9, { 1.83, 2.26, 3.25 } },
    { 10, { 1.81, 2.23, 3.17 } },
    { 11, { 1.80, 2.20, 3.11 } },
    { 12, { 1.78, 2.18, 3.05 } },
    { 13, { 1.77, 2.16, 3.01 } },
    { 14, { 1.76, 2.14, 2.98 } },
    { 15, { 1.75, 2.13, 2.95 } },
    { 16, { 1.75, 2.12, 2.92 } },
    { 17, { 1.74, 2.11, 2.90 } },
    { 18, { 1.73, 2.10, 2.88 } },
    { 19, { 1.73, 2.09, 2.86 } },
    { 20, { 1.72, 2.09, 2.85 } },
    { 25, { 1.71, 2.06, 2.79 } },
    { 30, { 1.70, 2.04, 2.75 } },
    { 35, { 1.70, 2.03, 2.72 } },
    { 40, { 1.68, 2.02, 2.70 } },
    { 45, { 1.68, 2.01, 2.69 } },
    { 50, { 1.68, 2.01, 2.68 } },
    { 100, { 1.66, 1.984, 2.626 } },
    { 101, { 1.645, 1.96, 2.576 } },
} };

QString StudentTFactorText(const QString& DofText, quint8 Level)
{
    if (Level > 2)
        return {};
    const TStudentTRow& infinity = StudentTTable.back();
    const QString dof = IntegerPartText(DofText.trimmed());
    if (dof == QLatin1String("Nekonecno"))
        return FloatToGeneralText(infinity.Factor[Level]);
    if (dof.isEmpty())
        return {};
    int n = 0;
    if (!TryStrToIntNeutral(dof == QLatin1String("1E6") ? QStringLiteral("1000000") : dof, n))
        return {};
    // The table starts at one degree of freedom; below it there is no factor.
    if (n < 1)
        return {};
    if (n > 100)
        return FloatToGeneralText(infinity.Factor[Level]);
    for (size_t r = 0; r < StudentTTable.size(); ++r) {
        const TStudentTRow& row = StudentTTable[r];
        if (row.DegreesOfFreedom == n)
            return FloatToGeneralText(row.Factor[Level]);
        if (n < row.DegreesOfFreedom) {
            const TStudentTRow& below = StudentTTable[r - 1];
            const double t = below.Factor[Level]
                + (n - below.DegreesOfFreedom) * (row.Factor[Level] - below.Factor[Level])
                    / (row.DegreesOfFreedom - below.DegreesOfFreedom);
            return FloatToGeneralText(t);
        }
    }
    return {};
}

} // namespace orvek
