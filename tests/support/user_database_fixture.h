#pragma once
// A data module on a copy of the empty database, a fixed clock, and helpers that write
// users and read rows through a connection of their own (as another workstation).

#include "core/clock.h"
#include "core/common_vars.h"
#include "database/data_module.h"
#include "database/password_hash.h"
#include "database/users.h"
#include "platform/sql_database.h"
#include "tests/support/dialog_script.h"
#include "tests/support/server_database.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantMap>
#include <gtest/gtest.h>
#include <memory>

namespace orvek::test {

// Answers the login's questions from queues.
class ScriptedLoginPrompt : public LoginPrompt {
public:
    struct Login {
        QString name, password;
        bool ok = true;
    };
    std::vector<Login> logins;
    std::vector<QString> newPasswords; // an empty text cancels the password dialog
    QStringList shownNames;
    std::vector<int> shownSelected;
    QString shownHash;
    QString shownLabel;

    bool AskLogin(const QStringList& names, int selected, QString& userName, QString& password) override
    {
        shownNames = names;
        shownSelected.push_back(selected);
        if (logins.empty()) {
            ADD_FAILURE() << "unexpected login dialog";
            return false;
        }
        const Login login = logins.front();
        logins.erase(logins.begin());
        userName = login.name;
        password = login.password;
        return login.ok;
    }
    bool AskNewPassword(const QString& storedHash, QString& newPassword, const QString& userLabel) override
    {
        shownHash = storedHash;
        shownLabel = userLabel;
        if (newPasswords.empty()) {
            ADD_FAILURE() << "unexpected password dialog";
            return false;
        }
        newPassword = newPasswords.front();
        newPasswords.erase(newPasswords.begin());
        return !newPassword.isEmpty();
    }
};

class UserDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        CommonInit();
        LanguageID = 0;
        if (OnPostgres()) {
            // The data module makes the empty database on the server, as on a lab's
            // first start.
            QString error;
            serverDatabase = CreateServerDatabase(&error);
            ASSERT_FALSE(serverDatabase.isEmpty()) << error.toStdString();
            DatabaseDir = serverDatabase;
            // As a copy of the empty database file would: its tables and rows, named
            // in no language yet.
            {
                QSqlDatabase db = OpenFolderDatabase("other", DatabaseDir, false, &error);
                ASSERT_TRUE(db.isOpen()) << error.toStdString();
                ASSERT_TRUE(CopyMissingTables(db, FolderDatabasePath(EmptyDatabaseDir), {}, nullptr, &error))
                    << error.toStdString();
            }
        } else {
            QDir().mkpath(DatabaseDir);
            ASSERT_TRUE(QFile::copy(FolderDatabasePath(EmptyDatabaseDir), FolderDatabasePath(DatabaseDir)));
        }
        SetClock([this] { return moment; });
        module = std::make_unique<TDataModule1>();
        ASSERT_TRUE(module->TablesOpen());
        SetLoginPrompt(&prompt);
    }
    void TearDown() override
    {
        SetLoginPrompt(nullptr);
        module.reset();
        CloseFolderDatabase("other");
        CloseFolderDatabase("spelling");
        SetClock({});
        CurrentUserID = CurrentUserRights = CurrentGroupID = 0;
        CurrentUserName.clear();
        CurrentDiagramKind = false;
        CurrentRecordID = CurrentTemplateID = 0;
        LoadedItemChangeCounter = -1;
        DiagramLockOwnerID = 0;
        HistoryOriginalValues.clear();
        HistoryNewValues.clear();
        LastLoggedInUserID = 1;
        if (!serverDatabase.isEmpty()) {
            CloseFolderDatabase("other");
            DropServerDatabase(serverDatabase);
            serverDatabase.clear();
        }
        CommonDone();
    }

    // Another workstation's connection to the shared database.
    static QSqlDatabase Other()
    {
        QString error;
        QSqlDatabase db = OpenFolderDatabase("other", DatabaseDir, false, &error);
        EXPECT_TRUE(db.isOpen()) << error.toStdString();
        return db;
    }
    static int AddUser(const QString& name, const QString& password, int rights = 3, int group = 1, int active = 1,
        const QString& first = "Eva", const QString& last = "Nová", int mustChange = 0)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        EXPECT_TRUE(ExecBound(query,
            "INSERT INTO Administration (UserRights, UserGroup, Aktivny, UserName, UserPassword, FirstName, "
            "LastName, NumberID, PasswordHash, MustChangePassword) VALUES (?, ?, ?, ?, '', ?, ?, '', ?, ?)",
            { rights, group, active, name, first, last, password.isNull() ? QString() : HashPassword(password, 1),
                mustChange }));
        return LastInsertId(db, query).toInt();
    }
    static QVariantMap Row(const QString& table, qint64 id)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        QVariantMap row;
        if (ExecBound(query, "SELECT * FROM " + QuoteName(table) + " WHERE ID = ?", { id }) && query.next())
            for (int i = 0; i < query.record().count(); ++i)
                row.insert(SpelledName(table, query.record().fieldName(i)), query.value(i));
        return row;
    }
    // A column's name as the empty database spells it (PostgreSQL gives names in lower
    // case).
    static QString SpelledName(const QString& table, const QString& name)
    {
        if (!OnPostgres())
            return name;
        static QMap<QString, QStringList> spelled;
        if (!spelled.contains(table)) {
            QSqlDatabase empty = OpenFolderDatabase("spelling", EmptyDatabaseDir, false);
            spelled.insert(table, ColumnNames(empty, table));
        }
        for (const QString& column : spelled.value(table))
            if (column.compare(name, Qt::CaseInsensitive) == 0)
                return column;
        // The folder columns of groups made since (IDDB2 ...).
        if (name.startsWith("iddb"))
            return name.toUpper();
        return name;
    }
    static int Count(const QString& table)
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        return ExecBound(query, "SELECT count(*) FROM " + QuoteName(table)) && query.next() ? query.value(0).toInt()
                                                                                            : -1;
    }

    QDateTime moment { QDate(2026, 3, 9), QTime(8, 15, 30, 250) };
    ScriptedLoginPrompt prompt;
    std::unique_ptr<TDataModule1> module;
    QString serverDatabase; // the test's database on the PostgreSQL cluster, when it runs there
};

} // namespace orvek::test
