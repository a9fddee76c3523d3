#include "sources/pasted_readings.h"
#include "tests/sources/comma_locale.h"

#include <gtest/gtest.h>

namespace orvek {
namespace {

struct SplitCase {
    const char* name;
    QString text;
    QList<QStringList> rows;
    int columns;
};

TEST(PastedReadings, SplitsTheClipboardTextIntoTheAuxiliaryTable)
{
    const SplitCase cases[] = {
        { "one number", QStringLiteral("1,5"), { { "1,5" } }, 1 },
        { "a column, CR LF ends and surrounding blanks", QStringLiteral("  1\r\n2\r\n3\r\n\r\n"),
            { { "1" }, { "2" }, { "3" } }, 1 },
        { "two blanks separate columns", QStringLiteral("10  20\n30  40"), { { "10", "20" }, { "30", "40" } }, 2 },
        { "TAB runs are one break", QStringLiteral("1\t\t\t2\n3\t4\t5"), { { "1", "2" }, { "3", "4", "5" } }, 3 },
        { "six blanks leave a TAB and a blank", QStringLiteral("1      2"), { { "1", " 2" } }, 2 },
        { "seven blanks: two TABs, shortened to one", QStringLiteral("1       2"), { { "1", "2" } }, 2 },
        { "an empty line inside is an empty row", QStringLiteral("1\n\n2"), { { "1" }, { "" }, { "2" } }, 1 },
        { "lone CRs end lines", QStringLiteral("1\r2"), { { "1" }, { "2" } }, 1 },
        // Single blanks and no TAB: each line is one value (a blank is a thousands separator).
        { "single blanks keep a line whole", QStringLiteral("1 234,5\n2 345,5"), { { "1 234,5" }, { "2 345,5" } }, 1 },
        { "the separator turns TAB at the first line without a blank", QStringLiteral("1 234\n5\n6 7"),
            { { "1 234" }, { "5" }, { "6 7" } }, 1 },
        { "a TAB anywhere cuts from the first line", QStringLiteral("a b\n1\t2"), { { "a b" }, { "1", "2" } }, 2 },
        { "empty text", QStringLiteral("  \r\n "), {}, 1 },
    };
    for (const SplitCase& c : cases) {
        const TPastedTable t = SplitPastedReadings(c.text);
        EXPECT_EQ(t.Rows, c.rows) << c.name;
        EXPECT_EQ(t.ColumnCount, c.columns) << c.name;
    }
}

TEST(PastedReadings, LastRowAfterPasteCountsShiftedReadings)
{
    struct Case {
        bool insert;
        int current, count, lastFilled, expected;
    };
    const Case cases[] = {
        { false, 498, 3, 10, 500 }, // overwrite from 498 ends at 500
        { false, 499, 3, 0, 501 },
        { true, 1, 3, 497, 500 }, // inserting pushes the filled rows down
        { true, 1, 3, 498, 501 },
        { true, 20, 3, 10, 22 }, // below the last reading nothing is pushed
        { false, 1, 2, 400, 400 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(LastRowAfterPaste(c.insert, c.current, c.count, c.lastFilled), c.expected)
            << c.insert << " " << c.current << " " << c.count << " " << c.lastFilled;
}

TEST(PastedReadings, CopyTextTakesNumbersOnlyEndedByCrLf)
{
    test::CommaDecimalsPointDates comma;
    const QStringList cells
        = { QStringLiteral(" 1.5 "), QString(), QStringLiteral("abc"), QStringLiteral("2,50"), QStringLiteral("1e-5") };
    EXPECT_EQ(ReadingsCopyText(cells, true), QStringLiteral("1,5\r\n2,50\r\n1E-5\r\n"));
    EXPECT_EQ(ReadingsCopyText(cells, false), QStringLiteral("1,5\r\n2,50\r\n1e-5\r\n"));
    EXPECT_TRUE(ReadingsCopyText({ QStringLiteral("x"), QString() }, true).isEmpty());
}

TEST(PastedReadings, ListTextsRefuseTheListMarkAndLineBreaks)
{
    EXPECT_TRUE(FitsReadingList(QStringLiteral("1,5")));
    for (const char* bad : { "1@2", "1\n2", "1\r2" })
        EXPECT_FALSE(FitsReadingList(QString::fromLatin1(bad))) << bad;
}

} // namespace
} // namespace orvek
