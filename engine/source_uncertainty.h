#pragma once
// The standard uncertainty of one source from its stored record: the kind of an input
// text, formulas in the quantity's value (VAR), and the statistics of the methods that
// work on stored lists. The source dialog uses the same routines, so that the dialog
// and the evaluation never disagree on a stored source.

#include <QString>
#include <QtGlobal>

namespace orvek {

struct TVstupStandardnejNeistoty;

// Input kinds (USType).
constexpr quint8 kInputInvalid = 0;
constexpr quint8 kInputNumber = 1;
constexpr quint8 kInputPercent = 2;
constexpr quint8 kInputFormula = 3;
constexpr quint8 kInputExpression = 4;
constexpr quint8 kInputRange = 6;
constexpr quint8 kInputCondition = 7;

// What kind of text an input is, and its number for kinds 1 and 2 (0 otherwise).
// Never raises: a text that cannot be evaluated is kind 0 (or 6 for RANGE).
void ClassifyInputValue(const QString& Text, long double& Value, quint8& Kind);

// The formula (upper-cased) with the whole word VAR replaced by the parent value PV
// (bracketed when negative), evaluated. Empty for an empty formula, for VAR without
// PV, and when the evaluation fails (division by zero leaves ParserErrorText set).
QString EvaluateVarFormula(const QString& Formula, const QString& PV);

// Mean and sample standard deviation of the first Count items of an "@"-ended list
// (method 9). False when Count < 2, the list is shorter or an item is no number.
// ZeroCutOff (method 6) counts a deviation from the mean as 0 when it is within
// 1e-12 of the largest reading's size, so that equal readings written differently give
// s = 0 at any scale of the readings.
bool SeriesStatistics(const QString& List, int Count, long double& Mean, long double& StdDev, bool ZeroCutOff = false);

// Mean of the first Count variances of an "@"-ended list and its square root (method
// 13). False when Count < 1, the list is shorter, an item is no number or the mean
// is negative.
bool PooledVarianceStatistics(const QString& List, int Count, long double& MeanVariance, long double& StdDev);

// Weighted mean of the first Count "value#u@" items (method 14; at most 500). False
// when an item does not read or ComputeWeightedMean refuses.
bool WeightedMeanOfPairs(const QString& List, int Count, double& Mean, double& UMean);

// Methods 9 and 13: the degrees of freedom a list of Count items gives when the field
// is empty ("50" for a single variance of method 13); a typed value is kept.
void FillSeriesDegreesOfFreedom(QString& Field, int Count, bool PooledVariances);

// The standard uncertainty of a source record whose main input may depend on the
// parent value PV (empty when there is none). True when the record is of a kind the
// evaluation recomputes (stored USType 1, 2, 3 or 7; not methods 6 and 7; methods 11
// and 12 only with output choice 1 or 3): then HSN, USType and the intermediate results
// of methods 9, 13 and 14 are rewritten. False leaves the record untouched, keeping the
// u its dialog stored.
bool EvaluateSourceRecord(TVstupStandardnejNeistoty& rec, const QString& PV);

} // namespace orvek
