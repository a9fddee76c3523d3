#pragma once
// The windows the login asks the user through. The login dialog and the password
// dialog live in the window library; the program installs them, tests install doubles.

#include <QString>
#include <QStringList>

namespace orvek {

class LoginPrompt {
public:
    virtual ~LoginPrompt() = default;
    // The login dialog over Names with item Selected chosen and an empty password box.
    // True on OK with the chosen name and the typed password.
    virtual bool AskLogin(const QStringList& names, int selected, QString& userName, QString& password) = 0;
    // The password dialog: the old password must verify against StoredHash; UserLabel,
    // when not empty, names whose password it is. True on OK with the accepted new password.
    virtual bool AskNewPassword(const QString& storedHash, QString& newPassword, const QString& userLabel) = 0;
};

// The prompt in force (the caller keeps ownership); returns the previous one. Without
// one the login dialog logs nobody in.
LoginPrompt* SetLoginPrompt(LoginPrompt* prompt);
LoginPrompt* CurrentLoginPrompt();

// The name the service login works under.
inline constexpr const char* kServiceUserName = "Tulkarn";
// The configuration entry holding the salted hash of the service password; an empty
// entry turns the service login off.
inline constexpr const char* kServicePasswordEntry = "ServicePassword";

} // namespace orvek
