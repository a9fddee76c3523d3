#pragma once
// The chart windows of the source dialog: the individual-values window (method 11,
// X chart and moving ranges) and the subgroup window (method 12, X-bar chart and
// ranges). Both are large working windows over a copy of the source record and of the
// dialog's point table: the user edits the points, picks the evaluated range and the
// chart's parameters, looks at the chart, the statistics and the intermediate results,
// writes a comment, copies all of it to the clipboard and hands it back with OK.
//
// They work on the shared chart state (ChartData) as the dialog's pages do; the base
// class holds what both windows share, the subclasses what differs.

#include "engine/cell_records.h"
#include "sources/ui/source_dialog_chart_detail.h"

#include <QDialog>
#include <QString>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolButton;
class QWidget;

namespace orvek {

class TChart;
class TF1Book;
class TRichEdit98;
struct TChartPlotOptions;

// The comment of the last window closed with OK, as RTF; cleared when a window loads.
inline QString IndividualsDetailComment;
inline QString SubgroupDetailComment;
// The points (from 1) of the individuals window's evaluated range, set by every
// recomputation.
inline int IndividualsRangeFirst = 0;
inline int IndividualsRangeLast = 0;

class TChartDetailForm : public QDialog, public TChartDetailWindow {
    Q_OBJECT
public:
    ~TChartDetailForm() override;

    // The dialog's side.
    void Prepare(
        const TVstupStandardnejNeistoty& Input, const TChartDetailSettings& Settings, const TF1Book& Table) override;
    void Compute() override;
    bool Execute() override;
    TVstupStandardnejNeistoty Input() const override { return FInput; }
    TChartDetailSettings Settings() const override;
    TF1Book& Table() override { return *Grid; }
    // The dialog's method text, named by the single-value message.
    void SetMethodText(const QString& Text) { methodText_ = Text; }

    int Method() const { return method_; }

    // Operations.
    virtual void RefreshTexts();
    void LoadFromSourceGrid(const TF1Book& SourceGrid);
    bool ValidateGrid();
    // The table into FInput's lists and the chart state; the number of points.
    virtual int ReadGrid() = 0;
    void Recompute();
    bool ComputeChart();
    bool ComputeFromGrid();
    bool CommitAndCompute();
    virtual void RecomputeAndDraw() = 0;
    void DrawChart();
    void ShowStatistics();
    virtual void ShowIntermediateResults() = 0;
    virtual void ApplyParameterMode() = 0;
    void RefreshNumberMask();

    // Handlers, public so that tests can drive them as the controls do.
    void Timer1Timer();
    void Timer2Timer();
    void SpeedButton_NovyRozsahClick();
    void SpeedButton_CelyRozsahClick();
    virtual void SpeedButton_PrepocitatClick();
    virtual void ComboBox_TypDiagramu_X_RChange() = 0;
    virtual void ComboBox_Standardna_neisota_sa_rovnaChange();
    void Edit_N_pre_priemerChange();
    void RegulacneParametreClick(bool Given);
    void CheckBox_ShowDateMeasurementClick();
    void CheckBox_DeleniePodlaDatumuClick();
    void SpeedButton_Hide_ShowClick();
    void SpeedButton_CopyFromTableClick();
    void SpeedButton_CutFromTableClick();
    void SpeedButton_PasteToTableClick();
    void SpeedButton_CopyGraphClick();
    void SpeedButton_CopyStatistikaClick();
    void Button_FullReportToClipboardClick();
    void SpeedButton_HelpClick();
    void Panel_ShowErrorStatisticsClick();
    void Button_OKClick();

    // Window state.
    bool FGridEdited = false;
    bool FBlinkOn = false;
    TVstupStandardnejNeistoty FInput;
    bool FModified = false;

    // Controls (object names carry the window's suffix where the two windows differ:
    // Table_7, RichEdit_RD_Statistika_7, RegulacnyDiagram_7 and the _8 twins).
    QSplitter* Splitter1 = nullptr;
    TF1Book* Grid = nullptr;
    QToolButton* SpeedButton_Hide_Show = nullptr;
    QToolButton* SpeedButton_CopyFromTable = nullptr;
    QToolButton* SpeedButton_PasteToTable = nullptr;
    QToolButton* SpeedButton_CutFromTable = nullptr;
    QToolButton* SpeedButton_NovyRozsah = nullptr;
    QToolButton* SpeedButton_CelyRozsah = nullptr;
    QToolButton* SpeedButton_Prepocitat = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    TRichEdit98* RichEdit_RD_Statistika = nullptr;
    TRichEdit98* RichEdit_SDi_Ri = nullptr;
    TRichEdit98* RichEdit_PopisBunky = nullptr;
    QToolButton* SpeedButton_CopyStatistika = nullptr;
    QToolButton* SpeedButton_Help = nullptr;
    QLabel* Label48 = nullptr;
    QComboBox* ComboBox_Standardna_neisota_sa_rovna = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox_TypDiagramu_X_R = nullptr;
    QCheckBox* CheckBox_ShowDateMeasurement = nullptr;
    QCheckBox* CheckBox_DeleniePodlaDatumu = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QRadioButton* RadioButton_RegulacneParametre_Zadane = nullptr;
    QRadioButton* RadioButton_RegulacneParametre_Pocitane = nullptr;
    QGroupBox* GroupBox_Parametre_Zadane = nullptr;
    QLabel* Label33 = nullptr;
    QLineEdit* Edit_CentralnaLinia_X = nullptr;
    QLabel* Label39 = nullptr;
    QLineEdit* Edit_StandardnaOdchylka = nullptr;
    QGroupBox* GroupBox_Priemer_N = nullptr;
    QLineEdit* Edit_N_pre_priemer = nullptr;
    TChart* RegulacnyDiagram = nullptr;
    QToolButton* SpeedButton_CopyGraph = nullptr;
    QPushButton* Panel_ShowErrorStatistics = nullptr;
    QCheckBox* cbAutoShowErrors = nullptr;
    QPushButton* Button_FullReportToClipboard = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Cancel = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

protected:
    // Method 11 or 12; Suffix "_7" or "_8" for the object names.
    TChartDetailForm(int Method, const char* Suffix, QWidget* Parent);
    // The subclass's own group in the parameter panel, below the parameter groups.
    void AddMethodGroup(QGroupBox* Group);

    bool Individuals() const { return method_ == 11; }
    // The record's fields of this window's method.
    int& UR() { return Individuals() ? FInput.UR_7 : FInput.UR_8; }
    int& R_OD() { return Individuals() ? FInput.R_OD_7 : FInput.R_OD_8; }
    int& R_DO() { return Individuals() ? FInput.R_DO_7 : FInput.R_DO_8; }
    int& RPSS() { return Individuals() ? FInput.RPSS_7 : FInput.RPSS_8; }
    int& OV() { return Individuals() ? FInput.OV_7 : FInput.OV_8; }
    int& NPP() { return Individuals() ? FInput.NPP_7 : FInput.NPP_8; }
    quint8& ZDM() { return Individuals() ? FInput.ZDM_7 : FInput.ZDM_8; }
    quint8& DPD() { return Individuals() ? FInput.DPD_7 : FInput.DPD_8; }
    quint8& DD() { return Individuals() ? FInput.DD_7 : FInput.DD_8; }
    QString& DetailComment() { return Individuals() ? IndividualsDetailComment : SubgroupDetailComment; }
    // The record's date format of the point dates, or the short date format.
    QString PointDateFormat() const;

    // What the subclasses add to the shared steps.
    virtual void ShowSettings(const TChartDetailSettings& Settings) = 0;
    virtual void ReadSettings(TChartDetailSettings& Settings) const = 0;
    // The value columns the window's table has, taken from the source table.
    virtual int ValueColumns(const TF1Book& SourceGrid) const = 0;
    // The points (from 1) of the evaluated range: R_OD..R_DO when a sub-range is in use,
    // else every point, always within the points read (a whole range stores 99999).
    void EvaluatedRange(int& First, int& Last) const;
    // The rows of the evaluated sub-range carry the aqua fill, no other row does.
    void ShowEvaluatedRows();
    // The points or subgroups of the evaluated range must be numbers (and subgroups of
    // at least two values); False after telling the user.
    bool CheckEvaluatedRange();
    // The drawing options of the window's chart.
    virtual void DrawOptions(TChartPlotOptions& Options) const = 0;
    // The value axis format after a drawing.
    virtual void AfterDraw() { }
    // The out-of-control panel is shown when a violated rule is found.
    virtual bool ShowsPanelAlways() const = 0;
    // The caret of the statistics page after filling it.
    virtual int StatisticsCaret() const = 0;
    // A value cell's edit ended with Text (already normalised).
    virtual void ValueEdited(const QString& Text) = 0;
    // The estimate or limit-method group's visibility after a change of parameters.
    void ShowParameterGroups(QGroupBox* MethodGroup, bool MethodGroupShown);
    void HideErrorPanel();
    void SetValueAxisFormat();
    // Every value cell (rows 1..MaxRow, columns 3..MaxCol) in the number mask.
    void FormatAllValues();
    // Renders a mark-up text into a page; Caret is the position after it.
    void ShowMarkup(TRichEdit98& Box, const QString& Markup, int Caret);
    // Shows a message of the table and selects the cell at fault.
    void RefuseCell(const QString& Message, int Row, int Col);

    // Cancel and the close box ask before changes are dropped; every close stops the
    // timers and hides the out-of-control panel.
    void done(int Result) override;
    void showEvent(class QShowEvent* event) override;

    // Set while the dialog loads the window: the controls' change handlers stay quiet.
    bool loading_ = false;
    // Set when the last computation refused a cell and selected it.
    bool cellRefused_ = false;
    // Why the last ComputeChart gave no result, as the chart statistics say it.
    QString computeReason_;
    // The shared chart state is the result of the last computation, which succeeded:
    // only then is it drawn, so that a failed computation leaves the previous drawing
    // instead of new points under old limits.
    bool chartCurrent_ = false;
    // The dialog's edit level; at 0 OK is never offered.
    int editLevel_ = 2;

private:
    void BuildLayout(const char* Suffix);
    void Connect();
    void Table_EndEdit(QString& Text, bool& Cancel);
    void StopTimers();
    // The out-of-control panel red with white text, or in the button colours.
    void ShowPanelPhase(bool Red);
    QWidget* methodPanel_ = nullptr;
    QWidget* leftPanel_ = nullptr;
    QHBoxLayout* tableTools_ = nullptr;

    int method_;
    QString methodText_;
};

class TfRegulacnyDiagramDetail_7 : public TChartDetailForm {
    Q_OBJECT
public:
    explicit TfRegulacnyDiagramDetail_7(QWidget* Parent = nullptr);

    void RefreshTexts() override;
    int ReadGrid() override;
    void RecomputeAndDraw() override;
    void ShowIntermediateResults() override;
    void ApplyParameterMode() override;
    void UpdateEstimateGroup();

    void ComboBox_TypDiagramu_X_RChange() override;
    void ComboBox_Standardna_neisota_sa_rovnaChange() override;
    void EstimateClick(int Choice);

    QGroupBox* GroupBox_OdhadStandardnejOdchylky_7 = nullptr;
    QRadioButton* RadioButton_s_0_8869xMR = nullptr;
    QRadioButton* RadioButton_s_svyp_div_C4 = nullptr;
    QRadioButton* RadioButton_s_svyp = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;

protected:
    void ShowSettings(const TChartDetailSettings& Settings) override;
    void ReadSettings(TChartDetailSettings& Settings) const override;
    int ValueColumns(const TF1Book&) const override { return 1; }
    void DrawOptions(TChartPlotOptions& Options) const override;
    bool ShowsPanelAlways() const override { return false; }
    int StatisticsCaret() const override { return 0; }
    void ValueEdited(const QString& Text) override;
};

class TfRegulacnyDiagramDetail_8 : public TChartDetailForm {
    Q_OBJECT
public:
    explicit TfRegulacnyDiagramDetail_8(QWidget* Parent = nullptr);

    void RefreshTexts() override;
    int ReadGrid() override;
    void RecomputeAndDraw() override;
    void ShowIntermediateResults() override;
    void ApplyParameterMode() override;

    void SpeedButton_PrepocitatClick() override;
    void ComboBox_TypDiagramu_X_RChange() override;
    void LimitMethodClick(int Choice);

    QGroupBox* GroupBox_Vypocet_UCL_LCL = nullptr;
    QLabel* Label_UCL_LCL = nullptr;
    QToolButton* SpeedButton_A2xR = nullptr;
    QToolButton* SpeedButton_A3xs = nullptr;
    QToolButton* SpeedButton_3xs = nullptr;

protected:
    void ShowSettings(const TChartDetailSettings& Settings) override;
    void ReadSettings(TChartDetailSettings& Settings) const override;
    int ValueColumns(const TF1Book& SourceGrid) const override;
    void DrawOptions(TChartPlotOptions& Options) const override;
    void AfterDraw() override;
    bool ShowsPanelAlways() const override { return true; }
    int StatisticsCaret() const override { return 1; }
    void ValueEdited(const QString& Text) override;
};

// The window of Method (11 or 12); null for any other method. The program installs it
// as the source dialog's ChartDetailFactory.
std::unique_ptr<TChartDetailWindow> MakeChartDetailWindow(int Method, QWidget* Parent);

} // namespace orvek
