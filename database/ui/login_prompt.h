#pragma once
// The login's questions asked through the login dialog and the password dialog.

#include "database/users.h"

namespace orvek {

class WidgetLoginPrompt : public LoginPrompt {
public:
    bool AskLogin(const QStringList& names, int selected, QString& userName, QString& password) override;
    bool AskNewPassword(const QString& storedHash, QString& newPassword, const QString& userLabel) override;
};

} // namespace orvek
