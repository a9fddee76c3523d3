#pragma once
// TfOrvek6, the dialog that evaluates one uncertainty source. It edits a copy of the
// source's record: the caller (the cell tool) sets the data fields, calls
// LoadUncertaintyInput, shows the dialog modally and, after OK (result 1), reads the
// fields back. The dialog never changes the tree of cells itself.
//
// The dialog is split by concern: the pages' controls (source_pages_*.cpp), the frame,
// creation and edit level (source_dialog.cpp), the load (source_dialog_load.cpp), the
// computation, OK and Recalculate (source_dialog_compute.cpp), the input checks
// (source_dialog_checks.cpp), the control-chart pages (source_dialog_charts.cpp) and
// the texts, help, comment, validity and closing (source_dialog_texts.cpp).

#include "engine/cell_records.h"
#include "sources/source_checks.h"
#include "sources/ui/source_dialog_pages.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <Qt>
#include <functional>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStackedWidget;
class QStatusBar;
class QTableWidget;
class QTimer;
class QToolButton;
class QVBoxLayout;

namespace orvek {

class TCell;
class TDataGrid;
class TEditText98;
struct TChartPlot;
class TRichEdit98;

class TfOrvek6 : public QDialog {
    Q_OBJECT
public:
    explicit TfOrvek6(QWidget* parent = nullptr);
    ~TfOrvek6() override;

    // --- data the caller sets before LoadUncertaintyInput and reads after OK ---
    // The owner of the source: the parent of an existing source, or the quantity (or
    // group) a new source is added to.
    TCell* FOwnerCell = nullptr;
    // The source being edited; null for a new source. It does not count against itself
    // when OK checks that its method is allowed for the quantity.
    TCell* FSourceCell = nullptr;
    // Asked by OK with the chosen method while the dialog is open; false refuses it (the
    // asker shows why) and the dialog stays open. Unset: the owner quantity's own rule
    // with FSourceCell.
    std::function<bool(int method)> FAcceptMethod;
    quint8 FIsNewSource = 0;
    QString FCellName;
    quint8 FCellNameLock = 0;
    QString FComment;
    quint8 FCommentLock = 0;
    QString FUnit;
    TVstupStandardnejNeistoty FInput;
    bool FCommentChanged = false;
    bool FHandsMean = false;
    QString FMeanText;
    // True once this opening computed u (Recalculate or OK): without a computation the
    // owner's value and its transferred flag stay as they are.
    bool FComputed = false;

    // --- the dialog's own state ---
    TEditText98* FUnitBox = nullptr;
    bool FLoaded = false;
    bool FEditable = false;
    bool FOKAllowed = false;
    TCell* FParentCell = nullptr;
    long double FParentValue = 0;
    bool FParentIsEquation = false;
    quint8 FInputKind = 1, FSavedInputKind = 1;
    quint8 FMethodOnLoad = 0;
    QWidget* FChartSheet7 = nullptr;
    QWidget* FChartSheet8 = nullptr;
    bool FChartDataValid = false;
    bool FChartNeedsRecalc = false;
    bool FChartTableEdited = false;

    // --- controls ---
    QWidget* Panel_TypNeistoty = nullptr;
    QLabel *Label3 = nullptr, *Label4 = nullptr, *Label1 = nullptr, *Label8 = nullptr;
    QLineEdit* Edit_NazovBunky = nullptr;
    QComboBox* ComboBox_VstupStandardnejNeistoty = nullptr;
    QToolButton* Label_PlatnostDo = nullptr;
    QLineEdit* Edit_BezObmedzenia = nullptr;
    QDateEdit* Edit_ExpirationDate = nullptr;
    QStackedWidget* PageControl1 = nullptr;
    QLineEdit* Edit_HodnotaNeistoty = nullptr;
    QWidget* Panel_JednotkaVeliciny = nullptr;
    QWidget* Panel_Popis = nullptr;
    TRichEdit98* RichEdit_PopisBunky = nullptr;
    QToolButton *SpeedButton_Editor = nullptr, *SpeedButton_CopyComment = nullptr, *SpeedButton_PasteComment = nullptr;
    QMenu* PopupMenuComment = nullptr;
    QAction *Fullwindow = nullptr, *WordWrap1 = nullptr;
    QWidget* Panel13 = nullptr;
    QCheckBox* CheckBox_Aktivita = nullptr;
    QPushButton *Button_Recalculate = nullptr, *Button_Cancel = nullptr, *Button_OK = nullptr, *Button_Help = nullptr;
    QTimer* Timer1 = nullptr;
    // At edit level 1, names the way to an editable copy when the record's template
    // fixes inputs; hidden otherwise.
    QStatusBar* TemplateLockStatus = nullptr;
    QLabel* TemplateLockText = nullptr;

    TSourcePage1 Page1;
    TSourcePage2 Page2;
    TSourcePage3 Page3;
    TSourcePage4 Page4;
    TSourcePage5 Page5;
    TSourcePage6 Page6;
    TSourcePage7 Page7;
    TSourcePage8 Page8;
    TSourcePage9 Page9;
    TSourcePage10 Page10;
    // Page 11: the typed grid DataGrid1, which the dialog neither fills nor reads; no
    // method selects the page.
    QWidget* TabSheet_11 = nullptr;
    TDataGrid* DataGrid1 = nullptr;
    TSourceChartShared ChartShared;

    // --- creation, record and pages ---
    void FormCreate();
    void FormDestroy();
    void RefreshTexts();
    void ClearInputs();
    void UnlockInputs();
    void LoadUncertaintyInput();
    void SetupChartGrid(TF1Book& Grid, int ValueColumns, int Rows);
    void ApplyEditLevel();
    void ColourInputs();

    // --- computation, OK, Recalculate ---
    void Button_OKClick();
    void Button_RecalculateClick();
    void FormKeyPress(int key);
    bool ComputeUncertainty(bool& Failed);
    bool CollectDegreesOfFreedom(bool& Failed);
    void InvalidateResult();
    bool IsPageActive(int Kind, int SubPage) const;
    bool ApplyDofOption1();
    bool ApplyDofOption2_1();
    bool ApplyDofOption2_2();
    bool ApplyDofOption2_3();
    bool ApplyDofOption2_4();
    bool ApplyDofOption2_5();
    bool ApplyDofOption2_6();
    bool CollectDofEstimate(bool& Failed);
    bool CollectDof2_1();
    bool CollectDof2_2();
    bool CollectDof2_3(bool& Failed);
    bool CollectDof2_4(bool& Failed);
    bool CollectDof2_5();
    bool CollectDof2_6();
    void ComputeTrapezoidUncertainty();

    // --- checks and the counts of valid readings ---
    bool CheckRequiredInputs(bool ShowMessages);
    bool CheckInputValues();
    int CountReadings3() const;
    int CountReadings4() const;
    int CountReadings6() const;
    int CountReadings9() const;
    int CountReadings10() const;

    // --- statistics of the reading pages; true when computed ---
    bool EvaluateSeriesMean();
    bool EvaluateKnownSigma();
    bool EvaluateRelativeSeries();
    bool EvaluateVariances();
    bool EvaluateWeightedPairs();

    // --- method, distribution and option lists, what own measurement IV and V hand on ---
    void ComboBox_VstupStandardnejNeistotyChange();
    void ComboBox_RozdelenieChange();
    void ComboBox_Rozdelenie_1Change();
    void RadioButton_Export_SD_6Click();
    void RadioButton_Export_RelSD_6Click();
    void RadioButton_Export_SD_9Click();
    void RadioButton_Export_RelSD_9Click();

    // --- control-chart pages ---
    void ArrangeChartPage();
    void ShowIndividualsParameters();
    void ShowSubgroupParameters();
    void DrawChart();
    void ComputeIndividualsPage();
    void ComputeSubgroupPage();
    void HideUnusedLimitButtons();

    // --- control-chart pages: point tables, options, compute, drawing, detail window ---
    QString FSavedNumberMask;
    int ReadIndividualsTable();
    int ReadSubgroupTable();
    void ApplyNumberFormatMask(TF1Book& Table);
    void Table_7EndEdit(QString& Text, bool& Cancel);
    void Table_8EndEdit(QString& Text, bool& Cancel);
    void Table_7KeyDown(int Key);
    void Table_8KeyDown(int Key);
    void Table_7Modified();
    void Table_8Modified();
    void Table_7StartEdit();
    void Table_8StartEdit();
    void ComboBox_Standardna_neisota_sa_rovnaChange();
    void Edit_N_pre_priemer_7Change();
    void Edit_N_pre_priemer_8Change();
    void RunIndividualsChart();
    void RunSubgroupChart();
    void BuildChartStatistics();
    void ChartPointPosition(int I, double& X, QString& Label) const;
    void SetIndividualsAxisLabels(const TChartPlot& Plot);
    void SetSubgroupAxisLabels(const TChartPlot& Plot);
    void OpenChartDetail();
    void TakeChartTable(TF1Book& Book);
    void SpeedButton_X_DiagramClick();
    void SpeedButton_R_DiagramClick();
    void ChartParametersClick(int Page, bool Given);
    void ChartEstimateClick(int Choice);
    void ChartLimitMethodClick(int Choice);
    void ChartParameterEditChange();
    void SpeedButton_Hide_ShowClick();
    void SpeedButton_CopyFromTableClick();
    void SpeedButton_PasteToTableClick();
    void SpeedButton_CopyStatistikaClick();
    void SpeedButton_CopyGraphClick();
    void CheckBox_ShowDateMeasurementClick(int Page);
    void CheckBox_DeleniePodlaDatumuClick(int Page);
    // The page (7 or 8) shown, 0 for any other.
    int ActiveChartPage() const;
    TF1Book* ActiveChartTable() const;
    void ConnectChartPages();
    void ReadChartTableForCheck();
    bool FArrangingChart = false;

    // --- texts, help, comment, validity, closing ---
    void ApplyTextsOrvek6();
    void ArrangeCommentPanel();
    void Button_HelpClick();
    void SpeedButton_EditorClick();
    void SpeedButton_CopyCommentClick();
    void SpeedButton_PasteCommentClick();
    void WordWrap1Click();
    void Label_PlatnostDoClick();
    void Edit_NazovBunkyChange();
    void RichEdit_PopisBunkyChange();
    void Edit_BezObmedzeniaChange();
    void Edit_ExpirationDateChange();
    void CheckBox_AktivitaClick();
    void Timer1Timer();
    void FormActivate();
    // False keeps the dialog open (the user declined to discard the changes).
    bool FormClose(int result);

    // --- edit levels, reading grids, pasted readings and the condition editor ---
    void PasteReadings(QTableWidget* Grid, const QString& Caption);
    void PasteReadingPairs(QTableWidget* Grid, const QString& Caption);
    void AppendReadingRow(QTableWidget* Grid);
    void ClearSeriesResults();
    // What editing a cell of the reading grid of page 3, 4, 6, 9 or 10 makes stale.
    void InvalidateReadingPage(int page);
    void CopyReadings(int page);
    // Enter and Delete in a reading grid; true when the key was used.
    bool ReadingGridKey(int page, int key, Qt::KeyboardModifiers modifiers);
    void SpeedButton_EditConditionsClick();
    void ConnectReadingGrids();
    QTableWidget* ReadingGrid(int page) const;
    // The paste of both routines; Pairs takes the chosen column and the one to its right.
    void PasteColumn(QTableWidget* Grid, const QString& Caption, bool Pairs);

    // The page of a method, and the method list's entry of a method.
    QWidget* PageOfMethod(int method) const;
    static int MethodListItem(int method);

    // 1 OK, 2 Cancel.
    void done(int result) override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct CheckedControls;
    CheckedControls PageSnapshot(TSourcePageSnapshot& snapshot) const;
    bool ApplyCheckResult(const TSourcePageSnapshot& snapshot, const CheckedControls& controls,
        const TCheckResult& result, bool showMessages);
    bool EvaluateSeriesPage();
    bool CheckTypedDof(QLineEdit* edit, TStringRec& field, bool& Failed);
    void ConnectLists();
    void ExportStandardDeviation(int page);
    void ExportRelativeDeviation(int page);

    void BuildFrame();
    void ConnectInputs();
    void ShowValidity(bool limited);
    void CopyPageToInput();
    void ShowSeriesResults();
    void ApplyLimitOption(int method);
    void LoadReadings(QTableWidget& grid, const QString& list, int count);
    void LoadPairs();
    void LoadChartPage(int method);
    void SetInfinitePanel(QLineEdit* dofEdit, QLabel* panel);
    void FocusOnPage(QWidget* control);
    void PlaceUclLclMarker(QToolButton* button);
    void StoreText(QLineEdit* edit, TStringRec& field, bool kind);
    bool CheckPositiveDof(QLineEdit* edit, QString& field, bool& Failed);
    bool ApplyInfiniteDof(int subPage, QLineEdit* main, QLineEdit* dof, QLabel* panel, TStringRec& field,
        quint8& option, QComboBox* list);
    bool ApplyGivenOrFixedDof(
        int subPage, QComboBox* list, QLineEdit* main, QLineEdit* dof, TStringRec& field, quint8& option);
    bool CollectInfiniteDof(QLineEdit* dof, TStringRec& field);
    bool CollectGivenOrFixedDof(QComboBox* list, QLineEdit* dof, TStringRec& field, bool& Failed);
    void ShowMessageOnce(const QString& text);
    void ExplainTemplateLock(QWidget* control);
    void ForgetTemplateLocks();

    QVBoxLayout* mainLayout_ = nullptr;
    // The controls a template lock made read-only, with the tooltip each had before.
    std::vector<std::pair<QPointer<QWidget>, QString>> templateLocked_;
    bool closing_ = false;
};

} // namespace orvek
