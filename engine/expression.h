#pragma once
// Formula texts as users type them (blanks, "," as the decimal separator, ";" between
// function arguments, doubled signs) prepared for the parser and evaluated to number
// text; symbols replaced and counted as whole words; equations checked and their
// quantities collected.

#include "engine/equation_info.h"

#include <QString>
#include <QStringList>

#include <array>

namespace orvek {

// At most this many quantities in one equation.
constexpr int MaxEquationSymbols = TInfo_o_bunkach_typu_velicina::Capacity;

// The error text of the last evaluation (division by zero only).
inline QString ParserErrorText;
// The offending part found by the last ScanEquation.
inline QString EquationScanError;
// Replacements made by the last ReplaceSymbol.
inline int SymbolReplaceCount = 0;
// The quantities of the equation being edited.
inline TInfo_o_bunkach_typu_velicina EquationVariables;

// A work table of texts, [0..100][0..100]; lives as long as the program.
using TVars = std::array<std::array<QString, 101>, 101>;
inline TVars VarsTable;

// Function names allowed in equations.
inline const QStringList FunctionNames = { QStringLiteral("COS"), QStringLiteral("SIN"), QStringLiteral("SINH"),
    QStringLiteral("COSH"), QStringLiteral("TAN"), QStringLiteral("COTAN"), QStringLiteral("ARCTAN"),
    QStringLiteral("EXP"), QStringLiteral("LN"), QStringLiteral("LOG10"), QStringLiteral("LOG2"),
    QStringLiteral("LOGN"), QStringLiteral("SQRT"), QStringLiteral("SQR"), QStringLiteral("POWER") };
inline const QStringList ForbiddenSignPairs = { QStringLiteral("--"), QStringLiteral("-+"), QStringLiteral("+-"),
    QStringLiteral("++"), QStringLiteral("*-"), QStringLiteral("-*"), QStringLiteral("+*"), QStringLiteral("*+"),
    QStringLiteral("**"), QStringLiteral("//"), QStringLiteral("*/"), QStringLiteral("/*"), QStringLiteral("+/"),
    QStringLiteral("/+"), QStringLiteral("-/"), QStringLiteral("/-") };
inline const QString ForbiddenEquationChars = QStringLiteral("!~`@#$%&\\\u00A7?[]{}<>\":\u00B0");

// One symbol and the value text to put in its place.
struct TSymbolValue {
    QString Symbol;
    QString ValueText;
};
// Entries 1..Count are used.
using TSymbolValues = std::array<TSymbolValue, MaxEquationSymbols + 1>;

// Evaluates a formula text to the general number text. A leading "=" is dropped; the
// text is freed of blanks, doubled signs are folded, "," becomes "." and ";" becomes
// ",". Division by zero leaves Result empty with UI text 328 in ParserErrorText; an
// empty text gives an empty Result; parse errors (a leftover parser variable name
// among them) and other arithmetic errors are raised.
void EvaluateExpression(const QString& Expr, QString& Result);

// The right side of Equation (after its first "=") with the values put in place of
// the symbols, evaluated. Never raises: Result is empty when the equation cannot be
// evaluated, has more than 100 pairs, or gives an infinite value.
void EvaluateEquationWithValues(const QString& Equation, int Count, const TSymbolValues& Pairs, QString& Result);

// Puts ValueText in place of every whole-word Symbol; a value beginning with "-" goes
// in brackets, so that "A^2" with A = -2 is (-2)^2. Every substitution of a value into
// a formula goes through here.
void SubstituteSymbolValue(QString& Text, const QString& Symbol, const QString& ValueText);

// Equation check: 0 well formed, else a code (see the .cpp); Vars gets the symbols of
// the right side.
int ScanEquation(const QString& Equation, TInfo_o_bunkach_typu_velicina& Vars);

// Case-sensitive whole-word replacement; SymbolReplaceCount gets the count.
void ReplaceSymbol(QString& Text, const QString& Name, const QString& Replacement);
void ReplaceSymbolCopy(QString& Text, QString Name, QString Replacement);
int CountSymbol(const QString& Text, const QString& Name);

// True for an equation function name (trimmed, any case), a "LOGN(" start or "LOG";
// "LOG" is changed to "LOG10".
bool IsKnownFunctionName(QString& Name);

// Replaces the first occurrence of Pattern until none is left; nothing when the
// replacement contains the pattern. True when anything was replaced.
bool ReplaceAll(const QString& Pattern, const QString& Replacement, QString& Text);
bool ReplaceAllNoCase(const QString& Pattern, const QString& Replacement, QString& Text);

void RemoveBlanks(const QString& Text, QString& Result);
void FoldSignPairs(const QString& Text, QString& Result);
void CommaToPoint(const QString& Text, QString& Result);
void SemicolonToComma(const QString& Text, QString& Result);

bool ContainsBlank(const QString& Text);
// A non-empty text with a character other than 0-9, A-Z, a-z and "_".
bool HasNonIdentifierChar(const QString& Text);
// A non-empty text with a character other than blank ( ) * + , - . / 0-9 ; A-Z ^ _ a-z.
bool HasInvalidEquationChar(const QString& Text);

} // namespace orvek
