#include "engine/percent_of_text.h"

#include "core/number_text.h"
#include "engine/expression.h"

namespace orvek {

QString PercentOfText(const QString& a, const QString& b)
{
    double x = 0, y = 0;
    if (!TryStrToFloatNeutral(a.trimmed(), x) || !TryStrToFloatNeutral(b.trimmed(), y))
        return QString();
    QString result;
    try {
        EvaluateExpression("100*" + NormalizeNumberText(a) + "/" + NormalizeNumberText(b), result);
    } catch (...) {
        // A result out of range is no percentage.
        return QString();
    }
    return result;
}

} // namespace orvek
