#pragma once
// The relative value of a result, in per cent of a mean.

#include <QString>

namespace orvek {

// 100 * A / B as number text when A and B (trimmed, either decimal separator) are both
// numbers and B is not zero; empty otherwise.
QString PercentOfText(const QString& a, const QString& b);

} // namespace orvek
