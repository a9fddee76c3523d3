#pragma once
// The string browser: every text of the string table in a grid of its English and
// Slovak columns, sorted by the column that stands first (the user may drag the other
// one there), with an edit dialog for one row and the export of the symbolic names.

#include <QDialog>
#include <QStringList>

class QLabel;
class QMenu;
class QAction;
class QSqlQueryModel;
class QTableView;
class QTimer;
class QToolButton;

namespace orvek {

class TfOrvek2 : public QDialog {
    Q_OBJECT
public:
    explicit TfOrvek2(QWidget* parent = nullptr);
    ~TfOrvek2() override;

    QSqlQueryModel* Q_Strings = nullptr;
    QTableView* DBGrid1 = nullptr;
    QToolButton* NavFirst = nullptr;
    QToolButton* NavPrior = nullptr;
    QToolButton* NavNext = nullptr;
    QToolButton* NavLast = nullptr;
    QLabel* Panel_RecNo = nullptr;
    QTimer* Timer1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* ExportStringIDID1 = nullptr;

    // A text was changed since the window was opened.
    bool StringsChanged = false;
    // The ID last shown in Panel_RecNo.
    int LastShownID = -1;
    // The caption of the main window's program-strings action, shown as the title.
    QString ActionCaption = QStringLiteral("Program strings");

    // (Re)opens the list sorted by the first grid column, on the row of ID (0: the
    // first row).
    void OpenStringList(int id);
    // The grid's columns, first to last, as table column names.
    QStringList GridColumns() const { return columnOrder_; }
    // The ID of the current row (0 when there is none).
    int CurrentID() const;
    // Opens the edit dialog on the current row and posts a changed text.
    void EditCurrentRow();
    void Timer1Timer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void ColumnMoved();
    void MoveTo(int row);
    QString ColumnOrderFromHeader() const;

    QStringList columnOrder_ { QStringLiteral("English"), QStringLiteral("Slovak") };
};

inline TfOrvek2* fOrvek2 = nullptr;

} // namespace orvek
