#pragma once
// Interfaces through which lower libraries call on the windows of higher ones. The
// program installs the real implementations at start-up; tests install doubles.

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace orvek {

class TCell;
class TDiagramHost;
struct TVstupStandardnejNeistoty;

// The main window as the process frame and its record view see it.
class MainWindowService {
public:
    virtual ~MainWindowService() = default;
    // Another start of the program asked this one to come to the front: restore the
    // application's window and activate it.
    virtual void RestoreAndActivate() = 0;

    // The main timer: Stop answers whether it ran; Restore starts it again only when
    // Running says so. Record operations stop it while they work (see MainTimerPause).
    virtual bool StopMainTimer() = 0;
    virtual void RestoreMainTimer(bool running) = 0;
    // Stores the shown tree into the current record (freeing its lock); True on success.
    virtual bool SaveRecordDiagram() = 0;
    virtual void ResetUndo() = 0;
    virtual void PushUndoSnapshot() = 0;
    virtual void RefreshEquationsPage() = 0;
    // Rebuilds the shown report pages now and marks the hidden ones stale.
    virtual void RefreshReportPages() = 0;
    // The window's own edit level, outputs and zoom after the template window was used.
    virtual void RestoreViewState() = 0;
    // Mode 1: a record may be shown; 0: the grid became empty or the view closed.
    virtual void UpdateActions(int mode) = 0;
    virtual void ExportTreeToFile() = 0;
    // Frees the shown tree, empties the equations page and the record-number panel and
    // sets CurrentRecordID to 0.
    virtual void ClearDiagram() = 0;
    // The next tick leaves the shown record through its record-change path (lock
    // release, save question, load, fresh undo) even when the current row names it.
    virtual void RequestRecordReload() = 0;

    // The shown tree (null when no record is shown) and the host its boxes live on.
    virtual TCell* FRootCell() = 0;
    virtual void SetRootCell(TCell* root) = 0;
    virtual TDiagramHost* DiagramHost() = 0;
    // State of the shown record.
    virtual bool FModified() = 0;
    virtual void SetModified(bool modified) = 0;
    virtual bool FLoadedFromTemplate() = 0;
    virtual void SetLoadedFromTemplate(bool loaded) = 0;
    virtual int FLastRecNo() = 0;
    virtual void SetLastRecNo(int row) = 0;
    virtual bool FSummaryShown() = 0;
    // The summary of quantities, and the result-summary window switched on or off.
    virtual void ActionSuhrnVelicinExecute() = 0;
    virtual void ActionShowHideSummaryWindowExecute() = 0;

    // The setting MoreGroupsOfFolders changed: the window shows or hides its group choice.
    virtual void ApplyFolderGroupsSetting() = 0;

    // The session's undo table: created once when a user's session opens, dropped when
    // it closes. Create answers whether the table is ready.
    virtual bool CreateUndoTable() = 0;
    virtual void DropUndoTable() = 0;
    // The service page and the service menu, offered to the service user only.
    virtual void ShowServicePage(bool shown) = 0;
    // The four panels of the status bar, left to right.
    virtual void SetStatusBarTexts(const QStringList& texts) = 0;
};

MainWindowService* MainWindow();
void SetMainWindowService(MainWindowService* service);

// Stops the main window's timer for its lifetime and restores it afterwards, on every
// exit path. Without a main window it does nothing.
class MainTimerPause {
public:
    MainTimerPause()
        : window_(MainWindow())
        , running_(window_ && window_->StopMainTimer())
    {
    }
    ~MainTimerPause()
    {
        if (window_)
            window_->RestoreMainTimer(running_);
    }
    MainTimerPause(const MainTimerPause&) = delete;
    MainTimerPause& operator=(const MainTimerPause&) = delete;

private:
    MainWindowService* window_;
    bool running_;
};

// The shared batch-progress window (fMessageWindow) as file and database routines
// use it: a caption, a bar, an optional Cancel button whose press the loop polls.
class MessageWindowService {
public:
    virtual ~MessageWindowService() = default;
    // Sets the caption and whether Cancel is offered, and shows the window.
    virtual void ShowBatch(const QString& caption, bool showCancel) = 0;
    // Nothing when Min >= Max; otherwise shows or hides the bar, range Min..Max.
    virtual void SetupProgress(bool showBar, int min, int max) = 0;
    // Lets pending events run, moves the bar to Value (> 0) and returns True when
    // the user pressed Cancel.
    virtual bool StepProgress(int value) = 0;
    virtual void HideBatch() = 0;
};

MessageWindowService* MessageWindow();
void SetMessageWindowService(MessageWindowService* service);

// The help window: shows one page of the program's help.
class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void ShowHelpPage(const QString& path) = 0;
};

HelpService* HelpViewer();
void SetHelpService(HelpService* service);

// What a click or double click on a cell box runs: the armed cell tool and the cell
// dialogs of the main window.
class CellToolService {
public:
    virtual ~CellToolService() = default;
    // Runs the armed cell command on Cell. It never destroys a cell itself.
    virtual void ClickAction(TCell* cell) = 0;
    // The dialog of the cell's kind, read-only; changes nothing in the tree.
    virtual void ViewProperties(TCell* cell) = 0;
    // The dialog of the cell's kind for editing; on OK the data go back into the cell.
    virtual void EditProperties(TCell* cell) = 0;
};

CellToolService* CellTools();
void SetCellToolService(CellToolService* service);

// The lock of the shown record or template.
class RecordLockService {
public:
    virtual ~RecordLockService() = default;
    // True when this user may lock the current diagram; otherwise DiagramLockOwnerID
    // names the user who holds it.
    virtual bool CanLockItem() = 0;
    virtual QString GetUserFullName(int userID) = 0;
};

RecordLockService* RecordLocks();
void SetRecordLockService(RecordLockService* service);

// The tooltip of a cell box, built from the cell's values.
class CellHintService {
public:
    virtual ~CellHintService() = default;
    virtual QString HintText(const TCell& cell) = 0;
};

CellHintService* CellHints();
void SetCellHintService(CellHintService* service);

// The distribution column of the budgets for a cell: the text and its flag.
class DistributionTextService {
public:
    virtual ~DistributionTextService() = default;
    virtual void DistributionText(const TCell& cell, quint8& flag, QString& text) = 0;
};

DistributionTextService* DistributionTexts();
void SetDistributionTextService(DistributionTextService* service);

// Width in pixels of a text in the cell font, as the settings dialog measures it.
class TextWidthService {
public:
    virtual ~TextWidthService() = default;
    virtual int MeasureTextWidth(const QString& text) = 0;
};

TextWidthService* TextWidths();
void SetTextWidthService(TextWidthService* service);

// What describing a control-chart source yields.
struct ChartReport {
    // False when the chart gives no result; Reason then says why and Markup is empty.
    bool Computed = false;
    QString Reason;
    // The statistics, point and run-test tables as mark-up, in that order; the caller
    // writes the line ends before it.
    QString Markup;
};

// The control-chart statistics as the report texts use them. Each call works on a chart
// state of its own, so a report never disturbs a chart open in a window.
class ChartReportService {
public:
    virtual ~ChartReportService() = default;
    // Loads the chart lists of a method-11 or method-12 record, computes the chart with
    // the record's own chart type and its stored parameters, runs the run tests and
    // builds the tables. The results (s, relative s, degrees of freedom, centre line,
    // mean range and u) are written into Rec; pass a copy to leave a model unchanged.
    // QuantityValue is the value text of the quantity that owns the source (empty when
    // there is none), QuantityUnit its unit as mark-up, SignificantDigits those of the
    // displayed uncertainties.
    virtual ChartReport DescribeChart(TVstupStandardnejNeistoty& rec, const QString& quantityValue,
        const QString& quantityUnit, int significantDigits)
        = 0;
};

ChartReportService* ChartReports();
void SetChartReportService(ChartReportService* service);

// The result-summary window (TfSummaryDesc) as the database windows use it.
class ResultSummaryService {
public:
    virtual ~ResultSummaryService() = default;
    virtual bool IsVisible() = 0;
    virtual void Hide() = 0;
    // Makes the window stay on top of the program's windows and shows it.
    virtual void ShowStayOnTop() = 0;
    // Fills the window from Cell (its name as caption; symbol, quantity name and unit;
    // value, combined, relative and expanded uncertainty, degrees of freedom and
    // coverage factor) and shows it. A cell without values leaves the value fields empty.
    virtual void ShowCellSummary(TCell* cell) = 0;
};

// Null until the summary window exists: the summary actions are then disabled.
ResultSummaryService* ResultSummary();
void SetResultSummaryService(ResultSummaryService* service);

// The shared wait window (fWait) for work that runs on the GUI thread and takes long:
// a message, the percentage of WaitProgressPosition in WaitProgressTotal while
// WaitProgressActive is set, and Esc to ask the work to stop.
class WaitWindowService {
public:
    virtual ~WaitWindowService() = default;
    // Puts Message into the window, clears WaitCancelled, shows the window and paints
    // it at once.
    virtual void Show(const QString& message) = 0;
    // Sets the progress counters (Total > 0), WaitProgressActive, and lets pending
    // events run so that the window stays responsive.
    virtual void Progress(int position, int total) = 0;
    // Hides the window and clears WaitProgressActive.
    virtual void Hide() = 0;
    // True after the user pressed Esc in the window since it was shown.
    virtual bool Cancelled() = 0;
};

WaitWindowService* WaitWindow();
void SetWaitWindowService(WaitWindowService* service);

// What the equation-cell dialog gives back when it was shown for a new template: its
// fields as typed and, in grid order, the rows of its quantity grid.
struct TNewEquationDialogData {
    struct QuantityRow {
        QString Symbol; // column 0
        QString Unit; // column 1
        QString QuantityName; // column 2
        quint8 ValueType = 0; // the row's value type
    };
    QString CellName, CellComment, Symbol, QuantityName, UnitText;
    quint8 Coverage = 0;
    QString CoverageFactor, Equation, CorrelationMatrix;
    QList<QuantityRow> Rows;
};

// The equation-cell dialog (TfOrvek5) as the template window uses it for a new template.
class EquationDialogService {
public:
    virtual ~EquationDialogService() = default;
    // Shows the dialog reset for a new cell (no cell, first value type 0, new-cell mode)
    // with Caption, modally. True on OK, with Data filled from the dialog.
    virtual bool RunNewEquationDialog(const QString& caption, TNewEquationDialogData& data) = 0;
};

// Null until the cell dialogs exist: a new template from an equation is then disabled.
EquationDialogService* EquationDialog();
void SetEquationDialogService(EquationDialogService* service);

// The cell-properties and settings dialog (TfOrvekVlastnostiBunky).
class SettingsDialogService {
public:
    virtual ~SettingsDialogService() = default;
    // Shows the dialog modally; True on OK, when the settings were stored.
    virtual bool ShowSettingsDialog() = 0;
    // Read after OK: the changed settings require the model to be recalculated.
    virtual bool RecalculationNeeded() = 0;
};

// Null until the settings dialog exists: the cell-properties actions are then disabled.
SettingsDialogService* SettingsDialog();
void SetSettingsDialogService(SettingsDialogService* service);

// The summary of quantities (TfTableQuantites) over the shared QuantityList.
class QuantitySummaryService {
public:
    virtual ~QuantitySummaryService() = default;
    // Fills the grid from QuantityList with per-row locks by LockMode (0 every value
    // locked, 1 as each entry's lock says, 2 none).
    virtual void LoadQuantityTable(quint8 lockMode) = 0;
    // Shows the window modally; True on OK, with the edited value texts written back
    // into QuantityList.
    virtual bool ShowModal() = 0;
};

// Null until the summary window exists: the summary-of-quantities actions are then
// disabled.
QuantitySummaryService* QuantitySummary();
void SetQuantitySummaryService(QuantitySummaryService* service);

// The list of quantities and units (TfListOfVariablesUnits): a catalogue of quantity
// names with their units, both as mark-up.
class QuantityListService {
public:
    virtual ~QuantityListService() = default;
    // Opens the list for picking, with its Cancel button. True after OK, with the chosen
    // quantity name and its unit (empty when the quantity has none).
    virtual bool PickQuantity(QString& quantityName, QString& unit) = 0;
    // Opens the list for maintaining the catalogue, without its Cancel button.
    virtual void MaintainQuantityList() {}
};

// Null until the list exists: the dialogs' pick-from-list buttons are then disabled.
QuantityListService* QuantityUnitList();
void SetQuantityListService(QuantityListService* service);

} // namespace orvek
