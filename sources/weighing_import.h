#pragma once
// The gold and silver weighing import: paired assay results read from a workbook, one
// pair per sheet row, into the lists of a subgroup control chart (every row one
// subgroup of two values, dated by the row's column A). The sheet is the first of
// sheets 1 and 2 whose C1 holds the metal's keyword ("ZLATO", "STRIEBRO") in any case;
// data start in row 6 and end at the first incomplete row.
//   gold:   A date, C and F weighed-in masses, D and G weighed-out masses;
//           the results are 1000 x D / C and 1000 x G / F
//   silver: A date, B text, E and H the results, taken as they stand

#include <QString>
#include <vector>

namespace orvek {

class WorkbookReader;

// One sheet row of the last read.
struct TExcelMeranie {
    QString TextA, TextB, ValueA, ValueB;
};

constexpr int kAssayRowsMax = 1000;
// Entries 1..1000 of the Part's array are elements 0..999.
inline std::vector<TExcelMeranie> AssayRows(kAssayRowsMax);
// Complete rows of the last successful read; 0 after a read that failed.
inline int AssayRowCount = 0;
// The chart lists of the last read: "2@" per row; ValueA "@" ValueB "@" per row;
// TextA "@" per row.
inline QString AssaySizesText, AssayValuesText, AssayDatesText;
// The record that receives the import and the name it must have.
inline int ImportTargetRecordID = 0;
inline QString ImportTargetRecordName;

constexpr quint8 kWeighingGold = 0;
constexpr quint8 kWeighingSilver = 1;

// Reads the weighing workbook FileName for Kind (0 gold, 1 silver) into the state
// above; True when at least one complete row was read. The state is emptied first. A
// complete row whose date holds "@" or a line break, or whose result is no number the
// chart reads, is refused as typed and pasted cells are, so that the lists read back.
// Every failure is shown to the user with its reason (the file, its format, the sheet,
// the cell) and gives False, leaving the state empty.
bool ReadWeighingWorkbook(quint8 Kind, const QString& FileName);
bool ReadWeighingWorkbook(quint8 Kind, const QString& FileName, WorkbookReader& reader);

} // namespace orvek
