#pragma once
// TfOrvek11, the dialog of an uncertainty cell with sources below it: the combined
// standard uncertainty and its degrees of freedom read-only; the cell name, the comment
// and the active state editable as the edit level and the template locks allow. The
// cell tool loads it from the hand-over, shows it and reads it back after OK.

#include "mainwindow/cell_dialogs.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvek {

class TCellCommentBox;
class TEditText98;

class TfOrvek11 : public QDialog, public TUncertaintyCellDialog {
    Q_OBJECT
public:
    explicit TfOrvek11(QWidget* parent = nullptr);
    ~TfOrvek11() override;

    // --- data fields: set before LoadCellData, FCellName and FComment read after OK ---
    QString FCellName;
    quint8 FCellNameLock = 0;
    QString FComment;
    quint8 FCommentLock = 0;
    bool FCommentChanged = false; // OK read FComment back from a modified comment box
    QString FUnit;
    QString FDegreesOfFreedom;
    QString FCombinedUncertainty;

    QLabel* Label1 = nullptr; // standard uncertainty
    QLabel* Label3 = nullptr; // cell name
    QLabel* Label8 = nullptr; // comment
    QLabel* Label12 = nullptr; // degrees of freedom
    QLineEdit* Edit_NazovBunky = nullptr;
    QLineEdit* Edit_HodnotaNeistoty = nullptr;
    QWidget* Panel_JednotkaVeliciny = nullptr;
    TEditText98* FUnitBox = nullptr;
    QLineEdit* Edit_PocetStupnovVolnosti = nullptr;
    QLabel* Panel_Nekonecno = nullptr;
    QCheckBox* CheckBox_Aktivita = nullptr;
    TCellCommentBox* Comment = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Cancel = nullptr;

    void RefreshTexts();
    void LoadCellData();
    void Button_OKClick();
    void SpeedButton_EditorClick();

    // The cell tool's side.
    void Load(const TUncertaintyCellDialogData& data) override;
    int ShowModal() override;
    void ReadBack(TUncertaintyCellDialogData& data) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool FormKeyPress(QKeyEvent* event);
};

} // namespace orvek
