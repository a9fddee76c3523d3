#include "engine/compiled_equation.h"

#include "core/number_text.h"
#include "engine/expression.h"
#include "engine/parser.h"

#include <algorithm>
#include <exception>
#include <unordered_map>

namespace orvek {

namespace {

// Stands for input i in the prepared text; a text holding it already is not compiled.
const QString kPlaceholder = QStringLiteral("ZZQV");

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
    if (!parser_)
        return false;
    std::copy(Values, Values + inputs_.size(), inputs_.begin());
    try {
        Value = parser_->Value();
    } catch (const std::exception&) {
        return false;
    }
    return true;
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
