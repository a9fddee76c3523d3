#include "engine/uncertainty_condition.h"

#include <gtest/gtest.h>

namespace orvek {
namespace {

const QString kExample = QStringLiteral(
    "CONDITION(if x<[10] then u=[0.1] else if x>=[10] and x<[20] then u=[0.2] else if x>=[20] then u=[VAR*0.01])");

TEST(UncertaintyCondition, ChoosesTheFirstApplyingBranch)
{
    const struct {
        const char* value;
        const char* expected;
    } cases[] = {
        { "5", "0.1" },
        { "10", "0.2" },
        { "19,99", "0.2" },
        { "25", "VAR*0.01" },
        { "-3", "0.1" },
        // Zero is compared like any other value.
        { "0", "0.1" },
        { "0,0", "0.1" },
        // Not a number: no result.
        { "abc", "" },
        { "", "" },
    };
    for (const auto& c : cases) {
        QString result = "stale";
        EvaluateUncertaintyCondition(c.value, kExample, result);
        EXPECT_EQ(result, QString(c.expected)) << c.value;
    }
    QString result = "stale";
    EvaluateUncertaintyCondition("50", "if x<[10] then u=[0.1]", result);
    EXPECT_TRUE(result.isEmpty());
    EvaluateUncertaintyCondition("5", "", result);
    EXPECT_TRUE(result.isEmpty());
}

TEST(UncertaintyCondition, GrammarOfBranches)
{
    ASSERT_TRUE(ParseUncertaintyCondition(kExample));
    ASSERT_EQ(ConditionRowCount, 3);
    const T_u_conditionRecord& second = ConditionRows[2];
    EXPECT_EQ(second.Op1, ">=");
    EXPECT_EQ(second.Bound1Text, "10");
    EXPECT_EQ(second.Op2, "<");
    EXPECT_EQ(second.Bound2, 20);
    EXPECT_EQ(second.UExpression, "0.2");
    EXPECT_EQ(ConditionRows[3].UExpression, "VAR*0.01");

    // "and x" is read only after ">" or ">=": the rest is not parsed.
    ASSERT_TRUE(ParseUncertaintyCondition("if x<[5] and x<[8] then u=[1] else if x>[9] then u=[2]"));
    ASSERT_EQ(ConditionRowCount, 1);
    EXPECT_TRUE(ConditionRows[1].UExpression.isEmpty());

    // The keywords are case-sensitive.
    ASSERT_TRUE(ParseUncertaintyCondition("if X<[5] then u=[1]"));
    EXPECT_EQ(ConditionRowCount, 0);

    // Twelve branches parse; a thirteenth is refused and no branch is kept.
    QString twelve;
    for (int i = 0; i < 12; ++i)
        twelve += QStringLiteral("if x<[%1] then u=[%2] else ").arg(i + 1).arg(i);
    EXPECT_TRUE(ParseUncertaintyCondition(twelve));
    EXPECT_EQ(ConditionRowCount, 12);
    EXPECT_FALSE(ParseUncertaintyCondition(twelve + "if x<[100] then u=[9]"));
    EXPECT_EQ(ConditionRowCount, 0);
    QString result = "stale";
    EvaluateUncertaintyCondition("50", twelve + "if x<[100] then u=[9]", result);
    EXPECT_TRUE(result.isEmpty());
}

} // namespace
} // namespace orvek
