// The law of propagation at an equation cell (numerical sensitivity coefficients,
// correlations, combined uncertainty), the effective degrees of freedom with the
// coverage factor and expanded uncertainty, and the model-wide sensitivity pass.

#include "core/common_vars.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/services.h"
#include "core/string_table.h"
#include "core/student_t.h"
#include "engine/cell.h"
#include "engine/compiled_equation.h"
#include "engine/evaluation.h"
#include "engine/expression.h"
#include "engine/formula_arithmetic.h"
#include "engine/number_twin.h"
#include "platform/dialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <unordered_map>

namespace orvek {

namespace {

QString Num(long double x)
{
    return TwinText(x);
}

bool ReadNumber(const QString& text, long double& value)
{
    // A plain number text (nearly every text here) is read at once; the same value.
    if (TwinNumber(text, value))
        return true;
    return !text.trimmed().isEmpty() && TryStrToExtendedNeutral(text.trimmed(), value);
}

const QString kInfinite = QStringLiteral("Nekonecno");

// The step of a numerical derivative at x: |x| / 10^7, and for x = 0 an absolute step
// from the input's standard uncertainty (u / 1000, or 1e-10 without u).
long double ExactStep(long double x, const QString& uText)
{
    if (x != 0)
        return std::fabs(x) / 1e7L;
    long double u = 0;
    if (ReadNumber(uText, u) && u != 0)
        return std::fabs(u) / 1000;
    return 1e-10L;
}

QString RightHandSide(const QString& equation)
{
    const qsizetype equals = equation.indexOf(QLatin1Char('='));
    return equals >= 0 ? equation.mid(equals + 1) : equation;
}

} // namespace

void TCell::ComputeOutputUncertainty()
{
    if (FCellType != kEquationCell || FValue.Text.isEmpty())
        return;
    FCombinedUncertainty.clear();
    FRelativeUncertainty.clear();
    FRelativeExpandedUncertainty.clear();

    for (const auto& child : FChildren) {
        const bool noU = child->FCombinedUncertainty.isEmpty();
        if (child->FCellType == kUncertaintyCell && child->FActive && noU)
            return;
        if (child->FCellType == kQuantityCell && (child->FValueType == 0 || child->FValueType == 2) && noU)
            return;
        if (child->FCellType == kEquationCell && noU)
            return;
    }

    const std::vector<TCell*> inputs = CorrelationMatrixChildren(*this);
    const QString y = FormulaOperand(FValue.Text);
    const QString rhs = RightHandSide(FNormalizedEquation);
    for (TCell* child : inputs)
        child->FSensitivity.clear();
    if (NumericEvaluation && ComputeOutputUncertaintyOnNumbers())
        return;

    // The derivatives come from the equation parsed once, with the same operations on
    // the same numbers as the derivative text; the text is evaluated where that fails.
    QStringList symbols, values;
    for (TCell* child : inputs) {
        symbols << child->FSymbol.Text;
        values << NormalizeNumberText(child->FValue.Text.trimmed());
    }
    TCompiledEquation* program = CompiledEvaluation ? CompiledEquationFor(FNormalizedEquation, symbols) : nullptr;
    long double yValue = 0;
    if (program && !ReadFormulaNumber(y, yValue))
        program = nullptr;

    QString sum;
    for (size_t j = 0; j < inputs.size(); ++j) {
        TCell* child = inputs[j];
        long double x = 0;
        if (!ReadNumber(child->FValue.Text, x)) {
            FErrorText = GetString(1177);
            return;
        }
        long double h = ExactStep(x, child->FCombinedUncertainty);
        long double u = 0;
        if (DerivativeMode == 1 && ReadNumber(child->FCombinedUncertainty, u) && u != 0)
            h = std::fabs(u);
        const QString H = Num(h);
        if (IsZeroText(H))
            continue;
        QString c;
        if (program) {
            QStringList plus = values, minus = values;
            plus[qsizetype(j)] = Num(x + h);
            minus[qsizetype(j)] = Num(x - h);
            long double fPlus = 0, fMinus = 0, step = 0;
            if (program->EvaluateValue(plus, fPlus) && (DerivativeMode == 1 || program->EvaluateValue(minus, fMinus))
                && ReadFormulaNumber(H, step) && step != 0) {
                const long double forward = (fPlus - yValue) / step;
                const long double d = DerivativeMode == 1 ? forward : (forward + (yValue - fMinus) / step) / 2.0L;
                if (std::isfinite(fPlus) && std::isfinite(fMinus) && std::isfinite(d))
                    c = Num(d);
            }
        }
        if (c.isEmpty()) {
            QString A = rhs, B = rhs;
            SubstituteSymbolValue(A, child->FSymbol.Text, Num(x + h));
            SubstituteSymbolValue(B, child->FSymbol.Text, Num(x - h));
            const QString F = "((" + A + ")-" + y + ")/" + H;
            const QString G = "(" + y + "-(" + B + "))/" + H;
            QString D = DerivativeMode == 1 ? F : "(" + F + "+" + G + ")/2.0";
            for (size_t k = 0; k < inputs.size(); ++k)
                if (k != j)
                    SubstituteSymbolValue(D, inputs[k]->FSymbol.Text, values[qsizetype(k)]);
            QString error;
            if (!EvaluateRemembered(D, c, &error)) {
                // A derivative the parser cannot take leaves the output without u.
                FErrorText = error;
                return;
            }
        }
        if (c.isEmpty()) {
            // Without its coefficient the input would silently drop out of u.
            if (!ParserErrorText.isEmpty())
                ShowEvaluationError(ParserErrorText);
            FErrorText = ParserErrorText.isEmpty() ? GetString(1177) : ParserErrorText;
            return;
        }
        child->FSensitivity = c;
        if (child->FCellType == kQuantityCell && child->FValueType == 1)
            child->FCombinedUncertainty = QStringLiteral("0");
        if (!sum.isEmpty())
            sum += '+';
        sum += "(" + c + ")^2*(" + child->FCombinedUncertainty + ")^2";
    }

    // Correlation terms, by the positions of the inputs in the matrix.
    long double R = 0;
    if (!FCorrelationMatrix.Text.isEmpty()) {
        auto matrix = std::make_unique<TCorrelationMatrix>();
        quint8 size = 0;
        ParseCorrelationMatrix(FCorrelationMatrix.Text, size, *matrix);
        const int n = std::min<int>(int(inputs.size()), 100);
        for (int j = 0; j < n; ++j) {
            long double cj = 0, uj = 0;
            if (!ReadNumber(inputs[size_t(j)]->FSensitivity, cj)
                || !ReadNumber(inputs[size_t(j)]->FCombinedUncertainty, uj))
                continue;
            for (int k = j + 1; k < n; ++k) {
                long double ck = 0, uk = 0;
                if (!ReadNumber(inputs[size_t(k)]->FSensitivity, ck)
                    || !ReadNumber(inputs[size_t(k)]->FCombinedUncertainty, uk))
                    continue;
                const double r = (*matrix)[size_t(j)][size_t(k)];
                if (r != 0)
                    R += 2 * cj * ck * uj * uk * r;
            }
        }
    }

    if (sum.isEmpty())
        return;
    sum = EvaluateQuietly(sum);
    if (sum.isEmpty()) {
        if (!ParserErrorText.isEmpty())
            ShowEvaluationError(ParserErrorText);
        return;
    }
    for (const auto& child : FChildren)
        if (child->FCellType == kUncertaintyCell && child->FActive)
            sum += "+(" + child->FCombinedUncertainty + ")^2";
    sum += "+(" + Num(R) + ")";
    const QString variance = EvaluateQuietly(sum);
    if (variance.isEmpty()) {
        if (!ParserErrorText.isEmpty())
            ShowEvaluationError(ParserErrorText);
        return;
    }
    if (variance.startsWith(QLatin1Char('-'))) {
        ShowEvaluationError(GetString(637));
        return;
    }
    long double v = 0;
    if (!ReadNumber(variance, v))
        return;
    FCombinedUncertainty = Num(std::sqrt(v));
    if (IsZeroText(FValue.Text))
        FRelativeUncertainty = kInfinite;
    else
        FRelativeUncertainty = EvaluateQuietly("Abs(100*" + FCombinedUncertainty + "/" + y + ")");
}

bool TCell::ComputeOutputUncertaintyOnNumbers()
{
    TCompiledEquation* program = CompiledProgram();
    long double y = 0;
    if (!program || !TwinNumber(FValue.Text, y))
        return false;
    const std::vector<TCell*> inputs = CorrelationMatrixChildren(*this);
    const size_t n = inputs.size();
    if (program->InputCount() != int(n))
        return false;
    std::vector<long double> x(n), u(n), args(n);
    std::vector<char> hasU(n);
    for (size_t j = 0; j < n; ++j) {
        if (!TwinNumber(inputs[j]->FValue.Text, x[j]))
            return false;
        const QString& uText = inputs[j]->FCombinedUncertainty;
        hasU[j] = !uText.isEmpty();
        if (hasU[j] && !TwinNumber(uText, u[j]))
            return false;
    }

    // The coefficients: the quotients of the compiled equation at x +- h, h and every
    // perturbed input rounded as their texts are.
    std::vector<long double> c(n), derivative(n);
    std::vector<char> hasC(n);
    std::vector<long double> terms;
    terms.reserve(n);
    // Each quotient changes one input: only the steps depending on it run again.
    TCompiledEquation::KeptEvaluation kept;
    long double atX = 0;
    program->EvaluateAndKeep(x.data(), kept, atX);
    auto valueWith = [&](size_t j, long double xj, long double& f) {
        if (kept.ready)
            return program->EvaluateChanged(kept, int(j), xj, f);
        args = x;
        args[j] = xj;
        return program->EvaluateNumbers(args.data(), f);
    };
    for (size_t j = 0; j < n; ++j) {
        long double h = x[j] != 0 ? std::fabs(x[j]) / 1e7L : (hasU[j] && u[j] != 0 ? std::fabs(u[j]) / 1000 : 1e-10L);
        if (DerivativeMode == 1 && hasU[j] && u[j] != 0)
            h = std::fabs(u[j]);
        if (h == 0)
            continue;
        const long double step = AsText(h);
        if (step == 0)
            return false;
        long double fPlus = 0, fMinus = 0;
        if (!valueWith(j, AsText(x[j] + h), fPlus))
            return false;
        if (DerivativeMode != 1 && !valueWith(j, AsText(x[j] - h), fMinus))
            return false;
        const long double forward = (fPlus - y) / step;
        const long double d = DerivativeMode == 1 ? forward : (forward + (y - fMinus) / step) / 2.0L;
        if (!std::isfinite(fPlus) || !std::isfinite(fMinus) || !std::isfinite(d))
            return false;
        hasC[j] = 1;
        derivative[j] = d;
        c[j] = AsText(d);
        // A value-only input counts with u "0".
        if (inputs[j]->FCellType == kQuantityCell && inputs[j]->FValueType == 1) {
            hasU[j] = 1;
            u[j] = 0;
        }
        if (!hasU[j])
            return false;
        terms.push_back((c[j] * c[j]) * (u[j] * u[j]));
    }

    // Correlation terms, by the positions of the inputs in the matrix.
    long double R = 0;
    if (!FCorrelationMatrix.Text.isEmpty()) {
        auto matrix = std::make_unique<TCorrelationMatrix>();
        quint8 size = 0;
        ParseCorrelationMatrix(FCorrelationMatrix.Text, size, *matrix);
        const int m = std::min<int>(int(n), 100);
        for (int j = 0; j < m; ++j) {
            if (!hasC[size_t(j)] || !hasU[size_t(j)])
                continue;
            const long double cj = c[size_t(j)], uj = u[size_t(j)];
            for (int k = j + 1; k < m; ++k) {
                if (!hasC[size_t(k)] || !hasU[size_t(k)])
                    continue;
                const long double ck = c[size_t(k)], uk = u[size_t(k)];
                const double r = (*matrix)[size_t(j)][size_t(k)];
                if (r != 0)
                    R += 2 * cj * ck * uj * uk * r;
            }
        }
    }

    long double variance = 0;
    if (!terms.empty()) {
        long double sum = 0;
        if (!SumAsFormula(terms, sum) || !std::isfinite(R))
            return false;
        std::vector<long double> parts { AsText(sum) };
        for (const auto& child : FChildren) {
            if (child->FCellType != kUncertaintyCell || !child->FActive)
                continue;
            long double uc = 0;
            if (!TwinNumber(child->FCombinedUncertainty, uc))
                return false;
            parts.push_back(uc * uc);
        }
        parts.push_back(AsText(R));
        if (!SumAsFormula(parts, variance))
            return false;
    }

    // Every step went on numbers: the results are written.
    for (size_t j = 0; j < n; ++j) {
        if (!hasC[j])
            continue;
        inputs[j]->FSensitivity = Num(derivative[j]);
        if (inputs[j]->FCellType == kQuantityCell && inputs[j]->FValueType == 1)
            inputs[j]->FCombinedUncertainty = QStringLiteral("0");
    }
    if (terms.empty())
        return true;
    ParserErrorText.clear();
    if (variance < 0) {
        ShowEvaluationError(GetString(637));
        return true;
    }
    FCombinedUncertainty = Num(std::sqrt(AsText(variance)));
    if (IsZeroText(FValue.Text))
        FRelativeUncertainty = kInfinite;
    else
        FRelativeUncertainty = RelativeUncertaintyText(FCombinedUncertainty, FValue.Text, TRelativeForm::Equation);
    return true;
}

void TCell::ComputeDegreesOfFreedom()
{
    FDegreesOfFreedom.clear();
    long double uCell = 0;
    if (!ReadNumber(FCombinedUncertainty, uCell))
        return;
    try {
        // The u, degrees of freedom and coefficient a child counts with; False for a
        // child that does not count.
        // The texts are the child's own fields, read in place.
        auto counted = [](const TCell& c, const QString*& u, const QString*& nu) {
            if (c.FCellType == kEquationCell || (c.FCellType == kQuantityCell && c.FValueType == 0)
                || (c.FCellType == kUncertaintyCell && c.FActive && c.ChildCount() > 0)) {
                u = &c.FCombinedUncertainty;
                nu = &c.FDegreesOfFreedom;
                return true;
            }
            if (c.FCellType == kUncertaintyCell && c.FActive) {
                u = &c.FUncertaintyInput.HSN;
                nu = &GetDegreesOfFreedomText(c.FUncertaintyInput);
                return true;
            }
            return false;
        };

        if (!FChildren.empty()) {
            bool allInfinite = true;
            for (auto& child : FChildren) {
                const QString *u = nullptr, *nu = nullptr;
                if (!counted(*child, u, nu))
                    continue;
                if (nu->isEmpty())
                    return;
                if (*nu != kInfinite)
                    allInfinite = false;
            }
            if (allInfinite)
                FDegreesOfFreedom = kInfinite;
        }

        if (FDegreesOfFreedom != kInfinite) {
            long double sigma = 0;
            for (auto& child : FChildren) {
                if (child->FSensitivity.isEmpty())
                    child->FSensitivity = QStringLiteral("1");
                const QString *uOf = nullptr, *nuOf = nullptr;
                if (!counted(*child, uOf, nuOf))
                    continue;
                const QString& uText = *uOf;
                const QString& nuText = *nuOf;
                long double u = 0, c = 0, nu = 0;
                const bool finiteNu = !nuText.isEmpty() && nuText != QLatin1String("0") && nuText != kInfinite;
                if (!uText.isEmpty() && finiteNu && ReadNumber(uText, u) && ReadNumber(child->FSensitivity, c)
                    && ReadNumber(nuText, nu)) {
                    const long double uc = u * c;
                    sigma += uc * uc * uc * uc / nu;
                    continue;
                }
                const bool acceptable = !uText.isEmpty() && !nuText.isEmpty() && nuText != QLatin1String("0")
                    && ReadNumber(uText, u) && (nuText == kInfinite || ReadNumber(nuText, nu));
                if (!acceptable)
                    return;
            }
            if (sigma == 0) {
                FDegreesOfFreedom = kInfinite;
            } else {
                const long double nuEff = uCell * uCell * uCell * uCell / sigma;
                FDegreesOfFreedom = nuEff > 1e6L ? QStringLiteral("1000000") : Num(nuEff);
                if (FDegreesOfFreedom == QLatin1String("0"))
                    FDegreesOfFreedom.clear();
            }
        }

        if (FCellType != kEquationCell || FDegreesOfFreedom.isEmpty())
            return;
        if (FCoverage < 3) {
            // Fewer than one degree of freedom takes the first row of the table.
            QString dof = FDegreesOfFreedom;
            long double nu = 0;
            if (ReadNumber(dof, nu) && nu < 1)
                dof = QStringLiteral("1");
            FCoverageFactor.Text = StudentTFactorText(dof, FCoverage);
        }
        long double k = 0, u = 0;
        FExpandedUncertainty.clear();
        FRelativeExpandedUncertainty.clear();
        if (ReadNumber(FCoverageFactor.Text, k) && ReadNumber(FCombinedUncertainty, u)) {
            const QString k_ = NormalizeNumberText(FCoverageFactor.Text);
            auto product = [&k_](const QString& r) {
                return NumericEvaluation ? ProductText(k_, r) : EvaluateQuietly(k_ + "*" + r);
            };
            const QString rounded = FormatSignificantText(SignificantDigits, FCombinedUncertainty);
            if (!rounded.isEmpty())
                FExpandedUncertainty = product(rounded);
            const QString roundedRelative = FormatSignificantText(SignificantDigits, FRelativeUncertainty);
            if (!roundedRelative.isEmpty())
                FRelativeExpandedUncertainty = product(roundedRelative);
        }
    } catch (const std::exception&) {
        // Errors of these steps end the operation; what was set stays.
    }
}

// ---------------------------------------------------------------------------------
// The model-wide sensitivity pass

namespace {

// Clears the results of the sensitivity pass in a subtree, so that no report shows
// coefficients of an earlier state of the model.
void ClearSensitivityResults(TCell& cell)
{
    cell.FNumSensitivity.clear();
    cell.FNumContribution.clear();
    cell.FLargestContribution = false;
    for (const auto& child : cell.FChildren)
        ClearSensitivityResults(*child);
}

// The values a path equation gave with one input set to a number, kept from one
// pass to the next for as long as the equation and the numbers of its inputs stay
// the same: then the same input and number give the same value. After an edit only
// the equations on the edited path get other inputs, so the levels of every other
// path below them are not evaluated again.
struct PerturbedKey {
    int index = 0;
    long double value = 0;
};

// The bytes of a long double that carry its value: all of them, but for the x87
// format's padding after its ten bytes.
struct LongDoubleBits {
    static constexpr size_t kBytes = std::numeric_limits<long double>::digits == 64 ? 10 : sizeof(long double);
    std::array<unsigned char, kBytes> bytes {};
    explicit LongDoubleBits(long double v) { std::memcpy(bytes.data(), &v, kBytes); }
    bool operator==(const LongDoubleBits&) const = default;
};

struct PerturbedKeyHash {
    size_t operator()(const PerturbedKey& k) const
    {
        const LongDoubleBits b(k.value);
        unsigned long long h = 1469598103934665603ULL ^ unsigned(k.index);
        for (unsigned char c : b.bytes)
            h = (h ^ c) * 1099511628211ULL;
        return size_t(h);
    }
};

struct PerturbedKeyEqual {
    bool operator()(const PerturbedKey& a, const PerturbedKey& b) const
    {
        return a.index == b.index && LongDoubleBits(a.value) == LongDoubleBits(b.value);
    }
};

// The value as the next level reads it (rounded as its text); not evaluated where
// the equation gave no finite value.
struct PerturbedValue {
    bool evaluated = false;
    long double value = 0;
};

struct KeptPathResults {
    TCompiledEquation* program = nullptr;
    quint64 generation = 0;
    std::vector<TCell*> inputs;
    std::vector<LongDoubleBits> values;
    std::unordered_map<PerturbedKey, PerturbedValue, PerturbedKeyHash, PerturbedKeyEqual> results;
};

// By equation cell; a cell's address is only compared, never followed, and the
// results count only while the program and every input and number are the same.
std::unordered_map<const TCell*, KeptPathResults>& KeptPaths()
{
    static std::unordered_map<const TCell*, KeptPathResults> kept;
    return kept;
}
constexpr size_t kMaxKeptPaths = 20000;

// An equation on the path from a perturbed quantity to the root, as numbers: its
// compiled form and the numbers of its inputs' value texts.
struct PathEquation {
    TCompiledEquation* program = nullptr;
    std::vector<TCell*> inputs;
    std::vector<long double> values;
    TCompiledEquation::KeptEvaluation kept; // at values
    bool usable = false;
    KeptPathResults* results = nullptr; // when kept is ready
};

// Events are let run at most this often while the pass works without a wait window.
constexpr qint64 kPumpIntervalMs = 50;

} // namespace

void TCell::ComputeSensitivityByDifference(TSensitivityRoute route, TPassStart start)
{
    if (!SensitivityPassEnabled)
        return;
    // The calculation the caller just made, when it began here and nothing calculated since.
    const quint32 generation = CalculationGeneration();
    const bool calculated = start == TPassStart::JustCalculated && CalculationGenerationRoot() == this
        && FCalculatedIn == generation && CalculationAborted != 1;
    TEvaluationScope scope;
    CurrentTargetCell = nullptr;
    try {
        BuildQuantityList();
    } catch (const EEvaluationRangeError&) {
        // Without coefficients for every quantity none are given: the old ones would
        // describe another model.
        QuantityList.Clear();
        ClearSensitivityResults(*this);
        ShowEvaluationError(GetString(22900));
        return;
    }
    // The source list is read after the pass, so the numeric route builds it once,
    // at the end; until then every source holds the coefficient the list would
    // give it now.
    if (NumericEvaluation) {
        ClearSourceList();
        TakeListedSensitivities(*this);
    } else {
        BuildSourceList();
    }
    long double Y0 = 0;
    if (FValue.Text.isEmpty() || !ReadNumber(FValue.Text, Y0)) {
        if (NumericEvaluation)
            BuildSourceList();
        return;
    }

    // Whatever happens inside, every perturbed value, the target cell, the progress
    // counters and the tree's guard are put back.
    struct Restore {
        std::vector<std::pair<TCell*, QString>> values;
        bool running = TreeEvaluationRunning;
        bool active = WaitProgressActive;
        int total = WaitProgressTotal, position = WaitProgressPosition;
        WaitWindowService* wait = nullptr; // the wait window, while this pass shows it
        void PutValuesBack()
        {
            for (auto it = values.rbegin(); it != values.rend(); ++it)
                it->first->FValue.Text = it->second;
            values.clear();
        }
        ~Restore()
        {
            if (wait)
                wait->Hide();
            PutValuesBack();
            CurrentTargetCell = nullptr;
            TreeEvaluationRunning = running;
            WaitProgressActive = active;
            WaitProgressTotal = total;
            WaitProgressPosition = position;
        }
    } restore;
    TreeEvaluationRunning = true;

    const int n = QuantityList.Count;
    WaitProgressActive = true;
    WaitProgressTotal = 2 * n;
    WaitProgressPosition = 0;
    // From 16 quantities the pass takes long enough to show the wait window.
    if (n > 15 && WaitWindow()) {
        restore.wait = WaitWindow();
        restore.wait->Show(GetString(21711));
    }
    QElapsedTimer sincePump;
    sincePump.start();
    auto advance = [n, wait = restore.wait, &sincePump] {
        ++WaitProgressPosition;
        if (wait) {
            wait->Progress(WaitProgressPosition, WaitProgressTotal);
        } else if (n > 15 && WaitProgressPosition % 16 == 0 && sincePump.elapsed() >= kPumpIntervalMs) {
            QCoreApplication::processEvents();
            sincePump.restart();
        }
    };

    // Each equation is parsed once; one the compiled route cannot take is evaluated as text.
    std::unordered_map<TCell*, TCompiledEquation*> programs;
    auto programOf = [&programs](TCell* equation) -> TCompiledEquation* {
        if (!CompiledEvaluation)
            return nullptr;
        auto it = programs.find(equation);
        if (it == programs.end())
            it = programs.emplace(equation, equation->CompiledProgram()).first;
        return it->second;
    };

    // The root value with Cell's value set to X, as text; empty when there is none.
    auto rootValueWith = [&](TCell* cell, long double x) -> QString {
        cell->FValue.Text = Num(x);
        if (cell->FCellType == kEquationCell)
            CurrentTargetCell = cell;
        if (route == TSensitivityRoute::WholeTree) {
            try {
                Calculate();
            } catch (const std::exception&) {
                return QString();
            }
        } else {
            for (TCell* p = cell->FParent; p; p = p->FParent)
                if (p->FCellType == kEquationCell && p != CurrentTargetCell)
                    p->RecomputeValueQuietly(programOf(p));
        }
        return FValue.Text;
    };

    // The same on numbers along the path, with every value rounded as its text would
    // be: 1 with the root's number in Y, 0 when the root gets no number, -1 when the
    // numbers cannot tell (the text route decides then).
    const bool onNumbers = NumericEvaluation && route == TSensitivityRoute::Path && !QuelvarMode;
    std::unordered_map<TCell*, PathEquation> path;
    std::vector<long double> args;
    auto pathEquation = [&path](TCell* equation) -> PathEquation& {
        auto it = path.find(equation);
        if (it != path.end())
            return it->second;
        PathEquation& e = path[equation];
        e.inputs = CorrelationMatrixChildren(*equation);
        e.values.resize(e.inputs.size());
        e.program = CompiledEvaluation ? equation->CompiledProgram() : nullptr;
        e.usable = e.program && e.program->InputCount() == int(e.inputs.size());
        for (size_t i = 0; e.usable && i < e.inputs.size(); ++i)
            e.usable = TwinNumber(e.inputs[i]->FValue.Text, e.values[i]);
        long double unchanged = 0;
        if (e.usable)
            e.program->EvaluateAndKeep(e.values.data(), e.kept, unchanged);
        if (e.usable && e.kept.ready) {
            auto& paths = KeptPaths();
            if (paths.size() >= kMaxKeptPaths)
                paths.clear();
            KeptPathResults& r = paths[equation];
            bool same = r.program == e.program && r.generation == CompiledEquationGeneration()
                && r.inputs == e.inputs && r.values.size() == e.values.size();
            for (size_t i = 0; same && i < e.values.size(); ++i)
                same = r.values[i] == LongDoubleBits(e.values[i]);
            if (same) {
                e.results = &r;
            } else {
                // Changed since the last pass (the root after every edit): kept from
                // the next pass on, if it stays.
                r.program = e.program;
                r.generation = CompiledEquationGeneration();
                r.inputs = e.inputs;
                r.values.clear();
                for (long double v : e.values)
                    r.values.emplace_back(v);
                r.results.clear();
            }
        }
        return e;
    };
    // The equation and input position of each level of the last path walked: the two
    // perturbations of a quantity and its siblings walk the same levels.
    struct PathLevel {
        TCell* child = nullptr;
        PathEquation* equation = nullptr;
        size_t index = 0;
    };
    std::vector<PathLevel> lastPath;
    auto rootNumberWith = [&](TCell* cell, long double x, long double& y) -> int {
        long double v = AsText(x);
        TCell* child = cell;
        size_t level = 0;
        for (TCell* p = cell->FParent; p; child = p, p = p->FParent, ++level) {
            if (level == lastPath.size())
                lastPath.emplace_back();
            PathLevel& known = lastPath[level];
            if (known.child != child || !known.equation) {
                known = PathLevel();
                if (p->FCellType != kEquationCell)
                    return -1;
                PathEquation& e = pathEquation(p);
                if (!e.usable)
                    return -1;
                const auto at = std::find(e.inputs.begin(), e.inputs.end(), child);
                if (at == e.inputs.end())
                    return -1;
                known = PathLevel { child, &e, size_t(at - e.inputs.begin()) };
            }
            PathEquation& e = *known.equation;
            const size_t index = known.index;
            long double r = 0;
            bool evaluated = false;
            if (e.results) {
                // Kept as the rounded value the next level reads.
                auto [at, added] = e.results->results.try_emplace(PerturbedKey { int(index), v });
                if (added) {
                    PerturbedValue& kept = at->second;
                    kept.evaluated = e.program->EvaluateChanged(e.kept, int(index), v, kept.value)
                        && std::isfinite(kept.value);
                    if (kept.evaluated)
                        kept.value = AsText(kept.value);
                }
                if (!at->second.evaluated)
                    return 0;
                v = at->second.value;
                if (p == this)
                    break;
                continue;
            } else if (e.kept.ready) {
                evaluated = e.program->EvaluateChanged(e.kept, int(index), v, r);
            } else {
                args = e.values;
                args[index] = v;
                evaluated = e.program->EvaluateNumbers(args.data(), r);
            }
            if (!evaluated || !std::isfinite(r))
                return 0; // no value here, so none above
            v = AsText(r);
            if (p == this)
                break;
        }
        y = v;
        return 1;
    };

    // The perturbed root value as a number; False when there is none.
    bool valuesRewritten = false;
    auto perturbed = [&](TCell* cell, long double x, long double& y) -> bool {
        if (onNumbers) {
            const int found = rootNumberWith(cell, x, y);
            if (found >= 0)
                return found == 1;
        }
        // Remember the value of the cell and of every ancestor the path route rewrites.
        valuesRewritten = true;
        for (TCell* p = cell; p; p = p->FParent)
            restore.values.emplace_back(p, p->FValue.Text);
        const QString text = rootValueWith(cell, x);
        restore.PutValuesBack();
        CurrentTargetCell = nullptr;
        return ReadNumber(text, y);
    };

    for (int i = 1; i <= n; ++i) {
        QuantityEntry& e = QuantityList[i];
        TCell* cell = e.Cell;
        advance();
        cell->FNumSensitivity.clear();
        cell->FNumContribution.clear();
        CurrentTargetCell = nullptr;
        long double x = 0;
        if (!ReadNumber(e.ValueText, x)) {
            advance();
            continue;
        }
        const long double h = ExactStep(x, e.UncertaintyText);
        long double v1 = 0, v2 = 0;
        const bool has1 = perturbed(cell, x - h, v1);
        advance();
        const bool has2 = perturbed(cell, x + h, v2);
        CurrentTargetCell = nullptr;
        if (!has1 || !has2)
            continue;
        const long double c = ((v2 - Y0) / h + (Y0 - v1) / h) / 2;
        e.Sensitivity = double(c);
        cell->FNumSensitivity = Num(c);
        if (!FCombinedUncertainty.isEmpty())
            cell->FNumContribution = Num((long double)e.Uncertainty * c);
    }

    CurrentTargetCell = nullptr;
    // The numbers left every text as the caller's calculation wrote it: calculating
    // again would write the same texts, so only the colours and hints are refreshed.
    if (calculated && onNumbers && !valuesRewritten && generation == CalculationGeneration())
        RefreshCalculatedCells(generation);
    else
        Calculate();
    WaitProgressActive = false;

    QuantityList.Clear();
    BuildSourceList();
    double total = 0;
    for (const TInfo_o_bunkach_typu_neistota& s : UncertaintySourceList)
        total += std::fabs(s.UncertaintyValue * s.Sensitivity);
    if (total > 0) {
        TInfo_o_bunkach_typu_neistota* largest = nullptr;
        double largestValue = -1;
        for (TInfo_o_bunkach_typu_neistota& s : UncertaintySourceList) {
            s.Cell->FLargestContribution = false;
            s.Contribution = s.UncertaintyValue * s.Sensitivity;
            if (std::fabs(s.Contribution) > largestValue) {
                largestValue = std::fabs(s.Contribution);
                largest = &s;
            }
        }
        if (largest)
            largest->Cell->FLargestContribution = true;
    }
}

bool TCell::ApplyImportedChartData(
    int subgroupCount, const QString& subgroupSizes, const QString& values, const QString& dates)
{
    CurrentTargetCell = nullptr;
    BuildQuantityList();
    BuildSourceList();
    TCell* source = UncertaintySourceList.empty() ? nullptr : UncertaintySourceList.front().Cell;
    // The data go only into a subgroup chart whose values the template leaves open;
    // anything else would turn another method's source into a chart behind the user's back.
    int refusal = 0;
    if (!source || source->FCellType != kUncertaintyCell)
        refusal = 22811;
    else if (source->FUncertaintyInput.TSN != 12)
        refusal = 22812;
    else if (source->FUncertaintyInput.VM_8.Lock != 0)
        refusal = 22813;
    if (refusal != 0) {
        MessageDlg(GetString(refusal), TMsgDlgType::mtError, mbCancel);
        return false;
    }
    // The new points replace the old ones; the range, operators and date format of
    // the old points go with them. The method, the chart options and the locks stay.
    TVstupStandardnejNeistoty& rec = source->FUncertaintyInput;
    rec.PM_8 = subgroupCount;
    rec.PBM_8 = subgroupSizes;
    rec.VM_8.Text = values;
    rec.DM_8 = dates;
    rec.Meral_8 = QString("@").repeated(std::max(subgroupCount, 0));
    rec.UR_8 = 0;
    rec.R_OD_8 = 1;
    rec.R_DO_8 = 9999;
    rec.FD_8 = ShortDateFormatText();
    Calculate();
    NewCellInfo.CellType = 0;
    if (CellToolService* tools = CellTools())
        tools->EditProperties(source);
    return true;
}

} // namespace orvek
