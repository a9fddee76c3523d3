#pragma once
// The result summary: a small tool window kept on top of the program's windows that
// shows one cell's value with its uncertainties, degrees of freedom and coverage
// factor, without opening the cell's dialog. Created once and refilled for each cell.

#include "core/services.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace orvek {

class TEditText98;

class TfSummaryDesc : public QDialog, public ResultSummaryService {
    Q_OBJECT
public:
    explicit TfSummaryDesc(QWidget* parent = nullptr);
    ~TfSummaryDesc() override;

    // Service.
    bool IsVisible() override { return isVisible(); }
    void Hide() override { hide(); }
    void ShowStayOnTop() override;
    void ShowCellSummary(TCell* cell) override;

    void RefreshTexts();

    QLabel* Label_NazovVeliciny = nullptr;
    QLabel* Label_Hodnota = nullptr;
    QLabel* Label_KombinovanaStdNeistota = nullptr;
    QLabel* Label_RelStdNeistota = nullptr;
    QLabel* Label_RozsirenaStdNeistota = nullptr;
    QLabel* Label_PocetStupnovVolnosti = nullptr;
    QLabel* Label_ExpanznyKoeficient = nullptr;
    QLabel* Label_Relativna_rozsirena_neistota = nullptr;
    QWidget* Panel_NazovVeliciny = nullptr;
    QWidget* Panel_JednotkaVeliciny_1 = nullptr;
    QWidget* Panel_JednotkaVeliciny_2 = nullptr;
    QWidget* Panel_JednotkaVeliciny_4 = nullptr;
    QLineEdit* Edit_Hodnota = nullptr;
    QLineEdit* Edit_KombinovanaStdNeistota = nullptr;
    QLineEdit* Edit_RelStdNeistota = nullptr;
    QLineEdit* Edit_RozsirenaStdNeistota = nullptr;
    QLineEdit* Edit_PocetStupnovVolnosti = nullptr;
    QLineEdit* Edit_ExpanznyKoeficient = nullptr;
    QLineEdit* Edit_RelRozsirenaNeistota = nullptr;
    QLabel* Panel_NekonecnoPreRel = nullptr;
    QLabel* Panel_Nekonecno = nullptr;
    QLabel* PlusMinusSign = nullptr;
    QPushButton* bOK = nullptr;

    TEditText98* FQuantityNameBox = nullptr;
    TEditText98* FValueUnitBox = nullptr;
    TEditText98* FUncertaintyUnitBox = nullptr;
    TEditText98* FExpandedUnitBox = nullptr;
};

inline TfSummaryDesc* fSummaryDesc = nullptr;

} // namespace orvek
