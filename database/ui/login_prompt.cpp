#include "database/ui/login_prompt.h"

#include "database/ui/login_dialog.h"
#include "database/ui/password_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace orvek {

bool WidgetLoginPrompt::AskLogin(const QStringList& names, int selected, QString& userName, QString& password)
{
    TfPrihlasenieDoProgramu dialog;
    dialog.ComboBox1->addItems(names);
    dialog.ComboBox1->setCurrentIndex(names.isEmpty() ? -1 : qBound(0, selected, int(names.size()) - 1));
    dialog.ComboBox1->setEnabled(true);
    // The password box opens empty: the user types the password of the chosen name.
    dialog.PresetPassword.clear();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    password = dialog.Password->text();
    userName = dialog.ComboBox1->currentText();
    dialog.Password->clear();
    dialog.UserName->clear();
    return true;
}

bool WidgetLoginPrompt::AskNewPassword(const QString& storedHash, QString& newPassword, const QString& userLabel)
{
    TfZmenaHesla dialog;
    dialog.LabelUser->setText(userLabel);
    dialog.LabelUser->setVisible(!userLabel.isEmpty());
    dialog.OldPasswordToCheck = storedHash;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    newPassword = dialog.NewPassword;
    return true;
}

} // namespace orvek
