// How stored numbers and dates are shown beside the program's results: one decimal
// separator and one date format, with the stored texts left as they are.

#include "core/dates.h"
#include "core/number_text.h"
#include "tests/core/number_separators.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <tuple>

namespace orvek::test {
namespace {

class ShownNumbers : public SeparatorTest { };

// Cases are written with "." for the own separator and "," for the foreign one.
TEST_P(ShownNumbers, ATypedNumberShowsTheOwnSeparatorAndEveryDigitAsTyped)
{
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        { "10,01", "10.01" },
        { "10.005", "10.005" },
        { "-0,000120", "-0.000120" },
        { "1,50E-3", "1.50E-3" },
        { " 2,5 ", " 2.5 " },
        { "12", "12" },
        { "", "" },
        { "NAN", "NAN" },
        { "Nekonecno", "Nekonecno" },
        // No number: every character stays, the separators of a date or a list too.
        { "5,3,2009", "5,3,2009" },
        { "1,000.5", "1,000.5" },
        { "abc,d", "abc,d" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShownNumberText(L(c.typed)), L(c.shown)) << c.typed;
}

INSTANTIATE_TEST_SUITE_P(Separators, ShownNumbers, ::testing::Values('.', ','), SeparatorName);

TEST(ShownDates, StoredDatesShowInTheShortFormatAndOtherValuesAsTheyAre)
{
    const QChar separator = DateSeparator;
    const QString format = ShortDateFormat;
    struct Case {
        QVariant stored;
        const char* dotted; // under "d.M.yyyy"
        const char* slashed; // under "M/d/yyyy"
    };
    const Case cases[] = {
        { QStringLiteral("2026-12-11"), "11.12.2026", "12/11/2026" },
        { QStringLiteral("2009-03-05 14:20:00"), "5.3.2009", "3/5/2009" },
        { QDate(2009, 3, 5), "5.3.2009", "3/5/2009" },
        { QDateTime(QDate(2009, 3, 5), QTime(8, 0)), "5.3.2009", "3/5/2009" },
        { QStringLiteral("14:20:31.250"), "14:20:31", "14:20:31" },
        { QStringLiteral("2026-13-40"), "2026-13-40", "2026-13-40" },
        { QStringLiteral("2026-12-11x"), "2026-12-11x", "2026-12-11x" },
        { QStringLiteral("Meranie 2026-12-11"), "Meranie 2026-12-11", "Meranie 2026-12-11" },
        { 42, "42", "42" },
        { QVariant(), "", "" },
    };
    for (const auto& [sep, form, dotted] : { std::tuple { '.', "d.M.yyyy", true }, { '/', "M/d/yyyy", false } }) {
        DateSeparator = QChar(sep);
        ShortDateFormat = QString::fromLatin1(form);
        for (const Case& c : cases)
            EXPECT_EQ(StoredValueText(c.stored), QString::fromUtf8(dotted ? c.dotted : c.slashed))
                << c.stored.toString().toStdString() << " under " << form;
    }
    DateSeparator = separator;
    ShortDateFormat = format;
}

} // namespace
} // namespace orvek::test
