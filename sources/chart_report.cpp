#include "sources/chart_report.h"

#include "core/common_vars.h"
#include "core/number_text.h"
#include "engine/cell_records.h"
#include "richtext/report_table.h"
#include "sources/chart_rules.h"
#include "sources/chart_tables.h"

#include <algorithm>

namespace orvek {

ChartReportProvider::ChartReportProvider(std::function<TChartFactorTable()> Factors)
    : factors_(std::move(Factors))
{
}

QString ChartNumberMaskOfValues(const TChartData& d)
{
    QString mask = QStringLiteral("0");
    for (int i = 1; i <= d.ChartPointCount; ++i) {
        for (const QString& text : d.ChartPointValueTexts[i]) {
            if (text.isEmpty())
                continue;
            const QString candidate = DecimalMaskOfNumber(text);
            if (candidate.size() > mask.size())
                mask = candidate;
        }
    }
    return mask;
}

ChartReport ChartReportProvider::DescribeChart(
    TVstupStandardnejNeistoty& rec, const QString& quantityValue, const QString& quantityUnit, int significantDigits)
{
    ChartReport report;
    const bool individuals = rec.TSN == 11;
    if (!individuals && rec.TSN != 12)
        return report;

    TChartData d;
    d.ChartType = individuals ? rec.DD_7 : rec.DD_8;
    if (factors_)
        d.ChartFactors = factors_();
    d.SourceQuantityValue = quantityValue;
    d.SourceQuantityUnit = quantityUnit;
    d.SignificantDigits = quint8(std::clamp(significantDigits, 1, 15));
    d.ChartDecimals = ChartDecimals;
    d.ReportTableFontSize = ReportTableFontSize;
    if (!LoadChartDataFromInput(d, rec, report.Reason))
        return report;
    d.ChartNumberMask = ChartNumberMaskOfValues(d);

    // A chart drawn from given parameters uses those the record stores; a record
    // without them, or with texts that are no numbers, says so instead of computing
    // with 0.
    double storedCL = 0, storedS = 0;
    const bool stored = TryStrToFloatNeutral((individuals ? rec.CLX_7 : rec.CLX_8).trimmed(), storedCL)
        && TryStrToFloatNeutral((individuals ? rec.SO_7 : rec.SO_8).trimmed(), storedS);
    const QString sText = stored ? FloatToGeneralText(d.ChartSD) : QString();
    const QString clText = stored ? FloatToGeneralText(d.ChartMean) : QString();
    const bool computed = individuals ? ComputeIndividualsChart(d, sText, clText, rec, report.Reason)
                                      : ComputeSubgroupChart(d, sText, clText, rec, report.Reason);
    if (!computed)
        return report;
    CheckChartRules(d, individuals ? rec.OV_7 : rec.OV_8, rec.TSN);

    ReportTableOwner owner;
    if (individuals) {
        BuildIndividualsStatisticsTable(d, rec, report.Markup);
        BuildIndividualsDataTable(d, rec, report.Markup);
    } else {
        BuildSubgroupStatisticsTable(d, rec, report.Markup);
        BuildSubgroupDataTable(d, rec, report.Markup);
    }
    BuildRuleTestTable(d, report.Markup);
    report.Computed = true;
    return report;
}

} // namespace orvek
