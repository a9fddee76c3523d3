#pragma once
// The control-chart statistics behind the report texts.

#include "core/services.h"
#include "sources/chart_data.h"

#include <functional>

namespace orvek {

class ChartReportProvider : public ChartReportService {
public:
    // Factors gives the current factor table of the subgroup charts.
    explicit ChartReportProvider(std::function<TChartFactorTable()> Factors);

    ChartReport DescribeChart(TVstupStandardnejNeistoty& rec, const QString& quantityValue, const QString& quantityUnit,
        int significantDigits) override;

private:
    std::function<TChartFactorTable()> factors_;
};

// The number mask of the loaded values: the mask with the most decimals.
QString ChartNumberMaskOfValues(const TChartData& Data);

} // namespace orvek
