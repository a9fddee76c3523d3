#pragma once
// Readings to and from the clipboard: the clipboard text split into the auxiliary table
// from which the user takes a column, the room a paste needs in a reading grid, and the
// text the copy buttons put on the clipboard.

#include <QList>
#include <QString>
#include <QStringList>

namespace orvek {

// The auxiliary table of a paste. Rows[i - 1] holds the cells of table row i from
// column 1 on; ColumnCount counts the data columns (the widest row, at least 1).
struct TPastedTable {
    QList<QStringList> Rows;
    int ColumnCount = 1;
};

// Splits a clipboard text into lines and columns. The text is trimmed; runs of two to
// five blanks count as one column break (a TAB), longer runs as several. Columns are
// cut at TABs once the separator is TAB: from the start when the text holds a TAB,
// else from the first non-empty line without a blank. Before that a line is kept whole
// in column 1, since a single blank is the thousands separator of "1 234,5". An empty
// text gives no rows.
TPastedTable SplitPastedReadings(const QString& clipboardText);

// The last grid row that holds a reading after Count readings are pasted at Current,
// inserted before it or overwriting from it; LastFilled is the last row holding a
// reading before the paste (0 for none).
int LastRowAfterPaste(bool insert, int current, int count, int lastFilled);

// True when Text may stand in an "@"-ended list: no "@" and no line break.
bool FitsReadingList(const QString& text);

// The clipboard text of a grid's column: each cell that is a number after its decimal
// separator is made local, ended by CR LF, in canonical form when Canonical; empty
// and other cells are skipped.
QString ReadingsCopyText(const QStringList& cells, bool canonical);

} // namespace orvek
