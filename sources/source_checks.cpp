#include "sources/source_checks.h"

#include "core/number_text.h"
#include "engine/source_uncertainty.h"
#include "sources/source_computation.h"
#include "sources/source_record.h"

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

// A chart point grid is searched this many rows beyond the last row with a value.
constexpr int kPointSearchReach = 100;
// The columns of a point row before its values: the date and the operator.
constexpr int kPointLeadColumns = 2;

const QString kInfinite = QStringLiteral("Nekonecno");

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

bool RowHasValue(const QStringList& row)
{
    for (int i = kPointLeadColumns; i < row.size(); ++i)
        if (!row[i].trimmed().isEmpty())
            return true;
    return false;
}

bool RowHasAnything(const QStringList& row)
{
    for (const QString& cell : row)
        if (!cell.trimmed().isEmpty())
            return true;
    return false;
}

// The point grid of a chart page: values must be numbers, rows without a value are
// closed up, and a single value is refused.
void CheckPointGrid(TSourcePageSnapshot& page, TCheckResult& r)
{
    QVector<QStringList>& rows = page.PointRows;
    int lastUsed = 0;
    for (int row = 1; row <= rows.size() && row <= lastUsed + kPointSearchReach; ++row)
        if (RowHasValue(rows[row - 1]))
            lastUsed = row;

    int values = 0;
    for (int row = 1; row <= lastUsed; ++row) {
        QStringList& cells = rows[row - 1];
        for (int i = kPointLeadColumns; i < cells.size(); ++i) {
            const QString text = cells[i].trimmed();
            if (text.isEmpty())
                continue;
            if (!IsValidReading(text)) {
                Add(r, kNotANumberText, { text }, TCheckFocus::PointGrid, row, i + 1);
                return;
            }
            ++values;
        }
        if (RowHasValue(cells))
            continue;
        int next = row + 1;
        while (next <= lastUsed && !RowHasAnything(rows[next - 1]))
            ++next;
        if (next > lastUsed)
            break;
        const int distance = next - row;
        for (int from = next; from <= lastUsed; ++from) {
            QStringList& source = rows[from - 1];
            QStringList& target = rows[from - 1 - distance];
            for (int i = 0; i < source.size(); ++i) {
                const QString text = source[i].trimmed();
                if (text.isEmpty())
                    continue;
                while (target.size() <= i)
                    target.append(QString());
                target[i] = text;
                source[i].clear();
            }
        }
        lastUsed -= distance;
        // The row now holds what moved up: its values are checked and counted too.
        if (RowHasValue(cells))
            --row;
    }
    if (r.Passed && values == 1)
        Add(r, kSingleReadingText, { QStringLiteral(" "), page.MethodText }, TCheckFocus::PointGrid, 2,
            kPointLeadColumns + 1);
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
        if (r.Passed && !Empty(page.DegreesOfFreedom) && !TryStrToIntNeutral(page.DegreesOfFreedom, dof))
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
    if (t.isEmpty() || t == kInfinite)
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
