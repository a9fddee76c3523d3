#include "sources/chart_point_table.h"

#include "core/number_text.h"
#include "engine/cell_records.h"
#include "sources/chart_data.h"

#include <algorithm>

namespace orvek {

namespace {

constexpr int kDateColumn = 1;
constexpr int kOperatorColumn = 2;
constexpr int kFirstValueColumn = 3;

bool ReadValue(const TChartCellSource& table, int row, int col, double& value)
{
    const QString text = table.CellText(row, col).trimmed();
    return !text.isEmpty() && TryStrToFloatNeutral(text, value);
}

void ClearPoints(TChartData& d)
{
    std::fill(d.ChartSubgroupSizes.begin(), d.ChartSubgroupSizes.end(), 0);
    std::fill(d.ChartDates.begin(), d.ChartDates.end(), QDate());
    std::fill(d.ChartDateTexts.begin(), d.ChartDateTexts.end(), QString());
    for (auto& values : d.ChartPointValues)
        values.fill(0.0);
    for (auto& texts : d.ChartPointValueTexts)
        texts.fill(QString());
    std::fill(d.ChartOperators.begin(), d.ChartOperators.end(), QString());
    d.ChartPointCount = 0;
    d.ChartAllDated = false;
}

// Opens point P from a table row: its operator and date go to the lists and the state.
void OpenPoint(const TChartCellSource& table, int row, int p, const QString& dateFormat, QString& dates,
    QString& operators, TChartData& d, int& dated)
{
    const QString date = table.CellText(row, kDateColumn);
    const QString op = table.CellText(row, kOperatorColumn);
    operators += op + QLatin1Char('@');
    dates += date + QLatin1Char('@');
    d.ChartOperators[size_t(p)] = op;
    if (!date.trimmed().isEmpty()) {
        const QDate value = ReadChartDate(date, dateFormat);
        if (value.isValid()) {
            d.ChartDates[size_t(p)] = value;
            d.ChartDateTexts[size_t(p)] = date;
            ++dated;
        }
    }
    d.ChartPointCount = p;
}

} // namespace

bool FitsPointList(const QString& text)
{
    return !text.contains(QLatin1Char('@')) && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'));
}

QString PointValueMask(const QString& Text)
{
    const QString t = Text.trimmed();
    if (t.contains(QLatin1Char('E'), Qt::CaseInsensitive))
        return QStringLiteral("0");
    return DecimalMaskOfNumber(t);
}

int ReadIndividualsTable(
    const TChartCellSource& Table, const QString& DateFormat, TVstupStandardnejNeistoty& Rec, TChartData& Data)
{
    if (Data.ChartSubgroupSizes.empty())
        AllocateChartData(Data);
    ClearPoints(Data);
    Rec.PM_7 = 0;
    for (QString* list : { &Rec.VM_7.Text, &Rec.DM_7, &Rec.Meral_7, &Rec.SO_7, &Rec.CLX_7, &Rec.CLR_7, &Rec.UCL_7,
             &Rec.LCL_7, &Rec.UWL_7, &Rec.LWL_7 })
        list->clear();
    int dated = 0;
    for (int row = 1; row <= Table.MaxRow() && Data.ChartPointCount < MaxChartPoints; ++row) {
        double value = 0;
        if (!ReadValue(Table, row, kFirstValueColumn, value))
            continue;
        const int p = Data.ChartPointCount + 1;
        OpenPoint(Table, row, p, DateFormat, Rec.DM_7, Rec.Meral_7, Data, dated);
        Data.ChartSubgroupSizes[size_t(p)] = 1;
        Data.ChartPointValues[size_t(p)][0] = value;
        const QString shown = Table.ShownText(row, kFirstValueColumn);
        Data.ChartPointValueTexts[size_t(p)][0] = shown;
        Rec.VM_7.Text += shown + QLatin1Char('@');
    }
    Rec.PM_7 = Data.ChartPointCount;
    Data.ChartAllDated = dated == Data.ChartPointCount;
    return Data.ChartPointCount;
}

int ReadSubgroupTable(
    const TChartCellSource& Table, const QString& DateFormat, TVstupStandardnejNeistoty& Rec, TChartData& Data)
{
    if (Data.ChartSubgroupSizes.empty())
        AllocateChartData(Data);
    ClearPoints(Data);
    Rec.PM_8 = 0;
    for (QString* list : { &Rec.PBM_8, &Rec.VM_8.Text, &Rec.DM_8, &Rec.Meral_8, &Rec.SO_8, &Rec.CLX_8, &Rec.CLR_8,
             &Rec.UCL_8, &Rec.LCL_8, &Rec.UWL_8, &Rec.LWL_8 })
        list->clear();
    int dated = 0;
    const int lastColumn = std::min(Table.MaxCol(), kFirstValueColumn + MaxChartSubgroupSize - 1);
    for (int row = 1; row <= Table.MaxRow() && Data.ChartPointCount < MaxChartPoints; ++row) {
        int count = 0;
        const int p = Data.ChartPointCount + 1;
        for (int col = kFirstValueColumn; col <= lastColumn; ++col) {
            double value = 0;
            if (!ReadValue(Table, row, col, value))
                continue;
            if (count == 0)
                OpenPoint(Table, row, p, DateFormat, Rec.DM_8, Rec.Meral_8, Data, dated);
            const QString shown = Table.ShownText(row, col);
            Data.ChartPointValues[size_t(p)][size_t(count)] = value;
            Data.ChartPointValueTexts[size_t(p)][size_t(count)] = shown;
            Rec.VM_8.Text += shown + QLatin1Char('@');
            Data.ChartSubgroupSizes[size_t(p)] = ++count;
        }
        if (count > 0)
            Rec.PBM_8 += QString::number(count) + QLatin1Char('@');
    }
    Rec.PM_8 = Data.ChartPointCount;
    Data.ChartAllDated = dated == Data.ChartPointCount;
    return Data.ChartPointCount;
}

QString LongestValueMask(const TChartCellSource& Table)
{
    QString longest;
    for (int row = 1; row <= Table.MaxRow(); ++row)
        for (int col = kFirstValueColumn; col <= Table.MaxCol(); ++col) {
            const QString text = Table.CellText(row, col).trimmed();
            double value = 0;
            if (text.isEmpty() || !TryStrToFloatNeutral(text, value))
                continue;
            const QString mask = PointValueMask(text);
            if (mask.size() > longest.size())
                longest = mask;
        }
    return longest.isEmpty() ? QStringLiteral("0") : longest;
}

} // namespace orvek
