// Restore of the database folder from a backup, all or nothing.
//
// The folder holds the database and a few other files (the validation log val.ref ...).
// The database is replaced in one transaction of the live file; the other files are
// replaced by renames. So that a process killed at any point leaves either the old
// folder or the restored one, a restore
//   1. stages a copy of the backup's database and marks it with a token in its header
//      (user_version), and stages every other file beside its target as "<name>.restore";
//   2. writes a note naming the token, the backup's own header number and the staged
//      files;
//   3. replaces the live database with the staged copy (the one commit that decides);
//   4. renames the staged files over their targets, puts the header number back and
//      removes the note.
// A note found later (at the next start or restore) is settled by the token: a live
// database that carries it was replaced, so the renames are completed; otherwise the
// staged files are removed and the folder stays as it was.

#include "database/backups.h"

#include "database/backup_helpers.h"

#include "core/common_vars.h"
#include "core/file_utils.h"
#include "core/files.h"
#include "core/services.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLockFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>

namespace orvek {

namespace {

using backup::HourglassCursor;
using backup::SetError;

const QString kStagedSuffix = QStringLiteral(".restore");
// The note of a restore under way, the lock held while one runs, and the folder of the
// staged database.
const QString kRestoreNote = QStringLiteral("Orvek.restore-note");
const QString kRestoreLock = QStringLiteral("Orvek.restore-lock");
const QString kStagingFolder = QStringLiteral("Orvek.restore-staging");

std::function<void(const char*)> g_stepHook;

void Step(const char* name)
{
    if (g_stepHook)
        g_stepHook(name);
}

struct RestoreNote {
    qint64 token = 0; // the mark of the staged database
    qint64 version = 0; // the backup's own header number, put back at the end
    QStringList files; // the other files staged beside their targets
};

QByteArray NoteText(const RestoreNote& note)
{
    QString text = QStringLiteral("token=%1\nversion=%2\n").arg(note.token).arg(note.version);
    for (const QString& name : note.files)
        text += QStringLiteral("file=") + name + QLatin1Char('\n');
    return text.toUtf8();
}

bool ReadNote(const QString& path, RestoreNote& note)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bool tokenRead = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString key = line.section(QLatin1Char('='), 0, 0);
        const QString value = line.section(QLatin1Char('='), 1);
        if (key == QLatin1String("token"))
            note.token = value.toLongLong(&tokenRead);
        else if (key == QLatin1String("version"))
            note.version = value.toLongLong();
        else if (key == QLatin1String("file") && !value.isEmpty() && !value.contains(QLatin1Char('/')))
            note.files << value;
    }
    return tokenRead && note.token != 0;
}

// The header number of the database file in Folder; False when it cannot be read.
bool UserVersionOf(const QString& connection, const QString& folder, qint64& value, QString* error = nullptr)
{
    bool ok = false;
    {
        QSqlDatabase db = OpenFolderDatabase(connection, folder, false, error);
        ok = db.isOpen() && ReadUserVersion(db, value, error);
    }
    CloseFolderDatabase(connection);
    return ok;
}

bool SetUserVersionOf(const QString& connection, const QString& folder, qint64 value, QString* error = nullptr)
{
    bool ok = false;
    {
        QSqlDatabase db = OpenFolderDatabase(connection, folder, false, error);
        ok = db.isOpen() && WriteUserVersion(db, value, error);
    }
    CloseFolderDatabase(connection);
    return ok;
}

bool RenameOver(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Removes every staged file, the staged database and the note.
void RemoveWorkingFiles(const QString& folder)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        if (name != kRestoreLock && IsRestoreWorkingFile(name))
            QFile::remove(dir.filePath(name));
    QDir(dir.filePath(kStagingFolder)).removeRecursively();
}

// Completes the restore that Note describes: the staged files go over their targets,
// the header number goes back, the note goes last.
bool CompleteRestore(const QString& folder, const RestoreNote& note, QString* error)
{
    const QDir dir(folder);
    bool ok = true;
    for (const QString& name : note.files) {
        const QString staged = dir.filePath(name + kStagedSuffix);
        if (QFileInfo::exists(staged) && !RenameOver(staged, dir.filePath(name))) {
            SetError(error, QStringLiteral("Cannot put %1 in place").arg(dir.filePath(name)));
            ok = false;
        }
        Step("file in place");
    }
    if (!ok)
        return false;
    if (!SetUserVersionOf(QStringLiteral("RestoreVersion"), folder, note.version, error))
        return false;
    Step("version back");
    RemoveWorkingFiles(folder);
    Step("note removed");
    return true;
}

// Settles a note left by a stopped restore; the caller holds the lock.
void SettleLocked(const QString& folder)
{
    const QDir dir(folder);
    RestoreNote note;
    if (QFileInfo::exists(dir.filePath(kRestoreNote)) && ReadNote(dir.filePath(kRestoreNote), note)) {
        qint64 live = 0;
        // Reading the live file first rolls back a transaction a killed process left.
        if (UserVersionOf(QStringLiteral("RestoreSettle"), folder, live) && live == note.token) {
            CompleteRestore(folder, note, nullptr);
            return;
        }
    }
    // No note, an unreadable one, or a database that was never replaced.
    RemoveWorkingFiles(folder);
}

} // namespace

bool IsRestoreWorkingFile(const QString& name)
{
    // Staged files and the note are written through save files: a restore killed while
    // writing one leaves its temporary ("<name>.XXXXXX") beside it.
    static const QRegularExpression pattern(QStringLiteral("(\\.restore|^Orvek\\.restore-note)(\\.[A-Za-z0-9]{6})?$"));
    return name == kRestoreLock || pattern.match(name).hasMatch();
}

void SetRestoreStepHook(std::function<void(const char* step)> hook)
{
    g_stepHook = std::move(hook);
}

bool SettleInterruptedRestore(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return true;
    QLockFile lock(QDir(folder).filePath(kRestoreLock));
    // Only a holder that has died gives its lock up; a restore may take long.
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0))
        return false;
    SettleLocked(folder);
    return true;
}

bool TDataModule1::RestoreDatabase(const QString& folder, QString* error)
{
    if (folder.trimmed().isEmpty()) {
        SetError(error, QStringLiteral("No backup folder was given"));
        return false;
    }
    // The chosen folder, or the administrator's backup inside it (or, while a new one
    // was being put in its place, the one set aside).
    QString source = WithTrailingSeparator(folder);
    for (const QString& inner : { QString::fromLatin1(kAdminBackupSubfolder),
             QString::fromLatin1(kAdminBackupSubfolder) + QStringLiteral(".old") }) {
        const QString candidate = source + inner + QLatin1Char('/');
        if (!QFileInfo::exists(FolderDatabasePath(source)) && QFileInfo::exists(FolderDatabasePath(candidate)))
            source = candidate;
    }
    if (!QFileInfo::exists(FolderDatabasePath(source))) {
        SetError(error, QStringLiteral("%1 holds no database").arg(folder));
        return false;
    }
    if (QFileInfo(FolderDatabasePath(source)).canonicalFilePath()
        == QFileInfo(FolderDatabasePath(DatabaseDir)).canonicalFilePath()) {
        SetError(error, QStringLiteral("%1 is the database folder itself").arg(folder));
        return false;
    }
    HourglassCursor hourglass;
    const QDir live(DatabaseDir);
    QLockFile lock(live.filePath(kRestoreLock));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) {
        SetError(error, QStringLiteral("Another restore of %1 is running").arg(DatabaseDir));
        return false;
    }
    SettleLocked(DatabaseDir);

    // The backup is checked whole, and staged, before anything of the live folder changes.
    const QString staging = live.filePath(kStagingFolder);
    QDir().mkpath(staging);
    RestoreNote note;
    bool ok = false;
    {
        const QString connection = QStringLiteral("RestoreSource");
        {
            QSqlDatabase backup = OpenFolderDatabase(connection, source, false, error);
            if (backup.isOpen()) {
                QSqlQuery check(backup);
                ok = ExecBound(check, QStringLiteral("PRAGMA integrity_check"), {}, error) && check.next()
                    && check.value(0).toString() == QLatin1String("ok");
                check.finish();
                if (!ok && error && error->isEmpty())
                    *error = QStringLiteral("The backup in %1 is damaged").arg(source);
            }
            if (ok && CountMissingDatabaseFiles(source) != 0) {
                ok = false;
                SetError(error, QStringLiteral("The backup in %1 is incomplete").arg(source));
            }
            ok = ok && BackupDatabase(backup, FolderDatabasePath(staging), error);
        }
        CloseFolderDatabase(connection);
    }
    if (!ok) {
        RemoveWorkingFiles(DatabaseDir);
        return false;
    }
    Step("database staged");
    // The token tells, after a kill, whether the live database was replaced already.
    {
        const QString connection = QStringLiteral("RestoreStaged");
        {
            QSqlDatabase staged = OpenFolderDatabase(connection, staging, false, error);
            qint64 current = 0;
            ok = staged.isOpen() && ReadUserVersion(staged, note.version, error);
            QSqlDatabase db = session_->Database(AliasDB, false, error);
            ok = ok && db.isOpen() && ReadUserVersion(db, current, error);
            do
                note.token = qint64(QRandomGenerator::global()->bounded(1, 0x7fffffff));
            while (note.token == current || note.token == note.version);
            ok = ok && WriteUserVersion(staged, note.token, error);
        }
        CloseFolderDatabase(connection);
    }
    for (const QString& name : DatabaseFolderFiles(source)) {
        if (!ok)
            break;
        ok = CopyFileAs(QDir(source).filePath(name), live.filePath(name + kStagedSuffix));
        if (!ok)
            SetError(error, QStringLiteral("Cannot copy %1 from %2").arg(name, source));
        note.files << name;
        Step("file staged");
    }
    QString cause;
    if (ok && !WriteFileWhole(live.filePath(kRestoreNote), NoteText(note), &cause)) {
        ok = false;
        SetError(error, QStringLiteral("Cannot write %1: %2").arg(live.filePath(kRestoreNote), cause));
    }
    if (!ok) {
        RemoveWorkingFiles(DatabaseDir);
        return false;
    }
    Step("note written");

    // The one commit that decides: the live database takes the staged copy's pages.
    {
        const QString connection = QStringLiteral("RestoreStaged");
        {
            QSqlDatabase staged = OpenFolderDatabase(connection, staging, false, error);
            QSqlDatabase db = session_->Database(AliasDB, false, error);
            MessageWindowService* window = MessageWindow();
            if (window)
                window->ShowBatch(GetString(504), false);
            bool stopped = false;
            ok = staged.isOpen() && db.isOpen()
                && CopyDatabaseInto(
                    staged, db,
                    [window](int done, int total) {
                        Step("copy step");
                        if (!window)
                            return true;
                        window->SetupProgress(true, 0, total);
                        return !window->StepProgress(done);
                    },
                    &stopped, error);
            if (window)
                window->HideBatch();
        }
        CloseFolderDatabase(connection);
    }
    if (!ok) {
        RemoveWorkingFiles(DatabaseDir);
        return false;
    }
    Step("database replaced");
    ok = CompleteRestore(DatabaseDir, note, error);
    DeleteTempTables(DatabaseDir);
    // Field sizes, factors and groups come from the restored tables.
    OpenTables();
    return ok;
}

} // namespace orvek
