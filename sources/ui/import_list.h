#pragma once
// TfImportList, the window that shows pasted text split into a table: the user picks
// the column to take (by pressing its number in row 0) and inserts it before the
// reading grid's current row (result 1) or overwrites from there (result 5). Any
// other result takes nothing. The window is created once and reused.

#include <QDialog>
#include <QString>

class QPushButton;
class QTableWidget;
class QTimer;

namespace orvek {

struct TPastedTable;

class TfImportList : public QDialog {
    Q_OBJECT
public:
    explicit TfImportList(QWidget* parent = nullptr);

    QTableWidget* StringGrid = nullptr;
    QPushButton *Button1 = nullptr, *Button_Insert = nullptr, *Button_Overwrite = nullptr;
    QTimer* Timer1 = nullptr;
    // The chosen column (from 1), 0 when none.
    int FSelectedColumn = 0;
    int FMouseCol = 0, FMouseRow = 0;

    // Caption and the button texts; then the caller shows the window modally.
    void Prepare(const QString& Caption);
    // Every cell of the chosen column is a number; else a message, the cell made
    // current and the choice cleared.
    bool CheckSelectedColumn();
    // A column is chosen and CheckSelectedColumn passes; else the window stays open.
    bool ConfirmChoice();

    // The table back to 2 columns by 2 rows, emptied.
    void ResetTable();
    // The table filled from a split paste: row 0 numbers the columns "1.", "2." ...
    void FillTable(const TPastedTable& table);
    int LastRow() const;
    QString CellText(int col, int row) const;

    void Timer1Timer();
    void done(int result) override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ChooseColumn(int col);
};

// The one instance; the program creates it at start.
inline TfImportList* fImportList = nullptr;

} // namespace orvek
