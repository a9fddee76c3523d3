#include "database/folder_groups.h"

#include "core/string_table.h"
#include "database/diagram_row_counters.h"
#include "platform/db_session.h"
#include "tests/support/user_database_fixture.h"
#include "tests/support/sql_helpers.h"

using namespace orvek;

namespace {

class FolderGroups : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        DataModule1 = module.get();
        db = module->SessionOrvek().Database(AliasDB);
        ASSERT_TRUE(db.isOpen());
    }
    void TearDown() override
    {
        db = QSqlDatabase();
        DataModule1 = nullptr;
        test::UserDatabase::TearDown();
    }
    static qint64 Insert(const QString& sql, const QVariantList& values = {})
    {
        QSqlDatabase other = Other();
        QSqlQuery query(other);
        EXPECT_TRUE(ExecBound(query, sql, values)) << sql.toStdString();
        return LastInsertId(other, query).toLongLong();
    }
    static void Exec(const QString& sql, const QVariantList& values = {})
    {
        QSqlDatabase other = Other();
        QSqlQuery query(other);
        EXPECT_TRUE(ExecBound(query, sql, values)) << sql.toStdString();
    }
    // One column of one row. The statements name their columns: a "SELECT *" prepared
    // on a connection that has not read the schema since another connection added a
    // column crashes Qt's SQLite driver, which sizes the row before SQLite re-prepares.
    static QVariant Value(const QString& table, qint64 id, const QString& column)
    {
        QSqlDatabase other = Other();
        QSqlQuery query(other);
        EXPECT_TRUE(
            ExecBound(query, "SELECT " + QuoteName(column) + " FROM " + QuoteName(table) + " WHERE ID = ?", { id }));
        return query.next() ? query.value(0) : QVariant();
    }
    static qint64 Counter(const QString& table, qint64 id) { return Value(table, id, "ChangeCounter").toLongLong(); }
    QStringList Columns(const QString& table) { return ColumnNames(db, table); }
    int NewGroup(const QString& name = QString::fromUtf8("Laboratórium č. 2"))
    {
        int id = 0;
        QString reason;
        EXPECT_TRUE(CreateFolderGroup(db, name, id, &reason)) << reason.toStdString();
        return id;
    }

    QSqlDatabase db;
};

TEST_F(FolderGroups, ACreatedGroupHasItsFolderTablesColumnsAndCounters)
{
    const qint64 record = Insert("INSERT INTO TreeDB (NazovMerania, Strom) VALUES ('m', 's')");
    const qint64 templ = Insert("INSERT INTO TemplateDB (TemplateName, Strom) VALUES ('t', 's')");
    const qint64 recordCounter = Counter("TreeDB", record), templateCounter = Counter("TemplateDB", templ);

    const int id = NewGroup();
    ASSERT_GT(id, 1);
    EXPECT_EQ(GroupCount, 2);
    ASSERT_EQ(GroupIndexOf(id), 1);
    EXPECT_EQ(GroupList.at(1).Description, QString::fromUtf8("Laboratórium č. 2"));
    for (const QString& table : { RecordFolderTable(id), TemplateFolderTable(id) }) {
        EXPECT_EQ(test::QueryColumn(db, "SELECT ID || '=' || Description FROM " + QuoteName(table) + " ORDER BY ID"),
            QStringList({ "0=" + GetString(832), "1=" + GetString(878) }));
        EXPECT_GE(ReadChangeCounter(db, table), 0) << table.toStdString();
    }
    // The new column reads "0" in every row, and no row counts as changed for it.
    const QString column = GroupFolderColumn(id);
    EXPECT_EQ(Value("TreeDB", record, column).toString(), "0");
    EXPECT_EQ(Value("TemplateDB", templ, column).toString(), "0");
    EXPECT_EQ(Counter("TreeDB", record), recordCounter);
    EXPECT_EQ(Counter("TemplateDB", templ), templateCounter);
    EXPECT_EQ(DeclaredFieldSize(db, "TemplateDB", column), 5);

    // Only a change of the diagram raises a row's change counter: no move, lock or
    // head edit of another user makes a store look stale.
    const struct {
        const char* table;
        qint64 id;
        const char* column;
        bool counts;
    } changes[] = {
        { "TreeDB", record, "IDDB1", false },
        { "TreeDB", record, nullptr, false }, // the new group's column
        { "TreeDB", record, "NazovMerania", false },
        { "TreeDB", record, "SampleID", false },
        { "TreeDB", record, "Datum", false },
        { "TreeDB", record, "OpenedByUserID", false },
        { "TreeDB", record, "Strom", true },
        { "TemplateDB", templ, nullptr, false },
        { "TemplateDB", templ, "TemplateName", false },
        { "TemplateDB", templ, "CreateDate", false },
        { "TemplateDB", templ, "Strom", true },
        { "TemplateDB", templ, "MainEquation", true },
    };
    for (const auto& change : changes) {
        const QString name = change.column ? QString::fromLatin1(change.column) : column;
        SCOPED_TRACE(QString("%1.%2").arg(change.table, name).toStdString());
        const qint64 before = Counter(change.table, change.id);
        Exec("UPDATE " + QuoteName(change.table) + " SET " + QuoteName(name) + " = '7' WHERE ID = ?", { change.id });
        EXPECT_EQ(Counter(change.table, change.id), before + (change.counts ? 1 : 0));
    }
}

TEST_F(FolderGroups, NamesMustBeGivenAndFit)
{
    const int id = NewGroup();
    const struct {
        QString name;
        QString reason;
    } refused[] = {
        { "", GetString(21700) },
        { "   ", GetString(21700) },
        { QString(kGroupNameSize + 1, QChar(u'ž')), GetString(21701, { kGroupNameSize }) },
    };
    for (const auto& r : refused) {
        int newId = -1;
        QString reason;
        EXPECT_FALSE(CreateFolderGroup(db, r.name, newId, &reason));
        EXPECT_EQ(newId, 0);
        EXPECT_EQ(reason, r.reason);
        reason.clear();
        EXPECT_FALSE(RenameFolderGroup(db, id, r.name, &reason));
        EXPECT_EQ(reason, r.reason);
    }
    EXPECT_EQ(Count("MeasureNameList"), 2);

    QString reason;
    ASSERT_TRUE(RenameFolderGroup(db, id, "  Metrológia \"A\" ", &reason));
    EXPECT_EQ(GroupList.at(GroupIndexOf(id)).Description, "Metrológia \"A\"");
    EXPECT_FALSE(RenameFolderGroup(db, 999, "x", &reason));
    EXPECT_EQ(reason, GetString(21705));
}

TEST_F(FolderGroups, AGroupThatIsUsedCannotBeDeleted)
{
    QString reason;
    EXPECT_FALSE(DeleteFolderGroup(db, 1, &reason));
    EXPECT_EQ(reason, GetString(826)); // the only group

    const int spare = NewGroup("spare");
    EXPECT_FALSE(DeleteFolderGroup(db, 1, &reason));
    EXPECT_EQ(reason, GetString(21703)); // its IDDB1 files every item

    const struct {
        const char* sql;
        int users, records, templates;
    } uses[] = {
        { "INSERT INTO Administration (UserName, UserGroup, UserRights, Aktivny) VALUES ('u', ?, 3, 1)", 1, 0, 0 },
        { "INSERT INTO TreeDB (GroupID, NazovMerania) VALUES (?, 'r')", 0, 1, 0 },
        // A template in the bin still belongs to the group.
        { "INSERT INTO TemplateDB (GroupID, TemplateName, IDDB1) VALUES (?, 't', '1')", 0, 0, 1 },
    };
    for (const auto& use : uses) {
        SCOPED_TRACE(use.sql);
        const int id = NewGroup();
        const qint64 row = Insert(use.sql, { id });
        EXPECT_FALSE(DeleteFolderGroup(db, id, &reason));
        EXPECT_EQ(reason, GetString(21704, { use.users, use.records, use.templates }));
        EXPECT_TRUE(TableExists(db, TemplateFolderTable(id)));
        EXPECT_TRUE(Columns("TemplateDB").contains(GroupFolderColumn(id)));
        EXPECT_NE(GroupIndexOf(id), -1);
        Q_UNUSED(row);
    }
    EXPECT_TRUE(DeleteFolderGroup(db, spare, &reason)) << reason.toStdString();
}

TEST_F(FolderGroups, AGroupWhoseColumnTheTriggerWatchedIsDeletedWhole)
{
    const int id = NewGroup();
    const QString column = GroupFolderColumn(id);
    // A trigger built as older databases have it names every column but the lock.
    ASSERT_TRUE(InstallRowChangeCounter(db, "TreeDB", { "OpenedByUserID" }));
    ASSERT_TRUE(InstallRowChangeCounter(db, "TemplateDB", { "OpenedByUserID" }));
    const qint64 templ = Insert("INSERT INTO TemplateDB (GroupID, TemplateName, Strom) VALUES (1, 't', 's')");

    QString reason;
    ASSERT_TRUE(DeleteFolderGroup(db, id, &reason)) << reason.toStdString();
    EXPECT_FALSE(Columns("TreeDB").contains(column));
    EXPECT_FALSE(Columns("TemplateDB").contains(column));
    EXPECT_TRUE(Columns("TemplateDB").contains("IDDB1"));
    EXPECT_FALSE(TableExists(db, RecordFolderTable(id)));
    EXPECT_FALSE(TableExists(db, TemplateFolderTable(id)));
    EXPECT_EQ(ReadChangeCounter(db, TemplateFolderTable(id)), -1);
    EXPECT_EQ(GroupIndexOf(id), -1);
    EXPECT_EQ(GroupCount, 1);
    // The trigger is back, with the lists that leave moves and head edits out.
    const qint64 before = Counter("TemplateDB", templ);
    Exec("UPDATE TemplateDB SET IDDB1 = '5', TemplateName = 'u' WHERE ID = ?", { templ });
    EXPECT_EQ(Counter("TemplateDB", templ), before);
    Exec("UPDATE TemplateDB SET Strom = 'changed' WHERE ID = ?", { templ });
    EXPECT_EQ(Counter("TemplateDB", templ), before + 1);
}

TEST_F(FolderGroups, MissingTemplateFolderTablesAreMadeForEveryGroup)
{
    const int id = NewGroup();
    Exec("DROP TABLE " + QuoteName(TemplateFolderTable(id)));
    Exec("INSERT INTO TemplateID1 (ID, OwnerID, Description) VALUES ('2', '', 'kept')");
    EXPECT_EQ(PrepareTemplateFolderTables(db), 2); // IDDB1 and the new group's column
    EXPECT_EQ(test::QueryColumn(db, "SELECT ID FROM " + QuoteName(TemplateFolderTable(id)) + " ORDER BY ID"),
        QStringList({ "0", "1" }));
    EXPECT_GE(ReadChangeCounter(db, TemplateFolderTable(id)), 0);
    EXPECT_EQ(test::QueryColumn(db, "SELECT ID FROM TemplateID1 ORDER BY ID"), QStringList({ "0", "1", "2" }));
}

TEST_F(FolderGroups, AFolderSubtreeDeleteStaysInItsGroup)
{
    // Folders 2 > 3 > 4 and 5 beside them; 6 and 7 name each other as owner.
    for (const auto& [id, owner] :
        { std::pair { "2", "" }, { "3", "2" }, { "4", "3" }, { "5", "" }, { "6", "7" }, { "7", "6" } })
        Exec("INSERT INTO TemplateID1 (ID, OwnerID, Description) VALUES (?, ?, ?)",
            { id, owner, QString("folder %1").arg(id) });
    EXPECT_EQ(CollectSubfolderIds(db, "TemplateID1", "2"), QStringList({ "2", "3", "4" }));
    EXPECT_EQ(CollectSubfolderIds(db, "TemplateID1", "6"), QStringList({ "6", "7" }));

    QMap<QString, qint64> templates;
    for (const char* folder : { "2", "3", "4", "5" })
        templates[folder]
            = Insert("INSERT INTO TemplateDB (GroupID, TemplateName, IDDB1) VALUES (1, 't', ?)", { folder });
    // A template of another group filed under a folder with the same ID.
    const qint64 otherGroup = Insert("INSERT INTO TemplateDB (GroupID, TemplateName, IDDB1) VALUES (2, 'o', '3')");

    ASSERT_TRUE(MoveFoldersToDeleted(
        "TemplateDB", "IDDB1", CollectSubfolderIds(db, "TemplateID1", "2"), 1, TemplateFolderTable(1)));
    for (const char* folder : { "2", "3", "4" })
        EXPECT_EQ(Value("TemplateDB", templates[folder], "IDDB1").toString(), "1") << folder;
    EXPECT_EQ(Value("TemplateDB", templates["5"], "IDDB1").toString(), "5");
    EXPECT_EQ(Value("TemplateDB", otherGroup, "IDDB1").toString(), "3");
    EXPECT_EQ(
        test::QueryColumn(db, "SELECT ID FROM TemplateID1 ORDER BY ID"), QStringList({ "0", "1", "5", "6", "7" }));

    // The fixed folders are never deleted, whatever the list holds.
    ASSERT_TRUE(MoveFoldersToDeleted("TemplateDB", "IDDB1", { "0", "1" }, 1, "TemplateID1"));
    EXPECT_EQ(
        test::QueryColumn(db, "SELECT ID FROM TemplateID1 ORDER BY ID"), QStringList({ "0", "1", "5", "6", "7" }));
}

} // namespace
