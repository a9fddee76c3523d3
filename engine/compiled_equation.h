#pragma once
// An equation parsed once and evaluated for many sets of input values, giving the
// same text as EvaluateEquationWithValues gives for the same values. The sensitivity
// pass evaluates each equation hundreds of times with one input changed.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>
#include <vector>

namespace orvek {

class TCompiledEquation {
public:
    TCompiledEquation();
    ~TCompiledEquation();
    TCompiledEquation(const TCompiledEquation&) = delete;
    TCompiledEquation& operator=(const TCompiledEquation&) = delete;

    // Parses the right side of Equation with the symbols as its inputs, in the order
    // their values will be given. False when the text route must be used instead: a
    // text that does not parse, a symbol that could mean something else to the parser
    // (a function name, PI, a symbol differing from another only in case), or a name
    // left over that the text route would refuse.
    bool Compile(const QString& Equation, const QStringList& Symbols);

    // The value for these value texts (normalised as EvaluateEquationWithValues gets
    // them): the general number text, empty where the text route gives empty.
    QString Evaluate(const QStringList& ValueTexts);
    // The same as a number: False where the text route gives no value or raises.
    bool EvaluateValue(const QStringList& ValueTexts, long double& Value);
    // The same for input values given as numbers (one per input, in order).
    bool EvaluateNumbers(const long double* Values, long double& Value);
    int InputCount() const { return int(inputs_.size()); }

private:
    class Parser;
    std::unique_ptr<Parser> parser_;
    std::vector<long double> inputs_;
};

// A number text as the parser reads it in a formula (either separator; a leading "+"
// or brackets around a negative number are allowed). False for anything else.
bool ReadFormulaNumber(const QString& Text, long double& Value);

// The compiled form of an equation with these inputs, kept for later calls; null when
// the equation must be evaluated as text.
TCompiledEquation* CompiledEquationFor(const QString& Equation, const QStringList& Symbols);

// Forgets every kept compiled equation.
void ForgetCompiledEquations();
// Changes whenever kept compiled equations are forgotten, so that a pointer kept
// elsewhere is known to be stale.
quint64 CompiledEquationGeneration();

// Whether compiled equations may stand in for the text route (tests compare both).
inline bool CompiledEvaluation = true;

} // namespace orvek
