#include "engine/uncertainty_condition.h"

#include "core/number_text.h"

namespace orvek {

namespace {

// The text before the first Mark; Rest loses everything through it. Empty with Rest
// emptied when Mark is missing.
QString TakeUntil(QString& rest, QChar mark)
{
    const qsizetype p = rest.indexOf(mark);
    if (p < 0) {
        const QString all = rest;
        rest.clear();
        return all;
    }
    const QString before = rest.left(p);
    rest.remove(0, p + 1);
    return before;
}

double ParsedOrZero(const QString& text)
{
    double value = 0;
    if (!TryStrToFloatNeutral(text, value))
        value = 0;
    return value;
}

} // namespace

bool ParseUncertaintyCondition(const QString& Text)
{
    QString t = Text.trimmed();
    if (t.toUpper().startsWith(QLatin1String("CONDITION"))) {
        t.remove(0, 10);
        t.chop(1);
    }
    ConditionRowCount = 0;
    ConditionRows = {};
    while (t.startsWith(QLatin1String("if x"))) {
        T_u_conditionRecord row;
        t.remove(0, 4);
        row.Op1 = TakeUntil(t, '[');
        row.Bound1Text = TakeUntil(t, ']');
        t = t.trimmed();
        if ((row.Op1 == QLatin1String(">=") || row.Op1 == QLatin1String(">")) && t.startsWith(QLatin1String("and x"))) {
            t.remove(0, 5);
            t = t.trimmed();
            row.Op2 = TakeUntil(t, '[');
            row.Bound2Text = TakeUntil(t, ']');
            t = t.trimmed();
        }
        if (t.startsWith(QLatin1String("then u=["))) {
            t.remove(0, 8);
            t = t.trimmed();
            row.UExpression = TakeUntil(t, ']');
            t = t.trimmed();
        }
        if (t.startsWith(QLatin1String("else"))) {
            t.remove(0, 4);
            t = t.trimmed();
        }
        if (row.Bound1Text.isEmpty() || row.Op1.isEmpty())
            continue;
        if (ConditionRowCount == MaxConditionRows) {
            ConditionRowCount = 0;
            ConditionRows = {};
            return false;
        }
        row.Bound1 = ParsedOrZero(row.Bound1Text);
        if (!row.Bound2Text.isEmpty())
            row.Bound2 = ParsedOrZero(row.Bound2Text);
        ConditionRows[size_t(++ConditionRowCount)] = row;
    }
    return true;
}

void EvaluateUncertaintyCondition(const QString& ValueText, const QString& ConditionText, QString& Result)
{
    Result.clear();
    double x = 0;
    if (ConditionText.isEmpty() || !TryStrToFloatNeutral(ValueText, x))
        return;
    // A value of 0 is compared like any other: the branches decide its uncertainty.
    if (!ParseUncertaintyCondition(ConditionText))
        return;
    for (int i = 1; i <= ConditionRowCount; ++i) {
        const T_u_conditionRecord& r = ConditionRows[size_t(i)];
        bool applies = false;
        if (r.Op1 == QLatin1String("="))
            applies = x == r.Bound1;
        else if (r.Op1 == QLatin1String("<"))
            applies = x < r.Bound1;
        else if (r.Op1 == QLatin1String("<="))
            applies = x <= r.Bound1;
        else if (r.Op1 == QLatin1String(">") || r.Op1 == QLatin1String(">=")) {
            applies = r.Op1 == QLatin1String(">") ? x > r.Bound1 : x >= r.Bound1;
            if (applies && !r.Op2.isEmpty()) {
                if (r.Op2 == QLatin1String("<"))
                    applies = x < r.Bound2;
                else if (r.Op2 == QLatin1String("<="))
                    applies = x <= r.Bound2;
                else
                    applies = false;
            }
        }
        if (applies) {
            Result = r.UExpression;
            if (!Result.isEmpty())
                return;
        }
    }
}

} // namespace orvek
