#pragma once
// The standard uncertainty of a source by its method, as the source dialog computes
// it on OK and Recalculate. Every method the evaluation recomputes goes through the
// evaluation's own routine, so that the dialog and a later evaluation of the stored
// record give the same u and results.

#include <QString>

namespace orvek {

struct TVstupStandardnejNeistoty;

// Text numbers of the labels that name a main input in the refusal of a percentage or
// formula (message 772), by method.
constexpr int kLabelEstimateText = 288;
constexpr int kLabelHalfWidthText = 270;
constexpr int kLabelUncertaintyText = 157;
constexpr int kLabelGivenSDText = 737;
constexpr int kRefusedOwnerValueText = 772;

struct TSourceComputation {
    // The method cannot take the input: a kind it does not accept, or a percentage or
    // formula refused with Message. The dialog then stays open.
    bool Failed = false;
    // 0, or kRefusedOwnerValueText with the text number of the input's label as its argument.
    int Message = 0;
    int MessageLabel = 0;
};

// The main input of the record's method (the estimate, half-width, given u, expanded
// uncertainty or given standard deviation); null for the other methods.
const QString* SourceMainInput(const TVstupStandardnejNeistoty& rec);
QString* SourceMainInput(TVstupStandardnejNeistoty& rec);

// Computes the record's method from the inputs it holds into HSN, USType and the
// method's results. OwnerValue is the value text of the quantity that owns the source
// (empty when there is none); OwnerIsUncertainty is set when the source hangs under an
// uncertainty cell, which has no value to take a percentage or formula of. The
// control-chart methods (11, 12) are computed by their pages and left untouched.
TSourceComputation ComputeSourceRecord(
    TVstupStandardnejNeistoty& rec, const QString& ownerValue, bool ownerIsUncertainty);

// True when a formula (a leading "=" dropped, VAR standing for 1) parses and evaluates;
// a division by zero at that value still counts as a formula.
bool IsEvaluableFormula(const QString& formula);

// The trapezoidal distribution: u from a half-width and a shape factor between 0 and 1;
// any other input leaves HSN empty.
void ComputeTrapezoidRecord(TVstupStandardnejNeistoty& rec);

} // namespace orvek
