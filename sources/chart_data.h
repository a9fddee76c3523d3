#pragma once
// The control-chart state: the points of one chart (individual values or subgroups),
// their series, statistics, control limits and run-test results. A plain value: the
// source dialog, each chart window and each report description work on a state of
// their own; ChartData is the one the dialog pages and windows share.
//
// Everything the computations need from outside is held here as an input that the
// caller sets: the chart type, the quantity's value and unit, the number mask, the
// factor table, the significant digits and the per-cent decimals. A load replaces the
// points and statistics and keeps these inputs.

#include "database/chart_factors.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <array>
#include <type_traits>
#include <vector>

namespace orvek {

struct TVstupStandardnejNeistoty;

// A chart holds at most 1000 points or subgroups of at most 20 values each.
constexpr int MaxChartPoints = 1000;
constexpr int MaxChartSubgroupSize = 20;

// The factor table of the subgroup charts, laid out as the data module fills it:
// indexed by the subgroup size 2..25, the columns named by ChartFactor.
using TChartFactorTable = std::remove_cv_t<decltype(ChartFactors)>;

// Bits of the run tests: test n has bit 2^n.
constexpr quint16 XChartRuleMask = 510; // tests 1 to 8
constexpr quint16 RangeChartRuleMask = 26; // tests 1, 3 and 4

struct TChartData {
    TChartData();

    // Inputs, kept by a load.
    quint8 ChartType = 0; // 0 the X chart, 1 the (moving) range chart
    TChartFactorTable ChartFactors {};
    QString SourceQuantityValue; // value text of the quantity that owns the source
    QString SourceQuantityUnit; // its unit as mark-up
    QString ChartNumberMask; // such as "0.000": the longest mask of the values
    QString ChartLastEditMask;
    int ChartValueDecimals = 1;
    quint8 SignificantDigits = 2;
    int ChartDecimals = 2; // decimals of per-cent values
    int ReportTableFontSize = 10; // font size of the report tables
    bool ChartAutoShowErrors = true;
    bool ChartDateLabels = false;

    // Points; the outer index is the point or subgroup number 1..1000 (entry 0 is not
    // used), the inner one the value within the subgroup 0..19.
    int ChartPointCount = 0;
    std::vector<std::array<double, MaxChartSubgroupSize>> ChartPointValues;
    std::vector<std::array<QString, MaxChartSubgroupSize>> ChartPointValueTexts;
    std::vector<int> ChartSubgroupSizes;
    std::vector<QDate> ChartDates;
    std::vector<QString> ChartDateTexts;
    std::vector<QString> ChartOperators;
    bool ChartAllDated = false;
    bool ChartDivideByDate = false;

    // Evaluated range and series (the series cover every loaded point).
    int ChartRangeFirst = 0, ChartRangeLast = 0;
    int ChartUsedCount = 0;
    int ChartValueCount = 0;
    int ChartSubgroupSize = 0;
    std::vector<double> ChartXSeries;
    std::vector<double> ChartRangeSeries;
    std::vector<double> ChartRelativeRanges;
    std::vector<double> ChartSubgroupSD;

    // Statistics and lines.
    double ChartMean = 0;
    double ChartMeanRange = 0, ChartMeanRangeCalc = 0;
    double ChartMeanRelativeRange = 0;
    double ChartMRBar = 0;
    double ChartExperimentalSD = 0;
    double ChartC4 = 0;
    double ChartSD = 0;
    double ChartRelativeSD = 0;
    bool ChartRelativeSDKnown = false; // False when the mean is 0 and no relative s exists
    double ChartCenterLine = 0, ChartUCL = 0, ChartLCL = 0;
    double ChartPlus2Sigma = 0, ChartMinus2Sigma = 0;
    double ChartPlus1Sigma = 0, ChartMinus1Sigma = 0;

    // Run tests.
    quint16 ChartRuleMask = 0;
    quint16 ChartRuleResults = 0;
    bool ChartOutOfControl = false;
    QString ChartRuleMessage;
};

// The state the source dialog's chart pages and the chart windows share.
inline TChartData ChartData;

// Every array sized for 1000 points, every value, text and statistic emptied, the
// date options (ChartDivideByDate, ChartDateLabels) off; the inputs are kept.
void AllocateChartData(TChartData& Data);
// The same zeroing with every array emptied.
void ReleaseChartData(TChartData& Data);

// ChartValueDecimals := length of ChartNumberMask - 2, at least 1.
void UpdateChartDecimals(TChartData& Data);

// A date text in the format RecordFormat, the locale's short format or "d.M.yyyy", so
// that a record saved under one locale keeps its dates under another; a two-digit year
// is read after 1950. An invalid date when the text is none of these.
QDate ReadChartDate(const QString& Text, const QString& RecordFormat);

// A value item of the chart lists as LoadChartDataFromInput reads it: a finite number
// in any form the number texts accept; False for anything else, an empty text included.
bool ReadChartPointValue(const QString& Item, double& Value);

// Fills the state from the chart lists of a method-11 or method-12 record; any other
// method leaves it as it is. A list longer than 1000 points, a subgroup size that is
// no whole number from 1 to 20, a list whose item count does not match its count and
// an empty or non-numeric value are refused: the result is False with Error saying
// why, and the state is left empty. Dates are read in the record's date format, the
// locale's short format or "d.M.yyyy"; a date that is none of these leaves its point
// undated.
bool LoadChartDataFromInput(TChartData& Data, const TVstupStandardnejNeistoty& Rec, QString& Error);

// LoadChartDataFromInput for a computation of a chart already shown, by the dialog's
// chart pages or a chart window: the date options (ChartDivideByDate, ChartDateLabels)
// are the page's or window's choice, not the data's, so they stay as they were. A
// load of another chart (the dialog opening a source) takes LoadChartDataFromInput,
// which starts from the data: no date labels, points placed by date only where the
// individual values are all dated.
bool ReloadChartDataFromInput(TChartData& Data, const TVstupStandardnejNeistoty& Rec, QString& Error);

// Statistics of an individuals chart (method 11) or a subgroup chart (method 12) over
// the evaluated range, written back into Rec (s, relative s, degrees of freedom, centre
// line, mean range and the standard uncertainty HSN). SText and CLText are the given
// s and centre line, used when the record asks for given parameters.
// False with Reason when no standard uncertainty results: a range of fewer than two
// points, missing given parameters, a missing factor, a relative u without a quantity
// value. Without a result HSN is emptied, and so are the computed results that the
// record does not hold as given parameters.
bool ComputeIndividualsChart(
    TChartData& Data, const QString& SText, const QString& CLText, TVstupStandardnejNeistoty& Rec, QString& Reason);
bool ComputeSubgroupChart(
    TChartData& Data, const QString& SText, const QString& CLText, TVstupStandardnejNeistoty& Rec, QString& Reason);

} // namespace orvek
