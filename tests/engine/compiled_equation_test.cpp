// The steps of a compiled equation against the parser they stand in for: the same
// value to the last bit and the same failures, for whole evaluations and for
// evaluations with one input changed on kept values.

#include "engine/compiled_equation.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace orvek {
namespace {

struct Case {
    const char* equation;
    QStringList symbols;
    QStringList values; // the kept inputs
    QStringList others; // each input changed to these in turn
};

// The parser's value for these texts, or nothing.
bool ParserValue(TCompiledEquation& program, const QStringList& texts, long double& value)
{
    return program.EvaluateValue(texts, value);
}

std::vector<long double> Numbers(const QStringList& texts)
{
    std::vector<long double> numbers;
    for (const QString& t : texts) {
        long double v = 0;
        EXPECT_TRUE(ReadFormulaNumber(t, v)) << t.toStdString();
        numbers.push_back(v);
    }
    return numbers;
}

// The same bits, or both failed.
void ExpectSame(bool parserOk, long double parser, bool stepsOk, long double steps, const std::string& where)
{
    ASSERT_EQ(parserOk, stepsOk) << where;
    if (parserOk) {
        EXPECT_EQ(std::memcmp(&parser, &steps, 10), 0) << where << ": " << double(parser) << " vs " << double(steps);
    }
}

TEST(CompiledEquation, StepsGiveTheParsersValuesAndFailures)
{
    const Case cases[] = {
        { "y=a+b+0.5*c^2-d/e", { "a", "b", "c", "d", "e" }, { "1.5", "-2", "3.25", "7", "3" },
            { "0", "1E-300", "-1E300", "0.1" } },
        { "y=-a^3+a^4*b-(b-a)^2", { "a", "b" }, { "1.1", "2.2" }, { "-0", "1E200", "0.7" } },
        { "y=1/(a-b)", { "a", "b" }, { "2", "1" }, { "1", "2", "3.5" } },
        { "y=a^2.5+b^(-2)+a^b", { "a", "b" }, { "2", "3" }, { "0", "-1.5", "4000", "0.5" } },
        { "y=SQRT(a)+LN(b)*SIN(a)+EXP(b/100)", { "a", "b" }, { "4", "2" }, { "-1", "0", "1E6" } },
        { "y=MAX(a;b)*MIN(a;3)+LOGN(b;a)", { "a", "b" }, { "5", "2" }, { "1", "0", "-3" } },
        { "y=a MOD b + a DIV b", { "a", "b" }, { "17", "5" }, { "0", "1E30", "-4" } },
        { "y=a", { "a" }, { "3" }, { "-7" } },
        { "y=2.5", { "a" }, { "3" }, { "-7" } },
        { "y=a*1E300*b", { "a", "b" }, { "1", "1" }, { "1E10", "0" } },
        // An overflow on the way that a division or a function would turn finite again.
        { "y=1/(a*a*a*a)+b", { "a", "b" }, { "2", "1" }, { "1E1300", "1E-1300", "-1E1300" } },
        { "y=b-ARCTAN(a^4*b)", { "a", "b" }, { "2", "1" }, { "1E1300", "1E-1300", "-1E1300" } },
    };
    for (const Case& c : cases) {
        const std::string name = c.equation;
        TCompiledEquation program;
        ASSERT_TRUE(program.Compile(QString::fromLatin1(c.equation), c.symbols)) << name;
        long double parser = 0, steps = 0;
        const bool parserOk = ParserValue(program, c.values, parser);
        const std::vector<long double> kept = Numbers(c.values);
        bool stepsOk = program.EvaluateNumbers(kept.data(), steps);
        ExpectSame(parserOk, parser, stepsOk, steps, name);

        TCompiledEquation::KeptEvaluation evaluation;
        stepsOk = program.EvaluateAndKeep(kept.data(), evaluation, steps);
        ExpectSame(parserOk, parser, stepsOk, steps, name + " kept");
        ASSERT_TRUE(evaluation.ready) << name;
        // Every input changed to every other value, failures among them, in turn: a
        // change leaves the kept values as they were for the next one.
        for (int i = 0; i < c.symbols.size(); ++i) {
            for (const QString& other : c.others) {
                QStringList texts = c.values;
                texts[i] = other;
                long double x = 0;
                ASSERT_TRUE(ReadFormulaNumber(other, x));
                const bool ok = ParserValue(program, texts, parser);
                const std::string where = name + " with " + c.symbols[i].toStdString() + "=" + other.toStdString();
                stepsOk = program.EvaluateChanged(evaluation, i, x, steps);
                ExpectSame(ok, parser, stepsOk, steps, where);
                const std::vector<long double> all = Numbers(texts);
                stepsOk = program.EvaluateNumbers(all.data(), steps);
                ExpectSame(ok, parser, stepsOk, steps, where + " whole");
            }
        }
    }
}

TEST(CompiledEquation, ValuesThatAreNoFiniteNumberGoThroughTheParser)
{
    // An infinite input is no failure by itself: 1/a gives 0 as the parser gives it.
    TCompiledEquation program;
    ASSERT_TRUE(program.Compile("y=1/a+b", { "a", "b" }));
    const long double values[] = { HUGE_VALL, 2 };
    long double value = -1;
    ASSERT_TRUE(program.EvaluateNumbers(values, value));
    EXPECT_EQ(value, 2);
    TCompiledEquation::KeptEvaluation kept;
    const long double finite[] = { 4, 2 };
    ASSERT_TRUE(program.EvaluateAndKeep(finite, kept, value));
    ASSERT_TRUE(program.EvaluateChanged(kept, 0, HUGE_VALL, value));
    EXPECT_EQ(value, 2);
    ASSERT_TRUE(program.EvaluateChanged(kept, 1, 3, value));
    EXPECT_EQ(value, 3.25L);
}

TEST(CompiledEquation, RandomValuesAreNeverKept)
{
    TCompiledEquation program;
    ASSERT_TRUE(program.Compile("y=a*RANDOM(1)", { "a" }));
    const long double values[] = { 2 };
    TCompiledEquation::KeptEvaluation kept;
    long double value = 0;
    EXPECT_TRUE(program.EvaluateAndKeep(values, kept, value));
    EXPECT_FALSE(kept.ready);
}

} // namespace
} // namespace orvek
