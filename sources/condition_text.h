#pragma once
// The text of an uncertainty condition as the condition editor writes it from its rows,
// and the check that the text reads back into the same rows.

#include <QString>
#include <array>

namespace orvek {

// One row of the editor: the operators and bounds as chosen and typed, and u.
struct TConditionRowInput {
    QString Op1; // "", "=", "<", "<=", ">" or ">="
    QString Bound1;
    QString Op2; // "", "<" or "<="
    QString Bound2;
    QString U;
};

constexpr int ConditionEditorRows = 12;
using TConditionRows = std::array<TConditionRowInput, ConditionEditorRows>;

// "if x<op>[a] then u=[u]", or with the second bound "if x<op>[a] and x<op2>[b] then
// u=[u]" when the row is written with two bounds (ConditionRowHasSecondBound).
QString ConditionRowText(const TConditionRowInput& row);
bool ConditionRowHasSecondBound(const TConditionRowInput& row);

// "CONDITION(" + the rows with an expression, joined by " else " + ")".
QString BuildConditionText(const TConditionRows& rows);

enum class TConditionProblem { None, NoOperator, NoBound, BoundNotNumber, NotReadBack };

// Checks the rows with an expression before their text is stored: each needs a first
// operator and a first bound that convert (and a second bound that converts when the
// row is written with one), and the built text must read back into the same rows.
// Row (from 1) names the first row that fails.
TConditionProblem CheckConditionRows(const TConditionRows& rows, int& row);

} // namespace orvek
