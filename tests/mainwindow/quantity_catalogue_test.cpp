// The catalogue of quantities and units on a copy of the empty database: the delivered
// rows, what is refused and why, and that units never outlive or pass to a quantity.

#include "core/string_table.h"
#include "mainwindow/quantity_catalogue.h"
#include "platform/sql_database.h"
#include "tests/support/user_database_fixture.h"

#include <QSqlQuery>

namespace orvek {
namespace {

class Catalogue : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        catalogue = std::make_unique<QuantityCatalogue>(*module);
        ASSERT_TRUE(catalogue->Open());
    }
    void TearDown() override
    {
        catalogue.reset();
        test::UserDatabase::TearDown();
    }
    static qint64 Scalar(const QString& sql, const QVariantList& values = {})
    {
        QSqlDatabase db = Other();
        QSqlQuery query(db);
        return ExecBound(query, sql, values) && query.next() ? query.value(0).toLongLong() : -1;
    }
    static void Exec(const QString& sql)
    {
        QSqlDatabase db = Other();
        ASSERT_TRUE(PostStatement(db, sql));
    }
    // An Original quantity of the delivered catalogue and one of its units.
    static qint64 OriginalQuantity() { return Scalar("SELECT min(ID) FROM Veliciny WHERE Original = 1"); }
    static qint64 OriginalUnit() { return Scalar("SELECT min(ID) FROM Jednotky WHERE Original = 1"); }

    std::unique_ptr<QuantityCatalogue> catalogue;
};

TEST_F(Catalogue, TheEmptyDatabaseShipsAConsistentCatalogueOfOriginalRows)
{
    EXPECT_GE(Count("Veliciny"), 40);
    EXPECT_GE(Count("Jednotky"), 150);
    EXPECT_EQ(Scalar("SELECT count(*) FROM Veliciny WHERE Original <> 1"), 0);
    EXPECT_EQ(Scalar("SELECT count(*) FROM Jednotky WHERE Original <> 1"), 0);
    // Every unit belongs to a quantity, every quantity has a unit.
    EXPECT_EQ(Scalar("SELECT count(*) FROM Jednotky WHERE VelicinaID NOT IN (SELECT ID FROM Veliciny)"), 0);
    EXPECT_EQ(Scalar("SELECT count(*) FROM Veliciny WHERE ID NOT IN (SELECT VelicinaID FROM Jednotky)"), 0);
    // Sort texts are plain: no formatting or character codes, no duplicates.
    EXPECT_EQ(Scalar("SELECT count(*) FROM Veliciny WHERE VelicinaSort LIKE '%;%' OR VelicinaSort LIKE '%[%'"), 0);
    EXPECT_EQ(Scalar("SELECT count(*) - count(DISTINCT upper(VelicinaSort)) FROM Veliciny"), 0);
    // Names are mark-up with letter codes; units use superscripts and Greek codes.
    EXPECT_EQ(Scalar("SELECT count(*) FROM Veliciny WHERE Velicina = 'd;aal;akzka' AND VelicinaSort = 'dlzka'"), 1);
    EXPECT_GE(Scalar("SELECT count(*) FROM Jednotky WHERE Jednotky = 'm[cf11]3[cf1]'"), 1);
    EXPECT_GE(Scalar("SELECT count(*) FROM Jednotky WHERE Jednotky = 'k;gW'"), 1);
}

TEST_F(Catalogue, AnEmptyCatalogueGetsTheDeliveredRowsOnceWithFreshKeys)
{
    const int quantities = Count("Veliciny"), units = Count("Jednotky");
    const qint64 highest = Scalar("SELECT max(ID) FROM Veliciny");
    Exec("DELETE FROM Jednotky");
    Exec("DELETE FROM Veliciny");

    bool loaded = false;
    ASSERT_TRUE(catalogue->LoadDeliveredCatalogue(EmptyDatabaseDir, &loaded));
    EXPECT_TRUE(loaded);
    EXPECT_EQ(Count("Veliciny"), quantities);
    EXPECT_EQ(Count("Jednotky"), units);
    EXPECT_GT(Scalar("SELECT min(ID) FROM Veliciny"), highest);
    EXPECT_EQ(Scalar("SELECT count(*) FROM Jednotky WHERE VelicinaID NOT IN (SELECT ID FROM Veliciny)"), 0);
    EXPECT_EQ(Scalar("SELECT count(*) FROM Veliciny WHERE Original <> 1"), 0);

    // Opening again adds nothing.
    ASSERT_TRUE(catalogue->LoadDeliveredCatalogue(EmptyDatabaseDir, &loaded));
    EXPECT_FALSE(loaded);
    EXPECT_EQ(Count("Veliciny"), quantities);
}

TEST_F(Catalogue, ACatalogueWithRowsIsKept)
{
    Exec("DELETE FROM Jednotky");
    Exec("DELETE FROM Veliciny");
    ASSERT_GT(catalogue->AddQuantity("mine", "mine"), 0);
    bool loaded = true;
    ASSERT_TRUE(catalogue->LoadDeliveredCatalogue(EmptyDatabaseDir, &loaded));
    EXPECT_FALSE(loaded);
    EXPECT_EQ(Count("Veliciny"), 1);
}

TEST_F(Catalogue, OriginalRowsCanBeNeitherChangedNorDeleted)
{
    const qint64 quantity = OriginalQuantity(), unit = OriginalUnit();
    const QVariantMap quantityBefore = Row("Veliciny", quantity), unitBefore = Row("Jednotky", unit);
    const int units = Count("Jednotky");
    QString message;
    EXPECT_FALSE(catalogue->ChangeQuantity(quantity, "other", "other", &message));
    EXPECT_EQ(message, GetString(22704));
    EXPECT_FALSE(catalogue->DeleteQuantity(quantity, &message));
    EXPECT_EQ(message, GetString(22704));
    EXPECT_FALSE(catalogue->ChangeUnit(unit, "x", &message));
    EXPECT_EQ(message, GetString(22704));
    EXPECT_FALSE(catalogue->DeleteUnit(unit, &message));
    EXPECT_EQ(message, GetString(22704));
    EXPECT_EQ(Row("Veliciny", quantity), quantityBefore);
    EXPECT_EQ(Row("Jednotky", unit), unitBefore);
    EXPECT_EQ(Count("Jednotky"), units);

    // A delivered quantity still takes units of the user's, which stay editable.
    const qint64 added = catalogue->AddUnit(quantity, "x[cf11]2[cf1]");
    ASSERT_GT(added, 0);
    EXPECT_TRUE(catalogue->ChangeUnit(added, "y"));
    EXPECT_TRUE(catalogue->DeleteUnit(added));
}

TEST_F(Catalogue, BadNamesAreRefusedWholeWithTheirReason)
{
    const QString longest(150, QLatin1Char('a'));
    struct Case {
        QString markup, plain;
        QString message;
    } cases[] = {
        { "", "", GetString(22700) },
        { "  ", "  ", GetString(22700) },
        { "[cf3][cf1]", "", GetString(22700) },
        { "a\nb", "a\nb", GetString(22702) },
        { "a\rb", "a\rb", GetString(22702) },
        { longest + "[cf1]", longest, GetString(22701, { 155, 150 }) },
        // Against any quantity of the list, compared on the plain text.
        { "[cf3]d;aal;akzka[cf1]", "dlzka", GetString(22703, { "dlzka" }) },
        { "DLZKA", " DLZKA ", GetString(22703, { "DLZKA" }) },
    };
    const int quantities = Count("Veliciny");
    for (const Case& c : cases) {
        QString message;
        EXPECT_EQ(catalogue->AddQuantity(c.markup, c.plain, &message), 0) << c.markup.toStdString();
        EXPECT_EQ(message, c.message) << c.markup.toStdString();
    }
    EXPECT_EQ(Count("Veliciny"), quantities);

    // The longest name fits; renaming to another quantity's name is refused, to its own
    // name in another format is not.
    const qint64 id = catalogue->AddQuantity(longest, longest);
    ASSERT_GT(id, 0);
    EXPECT_EQ(Row("Veliciny", id).value("Velicina").toString(), longest);
    QString message;
    EXPECT_FALSE(catalogue->ChangeQuantity(id, "tlak", "tlak", &message));
    EXPECT_EQ(message, GetString(22703, { "tlak" }));
    EXPECT_TRUE(catalogue->ChangeQuantity(id, "[cf2]" + longest.left(140) + "[cf1]", longest.left(140)));
    EXPECT_EQ(Row("Veliciny", id).value("VelicinaSort").toString(), longest.left(140));

    // Units: an empty unit adds nothing, silently; a long or broken one is refused.
    const int units = Count("Jednotky");
    EXPECT_EQ(catalogue->AddUnit(id, " ", &message), 0);
    EXPECT_TRUE(message.isEmpty());
    EXPECT_EQ(catalogue->AddUnit(id, QString(101, QLatin1Char('m')), &message), 0);
    EXPECT_EQ(message, GetString(22701, { 101, 100 }));
    EXPECT_EQ(catalogue->AddUnit(id, "m\ns", &message), 0);
    EXPECT_EQ(message, GetString(22702));
    EXPECT_EQ(Count("Jednotky"), units);
}

TEST_F(Catalogue, DeletingAQuantityTakesItsUnitsAndNoKeyIsReused)
{
    const qint64 first = catalogue->AddQuantity("first", "first");
    ASSERT_GT(first, 0);
    ASSERT_GT(catalogue->AddUnit(first, "u1"), 0);
    ASSERT_GT(catalogue->AddUnit(first, "u2"), 0);
    ASSERT_TRUE(catalogue->DeleteQuantity(first));
    EXPECT_TRUE(Row("Veliciny", first).isEmpty());
    EXPECT_EQ(Scalar("SELECT count(*) FROM Jednotky WHERE VelicinaID = ?", { first }), 0);

    const qint64 second = catalogue->AddQuantity("second", "second");
    EXPECT_GT(second, first);
    EXPECT_EQ(Scalar("SELECT count(*) FROM Jednotky WHERE VelicinaID = ?", { second }), 0);

    // A delete that fails keeps the units too: both go in one transaction.
    ASSERT_GT(catalogue->AddUnit(second, "u"), 0);
    Exec("CREATE TRIGGER KeepQuantities BEFORE DELETE ON Veliciny BEGIN SELECT RAISE(ABORT, 'kept'); END");
    QString message;
    EXPECT_FALSE(catalogue->DeleteQuantity(second, &message));
    EXPECT_TRUE(message.contains("kept")) << message.toStdString();
    EXPECT_EQ(Scalar("SELECT count(*) FROM Jednotky WHERE VelicinaID = ?", { second }), 1);
}

} // namespace
} // namespace orvek
