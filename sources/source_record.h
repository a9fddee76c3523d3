#pragma once
// A stored uncertainty source as the source dialog takes it over and hands it back:
// the mends a load makes to a record, its reading lists, and the texts the dialog
// shows for its results.

#include <QString>
#include <QStringList>

namespace orvek {

struct TVstupStandardnejNeistoty;

// A reading grid holds at most this many readings (or pairs of value and uncertainty).
constexpr int MaxSourceReadings = 500;

// What a load found in a stored record and mended.
struct TSourceLoadNotes {
    bool MethodReplaced = false; // a method number of 15 or more became 1
    bool DateDropped = false; // a validity date that is no date was emptied
    bool UncertaintyDropped = false; // u of an input that needs the owner's value, which is empty
    int ReadingsCut = 0; // readings or pairs beyond the grid's 500 rows that were dropped
};

// Mends a record before the dialog shows it: a method number of 15 or more becomes
// 1; a validity date that does not read is emptied; u is emptied when the main input
// is a percentage, formula or condition and the owner has no value (OwnerHasValue);
// the degrees-of-freedom options of the limit methods are settled (the method's own
// option gives "Nekonecno" or "50", every other one becomes 2); an estimate's
// "Nekonecno" degrees of freedom become "100000"; the weighted mean hands on its
// value (OV_10 0); a reading list longer than the grid keeps its first 500 items.
void NormalizeSourceRecord(TVstupStandardnejNeistoty& rec, bool ownerHasValue, TSourceLoadNotes& notes);

// The first Count items of an "@"-ended list; missing items are empty texts.
QStringList SourceListItems(const QString& list, int count);

// Item Text "value#u" split in two; an item without "#" is all value.
void SplitSourcePair(const QString& item, QString& value, QString& uncertainty);

// The list of a reading column: every non-empty trimmed text followed by "@", and the
// count of those texts.
void SourceReadingsList(const QStringList& cells, QString& list, int& count);

// The list of value and uncertainty columns: every row with a value gives value, "#",
// uncertainty (an empty one written "0") and "@".
void SourcePairsList(const QStringList& values, const QStringList& uncertainties, QString& list, int& count);

// What the dialog shows for the results of a reading method: the mean and its
// uncertainty rounded together, a standard deviation and a relative value rounded to
// Digits significant digits (the relative one followed by " %"), and the degrees of
// freedom. Texts a method does not have are empty.
struct TSourceResultTexts {
    QString Mean, MeanUncertainty, StandardDeviation, Relative, DegreesOfFreedom;
};
TSourceResultTexts SourceResultTexts(const TVstupStandardnejNeistoty& rec, int digits);

// The mean a source hands to its quantity as displayed, for the methods whose mean
// the quantity takes (6, 7, 13, 14); empty for the others and when there is none.
QString SourceMeanText(const TVstupStandardnejNeistoty& rec, int digits);

} // namespace orvek
