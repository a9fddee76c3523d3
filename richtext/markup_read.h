#pragma once
// Rich text back to mark-up and to plain text, mark-up drawn straight onto a painter for
// grid cells, and the small RTF routines shared by the report and dialog code.

#include <QString>

class QPainter;
class QRect;
class QTextDocument;

namespace orvek {

// Edit's content as mark-up; the result is Edit's modified flag. Line ends become CR,
// trailing CRs are dropped. Format state per character: 2 bold, 1 italic, 0x10
// underline, 4 superscript, 8 subscript.
bool RichEditToMarkup(const QTextDocument* Edit, QString& Text);
// Edit's content as plain text with special characters reduced to their base letters;
// the result is Edit's modified flag.
bool RichEditToPlainText(const QTextDocument* Edit, QString& Text);

// Appends Ch to Text as mark-up: ASCII as itself, a character that a code of the table
// shows as the first such code, any other character as itself.
void AppendCharAsMarkup(QChar Ch, QString& Text);

// Draws Text (mark-up) inside Rect: Align 0 left, 1 centred, 2 right.
void DrawMarkupText(QPainter& Canvas, int Align, const QString& Text, const QRect& Rect);

bool IsRtfText(const QString& Text);
// An RTF text becomes ":RTF_BEGIN" + Text + ":RTF_END"; any other text is returned as it is.
QString WrapRtfBlock(const QString& Text);
// In a text containing "\rtf", every "\fs24" keyword becomes "\fs" + 2 × Size.
QString ReplaceRtfDefaultFontSize(const QString& Text, int Size);
// Whether a stored comment is loaded as RTF: an RTF text whose plain text holds two or
// more different codes of the table is mark-up saved as RTF; Text then becomes that plain
// text, trimmed, and the result is false.
bool IsRtfComment(QString& Text);
// True when the RTF text has no visible character; otherwise its trailing line ends are
// cut and Text is written again.
bool TrimRtfTrailingLines(QString& Text);
// Called before a comment's RTF is read; it changes nothing.
void PrepareRichEditForSave(QTextDocument* Edit);
// A solid rectangle; unless Flags holds 4 the outline takes the brush colour.
void FillRectWithPen(QPainter& Canvas, int Flags, int Left, int Top, int Width, int Height);

} // namespace orvek
