#include "sources/condition_text.h"

#include "engine/uncertainty_condition.h"

#include <gtest/gtest.h>

namespace orvek {
namespace {

TConditionRowInput Row(const char* op1, const char* a, const char* op2, const char* b, const char* u)
{
    return { QString::fromUtf8(op1), QString::fromUtf8(a), QString::fromUtf8(op2), QString::fromUtf8(b),
        QString::fromUtf8(u) };
}

TEST(ConditionText, BuildsTheRowsWithAnExpression)
{
    TConditionRows rows;
    EXPECT_EQ(BuildConditionText(rows), QStringLiteral("CONDITION()"));

    rows[0] = Row("<", "2", "<", "9", "0,1"); // second bound hidden behind "<": one bound
    rows[1] = Row(">=", "2", "", "", ""); // no expression: skipped
    rows[2] = Row(">=", "2", "<", "5", "5");
    rows[3] = Row(">", "5", "", "7", "VAR*0,01"); // no second operator: one bound
    EXPECT_EQ(BuildConditionText(rows),
        QStringLiteral("CONDITION(if x<[2] then u=[0,1] else if x>=[2] and x<[5] then u=[5] else "
                       "if x>[5] then u=[VAR*0,01])"));
    int row = -1;
    EXPECT_EQ(CheckConditionRows(rows, row), TConditionProblem::None);
    EXPECT_EQ(row, 0);

    // What the editor writes reads back into the same rows.
    ASSERT_TRUE(ParseUncertaintyCondition(BuildConditionText(rows)));
    ASSERT_EQ(ConditionRowCount, 3);
    EXPECT_EQ(ConditionRows[2].Op2, QStringLiteral("<"));
    EXPECT_EQ(ConditionRows[2].Bound2Text, QStringLiteral("5"));
    EXPECT_EQ(ConditionRows[3].UExpression, QStringLiteral("VAR*0,01"));
}

TEST(ConditionText, RefusesRowsThatWouldNotReadBack)
{
    struct Case {
        const char* name;
        TConditionRowInput bad;
        TConditionProblem problem;
    };
    const Case cases[] = {
        { "no operator", Row("", "1", "", "", "2"), TConditionProblem::NoOperator },
        { "no bound", Row("=", " ", "", "", "2"), TConditionProblem::NoBound },
        { "bound not a number", Row("<", "abc", "", "", "2"), TConditionProblem::BoundNotNumber },
        { "second bound not a number", Row(">", "1", "<", "x", "2"), TConditionProblem::BoundNotNumber },
        { "bracket in the expression", Row("<", "1", "", "", "a]b"), TConditionProblem::NotReadBack },
        { "a branch hidden in the expression", Row("<", "1", "", "", "2] else if x>[5] then u=[3"),
            TConditionProblem::NotReadBack },
    };
    for (const Case& c : cases) {
        TConditionRows rows;
        rows[0] = Row("=", "0", "", "", "1");
        rows[4] = c.bad;
        int row = 0;
        EXPECT_EQ(CheckConditionRows(rows, row), c.problem) << c.name;
        EXPECT_EQ(row, 5) << c.name;
    }
}

} // namespace
} // namespace orvek
