#pragma once
// The plain text of a rich document for the clipboard. It keeps what the characters'
// formatting means where plain text has no formatting: a raised run follows a "^"
// (0.50000838×10^8, m^2), and a table row stays one line with its cells separated by
// tabs.

#include <QString>

class QTextDocument;

namespace orvek {

// The characters From to To of Document (the whole document when To is negative).
QString PlainTextOf(const QTextDocument& document, int from = 0, int to = -1);

} // namespace orvek
