#include "engine/parser.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <typeinfo>

namespace orvek {
namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;

enum class Outcome { Value, Syntax, Blanks, Brackets, Nesting, Complex, ZeroDivide, DivByZero, Overflow, InvalidOp };

struct Case {
    const char* text;
    Outcome outcome;
    long double value = 0;
};

Outcome Classify(const std::exception& e)
{
    if (dynamic_cast<const ESyntaxError*>(&e))
        return Outcome::Syntax;
    if (dynamic_cast<const EExpressionHasBlanks*>(&e))
        return Outcome::Blanks;
    if (dynamic_cast<const EMissMatchingBracket*>(&e))
        return Outcome::Brackets;
    if (dynamic_cast<const ETooManyNestings*>(&e))
        return Outcome::Nesting;
    if (dynamic_cast<const EExpressionTooComplex*>(&e))
        return Outcome::Complex;
    if (dynamic_cast<const EZeroDivide*>(&e))
        return Outcome::ZeroDivide;
    if (dynamic_cast<const EDivByZero*>(&e))
        return Outcome::DivByZero;
    if (dynamic_cast<const EOverflow*>(&e))
        return Outcome::Overflow;
    if (dynamic_cast<const EInvalidOp*>(&e))
        return Outcome::InvalidOp;
    ADD_FAILURE() << "unexpected exception " << typeid(e).name() << ": " << e.what();
    return Outcome::Value;
}

// Parses and evaluates with X = 1.5 and Y = -2; the other variables are 0.
std::pair<Outcome, long double> Evaluate(const QString& text)
{
    TParser p;
    p.X = 1.5;
    p.Y = -2;
    try {
        p.SetExpression(text);
        return { Outcome::Value, p.Value() };
    } catch (const std::exception& e) {
        return { Classify(e), 0 };
    }
}

TEST(Parser, TableOfExpressions)
{
    const Case cases[] = {
        // Grouping and the quirks of the split rules.
        { "1+2*3", Outcome::Value, 7 },
        { "8-3-2", Outcome::Value, 3 },
        { "8/4/2", Outcome::Value, 1 },
        { "2^3^2", Outcome::Syntax },
        { "(2^3)^2", Outcome::Value, 64 },
        { "2^(3^2)", Outcome::Value, 512 },
        { "-2^2", Outcome::Value, -4 },
        { "-X^2", Outcome::Value, -2.25L },
        { "2*-3", Outcome::Value, -6 },
        { "2*-X", Outcome::Syntax },
        { "-X*2", Outcome::Value, -3 },
        { "2--3", Outcome::Value, 5 },
        { "7 MOD 3", Outcome::Blanks },
        { "  7MOD3  ", Outcome::Value, 1 },
        { "7.9DIV2", Outcome::Value, 3 },
        { "-7MOD3", Outcome::Value, -1 },
        { "-7DIV2", Outcome::Value, -3 },
        { "((1+2))", Outcome::Value, 3 },
        { ")1+2(", Outcome::Syntax },
        { "(1+2", Outcome::Brackets },
        { "pi*2", Outcome::Value, 2 * Pi },
        { "-PI", Outcome::Value, -Pi },
        { "1E-3*2", Outcome::Value, 0.002L },
        { "1E-6000", Outcome::Value, 0 },
        { "1E6000", Outcome::Syntax },
        { "2.*.5", Outcome::Value, 1 },
        { "+3*-2", Outcome::Value, -6 },
        { "x*y", Outcome::Value, -3 },
        { "1+", Outcome::Syntax },
        { "F(1)", Outcome::Syntax },
        { "LOG(1)", Outcome::Syntax },
        { "MAX(1,2,3)", Outcome::Syntax },
        { "2X", Outcome::Syntax },
        { "", Outcome::Value, 0 },
        // Functions.
        { "ARG(-1,0)", Outcome::Value, Pi },
        { "ARG(0,-1)", Outcome::Value, -Pi / 2 },
        { "ARG(0,0)", Outcome::Value, -Pi / 2 },
        { "ARG(0,2)", Outcome::Value, Pi / 2 },
        { "ARG(-1,-1)", Outcome::Value, std::atan(1.0L) + Pi },
        { "ARG(1,1)", Outcome::Value, std::atan(1.0L) },
        { "CEIL(1.5)", Outcome::Value, 2 },
        { "CEIL(-1.5)", Outcome::Value, -1 },
        { "CEIL(2)", Outcome::Value, 2 },
        { "FLOOR(1.5)", Outcome::Value, 1 },
        { "FLOOR(-1.5)", Outcome::Value, -2 },
        { "TRUNC(-1.7)", Outcome::Value, -1 },
        { "INT(1.7)", Outcome::Value, 1 },
        { "HEAV(0)", Outcome::Value, 1 },
        { "HEAV(-0.1)", Outcome::Value, 0 },
        { "SIGN(-3)", Outcome::Value, -1 },
        { "SIGN(0)", Outcome::Value, 0 },
        { "ZERO(0)", Outcome::Value, 0 },
        { "ZERO(3)", Outcome::Value, 1 },
        { "PH(1)", Outcome::Value, (1 / 0.6366197723675813431L - 2) * 2 * Pi },
        { "PH(0.5)", Outcome::Value, (0.5L / 0.6366197723675813431L - 1) * 2 * Pi },
        { "MAX(2,3)", Outcome::Value, 3 },
        { "MIN(2,3)", Outcome::Value, 2 },
        { "LOGN(2,8)", Outcome::Value, ::logl(8) / ::logl(2) },
        { "SQR(3)", Outcome::Value, 9 },
        { "SQRT(16)", Outcome::Value, 4 },
        { "ABS(-2)", Outcome::Value, 2 },
        { "SINH(1)", Outcome::Value, (std::exp(1.0L) - std::exp(-1.0L)) * 0.5L },
        { "COSH(0)", Outcome::Value, 1 },
        { "LOG2(8)", Outcome::Value, 3 },
        { "LOG10(1000)", Outcome::Value, 3 },
        { "POWER(2,0.5)", Outcome::Value, std::sqrt(2.0L) },
        { "INTPOWER(2,-3)", Outcome::Value, 0.125L },
        { "SIN(X)^2+COS(X)^2", Outcome::Value, std::sin(1.5L) * std::sin(1.5L) + std::cos(1.5L) * std::cos(1.5L) },
        // Integer powers: reciprocal for negative exponents, squaring for large ones.
        { "2^-2", Outcome::Value, 0.25L },
        { "2^10", Outcome::Value, 1024 },
        { "2^100", Outcome::Value, 1267650600228229401496703205376.0L },
        { "2^-100", Outcome::Value, 1 / 1267650600228229401496703205376.0L },
        { "(-1)^1000001", Outcome::Value, -1 },
        { "1^1E18", Outcome::Value, 1 },
        { "0^0", Outcome::Value, 1 },
        { "2^1E18", Outcome::Overflow },
        { "INTPOWER(2,1E30)", Outcome::Overflow },
        { "0.5^1E30", Outcome::Value, 0 },
        // Poles and other arithmetic errors.
        { "1/0", Outcome::ZeroDivide },
        { "0/0", Outcome::ZeroDivide },
        { "LN(0)", Outcome::ZeroDivide },
        { "LOG10(0)", Outcome::ZeroDivide },
        { "LOG2(0)", Outcome::ZeroDivide },
        { "COTAN(0)", Outcome::ZeroDivide },
        { "0^-1", Outcome::ZeroDivide },
        { "0^-2.5", Outcome::ZeroDivide },
        { "POWER(0,-1)", Outcome::ZeroDivide },
        { "LOGN(1,5)", Outcome::ZeroDivide },
        { "5MOD0", Outcome::DivByZero },
        { "5DIV0.5", Outcome::DivByZero },
        { "1E30MOD2", Outcome::InvalidOp },
        { "EXP(100000)", Outcome::Overflow },
        { "SINH(-20000)", Outcome::Overflow },
        { "10^5000", Outcome::Overflow },
        { "1E4000*1E4000", Outcome::Overflow },
        { "SQRT(-1)", Outcome::InvalidOp },
        { "LN(-1)", Outcome::InvalidOp },
        { "(-8)^(1/3)", Outcome::InvalidOp },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto [outcome, value] = Evaluate(QString::fromLatin1(c.text));
        EXPECT_EQ(int(outcome), int(c.outcome));
        if (c.outcome == Outcome::Value && outcome == Outcome::Value) {
            EXPECT_NEAR(double(value), double(c.value), 1e-15 * std::max(1.0, std::fabs(double(c.value))));
        }
    }
}

TEST(Parser, OperationKindsAndGrouping)
{
    TParser p;
    const auto kinds = [&](const char* text) {
        p.SetExpression(QString::fromLatin1(text));
        std::vector<int> k;
        for (const OperationRecord& r : p.Operations())
            k.push_back(r.Kind);
        return k;
    };
    EXPECT_EQ(kinds("X^2"), std::vector<int> { okSquare });
    EXPECT_EQ(kinds("X^3"), std::vector<int> { okCube });
    EXPECT_EQ(kinds("X^4"), std::vector<int> { okFourthPower });
    EXPECT_EQ(kinds("X^5"), std::vector<int> { okIntPower });
    EXPECT_EQ(kinds("X^-2"), std::vector<int> { okIntPower });
    EXPECT_EQ(kinds("X^2.5"), std::vector<int> { okPower });
    EXPECT_EQ(kinds("X^Y"), std::vector<int> { okPower });
    EXPECT_EQ(kinds("X^(2)"), std::vector<int> { okPower });
    EXPECT_EQ(kinds("X"), std::vector<int> { okVariable });
    EXPECT_EQ(kinds("5"), std::vector<int> { okConstant });
    EXPECT_EQ(kinds("-A*B"), (std::vector<int> { okMinus, okMultiply }));
    EXPECT_EQ(kinds("SIN(X)+MAX(X,Y)"), (std::vector<int> { okFunction1, okFunction2, okAdd }));

    // a*b/c is a*(b/c): the division takes B and C; a/b*c is (a/b)*c.
    kinds("A*B/C");
    ASSERT_EQ(p.Operations().size(), 2u);
    EXPECT_EQ(p.Operations()[0].Kind, okDivide);
    EXPECT_EQ(p.Operations()[0].Operand1, &p.B);
    EXPECT_EQ(p.Operations()[0].Operand2, &p.C);
    kinds("A/B*C");
    EXPECT_EQ(p.Operations()[0].Operand1, &p.A);
    EXPECT_EQ(p.Operations()[0].Operand2, &p.B);
    // a-b-c is (a-b)-c; a+b+c is a+(b+c).
    kinds("A-B-C");
    EXPECT_EQ(p.Operations()[0].Operand1, &p.A);
    kinds("A+B+C");
    EXPECT_EQ(p.Operations()[0].Operand1, &p.B);
}

TEST(Parser, ValueFollowsTheVariablesAndAnErrorLeavesNoList)
{
    TParser p;
    p.SetExpression("X*2+Y");
    p.X = 3;
    EXPECT_EQ(p.Value(), 6);
    p.X = 4;
    p.Y = 1;
    EXPECT_EQ(p.Value(), 9);
    EXPECT_THROW(p.SetExpression("X*"), ESyntaxError);
    EXPECT_TRUE(p.ParseError());
    EXPECT_EQ(p.Value(), 0);
    p.SetExpression("X+1");
    EXPECT_FALSE(p.ParseError());
    EXPECT_EQ(p.Value(), 5);

    int calls = 0;
    QString message;
    p.OnParserError = [&](TCustomParser* sender, const EMathParserError& e) {
        EXPECT_EQ(sender, &p);
        ++calls;
        message = e.Message();
    };
    EXPECT_NO_THROW(p.SetExpression("2^3^2"));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(p.ParseError());
    EXPECT_EQ(message, QStringLiteral("Error parsing expression:\r2\r3^2"));
    EXPECT_EQ(p.Value(), 0);
}

TEST(Parser, ErrorMessages)
{
    const std::pair<const char*, const char*> cases[] = {
        { "xyz", "Error parsing expression:\rXYZ" },
        { "1+2+", "Error parsing expression:\r1\r2+" },
        { ")1+2(", "Error parsing expression:\r)1+2(" },
        { "1 + 2", "Expression has blanks" },
        { "((1)", "Missing brackets in expression" },
    };
    for (const auto& [text, message] : cases) {
        TParser p;
        try {
            p.SetExpression(QString::fromLatin1(text));
            ADD_FAILURE() << text << " parsed";
        } catch (const EMathParserError& e) {
            EXPECT_EQ(e.Message(), QString::fromLatin1(message)) << text;
        }
    }
}

// A sum of n ones groups to the right, so n additions reach level n - 1 and the ones
// of the last one level n.
QString Ones(int n)
{
    QString s = QStringLiteral("1");
    for (int i = 0; i < n; ++i)
        s += QStringLiteral("+1");
    return s;
}

// A balanced tree of sums, 7 levels deep, whose 128 leaves at level 7 are "-X" (an
// operation) for the first `minus` of them and "X" for the rest.
QString Balanced(int depth, int& minus)
{
    if (depth == 0)
        return minus-- > 0 ? QStringLiteral("-X") : QStringLiteral("X");
    const QString left = Balanced(depth - 1, minus);
    return QStringLiteral("(") + left + QStringLiteral(")+(") + Balanced(depth - 1, minus) + QStringLiteral(")");
}

TEST(Parser, NestingAndOperationLimits)
{
    EXPECT_EQ(Evaluate(Ones(80)), std::make_pair(Outcome::Value, 81.0L));
    EXPECT_EQ(Evaluate(Ones(81)).first, Outcome::Nesting);
    EXPECT_EQ(
        Evaluate(QStringLiteral("SIN(").repeated(80) + "0" + QStringLiteral(")").repeated(80)).first, Outcome::Value);
    EXPECT_EQ(
        Evaluate(QStringLiteral("SIN(").repeated(81) + "0" + QStringLiteral(")").repeated(81)).first, Outcome::Nesting);
    // Brackets alone add no level.
    EXPECT_EQ(Evaluate(QStringLiteral("(").repeated(500) + Ones(80) + QStringLiteral(")").repeated(500)).second, 81.0L);
    EXPECT_EQ(Evaluate(QStringLiteral("(").repeated(1001) + "1" + QStringLiteral(")").repeated(1001)).first,
        Outcome::Complex);

    int minus = 100;
    EXPECT_EQ(Evaluate(Balanced(7, minus)), std::make_pair(Outcome::Value, -100 * 1.5L + 28 * 1.5L));
    minus = 101;
    EXPECT_EQ(Evaluate(Balanced(7, minus)).first, Outcome::Complex);
    // A syntax error anywhere wins over the limits.
    EXPECT_EQ(Evaluate(Ones(200) + "+").first, Outcome::Syntax);
    // Long chains are searched quickly and without exhausting the stack.
    EXPECT_EQ(Evaluate("1" + QStringLiteral("-1").repeated(2900)).first, Outcome::Nesting);
    EXPECT_EQ(Evaluate(QStringLiteral("-SIN(").repeated(1000) + "1" + QStringLiteral(")").repeated(1000)).first,
        Outcome::Nesting);
    EXPECT_EQ(Evaluate("1" + QStringLiteral("-1").repeated(19000)).first, Outcome::Nesting);
    EXPECT_EQ(Evaluate("1" + QStringLiteral("+1").repeated(19000) + "+*1").first, Outcome::Syntax);
    EXPECT_EQ(Evaluate("1" + QStringLiteral("*1").repeated(20001)).first, Outcome::Complex);
}

TEST(Parser, RandomFunctionsStayInRange)
{
    TParser p;
    p.SetExpression("RND(10)+RANDOM(5)*0");
    for (int i = 0; i < 100; ++i) {
        const long double v = p.Value();
        EXPECT_GE(v, 0);
        EXPECT_LT(v, 10);
    }
}

} // namespace
} // namespace orvek

namespace orvek {
namespace {

// The value of a number text as the full conversion reads it: the text with "e" for
// "E" and without a leading "+", through std::from_chars.
bool FullConversion(const QString& text, long double& value)
{
    std::string buffer;
    for (qsizetype k = text.startsWith('+') ? 1 : 0; k < text.size(); ++k)
        buffer.push_back(text[k] == 'E' ? 'e' : char(text[k].unicode()));
    const auto [end, error] = std::from_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc() && end == buffer.data() + buffer.size();
}

} // namespace

// Short decimals are read without the full conversion; every value must be the same to
// the last bit of the extended type, on both sides of the short path's limits (19
// digits, powers of ten up to 27) and at ties of the rounding.
TEST(Parser, NumbersReadToTheLastBit)
{
    QStringList texts { "0", "-0", "+0", "0.0", ".5", "5.", "1.25", "-3.75", "0.1", "0.2", "0.3", "1E-5", "2E-6",
        "1.15E-5", "123456789012345678", "1234567890123456789", "12345678901234567890", "9999999999999999999",
        "18446744073709551615", "0.000000000000000000000000001", "1E27", "1E28", "1E-27", "1E-28", "3E27", "7E-28",
        "9007199254740993", "9223372036854775809", "4.9406564584124654E-324", "1.7976931348623157E308",
        "00000000000000000000001.5", "1.000000000000000000000000000000001", "2.5E+3", "2.5E-0", "0.30000000000000004",
        "123.456E-20", "98765.4321E+22", "1E1000", "1E-1000" };
    // Random digits, points and exponents, the same every run.
    std::uint64_t seed = 0x9E3779B97F4A7C15ull;
    const auto next = [&seed](int bound) {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return int(seed % std::uint64_t(bound));
    };
    for (int i = 0; i < 20000; ++i) {
        QString t = next(4) == 0 ? "-" : "";
        const int digits = 1 + next(24);
        const int point = next(digits + 2);
        for (int d = 0; d < digits; ++d) {
            if (d == point)
                t += '.';
            t += QChar('0' + next(10));
        }
        if (next(2))
            t += QString("E%1").arg(next(70) - 35);
        texts << t;
    }
    for (const QString& text : texts) {
        long double read = 0, expected = 0;
        const bool ok = parser_text::ParseNumber(text.constData(), int(text.size()), true, read);
        const bool expectedOk = FullConversion(text, expected);
        if (!expectedOk) {
            EXPECT_FALSE(ok && std::isfinite(read) && read != 0) << text.toStdString();
            continue;
        }
        ASSERT_TRUE(ok) << text.toStdString();
        EXPECT_EQ(std::memcmp(&read, &expected, 10), 0)
            << text.toStdString() << ": " << double(read) << " against " << double(expected);
    }
}

} // namespace orvek
