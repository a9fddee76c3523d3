#include "core/common_vars.h"
#include "core/special_edit.h"

#include "core/files.h"
#include "core/logs.h"
#include "core/number_text.h"
#include "core/settings.h"
#include "core/string_table.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace orvek {

namespace {

// A private temporary folder made at start (because the usual one could not be
// trusted) and the mark that it is in use: a lock held while the program runs, so that
// a later start can tell a folder left by a stopped program from one in use.
constexpr char kInUseLockName[] = "in-use.lock";
QString g_privateTempFolder;
std::unique_ptr<QLockFile> g_privateTempLock;

// Takes the in-use lock of Folder; False when someone holds it.
std::unique_ptr<QLockFile> TakeInUseLock(const QString& folder)
{
    auto lock = std::make_unique<QLockFile>(WithTrailingSeparator(folder) + QLatin1String(kInUseLockName));
    // Only a holder that no longer runs gives the lock up, however old it is.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

// Removes Folder, whose in-use lock the caller holds, the lock last: the contents
// first, then the lock, then the folder only when empty, so that a start that made the
// folder a moment ago and takes its lock now keeps it.
void RemoveLockedFolder(const QString& folder, std::unique_ptr<QLockFile> lock)
{
    const QDir dir(folder);
    for (const QFileInfo& entry :
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (entry.fileName() == QLatin1String(kInUseLockName))
            continue;
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
    lock.reset();
    ::rmdir(QFile::encodeName(QDir::cleanPath(folder)).constData());
}

// Runs the initializations of the program's own state that precede the settings.
void SetIdentity()
{
    StartCount = 0;
    LastLoggedInUserID = 1;
    CurrentUserID = 0;
    CurrentUserRights = 0;
    CurrentGroupName.clear();
    DiagramLockOwnerID = 0;
    ExamplesFolderName = "Examples";
    LanguageID = EditionFlag;
    SupportEMail = EditionFlag == 0 ? "support@example.org" : "podpora@example.org";
    ProgramTitle = EditionFlag == 0 ? "Valdrix" : "Orvek2010";
    ApplicationHelpFile = EditionFlag == 0 ? "Valdrix" : "Orvek";
    ProgramName = "Orvek2010";
    HelpBaseName = "Orvek";
    ClipboardCellsMarker = "Orvek2000Info";
    SetupKeyPath = "\\Software\\Kestrava\\Orvek\\Setup";
}

void CreateFolders()
{
    WorkingBackupDir = UserDataDir + "WorkingBackup/";
    AdminBackupDir = UserDataDir + "AdminBackup/";
    DatabaseDir = UserDataDir + "Database/";
    TreesDir = UserDataDir + ExamplesFolderName;
    ReportsDir = UserDataDir + "Reports";
    EmptyDatabaseDir = AppDir + "EmptyDatabase/";
    TempDir = UserTempFolder();
    for (const QString& dir : { WorkingBackupDir, AdminBackupDir, TreesDir, ReportsDir })
        if (!DirectoryExists(dir))
            ForceDirectories(dir);
}

void SetShortStartValues()
{
    ZoomStep = 0.1;
    CommentsPasteToTempates = true;
    ZeroToCalculations = false;
    WaitCancelled = false;
    WaitProgressTotal = WaitProgressPosition = 0;
    WaitProgressActive = false;
    SumFormulaRows = SumFormulaRowsDefault = 6;
    PreviewFooterMargin = 0.5f;
    ChartDecimals = 2;
    ChartLimitValue = 15;
    LoggedUsersRefreshSeconds = 5;
    SignificantDigits = 2;
    ExponentBelowIndex = 6;
    ExponentAboveIndex = 5;
    DeriveExponentLimits();
}

void SetRemainingStartValues()
{
    StoreCellComments = true;
    LoadValuesOnPaste = true;
    AskOnPaste = false;
    DiagramPrintColors = 1;
    DefaultRowHeight = int(std::trunc(ScreenPixelsPerInch * 17 / 96));
    ReportFontName = "Arial";
    ReportFontSize = 10;
    ReportFontOption = 0;
    UpdateHeadingMarkup();
    ReportTableFontSize = 10;
    ReportSections = 27;
    WaitProgressTotal = WaitProgressPosition = 0;
    WaitProgressActive = false;
    HistoryOriginalValues.clear();
    HistoryNewValues.clear();
    AssayImportFile.clear();
    TreeExportCounter = CellIdCounter = VariableCounter = 0;
    TreeLoadInProgress = false;
    DataChangedSinceBackup = false;
    MoreGroupsOfFolders = false;
    UpdatePreviewFooterVersion();
}

} // namespace

void UpdatePreviewFooterVersion()
{
    PreviewFooterVersion = ProgramName + " (" + GetString(405) + ": " + kProgramVersionText + ")";
    const QString notice = GetString(23770);
    PreviewFooterNotice = notice.isEmpty() ? QStringLiteral("Orvek - (c) Kestrava, makers of the program") : notice;
}

QString PreviewFooterText()
{
    return PreviewFooterVersion + ".new_row." + PreviewFooterNotice;
}

QString WithTrailingSeparator(const QString& path)
{
    return path.endsWith('/') ? path : path + '/';
}

QString ProgramFolder()
{
    const QByteArray overridden = qgetenv("ORVEK_APPDIR");
    if (!overridden.isEmpty())
        return WithTrailingSeparator(QDir::cleanPath(QString::fromLocal8Bit(overridden)));
    if (QCoreApplication::instance())
        return WithTrailingSeparator(QCoreApplication::applicationDirPath());
    return WithTrailingSeparator(QFileInfo(QFile::symLinkTarget("/proc/self/exe")).absolutePath());
}

// The system's temporary folder is shared by every user of the machine, so the
// program keeps a folder of its own per user there, readable by nobody else.
QString PrivateFolder(const QString& path, QString* reason)
{
    const QByteArray name = QFile::encodeName(QDir::cleanPath(path));
    if (reason)
        reason->clear();
    // Made here, it is ours; one made first by someone else fails with EEXIST and is
    // judged below like any folder found.
    if (::mkdir(name.constData(), 0700) == 0 && ::chmod(name.constData(), 0700) == 0)
        return QDir::cleanPath(path) + QLatin1Char('/');
    struct stat info { };
    QString why;
    if (::lstat(name.constData(), &info) != 0)
        why = QString::fromLocal8Bit(std::strerror(errno));
    else if (S_ISLNK(info.st_mode))
        why = QStringLiteral("it is a link");
    else if (!S_ISDIR(info.st_mode))
        why = QStringLiteral("it is not a folder");
    else if (info.st_uid != ::getuid())
        why = QStringLiteral("it belongs to user %1").arg(info.st_uid);
    else if (info.st_mode & (S_IWGRP | S_IWOTH))
        why = QStringLiteral("others may write into it (mode %1)").arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'));
    // A folder of our own that nobody else could write into is made private again.
    else if ((info.st_mode & 07777) != 0700 && ::chmod(name.constData(), 0700) != 0)
        why = QString::fromLocal8Bit(std::strerror(errno));
    if (why.isEmpty())
        return QDir::cleanPath(path) + QLatin1Char('/');
    QByteArray pattern = name + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        if (reason)
            *reason = QStringLiteral("%1 cannot be used (%2), and no private folder can be made beside it: %3")
                          .arg(QDir::cleanPath(path), why, QString::fromLocal8Bit(std::strerror(errno)));
        return QString();
    }
    const QString fresh = QFile::decodeName(pattern) + QLatin1Char('/');
    if (reason)
        *reason = QStringLiteral("%1 cannot be used (%2); the private folder %3 is used instead")
                      .arg(QDir::cleanPath(path), why, fresh);
    return fresh;
}

void RemoveAbandonedPrivateFolders(const QString& path)
{
    const QFileInfo base(QDir::cleanPath(path));
    const QDir parent = base.dir();
    const QRegularExpression made(
        QStringLiteral("^%1-[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(base.fileName())));
    for (const QString& name : parent.entryList({ base.fileName() + QStringLiteral("-*") },
             QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (!made.match(name).hasMatch())
            continue;
        const QString folder = parent.filePath(name);
        struct stat info { };
        if (::lstat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode)
            || info.st_uid != ::getuid())
            continue;
        if (std::unique_ptr<QLockFile> lock = TakeInUseLock(folder))
            RemoveLockedFolder(folder, std::move(lock));
    }
}

QString UserTempFolder()
{
    const QString base = QDir::tempPath() + QStringLiteral("/Orvek-%1").arg(::getuid());
    RemoveAbandonedPrivateFolders(base);
    QString reason, folder;
    // A fresh folder is in use once its lock is held; a start sweeping away old folders
    // at this very moment may take it first, and then another one is made.
    for (int attempt = 0; attempt < 3; ++attempt) {
        folder = PrivateFolder(base, &reason);
        if (folder.isEmpty() || reason.isEmpty())
            break;
        if ((g_privateTempLock = TakeInUseLock(folder))) {
            g_privateTempFolder = folder;
            break;
        }
    }
    if (!reason.isEmpty())
        AppendLogBlock(QString::fromLatin1(kErrorLogFileName), QStringLiteral("Temporary folder: ") + reason);
    return folder;
}

void RemovePrivateTempFolder()
{
    if (g_privateTempFolder.isEmpty())
        return;
    RemoveLockedFolder(g_privateTempFolder, std::move(g_privateTempLock));
    g_privateTempFolder.clear();
}

void ParseCommandLine(const QStringList& parameters)
{
    CmdArg1 = parameters.value(0).toUpper();
    CmdArg2 = parameters.value(1).toUpper();
    auto on = [](const char* word) { return CmdArg1 == word || CmdArg2 == word; };
    QuelvarMode = on("QUELVAR");
    OstrevinMode = on("OSTREVIN");
    TraceSteps = on("STEP_WRITE");
}

void UpdateHeadingMarkup()
{
    auto heading = [](int size) { return QString("[cf3][cfarial][cfsize%1]").arg(size); };
    HeadingMarkupLarge = heading(ReportFontSize + 3);
    HeadingMarkup = heading(ReportFontSize + 2);
    HeadingMarkupSmall = heading(ReportFontSize);
}

void UtilityInit()
{
    TraceSteps = false;
    InitDecimalSeparators();
    ClearSpecialEditFlags();
}

void UtilityDone() { }

void CommonInit()
{
    if (CommonInitCount-- != 0)
        return;
    UtilityInit();
    SetIdentity();
    AppDir = ProgramFolder();
    QStringList parameters;
    if (QCoreApplication::instance())
        parameters = QCoreApplication::arguments().mid(1);
    ParseCommandLine(parameters);
    UserDataDir.clear();
    ReadUserDataPath();
    UserDataDir = AppDir;
    CreateFolders();
    AliasStrings = "OrvekStrings";
    AliasDB = "OrvekDB";
    AliasTempName = "AliasTemp";
    SetShortStartValues();
    SetDefaultDiagramSettings();
    LoadSettings();
    UpdateZoomPresetText();
    CheckTableLayouts();
    StartCount = StartCount + 1;
    ScaleLayoutToZoom();
    ClearCellCommands();
    SetRemainingStartValues();
}

void CommonDone()
{
    if (CommonInitCount++ != -1)
        return;
    SaveSettings();
    HistoryOriginalValues.clear();
    HistoryNewValues.clear();
    UtilityDone();
    RemovePrivateTempFolder();
}

void ClearCellCommands()
{
    for (bool* flag : { &AddTreeItemsRequest, &WholeTreeRequest, &CurrentCellRequest, &LoadTreeFromFileRequest,
             &CmdAddUncertainty, &CmdReplaceFromDatabase, &CmdQuantityToNewEquation, &CmdEquationToQuantity,
             &CmdDeleteCell, &CmdToggleActive, &CmdNewEquation, &CmdEquationToNewEquation, &CmdViewCell, &CmdEditCell,
             &ExpandTreeRequest, &CollapseTreeRequest, &ZoomOutRequest, &ZoomInRequest, &SaveTreeAsRequest,
             &SaveTreeRequest, &ZoomPresetRequest, &CellPropertiesRequest, &CmdHideUncertaintyCells,
             &CmdShowUncertaintyCells, &HighlightRequest, &CmdReserved })
        *flag = false;
}

bool IsCellCommandPending()
{
    return CmdAddUncertainty || CmdReplaceFromDatabase || CmdQuantityToNewEquation || CmdEquationToQuantity
        || CmdDeleteCell || CmdToggleActive || CmdNewEquation || CmdEquationToNewEquation || CmdViewCell || CmdEditCell
        || ExpandTreeRequest || CollapseTreeRequest || ZoomOutRequest || ZoomInRequest || SaveTreeAsRequest
        || SaveTreeRequest;
}

} // namespace orvek
