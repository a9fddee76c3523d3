#pragma once
// The template database window (fOrvekDB): a folder tree of the current group of
// folders, the list of the templates filed there, and the shown template's diagram with
// its report pages and equations. The window owns one template document (the tree of
// cells and its undo history), one template list and one timer loop; the rules of
// loading, storing, listing and the tick live in those logic classes and the window
// forwards to them.
//
// The code is split by concern: template_window.cpp builds the window and runs its life
// cycle and UpdateActions; template_window_language.cpp its texts;
// template_window_timer.cpp the tick, the display requests and the zoom;
// template_window_undo.cpp the undo history; template_window_actions.cpp the diagram
// and help commands; template_window_list.cpp the list, the search, the folders and the
// groups of folders; template_pick.cpp the preparation of a pick.

#include "database/template_layout.h"
#include "database/template_tick.h"
#include "database/template_zoom.h"

#include <QDate>
#include <QDialog>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTextEdit;
class QTimer;
class QToolBar;
class QToolButton;
class QTableView;
class QSqlDatabase;

namespace orvek {

class FolderTableCursor;
class QueryRowsModel;
class TCell;
class TDBNavigator;
class TDBTreeView;
class TDiagramView;
class TPreviewPrinter;
class TTemplateDocument;
class TTemplateList;
class TTemplateListModel;
class TVxDBGrid;

// Modal results of the window, as the caller reads them.
inline constexpr int kTemplateWindowOk = 1;
inline constexpr int kTemplateWindowCancel = 2;

struct TTemplateTarget;
class TReportOutput;

// What a report output of the window gives out.
enum class TReportKind { Full, Short, Diagram };

class TfOrvekDB : public QDialog {
    Q_OBJECT
public:
    explicit TfOrvekDB(QWidget* parent = nullptr);
    ~TfOrvekDB() override;

    // ---- Controls, named as the rest of the program names them.
    QMenuBar* MainMenu = nullptr;
    QMenu *MenuFile = nullptr, *MenuNastroje = nullptr, *menuTemplate = nullptr, *menuAdministrator = nullptr,
          *MenuZobrazenie = nullptr, *menuValidacia = nullptr, *MenuPomocnik = nullptr, *menuService = nullptr;
    QMenu *menuSaveToFile = nullptr, *menuPrintPreview = nullptr, *menuPrint = nullptr, *menuCopy = nullptr,
          *MenuZoom = nullptr, *MenuZoom2 = nullptr, *menuValidation_in_Orvek2000 = nullptr;
    QMenu *PopupMenu1 = nullptr, *PopupMenu2 = nullptr, *PopupMenu_DBTemplate = nullptr, *PopupMenu3 = nullptr;
    QToolBar *ToolBar1 = nullptr, *ToolBar2 = nullptr;
    QToolButton *ToolButton_Copy = nullptr, *ToolButton_SaveToFile = nullptr, *ToolButton_PrintPreview = nullptr,
                *ToolButton_Print = nullptr;
    QComboBox* ComboBox_Zoom = nullptr;
    QSplitter* Splitter_Panels = nullptr;
    QWidget *Panel_TemplateTree = nullptr, *Panel_TemplateDB = nullptr, *Panel_Stromy = nullptr,
            *Panel_Equation = nullptr, *Panel_Group_of_Folders = nullptr;
    QComboBox* ComboBox_MainID = nullptr;
    TDBTreeView* DBTemplateView = nullptr;
    TVxDBGrid* DBGrid_Template = nullptr;
    QLabel* Panel_Template_RecNo = nullptr;
    TDBNavigator* DBNavigator_Template = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget *TabSheet_Struktura = nullptr, *TabSheet_Poznamky = nullptr, *TabSheet_VzorecPreNeistotu = nullptr,
            *TabSheet_Service = nullptr;
    TDiagramView* ScrollBox_Template = nullptr;
    QTextEdit *RichEdit_ShortReport_Template = nullptr, *RichEdit981 = nullptr, *RichEdit_Rovnice_Template = nullptr;
    QLabel* Label_Rovnice = nullptr;
    QCheckBox* CheckBox_ZalomitText = nullptr;
    QTableView* DBGrid_Service = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanels[4] = {};
    QTimer* Timer1 = nullptr;
    TPreviewPrinter* PreviewPrinter1 = nullptr;
    // The folder table of the shown group (TemplateID<g>) and its tree.
    FolderTableCursor* IDTable_Template = nullptr;

    // ---- Actions.
    QAction *ActionNewRecFromNewTree = nullptr, *ActionNewRecFromFileTree = nullptr,
            *ActionUrobitKopiuZaznamu = nullptr, *ActionUndo = nullptr, *ActionRedo = nullptr,
            *ActionVyberPreReport = nullptr, *ActionZobrazitVlastnostiBuniek = nullptr, *ActionHelpContents = nullptr,
            *ActionHelpGlossary = nullptr;
    QAction *ActionZvyraznitLenNenaplnene = nullptr, *ActionZvyraznitLenExpirovane = nullptr,
            *ActionShowMaxUncertainty = nullptr, *ActionStromRozbalit = nullptr, *ActionStromZvacsit = nullptr,
            *ActionStromZmensit = nullptr;
    QAction *ActionEditovatObsahBunky = nullptr, *ActionPozrietBunku = nullptr, *ActionNeistotaNova = nullptr,
            *ActionNeistotaVymazat = nullptr, *ActionNeistotaAnoNie = nullptr, *ActionRovnicaNaVelicinu = nullptr,
            *ActionRovnicaNaInuRovnicuNovu = nullptr, *ActionVelicinaNaRovnicuNovu = nullptr,
            *ActionSuhrnVelicin = nullptr, *ActionShowHideSummaryWindow = nullptr;
    QAction *ActionShowAllTemplates = nullptr, *ActionSearchTemplates = nullptr, *ActionShowUnassigned = nullptr,
            *ActionShowDeleted = nullptr;
    QAction *ActionExportTreeToFileAs = nullptr, *ActionShortReportSaveToFile = nullptr,
            *ActionFullReportSaveToFile = nullptr, *ActionTemplateSaveAs = nullptr,
            *ActionShortReportPrintPreview = nullptr, *ActionReportPrintPreview = nullptr,
            *ActionTemplatePrintPreview = nullptr, *ActionShortReportPrint = nullptr, *ActionReportPrint = nullptr,
            *ActionTemplatePrint = nullptr, *ActionCopyShortReport = nullptr, *ActionCopyFullReport = nullptr,
            *ActionCopyTemplate = nullptr;
    QAction *ActionCloseWindowandAddTemplateToDB = nullptr, *MenuExit = nullptr;
    QAction *ActionSelectAllRecords = nullptr, *ActionUnSelectAllRecords = nullptr,
            *ActionMoveSelectedRecordTo = nullptr, *ActionEnableDisableMultiselection = nullptr;
    QAction *ActionRenameFolder = nullptr, *ActionDeleteFolder = nullptr, *ActionInsertNewFolder = nullptr,
            *ActionInsertNewSub_folder = nullptr, *ActionCollapseFolderStructure = nullptr,
            *ActionExpandFolderStructure = nullptr;
    QAction *ActionNewGroupOfFolders = nullptr, *ActionDeleteGroupOfFolders = nullptr,
            *ActionRenameGroupOfFolders = nullptr;
    QAction *ActionDeleteRecord = nullptr, *ActionEditRecord = nullptr, *ActionShowHistory = nullptr;
    QAction *ActionZoom_50 = nullptr, *ActionZoom_85 = nullptr, *ActionZoom_100 = nullptr, *ActionZoom_150 = nullptr,
            *ActionZoom_200 = nullptr;
    QAction *ActionKestravaTechnicalSupport = nullptr, *ActionBrantel_HomePage = nullptr, *ActionAboutProgram = nullptr;
    QAction *Action_S2 = nullptr, *Action_S3 = nullptr, *Action_S4 = nullptr, *Action_S5_1 = nullptr,
            *Action_S5_2 = nullptr, *Action_S6 = nullptr, *Action_S7 = nullptr, *Action_PSV = nullptr;
    // Items of the diagram's pop-up menu.
    QAction *Editovaobsahbunky2 = nullptr, *RovnicuZmenitNaVelicinu = nullptr, *RovnicuZmenitNaNovuRovnicu = nullptr,
            *VelicinuZmenitNaNovuRovnicu = nullptr, *Vymazaoznaen1 = nullptr, *ZablokovaOdblokovaoznaen1 = nullptr,
            *PridatNovuNeistotuMainMenu = nullptr, *N1 = nullptr, *N4 = nullptr, *N10 = nullptr, *N12 = nullptr,
            *N32 = nullptr;

    // ---- State.
    QString FolderColumn = QStringLiteral("IDDB1");
    QString CurrentFolderID;
    int TemplateViewMode = 0;
    bool Closing = false;
    bool MultiSelectMode = false;
    bool SummaryShown = false;
    bool RelayoutPending = true;
    bool WindowReady = false;
    bool ShortReportStale = true, FormulaPageStale = true;
    bool SearchActive = false;
    // The search in force: the text as typed, where it stands and the searched column.
    QString SearchCondition;
    int SearchKind = 0;
    QString SearchField;
    QVector<int> SelectedIds;
    // Target of a diagram pop-up command.
    TCell* ClickedCell = nullptr;
    int TemplateCount = 0;
    int PickTemplateID = 0;
    QString CaptionBase;
    TTemplateGridDescriptors TemplateGridDescriptors;
    TTemplateZoom Zoom;

    TTemplateDocument& Document() { return *document_; }
    TTemplateList& List() { return *list_; }
    TTemplateTick& Tick() { return *tick_; }

    // ---- Life cycle and state (template_window.cpp).
    void FormCreate();
    void FormActivate();
    void FormDeactivate();
    // ModalResult 0 closes without a result: the tables stay open.
    void FormClose(int modalResult);
    void FormDestroy();
    void UpdateActions();
    void SaveAndResetUndo();
    void ClearDiagram();
    void LoadCurrentTemplate();
    void SetStatusText(int style, quint32 color, const QString& text);
    void PageControl1Change();

    // ---- Texts (template_window_language.cpp).
    void ApplyTextsOrvekDB();
    void RefreshTexts();

    // ---- Timer loop, display requests and zoom (template_window_timer.cpp).
    void Timer1Timer();
    void ZoomIn();
    void ZoomOut();
    void SyncZoomControls();
    void UpdateCaptionZoom();
    void ExpandWholeTree();
    void RunHighlight();
    void ApplyZoomPreset();

    // ---- Undo history (template_window_undo.cpp).
    void EmptyRedoUndo();
    void TempSaveChanges();
    void Undo();
    void Redo();
    void ActionUndoExecute() { Undo(); }
    void ActionRedoExecute() { Redo(); }
    void UpdateUndoActions();

    // ---- Diagram and help commands (template_window_actions.cpp).
    void ClearCellCommands();
    void RefreshEquationsPage();
    void ApplyEquationWrap();
    void ArmCellCommand(QAction* action, bool* command, bool toggleOnly);
    void ArmConversion(QAction* action, bool* command);
    void ActionEditovatObsahBunkyExecute();
    void ActionNeistotaNovaExecute();
    void ActionNeistotaVymazatExecute();
    void ActionNeistotaAnoNieExecute();
    void ActionRovnicaNaVelicinuExecute();
    void ActionRovnicaNaInuRovnicuNovuExecute();
    void ActionVelicinaNaRovnicuNovuExecute();
    // The diagram pop-up's items run their command at once on the cell under the mouse.
    void Editovaobsahbunky2Click();
    void RovnicuZmenitNaVelicinuClick();
    void RovnicuZmenitNaNovuRovnicuClick();
    void VelicinuZmenitNaNovuRovnicuClick();
    void PridatNovuNeistotuMainMenuClick();
    void Vymazaoznaen1Click();
    void ZablokovaOdblokovaoznaen1Click();
    // Display requests, served by the next ticks; the cell commands are disarmed first.
    void ActionStromRozbalitExecute();
    void ActionStromZvacsitExecute();
    void ActionStromZmensitExecute();
    void PopupMenu1Popup();
    void RunPopupCommand(bool* command);
    void ActionZvyraznitLenNenaplneneExecute();
    void ActionZvyraznitLenExpirovaneExecute();
    void ActionShowMaxUncertaintyExecute();
    void ActionZoomPresetExecute(int preset);
    void ComboBox_ZoomClick();
    void ActionShowHideSummaryWindowExecute();
    void MenuExitClick();
    void ServiceQueryRefresh();
    // Runs the armed command at once on ClickedCell (cleared), then disarms every command.
    void RunCellCommand();
    void ToggleExpiredHighlight() { ActionZvyraznitLenExpirovaneExecute(); }
    void ScrollBox_TemplateClick();
    void ScrollBox_TemplateMouseMove();
    void UncheckZoomActions();
    void CheckZoomAction(int preset);
    void PopupMenu3Popup();
    void menuCopyToClipboardClick();
    void dosamostatnhookna1Click();
    // The product's web page for the current language; the mail to the support address.
    void ActionBrantel_HomePageExecute();
    void ActionKestravaTechnicalSupportExecute();

    // ---- Service tools (template_window_service.cpp): model files to plain text and back.
    void SpeedButton5Click(bool down);
    void SpeedButton6Click();
    void LoadSTMfileandsavetodecrypted1Click();
    void Lo1Click();
    QAction *LoadSTMfileandsavetodecrypted1 = nullptr, *Lo1 = nullptr;

    // ---- Moving templates by dragging them onto a folder (template_window_moving.cpp).
    // Armed only while a user with rights 1 or 2 holds exactly Shift and Ctrl over the
    // grid or the folder tree; then the grid's rows and the tree's folders can be dragged.
    bool MovingEnabled = false;
    bool MoveKeysDown = false;
    bool GridMouseDown = false;
    // Cursor is in global coordinates; the edges of a control count as inside.
    bool IsMouseOverGrid(const QPoint& cursor) const;
    bool IsMouseOverFolderTree(const QPoint& cursor) const;
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers, const QPoint& cursor);
    void FormKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void SpeedButton_EnableMovingClick();
    void DBGrid_TemplateMouseDown(Qt::MouseButton button);
    void DBGrid_TemplateMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void DBGrid_TemplateMouseUp();
    bool DBTemplateViewDragOver(QObject* source, const QString& folderId) const;
    void DBTemplateViewDragDrop(QObject* source, const QString& folderId);

    // ---- List, search, folders and groups (template_window_list.cpp).
    void BuildTemplateQuery();
    void OpenFolderAndQuery(const QString& folderId);
    void RefreshGrid(int templateId);
    void LocateTemplate(int& templateId);
    void SelectFolderOfTemplate(int templateId);
    void RequeryTemplates();
    int CurrentRowID();
    // Rows of the list as the grid shows them, and the template ID of a row (0-based).
    int ListRowCount() const;
    int ListRowID(int row) const;
    int CurrentRow() const;
    void ShowRecordCounter();
    void CollectSelectedTemplateIds();
    void ActionSearchTemplatesExecute();
    void ActionShowAllTemplatesExecute();
    void ActionShowUnassignedExecute();
    void ActionShowDeletedExecute();
    void ActionEnableDisableMultiselectionExecute();
    void DBGrid_TemplateColumnMoved();
    void DBTemplateViewChange();
    void ActionInsertNewFolderExecute();
    void ActionInsertNewSub_folderExecute();
    void ActionRenameFolderExecute();
    void ActionDeleteFolderExecute();
    void ActionCollapseFolderStructureExecute();
    void ActionExpandFolderStructureExecute();
    void PrepareFolderGroups();
    void FillFolderGroupCombo(int groupId);
    void ComboBox_MainIDChange();
    void NewGroupOfFolders();
    void ActionNewGroupOfFoldersExecute() { NewGroupOfFolders(); }
    void ActionDeleteGroupOfFoldersExecute();
    void ActionRenameGroupOfFoldersExecute();
    void ApplyFolderGroupsSetting();
    // Binds the folder table and its tree to group GroupID's folders and opens it.
    void BindFolderTable(int groupId);
    // The column titles by field name, in the current language.
    void RefreshColumnTitles();

    // ---- The pick (template_pick.cpp).
    void PrepareTemplatePick(int templateId, const QString& text);
    // Prepares the pick of a validation example: the example's template of the current
    // group, imported from Folder + FileName on first use, becomes current. False when
    // there is none (folder or file missing, or a failed import that was shown).
    bool PrepareExamplePick(const QString& text, const QString& folder, const QString& fileName);
    // Called by the main window before it shows the window; nothing depends on it.
    void SetPickOption(bool flag);

    // ---- Commands on templates (template_window_commands.cpp).
    // Valid after the window closed with OK: the handed-over template and the head the
    // user typed for the new record; the tree is in the transfer file.
    int HandOverTemplateID = 0;
    QString HandOverTemplateName;
    QString HandOverRecordName;
    QString HandOverSampleID;
    QDate HandOverDate;
    void ActionCloseWindowandAddTemplateToDBExecute();
    void ActionNewRecFromNewTreeExecute();
    void ActionNewRecFromFileTreeExecute();
    void CopyTemplateAsNew();
    void ActionEditRecordExecute();
    void ActionDeleteRecordExecute();
    void ActionExportTreeToFileAsExecute();
    void ActionShowHistoryExecute();
    void SelectAllTemplates();
    void UnselectAllTemplates();
    void ActionMoveSelectedRecordToExecute();
    // Shows the validation example of the named action, importing its model file on
    // first use.
    void LoadValidationExample(const QString& action);
    void ActionZobrazitVlastnostiBuniekExecute();
    // The cell-properties and settings dialog; on OK the diagram is laid out (and
    // recalculated when the dialog asks) in the new settings.
    void ShowCellProperties();
    void ActionSuhrnVelicinExecute();
    void ActionVyberPreReportExecute();
    // The output of Kind by Mode (copy, print, preview, save) after the selection check.
    void RunReportOutput(TReportKind kind, int mode, const QString& caption);
    // The drop-down tool button of output Mode; it repeats the output last run in its mode.
    QToolButton* OutputButton(int mode) const;
    // Makes Action the one the tool button of Mode repeats.
    void RememberOutputAction(int mode, QAction* action);
    // Binds the four output buttons to the short report's outputs.
    void ShowShortReportButtons();
    // Builds the shown report page when the template changed since it was built.
    void RefreshReportPage();
    TReportOutput* ReportOutput() const { return reportOutput_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void done(int result) override;

private:
    // What the tick reads and does, on this window (template_window_timer.cpp).
    class TickHost;
    friend class TickHost;
    void StartTickLoop();
    void StopTickLoop();
    void LoadTemplate(int id);
    void StoreTreeChange();
    void RunDisplayRequest(TDisplayRequest request);

    static QSqlDatabase RecordsDatabase(QString* error = nullptr);
    // The grid shows the list's rows again (after the list was opened, sorted or closed).
    void ResetListModel();
    // Connects the help, web and about commands.
    void ConnectHelpActions();
    // True when the shown template may be changed; for a template in use it offers the
    // copy instead (text 636).
    bool MayChangeTemplate();
    void BuildActions();
    void BuildMenus();
    void BuildToolBars();
    void BuildPanels();
    void BuildGridColumns();
    void RestorePanelSizes();
    void StoreLayout();
    void RefreshSummary();
    void RelayoutToZoom();
    bool MayChangeFolders();
    QAction* MakeAction(const char* name, void (TfOrvekDB::*handler)() = nullptr);
    void ConnectTemplateCommands();
    // Connects the drag-moving of templates: the keys, the grid's mouse and the tree's drop.
    void ConnectMoving();
    // Connects the service page and the service menu's file tools.
    void ConnectServiceTools();
    // What every pick preparation ends with: the colours, page, focus and zoom, and the
    // current row to be loaded by the tick.
    void FinishPickPreparation();
    // Where a new template of this window goes: the shown folder, or "0" while all the
    // group's templates are listed.
    TTemplateTarget NewTemplateTarget() const;
    // Field (as the grid descriptors number them) of the template of the list's current
    // row.
    QVariant CurrentRowField(int field);
    // Lists the folder's templates again with TemplateID current; the tick loads it.
    void ShowTemplate(int templateId);

    std::unique_ptr<TTemplateDocument> document_;
    std::unique_ptr<TTemplateList> list_;
    TickHost* tickHost_ = nullptr; // StartTickLoop makes it, StopTickLoop frees it
    std::unique_ptr<TTemplateTick> tick_;
    TTemplateListModel* model_ = nullptr;
    QueryRowsModel* serviceModel_ = nullptr;
    TReportOutput* reportOutput_ = nullptr;
    bool closingByResult_ = false;
    // Above 0 while the window moves the folder table itself: no requery by the tree.
    int folderChangeGuard_ = 0;
    bool deactivated_ = true;
};

inline TfOrvekDB* fOrvekDB = nullptr;

} // namespace orvek
