#pragma once
// The list of quantities and units: a modal window over the shared catalogue in which
// the user picks a quantity and one of its units for a cell, or maintains the catalogue.
// Each caller creates it, sets the visibility of the Cancel button (shown when picking),
// calls OpenQuantityList, shows it modally, reads the results after OK and frees it.

#include "core/services.h"

#include <QDialog>
#include <QString>
#include <memory>

class QPushButton;
class QSplitter;
class QTimer;
class QWidget;

namespace orvek {

class QuantityCatalogue;
class QueryRowsModel;
class TVxDBGrid;

class TfListOfVariablesUnits : public QDialog {
    Q_OBJECT
public:
    explicit TfListOfVariablesUnits(QWidget* parent = nullptr);
    ~TfListOfVariablesUnits() override;

    QWidget* Panel_Veliciny = nullptr;
    QWidget* Panel_Jednotky = nullptr;
    QSplitter* Splitter1 = nullptr;
    TVxDBGrid* VxDBGrid_Velicina = nullptr;
    TVxDBGrid* VxDBGrid_Jednotky = nullptr;
    QPushButton* SpeedButton4 = nullptr; // add a quantity
    QPushButton* SpeedButton_EditovatVelicinu = nullptr;
    QPushButton* SpeedButton_VymazatVelicinu = nullptr;
    QPushButton* SpeedButton6 = nullptr; // add a unit
    QPushButton* SpeedButton_EditovatJednotku = nullptr;
    QPushButton* SpeedButton_VymazatJednotku = nullptr;
    QPushButton* SpeedButton_OK = nullptr;
    QPushButton* SpeedButton_Cancel = nullptr;
    QTimer* Timer1 = nullptr; // 50 ms while open

    // Q_Veliciny: every quantity in the order of its plain text; the rows of T_Jednotky
    // of the current quantity.
    QueryRowsModel* Q_Veliciny = nullptr;
    QueryRowsModel* T_Jednotky = nullptr;

    // Out after OK: the chosen quantity's name and unit (empty when it has none).
    QString FResultQuantityName, FResultUnit;
    // The quantity the unit list belongs to; after OK the chosen quantity's ID.
    qint64 FCurrentQuantityID = 0;

    void RefreshTexts();
    // Opens the catalogue (a catalogue without quantities first gets the delivered
    // entries), shows its first quantity and starts the timer.
    void OpenQuantityList();
    void ReloadQuantityList();
    void LocateQuantityRecord(qint64 id);
    void LocateQuantityInList(qint64 id);
    void Timer1Timer();

    void SpeedButton4Click();
    void VxDBGrid_VelicinaDblClick();
    void SpeedButton_VymazatVelicinuClick();
    void SpeedButton6Click();
    void VxDBGrid_JednotkyDblClick();
    void SpeedButton_VymazatJednotkuClick();
    void SpeedButton_OKClick();
    void SpeedButton_CancelClick();

    // The current row of the list and of the units; -1 when none.
    int CurrentQuantityRow() const;
    int CurrentUnitRow() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    // Asks for one line of formatted text; True after OK with Markup and Plain.
    bool AskText(int labelText, const QString& initial, QString& markup, QString& plain);
    void ReloadUnits(qint64 selectUnitId = 0);
    void FitColumns();
    std::unique_ptr<QuantityCatalogue> catalogue_;
};

// The quantity-list service: each request creates the window and frees it afterwards.
class QuantityListProvider : public QuantityListService {
public:
    bool PickQuantity(QString& quantityName, QString& unit) override;
    void MaintainQuantityList() override;
};

} // namespace orvek
