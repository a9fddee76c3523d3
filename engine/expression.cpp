#include "engine/expression.h"

#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/parser.h"

namespace orvek {

namespace {

bool IsAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

bool IsAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool IsIdentifierChar(QChar c)
{
    return IsAsciiLetter(c) || IsAsciiDigit(c) || c == QLatin1Char('_');
}

// Characters that may stand before and after a symbol for it to count as a whole word;
// "=" counts only before it.
bool IsSymbolBoundaryBefore(QChar c)
{
    return QStringLiteral(" ()*+,-./;=^").contains(c);
}
bool IsSymbolBoundaryAfter(QChar c)
{
    return QStringLiteral(" ()*+,-./;^").contains(c);
}

// The shared loop of ReplaceAll and ReplaceAllNoCase. After a replacement at p the text
// before p - |Pattern| + 1 cannot hold the pattern, so the search goes on from there.
bool ReplaceRepeatedly(const QString& Pattern, const QString& Replacement, QString& Text, Qt::CaseSensitivity cs)
{
    bool replaced = false;
    qsizetype from = 0;
    for (;;) {
        const qsizetype p = Text.indexOf(Pattern, from, cs);
        if (p < 0)
            return replaced;
        Text.replace(p, Pattern.size(), Replacement);
        replaced = true;
        from = std::max<qsizetype>(0, p - Pattern.size() + 1);
    }
}

// A parser variable left in a prepared text would silently count as 0.
void RejectParserVariables(const TParser& parser)
{
    for (const OperationRecord& r : parser.Operations()) {
        for (long double* operand : { r.Operand1, r.Operand2, r.Kind == okVariable ? r.Result : nullptr }) {
            if (!operand)
                continue;
            for (const auto& [name, storage] : parser.Variables())
                if (storage == operand)
                    throw ESyntaxError(QStringLiteral("Error parsing expression:\r%1").arg(name));
        }
    }
}

} // namespace

void RemoveBlanks(const QString& Text, QString& Result)
{
    QString s = Text;
    s.remove(QLatin1Char(' '));
    Result = s;
}

void FoldSignPairs(const QString& Text, QString& Result)
{
    static const char* const pairs[][2] = { { "--", "+" }, { "-+", "-" }, { "+-", "-" }, { "++", "+" }, { "*+", "*" },
        { "+*", "+" }, { "-*", "-" }, { "**", "*" } };
    // Every pair is two of "+", "-" and "*" side by side; a text without such a pair
    // stays as it is, which one look at each character tells.
    const auto isSign = [](QChar c) { return c == u'+' || c == u'-' || c == u'*'; };
    bool anyPair = false;
    for (qsizetype i = 1; i < Text.size() && !anyPair; ++i)
        anyPair = isSign(Text[i]) && isSign(Text[i - 1]);
    if (!anyPair) {
        Result = Text;
        return;
    }
    QString s = Text;
    for (const auto& pair : pairs)
        ReplaceAll(QLatin1String(pair[0]), QLatin1String(pair[1]), s);
    Result = s;
}

void CommaToPoint(const QString& Text, QString& Result)
{
    QString s = Text;
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    Result = s;
}

void SemicolonToComma(const QString& Text, QString& Result)
{
    QString s = Text;
    s.replace(QLatin1Char(';'), QLatin1Char(','));
    Result = s;
}

bool ContainsBlank(const QString& Text)
{
    return Text.contains(QLatin1Char(' '));
}

bool HasNonIdentifierChar(const QString& Text)
{
    for (QChar c : Text)
        if (!IsIdentifierChar(c))
            return true;
    return false;
}

bool HasInvalidEquationChar(const QString& Text)
{
    for (QChar c : Text)
        if (!IsIdentifierChar(c) && !QStringLiteral(" ()*+,-./;^").contains(c))
            return true;
    return false;
}

bool ReplaceAll(const QString& Pattern, const QString& Replacement, QString& Text)
{
    if (Pattern == Replacement || Replacement.contains(Pattern))
        return false;
    return ReplaceRepeatedly(Pattern, Replacement, Text, Qt::CaseSensitive);
}

bool ReplaceAllNoCase(const QString& Pattern, const QString& Replacement, QString& Text)
{
    // Compared without regard to case, so that a replacement that differs from the
    // pattern only in case cannot be found again and again.
    if (Replacement.contains(Pattern, Qt::CaseInsensitive))
        return false;
    return ReplaceRepeatedly(Pattern, Replacement, Text, Qt::CaseInsensitive);
}

void ReplaceSymbol(QString& Text, const QString& Name, const QString& Replacement)
{
    SymbolReplaceCount = 0;
    if (Name.isEmpty())
        return;
    qsizetype i = 0;
    while (i + Name.size() <= Text.size()) {
        const qsizetype end = i + Name.size();
        if (QStringView(Text).mid(i, Name.size()) == Name && (i == 0 || IsSymbolBoundaryBefore(Text[i - 1]))
            && (end == Text.size() || IsSymbolBoundaryAfter(Text[end]))) {
            Text.replace(i, Name.size(), Replacement);
            i += Replacement.size();
            ++SymbolReplaceCount;
        } else {
            ++i;
        }
    }
}

void ReplaceSymbolCopy(QString& Text, QString Name, QString Replacement)
{
    ReplaceSymbol(Text, Name, Replacement);
}

int CountSymbol(const QString& Text, const QString& Name)
{
    QString copy = Text;
    ReplaceSymbol(copy, Name, QStringLiteral("DalmirVornath"));
    return SymbolReplaceCount;
}

bool IsKnownFunctionName(QString& Name)
{
    const QString t = Name.trimmed().toUpper();
    if (t == QLatin1String("LOG")) {
        Name = QStringLiteral("LOG10");
        return true;
    }
    return FunctionNames.contains(t) || t.startsWith(QLatin1String("LOGN("));
}

void SubstituteSymbolValue(QString& Text, const QString& Symbol, const QString& ValueText)
{
    if (ValueText.trimmed().startsWith(QLatin1Char('-')))
        ReplaceSymbol(Text, Symbol, QLatin1Char('(') + ValueText + QLatin1Char(')'));
    else
        ReplaceSymbol(Text, Symbol, ValueText);
}

void EvaluateExpression(const QString& Expr, QString& Result)
{
    Result.clear();
    ParserErrorText.clear();
    QString s = Expr;
    if (s.startsWith(QLatin1Char('=')))
        s.remove(0, 1);
    RemoveBlanks(s, s);
    FoldSignPairs(s, s);
    CommaToPoint(s, s);
    SemicolonToComma(s, s);
    if (s.isEmpty())
        return;
    TParser parser;
    try {
        parser.SetExpression(s);
        RejectParserVariables(parser);
        Result = FloatToGeneralText(parser.Value());
    } catch (const EZeroDivide&) {
        ParserErrorText = GetString(328);
    } catch (const EDivByZero&) {
        ParserErrorText = GetString(328);
    }
}

void EvaluateEquationWithValues(const QString& Equation, int Count, const TSymbolValues& Pairs, QString& Result)
{
    Result.clear();
    const qsizetype equals = Equation.indexOf(QLatin1Char('='));
    QString text = equals >= 0 ? Equation.mid(equals + 1) : Equation;
    if (Count <= 0 || Count > MaxEquationSymbols)
        return;
    try {
        for (int i = 1; i <= Count; ++i)
            SubstituteSymbolValue(text, Pairs[i].Symbol, Pairs[i].ValueText);
        EvaluateExpression(text, Result);
        if (Result == QLatin1String("INF"))
            Result.clear();
    } catch (...) {
        Result.clear();
    }
}

// Codes: 0 well formed; 1 brackets do not pair up; 2 no "="; 3 more than one "=";
// 4 an item starts with a digit but is not a number; 5 "(" after a name that is not an
// allowed function (the whole name is the error text); 7 a forbidden sign pair; 8 a forbidden character, one above 126,
// or a symbol with a character other than letters, digits and "_"; 9 "(" after
// something that is neither an operator nor a name; 10 more than 100 quantities.
int ScanEquation(const QString& Equation, TInfo_o_bunkach_typu_velicina& Vars)
{
    EquationScanError.clear();
    Vars = TInfo_o_bunkach_typu_velicina();
    QString s;
    RemoveBlanks(Equation, s);
    const qsizetype equalSigns = s.count(QLatin1Char('='));
    const qsizetype firstEquals = s.indexOf(QLatin1Char('='));
    if (firstEquals >= 0)
        s = s.mid(firstEquals + 1);

    if (s.count(QLatin1Char('(')) != s.count(QLatin1Char(')')))
        return 1;
    for (const QString& pair : ForbiddenSignPairs) {
        if (s.contains(pair)) {
            EquationScanError = QLatin1Char('"') + pair + QLatin1Char('"');
            return 7;
        }
    }
    for (QChar c : s) {
        if (ForbiddenEquationChars.contains(c) || c.unicode() > 126) {
            EquationScanError = QLatin1Char('"') + c + QLatin1Char('"');
            return 8;
        }
    }

    // Function calls: a "(" that does not follow an operator or "(" must follow the
    // name of an allowed function.
    // A name is the run of letters, digits and "_" before the "("; an unknown one is
    // named whole, as typed.
    QString name;
    qsizetype nameStart = 0;
    const auto isNameChar = [](QChar c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == QLatin1Char('_'); };
    if (!s.isEmpty() && IsAsciiLetter(s[0]))
        name = s[0].toUpper();
    for (qsizetype i = 1; i < s.size(); ++i) {
        const QChar c = s[i];
        if (isNameChar(c)) {
            if (name.isEmpty())
                nameStart = i;
            name += c.toUpper();
            continue;
        }
        if (c == QLatin1Char('(') && !QStringLiteral("(*+-/;").contains(s[i - 1])) {
            if (name.isEmpty()) {
                EquationScanError = QStringLiteral(" \"\"");
                return 9;
            }
            if (!FunctionNames.contains(name)) {
                EquationScanError = QStringLiteral(" \"") + s.mid(nameStart, i - nameStart) + QLatin1Char('"');
                return 5;
            }
        }
        name.clear();
    }

    // Items between operators.
    for (QChar& c : s)
        if (QStringLiteral("()*+-/;^=").contains(c))
            c = QLatin1Char('@');
    if (!s.startsWith(QLatin1Char('@')))
        s.prepend(QLatin1Char('@'));
    if (!s.endsWith(QLatin1Char('@')))
        s.append(QLatin1Char('@'));
    for (const QString& f : FunctionNames)
        ReplaceAllNoCase(QLatin1Char('@') + f + QLatin1Char('@'), QStringLiteral("@"), s);
    s.remove(QLatin1Char(' '));
    s.remove(QLatin1Char(','));
    s.remove(QLatin1Char('.'));
    for (const QString& item : s.split(QLatin1Char('@'), Qt::SkipEmptyParts)) {
        if (IsAsciiDigit(item[0])) {
            for (QChar c : item) {
                if (!IsAsciiDigit(c)) {
                    EquationScanError = QStringLiteral(" \"") + item + QLatin1Char('"');
                    return 4;
                }
            }
            continue;
        }
        if (HasNonIdentifierChar(item)) {
            EquationScanError = QStringLiteral(" \"") + item + QLatin1Char('"');
            return 8;
        }
        bool known = false;
        for (int i = 1; i <= Vars.Count && !known; ++i)
            known = Vars[i].Symbol == item;
        if (known)
            continue;
        if (Vars.Count >= MaxEquationSymbols) {
            EquationScanError = QStringLiteral(" \"") + item + QLatin1Char('"');
            return 10;
        }
        ++Vars.Count;
        Vars[Vars.Count].Symbol = item;
    }
    if (equalSigns == 0)
        return 2;
    if (equalSigns > 1)
        return 3;
    return 0;
}

} // namespace orvek
