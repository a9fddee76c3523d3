#pragma once
// TfOrvek5, the dialog of an equation cell: cell name, symbol, quantity name and unit,
// the right-hand side with the quantities it uses and their correlation matrix, the
// coverage factor, the comment, and a preview of the results. The cell tool loads it
// from the hand-over, shows it and reads it back after OK. The previews compute on a
// detached copy of the cell, so Cancel leaves the model as it was.
//
// Construction, texts, loading and edit level: equation_cell_dialog.cpp; analysis, OK,
// coverage, previews, name, unit, comment, keys, timer and closing:
// equation_cell_dialog_actions.cpp; the quantity grid and the correlation grid:
// equation_cell_dialog_grids.cpp.

#include "core/common_vars.h"
#include "mainwindow/cell_dialogs.h"
#include "mainwindow/equation_dialog_rules.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolButton;

namespace orvek {

class TCellCommentBox;
class TEditText98;
class TRichEdit98;

class TfOrvek5 : public QDialog, public TEquationDialog {
    Q_OBJECT
public:
    explicit TfOrvek5(QWidget* parent = nullptr);
    ~TfOrvek5() override;

    // --- data fields: set before LoadCellData, read after OK ---
    TCell* FCell = nullptr; // the cell shown; never changed by the dialog
    bool FIsNewCell = false;
    QString FCellName;
    quint8 FCellNameLock = 0;
    QString FComment;
    quint8 FCommentLock = 0;
    bool FCommentChanged = false;
    QString FSymbol;
    quint8 FSymbolLock = 0;
    QString FQuantityName;
    quint8 FQuantityNameLock = 0;
    QString FUnit;
    quint8 FUnitLock = 0;
    QString FEquation;
    quint8 FEquationLock = 0;
    quint8 FCoverage = 1, FCoverageLock = 0;
    QString FCoverageFactor;
    quint8 FCoverageFactorLock = 0;
    QString FCorrelationMatrix;
    quint8 FCorrelationMatrixLock = 0;
    QString FValue, FCombinedUncertainty, FRelativeUncertainty, FExpandedUncertainty, FRelativeExpandedUncertainty;

    // --- controls ---
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr,
           *Label12 = nullptr, *Label_Relativna_rozsirena_neistota = nullptr;
    QLineEdit* Edit_NazovBunky = nullptr;
    QLineEdit* Edit_SymbolVeliciny = nullptr;
    QWidget* Panel_NazovVeliciny = nullptr;
    TEditText98* FQuantityNameBox = nullptr;
    QToolButton* SpeedButton_Velicina = nullptr;
    QWidget* Panel_JednotkaVeliciny = nullptr;
    TEditText98* FUnitBox = nullptr;
    QToolButton* SpeedButton_Jednotka = nullptr;
    QToolButton* SpeedButton_EditVelicinaJednotka = nullptr;
    TRichEdit98* RichEdit_PravaStranaRovnice = nullptr;
    QToolButton* SpeedButton_StartAnalyzyRovnice = nullptr;
    QCheckBox* CheckBox_ZalomitText = nullptr;
    QLineEdit* Edit_HodnotaVeliciny = nullptr;
    QLineEdit* Edit_HodnotaKombinovanejStandardnejNeistoty = nullptr;
    QLineEdit* Edit_HodnotaRelativnejStandardnejNeistoty = nullptr;
    QLabel* Panel_NekonecnoPreRel = nullptr;
    QLineEdit* Edit_RozsirenaStdNeistota = nullptr;
    QLineEdit* Edit_HodnotaRelativnejRozsirenejNeistoty = nullptr;
    QLineEdit* Edit_PocetStupnovVolnosti = nullptr;
    QLabel* Panel_Nekonecno = nullptr;
    QLineEdit* Edit_ExpanznyKoeficient = nullptr;
    QComboBox* ComboBox_Coverage = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet_Veliciny = nullptr;
    QWidget* TabSheet_CorrelationMatrix = nullptr;
    QTableWidget* StringGrid_ZoznamVelicin_v_Rovnici = nullptr;
    QComboBox* ComboBox_TypHodnoty = nullptr;
    QPushButton* Button_RenameVariable = nullptr;
    QTableWidget* StringGrid_CorrelationMatrix = nullptr;
    QPushButton* Button_Recalculate = nullptr;
    TCellCommentBox* Comment = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Cancel = nullptr;
    QTimer* Timer1 = nullptr; // 50 ms

    void RefreshTexts();
    void ResetDialog();
    void LoadCellData();
    void ApplyEditLevel();
    void ApplyReadOnlyColors();
    QString ReadEquationText();
    void ShowEquationText(const QString& Text);
    bool AnalyseEquation();
    void ApplyCoverage();
    void ComputeExpandedPreview();
    void ShowResults();
    void MarkModified();
    void Button_OKClick();

    // The grids.
    void FillQuantityGrid(const QList<TQuantityGridRow>& Rows);
    QList<TQuantityGridRow> QuantityRows() const;
    int CountQuantityRows() const;
    void ResetQuantityGrid();
    void ResetCorrelationGrid();
    void InitCorrelationGrid();
    void LoadCorrelationMatrix();
    void SerializeCorrelationMatrix();
    bool ValidateCorrelationMatrix();
    void Button_RecalculateClick();
    void Button_RenameVariableClick();
    void ComboBox_TypHodnotyChange(int index);
    // True for a row whose child is an equation cell: its value type stays as it is,
    // since turning a sub-model into a quantity is a command of its own.
    bool RowValueTypeFixed(int row) const;

    void SpeedButton_VelicinaClick();
    void SpeedButton_JednotkaClick();
    void SpeedButton_EditVelicinaJednotkaClick();
    void SpeedButton_EditorClick();
    void ApplyEquationWordWrap();
    void Timer1Timer();

    // The cell tool's side.
    void Load(const TEquationDialogData& data) override;
    int ShowModal() override;
    void ReadBack(TEquationDialogData& data) override;

    // The symbol whose rename button is shown; empty when none.
    QString FSymbolUnderButton;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ConnectInputs();
    void EditFormattedText(TEditText98* box, int labelText);
    TMatrixTexts MatrixTexts() const;
    void SetMatrixTexts(const TMatrixTexts& Matrix, const QStringList& Symbols);
    void ShowRefusal(int message, const QStringList& arguments, QWidget* focus);
    void QuantityGridCellSelected(int row, int column);
    void CorrelationCellEdited(int row, int column);
    void InstallQuantityGridDelegate();
    // The preview copy: the cell and its subtree written as diagram text and read back
    // into a cell without host, so the engine's previews never touch the model.
    TCell* PreviewCell();

    bool FModified = false;
    int FChangeCount = 0;
    bool FTracking = false;
    bool FLoading = false;
    bool FAnalysed = false;
    bool FGridEditable = true;
    bool FMatrixEditable = true;
    bool FRecalculateAllowed = false;
    bool FGridRebuilding = false;
    bool FFillingMatrix = false;
    QString FEquationText, FPendingEquation, FLastAnalysedEquation, FLastAcceptedEquation, FEquationAtLoad;
    QString FEquationAtLoadNoBlanks;
    QStringList FEquationSymbols;
    QList<quint8> FRowValueType; // per quantity row
    QList<int> FRowChildIndex;
    QList<int> FRowCellId;
    // The children that are equation cells, by CellId and by symbol (for the rows an
    // analysis created, which carry no CellId yet).
    QList<int> FEquationChildIds;
    QStringList FEquationChildSymbols;
    TCell* FPreview = nullptr;
    QString FDegreesOfFreedomText;
    bool FRowsAsNew = false;
    bool FViewOnly = false; // opened for viewing: level 0 whatever the edit level
    bool FSymbolsDiffer = false; // the last analysis found another set of symbols

    int EffectiveEditLevel() const { return FViewOnly ? 0 : EditMode; }
};

} // namespace orvek
