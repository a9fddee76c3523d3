#include "engine/parser.h"
#include "tests/engine/reference_parser.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <typeinfo>

// The fast split search against the literal one, on generated and mutated text: the
// same value (to the bit), or the same exception class with the same message. The
// parser object is reused throughout, so a failure must leave it usable.

namespace orvek {
namespace {

class Generator {
public:
    explicit Generator(std::uint64_t seed)
        : rng(seed)
    {
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    bool Chance(int percent) { return Pick(100) < percent; }

    QString Expression(int depth)
    {
        static const char* const numbers[] = { "0", "1", "2", "3", "4", "5", "2.5", ".5", "7.", "1E3", "1E-3", "2.5E+2",
            "123", "0.1", "64", "1E30", "PI", "-PI", "1E4000" };
        static const char* const variables[] = { "A", "B", "C", "D", "E", "X", "Y", "T", "Z", "AB", "x" };
        static const char* const operators[] = { "+", "-", "*", "/", "^", "DIV", "MOD", "+", "-", "*" };
        static const char* const functions1[] = { "SIN", "COS", "TAN", "COTAN", "EXP", "LN", "LOG2", "LOG10", "SQR",
            "SQRT", "ABS", "TRUNC", "INT", "CEIL", "FLOOR", "HEAV", "SIGN", "ZERO", "PH", "SINH", "COSH", "ARCTAN",
            "RND", "RANDOM", "LOG", "F" };
        static const char* const functions2[] = { "MAX", "MIN", "POWER", "INTPOWER", "LOGN", "ARG", "G" };
        const int choice = depth <= 0 ? Pick(3) : Pick(10);
        switch (choice) {
        case 0: {
            QString n = QLatin1String(numbers[Pick(std::size(numbers))]);
            if (Chance(15))
                n.prepend(Chance(50) ? QLatin1Char('-') : QLatin1Char('+'));
            return n;
        }
        case 1:
        case 2:
            return QLatin1String(variables[Pick(std::size(variables))]);
        case 3:
            return QLatin1Char('(') + Expression(depth - 1) + QLatin1Char(')');
        case 4:
            return QLatin1Char('-') + Expression(depth - 1);
        case 5:
            return QLatin1String(functions1[Pick(std::size(functions1))]) + QLatin1Char('(') + Expression(depth - 1)
                + QLatin1Char(')');
        case 6:
            return QLatin1String(functions2[Pick(std::size(functions2))]) + QLatin1Char('(') + Expression(depth - 1)
                + QLatin1Char(',') + Expression(depth - 1) + QLatin1Char(')');
        default:
            return Expression(depth - 1) + QLatin1String(operators[Pick(std::size(operators))]) + Expression(depth - 1);
        }
    }

    QString Mutate(QString s)
    {
        static const QString alphabet
            = QStringLiteral("+-*/^(),.0123456789ABCDEXYTPIMODVNSQRLG e\t;_\u00df\u00b5\u0131");
        const int edits = 1 + Pick(3);
        for (int i = 0; i < edits; ++i) {
            const int at = s.isEmpty() ? 0 : Pick(int(s.size()));
            const QChar c = alphabet[Pick(int(alphabet.size()))];
            switch (Pick(5)) {
            case 0:
                if (!s.isEmpty())
                    s.remove(at, 1);
                break;
            case 1:
                s.insert(at, c);
                break;
            case 2:
                if (!s.isEmpty())
                    s[at] = c;
                break;
            case 3:
                if (!s.isEmpty())
                    s.insert(at, s.mid(at, 1 + Pick(4)));
                break;
            default:
                if (at + 1 < s.size())
                    std::swap(s[at], s[at + 1]);
                break;
            }
        }
        return s;
    }

    std::mt19937_64 rng;
};

struct Outcome {
    QString error; // exception class and message, empty for a value
    long double value = 0;

    bool operator==(const Outcome& o) const
    {
        if (error != o.error)
            return false;
        return (std::isnan(value) && std::isnan(o.value)) || std::memcmp(&value, &o.value, 10) == 0;
    }
};

template <typename F> Outcome Capture(F f)
{
    Outcome o;
    try {
        SeedParserRandom(7);
        o.value = f();
    } catch (const EEvaluationError& e) {
        o.error = QString::fromLatin1(typeid(e).name()) + QLatin1Char(':') + e.Message();
    }
    return o;
}

TEST(ParserRandom, FastSearchMatchesTheLiteralRules)
{
#if defined(__SANITIZE_ADDRESS__)
    const int count = 20000;
#else
    const int count = 40000;
#endif
    // Texts at the edges of the rules, mutated like the generated ones.
    static const char* const seeds[] = { "A+-X*Y", "1E+5+2", "XDIVSIN(Y)", "-3^2*4", "-+3^2", "A*-X*Y", "A--X*Y-Z",
        "2E-3-1", "X*E-3", "MAX(1,-X)", "-(A)^2", "-SIN(X)^2", "((A))+((B))", "ADIV-3", "XMOD-2^2", "1.E+2*3", "A^-2*B",
        "-PI^2", "SIN(X)(Y)", "(A)(B)", "2^-3^2", "A/-X*Y", "AMODE+5", "X-2E-3-1", "A*B/C-D/E*X", "-X-Y+-T*A",
        "LOGN(2,X)^-2", "((X)*(Y))^(2)", "EMODE-EDIVE", "-(-(-X))", "X^+3" };
    Generator g(20261210);
    TParser parser;
    long double* const variables[]
        = { &parser.A, &parser.B, &parser.C, &parser.D, &parser.E, &parser.X, &parser.Y, &parser.T };
    const long double values[] = { 0, 1, -1, 2, 0.5L, -2.5L, 3, 1e-3L, 10 };
    int mismatches = 0, parsed = 0;
    for (int i = 0; i < count && mismatches < 10; ++i) {
        QString text = g.Chance(10) ? QLatin1String(seeds[g.Pick(std::size(seeds))]) : g.Expression(1 + g.Pick(7));
        if (g.Chance(60))
            text = g.Mutate(text);
        for (long double* v : variables)
            *v = values[g.Pick(std::size(values))];
        const Outcome fast = Capture([&] {
            parser.SetExpression(text);
            return parser.Value();
        });
        const Outcome literal = Capture([&] { return test::ReferenceEvaluate(parser, text); });
        parsed += fast.error.isEmpty();
        if (!(fast == literal)) {
            ++mismatches;
            ADD_FAILURE() << "text " << text.toStdString() << "\n fast: " << fast.error.toStdString() << " "
                          << double(fast.value) << "\n literal: " << literal.error.toStdString() << " "
                          << double(literal.value);
        }
        // The parser stays usable whatever came before.
        if (i % 97 == 0) {
            parser.SetExpression(QStringLiteral("X*2+1"));
            ASSERT_EQ(parser.Value(), *variables[5] * 2 + 1) << "after " << text.toStdString();
        }
    }
    // The corpus must exercise both outcomes.
    EXPECT_GT(parsed, count / 5);
    EXPECT_LT(parsed, count * 4 / 5);
}

// Without the Pascal number format a German locale makes "," the decimal point, which
// then also separates function arguments.
TEST(ParserRandom, LocaleNumberFormatMatchesTheLiteralRules)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Generator g(7);
    TParser parser;
    parser.PascalNumberformat = false;
    parser.X = 2;
    int mismatches = 0;
    for (int i = 0; i < 5000 && mismatches < 10; ++i) {
        QString text = g.Expression(1 + g.Pick(4)).replace(QLatin1Char('.'), QLatin1Char(','));
        if (g.Chance(50))
            text = g.Mutate(text);
        const Outcome fast = Capture([&] {
            parser.SetExpression(text);
            return parser.Value();
        });
        const Outcome literal = Capture([&] { return test::ReferenceEvaluate(parser, text); });
        if (!(fast == literal)) {
            ++mismatches;
            ADD_FAILURE() << "text " << text.toStdString() << "\n fast: " << fast.error.toStdString() << " "
                          << double(fast.value) << "\n literal: " << literal.error.toStdString() << " "
                          << double(literal.value);
        }
    }
    parser.SetExpression(QStringLiteral("MAX(2,5,X)"));
    EXPECT_EQ(parser.Value(), 2.5L);
    QLocale::setDefault(saved);
}

} // namespace
} // namespace orvek
