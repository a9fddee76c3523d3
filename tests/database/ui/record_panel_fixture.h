#pragma once
// A record panel's database: three levels of folders in group 1 with records in each,
// the main administrator logged in, and a main-window double.

#include "core/common_vars.h"
#include "database/data_module.h"
#include "database/record_writes.h"
#include "database/ui/record_view_panel.h"
#include "platform/db_session.h"
#include "tests/support/main_window_double.h"
#include "tests/support/sql_helpers.h"
#include "tests/support/user_database_fixture.h"

#include <QList>
#include <QSqlDatabase>

namespace orvek {

// Three levels of folders in group 1, records in each, the main administrator logged in.
class RecordPanel : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        db = module->SessionOrvek().Database(AliasDB);
        ASSERT_TRUE(db.isOpen());
        CurrentUserID = 1;
        CurrentUserRights = 1;
        CurrentGroupID = 1;
        for (const auto& [id, owner, text] :
            { std::tuple { "2", "", "Laboratórium" }, { "3", "2", "Váhy" }, { "4", "3", "Kalibrácia" } })
            ASSERT_TRUE(PostStatement(
                db, "INSERT INTO MeasureID1 (ID, OwnerID, Description) VALUES (?, ?, ?)", { id, owner, text }));
        lab = Add("2", "Hustota vody");
        scale1 = Add("3", "Kalibrácia váh A");
        scale2 = Add("3", "Čistota závažia");
        deep = Add("4", "Kalibrácia teplomera");
        DataModule1 = module.get();
    }
    void TearDown() override
    {
        DataModule1 = nullptr;
        db = QSqlDatabase();
        test::UserDatabase::TearDown();
    }
    int Add(const QString& folder, const QString& name)
    {
        TNewRecord record;
        record.GroupID = 1;
        record.FolderID = folder;
        record.RecordName = name;
        record.UserName = "Eva Nová";
        record.UserID = 1;
        record.SampleID = "S-" + folder;
        return int(AppendRecord(db, record));
    }
    static QList<int> Rows(RecordViewPanel& panel)
    {
        QList<int> ids;
        for (int row = 0; row < panel.View().RowCount(); ++row)
            ids << panel.View().RowID(row);
        return ids;
    }

    QSqlDatabase db;
    test::MainWindowDouble window;
    int lab = 0, scale1 = 0, scale2 = 0, deep = 0;
};

} // namespace orvek
