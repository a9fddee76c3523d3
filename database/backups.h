#pragma once
// Backups of the database folder: dated working backups listed in AppDir +
// "zalohovane.ini", the administrator's backup with its table export, and restore.
// The database file is always read and written through SQLite's online backup, never
// copied as a raw file while it is live.

#include <QString>
#include <functional>

class QDateTime;

namespace orvek {

// The list of working backups: one line per folder, "yyyy-MM-dd ; HH:mm:ss ; folder".
inline constexpr const char* kBackupListFile = "zalohovane.ini";
// The sub-folder of the administrator's backup folder that holds the backup.
inline constexpr const char* kAdminBackupSubfolder = "OrvekBackup";
// The export of records, templates and folders inside a backup.
inline constexpr const char* kExportSubfolder = "DBItems";

// The folder of the last entry of the list when that folder exists, else empty.
void GetLastBackupDir(QString& folder);

// The working-backup folder of a moment: WorkingBackupDir + "yyyy-MM-dd_HH-mm/".
QString WorkingBackupFolderName(const QDateTime& moment);

// Free bytes where Folder (or its nearest existing parent) lies. Tests may replace it;
// an empty function restores the file system's answer.
qint64 FreeBytesAt(const QString& folder);
void SetFreeSpaceProbe(std::function<qint64(const QString& folder)> probe);

} // namespace orvek
