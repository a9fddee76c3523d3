#pragma once
// Rendering mark-up text into a rich-text document: RTF and table blocks are taken out,
// the codes become runs of character attributes and paragraph alignments over the
// remaining text, and the blocks are put back at their places (tables as real tables
// whose rows are never split; a first row of bold labels repeats on every page the
// table continues on, and a table of up to ten rows stays on one page). A heading, a
// paragraph wholly in bold, stays on the page of what follows it.

#include <QString>
#include <QtGlobal>

class QTextCursor;
class QTextDocument;

namespace orvek {

// What a rendering asks of the control that shows it: "[cfisurl]" switches URL detection
// on (unless extended detection is on already), "[cfisurlext]" switches extended detection
// on.
struct MarkupRenderOutcome {
    bool urlDetect = false;
    bool urlDetectExtended = false;
};

// Replaces the whole content of Edit by Text rendered in the base font FontName at
// FontSize points. AlignLines gives every line without an alignment code of its own a
// left alignment. The document's undo history is not touched and it is not modified
// afterwards. A block without its end marker stays as text.
void RenderMarkupToRichEdit(int FontSize, const QString& FontName, bool AlignLines, QTextDocument* Edit,
    const QString& Text, MarkupRenderOutcome* Outcome = nullptr);

// Converts the character codes and the format codes "[cf2]" to "[cfcolor" that stand as
// text in Edit into formatting, in place (the rules of table cells).
void ApplyMarkupInRichEdit(int FontSize, QTextDocument* Edit);

// Puts one table cell's mark-up (or RTF) at Cursor with the cell rules: the cell's text in
// Arial at FontSize; a format run takes the effects of every format code in it, super-
// and subscripts in Courier two points larger.
void InsertCellMarkup(QTextCursor& Cursor, const QString& Cell, int FontSize);

bool IsTableMarkup(const QString& Text);
bool IsRtfMarkup(const QString& Text);
// One of the 17 format and alignment codes has its first occurrence in Text exactly at
// Pos (0-based).
bool IsFormatCodeAt(const QString& Text, qsizetype Pos);
// 2^(Index-1) for the entries 1 to 17 of the code table, 0 otherwise.
quint32 FormatCodeBit(int Index);

} // namespace orvek
