#include "sources/condition_text.h"

#include "core/number_text.h"
#include "engine/uncertainty_condition.h"

namespace orvek {

namespace {

bool Converts(const QString& text)
{
    double value = 0;
    return !text.trimmed().isEmpty() && TryStrToFloatNeutral(text, value);
}

} // namespace

bool ConditionRowHasSecondBound(const TConditionRowInput& row)
{
    const bool oneBoundOperator
        = row.Op1 == QLatin1String("=") || row.Op1 == QLatin1String("<") || row.Op1 == QLatin1String("<=");
    if (oneBoundOperator && !row.Bound1.isEmpty())
        return false;
    return !row.Op2.isEmpty() && !row.Bound2.isEmpty();
}

QString ConditionRowText(const TConditionRowInput& row)
{
    QString text = QLatin1String("if x") + row.Op1 + QLatin1Char('[') + row.Bound1 + QLatin1Char(']');
    if (ConditionRowHasSecondBound(row))
        text += QLatin1String(" and x") + row.Op2 + QLatin1Char('[') + row.Bound2 + QLatin1Char(']');
    return text + QLatin1String(" then u=[") + row.U + QLatin1Char(']');
}

QString BuildConditionText(const TConditionRows& rows)
{
    QString text;
    for (const TConditionRowInput& row : rows) {
        if (row.U.isEmpty())
            continue;
        if (!text.isEmpty())
            text += QLatin1String(" else ");
        text += ConditionRowText(row);
    }
    return QLatin1String("CONDITION(") + text + QLatin1Char(')');
}

TConditionProblem CheckConditionRows(const TConditionRows& rows, int& row)
{
    row = 0;
    int written[ConditionEditorRows] = {};
    int count = 0;
    for (int i = 0; i < ConditionEditorRows; ++i) {
        const TConditionRowInput& r = rows[size_t(i)];
        if (r.U.isEmpty())
            continue;
        row = i + 1;
        if (r.Op1.isEmpty())
            return TConditionProblem::NoOperator;
        if (r.Bound1.trimmed().isEmpty())
            return TConditionProblem::NoBound;
        if (!Converts(r.Bound1) || (ConditionRowHasSecondBound(r) && !Converts(r.Bound2)))
            return TConditionProblem::BoundNotNumber;
        written[count++] = i;
    }
    // The reader trims around the fields and stops a field at "]": compare what it gives
    // back with what was typed, row by row.
    ParseUncertaintyCondition(BuildConditionText(rows));
    for (int k = 0; k < count; ++k) {
        const TConditionRowInput& r = rows[size_t(written[k])];
        row = written[k] + 1;
        if (k + 1 > ConditionRowCount)
            return TConditionProblem::NotReadBack;
        const T_u_conditionRecord& back = ConditionRows[size_t(k + 1)];
        const bool two = ConditionRowHasSecondBound(r);
        if (back.Op1 != r.Op1 || back.Bound1Text.trimmed() != r.Bound1.trimmed()
            || back.UExpression.trimmed() != r.U.trimmed() || back.Op2 != (two ? r.Op2 : QString())
            || back.Bound2Text.trimmed() != (two ? r.Bound2.trimmed() : QString()))
            return TConditionProblem::NotReadBack;
    }
    if (ConditionRowCount != count) {
        row = count > 0 ? written[count - 1] + 1 : 1;
        return TConditionProblem::NotReadBack;
    }
    row = 0;
    return TConditionProblem::None;
}

} // namespace orvek
