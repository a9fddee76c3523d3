#pragma once
// Users' passwords are stored only as salted hashes: PBKDF2 with SHA-256, written as
// "pbkdf2-sha256$<iterations>$<salt, base64>$<hash, base64>".

#include <QString>

namespace orvek {

inline constexpr int kPasswordHashIterations = 100000;

// A new salted hash of Password (a fresh random salt each call).
QString HashPassword(const QString& password, int iterations = kPasswordHashIterations);

// True when Password gives Stored; False for any stored text that is not a hash of
// this form. The comparison takes the same time wherever the hashes differ.
bool VerifyPassword(const QString& password, const QString& stored);

} // namespace orvek
