#pragma once
// Building a new records database from the schema script: the tables, the control-chart
// factors, the main administrator and group 1 with its fixed folders.

#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace orvek {

// The main administrator's first password; it must be changed at the first login.
inline constexpr const char* kFirstAdministratorPassword = "orvek";
inline constexpr const char* kFirstAdministratorName = "admin";

// Creates the database file of TargetFolder from the script SchemaPath (refusing when
// the file exists): runs the script, adds the administrator (ID 1, password hashed),
// the folders "0" and "1" of group 1 (descriptions: texts 832 and 878 of the current
// language), the change counters, the row change counters of TreeDB and TemplateDB,
// and gives the main tables of Entries their passwords.
bool BuildEmptyDatabase(
    const QString& schemaPath, const QString& targetFolder, const QStringList& entries, QString* error = nullptr);

// Gives every existing main table of Entries its password in Db.
bool ProtectTables(QSqlDatabase& db, const QStringList& entries, QString* error = nullptr);

// The columns whose change does not count as a change of a record or template row.
inline constexpr const char* kLockColumn = "OpenedByUserID";

} // namespace orvek
