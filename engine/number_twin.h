#pragma once
// The numbers of the texts the evaluation reads and writes. A text written from a
// number keeps that number with it, and a text read once is not scanned again while
// it stays unchanged, so the evaluation on numbers costs no text reading in the
// common case. The cells keep only their texts, which every other part of the
// program sets; a number is known for a text exactly when the text still shares its
// storage with the copy kept here (the kept copy shares the storage, so a changed
// text always has storage of its own).

#include <QString>

namespace orvek {

// ReadPlainNumber of the text, remembered.
bool TwinNumber(const QString& Text, long double& Value);

// ReadPlainNumber of the text into a double (its own rounding, not the long double's
// rounded again), remembered beside the long double.
bool TwinDouble(const QString& Text, double& Value);

// FloatToGeneralText(X); the text's number (X rounded to its 15 digits) is
// remembered with it.
QString TwinText(long double X);

} // namespace orvek
