#pragma once
// File names, copying and deleting by mask, folder sizes and opening documents.
// Masks are the usual wildcards ("*.db", "JoinTab*.*"), matched without regard to case.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace orvek {

// Every "/", "\", "<", ">", "*", ":", "?", "|" and double quote becomes a blank.
QString SanitizeFileName(const QString& text);
// True when the text holds none of those nine characters.
bool IsValidFileName(const QString& text);

// A name Prefix + a number from 12345 to 64999 + a number from 124 to 998 that names
// no existing file in Folder: with Ext, Folder/Name.Ext must not exist; without, no
// Folder/Name.* may exist. The name is returned without the folder.
QString UniqueFileName(const QString& folder, const QString& prefix, const QString& ext = QString());

// Deletes the files of Folder matching Mask, or the one file Mask when it has no "*";
// errors are ignored.
void DeleteFiles(const QString& folder, const QString& mask);
// Removes the undo, join and answer tables of Folder (RedoUndo, JoinTab*, MainTab*,
// SecTab*): their files and their tables in the folder's database.
void DeleteTempTables(const QString& folder);

// Copies the files of SourceDir matching Mask into TargetDir (created when missing).
// The lock files of other database engines and SQLite journals are never copied;
// without Overwrite a file whose target exists is skipped. An existing target is
// replaced only by a complete copy, which keeps the source's modification time.
// True when every matching file was copied or skipped (and at least one matched).
bool CopyFiles(const QString& mask, const QString& sourceDir, const QString& targetDir, bool overwrite);
// The same, always overwriting, with the batch-progress window showing Caption and
// the source folder; KBytes receives the kilobytes written. The current directory is
// HomeDir afterwards (when given).
bool CopyFilesWithProgress(const QString& mask, const QString& sourceDir, const QString& targetDir, int& kbytes,
    const QString& caption, const QString& homeDir);

// Copies the one file Source to Target (another name or folder) as CopyFiles copies.
bool CopyFileAs(const QString& source, const QString& target);

// Writes Data as the whole content of the file Path: through a temporary file beside it
// that is flushed to disk and renamed over Path only when complete, so a failed write
// leaves the old file. On failure Error names the cause the system gives ("No space
// left on device", "Permission denied", "No such file or directory" ...).
bool WriteFileWhole(const QString& path, const QByteArray& data, QString* error = nullptr);

// Puts the folder Staged in the place of the folder Target. Where the file system can
// exchange two names this is one step (the old folder, then under Staged's name, is
// removed); elsewhere Target is renamed to Target + ".old" first, so that at every
// moment one of the two names holds a whole folder. False leaves Target as it was.
bool ReplaceFolder(const QString& staged, const QString& target);
// Settles what an interrupted ReplaceFolder (or a build of Target + ".new") left: a
// ".new" folder is removed; a ".old" folder goes back to Target's name when Target is
// missing, and is removed otherwise.
void SettleReplacedFolder(const QString& target);

// Total size in bytes of the files of Folder (not of its sub-folders).
qint64 FolderSize(const QString& folder);

// Opens the file with the desktop's program for its type. A missing file gives an
// error box (text 918); when the desktop has no program for it, a DOC, XLS or PDF file
// gives a warning box naming a program to install (text 923). True when opened.
bool OpenDocument(const QString& fileName);

} // namespace orvek
