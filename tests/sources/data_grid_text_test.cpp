#include "comma_locale.h"
#include "core/clock.h"
#include "core/dates.h"
#include "core/number_text.h"
#include "sources/data_grid_text.h"
#include "sources/incremental_search.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

// A comma as decimal separator, a point between day, month and year, and a fixed today.
class GridText : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetClock([this] { return now; });
    }
    void TearDown() override { SetClock({}); }
    test::CommaDecimalsPointDates locale;
    QDateTime now { QDate(2026, 3, 9), QTime(8, 0) };
};

TEST_F(GridText, TypedDatesAndNumbers)
{
    const struct {
        const char* typed;
        const char* date;
    } dates[] = {
        { "311207", "31.12.2007" },
        { "31122007", "31.12.2007" },
        { " 010250 ", "1.2.1950" },
        { "3112", "" },
        { "1234567", "" },
        { "t", "9.3.2026" },
        { "Dnes", "9.3.2026" },
        { "hned", "9.3.2026" },
        { "31.12.07", "31.12.2007" },
        { "12/31/2007", "31.12.2007" }, // the other separator, read month first
        { "31.2.2007", "" },
        { "abc", "" },
    };
    for (const auto& c : dates)
        EXPECT_EQ(NormalizeGridDate(QString::fromUtf8(c.typed)), c.date) << c.typed;

    const struct {
        const char* typed;
        bool ok;
        const char* number;
    } numbers[] = {
        { "1,50", true, "1,5" },
        { "1.50", true, "1,5" },
        { " -2,000E3 ", true, "-2000" },
        { "0,0000001", true, "1E-7" },
        { "abc", false, "abc" },
        { "1,2,3", false, "1,2,3" },
    };
    for (const auto& c : numbers) {
        QString text = c.typed;
        EXPECT_EQ(NormalizeGridNumber(text), c.ok) << c.typed;
        EXPECT_EQ(text, c.number) << c.typed;
    }
}

TEST_F(GridText, PickListCompletion)
{
    const QStringList list { "Alpha", "Beta", "beta 2" };
    EXPECT_EQ(CompleteFromPickList("b", list), "beta 2"); // case-sensitive
    EXPECT_EQ(CompleteFromPickList("B", list), "Beta");
    EXPECT_EQ(CompleteFromPickList("Bx", list), "Beta");
    EXPECT_EQ(CompleteFromPickList("g", list), "g");
    EXPECT_EQ(CompleteFromPickList("", list), "");
    EXPECT_EQ(PickListIndexOfFirstChar('b', { "Alpha", "Beta" }), 1); // ignoring case
    EXPECT_EQ(PickListIndexOfFirstChar('A', { "", "alpha" }), 1);
    EXPECT_EQ(PickListIndexOfFirstChar('z', { "Alpha", "Beta" }), -1);
}

TEST_F(GridText, DisplayMasks)
{
    const struct {
        const char* text;
        const char* mask;
        const char* shown; // nullptr: the text stays as it is
    } numbers[] = {
        { "1,5", "0.00", "1,50" },
        { "1234567,891", "#,##0.0", "1 234 567,9" },
        { "0,5", "#.##", ",5" },
        { "2,125", "0.00", "2,13" },
        { "-0,001", "0.00", "0,00" },
        { "-3", "0.0\" mg\"", "-3,0 mg" },
        { "7", "000", "007" },
        { "abc", "0.00", nullptr },
        { "5", "\"text only\"", nullptr },
    };
    for (const auto& c : numbers) {
        QString shown;
        EXPECT_EQ(FormatGridNumber(c.text, c.mask, shown), c.shown != nullptr) << c.text << " " << c.mask;
        if (c.shown) {
            EXPECT_EQ(shown, QString::fromUtf8(c.shown)) << c.text << " " << c.mask;
        }
    }
    const struct {
        const char* text;
        const char* mask;
        const char* shown;
    } dates[] = {
        { "5.3.2009", "dd/mm/yyyy", "05.03.2009" },
        { "5.3.2009", "d. m. yy", "5. 3. 09" },
        { "5.3.2009", "yyyy-mm-dd hh:nn", "2009-03-05 00:00" },
        { "5.3.2009", "\"dňa\" d.m.", "dňa 5.3." },
        { "5.3.2009", "mmm yyyy", "Mar 2009" },
    };
    for (const auto& c : dates) {
        QString shown;
        ASSERT_TRUE(FormatGridDate(c.text, QString::fromUtf8(c.mask), shown)) << c.mask;
        EXPECT_EQ(shown, QString::fromUtf8(c.shown)) << c.mask;
    }
    QString shown;
    EXPECT_FALSE(FormatGridDate("not a date", "dd.mm.yyyy", shown));
}

TEST_F(GridText, IncrementalSearchRestartsAfterAPause)
{
    const QStringList items { "Apple", "Banana", "Berry", "Blueberry" };
    TIncrementalSearch search;
    EXPECT_EQ(search.Type('b', items), 1);
    now = now.addMSecs(2000);
    EXPECT_EQ(search.Type('L', items), 3); // "bl", still within 2 s of the last key
    now = now.addMSecs(2001);
    EXPECT_EQ(search.Type('a', items), 0); // a new search
    EXPECT_EQ(search.Text(), "a");
    search.Clear();
    for (int i = 0; i < 40; ++i)
        search.Type('x', items);
    EXPECT_EQ(search.Text().size(), TIncrementalSearch::MaxLength);
    EXPECT_EQ(search.Type('x', items), -1);
}

} // namespace
