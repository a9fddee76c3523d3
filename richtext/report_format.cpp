#include "richtext/report_format.h"

#include "core/common_vars.h"
#include "core/number_format.h"
#include "core/number_text.h"

namespace orvek {

QString SignificantText(const QString& text)
{
    return FormatSignificantText(SignificantDigits, text);
}

void PairTexts(const QString& value, const QString& unc, QString& valueOut, QString& uncOut)
{
    FormatValueAndUncertainty(value, unc, valueOut, uncOut);
}

QString DofText(const QString& text)
{
    return text == InfiniteText ? InfinityCode : IntegerPartText(text);
}

QString BoldCell(const QString& text)
{
    return QStringLiteral("[cf3]") + text + QStringLiteral("[cf1]");
}

QString WithUnit(const QString& text, const QString& unit)
{
    return text.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

}  // namespace orvek
