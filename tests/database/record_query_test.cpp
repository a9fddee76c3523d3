#include "database/record_query.h"

#include "database/sortable_query.h"
#include "platform/db_session.h"
#include "tests/support/user_database_fixture.h"

#include <QSqlError>

namespace orvek {
namespace {

class RecordQuery : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        db = module->SessionOrvek().Database(AliasDB);
        ASSERT_TRUE(db.isOpen());
    }
    void TearDown() override
    {
        db = QSqlDatabase();
        test::UserDatabase::TearDown();
    }

    qint64 AddRecord(int group, const QString& folder, int owner, const QString& name, const QString& sample = {},
        const QString& date = "2026-01-01", const QString& creator = "Eva", const QString& templateName = {})
    {
        QSqlQuery query(db);
        EXPECT_TRUE(ExecBound(query,
            "INSERT INTO TreeDB (GroupID, IDDB1, PracovnikID, NazovMerania, SampleID, Datum, MenoPracovnika, "
            "NazovVzoru, FromTemplateID, Strom) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, 'not read')",
            { group, folder, owner, name, sample, date, creator, templateName }))
            << query.lastError().text().toStdString();
        return query.lastInsertId().toLongLong();
    }

    QList<qint64> Run(const TRecordStatement& statement)
    {
        QSqlQuery query(db);
        QList<qint64> ids;
        EXPECT_TRUE(ExecBound(query, statement.Sql + " ORDER BY ID", statement.Values))
            << statement.Sql.toStdString() << " " << query.lastError().text().toStdString();
        while (query.next())
            ids << query.value(0).toLongLong();
        return ids;
    }

    QSqlDatabase db;
};

TEST_F(RecordQuery, StatementFollowsRightsModeOwnerAndSearch)
{
    const qint64 mass = AddRecord(1, "2", 5, "Hmotnosť");
    const qint64 percent = AddRecord(1, "2", 6, "50% roztok");
    const qint64 quoted = AddRecord(1, "3", 5, "Tlak \"A\" it's");
    AddRecord(2, "2", 5, "Hmotnosť inej skupiny");
    const qint64 time = AddRecord(1, "2", 6, "čas");
    const qint64 plain = AddRecord(1, "2", 5, "50 roztok");

    struct Case {
        const char* what;
        int rights, user, shownOwner, mode;
        QString folder;
        bool search;
        TSearchKind kind;
        QString text;
        QList<qint64> expected;
        int expectedOwner;
    };
    const auto S = TSearchKind::Substring;
    const Case cases[] = {
        { "user sees every owner of the folder", 3, 5, 0, 0, "2", false, S, {}, { mass, percent, time, plain }, 5 },
        { "administrator as a user", 2, 5, 9, 0, "2", false, S, {}, { mass, percent, time, plain }, 5 },
        { "main administrator, all owners", 1, 1, 0, 0, "2", false, S, {}, { mass, percent, time, plain }, 0 },
        { "main administrator, one owner", 1, 1, 6, 0, "2", false, S, {}, { percent, time }, 6 },
        { "whole group", 1, 1, 0, 1, "2", false, S, {}, { mass, percent, quoted, time, plain }, 0 },
        { "empty folder id is the unassigned folder", 3, 5, 0, 0, "", false, S, {}, {}, 5 },
        { "quote and apostrophe", 3, 5, 0, 1, "", true, S, "\"a\" IT'S", { quoted }, 5 },
        { "percent is literal", 3, 5, 0, 0, "2", true, S, "50%", { percent }, 5 },
        { "underscore is literal", 3, 5, 0, 0, "2", true, S, "50_", {}, 5 },
        { "Slovak letter in any case", 3, 5, 0, 0, "2", true, TSearchKind::Beginning, "Č", { time }, 5 },
        { "begins", 3, 5, 0, 1, "", true, TSearchKind::Beginning, "roztok", {}, 5 },
        { "exact", 1, 1, 0, 1, "", true, TSearchKind::Exact, "ČAS", { time }, 0 },
        { "exact is not a prefix", 1, 1, 0, 1, "", true, TSearchKind::Exact, "ča", {}, 0 },
        { "search with one owner", 1, 1, 5, 1, "", true, S, "roztok", { plain }, 5 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TRecordViewRequest request;
        request.UserRights = c.rights;
        request.CurrentUserID = c.user;
        request.ShownOwnerID = c.shownOwner;
        request.GroupID = 1;
        request.ViewMode = c.mode;
        request.FolderID = c.folder;
        request.SearchActive = c.search;
        request.SearchField = "NazovMerania";
        request.SearchKind = c.kind;
        request.SearchText = c.text;
        TRecordStatement statement;
        int owner = -1;
        ASSERT_TRUE(BuildRecordStatement(request, statement, &owner));
        EXPECT_FALSE(statement.Sql.contains("Strom"));
        EXPECT_EQ(Run(statement), c.expected);
        EXPECT_EQ(owner, c.expectedOwner);
    }
}

TEST_F(RecordQuery, RefusesWhatCouldNotComeFromTheView)
{
    TRecordViewRequest request;
    request.UserRights = 3;
    request.GroupID = 1;
    TRecordStatement statement;
    ASSERT_TRUE(BuildRecordStatement(request, statement));

    TRecordViewRequest noLogin = request;
    noLogin.UserRights = 0;
    TRecordViewRequest badColumn = request;
    badColumn.FolderColumn = "NazovMerania";
    TRecordViewRequest hiddenField = request;
    hiddenField.SearchActive = true;
    hiddenField.SearchField = "Strom";
    hiddenField.SearchText = "x";
    for (const TRecordViewRequest& refused : { noLogin, badColumn, hiddenField }) {
        EXPECT_FALSE(BuildRecordStatement(refused, statement));
        EXPECT_TRUE(statement.Sql.isEmpty());
    }
}

// The answer table sorted by the shown columns in display order, as the grid reads it.
TEST_F(RecordQuery, SortsByEachShownColumnInDisplayOrder)
{
    const qint64 cena = AddRecord(1, "0", 1, "Cena", "b2", "2026-01-03", "Žofia", "vzor B");
    const qint64 chlor = AddRecord(1, "0", 1, "chlór", "A1", "2026-01-01", "adam", "Vzor a");
    const qint64 cas = AddRecord(1, "0", 1, "Čas", "a1", "2026-01-02", "Adam", "vzor c");
    const qint64 hlina = AddRecord(1, "0", 1, "hlina", "B2", "2026-01-02", "čestmír", "Vzor a");

    TRecordViewRequest request;
    request.UserRights = 1;
    request.GroupID = 1;
    TRecordStatement statement;
    ASSERT_TRUE(BuildRecordStatement(request, statement));
    const TRecordGridDescriptors descriptors = MakeRecordGridDescriptors();
    EXPECT_EQ(descriptors[3].Title, GetString(646));
    EXPECT_EQ(descriptors[7].Title, GetString(334));

    struct Case {
        QStringList columns; // field names in display order
        QList<qint64> expected;
    };
    const Case cases[] = {
        // Slovak order: c < č < h < ch.
        { { "NazovMerania", "SampleID", "Datum", "MenoPracovnika", "NazovVzoru" }, { cena, cas, hlina, chlor } },
        // Case-sensitive: lower before upper of the same letters.
        { { "SampleID", "NazovMerania", "Datum", "MenoPracovnika", "NazovVzoru" }, { cas, chlor, cena, hlina } },
        // Equal without regard to case: the next column decides.
        { { "MenoPracovnika", "Datum", "SampleID", "NazovMerania", "NazovVzoru" }, { chlor, cas, hlina, cena } },
        { { "Datum", "NazovVzoru", "SampleID", "MenoPracovnika", "NazovMerania" }, { chlor, hlina, cas, cena } },
        { { "NazovVzoru", "Datum", "SampleID", "MenoPracovnika", "NazovMerania" }, { chlor, hlina, cena, cas } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns.join(",").toStdString());
        const QVector<int> fields = RecordSortFieldsFromColumnFields(descriptors, c.columns);
        ASSERT_EQ(fields.size(), RecordGridSortCount);
        const TSortKeys keys = RecordSortKeys(descriptors, fields);
        TSortableQuery query(&module->SessionOrvek());
        query.DatabaseName = AliasDB;
        query.AnswerDirectory = TempDir;
        query.AnswerTableName = "RecordQueryAnswer";
        query.SQL = statement.Sql;
        query.Params = statement.Values;
        QString error;
        ASSERT_TRUE(query.Open(&error)) << error.toStdString();
        int sorted = 0;
        ASSERT_TRUE(query.SortAnswerTable(
            int(keys.FieldNumbers.size()), keys.FieldNumbers, keys.SortOrders, keys.CaseInsensitive, sorted, &error))
            << error.toStdString();
        EXPECT_EQ(sorted, 4);
        QList<qint64> ids;
        for (int row = 0; row < query.RowCount(); ++row)
            ids << query.Field(row, 1).toLongLong();
        EXPECT_EQ(ids, c.expected);
        query.Close();
    }
    EXPECT_TRUE(RecordSearchAllowed("NazovMerania"));
    EXPECT_TRUE(RecordSearchAllowed("NazovVzoru"));
    EXPECT_FALSE(RecordSearchAllowed("SampleID"));
}

} // namespace
} // namespace orvek
