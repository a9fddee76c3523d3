#pragma once
// Small text pieces of the diagram text and the counters of generated names.

#include <QString>
#include <QtGlobal>

namespace orvek {

// The line end of the texts the program builds: a single carriage return.
inline const QString LineEnd = QStringLiteral("\r");

// Count times LineEnd.
QString LineBreaks(int count);

// "~@#" and the lock digit for a non-zero Lock; empty for 0.
QString LockSuffix(quint8 lock);
// When Text ends with "~@#" and exactly one more character, removes that suffix and
// returns the character's digit value (0 for a non-digit); else returns 0 and leaves
// Text as it is.
quint8 StripLockSuffix(QString& text);

// Counter + 1, stored back and returned.
int NextCounterValue(int& counter);

} // namespace orvek
