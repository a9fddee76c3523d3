#include "engine/compiled_equation.h"

#include "core/number_text.h"
#include "engine/expression.h"
#include "engine/parser.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <exception>
#include <limits>
#include <unordered_map>

namespace orvek {

namespace {

// Stands for input i in the prepared text; a text holding it already is not compiled.
const QString kPlaceholder = QStringLiteral("ZZQV");

// The kind of a step that calls the parser's routine (functions, MOD, DIV, powers).
constexpr quint8 kCallRoutine = 255;

bool AllFinite(const long double* Values, size_t Count)
{
    for (size_t i = 0; i < Count; ++i)
        if (!std::isfinite(Values[i]))
            return false;
    return true;
}

// Runs one step on the slots. With finite operands the parser's routines raise
// exactly where a result would not be finite, so a failure is a result that is not
// finite; the functions and the rarer operators run the parser's routine, which
// raises as it does in the parser. Every operation is the parser's, in its order.
// A value that is no finite number stays so through the common operators, so it
// is looked for only where it could be lost: at a divisor, at an operand of a
// routine and at the end.
template <typename S> [[gnu::always_inline]] inline bool RunStep(const S& Step, long double* Slots)
{
    const long double a = Slots[Step.a];
    long double r;
    switch (Step.kind) {
    case okMinus:
        r = -a;
        break;
    case okAdd:
        r = a + Slots[Step.b];
        break;
    case okSubtract:
        r = a - Slots[Step.b];
        break;
    case okMultiply:
        r = a * Slots[Step.b];
        break;
    case okDivide:
        r = a / Slots[Step.b]; // a zero divisor gives no finite value
        break;
    case okSquare:
        r = a * a;
        break;
    case okCube:
        r = a * a * a;
        break;
    case okFourthPower:
        r = (a * a) * (a * a);
        break;
    default: {
        OperationRecord record;
        record.Operand1 = &Slots[Step.a];
        record.Operand2 = Step.hasB ? &Slots[Step.b] : nullptr;
        record.Result = &Slots[Step.result];
        Step.routine(record);
        r = Slots[Step.result];
        break;
    }
    }
    if (Step.check && !std::isfinite(r))
        return false;
    Slots[Step.result] = r;
    return true;
}

} // namespace

class TCompiledEquation::Parser : public TParser {
public:
    using TCustomParser::DefineVariable;
    using TCustomParser::FindFunction1;
    using TCustomParser::FindFunction2;
    using TCustomParser::ParseExpression;
};

TCompiledEquation::TCompiledEquation() = default;
TCompiledEquation::~TCompiledEquation() = default;

bool TCompiledEquation::Compile(const QString& Equation, const QStringList& Symbols)
{
    parser_.reset();
    const qsizetype equals = Equation.indexOf(QLatin1Char('='));
    QString text = equals >= 0 ? Equation.mid(equals + 1) : Equation;
    const int count = int(Symbols.size());
    if (count <= 0 || count > MaxEquationSymbols || text.contains(kPlaceholder, Qt::CaseInsensitive))
        return false;
    auto parser = std::make_unique<Parser>();
    QStringList seen;
    for (const QString& symbol : Symbols) {
        const QString upper = symbol.toUpper();
        if (symbol.isEmpty() || symbol[0].isDigit() || upper == QLatin1String("PI") || seen.contains(upper)
            || parser->FindFunction1(upper) || parser->FindFunction2(upper)
            || symbol.contains(kPlaceholder, Qt::CaseInsensitive))
            return false;
        seen << upper;
    }
    // The same replacements the text route makes, with names in place of values.
    for (int i = 0; i < count; ++i)
        ReplaceSymbol(text, Symbols[i], kPlaceholder + QString::number(i));
    if (text.startsWith(QLatin1Char('=')))
        text.remove(0, 1);
    RemoveBlanks(text, text);
    FoldSignPairs(text, text);
    CommaToPoint(text, text);
    SemicolonToComma(text, text);
    if (text.isEmpty())
        return false;
    inputs_.assign(size_t(count), 0.0L);
    for (int i = 0; i < count; ++i)
        parser->DefineVariable(kPlaceholder + QString::number(i), &inputs_[size_t(i)]);
    try {
        parser->ParseExpression(text);
    } catch (const std::exception&) {
        return false;
    }
    // A name the text route leaves in place (a parser variable) is refused there.
    for (const OperationRecord& r : parser->Operations()) {
        for (long double* operand : { r.Operand1, r.Operand2, r.Kind == okVariable ? r.Result : nullptr }) {
            if (!operand)
                continue;
            for (const auto& [name, storage] : parser->Variables())
                if (storage == operand && !name.startsWith(kPlaceholder))
                    return false;
        }
    }
    parser_ = std::move(parser);
    BuildSteps();
    return true;
}

void TCompiledEquation::BuildSteps()
{
    steps_.clear();
    dependents_.clear();
    dependentStart_.clear();
    flat_ = false;
    random_ = false;
    const size_t n = inputs_.size();
    if (n > size_t(MaxEquationSymbols) || parser_->Operations().empty())
        return;
    const OperationRoutine rnd = parser_->FindFunction1(u"RND");
    const OperationRoutine random = parser_->FindFunction1(u"RANDOM");
    // Slots: the inputs, then every constant and result cell of the parser in order of use.
    std::unordered_map<const long double*, size_t> slotOf;
    for (size_t i = 0; i < n; ++i)
        slotOf.emplace(&inputs_[i], i);
    slots_.assign(n, 0.0L);
    auto slot = [&](const long double* cell) {
        const auto [it, added] = slotOf.emplace(cell, slots_.size());
        if (added)
            slots_.push_back(*cell); // a constant keeps its value; a result is written before it is read
        return it->second;
    };
    // The inputs each slot's value depends on, and each step's.
    using Inputs = std::bitset<MaxEquationSymbols>;
    std::vector<Inputs> slotInputs;
    std::vector<Inputs> stepInputs;
    auto inputsOf = [&](size_t s) {
        Inputs inputs = s < slotInputs.size() ? slotInputs[s] : Inputs();
        if (s < n)
            inputs.set(s);
        return inputs;
    };
    size_t result = 0;
    for (const OperationRecord& r : parser_->Operations()) {
        if (r.Kind == okVariable || r.Kind == okConstant) {
            result = slot(r.Result); // the whole expression is one name or number
            continue;
        }
        if (!r.Operand1 || !r.Result || !r.Routine)
            return; // the parser runs what this evaluator does not know
        bool inlined = false;
        switch (r.Kind) {
        case okMinus:
        case okSquare:
        case okCube:
        case okFourthPower:
            inlined = true;
            break;
        case okAdd:
        case okSubtract:
        case okMultiply:
        case okDivide:
            inlined = r.Operand2 != nullptr;
            break;
        default:
            break;
        }
        Step step;
        step.kind = inlined && r.Routine == RoutineOfKind(r.Kind) ? quint8(r.Kind) : kCallRoutine;
        step.routine = r.Routine;
        const size_t a = slot(r.Operand1);
        const size_t b = r.Operand2 ? slot(r.Operand2) : a;
        result = slot(r.Result);
        if (slots_.size() > 0xFFFF) {
            steps_.clear();
            return;
        }
        step.a = quint16(a);
        step.b = quint16(b);
        step.hasB = r.Operand2 != nullptr;
        step.result = quint16(result);
        if (r.Routine == rnd || r.Routine == random)
            random_ = true;
        Inputs inputs = inputsOf(a);
        if (step.hasB)
            inputs |= inputsOf(b);
        if (slotInputs.size() <= result)
            slotInputs.resize(slots_.size());
        slotInputs[result] = inputs;
        stepInputs.push_back(inputs);
        steps_.push_back(step);
    }
    resultSlot_ = quint16(result);
    // The steps whose results are checked (see RunStep).
    std::vector<int> producer(slots_.size(), -1);
    for (size_t k = 0; k < steps_.size(); ++k)
        producer[steps_[k].result] = int(k);
    auto check = [&](size_t s) {
        if (producer[s] >= 0)
            steps_[size_t(producer[s])].check = true;
    };
    for (const Step& step : steps_) {
        if (step.kind == kCallRoutine) {
            check(step.a);
            if (step.hasB)
                check(step.b);
        } else if (step.kind == okDivide) {
            check(step.b);
        }
    }
    check(resultSlot_);
    dependentStart_.push_back(0);
    for (size_t i = 0; i < n; ++i) {
        for (size_t k = 0; k < steps_.size(); ++k)
            if (stepInputs[k].test(i))
                dependents_.push_back(quint16(k));
        dependentStart_.push_back(quint32(dependents_.size()));
    }
    flat_ = true;
}

bool TCompiledEquation::RunOn(const long double* Values, long double* Slots, long double& Value)
{
    const size_t n = inputs_.size();
    if (!flat_ || !AllFinite(Values, n)) {
        // The parser itself, where a value that is no finite number may pass through.
        std::copy(Values, Values + n, inputs_.begin());
        try {
            Value = parser_->Value();
        } catch (const std::exception&) {
            return false;
        }
        return true;
    }
    std::copy(Values, Values + n, Slots);
    try {
        for (const Step& step : steps_)
            if (!RunStep(step, Slots))
                return false;
    } catch (const std::exception&) {
        return false;
    }
    Value = Slots[resultSlot_];
    return true;
}

bool ReadFormulaNumber(const QString& Text, long double& Value)
{
    QString t = Text;
    t.remove(QLatin1Char(' '));
    if (t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')')))
        t = t.mid(1, t.size() - 2);
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.startsWith(QLatin1Char('+')))
        t.remove(0, 1);
    return !t.isEmpty() && parser_text::ParseNumber(t.constData(), int(t.size()), true, Value);
}

bool TCompiledEquation::EvaluateValue(const QStringList& ValueTexts, long double& Value)
{
    if (!parser_ || ValueTexts.size() != qsizetype(inputs_.size()))
        return false;
    for (size_t i = 0; i < inputs_.size(); ++i)
        if (!ReadFormulaNumber(ValueTexts[qsizetype(i)], inputs_[i]))
            return false;
    try {
        Value = parser_->Value();
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

bool TCompiledEquation::EvaluateNumbers(const long double* Values, long double& Value)
{
    return parser_ && RunOn(Values, slots_.data(), Value);
}

bool TCompiledEquation::EvaluateAndKeep(const long double* Values, KeptEvaluation& Kept, long double& Value)
{
    Kept.ready = false;
    if (!parser_)
        return false;
    if (!flat_ || random_ || !AllFinite(Values, inputs_.size()))
        return EvaluateNumbers(Values, Value);
    Kept.base = slots_;
    if (!RunOn(Values, Kept.base.data(), Value))
        return false;
    Kept.work = Kept.base;
    Kept.ready = true;
    return true;
}

bool TCompiledEquation::EvaluateChanged(KeptEvaluation& Kept, int Index, long double X, long double& Value)
{
    const size_t n = inputs_.size();
    if (!Kept.ready || Index < 0 || size_t(Index) >= n)
        return false;
    if (!std::isfinite(X)) {
        std::vector<long double> values(Kept.base.begin(), Kept.base.begin() + qsizetype(n));
        values[size_t(Index)] = X;
        return EvaluateNumbers(values.data(), Value);
    }
    long double* slots = Kept.work.data();
    const quint16* first = dependents_.data() + dependentStart_[size_t(Index)];
    const quint16* last = dependents_.data() + dependentStart_[size_t(Index) + 1];
    slots[Index] = X;
    bool ok = true;
    try {
        for (const quint16* k = first; ok && k != last; ++k)
            ok = RunStep(steps_[*k], slots);
    } catch (const std::exception&) {
        ok = false;
    }
    if (ok)
        Value = slots[resultSlot_];
    // The kept values back for the next change.
    slots[Index] = Kept.base[size_t(Index)];
    for (const quint16* k = first; k != last; ++k)
        slots[steps_[*k].result] = Kept.base[steps_[*k].result];
    return ok;
}

QString TCompiledEquation::Evaluate(const QStringList& ValueTexts)
{
    long double v = 0;
    if (!EvaluateValue(ValueTexts, v))
        return QString();
    const QString result = FloatToGeneralText(v);
    return result == QLatin1String("INF") ? QString() : result;
}

namespace {
std::unordered_map<QString, std::unique_ptr<TCompiledEquation>>& Programs()
{
    static std::unordered_map<QString, std::unique_ptr<TCompiledEquation>> programs;
    return programs;
}
quint64 g_generation = 1;
} // namespace

void ForgetCompiledEquations()
{
    Programs().clear();
    ++g_generation;
}

quint64 CompiledEquationGeneration()
{
    return g_generation;
}

TCompiledEquation* CompiledEquationFor(const QString& Equation, const QStringList& Symbols)
{
    auto& programs = Programs();
    constexpr size_t kMaxPrograms = 5000;
    const QString key = Symbols.join(QLatin1Char(' ')) + QLatin1Char('|') + Equation;
    auto it = programs.find(key);
    if (it == programs.end()) {
        if (programs.size() >= kMaxPrograms)
            ForgetCompiledEquations();
        auto program = std::make_unique<TCompiledEquation>();
        if (!program->Compile(Equation, Symbols))
            program.reset();
        it = programs.emplace(key, std::move(program)).first;
    }
    return it->second.get();
}

} // namespace orvek
