#include "core/file_utils.h"

#include "core/services.h"
#include "core/string_table.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/sql_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvek {

namespace {

const QString kInvalidFileNameChars = QStringLiteral("/\\<>*:?|\"");

// Reads and writes in blocks of this size, letting events run between them.
constexpr qint64 kCopyBlockSize = 500001;

// The files of Folder whose names match Mask ("*" any characters, "?" one; a final
// ".*" also matches a name without extension), without regard to case.
QStringList MatchingFiles(const QString& folder, const QString& mask)
{
    QString pattern = mask;
    QString tail;
    if (pattern.endsWith(QLatin1String(".*"))) {
        pattern.chop(2);
        tail = QStringLiteral("(\\..*)?");
    }
    QString body
        = QRegularExpression::wildcardToRegularExpression(pattern, QRegularExpression::UnanchoredWildcardConversion);
    const QRegularExpression re(
        QRegularExpression::anchoredPattern(body + tail), QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
        if (re.match(name).hasMatch())
            names << name;
    return names;
}

bool IsNeverCopied(const QString& name)
{
    const QString upper = name.toUpper();
    return upper == QLatin1String("PDOXUSRS.NET") || upper == QLatin1String("DBDWORK.INI")
        || upper.endsWith(QLatin1String("-JOURNAL")) || upper.endsWith(QLatin1String("-WAL"))
        || upper.endsWith(QLatin1String("-SHM"));
}

// Copies Source to Target through a temporary file that replaces Target only when
// complete. Written kilobytes are added to KBytes when given.
bool CopyOneFile(const QString& source, const QString& target, int* kbytes)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray block;
    while (true) {
        QCoreApplication::processEvents();
        block = in.read(kCopyBlockSize);
        if (block.isEmpty()) {
            if (!in.atEnd() || in.error() != QFileDevice::NoError) {
                out.cancelWriting();
                return false;
            }
            break;
        }
        if (out.write(block) != block.size()) {
            out.cancelWriting();
            return false;
        }
        if (kbytes)
            *kbytes += int(block.size() / 1024);
    }
    if (!out.commit())
        return false;
    QFile written(target);
    if (written.open(QIODevice::ReadWrite))
        written.setFileTime(QFileInfo(source).lastModified(), QFileDevice::FileModificationTime);
    return true;
}

QString WithSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

QString SanitizeFileName(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (kInvalidFileNameChars.contains(c))
            c = QLatin1Char(' ');
    return out;
}

bool IsValidFileName(const QString& text)
{
    for (QChar c : text)
        if (kInvalidFileNameChars.contains(c))
            return false;
    return true;
}

QString UniqueFileName(const QString& folder, const QString& prefix, const QString& ext)
{
    const QString dir = folder.isEmpty() ? folder : WithSlash(folder);
    while (true) {
        const int a = QRandomGenerator::global()->bounded(12345, 65000);
        const int b = QRandomGenerator::global()->bounded(124, 999);
        const QString name = prefix + QString::number(a) + QString::number(b);
        const bool taken = ext.isEmpty()
            ? !QDir(dir.isEmpty() ? QStringLiteral(".") : dir)
                   .entryList({ name + QStringLiteral(".*"), name }, QDir::AllEntries | QDir::Hidden | QDir::System)
                   .isEmpty()
            : QFileInfo::exists(dir + name + QLatin1Char('.') + ext);
        if (!taken)
            return name;
    }
}

void DeleteFiles(const QString& folder, const QString& mask)
{
    const QString dir = WithSlash(folder);
    if (!mask.contains(QLatin1Char('*'))) {
        QFile::remove(dir + mask);
        return;
    }
    for (const QString& name : MatchingFiles(dir, mask))
        QFile::remove(dir + name);
}

void DeleteTempTables(const QString& folder)
{
    const QStringList masks { QStringLiteral("RedoUndo.*"), QStringLiteral("JoinTab*.*"), QStringLiteral("MainTab*.*"),
        QStringLiteral("SecTab*.*") };
    if (QFileInfo::exists(FolderDatabasePath(folder))) {
        // The connection and its query end before the connection is removed.
        {
            QSqlDatabase db = OpenFolderDatabase(QStringLiteral("TempTables"), folder, false);
            if (db.isOpen()) {
                QStringList tables;
                {
                    QSqlQuery query(db);
                    if (ExecBound(query,
                            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND (name = "
                                           "'RedoUndo' OR name GLOB 'JoinTab*' OR name GLOB 'MainTab*' OR name "
                                           "GLOB 'SecTab*')")))
                        while (query.next())
                            tables << query.value(0).toString();
                }
                for (const QString& table : tables)
                    PostStatement(db, QStringLiteral("DROP TABLE IF EXISTS ") + QuoteName(table));
            }
        }
        CloseFolderDatabase(QStringLiteral("TempTables"));
    }
    for (const QString& mask : masks)
        DeleteFiles(folder, mask);
}

bool CopyFiles(const QString& mask, const QString& sourceDir, const QString& targetDir, bool overwrite)
{
    const QString source = WithSlash(sourceDir), target = WithSlash(targetDir);
    if (!QDir().mkpath(target))
        return false;
    const QStringList names = MatchingFiles(source, mask);
    if (names.isEmpty())
        return false;
    bool allOk = true;
    for (const QString& name : names) {
        if (IsNeverCopied(name))
            continue;
        if (!overwrite && QFileInfo::exists(target + name))
            continue;
        if (!CopyOneFile(source + name, target + name, nullptr))
            allOk = false;
    }
    return allOk;
}

bool CopyFilesWithProgress(const QString& mask, const QString& sourceDir, const QString& targetDir, int& kbytes,
    const QString& caption, const QString& homeDir)
{
    kbytes = 0;
    const QString source = WithSlash(sourceDir), target = WithSlash(targetDir);
    QStringList names = MatchingFiles(source, mask);
    names.erase(std::remove_if(names.begin(), names.end(), IsNeverCopied), names.end());
    MessageWindowService* window = MessageWindow();
    if (window) {
        window->ShowBatch(caption + QStringLiteral(" (") + sourceDir + QLatin1Char(')'), true);
        window->SetupProgress(true, 1, int(names.size()));
    }
    bool ok = !names.isEmpty() && QDir().mkpath(target);
    for (qsizetype i = 0; ok && i < names.size(); ++i) {
        // The Cancel button does not stop a copy: a half-copied set is worse than waiting.
        if (window)
            window->StepProgress(int(i + 1));
        ok = CopyOneFile(source + names[i], target + names[i], &kbytes);
    }
    if (window)
        window->HideBatch();
    if (!homeDir.isEmpty())
        QDir::setCurrent(homeDir);
    return ok;
}

bool CopyFileAs(const QString& source, const QString& target)
{
    return CopyOneFile(source, target, nullptr);
}

bool WriteFileWhole(const QString& path, const QByteArray& data, QString* error)
{
    const auto fail = [&](int code) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(code));
        return false;
    };
    QByteArray temporary = QFile::encodeName(path) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return fail(errno);
    // The mode a new file would get, or the mode of the file it replaces.
    struct stat old { };
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, ::stat(QFile::encodeName(path).constData(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~mask));
    qsizetype done = 0;
    int code = 0;
    while (done < data.size() && code == 0) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            code = errno;
    }
    // A full disk may show only when the data is forced out, or at the close.
    if (code == 0 && ::fsync(fd) != 0)
        code = errno;
    if (::close(fd) != 0 && code == 0)
        code = errno;
    if (code == 0 && ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0)
        code = errno;
    if (code != 0) {
        ::unlink(temporary.constData());
        return fail(code);
    }
    return true;
}

bool ReplaceFolder(const QString& staged, const QString& target)
{
    const QString from = QDir::cleanPath(staged), to = QDir::cleanPath(target);
    const QByteArray fromName = QFile::encodeName(from), toName = QFile::encodeName(to);
    if (!QFileInfo::exists(to))
        return ::rename(fromName.constData(), toName.constData()) == 0;
    if (::renameat2(AT_FDCWD, fromName.constData(), AT_FDCWD, toName.constData(), RENAME_EXCHANGE) == 0) {
        QDir(from).removeRecursively();
        return true;
    }
    const QString old = to + QStringLiteral(".old");
    QDir(old).removeRecursively();
    if (!QDir().rename(to, old))
        return false;
    if (!QDir().rename(from, to)) {
        QDir().rename(old, to);
        return false;
    }
    QDir(old).removeRecursively();
    return true;
}

void SettleReplacedFolder(const QString& target)
{
    const QString to = QDir::cleanPath(target);
    QDir(to + QStringLiteral(".new")).removeRecursively();
    const QString old = to + QStringLiteral(".old");
    if (!QFileInfo::exists(old))
        return;
    if (QFileInfo::exists(to))
        QDir(old).removeRecursively();
    else
        QDir().rename(old, to);
}

qint64 FolderSize(const QString& folder)
{
    qint64 total = 0;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& info : files)
        total += info.size();
    return total;
}

bool OpenDocument(const QString& fileName)
{
    if (!QFileInfo(fileName).isFile()) {
        MessageDlg(GetString(918, { fileName }), TMsgDlgType::mtError, mbOK);
        return false;
    }
    if (OpenWithDesktop(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath())))
        return true;
    const QString type = fileName.right(3).toUpper();
    QString program;
    if (type == QLatin1String("DOC"))
        program = QStringLiteral("LibreOffice Writer");
    else if (type == QLatin1String("XLS"))
        program = QStringLiteral("LibreOffice Calc");
    else if (type == QLatin1String("PDF"))
        program = QStringLiteral("Evince");
    if (!program.isEmpty())
        MessageDlg(GetString(923, { type, program }), TMsgDlgType::mtWarning, mbOK);
    return false;
}

} // namespace orvek
