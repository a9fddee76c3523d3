#pragma once
// Folder tests and file routines shared by the program.

#include <QString>
#include <QtGlobal>

namespace orvek {

// True when Path names an existing folder.
bool DirectoryExists(const QString& path);

// Drive types of the stored-folder rule: 3 fixed, 4 remote, 0 anything else.
constexpr quint8 DRIVE_FIXED = 3;
constexpr quint8 DRIVE_REMOTE = 4;
// There are no drive letters here: the folder itself is tested. An absolute, existing
// and writable folder counts as a fixed drive; anything else as unusable (0).
quint8 DriveTypeOfLetter(const QString& path);

// Creates Path with all missing parents; True when it exists afterwards.
bool ForceDirectories(const QString& path);

} // namespace orvek
