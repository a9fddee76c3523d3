#include "sources/chart_window_grid.h"

#include "core/decimal_digits.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "richtext/report_table.h"
#include "sources/chart_data.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace orvek {

namespace {

constexpr int kDateColumn = 1;
constexpr int kFirstValueColumn = 3;

enum GridText {
    TextNotANumber = 179,
    TextSingleValue = 950,
    TextSubgroupSingleValue = 987,
    TextSubgroupNoValue = 988,
    TextReadingValue = 686,
    TextValueHeading = 952,
    TextDateHeading = 953,
    TextSubgroupRange = 1080,
    TextSubgroupMean = 1086,
};

bool RowHasValue(const TChartCellSource& table, int row)
{
    for (int col = kFirstValueColumn; col <= table.MaxCol(); ++col)
        if (!table.CellText(row, col).trimmed().isEmpty())
            return true;
    return false;
}

TChartGridFault Fault(int message, int row, int col, const QStringList& arguments)
{
    TChartGridFault fault;
    fault.Message = message;
    fault.Row = row;
    fault.Col = col;
    fault.Arguments = arguments;
    return fault;
}

QString Bold(const QString& text)
{
    return QStringLiteral("[cf3]") + text + QStringLiteral("[cf1]");
}

quint8 Decimals(const TChartData& d)
{
    return quint8(std::clamp(d.ChartValueDecimals, 0, 255));
}

// The general text of a number rounded to the chart's decimals.
QString GeneralRounded(const TChartData& d, double value)
{
    return RoundDecimalsText(FloatToGeneralText(value), Decimals(d));
}

// Fixed-point text with 10 decimals of the number's 15 significant digits, rounded to
// the chart's decimals: a subgroup's numbers never show in exponent form.
QString FixedRounded(const TChartData& d, double value)
{
    if (!std::isfinite(value))
        return FloatToGeneralText(value);
    const DecimalDigits digits = DigitsOf(value);
    const std::string fixed = FixedDigitsText(digits, 10, char(OwnDecimalSeparator.unicode()));
    const bool shownNegative = digits.negative && fixed.find_first_of("123456789") != std::string::npos;
    const QString text = (shownNegative ? QStringLiteral("-") : QString()) + QString::fromStdString(fixed);
    return RoundDecimalsText(text, Decimals(d));
}

// The evaluated points First..Last cut to the points loaded; Last < First when none.
void ClampRange(const TChartData& d, int& first, int& last)
{
    first = std::max(first, 1);
    last = std::min(last, d.ChartPointCount);
}

} // namespace

int LastUsedValueRow(const TChartCellSource& Table)
{
    for (int row = Table.MaxRow(); row >= 1; --row)
        if (RowHasValue(Table, row))
            return row;
    return 0;
}

TChartGridFault CheckAndCompactChartTable(TChartCellTable& Table, const QString& MethodText)
{
    const int last = LastUsedValueRow(Table);
    const int maxCol = Table.MaxCol();

    // The check comes first and changes nothing, so that the cell a message names is
    // where the user left it.
    int numbers = 0;
    int singleRow = 0, singleCol = 0;
    for (int row = 1; row <= last; ++row)
        for (int col = kFirstValueColumn; col <= maxCol; ++col) {
            const QString text = Table.CellText(row, col);
            const QString trimmed = text.trimmed();
            if (trimmed.isEmpty())
                continue;
            long double value = 0;
            if (!TryStrToExtendedNeutral(trimmed, value))
                return Fault(TextNotANumber, row, col, { text });
            if (++numbers == 1) {
                singleRow = row;
                singleCol = col;
            }
        }
    if (numbers == 1)
        return Fault(TextSingleValue, singleRow, singleCol, { QStringLiteral(" "), MethodText });

    // Rows without values go; every row below moves up once, to the next free row,
    // written whole so that no date or operator of a removed row stays behind.
    int target = 1;
    for (int row = 1; row <= last; ++row) {
        if (!RowHasValue(Table, row))
            continue;
        if (row != target)
            for (int col = 1; col <= maxCol; ++col)
                Table.SetCellText(target, col, Table.CellText(row, col).trimmed());
        ++target;
    }
    for (int row = target; row <= last; ++row)
        for (int col = 1; col <= maxCol; ++col)
            if (!Table.CellText(row, col).isEmpty())
                Table.SetCellText(row, col, QString());
    return {};
}

TChartGridFault CheckEvaluatedRows(const TChartCellSource& Table, int First, int Last, bool Subgroups)
{
    const int last = std::min(Last, Table.MaxRow());
    for (int row = std::max(First, 1); row <= last; ++row) {
        int values = 0;
        for (int col = kFirstValueColumn; col <= Table.MaxCol(); ++col) {
            const QString text = Table.CellText(row, col);
            const QString trimmed = text.trimmed();
            if (trimmed.isEmpty())
                continue;
            double value = 0;
            if (!TryStrToFloatNeutral(trimmed, value))
                return Fault(TextNotANumber, row, col, { text });
            ++values;
        }
        if (!Subgroups)
            continue;
        if (values == 0)
            return Fault(TextSubgroupNoValue, row, kFirstValueColumn, { QString::number(row) });
        if (values == 1)
            return Fault(TextSubgroupSingleValue, row, kFirstValueColumn + 1, { QString::number(row) });
    }
    return {};
}

QString BuildIndividualsIntermediateMarkup(
    const TChartData& Data, const TChartCellSource& Table, int First, int Last, bool DatesHidden)
{
    ClampRange(Data, First, Last);
    ReportTableOwner owner;
    TStringTable& table = owner.Table();
    table.Clear();
    table.ColCount = DatesHidden ? 3 : 4;
    int col = 1;
    table.Cells(col++, 1) = QStringLiteral("[cf3]i[cf1]");
    if (!DatesHidden)
        table.Cells(col++, 1) = Bold(GetString(TextDateHeading));
    table.Cells(col++, 1) = Bold(GetString(TextReadingValue)) + QStringLiteral("[cf3][cf15]i[cf1]");
    table.Cells(col, 1) = QStringLiteral("[cf3]R[cf1][cf3][cf15]i[cf1]");
    int row = 1;
    for (int p = First; p <= Last; ++p) {
        ++row;
        col = 1;
        table.Cells(col++, row) = QString::number(p) + QLatin1Char('.');
        if (!DatesHidden)
            table.Cells(col++, row) = Table.CellText(p, kDateColumn);
        table.Cells(col++, row) = GeneralRounded(Data, Data.ChartPointValues[size_t(p)][0]);
        table.Cells(col, row) = GeneralRounded(Data, Data.ChartRangeSeries[size_t(p)]);
    }
    table.RowCount = row;
    QString text;
    BuildTableMarkup(true, 0, Data.ReportTableFontSize, text, 50);
    return text + QStringLiteral("\r\rR[cf15]i[cf1] = X[cf15]i+1[cf1] - X[cf15]i[cf1]");
}

QString BuildSubgroupIntermediateMarkup(
    TChartData& Data, const TChartCellSource& Table, int First, int Last, bool DatesHidden)
{
    ClampRange(Data, First, Last);
    Data.ChartRangeFirst = First;
    Data.ChartRangeLast = Last;
    int largest = 0;
    for (int p = First; p <= Last; ++p)
        largest = std::max(largest, std::min(Data.ChartSubgroupSizes[size_t(p)], MaxChartSubgroupSize));

    ReportTableOwner owner;
    TStringTable& table = owner.Table();
    table.Clear();
    table.ColCount = largest + (DatesHidden ? 4 : 5);
    int col = 1;
    table.Cells(col++, 1) = QStringLiteral("[cf3]i[cf1]");
    if (!DatesHidden)
        table.Cells(col++, 1) = Bold(GetString(TextDateHeading));
    for (int k = 1; k <= largest; ++k)
        table.Cells(col++, 1) = Bold(GetString(TextValueHeading, { QString::number(k) }));
    table.Cells(col++, 1) = Bold(GetString(TextSubgroupMean));
    table.Cells(col++, 1)
        = QStringLiteral("[cf3]") + GetString(TextSubgroupRange) + QStringLiteral(" R[cf1][cf3][cf15]i[cf1]");
    table.Cells(col, 1) = QStringLiteral("[cf3]R[cf1][cf3][cf15]i[cf1] (%)");
    int row = 1;
    for (int p = First; p <= Last; ++p) {
        ++row;
        col = 1;
        table.Cells(col++, row) = QString::number(p) + QLatin1Char('.');
        if (!DatesHidden)
            table.Cells(col++, row) = Table.CellText(p, kDateColumn);
        const int size = std::min(Data.ChartSubgroupSizes[size_t(p)], MaxChartSubgroupSize);
        for (int k = 0; k < largest; ++k, ++col)
            if (k < size)
                table.Cells(col, row) = FixedRounded(Data, Data.ChartPointValues[size_t(p)][size_t(k)]);
        table.Cells(col++, row) = FixedRounded(Data, Data.ChartXSeries[size_t(p)]);
        table.Cells(col++, row) = FixedRounded(Data, Data.ChartRangeSeries[size_t(p)]);
        table.Cells(col, row) = FixedRounded(Data, Data.ChartRelativeRanges[size_t(p)]);
    }
    table.RowCount = row;
    QString text;
    BuildTableMarkup(true, 0, Data.ReportTableFontSize, text, 50);
    return text;
}

} // namespace orvek
