#include "core/files.h"

#include <QDir>
#include <QFileInfo>

namespace orvek {

bool DirectoryExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

quint8 DriveTypeOfLetter(const QString& path)
{
    QFileInfo info(path);
    if (path.isEmpty() || !info.isAbsolute() || !info.isDir() || !info.isWritable())
        return 0;
    return DRIVE_FIXED;
}

bool ForceDirectories(const QString& path)
{
    return !path.isEmpty() && QDir().mkpath(path);
}

} // namespace orvek
