#pragma once
// The table set of a records database and the data module's configuration list.

#include <QString>
#include <QStringList>

namespace orvek {

// Every table a records database must hold (RD_Parameters is handled on its own: it
// is restored from the empty database when missing).
const QStringList& RequiredTables();
inline constexpr const char* kParametersTable = "RD_Parameters";

// The entries of the data module's configuration list (stored enciphered), name=value:
// "TablePassword[n]" and "MainTable[n]" for n = 1..8 (the password-protected main
// tables), "OtherTable[n]" for the required tables, "ServicePassword".
QStringList DefaultMainStringEntries();

// The value of entry Name in a name=value list; empty when missing.
QString EntryValue(const QStringList& entries, const QString& name);

inline constexpr int kMainTableCount = 8;
// Main table 7 (the login records, written by every workstation at each login and
// logout) is never verified or rebuilt.
inline constexpr int kUncheckedMainTable = 7;

} // namespace orvek
