#pragma once
// Arithmetic in the order and with the roundings of the formula texts that the
// evaluation on texts builds, for the evaluation on numbers. The expression parser
// reads "a+b+c" as a+(b+c), "x^2" as x*x and "a*b/c" as a*(b/c); a number written
// into a formula has been rounded to the 15 significant digits of its text.

#include <QString>
#include <vector>

namespace orvek {

// RoundToGeneralDigits: the number that the text of X stands for.
long double AsText(long double X);

// Terms[0] + (Terms[1] + (... + Terms[n-1])); False when it is not finite (the
// parser raises there). Terms is not empty.
bool SumAsFormula(const std::vector<long double>& Terms, long double& Sum);

// "SQRT((u1)^2+(u2)^2+...)" of the texts: False when a text is not a plain number
// or the result is not finite. Texts is not empty.
bool RootSumOfSquares(const std::vector<QString>& Texts, long double& Root);
// The formula text of the same: "(u1)^2+(u2)^2+...".
QString SumOfSquaresText(const std::vector<QString>& Texts);

// The relative uncertainty in per cent of two number texts, with ParserErrorText
// cleared, as evaluating its formula gives: "100*Abs(u/v)" for a quantity,
// "Abs(100*u/v)" for an equation (the same number). The formula text is evaluated
// where the numbers do not tell the result (a text that is not a plain number, v
// zero, no finite result). The value is put in the formula as FormulaOperand.
enum class TRelativeForm { Quantity, Equation };
QString RelativeUncertaintyText(const QString& U, const QString& Value, TRelativeForm Form);

// K x R for two number texts as "K*R" evaluates (the same fallback).
QString ProductText(const QString& K, const QString& R);

} // namespace orvek
