#pragma once
// A stand-in for the control-chart statistics of the report texts: installed for its
// lifetime, it answers every description with Answer and writes AnswerHSN into the
// record, and it keeps what it was asked.

#include "core/services.h"

#include <QString>

namespace orvek::test {

class ChartReportDouble : public ChartReportService {
public:
    ChartReportDouble();
    ~ChartReportDouble() override;
    ChartReportDouble(const ChartReportDouble&) = delete;
    ChartReportDouble& operator=(const ChartReportDouble&) = delete;

    ChartReport DescribeChart(TVstupStandardnejNeistoty& rec, const QString& quantityValue, const QString& quantityUnit,
        int significantDigits) override;

    ChartReport Answer;
    QString AnswerHSN;
    int Calls = 0;
    int LastMethod = -1;
    QString LastQuantityValue, LastQuantityUnit;
    int LastSignificantDigits = 0;

private:
    ChartReportService* previous_ = nullptr;
};

} // namespace orvek::test
