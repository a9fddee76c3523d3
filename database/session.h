#pragma once
// Rules of the user session's database actions that need no window: which folders an
// administrator's backup and a restore may use, and the status-bar texts of the
// logged-in user.

#include <QString>
#include <array>

namespace orvek {

// True when A and B name the same folder. Links are resolved; a folder that does not
// exist is compared by its clean absolute path. Case counts: on this system two names
// that differ in case are two folders.
bool SameFolder(const QString& a, const QString& b);
// True when Folder is Parent or lies anywhere below it.
bool FolderWithin(const QString& folder, const QString& parent);

// The text refusing Folder as the administrator's backup folder, or 0 when it may be
// used: 455 for the database folder or a folder inside it (the backup would copy
// itself), 454 for the working-backup folder (whose dated backups are pruned).
int AdminBackupFolderRefusal(const QString& folder, const QString& databaseDir, const QString& workingBackupDir);
// Text 463 when Folder is the database folder itself, else 0.
int RestoreFolderRefusal(const QString& folder, const QString& databaseDir);
// The folder whose tables a restore from the chosen Folder reads: Folder itself when it
// holds a database, else the administrator's backup inside it (or the one set aside
// while a newer backup was put in its place). Ends with "/".
QString RestoreSourceFolder(const QString& folder);

// The four status-bar texts for the program's current user, group and customer mode;
// ShownOwnerID is the owner whose records a main administrator has chosen (0 all).
std::array<QString, 4> CurrentStatusBarTexts(int shownOwnerID);

} // namespace orvek
