#pragma once
// The evaluation of a model: the working lists of quantities and sources that the
// evaluation, the reports and the sensitivity pass share, and the state of a run.
// The routines themselves are members of TCell (cell.h).

#include <QString>
#include <QtGlobal>

#include <array>
#include <stdexcept>
#include <vector>

namespace orvek {

class TCell;

// A working list outgrew its fixed size (2000 quantities, 100 inputs of an equation).
class EEvaluationRangeError : public std::range_error {
public:
    using std::range_error::range_error;
};

// One quantity of the model-wide quantity list.
struct QuantityEntry {
    TCell* Cell = nullptr;
    QString ValueText;
    QString UncertaintyText;
    double Value = 0; // 0 when the text does not parse
    double Uncertainty = 0;
    double Sensitivity = 0; // from the sensitivity pass
    double Contribution = 0; // u x c; not filled by the evaluation
    quint8 IsZero = 0;
};

struct TInfo_o_bunkach_typu_velicina_2 {
    static constexpr int Capacity = 2000;
    int Count = 0;
    std::vector<QuantityEntry> Items = std::vector<QuantityEntry>(Capacity + 1); // 1..Count used

    QuantityEntry& operator[](int i) { return Items[size_t(i)]; }
    void Clear()
    {
        for (int i = 1; i <= Count; ++i)
            Items[size_t(i)] = QuantityEntry();
        Count = 0;
    }
};

// One source of the model-wide source list.
struct TInfo_o_bunkach_typu_neistota {
    TCell* Cell = nullptr;
    QString CellName;
    QString UnitText;
    QString DegreesOfFreedom;
    QString Uncertainty;
    double UncertaintyValue = 0;
    double Contribution = 0; // u x c
    double Sensitivity = 0; // c
    QString DistributionText;
    quint8 DistributionFlag = 0;
};

inline TInfo_o_bunkach_typu_velicina_2 QuantityList;
inline std::vector<TInfo_o_bunkach_typu_neistota> UncertaintySourceList;

// How the evaluation computes. On (the program): sums of squares, roots, relative
// and expanded uncertainties and the derivatives are arithmetic on the numbers of
// the texts, rounded to 15 significant digits wherever a number becomes text, so
// the results are the texts the formula route gives. Off: every such step is built
// as a formula text and run through the expression evaluator; only tests and
// benchmarks switch it off, to compare the two.
inline bool NumericEvaluation = true;

// The equation cell the sensitivity pass is perturbing; null otherwise.
inline TCell* CurrentTargetCell = nullptr;
// The quantities missing a value, one line each, from the last CheckQuantityValues.
inline QString MissingValuesText;
// Whether the model-wide sensitivity pass runs (the windows set it).
inline bool SensitivityPassEnabled = false;

// The children of an equation cell that the rows and columns of its correlation
// matrix stand for: those that are not uncertainty cells, in child order (position
// 1 is the first). The evaluation, the report and the formula listing all use it.
std::vector<TCell*> CorrelationMatrixChildren(const TCell& equation);

// U text non-empty and not a zero text.
bool HasNonZeroUncertainty(const TCell& cell);

// Shows an error box (button Cancel) of the evaluation. Within one evaluation (the
// outermost TEvaluationScope) each text is shown once, however often the step that
// raises it runs.
void ShowEvaluationError(const QString& text);

class TEvaluationScope {
public:
    TEvaluationScope();
    ~TEvaluationScope();
    TEvaluationScope(const TEvaluationScope&) = delete;
    TEvaluationScope& operator=(const TEvaluationScope&) = delete;
};

// The count of outermost Calculate calls so far, and the cell the last one began at.
quint32 CalculationGeneration();
const TCell* CalculationGenerationRoot();

// Evaluates a text to number text; any error gives an empty result (ParserErrorText
// tells a division by zero).
QString EvaluateQuietly(const QString& text);

// EvaluateExpression with its results remembered: a text evaluated before gives the
// same result text (and ParserErrorText) without being parsed again. A text that
// raises gives False with the error's message. Texts with random functions are
// always evaluated.
bool EvaluateRemembered(const QString& text, QString& result, QString* error = nullptr);
// Forgets every remembered result.
void ForgetRememberedResults();

// A value text ready to stand in a formula: normalised, bracketed when negative.
QString FormulaOperand(const QString& valueText);

// What building the source list does to the sources of a subtree besides listing
// them: every active leaf source takes the coefficient of its quantity, or "1.0".
void TakeListedSensitivities(TCell& cell);

// Makes the next Calculate of every cell calculate it, however little changed: for
// a change the calculation cannot see in the cells' fields and settings (a string
// table or a report setting shown in the hints).
void ForgetCalculations();

// The evaluation of a whole tree after a change (the root's hook).
void EvaluateTree(TCell& root);

} // namespace orvek
