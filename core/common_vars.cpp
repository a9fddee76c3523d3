#include "core/common_vars.h"
#include "core/special_edit.h"

#include "core/files.h"
#include "core/number_text.h"
#include "core/settings.h"
#include "core/string_table.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <unistd.h>

namespace orvek {

namespace {

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
    PreviewFooterNotice = "Orvek - (c) Kestrava, makers of the program";
    UpdatePreviewFooterVersion();
}

} // namespace

void UpdatePreviewFooterVersion()
{
    PreviewFooterVersion = ProgramName + " (" + GetString(405) + ": " + kProgramVersionText + ")";
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
QString UserTempFolder()
{
    const QString folder = QDir::tempPath() + QString("/Orvek-%1/").arg(getuid());
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
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
