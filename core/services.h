#pragma once
// Interfaces through which lower libraries call on the windows of higher ones. The
// program installs the real implementations at start-up; tests install doubles.

#include <QString>
#include <QtGlobal>

namespace orvek {

class TCell;
struct TVstupStandardnejNeistoty;

// The main window as the process frame sees it.
class MainWindowService {
public:
    virtual ~MainWindowService() = default;
    // Another start of the program asked this one to come to the front: restore the
    // application's window and activate it.
    virtual void RestoreAndActivate() = 0;
};

MainWindowService* MainWindow();
void SetMainWindowService(MainWindowService* service);

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

// The list of quantities and units (TfListOfVariablesUnits): a catalogue of quantity
// names with their units, both as mark-up.
class QuantityListService {
public:
    virtual ~QuantityListService() = default;
    // Opens the list for picking, with its Cancel button. True after OK, with the chosen
    // quantity name and its unit (empty when the quantity has none).
    virtual bool PickQuantity(QString& quantityName, QString& unit) = 0;
};

// Null until the list exists: the dialogs' pick-from-list buttons are then disabled.
QuantityListService* QuantityUnitList();
void SetQuantityListService(QuantityListService* service);

} // namespace orvek
