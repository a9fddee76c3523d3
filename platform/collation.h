#pragma once
// Slovak and Czech letter order and case folding, for the database and for sorting in
// memory. SQLite's own UPPER, LOWER, LIKE and NOCASE know only ASCII letters.

#include <QByteArray>
#include <QString>

struct sqlite3;

namespace orvek {

// Name of the collation registered on every connection: ORDER BY x COLLATE SKCZ.
inline constexpr const char* kSlovakCollation = "SKCZ";

// Compares two texts in Slovak/Czech alphabetical order: letters first by their place
// in the alphabet (a á ä b c č d ď ... h ch i ... r ř s š t ť ... z ž), ignoring case;
// then accents, then case (lower before upper); < 0, 0 or > 0.
int CompareSlovak(const QString& a, const QString& b);

// The same order as a byte string: CompareSlovak(a, b) has the sign of comparing
// SlovakSortKey(a) with SlovakSortKey(b) byte by byte (a shorter key that is the start
// of the other sorts first). A sort computes each text's key once.
QByteArray SlovakSortKey(const QString& text);

// Name of the SQL function that gives a value's sort key: ORDER BY skcz_key(x) sorts
// texts as ORDER BY x COLLATE SKCZ does (numbers, NULL and blobs keep SQLite's order).
inline constexpr const char* kSlovakSortKeyFunction = "skcz_key";

// Registers the SKCZ collation, the skcz_key function and Unicode-aware upper(), lower() and like() on the
// connection. False when SQLite refuses one of them.
bool RegisterSlovakFunctions(sqlite3* db);

} // namespace orvek
