#pragma once
// The change-history browser: the rows of a history table chosen by the caller, in a
// grid of dates and times, with the user and the model of the current row and the values
// before and after its change rendered as formatted text. The caller sets HistorySQL
// (with "?" placeholders) and HistoryValues, calls ShowHistory and shows the window
// modally.

#include <QDialog>
#include <QVariantList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTimer;

namespace orvek {

class QueryRowsModel;
class TDBNavigator;
class TRichEdit98;
class TVxDBGrid;

class TfHistory1 : public QDialog {
    Q_OBJECT
public:
    explicit TfHistory1(QWidget* parent = nullptr);
    ~TfHistory1() override;

    QueryRowsModel* Q_History = nullptr;
    TVxDBGrid* VxDBGrid = nullptr;
    TDBNavigator* DBNavigator = nullptr;
    QLabel* Label_Pracovnik = nullptr;
    QLabel* Label_Meranie = nullptr;
    QLineEdit* Edit_Pracovnik = nullptr;
    QLineEdit* Edit_Meranie = nullptr;
    QGroupBox* Panel_Original = nullptr;
    QGroupBox* Panel_Modified = nullptr;
    TRichEdit98* RichEdit_Original = nullptr;
    TRichEdit98* RichEdit_Modified = nullptr;
    QLabel* Panel_RecNo = nullptr;
    QTimer* Timer1 = nullptr;

    // The statement of the rows shown (a select of History or HistoryTemplate) and the
    // values of its "?" placeholders.
    QString HistorySQL;
    QVariantList HistoryValues;
    int FixedUserID = 0;
    int FixedDiagramID = 0;
    int LastShownID = 0;

    // Opens the statement (a failure leaves the browser empty and goes to the error
    // log) and stands on the last row. With a user or a model given, its name stays in
    // the edits for every row.
    void ShowHistory(int userID, int diagramID);

    void FormCreate();
    void Timer1Timer();
    void FormClose();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    int CurrentRow() const;
};

} // namespace orvek
