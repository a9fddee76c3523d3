#include "engine/percent_of_text.h"

#include "core/number_text.h"

#include <cmath>

namespace orvek {

QString PercentOfText(const QString& a, const QString& b)
{
    // Both are plain numbers, so 100 * A / B is computed directly in the extended type
    // the expression evaluation uses, and written as its general text.
    long double x = 0, y = 0;
    if (!TryStrToExtendedNeutral(a.trimmed(), x) || !TryStrToExtendedNeutral(b.trimmed(), y) || y == 0)
        return QString();
    const long double r = 100.0L * x / y;
    if (!std::isfinite(r))
        return QString();
    return FloatToGeneralText(r);
}

}  // namespace orvek
