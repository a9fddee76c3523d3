#pragma once
// A records database with folders in MeasureID1, a cursor on that table and helpers that
// change the folders as another workstation.

#include "database/folder_table_cursor.h"
#include "tests/support/user_database_fixture.h"
#include "tests/support/sql_helpers.h"

#include <initializer_list>
#include <ostream>

// Readable texts in the failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace orvek::test {

struct FolderRow {
    const char* id;
    const char* owner;
    const char* text;
};

class FolderDatabase : public UserDatabase {
protected:
    void SetUp() override
    {
        UserDatabase::SetUp();
        DataModule1 = module.get();
        folders.SetSession(&module->SessionOrvek());
        folders.DatabaseName = AliasDB;
        folders.TableName = "MeasureID1";
    }
    void TearDown() override
    {
        folders.Close();
        DataModule1 = nullptr;
        UserDatabase::TearDown();
    }
    // A statement of another workstation.
    static bool OtherExec(const QString& sql, const QVariantList& values = {})
    {
        QSqlDatabase db = Other();
        QString error;
        const bool ok = PostStatement(db, sql, values, &error);
        EXPECT_TRUE(ok) << error.toStdString();
        return ok;
    }
    static void AddFolders(std::initializer_list<FolderRow> rows)
    {
        for (const FolderRow& row : rows)
            OtherExec("INSERT INTO MeasureID1 (ID, OwnerID, Description) VALUES (?, ?, ?)",
                { row.id, row.owner, QString::fromUtf8(row.text) });
    }
    static QStringList Query(const QString& sql, const QVariantList& values = {})
    {
        QSqlDatabase db = Other();
        return QueryColumn(db, sql, values);
    }
    // "ID:OwnerID" of every folder, in ID order.
    static QStringList FolderRows() { return Query("SELECT ID || ':' || OwnerID FROM MeasureID1 ORDER BY ID"); }

    FolderTableCursor folders;
};

} // namespace orvek::test
