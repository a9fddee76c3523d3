// Folder rules of the backup and the restore, and the current status-bar texts.

#include "database/session.h"

#include "core/common_vars.h"
#include "database/backups.h"
#include "database/data_module.h"
#include "database/status_bar_texts.h"

#include "platform/sql_database.h"

#include <QDir>
#include <QFileInfo>

namespace orvek {

namespace {

// The folder's path with links resolved when it exists, else its clean absolute path;
// never with a trailing separator (except the root).
QString CanonicalFolder(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
}

} // namespace

bool SameFolder(const QString& a, const QString& b)
{
    if (a.trimmed().isEmpty() || b.trimmed().isEmpty())
        return false;
    return CanonicalFolder(a) == CanonicalFolder(b);
}

bool FolderWithin(const QString& folder, const QString& parent)
{
    if (folder.trimmed().isEmpty() || parent.trimmed().isEmpty())
        return false;
    const QString inner = CanonicalFolder(folder);
    QString outer = CanonicalFolder(parent);
    if (inner == outer)
        return true;
    if (!outer.endsWith(QLatin1Char('/')))
        outer += QLatin1Char('/');
    return inner.startsWith(outer);
}

int AdminBackupFolderRefusal(const QString& folder, const QString& databaseDir, const QString& workingBackupDir)
{
    if (FolderWithin(folder, databaseDir))
        return 455;
    if (SameFolder(folder, workingBackupDir))
        return 454;
    return 0;
}

int RestoreFolderRefusal(const QString& folder, const QString& databaseDir)
{
    return SameFolder(folder, databaseDir) ? 463 : 0;
}

QString RestoreSourceFolder(const QString& folder)
{
    const QString chosen = WithTrailingSeparator(folder);
    if (QFileInfo::exists(FolderDatabasePath(chosen)))
        return chosen;
    for (const QString& inner : { QString::fromLatin1(kAdminBackupSubfolder),
             QString::fromLatin1(kAdminBackupSubfolder) + QStringLiteral(".old") }) {
        const QString candidate = chosen + inner + QLatin1Char('/');
        if (QFileInfo::exists(FolderDatabasePath(candidate)))
            return candidate;
    }
    return chosen;
}

std::array<QString, 4> CurrentStatusBarTexts(int shownOwnerID)
{
    TStatusBarState state;
    state.CurrentUserID = CurrentUserID;
    state.CurrentUserName = CurrentUserName;
    state.CurrentUserRights = CurrentUserRights;
    state.ShownOwnerID = shownOwnerID;
    if (shownOwnerID != 0 && DataModule1)
        DataModule1->GetUserFullName(shownOwnerID, state.ShownOwnerFullName);
    state.CurrentGroupName = CurrentGroupName;
    state.QuelvarMode = QuelvarMode;
    state.OstrevinMode = OstrevinMode;
    return StatusBarTexts(state);
}

} // namespace orvek
