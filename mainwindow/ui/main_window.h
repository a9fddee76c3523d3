#pragma once
// The program's main window: the record view (folder tree, record grid) on the left,
// the diagram of the shown record with its report, equation and formula pages on the
// right, the menus and tool bars of every window of the program, and the 100 ms timer
// that loads the grid's current record, stores each change of its tree and serves the
// display requests. The record and its undo history are TMainDocument; the timer's
// decisions are TMainTick.

#include "core/services.h"
#include "mainwindow/main_texts.h"
#include "mainwindow/main_zoom.h"
#include "richtext/report_output.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QSplitter;
class QSqlQueryModel;
class QTabWidget;
class QTableView;
class QTextEdit;
class QTimer;
class QToolBar;
class QToolButton;

namespace orvek {

class DataModuleCellRecord;
class RecordViewPanel;
class TCell;
class TDiagramView;
class TMainChangeHistory;
class TMainDocument;
class TMainTick;
class TMainTickHost;
class TPreviewPrinter;
class TReportOutput;
enum class TDisplayRequest;

class TfOrvek1 : public QMainWindow, public MainWindowService {
    Q_OBJECT
public:
    // Clock gives the timer's millisecond tick count (a steady clock when empty).
    explicit TfOrvek1(QWidget* parent = nullptr, std::function<quint32()> clock = {});
    ~TfOrvek1() override;

    // ---- Menus, tool bars and pop-ups.
    QMenu *MenuFile = nullptr, *MenuNastroje = nullptr, *MenuZobrazenie = nullptr, *MenuZoom = nullptr,
          *MenuPomocnik = nullptr, *menuAdministrator = nullptr, *menuMeasurement = nullptr, *menuValidacia = nullptr,
          *menuValidation_in_Orvek2000 = nullptr, *menuService = nullptr, *menuLanguage = nullptr;
    QMenu *menuSaveToFile = nullptr, *menuPrintPreview = nullptr, *menuPrint = nullptr, *menuCopy = nullptr;
    // The diagram's context menu (with its zoom sub-menu) and the report pages' pop-up.
    QMenu *PopupMenu1 = nullptr, *MenuZoom2 = nullptr, *PopupMenu_Report = nullptr;
    QToolBar *ToolBar1 = nullptr, *ToolBar2 = nullptr, *ToolBar_SpecialEdit = nullptr;
    QToolButton *ToolButton_Copy = nullptr, *ToolButton_SaveToFile = nullptr, *ToolButton_PrintPreview = nullptr,
                *ToolButton_Print = nullptr;
    QComboBox* ComboBox_Zoom = nullptr;

    // ---- Panels and pages.
    QSplitter* Splitter_Panels = nullptr;
    QWidget *Panel_MeasurementTree = nullptr, *Panel_MeasurementDB = nullptr, *Panel1 = nullptr;
    RecordViewPanel* RecordPanel = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget *TabSheet_Struktura = nullptr, *TabSheet_Poznamky = nullptr, *TabSheet_Rovnice = nullptr,
            *TabSheet_VzorecPreNeistotu = nullptr, *TabSheet_Service = nullptr;
    TDiagramView* ScrollBox2 = nullptr;
    QTextEdit *RichEdit_ShortReport = nullptr, *RichEdit_Rovnice = nullptr, *RichEdit981 = nullptr;
    QCheckBox* CheckBox_ZalomitText = nullptr;
    // The service page: the record locks over Query1.
    QTableView* DBGrid_Service = nullptr;
    QSqlQueryModel* Query1 = nullptr;
    QToolButton *SpeedButton5 = nullptr, *SpeedButton6 = nullptr;
    QLabel* StatusPanels[4] = {};
    QTimer* Timer1 = nullptr;
    // Runs the first activation when no window manager activated the window.
    QTimer* FirstActivationTimer = nullptr;
    TPreviewPrinter* PreviewPrinter1 = nullptr;

    // ---- Actions of the window (the record panel's own actions are RecordPanel's).
    QAction *ActionFileExit = nullptr, *MenuExit = nullptr, *ActionUndo = nullptr, *ActionRedo = nullptr;
    QAction *ActionStromZvacsit = nullptr, *ActionStromZmensit = nullptr, *ActionStromRozbalit = nullptr,
            *ActionZoom_50 = nullptr, *ActionZoom_85 = nullptr, *ActionZoom_100 = nullptr, *ActionZoom_150 = nullptr,
            *ActionZoom_200 = nullptr;
    QActionGroup* ZoomPresetActions = nullptr;
    QAction *ActionZvyraznitLenNenaplnene = nullptr, *ActionZvyraznitLenExpirovane = nullptr,
            *ActionShowMaxUncertainty = nullptr;
    // The diagram pop-up's edit item and the separator below it show only over a cell.
    QAction *ActionEditovatObsahBunky = nullptr, *Editovaobsahbunky2 = nullptr, *PopupEditSeparator = nullptr,
            *ActionZobrazitVlastnostiBuniek = nullptr, *ActionVypocetDerivacie_PresnyVypocet = nullptr,
            *ActionVypocetDerivacie_Diferencia = nullptr;
    QAction *ActionSuhrnVelicin = nullptr, *ActionShowHideSummaryWindow = nullptr, *ActionProgramoveStringy = nullptr;
    // Reports and the diagram picture: the thirteen outputs and the section dialog.
    QAction *ActionVyberPreReport = nullptr, *ActionReportPrintPreview = nullptr, *ActionReportPrint = nullptr,
            *ActionFullReportSaveToFile = nullptr, *ActionCopyFullReport = nullptr,
            *ActionShortReportPrintPreview = nullptr, *ActionShortReportPrint = nullptr,
            *ActionShortReportSaveToFile = nullptr, *ActionCopyShortReport = nullptr, *ActionCopyDiagram = nullptr,
            *ActionDiagramPrintPreview = nullptr, *ActionDiagramPrint = nullptr, *ActionDiagramSaveToFile = nullptr;
    // The report pages' pop-up: copy, and the report in a window of its own.
    QAction *menuCopyToClipboard = nullptr, *dosamostatnhookna1 = nullptr;
    // Users and the database (administrator menu).
    QAction *aLogInNewUser = nullptr, *aOdhlasenieUzivatela = nullptr, *aDBBackup = nullptr, *aDBRestore = nullptr,
            *aZoznamUzivatelov = nullptr, *aPrave_prihlaseni_uzivatelia = nullptr, *aEvidenciaPrihlasovania = nullptr,
            *aHistory = nullptr;
    // Validation and the sources' menu items.
    QAction *Action_ValidacnyProtokolOrvek = nullptr, *ActionStartValidation = nullptr, *Action_S2 = nullptr,
            *Action_S3 = nullptr, *Action_S4 = nullptr, *Action_S5_1 = nullptr, *Action_S5_2 = nullptr,
            *Action_S6 = nullptr, *Action_S7 = nullptr, *Action_PSV = nullptr,
            *ActionImportDataForRegulationDiagram_Ag = nullptr, *ActionImportDataForRegulationDiagram_Au = nullptr;
    // Help, links, languages and the service login's menu.
    QAction *ActionHelpContents = nullptr, *ActionHelpGlossary = nullptr, *ActionBrantel_HomePage = nullptr,
            *ActionKestravaTechnicalSupport = nullptr, *ActionAboutProgram = nullptr;
    QAction *ActionLanguageEnglish = nullptr, *ActionLanguageSlovak = nullptr;
    QAction *ActionMergeOldTreeDB = nullptr, *ActionMergeOldTemplateDB = nullptr;

    // ---- State.
    bool FFirstActivation = true;
    bool FShortReportStale = true, FFormulaPageStale = true;
    TCell* FPopupCell = nullptr;
    bool FClosing = false;
    bool FSessionOpen = false;
    bool FSummaryShownFlag = false;
    QString FTitleText;
    QString FDiagramFileName;
    bool FShowDeleted = false;
    int FRecordsOfUserID = 0;
    TMainZoom Zoom;
    // Titles and filters of the window's file dialogs in the current language.
    TMainDialogTexts DialogTexts;
    TRecordGridColumns GridColumns;
    // Per grid position the sort direction and case flag of its descriptor.
    QVector<int> SortDirections, SortCaseFlags;
    // The window counts as the active window for the timer (tests replace the probe).
    std::function<bool()> ActiveWindowProbe;

    TMainDocument& Document() { return *document_; }
    TMainTick& Tick() { return *tick_; }
    // The record access the cell tool should write its history rows through, so that
    // the timer does not write a second row for the same change.
    TMainChangeHistory& ChangeHistory() { return *changeHistory_; }

    // Filled by the tool and report handlers: the cell-box settings dialog the timer
    // opens on CellPropertiesRequest, the export of the tree to a model file, and the rebuild of the shown report page
    // after the tree changed (the hidden pages are only marked stale).
    std::function<void()> ShowCellPropertiesHandler;
    std::function<void()> RebuildShownReportPage;
    std::function<void()> ExportTreeToFileHandler;

    // ---- Life cycle (main_window.cpp).
    void FormCreate();
    void FormActivate();
    // True when the window may close.
    bool FormClose();
    void FormDestroy();
    void ApplyEquationWordWrap();
    void ShowGridColumns();
    // The widths of the folder-tree and record-list panels from WindowSizeOrvek1.
    void RestorePanelWidths();
    void StoreLayout();
    void UpdateActions(int mode) override;

    // ---- Texts (main_window_texts.cpp).
    void ApplyTextsOrvek1();
    void RefreshTexts();
    void SetGridColumnTitles();
    void BuildSortFlags();
    void BindShortReportButtons();
    void UpdateCaptionZoom();
    void SyncZoomControls();

    // ---- Timer (main_window_timer.cpp).
    void Timer1Timer();
    void RunDisplayRequest(TDisplayRequest request);
    void RelayoutToZoom();
    void RefreshSummary();
    void ZoomIn();
    void ZoomOut();
    void ClearCellCommands();

    // ---- Undo (main_window_undo.cpp).
    void UndoStep();
    void RedoStep();
    void UpdateUndoActions();
    void Step(bool redo);
    // Reads record ID into the diagram; False with the reader's reason when it did not
    // load whole.
    bool LoadShownRecord(int id, QString* reason, QString* treeText = nullptr);
    // The window's part of clearing the diagram: "0/0", the diagram hidden, the report
    // and equation pages emptied, the view state restored.
    void ShowNoDiagram();

    // ---- Actions defined with the report, tool and language handlers.
    void ConnectToolActions();
    void ConnectReportActions();
    void ConnectLanguageActions();
    // The weighing imports (main_window_import.cpp).
    void ConnectImportActions();

    // ---- Tool, report and language handlers (main_window_actions.cpp,
    // main_window_reports.cpp, main_window_language.cpp).
    TReportOutput* ReportOutput = nullptr;
    void ClearCellCommandsInWindows();
    void PopupMenu1Popup();
    void RunCellCommand();
    void PressHighlightAction(quint8 pressed);
    void ActionEditovatObsahBunkyExecute();
    void ShowCellProperties();
    void ExportDiagramToFile();
    void ActionProgramoveStringyExecute();
    void SetDerivativeMode(int mode);
    void ServiceQueryOpen(bool open);
    void MergeOldDatabase(bool records);
    QList<TReportHeadLine> RecordReportHead(bool full);
    void RunReportOutput(int kind, int mode, QAction* action);
    void RebuildReportPage();
    // The page control's change: a stale report or formula page chosen is rebuilt.
    void PageControl1Change();
    void SummaryOfQuantities();
    void ToggleSummaryWindow();
    void SwitchToEnglish();
    void SwitchToSlovak();
    void SyncLanguageItems();

    // ---- MainWindowService (main_window_service.cpp).
    void RestoreAndActivate() override;
    bool StopMainTimer() override;
    void RestoreMainTimer(bool running) override;
    bool SaveRecordDiagram() override;
    void ResetUndo() override;
    void PushUndoSnapshot() override;
    void RefreshEquationsPage() override;
    void RefreshReportPages() override;
    void RestoreViewState() override;
    void ExportTreeToFile() override;
    void ClearDiagram() override;
    void RequestRecordReload() override;
    TCell* FRootCell() override;
    void SetRootCell(TCell* root) override;
    TDiagramHost* DiagramHost() override;
    bool FModified() override;
    void SetModified(bool modified) override;
    bool FLoadedFromTemplate() override;
    void SetLoadedFromTemplate(bool loaded) override;
    int FLastRecNo() override;
    void SetLastRecNo(int row) override;
    bool FSummaryShown() override { return FSummaryShownFlag; }
    void ActionSuhrnVelicinExecute() override;
    void ActionShowHideSummaryWindowExecute() override;
    void ApplyFolderGroupsSetting() override;
    bool CreateUndoTable() override;
    void DropUndoTable() override;
    void ShowServicePage(bool shown) override;
    void SetStatusBarTexts(const QStringList& texts) override;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class TickHost;
    void StartTimerLoop(std::function<quint32()> clock);
    void CreateMenus();
    void SetToolPictures();
    void CreatePages();
    void CreateRecordPanel();
    void OpenUserSession();
    void CloseUserSession();
    void ShowStatusBar();
    void QueueFirstActivation();
    void CloseSplash();

    std::unique_ptr<TMainDocument> document_;
    std::unique_ptr<TMainTickHost> tickHost_;
    std::unique_ptr<TMainTick> tick_;
    std::unique_ptr<DataModuleCellRecord> recordAccess_;
    std::unique_ptr<TMainChangeHistory> changeHistory_;
    bool firstActivationQueued_ = false;
};

// The program's single main window while it exists.
inline TfOrvek1* fOrvek1 = nullptr;

} // namespace orvek
