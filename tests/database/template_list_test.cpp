#include "database/template_list.h"

#include "platform/db_session.h"
#include "tests/support/user_database_fixture.h"

#include <QSet>

using namespace orvek;

namespace {

class TemplateList : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        DataModule1 = module.get();
        list = std::make_unique<TTemplateList>(&module->SessionOrvek());
        const struct {
            int group;
            const char* folder;
            const char* name;
        } rows[] = {
            { 1, "2", "Kalibrácia váh 50%" }, { 1, "2", "Kalibrácia_váh" }, { 1, "2", "Váhy 'A'" },
            { 1, "2", "Meranie ČISTOTY" }, { 1, "2", "ABC" }, { 1, "2", "Cesta C:\\x" },
            { 1, "3", "kalibrácia čerpadla" }, { 1, "3", "X 50 percent" }, { 1, "0", "Nezaradená" },
            { 1, "1", "V koši" }, { 2, "2", "Kalibrácia váh 50%" }, // another group, same folder ID
        };
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        for (const auto& row : rows) {
            ASSERT_TRUE(ExecBound(query, "INSERT INTO TemplateDB (GroupID, IDDB1, TemplateName) VALUES (?, ?, ?)",
                { row.group, row.folder, QString::fromUtf8(row.name) }));
            ids[QString::fromUtf8(row.name) + (row.group == 2 ? "@2" : "")] = query.lastInsertId().toInt();
        }
        ASSERT_TRUE(ExecBound(query, "INSERT INTO TreeDB (GroupID, FromTemplateID) VALUES (1, ?)", { ids["ABC"] }));
    }
    void TearDown() override
    {
        list.reset();
        DataModule1 = nullptr;
        test::UserDatabase::TearDown();
    }
    // The template names the request lists, in the answer's order.
    QStringList Names(const TTemplateListRequest& request)
    {
        TTemplateStatement statement;
        EXPECT_TRUE(BuildTemplateStatement(request, statement));
        QString error;
        EXPECT_TRUE(list->Open(statement, &error)) << error.toStdString();
        QStringList names;
        for (int row = 0; row < list->RowCount(); ++row)
            names << list->Field(row, 3).toString();
        return names;
    }

    QMap<QString, int> ids;
    std::unique_ptr<TTemplateList> list;
};

TEST_F(TemplateList, TheStatementMatchesTheSearchTextLiterally)
{
    const struct {
        int mode;
        const char* folder;
        bool search;
        TSearchKind kind;
        const char* text;
        QStringList expected;
    } cases[] = {
        { kTemplatesOfFolder, "2", false, TSearchKind::Substring, "",
            { "Kalibrácia váh 50%", "Kalibrácia_váh", "Váhy 'A'", "Meranie ČISTOTY", "ABC", "Cesta C:\\x" } },
        { kTemplatesOfFolder, "", false, TSearchKind::Substring, "", { "Nezaradená" } }, // no folder: "0"
        { kTemplatesOfFolder, kDeletedFolder, false, TSearchKind::Substring, "", { "V koši" } },
        { kTemplatesOfGroup, "2", true, TSearchKind::Substring, "50%", { "Kalibrácia váh 50%" } },
        { kTemplatesOfGroup, "2", true, TSearchKind::Substring, "_", { "Kalibrácia_váh" } },
        { kTemplatesOfGroup, "2", true, TSearchKind::Substring, "\\", { "Cesta C:\\x" } },
        { kTemplatesOfGroup, "2", true, TSearchKind::Substring, "'a'", { "Váhy 'A'" } },
        { kTemplatesOfGroup, "2", true, TSearchKind::Substring, "čistoty", { "Meranie ČISTOTY" } },
        { kTemplatesOfGroup, "2", true, TSearchKind::Beginning, "kalibrácia",
            { "Kalibrácia váh 50%", "Kalibrácia_váh", "kalibrácia čerpadla" } },
        { kTemplatesOfGroup, "2", true, TSearchKind::Beginning, "%", {} },
        { kTemplatesOfFolder, "3", true, TSearchKind::Beginning, "KALIBRÁCIA", { "kalibrácia čerpadla" } },
        { kTemplatesOfFolder, "3", true, TSearchKind::Substring, "50", { "X 50 percent" } },
        { kTemplatesOfGroup, "2", true, TSearchKind::Exact, "abc", { "ABC" } },
        { kTemplatesOfGroup, "2", true, TSearchKind::Exact, "AB", {} },
        { kTemplatesOfGroup, "2", true, TSearchKind::Exact, "váhy 'a'", { "Váhy 'A'" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", folder " << c.folder << ", kind " << int(c.kind)
                                        << ", text " << c.text);
        TTemplateListRequest request;
        request.ViewMode = c.mode;
        request.GroupID = 1;
        request.FolderID = QString::fromUtf8(c.folder);
        request.SearchActive = c.search;
        request.SearchField = "TemplateName";
        request.SearchKind = c.kind;
        request.SearchText = QString::fromUtf8(c.text);
        QStringList expected;
        for (const QString& name : c.expected)
            expected << name;
        EXPECT_EQ(Names(request), expected);
    }
}

TEST_F(TemplateList, OnlyGridColumnsAndFolderColumnsEnterTheStatement)
{
    TTemplateStatement statement;
    TTemplateListRequest request;
    request.GroupID = 1;
    request.SearchActive = true;
    request.SearchText = "x";
    for (const char* field : { "Strom", "TemplateName) OR (1=1", "" }) {
        request.SearchField = field;
        EXPECT_FALSE(BuildTemplateStatement(request, statement)) << field;
        EXPECT_TRUE(statement.Sql.isEmpty());
    }
    request.SearchActive = false;
    QSqlDatabase db = module->SessionOrvek().Database(AliasDB);
    EXPECT_EQ(TemplateFolderOf(db, ids["kalibrácia čerpadla"]), "3");
    EXPECT_EQ(TemplateFolderOf(db, 9999), "");
    EXPECT_EQ(TemplateFolderOf(db, ids["ABC"], "GroupID"), "");
    request.FolderColumn = "GroupID";
    EXPECT_FALSE(BuildTemplateStatement(request, statement));
    request.FolderColumn = "IDDB7";
    EXPECT_TRUE(BuildTemplateStatement(request, statement));
}

TEST_F(TemplateList, SortsByTheShownColumnsAndTellsWhichTemplatesAreInUse)
{
    QSqlDatabase db = Other();
    QSqlQuery query(db);
    for (const char* name : { "Chlieb", "hrom", "čaj", "cesta", "Dom" })
        ASSERT_TRUE(
            ExecBound(query, "INSERT INTO TemplateDB (GroupID, IDDB1, TemplateName, CreateDate) VALUES (1, '5', ?, ?)",
                { QString::fromUtf8(name), "2026-01-01" }));
    TTemplateListRequest request;
    request.GroupID = 1;
    request.FolderID = "5";
    Names(request);
    const TTemplateGridDescriptors descriptors = MakeTemplateGridDescriptors();
    ASSERT_TRUE(list->Sort(TemplateSortKeys(descriptors, { 3, 4, 5, 2 })));
    QStringList sorted;
    for (int row = 0; row < list->RowCount(); ++row)
        sorted << list->Field(row, 3).toString();
    // Slovak order, without regard to case: c, č, d, h, ch.
    EXPECT_EQ(sorted, QStringList({ "cesta", "čaj", "Dom", "hrom", "Chlieb" }));

    int id = 0;
    EXPECT_EQ(list->LocateTemplate(id), 0);
    EXPECT_EQ(list->Field(0, 3).toString(), "cesta");
    EXPECT_EQ(id, list->RowID(0));
    id = list->RowID(3);
    EXPECT_EQ(list->LocateTemplate(id), 3);
    id = ids["ABC"];
    EXPECT_EQ(list->LocateTemplate(id), -1);

    request.FolderID = "2";
    const QStringList names = Names(request);
    for (int row = 0; row < list->RowCount(); ++row)
        EXPECT_EQ(list->RowInUse(row), names.at(row) == "ABC") << names.at(row).toStdString();
}

} // namespace
