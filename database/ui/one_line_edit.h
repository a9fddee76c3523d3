#pragma once
// Keeping one-line texts on one line: a text typed into an input box or pasted into a
// one-line edit is cut at its first line break, as single-line paste does elsewhere.

#include <QString>

class QLineEdit;

namespace orvek {

// Text up to its first carriage return or line feed.
QString FirstLineOf(const QString& text);

// From now on a text inserted into Edit (paste, drop, set) keeps only its first line;
// what the edit held around the insertion stays.
void KeepOneLine(QLineEdit* edit);

} // namespace orvek
