#pragma once
// The chemical elements with their atomic weights, and chemical sum formulas
// ("C2H5OH"): parsed into atom counts, written in a normal order and marked up with
// subscripts for reports.

#include <QString>
#include <array>

namespace orvek {

struct TElementRec {
    const char* Symbol; // one or two letters, with case
    const char* AtomicWeightText; // as stored; users convert it
    const char* WeightUncertaintyText; // as stored
};

constexpr int ElementCount = 104;

// Index 0 is a placeholder no formula reaches; 1..104 are the elements by atomic number.
extern const std::array<TElementRec, ElementCount + 1> ElementTable;

// Atoms of each element in the formula last parsed (index 0 stays 0).
inline std::array<qint32, ElementCount + 1> ElementCounts {};
// Element indices 1..104 sorted by symbol (byte order) after a parse; index 0 unused.
inline std::array<int, ElementCount + 1> ElementOrder {};

// A count of one element may not exceed this.
constexpr int MaxElementCount = 9999;

// Parses Formula: Normalised is its normal form, empty when it is not valid (an empty
// formula included); Message is empty or the text of a count that is too large.
void AnalyseSumFormula(const QString& Formula, QString& Message, QString& Normalised);

// The parser: blanks are ignored, only letters and digits are allowed, every symbol
// must be an element (two letters are tried before one, with case), a count has at
// most four digits and no element more than 9999 atoms. On return Formula holds the
// normal form: carbon, hydrogen, then the other elements by symbol, each followed by
// its count unless that is 1. A count too large sets Message (text 307 and the
// symbol), ends the reading and keeps the counts reached before.
void ParseSumFormula(QString& Formula, bool& Invalid, QString& Message);

// The index 1..104 of the element whose symbol is Symbol exactly; 0 when none.
int FindElement(const QString& Symbol);

// Sorts ElementOrder[1..Count] by symbol in byte order.
void SortElementsBySymbol(int Count);

// Empty for 1, else the decimal number.
void CountText(int Count, QString& Text);

// The formula with every digit run that follows a letter marked as a subscript:
// "[cf15]" before it and "[cf1]" after it.
void TagFormulaSubscripts(const QString& Formula, QString& Text);

} // namespace orvek
