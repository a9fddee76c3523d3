#pragma once
// The validation history: the program's validation runs, newest last, with the report
// of the current run rendered as formatted text, and a button that runs a new
// validation and stores its result. The window frees itself when it closes.

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace orvek {

class QueryRowsModel;
class TDBNavigator;
class TRichEdit98;
class TVxDBGrid;

// Runs the self-validation: True when the example could be evaluated, with the short
// result and the report (mark-up) appended to what Report held. The program installs
// it; without it the window's Validation button is disabled.
using SelfValidationRoutine = std::function<bool(QString& resultText, QString& report)>;
inline SelfValidationRoutine SelfValidationHook;

class TfValidationHistory : public QDialog {
    Q_OBJECT
public:
    explicit TfValidationHistory(QWidget* parent = nullptr);
    ~TfValidationHistory() override;

    // The rows of ValidationHistory, in the order they were written.
    QueryRowsModel* T_ValidationHistory = nullptr;
    TVxDBGrid* VxDBGrid1 = nullptr;
    TDBNavigator* DBNavigator1 = nullptr;
    QLabel* Panel_RecNo = nullptr;
    QLabel* Panel_Description = nullptr;
    TRichEdit98* RichEdit981 = nullptr;
    QPushButton* Button_Close = nullptr;
    QPushButton* Button_Validation = nullptr;
    QTimer* Timer1 = nullptr;
    int LastShownID = -1;

    void FormCreate();
    void Timer1Timer();
    void Button_ValidationClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Reads the table (again) and stands on its last row.
    void OpenTable();
};

} // namespace orvek
