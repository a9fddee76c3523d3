#pragma once
// TfEditUncertaintyContition, the editor of a piecewise uncertainty rule: twelve rows,
// each comparing x with one or two bounds and giving an expression for u. It writes
// the rule's text into FConditionText on OK (result 1); Cancel (result 2) keeps the
// text as it was. The window is created once and reused.

#include "sources/condition_text.h"

#include <QDialog>
#include <QString>
#include <array>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvek {

class TfEditUncertaintyContition : public QDialog {
    Q_OBJECT
public:
    explicit TfEditUncertaintyContition(QWidget* parent = nullptr);

    struct TRow {
        QLabel* IfLabel = nullptr;
        QComboBox* First = nullptr; // IF<k>a
        QLineEdit* Bound1 = nullptr; // Num_<k>_1
        QLabel* AndLabel = nullptr;
        QComboBox* Second = nullptr; // IF<k>b
        QLineEdit* Bound2 = nullptr; // Num_<k>_2
        QLabel* ThenLabel = nullptr;
        QLineEdit* U = nullptr; // u_<k>
    };
    std::array<TRow, ConditionEditorRows> Rows;
    QPushButton *ButtonOK = nullptr, *ButtonCancel = nullptr;
    QDialogButtonBox* Buttons = nullptr;
    QString FConditionText;

    void LoadCondition(const QString& Text);
    void ResetRows();
    void ShowParsedRows();
    void ApplyTexts();
    void ArrangeRows();
    void UpdateSecondBounds();
    void BuildConditionText(QString& Text) const;
    // The rows as typed.
    TConditionRows RowInputs() const;

    void ButtonOKClick();
    void done(int result) override;
    void reject() override;
};

// The one instance; the program creates it at start.
inline TfEditUncertaintyContition* fEditUncertaintyContition = nullptr;

} // namespace orvek
