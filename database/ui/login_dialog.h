#pragma once
// The login dialog: a login name from the list and its password. The login loop that
// checks the answer is the data module's (TDataModule1::LoginDialog).

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvek {

class TfPrihlasenieDoProgramu : public QDialog {
    Q_OBJECT
public:
    explicit TfPrihlasenieDoProgramu(QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    QLabel* LabelUserName = nullptr;
    QLabel* LabelPassword = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Password = nullptr;
    // Lies outside the visible part of the group box; carries PresetUserName.
    QLineEdit* UserName = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // Texts carried into the two edits at activation, then emptied.
    QString PresetUserName;
    QString PresetPassword;

    void FormActivate();
    void ComboBox1Change();

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace orvek
