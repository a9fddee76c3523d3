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

struct OperationRecord;

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

    // The value of every step of one evaluation, kept by a caller that evaluates the
    // equation again and again with one input changed at a time (the derivatives).
    struct KeptEvaluation {
        std::vector<long double> base; // every slot at the kept inputs
        std::vector<long double> work; // the same, changed only while a step runs
        bool ready = false;
    };
    // EvaluateNumbers, keeping every step's value in Kept. Kept is not ready where the
    // value is no finite number or the steps must all run every time (random values).
    bool EvaluateAndKeep(const long double* Values, KeptEvaluation& Kept, long double& Value);
    // The value with input Index set to X and every other input as kept: only the
    // steps that depend on that input run, on the kept values of the others, so the
    // value and its failures are those of EvaluateNumbers. Kept must be ready.
    bool EvaluateChanged(KeptEvaluation& Kept, int Index, long double X, long double& Value);

private:
    // One operation over value slots: the inputs first, then constants and results.
    struct Step {
        quint16 a = 0, b = 0, result = 0;
        quint8 kind = 0;
        bool hasB = false;
        bool check = false; // a result that is no finite number fails here
        void (*routine)(OperationRecord&) = nullptr;
    };
    void BuildSteps();
    // Evaluates on these slots (the parser's storage where the steps cannot run).
    bool RunOn(const long double* Values, long double* Slots, long double& Value);

    class Parser;
    std::unique_ptr<Parser> parser_;
    std::vector<long double> inputs_;
    std::vector<Step> steps_;
    std::vector<long double> slots_; // the constants in place; the rest written per run
    quint16 resultSlot_ = 0;
    bool flat_ = false; // the steps stand for the parser's operation list
    bool random_ = false; // a step gives another value on every run
    // The steps depending on input i: dependents_[dependentStart_[i] .. dependentStart_[i + 1]).
    std::vector<quint16> dependents_;
    std::vector<quint32> dependentStart_;
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
