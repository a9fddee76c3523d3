// The evaluation of a tree of cells: values of the equations, uncertainties of the
// quantities and sources, the working lists and the predicates on a model.

#include "engine/evaluation.h"

#include "core/clock.h"
#include "core/common_vars.h"
#include "core/number_text.h"
#include "core/services.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "engine/compiled_equation.h"
#include "engine/expression.h"
#include "engine/formula_arithmetic.h"
#include "engine/number_twin.h"
#include "engine/source_uncertainty.h"
#include "platform/dialogs.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <cmath>
#include <exception>

namespace orvek {

namespace {

int g_scopeDepth = 0;
// Nesting of Calculate calls, and the outermost calls counted with the cell each began at.
int g_calculateDepth = 0;
quint32 g_calculationGeneration = 0;
const TCell* g_generationRoot = nullptr;
QSet<QString> g_shownErrors;
// Counts the messages the evaluation asked to show: a calculation that showed one
// must show it again, so it is never kept.
quint64 g_messageRequests = 0;

struct RememberedResult {
    QString result;
    QString parserError;
    QString error;
    bool raised = false;
};
// Results by text; the number format and language the texts were made in are part of
// the key, so that a changed setting never gives an old text.
QHash<QString, RememberedResult> g_remembered;
constexpr qsizetype kMaxRemembered = 20000;

bool IsUncertainty(const TCell& c)
{
    return c.FCellType == kUncertaintyCell;
}

// The parent value of a source: the value of an equation or quantity parent.
QString ParentValueOf(const TCell& cell)
{
    if (!cell.FParent || IsUncertainty(*cell.FParent))
        return QString();
    return cell.FParent->FValue.Text;
}

// The mean a QuelvarMode equation takes from its last child, if any.
QString QuelvarMeanOf(const TCell& cell)
{
    if (!QuelvarMode || cell.ChildCount() == 0)
        return QString();
    const TCell& last = *cell.Child(cell.ChildCount() - 1);
    if (!IsUncertainty(last) || !last.FActive)
        return QString();
    const TVstupStandardnejNeistoty& u = last.FUncertaintyInput;
    switch (u.TSN) {
    case 6:
        return u.AP_3;
    case 7:
        return u.AP_4;
    case 13:
        return u.AP_9;
    case 14:
        return u.AP_10;
    default:
        return QString();
    }
}

// The nearest ancestor that is not an uncertainty cell.
const TCell* OwningQuantity(const TCell& cell)
{
    const TCell* p = cell.FParent;
    while (p && IsUncertainty(*p))
        p = p->FParent;
    return p;
}

// A source takes the coefficient of the quantity it belongs to (also below an inner
// uncertainty cell), or 1 when that has none; returns it as a number.
double TakeOwnersSensitivity(TCell& source)
{
    const TCell* owner = OwningQuantity(source);
    const QString c = owner ? owner->FNumSensitivity : QString();
    double value = 1.0;
    if (!c.isEmpty() && (TwinDouble(c, value) || TryStrToFloatNeutral(c, value))) {
        // Most passes give the text the source holds already: no new reference then.
        if (source.FNumSensitivity.constData() != c.constData() || source.FNumSensitivity.size() != c.size())
            source.FNumSensitivity = c;
        return value;
    }
    source.FNumSensitivity = QStringLiteral("1.0");
    return 1.0;
}

double ParsedOrZero(const QString& text)
{
    double v = 0;
    if (!TwinDouble(text, v) && !TryStrToFloatNeutral(text, v))
        v = 0;
    return v;
}

// The u of a cell from the u texts of its parts: the root of the sum of squares.
QString RootOfSumOfSquares(const std::vector<QString>& terms)
{
    long double root = 0;
    if (NumericEvaluation && RootSumOfSquares(terms, root)) {
        ParserErrorText.clear();
        return TwinText(root);
    }
    return EvaluateQuietly("SQRT(" + SumOfSquaresText(terms) + ")");
}

QString RelativeUncertainty(const QString& u, const QString& value)
{
    if (NumericEvaluation)
        return RelativeUncertaintyText(u, value, TRelativeForm::Quantity);
    return EvaluateQuietly("100*Abs(" + u + "/" + FormulaOperand(value) + ")");
}

} // namespace

TEvaluationScope::TEvaluationScope()
{
    if (g_scopeDepth++ == 0)
        g_shownErrors.clear();
}

TEvaluationScope::~TEvaluationScope()
{
    --g_scopeDepth;
}

void ShowEvaluationError(const QString& text)
{
    ++g_messageRequests;
    if (g_scopeDepth > 0) {
        if (g_shownErrors.contains(text))
            return;
        g_shownErrors.insert(text);
    }
    MessageDlg(text, TMsgDlgType::mtError, mbCancel);
}

QString EvaluateQuietly(const QString& text)
{
    QString result;
    if (!EvaluateRemembered(text, result))
        result.clear();
    return result;
}

bool EvaluateRemembered(const QString& text, QString& result, QString* error)
{
    if (text.contains(QLatin1String("RND"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("RANDOM"), Qt::CaseInsensitive)) {
        try {
            EvaluateExpression(text, result);
            return true;
        } catch (const std::exception& e) {
            result.clear();
            if (error)
                *error = QString::fromUtf8(e.what());
            return false;
        }
    }
    const QString key = QString(OwnDecimalSeparator) + QString::number(LanguageID) + QLatin1Char('|') + text;
    auto it = g_remembered.constFind(key);
    if (it == g_remembered.constEnd()) {
        RememberedResult r;
        try {
            EvaluateExpression(text, r.result);
            r.parserError = ParserErrorText;
        } catch (const std::exception& e) {
            r.raised = true;
            r.error = QString::fromUtf8(e.what());
            r.parserError = ParserErrorText;
        }
        if (g_remembered.size() >= kMaxRemembered)
            g_remembered.clear();
        it = g_remembered.insert(key, r);
    }
    ParserErrorText = it->parserError;
    result = it->result;
    if (it->raised && error)
        *error = it->error;
    return !it->raised;
}

void ForgetRememberedResults()
{
    g_remembered.clear();
}

QString FormulaOperand(const QString& valueText)
{
    const QString t = NormalizeNumberText(valueText);
    return t.startsWith(QLatin1Char('-')) ? "(" + t + ")" : t;
}

std::vector<TCell*> CorrelationMatrixChildren(const TCell& equation)
{
    std::vector<TCell*> children;
    for (const auto& child : equation.FChildren)
        if (!IsUncertainty(*child))
            children.push_back(child.get());
    return children;
}

bool HasNonZeroUncertainty(const TCell& cell)
{
    return !cell.FCombinedUncertainty.isEmpty() && !IsZeroText(cell.FCombinedUncertainty);
}

void EvaluateTree(TCell& root)
{
    root.Calculate();
}

// ---------------------------------------------------------------------------------
// Calculate

quint32 CalculationGeneration()
{
    return g_calculationGeneration;
}

const TCell* CalculationGenerationRoot()
{
    return g_generationRoot;
}

// ---------------------------------------------------------------------------------
// Keeping what did not change
//
// A calculation of a cell writes its results from what it reads: its own fields,
// some fields of its children, the parent value (a source), the settings and the
// date. Each calculation on numbers keeps a copy of all of that (the stamp); a later
// calculation that finds all of it as it was, and every cell the step calculates
// unchanged in the same way, would write the same texts, so it keeps the subtree as
// it is. Texts are compared, so whoever changed a field, the change is seen.

namespace {

// The settings and the date the texts of a calculation depend on.
struct CalculationSettings {
    int derivativeMode = 0;
    bool quelvarMode = false;
    quint8 significantDigits = 0;
    QChar ownSeparator, foreignSeparator;
    quint8 languageId = 0;
    bool zeroToCalculations = false;
    bool compiled = false;
    QDate today;
    const void* hints = nullptr;
    bool operator==(const CalculationSettings&) const = default;
};

CalculationSettings CurrentCalculationSettings()
{
    CalculationSettings s;
    s.derivativeMode = DerivativeMode;
    s.quelvarMode = QuelvarMode;
    s.significantDigits = SignificantDigits;
    s.ownSeparator = OwnDecimalSeparator;
    s.foreignSeparator = ForeignDecimalSeparator;
    s.languageId = LanguageID;
    s.zeroToCalculations = ZeroToCalculations;
    s.compiled = CompiledEvaluation;
    s.today = Today();
    s.hints = CellHints();
    return s;
}

// Stamps of an older epoch are never used; a changed setting starts a new one.
quint64 g_stampEpoch = 1;
CalculationSettings g_stampSettings;
// Whether the running outermost calculation keeps and uses stamps: only on numbers
// and never while the sensitivity pass perturbs an equation.
bool g_keepingStamps = false;

bool SameText(const QString& a, const QString& b)
{
    return a.size() == b.size() && (a.constData() == b.constData() || a == b);
}

// Whether the calculation of Parent calculates Child, or only reads its fields.
bool CalculatedByParent(const TCell& parent, const TCell& child)
{
    switch (parent.FCellType) {
    case kEquationCell:
        return true;
    case kQuantityCell: {
        if (parent.FValueType != 0 || !IsUncertainty(child) || !child.FActive)
            return false;
        const TVstupStandardnejNeistoty& u = child.FUncertaintyInput;
        const bool dependsOnValue = u.USType == 2 || u.USType == 3 || u.USType == 7;
        const bool relativeOutput
            = (u.TSN == 9 || u.TSN == 11 || u.TSN == 12 || u.TSN == 13) && GetOutputChoice(u) == 1;
        return child.ChildCount() > 0 || dependsOnValue || relativeOutput;
    }
    case kUncertaintyCell:
        return child.FActive && child.ChildCount() > 0;
    default:
        return false;
    }
}

// A calculation whose texts may differ on the next run with the same inputs: random
// functions in an equation, formulas, expressions and conditions in a source.
bool VariesByRun(const TCell& cell)
{
    if (cell.FCellType == kEquationCell)
        return cell.FNormalizedEquation.contains(QLatin1String("RND"), Qt::CaseInsensitive)
            || cell.FNormalizedEquation.contains(QLatin1String("RANDOM"), Qt::CaseInsensitive);
    if (cell.FCellType == kUncertaintyCell) {
        const quint8 kind = cell.FUncertaintyInput.USType;
        return kind == 3 || kind == 4 || kind == 7;
    }
    return false;
}

} // namespace

// The fields of a child that its parent's step reads or writes.
struct ChildView {
    const TCell* cell = nullptr;
    quint8 cellType = 0, valueType = 0, usType = 0, method = 0;
    bool active = false;
    int childCount = 0, outputChoice = 0;
    QString symbol, value, uncertainty, degrees, sensitivity, hsn, methodDegrees;

    explicit ChildView(const TCell& c)
        : cell(&c)
        , cellType(c.FCellType)
        , valueType(c.FValueType)
        , usType(c.FUncertaintyInput.USType)
        , method(c.FUncertaintyInput.TSN)
        , active(c.FActive)
        , childCount(c.ChildCount())
        , outputChoice(GetOutputChoice(c.FUncertaintyInput))
        , symbol(c.FSymbol.Text)
        , value(c.FValue.Text)
        , uncertainty(c.FCombinedUncertainty)
        , degrees(c.FDegreesOfFreedom)
        , sensitivity(c.FSensitivity)
        , hsn(c.FUncertaintyInput.HSN)
        , methodDegrees(GetDegreesOfFreedomText(c.FUncertaintyInput))
    {
    }
    bool Matches(const TCell& c) const
    {
        return cell == &c && cellType == c.FCellType && valueType == c.FValueType
            && usType == c.FUncertaintyInput.USType && method == c.FUncertaintyInput.TSN && active == c.FActive
            && childCount == c.ChildCount() && outputChoice == GetOutputChoice(c.FUncertaintyInput)
            && SameText(symbol, c.FSymbol.Text) && SameText(value, c.FValue.Text)
            && SameText(uncertainty, c.FCombinedUncertainty) && SameText(degrees, c.FDegreesOfFreedom)
            && SameText(sensitivity, c.FSensitivity) && SameText(hsn, c.FUncertaintyInput.HSN)
            && SameText(methodDegrees, GetDegreesOfFreedomText(c.FUncertaintyInput));
    }
};

struct TCell::TCalculationStamp {
    quint64 epoch = 0;
    // The shared state the calculation began with and left.
    QString parserErrorBefore, parserErrorAfter;
    quint8 abortedBefore = 0, abortedAfter = 0;
    // The cell's own fields.
    quint8 cellType = 0, valueType = 0, coverage = 0, highlightMode = 0;
    bool active = false, largest = false, bevel = false;
    quint32 color = 0;
    std::array<quint32, 6> colors {};
    QString name, symbol, value, uncertainty, relative, expanded, relativeExpanded, degrees, coverageFactor,
        correlation, equation, error, sumFormula, hint, parentValue;
    std::unique_ptr<TVstupStandardnejNeistoty> record; // uncertainty cells
    std::vector<ChildView> children;

    bool OwnFieldsMatch(const TCell& c) const
    {
        return cellType == c.FCellType && valueType == c.FValueType && coverage == c.FCoverage
            && highlightMode == c.FHighlightMode && active == c.FActive
            && largest == (c.FHighlightMode == 3 && c.FLargestContribution) && bevel == c.FBox.InnerBevelLowered
            && color == c.FBox.Color && colors == c.FColors && SameText(name, c.FCellName.Text)
            && SameText(symbol, c.FSymbol.Text) && SameText(value, c.FValue.Text)
            && SameText(uncertainty, c.FCombinedUncertainty) && SameText(relative, c.FRelativeUncertainty)
            && SameText(expanded, c.FExpandedUncertainty)
            && SameText(relativeExpanded, c.FRelativeExpandedUncertainty)
            && SameText(degrees, c.FDegreesOfFreedom) && SameText(coverageFactor, c.FCoverageFactor.Text)
            && SameText(correlation, c.FCorrelationMatrix.Text) && SameText(equation, c.FNormalizedEquation)
            && SameText(error, c.FErrorText) && SameText(sumFormula, c.FSumFormula.Text)
            && SameText(hint, c.FBox.Hint) && (!record || *record == c.FUncertaintyInput);
    }
};

void TCell::TStampDeleter::operator()(TCalculationStamp* stamp) const
{
    delete stamp;
}

void ForgetCalculations()
{
    ++g_stampEpoch;
}

bool TCell::CalculationIsCurrent()
{
    if (!FStamp || FStamp->epoch != g_stampEpoch)
        return false;
    const TCalculationStamp& s = *FStamp;
    // The same start gives the same end: the step leaves what it left last time.
    if (s.abortedBefore != CalculationAborted || !SameText(s.parserErrorBefore, ParserErrorText))
        return false;
    // A source's parent value may have changed since the tree was looked at.
    if (IsUncertainty(*this) && !SameText(s.parentValue, ParentValueOf(*this)))
        return false;
    return SubtreeUnchanged();
}

bool TCell::SubtreeUnchanged()
{
    if (FCheckedIn == g_calculationGeneration)
        return FCheckedUnchanged;
    bool unchanged = FStamp && FStamp->epoch == g_stampEpoch && FStamp->OwnFieldsMatch(*this)
        && FStamp->children.size() == FChildren.size()
        && (!IsUncertainty(*this) || SameText(FStamp->parentValue, ParentValueOf(*this)));
    for (size_t i = 0; unchanged && i < FChildren.size(); ++i) {
        const TCell& child = *FChildren[i];
        unchanged = FStamp->children[i].Matches(child)
            && (!CalculatedByParent(*this, child) || FChildren[i]->SubtreeUnchanged());
    }
    FCheckedIn = g_calculationGeneration;
    FCheckedUnchanged = unchanged;
    return unchanged;
}

void TCell::TakeCalculationStamp(const QString& parserErrorBefore, quint8 abortedBefore)
{
    if (!FStamp)
        FStamp.reset(new TCalculationStamp);
    TCalculationStamp& s = *FStamp;
    s.epoch = g_stampEpoch;
    s.parserErrorBefore = parserErrorBefore;
    s.parserErrorAfter = ParserErrorText;
    s.abortedBefore = abortedBefore;
    s.abortedAfter = CalculationAborted;
    s.cellType = FCellType;
    s.valueType = FValueType;
    s.coverage = FCoverage;
    s.highlightMode = FHighlightMode;
    s.active = FActive;
    s.largest = FHighlightMode == 3 && FLargestContribution;
    s.bevel = FBox.InnerBevelLowered;
    s.color = FBox.Color;
    s.colors = FColors;
    s.name = FCellName.Text;
    s.symbol = FSymbol.Text;
    s.value = FValue.Text;
    s.uncertainty = FCombinedUncertainty;
    s.relative = FRelativeUncertainty;
    s.expanded = FExpandedUncertainty;
    s.relativeExpanded = FRelativeExpandedUncertainty;
    s.degrees = FDegreesOfFreedom;
    s.coverageFactor = FCoverageFactor.Text;
    s.correlation = FCorrelationMatrix.Text;
    s.equation = FNormalizedEquation;
    s.error = FErrorText;
    s.sumFormula = FSumFormula.Text;
    s.hint = FBox.Hint;
    if (IsUncertainty(*this)) {
        s.parentValue = ParentValueOf(*this);
        if (s.record)
            *s.record = FUncertaintyInput;
        else
            s.record = std::make_unique<TVstupStandardnejNeistoty>(FUncertaintyInput);
    } else {
        s.parentValue.clear();
        s.record.reset();
    }
    s.children.clear();
    s.children.reserve(FChildren.size());
    for (const auto& child : FChildren)
        s.children.emplace_back(*child);
}

void TCell::Calculate()
{
    if (CalculationAborted == 1)
        return;
    TEvaluationScope scope;
    if (g_calculateDepth == 0) {
        ++g_calculationGeneration;
        g_generationRoot = this;
        g_keepingStamps = NumericEvaluation && !CurrentTargetCell;
        if (g_keepingStamps) {
            const CalculationSettings settings = CurrentCalculationSettings();
            if (!(settings == g_stampSettings)) {
                g_stampSettings = settings;
                ForgetCalculations();
            }
        }
    }
    if (g_keepingStamps && CalculationIsCurrent()) {
        ParserErrorText = FStamp->parserErrorAfter;
        CalculationAborted = FStamp->abortedAfter;
        return;
    }
    // Until this calculation ends normally, its old stamp stands for nothing.
    if (FStamp)
        FStamp->epoch = 0;
    const QString parserErrorBefore = ParserErrorText;
    const quint8 abortedBefore = CalculationAborted;
    const quint64 messagesBefore = g_messageRequests;
    struct Depth {
        Depth() { ++g_calculateDepth; }
        ~Depth() { --g_calculateDepth; }
    } depth;
    switch (FCellType) {
    case kEquationCell:
        CalculateEquation();
        break;
    case kQuantityCell:
        CalculateQuantity();
        break;
    case kUncertaintyCell:
        if (!FChildren.empty()) {
            CalculateInnerSource();
        } else if (FActive) {
            CalculationAborted = GetExpiryState();
            if (CalculationAborted != 1)
                ComputeStandardUncertainty();
        }
        break;
    default:
        break;
    }
    if (CalculationAborted != 1) {
        ApplyHighlightColour();
        UpdateHint();
        FCalculatedIn = g_calculationGeneration;
        if (g_keepingStamps && messagesBefore == g_messageRequests && !VariesByRun(*this))
            TakeCalculationStamp(parserErrorBefore, abortedBefore);
    }
}

void TCell::RefreshCalculatedCells(quint32 generation)
{
    for (auto& child : FChildren)
        child->RefreshCalculatedCells(generation);
    if (FCalculatedIn == generation) {
        ApplyHighlightColour();
        UpdateHint();
    }
}

void TCell::CalculateEquation()
{
    if (this == CurrentTargetCell) {
        if (!FValue.Text.isEmpty())
            ComputeOutputUncertainty();
        if (!FCombinedUncertainty.isEmpty())
            ComputeDegreesOfFreedom();
        return;
    }
    FRelativeUncertainty.clear();
    FCombinedUncertainty.clear();
    FExpandedUncertainty.clear();
    FRelativeExpandedUncertainty.clear();
    FDegreesOfFreedom.clear();
    FErrorText.clear();

    bool allValues = true;
    for (auto& child : FChildren) {
        if (IsUncertainty(*child))
            continue;
        if (child.get() != CurrentTargetCell) {
            try {
                child->Calculate();
            } catch (const std::exception&) {
                // One input that fails keeps what it had; the others go on.
            }
        }
        if (CalculationAborted == 1)
            return;
        if (child->FValue.Text.isEmpty())
            allValues = false;
    }

    if (allValues) {
        ComputeValueFromEquation();
        bool allSourcesHaveU = true;
        for (auto& child : FChildren) {
            if (!IsUncertainty(*child) || !child->FActive)
                continue;
            child->Calculate();
            if (CalculationAborted == 1)
                return;
            if (child->FCombinedUncertainty.isEmpty())
                allSourcesHaveU = false;
        }
        if (allSourcesHaveU) {
            if (FValue.Text == QLatin1String("NAN")) {
                FErrorText = GetString(1177);
            } else {
                if (!FValue.Text.isEmpty())
                    ComputeOutputUncertainty();
                if (!FCombinedUncertainty.isEmpty())
                    ComputeDegreesOfFreedom();
            }
        }
    } else {
        FValue.Text.clear();
        for (auto& child : FChildren) {
            if (!IsUncertainty(*child))
                continue;
            child->Calculate();
            if (CalculationAborted == 1)
                return;
        }
    }
    ApplyQuelvarMean();
}

void TCell::ApplyQuelvarMean()
{
    const QString mean = QuelvarMeanOf(*this);
    if (!mean.isEmpty())
        FValue.Text = mean;
}

void TCell::CalculateQuantity()
{
    if (FValueType == 1)
        return;
    if (FValueType == 2) {
        FRelativeUncertainty.clear();
        if (!FValue.Text.isEmpty() && !FCombinedUncertainty.isEmpty() && !IsZeroText(FValue.Text))
            FRelativeUncertainty = RelativeUncertainty(FCombinedUncertainty, FValue.Text);
        return;
    }
    FCombinedUncertainty.clear();
    FRelativeUncertainty.clear();
    FExpandedUncertainty.clear();
    FDegreesOfFreedom.clear();
    FCoverageFactor.Text.clear();
    std::vector<QString> terms;
    bool missing = false;
    for (auto& child : FChildren) {
        if (!IsUncertainty(*child) || !child->FActive)
            continue;
        if (CalculatedByParent(*this, *child)) {
            child->Calculate();
            if (CalculationAborted == 1)
                return;
        }
        const QString& cu = child->FCombinedUncertainty;
        if (cu.isEmpty())
            missing = true;
        else if (cu != QLatin1String("NAN"))
            terms.push_back(cu);
    }
    if (missing || terms.empty())
        return;
    FCombinedUncertainty = RootOfSumOfSquares(terms);
    if (FCombinedUncertainty.isEmpty())
        return;
    if (FValue.Text.isEmpty())
        FRelativeUncertainty.clear();
    else if (IsZeroText(FValue.Text))
        FRelativeUncertainty = QStringLiteral("Nekonecno");
    else
        FRelativeUncertainty = RelativeUncertainty(FCombinedUncertainty, FValue.Text);
    ComputeDegreesOfFreedom();
}

void TCell::CalculateInnerSource()
{
    FDegreesOfFreedom.clear();
    std::vector<QString> terms;
    bool voided = false;
    for (auto& child : FChildren) {
        if (!child->FActive)
            continue;
        CalculationAborted = GetExpiryState();
        if (CalculationAborted == 1)
            return;
        if (child->ChildCount() > 0) {
            child->Calculate();
            if (CalculationAborted == 1)
                return;
        }
        const QString& cu = child->FCombinedUncertainty;
        if (cu.isEmpty())
            voided = true;
        else
            terms.push_back(cu);
    }
    FCombinedUncertainty = (!voided && !terms.empty()) ? RootOfSumOfSquares(terms) : QString();
    if (!FCombinedUncertainty.isEmpty())
        ComputeDegreesOfFreedom();
}

void TCell::ComputeStandardUncertainty()
{
    if (!EvaluateSourceRecord(FUncertaintyInput, ParentValueOf(*this)))
        return;
    FCombinedUncertainty = FUncertaintyInput.HSN;
    FDegreesOfFreedom = GetDegreesOfFreedomText(FUncertaintyInput);
}

void TCell::ComputeValueFromEquation()
{
    if (NumericEvaluation) {
        // The compiled equation on the numbers of the input texts; whatever it cannot
        // tell (a text that is not a plain number, an error, no finite value) the
        // equation text decides below, with its message.
        long double inputs[MaxEquationSymbols];
        int count = 0;
        bool plain = true;
        for (const auto& child : FChildren) {
            if (IsUncertainty(*child))
                continue;
            if (count == MaxEquationSymbols || !TwinNumber(child->FValue.Text, inputs[count])) {
                plain = false;
                break;
            }
            ++count;
        }
        TCompiledEquation* program = plain ? CompiledProgram() : nullptr;
        long double value = 0;
        if (program && program->InputCount() == count && program->EvaluateNumbers(inputs, value)
            && std::isfinite(value)) {
            ParserErrorText.clear();
            FValue.Text = TwinText(value);
            return;
        }
    }
    TSymbolValues pairs;
    int count = 0;
    for (TCell* child : CorrelationMatrixChildren(*this)) {
        if (count == MaxEquationSymbols) {
            FValue.Text.clear();
            FErrorText = QStringLiteral("More than %1 inputs.").arg(MaxEquationSymbols);
            return;
        }
        ++count;
        pairs[size_t(count)].Symbol = child->FSymbol.Text;
        pairs[size_t(count)].ValueText = NormalizeNumberText(child->FValue.Text.trimmed());
    }
    QString result;
    ParserErrorText.clear();
    EvaluateEquationWithValues(FNormalizedEquation, count, pairs, result);
    FValue.Text = result;
    if (result.isEmpty() && !ParserErrorText.isEmpty())
        ShowEvaluationError(ParserErrorText + "\r\r" + GetString(83) + " " + FCellName.Text);
}

TCompiledEquation* TCell::CompiledProgram()
{
    if (!CompiledEvaluation)
        return nullptr;
    bool valid = FProgramGeneration == CompiledEquationGeneration() && FProgramEquation == FNormalizedEquation;
    qsizetype k = 0;
    for (auto it = FChildren.begin(); valid && it != FChildren.end(); ++it) {
        if (IsUncertainty(**it))
            continue;
        valid = k < FProgramSymbols.size() && FProgramSymbols[k] == (*it)->FSymbol.Text;
        ++k;
    }
    if (valid && k == FProgramSymbols.size())
        return FProgram;
    FProgramSymbols.clear();
    for (const auto& child : FChildren)
        if (!IsUncertainty(*child))
            FProgramSymbols << child->FSymbol.Text;
    FProgramEquation = FNormalizedEquation;
    FProgram = CompiledEquationFor(FNormalizedEquation, FProgramSymbols);
    FProgramGeneration = CompiledEquationGeneration();
    return FProgram;
}

void TCell::RecomputeValueQuietly(TCompiledEquation* program)
{
    const std::vector<TCell*> inputs = CorrelationMatrixChildren(*this);
    bool allValues = inputs.size() <= size_t(MaxEquationSymbols);
    QStringList values;
    for (TCell* child : inputs) {
        if (child->FValue.Text.isEmpty())
            allValues = false;
        values << NormalizeNumberText(child->FValue.Text.trimmed());
    }
    QString result;
    if (allValues && program) {
        result = program->Evaluate(values);
    } else if (allValues) {
        TSymbolValues pairs;
        for (size_t i = 0; i < inputs.size(); ++i) {
            pairs[i + 1].Symbol = inputs[i]->FSymbol.Text;
            pairs[i + 1].ValueText = values[qsizetype(i)];
        }
        EvaluateEquationWithValues(FNormalizedEquation, int(inputs.size()), pairs, result);
    }
    FValue.Text = result;
    ApplyQuelvarMean();
}

// ---------------------------------------------------------------------------------
// Working lists

void TCell::BuildQuantityList()
{
    QuantityList.Clear();
    FillQuantityList();
}

void TCell::FillQuantityList()
{
    for (auto& child : FChildren) {
        const bool add = child->FCellType == kQuantityCell
            || (child->FCellType == kEquationCell && child->ActiveSourceCount() > 0);
        if (add) {
            if (QuantityList.Count >= TInfo_o_bunkach_typu_velicina_2::Capacity)
                throw EEvaluationRangeError("more than 2000 quantities");
            QuantityEntry& e = QuantityList[++QuantityList.Count];
            e.Cell = child.get();
            e.ValueText = child->FValue.Text;
            e.UncertaintyText = child->FCombinedUncertainty;
            e.Value = ParsedOrZero(e.ValueText);
            e.Uncertainty = ParsedOrZero(e.UncertaintyText);
            e.IsZero = IsZeroText(e.ValueText) ? 1 : 0;
        }
        // Every equation is descended into, with or without sources of its own: the
        // quantities of a sub-equation are inputs of the model like any other.
        if (child->FCellType == kEquationCell)
            child->FillQuantityList();
    }
}

void TCell::ClearSourceList()
{
    UncertaintySourceList.clear();
}

void TCell::BuildSourceList()
{
    ClearSourceList();
    FillSourceList();
}

void TCell::FillSourceList()
{
    for (auto& child : FChildren) {
        if (child->ChildCount() > 0)
            child->FillSourceList();
        else if (child->FCellType == kQuantityCell) {
            if (child->FValueType == 2)
                child->AddToSourceList();
        } else if (child->FCellType == kUncertaintyCell) {
            child->AddToSourceList();
        }
    }
}

void TCell::AddToSourceList()
{
    const bool source = FCellType == kUncertaintyCell && FActive;
    const bool sumFormula = FCellType == kQuantityCell && FValueType == 2;
    if (!source && !sumFormula)
        return;
    TInfo_o_bunkach_typu_neistota e;
    e.Cell = this;
    e.CellName = FCellName.Text;
    e.Contribution = 0;
    if (DistributionTextService* texts = DistributionTexts())
        texts->DistributionText(*this, e.DistributionFlag, e.DistributionText);
    if (sumFormula) {
        e.Uncertainty = FCombinedUncertainty;
        e.DegreesOfFreedom = FDegreesOfFreedom;
        e.Sensitivity = ParsedOrZero(FNumSensitivity);
    } else {
        e.Uncertainty = FUncertaintyInput.HSN;
        e.DegreesOfFreedom = GetDegreesOfFreedomText(FUncertaintyInput);
        // A source counts with the coefficient of the quantity it belongs to, also
        // below an inner uncertainty cell.
        e.Sensitivity = TakeOwnersSensitivity(*this);
    }
    if (!e.Uncertainty.isEmpty()) {
        e.UncertaintyValue = ParsedOrZero(e.Uncertainty);
        if (!sumFormula)
            e.Contribution = e.UncertaintyValue * e.Sensitivity;
    } else {
        e.UncertaintyValue = ParsedOrZero(FCombinedUncertainty);
    }
    e.UnitText = FUnit.Text;
    UncertaintySourceList.push_back(std::move(e));
}

void TakeListedSensitivities(TCell& cell)
{
    for (auto& child : cell.FChildren) {
        if (child->ChildCount() > 0)
            TakeListedSensitivities(*child);
        else if (child->FCellType == kUncertaintyCell && child->FActive)
            TakeOwnersSensitivity(*child);
    }
}

void TCell::FillEquationVariableList()
{
    EquationVariables = TInfo_o_bunkach_typu_velicina();
    for (int i = 0; i < ChildCount(); ++i) {
        TCell* child = Child(i);
        if (IsUncertainty(*child))
            continue;
        if (EquationVariables.Count >= TInfo_o_bunkach_typu_velicina::Capacity)
            throw EEvaluationRangeError("more than 100 inputs of an equation");
        TInfo_o_bunke_typu_velicina& v = EquationVariables[++EquationVariables.Count];
        v.ChildIndex = i;
        v.Cell = child;
        v.CellName = child->FCellName.Text;
        v.CellComment = child->FCellComment.Text;
        v.CellId = child->FId;
        v.ValueType = child->FValueType;
        v.Symbol = child->FSymbol.Text;
        v.QuantityName = child->FQuantityName.Text;
        v.UnitText = child->FUnit.Text;
        v.Value = child->FValue.Text;
        v.CombinedUncertainty = child->FCombinedUncertainty;
        v.DegreesOfFreedom = child->FDegreesOfFreedom;
        v.SumFormula = child->FSumFormula.Text;
        v.SumFormulaDetails = child->FSumFormulaDetails.Text;
        v.Occurrences = CountSymbol(FNormalizedEquation, v.Symbol);
    }
}

bool TCell::CheckQuantityValues()
{
    // The text describes this check alone, so that a caller never shows an old list.
    MissingValuesText.clear();
    BuildQuantityList();
    bool complete = true;
    for (int i = 1; i <= QuantityList.Count; ++i) {
        const TCell* cell = QuantityList[i].Cell;
        if (cell->FCellType != kQuantityCell || !cell->FValue.Text.isEmpty())
            continue;
        if (!MissingValuesText.isEmpty())
            MissingValuesText += '\r';
        MissingValuesText += cell->FQuantityName.Text + " (" + cell->FCellName.Text + ")";
        complete = false;
    }
    QuantityList.Clear();
    return complete;
}

// ---------------------------------------------------------------------------------
// Predicates

bool TCell::IsComplete() const
{
    if (FCellType == kUncertaintyCell)
        return !FActive || !FCombinedUncertainty.isEmpty();
    return !FValue.Text.isEmpty() && !FCombinedUncertainty.isEmpty();
}

bool TCell::HasUnfilledCells() const
{
    if (!IsComplete())
        return true;
    for (const auto& child : FChildren)
        if (!child->IsComplete())
            return true;
    return false;
}

bool TCell::AllSourcesHaveUncertainty() const
{
    bool result = true;
    for (const auto& child : FChildren) {
        if (IsUncertainty(*child)) {
            if (child->FActive && !HasNonZeroUncertainty(*child))
                return false;
            continue;
        }
        result = HasNonZeroUncertainty(*child);
    }
    return result;
}

int TCell::ActiveSourceCount() const
{
    int n = 0;
    for (const auto& child : FChildren)
        if (IsUncertainty(*child) && child->FActive)
            ++n;
    return n;
}

bool TCell::IsMethodAllowed(TCell* cell, int method)
{
    BuildSourceList();
    if (method != 6 && method != 7 && method != 13)
        return true;
    for (const TInfo_o_bunkach_typu_neistota& e : UncertaintySourceList) {
        if (e.Cell == cell || !e.Cell || e.Cell->FCellType != kUncertaintyCell)
            continue;
        const int m = e.Cell->FUncertaintyInput.TSN;
        if (m == 6 || m == 7 || m == 13)
            return false;
    }
    return true;
}

} // namespace orvek
