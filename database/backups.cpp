// Working backups, the administrator's backup and its table export, and restore.

#include "database/backups.h"

#include "database/backup_helpers.h"

#include "core/clock.h"
#include "core/common_vars.h"
#include "core/file_utils.h"
#include "core/files.h"
#include "core/logs.h"
#include "core/services.h"
#include "database/data_module.h"
#include "engine/model_file.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"
#include "platform/sql_database.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStorageInfo>
#include <QTextStream>

namespace orvek {

namespace {

using backup::HourglassCursor;
using backup::SetError;

std::function<qint64(const QString&)> g_freeSpaceProbe;

QString ListFilePath()
{
    return AppDir + QString::fromLatin1(kBackupListFile);
}

void Trace(const QString& text)
{
    if (TraceSteps)
        AppendErrFile(text);
}

// The folders of the list's usable lines, in file order.
QStringList ReadBackupList()
{
    QStringList folders;
    QFile file(ListFilePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return folders;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        Trace(QStringLiteral("GetLastBackupDir 2"));
        const QString dateText = line.section(QLatin1Char(';'), 0, 0).trimmed();
        Trace(QStringLiteral("GetLastBackupDir DateLastBackupStr=") + dateText);
        if (!QDate::fromString(dateText, Qt::ISODate).isValid())
            continue;
        const QString folder = line.section(QLatin1Char(';'), 2).trimmed();
        if (folder.isEmpty())
            continue;
        Trace(QStringLiteral("GetLastBackupDir 4"));
        folders << folder;
    }
    return folders;
}

bool AppendBackupListLine(const QDateTime& moment, const QString& folder)
{
    QFile file(ListFilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    const QString line = moment.date().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" ; ")
        + moment.time().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" ; ") + folder + QLatin1Char('\n');
    return file.write(line.toUtf8()) > 0 && file.flush();
}

// A backup of the database folder in Folder: the live database through the online
// backup, the other files by plain copy, Extra (when given) last, all built in Folder +
// ".new" and put in Folder's place only when whole. At every moment the old backup or
// the new one is whole (ReplaceFolder), and a backup that fails leaves nothing.
bool BuildBackupFolder(DatabaseSession& session, const QString& folder, const QString& caption,
    const std::function<bool(const QString& staging, QString* error)>& extra, QString* error)
{
    QSqlDatabase db = session.Database(AliasDB, false, error);
    if (!db.isOpen())
        return false;
    const QString target = QDir::cleanPath(folder);
    const QString staging = target + QStringLiteral(".new");
    QDir(staging).removeRecursively();
    if (!ForceDirectories(staging)) {
        SetError(error, QStringLiteral("Cannot create %1").arg(staging));
        return false;
    }
    const QStringList others = DatabaseFolderFiles(DatabaseDir);
    MessageWindowService* window = MessageWindow();
    if (window) {
        window->ShowBatch(caption, false);
        window->SetupProgress(true, 0, int(others.size()) + 1);
    }
    bool ok = BackupDatabase(db, FolderDatabasePath(staging), error);
    for (qsizetype i = 0; ok && i < others.size(); ++i) {
        if (window)
            window->StepProgress(int(i) + 1);
        ok = CopyFiles(others.at(i), DatabaseDir, staging, true);
        if (!ok)
            SetError(error, QStringLiteral("Cannot copy %1 to %2").arg(others.at(i), staging));
    }
    if (window)
        window->HideBatch();
    ok = ok && (!extra || extra(staging, error));
    if (ok && !ReplaceFolder(staging, target)) {
        ok = false;
        SetError(error, QStringLiteral("Cannot put the backup in place at %1").arg(target));
    }
    if (!ok)
        QDir(staging).removeRecursively();
    return ok;
}

// Removes what backups of an older version left when they were stopped: the part of
// the database copy and its journal.
void RemovePartialCopies(const QString& folder)
{
    for (const QString& name : QDir(folder).entryList(
             { QStringLiteral("*.part"), QStringLiteral("*.part-journal") }, QDir::Files | QDir::Hidden))
        QFile::remove(QDir(folder).filePath(name));
}

// Date columns are stored as text like memos; the export writes them, not the memos.
bool IsDateColumn(const QString& column)
{
    return column == QLatin1String("Datum") || column == QLatin1String("CreateDate");
}

// The declared types of Table's columns, upper-cased, by name.
QHash<QString, QString> ColumnTypes(QSqlDatabase& db, const QString& table)
{
    QHash<QString, QString> types;
    QSqlQuery query(db);
    if (ExecBound(query, QStringLiteral("PRAGMA table_info(") + QuoteName(table) + QLatin1Char(')')))
        while (query.next())
            types.insert(query.value(1).toString(), query.value(2).toString().toUpper());
    return types;
}

// Writes every row of Table (in key order) as field lines; each row ends with a line
// holding one blank. With ModelFolder, the Strom memo becomes a model file there.
bool WriteTableRows(QSqlDatabase& db, const QString& table, QTextStream& out, const QString& modelFolder,
    const std::function<void()>& step, QString* error)
{
    const QHash<QString, QString> types = ColumnTypes(db, table);
    QSqlQuery query(db);
    if (!ExecBound(
            query, QStringLiteral("SELECT * FROM ") + QuoteName(table) + QStringLiteral(" ORDER BY ID"), {}, error))
        return false;
    while (query.next()) {
        if (step)
            step();
        const QSqlRecord record = query.record();
        QString modelName;
        for (int i = 0; i < record.count(); ++i) {
            const QString name = record.fieldName(i);
            if (name == QLatin1String("ID"))
                modelName = table + query.value(i).toString() + QStringLiteral(".STM");
            const QVariant value = query.value(i);
            if (value.isNull())
                continue;
            const QString type = types.value(name);
            if (type.startsWith(QLatin1String("INTEGER"))) {
                out << name << '=' << value.toLongLong() << '\n';
            } else if (type.startsWith(QLatin1String("VARCHAR")) || type.startsWith(QLatin1String("CHAR"))
                || IsDateColumn(name)) {
                out << name << '=' << value.toString() << '\n';
            } else if (name == QLatin1String("Strom") && !modelFolder.isEmpty()) {
                const QString diagram = value.toString();
                if (diagram.isEmpty())
                    continue;
                out << name << '=' << modelName << '\n';
                if (!WriteScrambledModelFile(modelFolder + modelName, diagram, error))
                    return false;
            }
        }
        out << " \n";
    }
    return out.status() == QTextStream::Ok;
}

int RowCount(QSqlDatabase& db, const QString& table)
{
    QSqlQuery query(db);
    return ExecBound(query, QStringLiteral("SELECT count(*) FROM ") + QuoteName(table)) && query.next()
        ? query.value(0).toInt()
        : 0;
}

// Writes one export file through a save file: nothing is left of a failed one.
bool WriteExportFile(const QString& path, const std::function<bool(QTextStream&, QString*)>& body, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        SetError(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    if (!body(out, error)) {
        file.cancelWriting();
        return false;
    }
    out.flush();
    if (!file.commit()) {
        SetError(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

// The read and write permissions of the live database file. The export holds every
// record, so its files may be read by those who may read the database, and no others.
QFileDevice::Permissions DatabaseFilePermissions()
{
    constexpr QFileDevice::Permissions readWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner
        | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    const QFileDevice::Permissions permissions = QFile::permissions(FolderDatabasePath(DatabaseDir)) & readWrite;
    return permissions | QFileDevice::ReadOwner | QFileDevice::WriteOwner;
}

} // namespace

qint64 FreeBytesAt(const QString& folder)
{
    if (g_freeSpaceProbe)
        return g_freeSpaceProbe(folder);
    QString existing = QDir::cleanPath(folder);
    while (!existing.isEmpty() && !QFileInfo(existing).isDir()) {
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            break;
        existing = parent;
    }
    const QStorageInfo storage(existing);
    return storage.isValid() ? storage.bytesAvailable() : 0;
}

void SetFreeSpaceProbe(std::function<qint64(const QString& folder)> probe)
{
    g_freeSpaceProbe = std::move(probe);
}

QStringList DatabaseFolderFiles(const QString& folder)
{
    const QString db = QString::fromLatin1(kFolderDatabaseFileName);
    QStringList names;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        if (name != db && !name.startsWith(db + QLatin1Char('-')) && !IsRestoreWorkingFile(name))
            names << name;
    return names;
}

QString WorkingBackupFolderName(const QDateTime& moment)
{
    return WorkingBackupDir + moment.toString(QStringLiteral("yyyy-MM-dd_HH-mm")) + QLatin1Char('/');
}

void GetLastBackupDir(QString& folder)
{
    Trace(QStringLiteral("GetLastBackupDir 1"));
    folder.clear();
    const QStringList folders = ReadBackupList();
    if (!folders.isEmpty()) {
        Trace(QStringLiteral("GetLastBackupDir 5"));
        if (DirectoryExists(folders.last()))
            folder = folders.last();
        Trace(QStringLiteral("GetLastBackupDir 6 ") + folder);
    }
    Trace(QStringLiteral("GetLastBackupDir 7"));
}

bool TDataModule1::ChooseWorkingBackupDir(QString& folder)
{
    const QDateTime now = Now();
    folder = WorkingBackupFolderName(now);
    const qint64 neededKB = FolderSize(DatabaseDir) / 1024 * 50;
    const qint64 freeKB = FreeBytesAt(folder) / 1024;
    if (freeKB < neededKB) {
        const QString where = QStorageInfo(QFileInfo(WorkingBackupDir).absolutePath()).rootPath();
        MessageDlg(GetString(1078, { where.isEmpty() ? WorkingBackupDir : where, QString::number(neededKB) }),
            TMsgDlgType::mtWarning, mbCancel);
        return false;
    }
    // The folder is made by the copy, whole or not at all.
    return true;
}

bool TDataModule1::MakeWorkingBackup()
{
    const QDateTime moment = Now();
    QString folder;
    if (!ChooseWorkingBackupDir(folder))
        return false;
    HourglassCursor hourglass;
    QString error;
    const bool ok = BuildBackupFolder(*session_, folder, GetString(503) + QStringLiteral(" 1 / 2"), {}, &error);
    if (!ok) {
        AppendLogBlock(QString::fromLatin1(kErrorLogFile), QStringLiteral("MakeWorkingBackup: ") + error);
        return false;
    }
    // Listed only once whole, so that a stopped backup is never taken for the last one;
    // a backup made again in the same minute replaced its folder, which is listed.
    if (!ReadBackupList().contains(folder) && !AppendBackupListLine(moment, folder))
        AppendLogBlock(QString::fromLatin1(kErrorLogFile), QStringLiteral("Cannot write ") + ListFilePath());
    return true;
}

bool TDataModule1::MakeAdminBackup()
{
    if (AdminBackupDir.isEmpty())
        return false;
    HourglassCursor hourglass;
    // The backup has a sub-folder of its own, so that nothing else in the chosen folder
    // is touched.
    const QString base = QDir(AdminBackupDir).filePath(QString::fromLatin1(kAdminBackupSubfolder));
    QString error;
    const bool ok = BuildBackupFolder(
        *session_, base, GetString(502) + QStringLiteral(" 1 / 2"),
        [this](const QString& staging, QString* workError) {
            if (ExportDatabaseItems(staging))
                return true;
            SetError(workError, QStringLiteral("The export of the items failed"));
            return false;
        },
        &error);
    if (!ok)
        AppendLogBlock(QString::fromLatin1(kErrorLogFile), QStringLiteral("MakeAdminBackup: ") + error);
    return ok;
}

void SettleInterruptedBackups()
{
    if (!AdminBackupDir.isEmpty()) {
        const QString base = QDir(AdminBackupDir).filePath(QString::fromLatin1(kAdminBackupSubfolder));
        SettleReplacedFolder(base);
        RemovePartialCopies(base);
    }
    if (WorkingBackupDir.isEmpty())
        return;
    const QDir working(WorkingBackupDir);
    for (const QString& name : working.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString path = working.filePath(name);
        if (name.endsWith(QLatin1String(".new")) || name.endsWith(QLatin1String(".old")))
            SettleReplacedFolder(path.chopped(4));
        else
            RemovePartialCopies(path);
    }
}

bool TDataModule1::ExportDatabaseItems(const QString& folder)
{
    const QString target = WithTrailingSeparator(folder) + QString::fromLatin1(kExportSubfolder) + QLatin1Char('/');
    if (!ForceDirectories(target))
        return false;
    DeleteFiles(target, QStringLiteral("*"));
    // The files are written with the usual mode of new files; the folder is closed to
    // everyone else until they have the database file's permissions.
    const QFileDevice::Permissions folderPermissions = QFile::permissions(target);
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QFileDevice::Permissions filePermissions = DatabaseFilePermissions();
    const auto openFolder = qScopeGuard([&] {
        for (const QString& name : QDir(target).entryList(QDir::Files | QDir::Hidden))
            QFile::setPermissions(target + name, filePermissions);
        QFile::setPermissions(target, folderPermissions);
    });
    QString error;
    QSqlDatabase db = session_->Database(AliasDB, false, &error);
    if (!db.isOpen())
        return false;
    const int total = RowCount(db, QStringLiteral("TreeDB")) + RowCount(db, QStringLiteral("TemplateDB"));
    MessageWindowService* window = MessageWindow();
    int position = 0;
    const auto step = [&] {
        if (window)
            window->StepProgress(++position);
    };
    if (window) {
        window->ShowBatch(GetString(502) + QStringLiteral(" 2 / 2"), false);
        window->SetupProgress(true, 1, qMax(total, 1));
    }
    bool result = true;
    for (const QString& table : QStringList { QStringLiteral("TreeDB"), QStringLiteral("TemplateDB") }) {
        if (!WriteExportFile(
                target + table + QStringLiteral(".txt"),
                [&](QTextStream& out, QString* workError) {
                    return WriteTableRows(db, table, out, target, step, workError);
                },
                &error)) {
            result = false;
            AppendLogBlock(QString::fromLatin1(kErrorLogFile), QStringLiteral("ExportDatabaseItems: ") + error);
        }
    }
    const bool folders = WriteExportFile(
        target + QStringLiteral("Folders.txt"),
        [&](QTextStream& out, QString* workError) {
            QList<int> groups;
            {
                QSqlQuery query(db);
                if (!ExecBound(query, QStringLiteral("SELECT ID FROM MeasureNameList ORDER BY ID"), {}, workError))
                    return false;
                while (query.next())
                    groups << query.value(0).toInt();
            }
            QStringList tables { QStringLiteral("MeasureNameList") };
            for (const char* prefix : { "MeasureID", "TemplateID" })
                for (int group : groups)
                    tables << QString::fromLatin1(prefix) + QString::number(group);
            for (const QString& table : tables) {
                if (!TableExists(db, table)) {
                    SetError(workError, QStringLiteral("Table %1 does not exist").arg(table));
                    return false;
                }
                out << "TableName=" << table << '\n' << "RecordCount=" << RowCount(db, table) << '\n';
                if (!WriteTableRows(db, table, out, QString(),
                        table == QLatin1String("MeasureNameList") ? std::function<void()>(step) : nullptr, workError))
                    return false;
            }
            return true;
        },
        &error);
    if (!folders) {
        result = false;
        AppendLogBlock(QString::fromLatin1(kErrorLogFile), QStringLiteral("ExportDatabaseItems: ") + error);
    }
    if (window)
        window->HideBatch();
    return result;
}

} // namespace orvek
