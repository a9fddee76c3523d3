#pragma once
// The program as it ships, composed by the routine `main` runs, on a new database made
// from the empty one, offscreen. Only the message boxes and standard dialogs are
// answered by the test's script; every other window is the real one, driven by its
// object names as a user would drive it.

#include "app/program.h"
#include "core/common_vars.h"
#include "database/password_hash.h"
#include "database/ui/login_dialog.h"
#include "database/ui/password_dialog.h"
#include "mainwindow/ui/main_window.h"
#include "platform/sql_database.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/dialog_script.h"
#include "tests/support/qt_warnings.h"
#include "tests/support/sql_helpers.h"
#include "tests/support/test_env.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace orvek::test {

class ProgramTest : public ::testing::Test {
protected:
    QtWarningRecorder warnings;

    void SetUp() override
    {
        ClearSettingsStore();
        CommonInit();
        LanguageID = 0;
        // Every test starts on a database the program makes from the empty one.
        QDir(DatabaseDir).removeRecursively();
        Start();
    }
    void TearDown() override
    {
        Stop();
        EXPECT_TRUE(DialogScript::Instance().AllAnswered()) << "unanswered: " << Shown().join(" | ").toStdString();
        // No view commits or closes an editor that another view opened.
        EXPECT_EQ(warnings.ViewEditorWarnings(), QStringList());
        CommonDone();
    }

    // Composes the program and shows its main window, as `main` does.
    void Start()
    {
        TOrvekProgram::Options options;
        options.Dialogs = &DialogScript::Instance();
        options.ShowSplash = false;
        options.ImportStrings = false;
        program = std::make_unique<TOrvekProgram>(options);
    }
    // Ends the program as closing the main window does, without the questions of the
    // close: the test answers those where it closes the window itself.
    void Stop() { program.reset(); }

    TfOrvek1& Main() { return program->MainWindow(); }
    QAction* Action(const char* name)
    {
        auto* action = Main().findChild<QAction*>(name);
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    static QStringList Shown() { return DialogScript::Instance().Shown(); }

    // The login dialog answered with Name and Password (Cancel when Ok is false).
    static void AnswerLogin(const QString& name, const QString& password, bool ok = true)
    {
        WhenShown<TfPrihlasenieDoProgramu>([name, password, ok](TfPrihlasenieDoProgramu& dialog) {
            if (!ok) {
                dialog.CancelBtn->click();
                return;
            }
            dialog.ComboBox1->setCurrentText(name);
            dialog.Password->setText(password);
            dialog.OKBtn->click();
        });
    }
    // The password dialog answered with Old and New (typed twice).
    static void AnswerNewPassword(const QString& oldPassword, const QString& newPassword)
    {
        WhenShown<TfZmenaHesla>([oldPassword, newPassword](TfZmenaHesla& dialog) {
            dialog.EditOldPassword->setText(oldPassword);
            dialog.EditNewPassword->setText(newPassword);
            dialog.EditConfirmPassword->setText(newPassword);
            dialog.OKBtn->click();
        });
    }

    // Shows the main window; its first activation runs the login, answered by the
    // answers queued before.
    void ShowAndWaitForLogin()
    {
        program->Show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Main().FFirstActivation; }, 10000));
    }
    // The first start of a new database: the administrator logs in with the first
    // password and sets his own.
    void StartAsAdministrator()
    {
        AnswerLogin("admin", "orvek");
        AnswerNewPassword("orvek", "heslo1");
        DialogScript::Instance().AnswerMessage(mrOk); // the password has been changed
        ShowAndWaitForLogin();
        ASSERT_EQ(CurrentUserID, 1);
    }

    // Action stands, visible and enabled, in a menu of the main window's menu bar that is
    // visible and enabled: the user can reach it.
    bool InMenuBar(QAction* action)
    {
        const QList<QAction*> bar = Main().menuBar()->actions();
        for (QObject* owner : action->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(owner))
                if (bar.contains(menu->menuAction()) && menu->menuAction()->isVisible()
                    && menu->menuAction()->isEnabled())
                    return action->isVisible() && action->isEnabled();
        return false;
    }

    // Sql with Values run through a connection of its own to the program's database (as
    // another workstation writes); the ID of the row it inserted.
    static qint64 ExecElsewhere(const QString& sql, const QVariantList& values = {})
    {
        qint64 id = 0;
        {
            QString error;
            QSqlDatabase db = OpenFolderDatabase(QStringLiteral("program-test"), DatabaseDir, false, &error);
            EXPECT_TRUE(db.isOpen()) << error.toStdString();
            QSqlQuery query(db);
            EXPECT_TRUE(ExecBound(query, sql, values)) << sql.toStdString();
            id = query.lastInsertId().toLongLong();
        }
        CloseFolderDatabase(QStringLiteral("program-test"));
        return id;
    }
    // The first column of the rows Sql returns, read through a connection of its own.
    static QStringList ColumnElsewhere(const QString& sql, const QVariantList& values = {})
    {
        QStringList column;
        {
            QString error;
            QSqlDatabase db = OpenFolderDatabase(QStringLiteral("program-test"), DatabaseDir, false, &error);
            EXPECT_TRUE(db.isOpen()) << error.toStdString();
            column = QueryColumn(db, sql, values);
        }
        CloseFolderDatabase(QStringLiteral("program-test"));
        return column;
    }
    // An active user of Group with Rights who logs in with Name and Password.
    static int AddUser(const QString& name, const QString& password, int rights = 3, int group = 1,
        const QString& first = QStringLiteral("Eva"), const QString& last = QStringLiteral("Nová"))
    {
        return int(ExecElsewhere(QStringLiteral("INSERT INTO Administration (UserRights, UserGroup, Aktivny, UserName, "
                                                "UserPassword, FirstName, LastName, NumberID, PasswordHash, "
                                                "MustChangePassword) VALUES (?, ?, 1, ?, '', ?, ?, '', ?, 0)"),
            { rights, group, name, first, last, HashPassword(password, 1) }));
    }

    std::unique_ptr<TOrvekProgram> program;
};

} // namespace orvek::test
