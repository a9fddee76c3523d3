#pragma once
// Our RTF reader: reads the RTF this program writes and the RTF word processors put on
// the clipboard or save (font and colour tables, character and paragraph formats,
// tables, \uN with \ucN skip counts, pictures as PNG or JPEG, hyperlink fields) into a
// QTextDocument. Unknown destinations are skipped. Keyword length and group nesting
// are bounded, so malformed input never exhausts memory or the stack.

#include "platform/paper.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QTextCursor;
class QTextDocument;
class QTextTableFormat;

namespace orvek {

// True when Data starts (after blanks) with "{\rtf".
bool IsRtfData(const QByteArray& data);

// Reads Rtf and puts it in place of Cursor's selection (at the cursor when the selection
// is empty); the cursor then follows the inserted text. A paragraph mark at the end of
// the RTF inserts a paragraph break, except when the target document was empty. The
// document is changed only when the RTF could be read: without "{\rtf" at the start
// the result is false, Error says why and nothing changes.
bool ReadRtf(const QByteArray& rtf, QTextCursor& cursor, QString* error = nullptr);

// Replaces the whole content of Document by Rtf; false (and Document unchanged) when
// Rtf is not RTF. The page the RTF states becomes the document's page.
bool ReadRtfDocument(const QByteArray& rtf, QTextDocument* document, QString* error = nullptr);

// User properties of the table formats the reader makes and the writer reads, so that
// the row geometry survives a round trip exactly.
namespace rtfprop {
constexpr int CellRightEdges = 0x100000 + 0xA1; // QList<int>, twips (\cellx)
constexpr int RowLeft = 0x100000 + 0xA2; // twips (\trleft)
constexpr int RowKeep = 0x100000 + 0xA3; // bool (\trkeep)
constexpr int CellGap = 0x100000 + 0xA4; // twips (\trgaph)
// A paragraph format: the paragraph stays on the page of the one that follows (\keepn).
// Reports give it to headings and to the rows of short tables but their last.
constexpr int KeepWithNext = 0x100000 + 0xA5; // bool
} // namespace rtfprop

// The format of a table whose rows have the right cell edges RightEdges (twips, as
// \cellx), the left edge Left and the cell gap Gap (twips); HeaderRows rows repeat on
// every page, Keep marks rows that must not be split across pages.
QTextTableFormat RtfTableFormat(
    const QList<int>& rightEdges, int left, int gap, int headerRows, bool keep, int columns);

// Qt's layout gives an empty paragraph that directly follows a table no height, where
// word processors show an empty line. Each table followed by such a paragraph (and more
// after it) gets that line's height as its bottom margin, so that the document looks as
// its RTF does elsewhere. The reader and the mark-up renderer call it.
void ShowEmptyLinesAfterTables(QTextDocument* document);

// The page a document is laid out for: what the RTF it was read from stated, or the
// report page of the user's locale (DefaultReportPage) when it stated none.
TPageTwips DocumentPage(const QTextDocument* document);
// Gives Document that page (an invalid page: none of its own).
void SetDocumentPage(QTextDocument* document, const TPageTwips& page);
inline constexpr const char* kDocumentPageProperty = "orvekDocumentPage";

// Pixels of the document layout per twip (the layout works at 96 dots per inch).
constexpr double PixelsPerTwip = 96.0 / 1440.0;

} // namespace orvek
