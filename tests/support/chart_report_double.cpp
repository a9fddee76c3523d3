#include "tests/support/chart_report_double.h"

#include "engine/cell_records.h"

namespace orvek::test {

ChartReportDouble::ChartReportDouble()
    : previous_(ChartReports())
{
    SetChartReportService(this);
}

ChartReportDouble::~ChartReportDouble()
{
    SetChartReportService(previous_);
}

ChartReport ChartReportDouble::DescribeChart(
    TVstupStandardnejNeistoty& rec, const QString& quantityValue, const QString& quantityUnit, int significantDigits)
{
    ++Calls;
    LastMethod = rec.TSN;
    LastQuantityValue = quantityValue;
    LastQuantityUnit = quantityUnit;
    LastSignificantDigits = significantDigits;
    rec.HSN = AnswerHSN;
    return Answer;
}

} // namespace orvek::test
