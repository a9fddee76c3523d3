#pragma once
// Our RTF writer: a QTextDocument (or a range of it) as an RTF document in code page
// 1250: "\ansicpg1250\deflang1051", font sizes as \fs (twice the point size), every
// non-ASCII character escaped (\'xx when code page 1250 has it, else \uN?), "\", "{"
// and "}" escaped, tables with \trhdr on their header rows and \trkeep on every row,
// pictures as \pict\pngblip with their size, links as HYPERLINK fields.

#include <QByteArray>
#include <QString>

class QIODevice;
class QTextDocument;

namespace orvek {

// The whole document as RTF.
QByteArray WriteRtf(const QTextDocument* document);

// The characters From to To (document positions) as RTF; tables touched by the range
// are written whole. An empty range gives an RTF document without text.
QByteArray WriteRtf(const QTextDocument* document, int from, int to);

// Writes the whole document to Device; false (with Error) when the device fails.
bool WriteRtf(const QTextDocument* document, QIODevice* device, QString* error = nullptr);

// RTF held in a Unicode string (a stored rich text, a block of mark-up) as bytes for the
// reader: ASCII as it stands, every other character as \uN? (so no code page is involved).
QByteArray RtfBytesOfText(const QString& text);

} // namespace orvek
