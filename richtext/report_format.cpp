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

QString EquationLine(const QString& symbol, const QString& normalizedEquation)
{
    QString right = normalizedEquation;
    const qsizetype equals = right.indexOf(QLatin1Char('='));
    if (equals >= 0 && right.left(equals).trimmed() == symbol.trimmed())
        right = right.mid(equals + 1);
    return symbol + QStringLiteral(" = ") + right;
}

QString BoldCell(const QString& text)
{
    return QStringLiteral("[cf3]") + text + QStringLiteral("[cf1]");
}

QString BoldCellWithIndex(const QString& text, const QString& before, const QString& index, const QString& after)
{
    return BoldCell(text + before) + QStringLiteral("[cf3][cf15]") + index + QStringLiteral("[cf1]")
        + (after.isEmpty() ? QString() : BoldCell(after));
}

QString WithUnit(const QString& text, const QString& unit)
{
    return text.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

} // namespace orvek
