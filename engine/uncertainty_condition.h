#pragma once
// Conditions that choose an uncertainty expression by the value of the quantity:
// "CONDITION(if x<[10] then u=[0.1] else if x>=[10] and x<[20] then u=[0.2] ...)".

#include <QString>
#include <array>

namespace orvek {

// One branch of a condition.
struct T_u_conditionRecord {
    double Bound1 = 0; // parsed from Bound1Text (0 when it does not parse)
    double Bound2 = 0; // parsed from Bound2Text when that is set
    QString Bound1Text;
    QString Bound2Text; // empty for a branch with one bound
    QString Op1; // "=", "<", "<=", ">" or ">="
    QString Op2; // "<" or "<=", empty when absent
    QString UExpression;
};

constexpr int MaxConditionRows = 12;

// Branches 1..ConditionRowCount of the last parse (index 0 unused).
inline std::array<T_u_conditionRecord, MaxConditionRows + 1> ConditionRows;
inline int ConditionRowCount = 0;

// Fills ConditionRows and ConditionRowCount. A text with more than 12 branches is
// refused: False, with no branch kept. Text after the last recognised branch is ignored.
bool ParseUncertaintyCondition(const QString& Text);

// The uncertainty expression of the first branch that applies to the value and has a
// non-empty expression; empty when none applies, the value is not a number, the
// condition is empty or it cannot be parsed. The caller classifies the result (a
// number, a percentage or a formula with VAR).
void EvaluateUncertaintyCondition(const QString& ValueText, const QString& ConditionText, QString& Result);

} // namespace orvek
