#pragma once
// The password dialog: the old password, the new one and its confirmation. The caller
// stores the accepted NewPassword.

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace orvek {

class TfZmenaHesla : public QDialog {
    Q_OBJECT
public:
    explicit TfZmenaHesla(QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    // Whose password changes; hidden when the caller names nobody.
    QLabel* LabelUser = nullptr;
    QLabel* LabelOldPassword = nullptr;
    QLabel* LabelNewPassword = nullptr;
    QLabel* LabelConfirmPassword = nullptr;
    QLineEdit* EditOldPassword = nullptr;
    QLineEdit* EditNewPassword = nullptr;
    QLineEdit* EditConfirmPassword = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QTimer* Timer1 = nullptr;

    // The stored hash the old password must verify against.
    QString OldPasswordToCheck;
    // The accepted new password, set when the dialog ends with OK.
    QString NewPassword;

    void FormCreate();
    void FormActivate();
    void Timer1Timer();
    void OKBtnClick();
    void CancelBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};

} // namespace orvek
