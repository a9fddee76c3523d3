#include "sources/source_checks.h"

#include "core/number_text.h"
#include "engine/source_uncertainty.h"
#include "sources/chart_window_grid.h"
#include "sources/source_computation.h"
#include "sources/source_record.h"

#include <algorithm>

namespace orvek {

namespace {

constexpr int kNotANumberText = 179;
constexpr int kMissingInputText = 267;
constexpr int kNoReadingsText = 317;
constexpr int kDofBelowOneText = 319;
constexpr int kZeroPercentText = 326;
constexpr int kOtherQuantitiesText = 941;
constexpr int kShapeOutOfRangeText = 946;
constexpr int kSingleReadingText = 950;
constexpr int kTooFewPointsText = 1000;

void Add(TCheckResult& r, int text, QStringList args, TCheckFocus focus, int row = 0, int col = 0)
{
    r.Passed = false;
    r.Messages.push_back({ text, std::move(args), focus, row, col });
}

// The trimmed text kept in the snapshot, as the dialog writes it back into the edit.
const QString& Trimmed(QString& text)
{
    text = text.trimmed();
    return text;
}

bool Empty(QString& text)
{
    return Trimmed(text).isEmpty();
}

QString Cell(const QStringList& cells, int row)
{
    return row >= 1 && row <= cells.size() ? cells[row - 1].trimmed() : QString();
}

int LastRow(const TSourcePageSnapshot& page)
{
    return std::min<int>(MaxSourceReadings, page.Column1.size());
}

// Every bad reading of column 1 reported in turn; then a single valid reading is
// refused too, since a series needs two.
void CheckAllReadings(const TSourcePageSnapshot& page, TCheckResult& r)
{
    int valid = 0;
    for (int row = 1; row <= LastRow(page); ++row) {
        const QString text = Cell(page.Column1, row);
        if (text.isEmpty())
            continue;
        if (IsValidReading(text))
            ++valid;
        else
            Add(r, kNotANumberText, { text }, TCheckFocus::Grid, row, 1);
    }
    if (valid == 1)
        Add(r, kSingleReadingText, { page.ColumnHeader, page.MethodText }, TCheckFocus::Grid, 2, 1);
}

// The first variance of column 1 that is no number or is negative.
void CheckFirstVariance(const TSourcePageSnapshot& page, TCheckResult& r)
{
    for (int row = 1; row <= LastRow(page); ++row) {
        const QString text = Cell(page.Column1, row);
        double value = 0;
        if (!text.isEmpty() && (!TryStrToFloatNeutral(text, value) || value < 0)) {
            Add(r, kNotANumberText, { text }, TCheckFocus::Grid, row, 1);
            return;
        }
    }
}

// Pairs of value and uncertainty: the first bad cell stops the check; a value needs its
// uncertainty, and a weighted mean needs two pairs.
void CheckPairs(const TSourcePageSnapshot& page, TCheckResult& r)
{
    int pairs = 0;
    for (int row = 1; row <= LastRow(page); ++row) {
        const QString value = Cell(page.Column1, row);
        const QString u = Cell(page.Column2, row);
        if (!value.isEmpty() && !IsValidReading(value)) {
            Add(r, kNotANumberText, { value }, TCheckFocus::Grid, row, 1);
            return;
        }
        if (!u.isEmpty() && !IsValidReading(u)) {
            Add(r, kNotANumberText, { u }, TCheckFocus::Grid, row, 2);
            return;
        }
        if (value.isEmpty())
            continue;
        if (u.isEmpty()) {
            Add(r, kMissingInputText, { page.Column2Header }, TCheckFocus::Grid, row, 2);
            return;
        }
        ++pairs;
    }
    if (pairs == 1)
        Add(r, kSingleReadingText, { page.ColumnHeader, page.MethodText }, TCheckFocus::Grid, 2, 1);
}

// The point rows of a snapshot as a chart table, so that the dialog's check is the
// chart windows' own: row 1 is item 0, column 1 the date.
class SnapshotPointTable : public TChartCellTable {
public:
    explicit SnapshotPointTable(QVector<QStringList>& rows)
        : rows_(rows)
    {
        for (const QStringList& row : rows_)
            maxCol_ = std::max(maxCol_, int(row.size()));
    }
    int MaxRow() const override { return int(rows_.size()); }
    int MaxCol() const override { return maxCol_; }
    QString CellText(int row, int col) const override { return rows_[row - 1].value(col - 1); }
    QString ShownText(int row, int col) const override { return CellText(row, col); }
    void SetCellText(int row, int col, const QString& text) override
    {
        QStringList& cells = rows_[row - 1];
        while (cells.size() < col)
            cells.append(QString());
        cells[col - 1] = text;
    }

private:
    QVector<QStringList>& rows_;
    int maxCol_ = 0;
};

// The point grid of a chart page: values must be numbers and a single value is
// refused; then rows without a value are closed up whole, so that every value keeps
// its own date and operator.
void CheckPointGrid(TSourcePageSnapshot& page, TCheckResult& r)
{
    SnapshotPointTable table(page.PointRows);
    const TChartGridFault fault = CheckAndCompactChartTable(table, page.MethodText);
    if (fault)
        Add(r, fault.Message, fault.Arguments, TCheckFocus::PointGrid, fault.Row, fault.Col);
}

// The main input of the estimate and limit pages: a kind its method computes.
void CheckMainInputKind(TSourcePageSnapshot& page, quint8& InputKind, TCheckResult& r)
{
    const QString& text = Trimmed(page.MainInput);
    long double value = 0;
    quint8 kind = kInputInvalid;
    ClassifyInputValue(text, value, kind);
    InputKind = kind;
    switch (kind) {
    case kInputNumber:
        return;
    case kInputPercent:
        if (IsZeroPercentText(text))
            Add(r, kZeroPercentText, {}, TCheckFocus::MainInput);
        return;
    case kInputExpression:
        Add(r, kOtherQuantitiesText, { text, QStringLiteral("\r\r") }, TCheckFocus::MainInput);
        return;
    case kInputFormula:
        // A formula that does not evaluate is refused now, not when u comes out empty.
        if (!IsEvaluableFormula(text))
            Add(r, kNotANumberText, { text }, TCheckFocus::MainInput);
        return;
    case kInputCondition:
        // Only the estimate evaluates a condition.
        if (page.Method != 0)
            Add(r, kNotANumberText, { text }, TCheckFocus::MainInput);
        return;
    default:
        // Not a number, or a RANGE text, which no method evaluates.
        Add(r, kNotANumberText, { text }, TCheckFocus::MainInput);
        return;
    }
}

bool ReadsAsNumber(QString& text)
{
    long double value = 0;
    return TryStrToExtendedNeutral(Trimmed(text), value);
}

} // namespace

bool IsValidReading(const QString& text)
{
    const QString t = text.trimmed();
    double value = 0;
    return !t.isEmpty() && TryStrToFloatNeutral(t, value);
}

int CountValidReadings(const QStringList& cells)
{
    int n = 0;
    for (const QString& cell : cells)
        if (IsValidReading(cell))
            ++n;
    return n;
}

TCheckResult CheckRequiredInputs(TSourcePageSnapshot& page)
{
    TCheckResult r;
    auto need = [&r](QString& text, const QString& label, TCheckFocus focus) {
        if (!Empty(text))
            return true;
        Add(r, kMissingInputText, { label }, focus);
        return false;
    };
    auto needReadings = [&r, &page] {
        if (CountValidReadings(page.Column1.mid(0, MaxSourceReadings)) > 0)
            return true;
        Add(r, kNoReadingsText, {}, TCheckFocus::Grid, 1, 1);
        return false;
    };
    switch (page.Method) {
    case 0:
    case 1:
    case 2:
    case 5:
        need(page.MainInput, page.MainLabel, TCheckFocus::MainInput);
        break;
    case 3:
    case 4:
        if (need(page.MainInput, page.MainLabel, TCheckFocus::MainInput) && page.DofOption == 0)
            need(page.DegreesOfFreedom, page.DofLabel, TCheckFocus::DegreesOfFreedom);
        break;
    case 10:
        // Both inputs are reported when both are missing.
        need(page.ShapeFactor, page.ShapeLabel, TCheckFocus::ShapeFactor);
        need(page.HalfWidth, page.HalfWidthLabel, TCheckFocus::HalfWidth);
        break;
    case 8:
        Trimmed(page.DegreesOfFreedom);
        if (need(page.MainInput, page.MainLabel, TCheckFocus::MainInput))
            need(page.DegreesOfFreedom, page.DofLabel, TCheckFocus::DegreesOfFreedom);
        break;
    case 7:
        Trimmed(page.Sigma);
        if (needReadings())
            need(page.Sigma, page.SigmaLabel, TCheckFocus::Sigma);
        break;
    case 6:
    case 9:
    case 13:
    case 14:
        needReadings();
        break;
    case 11:
    case 12:
        if (page.ChartPoints == 0)
            Add(r, kNoReadingsText, {}, TCheckFocus::None);
        else if (page.ChartPoints < 3)
            Add(r, kTooFewPointsText, { QStringLiteral("2") }, TCheckFocus::None);
        break;
    default:
        break;
    }
    return r;
}

TCheckResult CheckInputValues(TSourcePageSnapshot& page, quint8& InputKind)
{
    TCheckResult r;
    switch (page.Method) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 8:
        CheckMainInputKind(page, InputKind, r);
        break;
    case 10: {
        if (!ReadsAsNumber(page.ShapeFactor)) {
            Add(r, kNotANumberText, { page.ShapeFactor }, TCheckFocus::ShapeFactor);
        } else {
            long double beta = 0;
            TryStrToExtendedNeutral(page.ShapeFactor, beta);
            if (beta < 0 || beta > 1)
                Add(r, kShapeOutOfRangeText, { page.ShapeRangeLabel }, TCheckFocus::ShapeFactor);
        }
        if (!ReadsAsNumber(page.HalfWidth))
            Add(r, kNotANumberText, { page.HalfWidth }, TCheckFocus::HalfWidth);
        break;
    }
    case 6:
    case 9:
        CheckAllReadings(page, r);
        break;
    case 7: {
        if (!Empty(page.Sigma) && !ReadsAsNumber(page.Sigma)) {
            Add(r, kNotANumberText, { page.Sigma }, TCheckFocus::Sigma);
            break;
        }
        CheckAllReadings(page, r);
        int dof = 0;
        if (r.Passed && !Empty(page.DegreesOfFreedom) && !IsInfinityText(page.DegreesOfFreedom)
            && !TryStrToIntNeutral(page.DegreesOfFreedom, dof))
            Add(r, kNotANumberText, { page.DegreesOfFreedom }, TCheckFocus::DegreesOfFreedom);
        break;
    }
    case 13:
        CheckFirstVariance(page, r);
        break;
    case 14:
        CheckPairs(page, r);
        break;
    case 11:
    case 12:
        CheckPointGrid(page, r);
        break;
    default:
        break;
    }
    return r;
}

bool CheckTypedDegreesOfFreedom(const QString& text, TCheckMessage& refusal)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || IsInfinityText(t))
        return true;
    long double value = 0;
    if (!TryStrToExtendedNeutral(t, value)) {
        refusal = { kNotANumberText, { t }, TCheckFocus::DegreesOfFreedom };
        return false;
    }
    if (value < 1) {
        refusal = { kDofBelowOneText, {}, TCheckFocus::DegreesOfFreedom };
        return false;
    }
    return true;
}

} // namespace orvek
