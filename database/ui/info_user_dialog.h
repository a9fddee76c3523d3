#pragma once
// The user dialog: login name, password, names and personal number, the rights, the
// group and the temporary deactivation. OK runs the checks in order; a refused field
// keeps what was typed and gets the focus.

#include "database/user_admin.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace orvek {

class TfInfoUser : public QDialog {
    Q_OBJECT
public:
    explicit TfInfoUser(QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr; // the person
    QGroupBox* GroupBox2 = nullptr; // the login
    QLabel* Label_FirstName = nullptr;
    QLabel* Label_LastName = nullptr;
    QLabel* Label_UserID = nullptr;
    QLabel* Label_UserName = nullptr;
    QLabel* Label_Password = nullptr;
    QLabel* Label_Rights = nullptr;
    QLabel* Label_Group = nullptr;
    QLineEdit* Edit_FirstName = nullptr;
    QLineEdit* Edit_LastName = nullptr;
    QLineEdit* Edit_UserID = nullptr;
    QLineEdit* Edit_UserName = nullptr;
    QLineEdit* Edit_Password = nullptr;
    QLineEdit* Edit_UserRights = nullptr;
    QComboBox* ComboBox_GroupList = nullptr;
    QLineEdit* Edit_Skupina = nullptr;
    QCheckBox* CheckBox_DocasneZrusit = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Cancel = nullptr;
    QTimer* Timer1 = nullptr;

    // True for a new user, who needs a password; False keeps the stored password when
    // the password edit stays empty.
    bool NewUser = true;

    // Empties every field for a new dialog; the caption is set by the caller.
    void ClearFields();
    // The groups of GroupList in the combo, on GroupID (the first group when unknown).
    void FillGroups(int groupID);
    // The group as the combo (enabled or not) or as read-only text.
    void ShowGroupCombo(bool enabled);
    void ShowGroupText(const QString& text);
    int ChosenGroupID() const;
    TUserDialogInput Input() const;

    void FormActivate();
    void Timer1Timer();
    void Button_OKClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};

inline TfInfoUser* fInfoUser = nullptr;

} // namespace orvek
