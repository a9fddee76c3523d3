#pragma once
// TfOrvek9, the dialog of a quantity cell: cell name, comment, quantity name and unit
// as mark-up, value type, value and, by value type, the uncertainties shown read-only
// or a chemical sum formula from which the molar mass and its uncertainty are computed.
// The cell tool loads it from the hand-over, shows it and reads it back after OK; the
// dialog never touches the cell.
//
// Construction, texts, loading, layout and edit level are in quantity_cell_dialog.cpp;
// OK, the value-type switch, the molar mass and its grid, the name and unit buttons,
// the timer and closing in quantity_cell_dialog_actions.cpp.

#include "mainwindow/cell_dialogs.h"
#include "mainwindow/sum_formula_grid.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;
class QToolButton;

namespace orvek {

class TCellCommentBox;
class TEditText98;

class TfOrvek9 : public QDialog, public TQuantityDialog {
    Q_OBJECT
public:
    explicit TfOrvek9(QWidget* parent = nullptr);
    ~TfOrvek9() override;

    // --- data fields: set before LoadCellData, read after OK ---
    bool FEditingAllowed = false;
    bool FConversionMode = false; // value type, quantity name and unit are fixed
    QString FCellName;
    quint8 FCellNameLock = 0;
    QString FComment;
    quint8 FCommentLock = 0;
    bool FCommentChanged = false;
    quint8 FValueType = 0, FValueTypeLock = 0;
    QString FSymbol;
    QString FQuantityName;
    quint8 FQuantityNameLock = 0;
    QString FUnit;
    quint8 FUnitLock = 0;
    QString FValue;
    quint8 FValueLock = 0;
    quint8 FValueTransferred = 0;
    QString FCombinedUncertainty;
    QString FRelativeUncertainty;
    QString FSumFormula;
    quint8 FSumFormulaLock = 0;
    QString FSumFormulaDetails;
    quint8 FSumFormulaDetailsLock = 0;

    // --- controls ---
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr,
           *Label11 = nullptr, *Label15 = nullptr;
    QLineEdit* Edit_NazovBunky = nullptr;
    QLineEdit* Edit_SymbolVeliciny = nullptr; // read-only
    QWidget* Panel_NazovVeliciny = nullptr;
    TEditText98* FQuantityNameBox = nullptr;
    QToolButton* SpeedButton_Velicina = nullptr;
    QWidget* Panel_JednotkaVeliciny = nullptr;
    TEditText98* FUnitBox = nullptr;
    QToolButton* SpeedButton_Jednotka = nullptr;
    QToolButton* SpeedButton_EditVelicinaJednotka = nullptr; // pick from the list
    QComboBox* ComboBox_TypHodnoty = nullptr;
    QLineEdit* Edit_HodnotaVeliciny = nullptr;
    QWidget* PageControl1 = nullptr; // the uncertainties, or the sum formula and its grid
    QLineEdit* Edit_HodnotaKombinovanejStandardnejNeistoty = nullptr;
    QLineEdit* Edit_HodnotaRelativnejStandardnejNeistoty = nullptr;
    QWidget* Panel_Dof = nullptr; // degrees of freedom, value type 0 only
    QLineEdit* Edit_PocetStupnovVolnosti = nullptr;
    QLabel* Panel_Nekonecno = nullptr;
    QWidget* Panel_SumFormula = nullptr; // value type 2 only
    QLineEdit* Edit_SumarnyVzorec = nullptr;
    QPushButton* Button_Vypocet = nullptr;
    QTableWidget* StringGrid_SumForm = nullptr;
    QLineEdit* Edit_CelaRovnica = nullptr; // the parent's equation, read-only
    TCellCommentBox* Comment = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Cancel = nullptr;
    QTimer* Timer1 = nullptr; // 50 ms

    void RefreshTexts();
    void ResetDialog();
    void ResetSumFormulaGrid();
    void LoadCellData();
    void ApplyValueTypeLayout();
    void ApplyEditLevel();
    void ApplyReadOnlyColors();
    // 0 done or nothing to do, 1 empty formula, 2 analysis failed, 3 invalid grid entry.
    int ComputeMolarMass();
    QString BuildSumFormulaDetails() const;
    void LoadSumFormulaDetails(const QString& Details);

    void Button_OKClick();
    void Button_VypocetClick();
    void ComboBox_TypHodnotyChange();
    void SpeedButton_VelicinaClick();
    void SpeedButton_JednotkaClick();
    void SpeedButton_EditVelicinaJednotkaClick();
    void SpeedButton_EditorClick();
    void Timer1Timer();

    // The cell tool's side.
    void Load(const TQuantityDialogData& data) override;
    int ShowModal() override;
    void ReadBack(TQuantityDialogData& data) override;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ConnectInputs();
    void ShowValueAndUncertainty(const QString& value, const QString& u, const QString& relative);
    void EditFormattedText(TEditText98* box, int labelText);
    void SetGridRows(const QList<TSumFormulaRow>& rows);
    QList<TSumFormulaRow> GridRows() const;
    bool SumFormulaGridKey(int key, Qt::KeyboardModifiers modifiers);
    void FocusFirstInput();
    void MarkModified();

    bool FModified = false;
    bool FTracking = false;
    bool FLoading = false;
    bool FFormulaEdited = false;
    bool FGridEdited = false;
    bool FGridEditable = false;
    bool FFillingGrid = false;
    bool FValueEdited = false; // the user typed in the value edit since loading
    QString FAnalyserMessage;
    quint8 FLoadedValueType = 0;
    QString FLoadedValue, FLoadedUncertainty, FLoadedRelativeUncertainty, FLoadedDegreesOfFreedom;
    QString FLoadedQuantityName, FLoadedUnit;
    int FPreviousValueType = 0;
};

} // namespace orvek
