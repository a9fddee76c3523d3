#pragma once
// Slovak and Czech letter order and case folding, for the database and for sorting in
// memory. SQLite's own UPPER, LOWER, LIKE and NOCASE know only ASCII letters.

#include <QString>

struct sqlite3;

namespace orvek {

// Name of the collation registered on every connection: ORDER BY x COLLATE SKCZ.
inline constexpr const char* kSlovakCollation = "SKCZ";

// Compares two texts in Slovak/Czech alphabetical order: letters first by their place
// in the alphabet (a á ä b c č d ď ... h ch i ... r ř s š t ť ... z ž), ignoring case;
// then accents, then case (lower before upper); < 0, 0 or > 0.
int CompareSlovak(const QString& a, const QString& b);

// Registers the SKCZ collation and Unicode-aware upper(), lower() and like() on the
// connection. False when SQLite refuses one of them.
bool RegisterSlovakFunctions(sqlite3* db);

} // namespace orvek
