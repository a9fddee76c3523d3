#include "engine/formula_arithmetic.h"

#include "core/decimal_digits.h"
#include "core/number_text.h"
#include "engine/evaluation.h"
#include "engine/expression.h"
#include "engine/number_twin.h"

#include <cmath>

namespace orvek {

long double AsText(long double X)
{
    return RoundToGeneralDigits(X);
}

bool SumAsFormula(const std::vector<long double>& Terms, long double& Sum)
{
    long double sum = Terms.back();
    for (size_t i = Terms.size() - 1; i-- > 0;)
        sum = Terms[i] + sum;
    if (!std::isfinite(sum))
        return false;
    Sum = sum;
    return true;
}

bool RootSumOfSquares(const std::vector<QString>& Texts, long double& Root)
{
    std::vector<long double> squares;
    squares.reserve(Texts.size());
    for (const QString& text : Texts) {
        long double u = 0;
        if (!TwinNumber(text, u))
            return false;
        squares.push_back(u * u);
    }
    long double sum = 0;
    if (!SumAsFormula(squares, sum))
        return false;
    Root = std::sqrt(sum);
    return true;
}

QString SumOfSquaresText(const std::vector<QString>& Texts)
{
    QString sum;
    for (const QString& text : Texts)
        sum += (sum.isEmpty() ? "(" : "+(") + text + ")^2";
    return sum;
}

QString RelativeUncertaintyText(const QString& U, const QString& Value, TRelativeForm Form)
{
    long double u = 0, v = 0;
    if (TwinNumber(U, u) && TwinNumber(Value, v) && v != 0) {
        const long double r = 100 * std::fabs(u / v);
        if (std::isfinite(r)) {
            ParserErrorText.clear();
            return TwinText(r);
        }
    }
    if (Form == TRelativeForm::Quantity)
        return EvaluateQuietly("100*Abs(" + U + "/" + FormulaOperand(Value) + ")");
    return EvaluateQuietly("Abs(100*" + U + "/" + FormulaOperand(Value) + ")");
}

QString ProductText(const QString& K, const QString& R)
{
    long double k = 0, r = 0;
    if (TwinNumber(K, k) && TwinNumber(R, r) && std::isfinite(k * r)) {
        ParserErrorText.clear();
        return TwinText(k * r);
    }
    return EvaluateQuietly(K + "*" + R);
}

} // namespace orvek
