#include "database/empty_database.h"
#include "database/ui/login_dialog.h"
#include "database/ui/login_prompt.h"
#include "database/ui/password_dialog.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/user_database_fixture.h"

#include <QLabel>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace orvek;
using orvek::test::DialogScript;

namespace {

using test::WhenShown;

class LoginWindows : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        SetLoginPrompt(&widgets);
    }
    WidgetLoginPrompt widgets;
};

TEST_F(LoginWindows, OpensOnTheLastUserWithAnEmptyPassword)
{
    const int eva = AddUser("eva", "heslo1");
    AddUser("jan", "heslo2");
    LastLoggedInUserID = eva;
    int shownIndex = -1;
    QString shownPassword = "x";
    bool echoHidden = false;
    WhenShown<TfPrihlasenieDoProgramu>([&](TfPrihlasenieDoProgramu& dialog) {
        shownIndex = dialog.ComboBox1->currentIndex();
        shownPassword = dialog.Password->text();
        echoHidden = dialog.Password->echoMode() == QLineEdit::Password;
        EXPECT_EQ(dialog.windowTitle(), ProgramName + " - " + GetString(521));
        QTest::keyClicks(dialog.Password, "heslo1");
        dialog.OKBtn->click();
    });
    ASSERT_TRUE(module->LoginDialog());
    EXPECT_EQ(shownIndex, 1);
    EXPECT_TRUE(shownPassword.isEmpty());
    EXPECT_TRUE(echoHidden);
    EXPECT_EQ(CurrentUserID, eva);
}

TEST_F(LoginWindows, ChoosingAnotherUserEmptiesThePassword)
{
    AddUser("eva", "heslo1");
    TfPrihlasenieDoProgramu dialog;
    dialog.ComboBox1->addItems({ "admin", "eva" });
    dialog.show();
    dialog.Password->setText("typed");
    dialog.ComboBox1->setCurrentIndex(1);
    Q_EMIT dialog.ComboBox1->activated(1);
    EXPECT_TRUE(dialog.Password->text().isEmpty());
}

TEST_F(LoginWindows, ForcedChangeThroughThePasswordDialog)
{
    WhenShown<TfPrihlasenieDoProgramu>([&](TfPrihlasenieDoProgramu& dialog) {
        dialog.ComboBox1->setCurrentIndex(0);
        dialog.Password->setText(kFirstAdministratorPassword);
        dialog.OKBtn->click();
        WhenShown<TfZmenaHesla>([](TfZmenaHesla& change) {
            change.EditOldPassword->setText(kFirstAdministratorPassword);
            change.Timer1Timer();
            change.EditNewPassword->setText("Novy123");
            change.Timer1Timer();
            change.EditConfirmPassword->setText("Novy123");
            change.OKBtn->click();
        });
    });
    DialogScript::Instance().AnswerMessage(mrOk); // text 498
    ASSERT_TRUE(module->LoginDialog());
    EXPECT_TRUE(VerifyPassword("Novy123", Row("Administration", 1)["PasswordHash"].toString()));
}

// The own-password change names the user above the fields; the forced change at login
// names nobody.
TEST_F(LoginWindows, PasswordDialogNamesTheUserWhenAsked)
{
    for (const QString& label : { QString("User: Eva Nová "), QString() }) {
        bool shown = false, visible = false;
        QString text;
        WhenShown<TfZmenaHesla>([&](TfZmenaHesla& change) {
            shown = true;
            visible = change.LabelUser->isVisible();
            text = change.LabelUser->text();
            const QString shots = qEnvironmentVariable("ORVEK_SHOTS");
            if (!shots.isEmpty() && visible) {
                const quint8 language = LanguageID;
                for (const quint8 shown : { quint8(0), quint8(1) }) {
                    LanguageID = shown;
                    change.FormActivate();
                    QApplication::processEvents();
                    change.grab().save(shots + (shown ? "/password-dialog-sk.png" : "/password-dialog-en.png"));
                }
                LanguageID = language;
            }
            change.CancelBtn->click();
        });
        QString fresh;
        EXPECT_FALSE(widgets.AskNewPassword(HashPassword("stare1", 1), fresh, label));
        EXPECT_TRUE(shown);
        EXPECT_EQ(visible, !label.isEmpty());
        EXPECT_EQ(text, label);
    }
}

TEST_F(LoginWindows, PasswordDialogRules)
{
    UserPasswordSize = 8;
    TfZmenaHesla dialog;
    dialog.OldPasswordToCheck = HashPassword("stare1", 1);
    dialog.show();
    dialog.Timer1Timer();
    EXPECT_FALSE(dialog.EditNewPassword->isEnabled());
    EXPECT_FALSE(dialog.EditConfirmPassword->isEnabled());
    dialog.EditOldPassword->setText("stare1");
    dialog.Timer1Timer();
    EXPECT_TRUE(dialog.EditNewPassword->isEnabled());
    EXPECT_FALSE(dialog.EditConfirmPassword->isEnabled());

    struct Case {
        const char* old;
        const char* fresh;
        const char* confirm;
        QString text;
    };
    const Case cases[] = {
        { "stare2", "nove12", "nove12", GetString(488) },
        { "stare1", "nove_1", "nove_1", GetString(489) },
        { "stare1", "nove12345", "nove12345", GetString(490, { 8 }) },
        { "stare1", "ab", "ab", GetString(491, { 3 }) },
        { "stare1", "nove12", "nove13", GetString(492) },
    };
    for (const Case& c : cases) {
        dialog.EditOldPassword->setText(c.old);
        dialog.EditNewPassword->setText(c.fresh);
        dialog.EditConfirmPassword->setText(c.confirm);
        DialogScript::Instance().AnswerMessage(mrRetry);
        dialog.OKBtnClick();
        EXPECT_EQ(DialogScript::Instance().Shown().last(), c.text);
        EXPECT_TRUE(dialog.isVisible()) << c.fresh;
        EXPECT_TRUE(dialog.EditNewPassword->text().isEmpty());
        EXPECT_TRUE(dialog.EditConfirmPassword->text().isEmpty());
        EXPECT_EQ(dialog.EditOldPassword->text().isEmpty(), c.text == GetString(488));
    }
    dialog.EditOldPassword->setText("stare1");
    dialog.EditNewPassword->setText("Nove12");
    dialog.EditConfirmPassword->setText("Nove12");
    dialog.OKBtnClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.NewPassword, "Nove12");
    EXPECT_TRUE(dialog.EditOldPassword->text().isEmpty());
    UserPasswordSize = 0;
}

} // namespace
