#pragma once
// The summary of quantities: a modal grid of every quantity of the model (symbol,
// unit, value, standard uncertainty, cell name) over the shared QuantityList, in which
// the values of unlocked rows may be retyped. OK checks each retyped value and writes
// it back into the list; the caller stores the changed ones into the cells.

#include "core/services.h"

#include <QDialog>
#include <vector>

class QPushButton;
class QTableWidget;

namespace orvek {

class TfTableQuantites : public QDialog, public QuantitySummaryService {
    Q_OBJECT
public:
    explicit TfTableQuantites(QWidget* parent = nullptr);
    ~TfTableQuantites() override;

    // Service. LockMode: 0 every value locked, 1 the template lock of each cell's value,
    // 2 none; rows of equation cells, whose value the evaluation writes, stay locked.
    void LoadQuantityTable(quint8 lockMode) override;
    bool ShowModal() override;

    void OkButtonClick();

    QTableWidget* StringGrid_Quantities = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // Per grid row (index 0 is the header row): the value may not be edited.
    std::vector<bool> RowLocked;
    int FFirstEditableRow = 1;
    int FStartColumn = 2;
    bool FLoading = false;

    // Grid row of QuantityList entry I is I; the table widget keeps it at I - 1.
    bool IsRowLocked(int gridRow) const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The next (Step 1) or previous (Step -1) unlocked grid row, wrapping; Row when none.
    int NeighbourRow(int row, int step) const;
    void GoToRow(int gridRow);
};

inline TfTableQuantites* fTableQuantites = nullptr;

} // namespace orvek
