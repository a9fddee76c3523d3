#pragma once
// Program-wide state of the process: identity, folders, command-line switches, the
// start values of shared settings and the request flags that menu actions hand to
// the window timers. Everything here is set by CommonInit on the one GUI thread.

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace orvek {

// 0 English edition, 1 Slovak edition; fixed by the build.
#ifndef ORVEK_EDITION_FLAG
#define ORVEK_EDITION_FLAG 1
#endif
constexpr quint8 EditionFlag = ORVEK_EDITION_FLAG;

// Identity strings.
inline QString ProgramName; // "Orvek2010": single-instance lock and notice
inline QString HelpBaseName; // "Orvek"
inline QString ClipboardCellsMarker; // "Orvek2000Info"
inline QString SetupKeyPath; // "\Software\Kestrava\Orvek\Setup"
inline QString SupportEMail;
inline QString ProgramTitle; // "Valdrix" (edition 0), "Orvek2010" (edition 1)
inline QString ApplicationHelpFile; // "Valdrix" (edition 0), "Orvek" (edition 1)

// Folders; each ends with "/" unless noted.
inline QString AppDir;
inline QString UserDataDir;
inline QString WorkingBackupDir;
inline QString AdminBackupDir;
inline QString DatabaseDir;
inline QString EmptyDatabaseDir;
inline QString ExamplesFolderName; // "Examples", no separator
inline QString TreesDir; // no trailing separator
inline QString ReportsDir; // no trailing separator
inline QString TempDir;
inline QString AliasStrings, AliasDB, AliasTempName;

// Command line: the first two parameters, upper-cased.
inline QString CmdArg1, CmdArg2;
inline bool QuelvarMode = false;
inline bool OstrevinMode = false;
inline bool TraceSteps = false;

// Screen resolution the display metrics derive from; set by the program before
// CommonInit from the primary screen (96 when there is none).
inline double ScreenPixelsPerInch = 96.0;

// Start values.
inline int StartCount = 0;
inline int LastLoggedInUserID = 1;
inline quint8 LanguageID = EditionFlag;
inline double ZoomStep = 0.1;
inline bool CommentsPasteToTempates = true;
inline bool ZeroToCalculations = false;
inline bool WaitCancelled = false;
inline int WaitProgressTotal = 0, WaitProgressPosition = 0;
inline bool WaitProgressActive = false;
inline int SumFormulaRows = 6, SumFormulaRowsDefault = 6;
inline float PreviewFooterMargin = 0.5f;
inline int ChartDecimals = 2;
inline int ChartLimitValue = 15;
inline int LoggedUsersRefreshSeconds = 5;
inline quint8 SignificantDigits = 2;
inline quint8 ExponentBelowIndex = 6, ExponentAboveIndex = 5;
inline bool MoreGroupsOfFolders = false;
inline bool StoreCellComments = true;
inline bool LoadValuesOnPaste = true;
inline bool AskOnPaste = false;
inline quint8 DiagramPrintColors = 1;
inline int DefaultRowHeight = 17;
inline QString ReportFontName = "Arial";
inline int ReportFontSize = 10;
inline int ReportFontOption = 0;
inline QString HeadingMarkupLarge, HeadingMarkup, HeadingMarkupSmall;
inline int ReportTableFontSize = 10;
inline quint16 ReportSections = 27;
inline int CurrentUserID = 0, CurrentUserRights = 0;
inline QString CurrentGroupName;
inline int DiagramLockOwnerID = 0;
inline QString HistoryOriginalValues, HistoryNewValues;
inline QString AssayImportFile;
inline int TreeExportCounter = 0, CellIdCounter = 0, VariableCounter = 0;
inline bool TreeLoadInProgress = false;
inline bool DataChangedSinceBackup = false;
// 0 exact derivatives; no setting stores it.
inline int DerivativeMode = 0;

// The program's version as the windows and printed footers show it.
inline constexpr char kProgramVersionText[] = "5.32";
// The two lines of the preview printers' footer, both in the current language
// (UpdatePreviewFooterVersion): the program with its version, and the maker's notice.
inline QString PreviewFooterVersion;
inline QString PreviewFooterNotice;

// Set by the windows: edit level of the cell dialogs (0 view, 1 unlocked fields,
// 2 full) and colouring of the boxes (0 none, 1 no values, 2 expired, 3 largest).
inline quint8 EditMode = 0;
inline quint8 HighlightMode = 0;

// Request flags armed by menu actions and consumed by the window timers and the
// cell click handler; all False at start.
inline bool AddTreeItemsRequest = false, WholeTreeRequest = false, CurrentCellRequest = false,
            LoadTreeFromFileRequest = false;
inline bool CmdAddUncertainty = false;
inline bool CmdReplaceFromDatabase = false;
inline bool CmdQuantityToNewEquation = false;
inline bool CmdEquationToQuantity = false;
inline bool CmdDeleteCell = false;
inline bool CmdToggleActive = false;
inline bool CmdNewEquation = false;
inline bool CmdEquationToNewEquation = false;
inline bool CmdViewCell = false;
inline bool CmdEditCell = false;
inline bool ExpandTreeRequest = false, CollapseTreeRequest = false, ZoomOutRequest = false, ZoomInRequest = false;
inline bool SaveTreeAsRequest = false, SaveTreeRequest = false;
inline bool ZoomPresetRequest = false, CellPropertiesRequest = false;
inline bool CmdHideUncertaintyCells = false, CmdShowUncertaintyCells = false;
inline bool HighlightRequest = false;
inline bool CmdReserved = false;

// Nesting counter of CommonInit/CommonDone: each body runs once however often they
// are called.
inline int CommonInitCount = 0;

void CommonInit();
void CommonDone();
void UtilityInit();
void UtilityDone();

// Sets every request flag False.
void ClearCellCommands();
// True when a cell command or a diagram request that changes the pick cursor is armed.
bool IsCellCommandPending();

// Reads the two parameters into CmdArg1/CmdArg2 and switches the modes.
void ParseCommandLine(const QStringList& parameters);

// The executable's folder with a trailing "/"; ORVEK_APPDIR overrides it.
QString ProgramFolder();
// The user's own temporary folder of the program: tmp/Orvek-<uid>/, used only when it
// is a real folder (not a link) of this user that nobody else may write into; otherwise
// a fresh private folder beside it, held in use until RemovePrivateTempFolder (run by
// CommonDone) removes it, and the error log says why. Fresh folders that earlier
// starts of this user left are removed first.
QString UserTempFolder();
void RemovePrivateTempFolder();
// Removes the folders Path + "-XXXXXX" (as PrivateFolder makes them) that are real
// folders of this user and that no running start holds in use; links, folders of other
// users and other names are left alone.
void RemoveAbandonedPrivateFolders(const QString& path);
// Path as a private folder of this user (mode 0700, with a trailing "/"): made when
// missing, taken when it is a real folder of this user that nobody else may write into,
// else a fresh folder Path + "-XXXXXX" made like mkdtemp. Reason tells why Path was not
// used; empty result when no folder could be had.
QString PrivateFolder(const QString& path, QString* reason = nullptr);
// Appends "/" when missing.
QString WithTrailingSeparator(const QString& path);

// "[cf3][cfarial][cfsize<n>]" heading prefixes from ReportFontSize.
void UpdateHeadingMarkup();

// PreviewFooterVersion := ProgramName + " (" + text 405 + ": " + version + ")" and
// PreviewFooterNotice := the maker's notice; run again after the language changed.
void UpdatePreviewFooterVersion();
// The footer as a preview printer takes it: the two lines joined with ".new_row.".
QString PreviewFooterText();

} // namespace orvek
