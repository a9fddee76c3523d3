#pragma once
// Tests of identifiers typed for user names and passwords.

#include <QString>

namespace orvek {

// True when every character is 0-9, A-Z or a-z; an empty text gives True.
bool IsAlphanumeric(const QString& Text);

} // namespace orvek
