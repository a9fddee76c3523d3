#include "engine/expression.h"

#include "core/common_vars.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/parser.h"

#include "tests/support/test_env.h"

#include <gtest/gtest.h>

namespace orvek {
namespace {

QString Evaluated(const QString& text)
{
    QString result = QStringLiteral("untouched");
    EvaluateExpression(text, result);
    return result;
}

TEST(Expression, EvaluatesTypedFormulas)
{
    const std::pair<const char*, const char*> cases[] = {
        { "=2,5*2", "5" },
        { "2 * 3", "6" },
        { "MAX(2;3)", "3" },
        { "max(2,5;1)", "2.5" },
        { "2--3", "5" },
        { "2---3", "-1" },
        { "2+-3", "-1" },
        { "2**3", "6" },
        { "0,1+0,2", "0.3" },
        { "1,5E-7", "1.5E-7" },
        { "2^0,5", "1.4142135623731" },
        { "", "" },
        { "=", "" },
        { "   ", "" },
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Evaluated(QString::fromUtf8(text)), QString::fromLatin1(expected)) << text;
        EXPECT_TRUE(ParserErrorText.isEmpty()) << text;
    }
}

TEST(Expression, ResultUsesTheOwnDecimalSeparator)
{
    OwnDecimalSeparator = QLatin1Char(',');
    ForeignDecimalSeparator = QLatin1Char('.');
    EXPECT_EQ(Evaluated(QStringLiteral("1/4")), QStringLiteral("0,25"));
    EXPECT_EQ(Evaluated(QStringLiteral("2,5*2")), QStringLiteral("5"));
    OwnDecimalSeparator = QLatin1Char('.');
    ForeignDecimalSeparator = QLatin1Char(',');
}

TEST(Expression, DivisionByZeroGivesAnEmptyResultAndTheText)
{
    AppDir = test::TestProgramFolder();
    LanguageID = 0;
    ASSERT_EQ(GetString(328), QStringLiteral("Division by zero."));
    for (const char* text : { "1/0", "5MOD0", "7DIV0", "LN(0)", "COTAN(0)", "0^-1" }) {
        ParserErrorText = QStringLiteral("stale");
        EXPECT_EQ(Evaluated(QString::fromLatin1(text)), QString()) << text;
        EXPECT_EQ(ParserErrorText, GetString(328)) << text;
    }
}

TEST(Expression, OtherErrorsReachTheCaller)
{
    QString result;
    EXPECT_THROW(EvaluateExpression(QStringLiteral("2^3^2"), result), ESyntaxError);
    EXPECT_THROW(EvaluateExpression(QStringLiteral("SQRT(-1)"), result), EInvalidOp);
    EXPECT_THROW(EvaluateExpression(QStringLiteral("EXP(1E5)"), result), EOverflow);
    // A parser variable left in the text is an error, not a silent 0.
    for (const char* text : { "=X*0,01", "T", "A+1", "SIN(Y)", "2*E" })
        EXPECT_THROW(EvaluateExpression(QString::fromLatin1(text), result), ESyntaxError) << text;
    EXPECT_EQ(Evaluated(QStringLiteral("2E3")), QStringLiteral("2000"));
}

TEST(Expression, EquationWithValues)
{
    struct Case {
        const char* equation;
        std::vector<std::pair<const char*, const char*>> pairs;
        const char* expected;
    };
    const Case cases[] = {
        { "Y=A^2", { { "A", "-2" } }, "4" },
        { "Y=B-A^2", { { "A", "-2" }, { "B", "10" } }, "6" },
        { "Y=B*A^2", { { "A", "-2" }, { "B", "3" } }, "12" },
        { "Y=A*B", { { "A", "2,5" }, { "B", "4" } }, "10" },
        { "Y=MAX(A;B)", { { "A", "2,5" }, { "B", "-4" } }, "2.5" },
        { "Y=A*X", { { "A", "2" }, { "X", "3" } }, "6" },
        { "Y=A*X", { { "A", "2" } }, "" }, // X is left over
        { "Y=A+Q", { { "A", "2" } }, "" }, // Q is no expression
        { "Y=1/A", { { "A", "0" } }, "" },
        { "Y=EXP(A)", { { "A", "1E5" } }, "" },
        { "Y=A", {}, "" },
        { "Mass=m1+m2", { { "m1", "1,5" }, { "m2", "-0,5" } }, "1" },
    };
    for (const Case& c : cases) {
        TSymbolValues pairs;
        int count = 0;
        for (const auto& [symbol, value] : c.pairs)
            pairs[++count] = { QString::fromLatin1(symbol), QString::fromLatin1(value) };
        QString result = QStringLiteral("untouched");
        EvaluateEquationWithValues(QString::fromLatin1(c.equation), count, pairs, result);
        EXPECT_EQ(result, QString::fromLatin1(c.expected)) << c.equation;
    }
    // More pairs than an equation can hold.
    TSymbolValues pairs;
    for (int i = 1; i <= MaxEquationSymbols; ++i)
        pairs[i] = { QStringLiteral("S%1").arg(i), QStringLiteral("1") };
    QString result;
    EvaluateEquationWithValues(QStringLiteral("Y=S1"), MaxEquationSymbols, pairs, result);
    EXPECT_EQ(result, QStringLiteral("1"));
    EvaluateEquationWithValues(QStringLiteral("Y=S1"), MaxEquationSymbols + 1, pairs, result);
    EXPECT_EQ(result, QString());
}

TEST(Expression, WholeWordReplacement)
{
    QString text = QStringLiteral("X+XX*X");
    ReplaceSymbol(text, QStringLiteral("X"), QStringLiteral("2"));
    EXPECT_EQ(text, QStringLiteral("2+XX*2"));
    EXPECT_EQ(SymbolReplaceCount, 2);
    EXPECT_EQ(CountSymbol(QStringLiteral("X+XX*X"), QStringLiteral("X")), 2);

    text = QStringLiteral("A=AB+A^2");
    ReplaceSymbol(text, QStringLiteral("A"), QStringLiteral("Z"));
    EXPECT_EQ(text, QStringLiteral("A=AB+Z^2"));

    text = QStringLiteral("x+X;(X)");
    ReplaceSymbol(text, QStringLiteral("X"), QStringLiteral("X1"));
    EXPECT_EQ(text, QStringLiteral("x+X1;(X1)"));

    // The scan goes on after the inserted text, which may hold the name.
    text = QStringLiteral("A+A");
    ReplaceSymbol(text, QStringLiteral("A"), QStringLiteral("(A+1)"));
    EXPECT_EQ(text, QStringLiteral("(A+1)+(A+1)"));
    EXPECT_EQ(SymbolReplaceCount, 2);

    text = QStringLiteral("A+B");
    ReplaceSymbol(text, QString(), QStringLiteral("1"));
    EXPECT_EQ(text, QStringLiteral("A+B"));
    EXPECT_EQ(SymbolReplaceCount, 0);

    text = QStringLiteral("B-A^2");
    SubstituteSymbolValue(text, QStringLiteral("A"), QStringLiteral("-2,5"));
    EXPECT_EQ(text, QStringLiteral("B-(-2,5)^2"));
    ReplaceSymbolCopy(text, QStringLiteral("B"), QStringLiteral("B"));
    EXPECT_EQ(SymbolReplaceCount, 1);
}

TEST(Expression, ReplaceAllAndSignFolding)
{
    QString text = QStringLiteral("a");
    EXPECT_FALSE(ReplaceAll(QStringLiteral("a"), QStringLiteral("aa"), text));
    EXPECT_EQ(text, QStringLiteral("a"));
    EXPECT_FALSE(ReplaceAll(QString(), QStringLiteral("x"), text));

    text = QStringLiteral("abbb");
    EXPECT_TRUE(ReplaceAll(QStringLiteral("ab"), QStringLiteral("a"), text));
    EXPECT_EQ(text, QStringLiteral("a"));

    text = QStringLiteral("xaby");
    EXPECT_FALSE(ReplaceAllNoCase(QStringLiteral("ab"), QStringLiteral("Ab"), text));
    EXPECT_EQ(text, QStringLiteral("xaby"));
    text = QStringLiteral("@Sin@@A@@sIN@");
    EXPECT_TRUE(ReplaceAllNoCase(QStringLiteral("@SIN@"), QStringLiteral("@"), text));
    EXPECT_EQ(text, QStringLiteral("@@A@@"));

    const std::pair<const char*, const char*> folds[] = { { "a---b", "a-b" }, { "a----b", "a+b" }, { "a**b", "a*b" },
        { "a+*b", "a+b" }, { "a-*b", "a-b" }, { "a*+b", "a*b" }, { "a+-b", "a-b" }, { "a*-b", "a*-b" } };
    for (const auto& [in, out] : folds) {
        QString r;
        FoldSignPairs(QString::fromLatin1(in), r);
        EXPECT_EQ(r, QString::fromLatin1(out)) << in;
    }
}

TEST(Expression, TextTests)
{
    QString name = QStringLiteral(" sin ");
    EXPECT_TRUE(IsKnownFunctionName(name));
    name = QStringLiteral("LOG");
    EXPECT_TRUE(IsKnownFunctionName(name));
    EXPECT_EQ(name, QStringLiteral("LOG10"));
    name = QStringLiteral("logn(2");
    EXPECT_TRUE(IsKnownFunctionName(name));
    name = QStringLiteral("ABS");
    EXPECT_FALSE(IsKnownFunctionName(name));

    EXPECT_TRUE(ContainsBlank(QStringLiteral("a b")));
    EXPECT_FALSE(HasNonIdentifierChar(QStringLiteral("A_1z")));
    EXPECT_TRUE(HasNonIdentifierChar(QStringLiteral("A-1")));
    EXPECT_FALSE(HasNonIdentifierChar(QString()));
    EXPECT_FALSE(HasInvalidEquationChar(QStringLiteral("A*(B+1);2,5^C_d/x - 1.")));
    EXPECT_TRUE(HasInvalidEquationChar(QStringLiteral("Y=A")));
    EXPECT_TRUE(HasInvalidEquationChar(QStringLiteral("\u00e4")));
    EXPECT_FALSE(HasInvalidEquationChar(QString()));
}

TEST(Expression, ScanEquationCodes)
{
    struct Case {
        const char* equation;
        int code;
        const char* error;
        QStringList symbols;
    };
    const Case cases[] = {
        { "Y=A*B", 0, "", { "A", "B" } },
        { "Y = A * B", 0, "", { "A", "B" } },
        { "Y=A*B=C", 3, "", { "A", "B", "C" } },
        { "A*B", 2, "", { "A", "B" } },
        { "Y=(A*B", 1, "", {} },
        { "Y=A*-B", 7, "\"*-\"", {} },
        { "Y=A%", 8, "\"%\"", {} },
        { "Y=A\u00b5", 8, "\"\u00b5\"", {} },
        { "Y=A'", 8, " \"A'\"", {} },
        { "Y=2X", 4, " \"2X\"", {} },
        { "Y=1E5", 4, " \"1E5\"", {} },
        { "Y=2,5*A", 0, "", { "A" } },
        { "Y=F(A)", 5, " \"F\"", {} },
        { "Y=LOG(A)", 5, " \"LOG\"", {} },
        { "Y=a/b+foo(c)", 5, " \"foo\"", {} },
        { "Y=a*my_Sin2(c)", 5, " \"my_Sin2\"", {} },
        { "Y=my_sin(c)", 5, " \"my_sin\"", {} },
        { "Y=(A)(B)", 9, " \"\"", {} },
        { "Y=A^(B+1)", 9, " \"\"", {} },
        { "Y=A^2", 0, "", { "A" } },
        { "Y=sin(A)+LOGN(2;B_1)", 0, "", { "A", "B_1" } },
        { "Y=A+a", 0, "", { "A", "a" } },
        { "Y=A+A", 0, "", { "A" } },
    };
    for (const Case& c : cases) {
        TInfo_o_bunkach_typu_velicina vars;
        vars.Count = 7;
        EXPECT_EQ(ScanEquation(QString::fromUtf8(c.equation), vars), c.code) << c.equation;
        EXPECT_EQ(EquationScanError, QString::fromUtf8(c.error)) << c.equation;
        if (c.code == 0 || c.code == 2 || c.code == 3) {
            QStringList symbols;
            for (int i = 1; i <= vars.Count; ++i)
                symbols << vars[i].Symbol;
            EXPECT_EQ(symbols, c.symbols) << c.equation;
        }
    }

    // 100 quantities fit, the 101st does not.
    QString equation = QStringLiteral("Y=Q1");
    for (int i = 2; i <= 100; ++i)
        equation += QStringLiteral("+Q%1").arg(i);
    TInfo_o_bunkach_typu_velicina vars;
    EXPECT_EQ(ScanEquation(equation, vars), 0);
    EXPECT_EQ(vars.Count, 100);
    EXPECT_EQ(ScanEquation(equation + QStringLiteral("+Q1*Q101"), vars), 10);
    EXPECT_EQ(vars.Count, 100);
}

} // namespace
} // namespace orvek
