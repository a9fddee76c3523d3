#pragma once
// Report tables of a computed control chart, as mark-up appended to a text: the
// statistics, the points of the evaluated range, the run tests and the list of the
// violated tests. The statistics tables need the shared report table to exist (their
// caller holds a ReportTableOwner); the other builders make one when there is none.

#include <QString>

namespace orvek {

struct TChartData;
struct TVstupStandardnejNeistoty;

// The enabled run tests with their outcome; sets ChartOutOfControl when one is violated.
void BuildRuleTestTable(TChartData& Data, QString& Text);
// The violated run tests, numbered by test.
void BuildRuleTestMessage(const TChartData& Data, QString& Text);

// Statistics of a computed individuals or subgroup chart; Rec is the record just
// computed. Nothing is appended when no points are loaded.
void BuildIndividualsStatisticsTable(TChartData& Data, const TVstupStandardnejNeistoty& Rec, QString& Text);
void BuildSubgroupStatisticsTable(TChartData& Data, const TVstupStandardnejNeistoty& Rec, QString& Text);

// The points of the evaluated range; nothing is appended when the range is empty.
void BuildIndividualsDataTable(TChartData& Data, const TVstupStandardnejNeistoty& Rec, QString& Text);
void BuildSubgroupDataTable(TChartData& Data, const TVstupStandardnejNeistoty& Rec, QString& Text);

} // namespace orvek
