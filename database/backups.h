#pragma once
// Backups of the database folder: dated working backups listed in AppDir +
// "zalohovane.ini", the administrator's backup with its table export, and restore.
// The database file is always read and written through SQLite's online backup, never
// copied as a raw file while it is live.

#include <QString>
#include <QStringList>
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

// The working files a restore keeps in the database folder while it runs: the staged
// copies ("<name>.restore"), the note of the restore under way and its lock.
bool IsRestoreWorkingFile(const QString& name);

// The files of a database folder that a backup copies besides the database: every file
// but the database, its journals and the working files of a restore.
QStringList DatabaseFolderFiles(const QString& folder);

// Settles what stopped backups left (run at start): a backup folder half built beside
// its place is removed, and one set aside while a new one went in goes back when the
// new one is missing.
void SettleInterruptedBackups();

// A restore of Folder's database that was stopped (a killed process) is completed when
// its database had already been replaced, and undone otherwise, so that the folder
// holds either the backup's files or its own (run at start and before a restore).
// False when another process is restoring the folder right now.
bool SettleInterruptedRestore(const QString& folder);

// Tests follow a restore step by step: Hook is called after each step (with its name).
void SetRestoreStepHook(std::function<void(const char* step)> hook);

// Free bytes where Folder (or its nearest existing parent) lies. Tests may replace it;
// an empty function restores the file system's answer.
qint64 FreeBytesAt(const QString& folder);
void SetFreeSpaceProbe(std::function<qint64(const QString& folder)> probe);

} // namespace orvek
