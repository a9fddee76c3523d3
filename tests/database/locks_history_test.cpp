#include "database/locks_history.h"
#include "tests/support/user_database_fixture.h"

#include <QThread>
#include <atomic>

using namespace orvek;

namespace {

class LocksHistory : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        eva = AddUser("eva", "heslo1");
        jan = AddUser("jan", "heslo2", 3, 1, 1, "Ján", "Kráľ");
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        ASSERT_TRUE(ExecBound(query, "INSERT INTO TreeDB (NazovMerania, NazovVzoru) VALUES (?, ?)",
            { QString::fromUtf8("Kalibrácia váh"), "vzor" }));
        record = LastInsertId(db, query).toInt();
        ASSERT_TRUE(ExecBound(query, "INSERT INTO TemplateDB (TemplateName) VALUES (?)", { "Šablóna" }));
        templ = LastInsertId(db, query).toInt();
        CurrentUserID = eva;
        CurrentUserName = QString::fromUtf8("Eva Nová");
        CurrentGroupID = 1;
        CurrentRecordID = record;
        CurrentTemplateID = templ;
    }
    int Owner(const QString& table, int id) { return Row(table, id)["OpenedByUserID"].toInt(); }
    int eva = 0, jan = 0, record = 0, templ = 0;
};

TEST_F(LocksHistory, LockQueriesAndWritesOnRecordsAndTemplates)
{
    for (bool kind : { false, true }) {
        CurrentDiagramKind = kind;
        const QString table = kind ? "TemplateDB" : "TreeDB";
        const int id = kind ? templ : record;
        EXPECT_TRUE(module->CanLockItem());
        EXPECT_FALSE(module->IsItemLockedByMe());
        ASSERT_TRUE(module->LockItem());
        EXPECT_EQ(Owner(table, id), eva);
        EXPECT_TRUE(module->IsItemLockedByMe());
        EXPECT_TRUE(module->LockItem()); // already mine

        CurrentUserID = jan; // another workstation's user
        EXPECT_FALSE(module->CanLockItem());
        EXPECT_EQ(DiagramLockOwnerID, eva);
        DiagramLockOwnerID = 0;
        EXPECT_FALSE(module->LockItem());
        EXPECT_EQ(DiagramLockOwnerID, eva);
        EXPECT_TRUE(module->UnlockItem());
        EXPECT_EQ(Owner(table, id), eva); // not his lock to clear

        CurrentUserID = eva;
        EXPECT_TRUE(module->UnlockItem());
        EXPECT_EQ(Owner(table, id), 0);
        EXPECT_FALSE(module->IsItemLockedByMe());
    }
}

TEST_F(LocksHistory, MissingRowCountsAsFreeAndTheOwnerRelocksAfterACrash)
{
    CurrentRecordID = 0;
    EXPECT_TRUE(module->CanLockItem());
    EXPECT_TRUE(module->LockItem());
    CurrentRecordID = 9999;
    EXPECT_TRUE(module->CanLockItem());
    EXPECT_EQ(DiagramLockOwnerID, 0);
    EXPECT_TRUE(module->LockItem());

    // Eva's program ended without unlocking: the lock is still in the row.
    CurrentRecordID = record;
    ASSERT_TRUE(module->LockItem());
    module.reset();
    module = std::make_unique<TDataModule1>();
    EXPECT_EQ(Owner("TreeDB", record), eva);
    EXPECT_TRUE(module->CanLockItem());
    EXPECT_TRUE(module->LockItem());
}

TEST_F(LocksHistory, StaleLoadIsRefusedAfterAnotherWorkstationSaved)
{
    module->RememberLoadedChangeCounter();
    ASSERT_GE(LoadedItemChangeCounter, 0);
    {
        QSqlDatabase db = Other();
        ASSERT_TRUE(PostStatement(db, "UPDATE TreeDB SET Strom = ? WHERE ID = ?", { "BeginCell=;", record }));
    }
    bool changed = false;
    EXPECT_FALSE(module->LockItem(&changed));
    EXPECT_TRUE(changed);
    EXPECT_EQ(Owner("TreeDB", record), 0);
    module->RememberLoadedChangeCounter(); // the caller reloads
    EXPECT_TRUE(module->LockItem(&changed));
    EXPECT_FALSE(changed);
    // Taking the lock is not a change of the row.
    const qint64 seen = LoadedItemChangeCounter;
    module->RememberLoadedChangeCounter();
    EXPECT_EQ(LoadedItemChangeCounter, seen);
}

TEST_F(LocksHistory, TwoWorkstationsRacingForOneLockGetItOnce)
{
    const QString path = DatabaseDir;
    std::atomic<int> ready { 0 }, taken { 0 }, refused { 0 };
    auto workstation = [&](int userId) {
        const QString connection = QString("racer%1").arg(userId);
        {
            QSqlDatabase db = OpenFolderDatabase(connection, path, false);
            ++ready;
            while (ready < 2)
                QThread::yieldCurrentThread();
            int owner = 0;
            const LockOutcome outcome = TryLockRow(db, "TreeDB", record, userId, -1, &owner);
            if (outcome == LockOutcome::Taken)
                ++taken;
            else if (outcome == LockOutcome::HeldByOther && owner != userId)
                ++refused;
        }
        CloseFolderDatabase(connection);
    };
    for (int round = 0; round < 20; ++round) {
        ready = 0;
        taken = refused = 0;
        std::unique_ptr<QThread> a(QThread::create(workstation, eva));
        std::unique_ptr<QThread> b(QThread::create(workstation, jan));
        a->start();
        b->start();
        a->wait();
        b->wait();
        EXPECT_EQ(taken, 1) << round;
        EXPECT_EQ(refused, 1) << round;
        QSqlDatabase db = Other();
        ASSERT_TRUE(PostStatement(db, "UPDATE TreeDB SET OpenedByUserID = 0"));
    }
}

TEST_F(LocksHistory, HistoryRowsNameTheDiagramAndEmptyTheTexts)
{
    module->LogLogin();
    HistoryOriginalValues = "[cf3]x = 1[cf1]";
    HistoryNewValues = "x = 2";
    ASSERT_TRUE(module->WriteHistory());
    EXPECT_TRUE(HistoryOriginalValues.isEmpty());
    EXPECT_TRUE(HistoryNewValues.isEmpty());
    const QVariantMap row = Row("History", 1);
    EXPECT_EQ(row["PracovnikID"].toInt(), eva);
    EXPECT_EQ(row["PracovnikMeno"].toString(), QString::fromUtf8("Eva Nová"));
    EXPECT_EQ(row["LoginID"].toInt(), module->LoginID);
    EXPECT_EQ(row["GroupID"].toInt(), 1);
    EXPECT_EQ(row["DiagramID"].toInt(), record);
    EXPECT_EQ(row["DiagramName"].toString(), QString::fromUtf8("Kalibrácia váh"));
    EXPECT_EQ(row["Datum"].toString(), "2026-03-09");
    EXPECT_EQ(row["Cas"].toString(), "08:15:30.250");
    EXPECT_EQ(row["OriginalValues"].toString(), "[cf3]x = 1[cf1]");
    EXPECT_EQ(row["NewValues"].toString(), "x = 2");

    CurrentDiagramKind = true;
    ASSERT_TRUE(module->WriteHistory()); // empty texts still make a row
    const QVariantMap templateRow = Row("HistoryTemplate", 1);
    EXPECT_EQ(templateRow["DiagramName"].toString(), QString::fromUtf8("Šablóna"));
    EXPECT_EQ(templateRow["OriginalValues"].toString(), "");

    // A failed append: False, the error log says why, and the texts are gone anyway.
    {
        QSqlDatabase db = Other();
        ASSERT_TRUE(PostStatement(db, "DROP TABLE HistoryTemplate"));
    }
    HistoryOriginalValues = "a";
    HistoryNewValues = "b";
    EXPECT_FALSE(module->WriteHistory());
    EXPECT_TRUE(HistoryOriginalValues.isEmpty());
    EXPECT_TRUE(HistoryNewValues.isEmpty());
    QFile log(AppDir + kErrorLogFile);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("WriteHistory"));
}

TEST_F(LocksHistory, ValidationRowsAndTheLockService)
{
    QString error;
    ASSERT_TRUE(module->WriteValidationHistory("OK", "[cf3]All examples passed[cf1]", &error)) << error.toStdString();
    const QVariantMap row = Row("ValidationHistory", 1);
    EXPECT_EQ(row["ValidationDate"].toString(), "2026-03-09");
    EXPECT_EQ(row["ResultStr"].toString(), "OK");
    EXPECT_EQ(row["ResultMemo"].toString(), "[cf3]All examples passed[cf1]");

    DataModule1 = module.get();
    DataModuleRecordLocks locks;
    CurrentUserID = jan;
    ASSERT_TRUE(module->LockItem());
    CurrentUserID = eva;
    EXPECT_FALSE(locks.CanLockItem());
    EXPECT_EQ(locks.GetUserFullName(DiagramLockOwnerID), QString::fromUtf8("Ján Kráľ"));
    DataModule1 = nullptr;
}

} // namespace
