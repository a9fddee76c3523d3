#include "core/clipboard_text.h"
#include "core/clock.h"
#include "core/common_vars.h"
#include "core/dates.h"
#include "core/help.h"
#include "core/logs.h"
#include "core/services.h"
#include "core/text_pieces.h"
#include "tests/support/test_env.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace orvek;

namespace {
void UseDateFormat(QChar separator, const QString& format)
{
    DateSeparator = separator;
    ShortDateFormat = format;
}
} // namespace

TEST(Dates, QueryTextsAndParsingUnderDotAndSlash)
{
    const QDate march5(2009, 3, 5);
    UseDateFormat('.', "d.M.yyyy");
    EXPECT_EQ(DateToQueryText(march5), "5.3.2009");
    EXPECT_EQ(ParseDateAnySeparator(" 5.3.2009 "), march5);
    EXPECT_EQ(ParseDateAnySeparator("3/5/2009"), march5); // month/day/year reordered
    EXPECT_EQ(DateToShortText(march5), "5.3.2009");

    UseDateFormat('/', "M/d/yyyy");
    EXPECT_EQ(DateToQueryText(march5), "3/5/2009");
    EXPECT_EQ(ParseDateAnySeparator("3/5/2009"), march5);
    EXPECT_EQ(ParseDateAnySeparator("5.3.2009"), march5);
    EXPECT_EQ(ParseDateAnySeparator("12/31/99"), QDate(1999, 12, 31));

    UseDateFormat('-', "yyyy-MM-dd");
    EXPECT_EQ(DateToQueryText(march5), "2009-03-05");

    UseDateFormat('.', "d.M.yyyy");
    for (const char* bad : { "", "31.2.2009", "a.b.c", "5.3", "5..2009", "-5.3.2009" })
        EXPECT_THROW(ParseDateAnySeparator(bad), EDateConversion) << bad;
}

TEST(Dates, StampTexts)
{
    EXPECT_EQ(DateToDMYText(QDate(2010, 1, 1)), "D 1M 1Y2010");
    EXPECT_EQ(DateToDMYText(QDate(2009, 12, 5)), "D 5M12Y2009");
    EXPECT_EQ(DMYTextToDate("D 1M 1Y2010"), QDate(2010, 1, 1));
    EXPECT_EQ(DMYTextToDate(DateToDMYText(QDate(2024, 11, 30))), QDate(2024, 11, 30));
    EXPECT_EQ(DateToDMYText(QDate(99, 2, 3)), "D 3M 2Y1099");
    for (const char* bad : { "", "D 1M 1", "DxxM 1Y2010", "D31M 2Y2010" })
        EXPECT_THROW(DMYTextToDate(bad), EDateConversion) << bad;
}

TEST(Logs, TraceLinesAndBlocksUseTheClock)
{
    AppDir = test::TestRoot() + "/";
    UseDateFormat('.', "d.M.yyyy");
    SetClock([] { return QDateTime(QDate(2009, 12, 5), QTime(8, 7, 6)); });
    EXPECT_TRUE(AppendErrFile("step 1"));
    EXPECT_TRUE(AppendErrFile("step 2"));
    AppendLogBlock("ErrorLogFile", "database failed");
    SetClock({});
    QFile trace(AppDir + "OrvekErrFile.dat"), log(AppDir + "ErrorLogFile");
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(trace.readAll(), "5.12.2009 - 08:07:06 - step 1\n5.12.2009 - 08:07:06 - step 2\n");
    EXPECT_EQ(log.readAll(),
        "5.12.2009  08:07:06  " + QByteArray(41, '-') + "\ndatabase failed\n" + QByteArray(49, '-') + "\n");
    // An unwritable log is skipped.
    AppDir = test::TestRoot() + "/missing/folder/";
    EXPECT_FALSE(AppendErrFile("lost"));
    AppendLogBlock("ErrorLogFile", "lost");
}

TEST(TextPieces, LockSuffixLineBreaksAndCounters)
{
    EXPECT_EQ(LockSuffix(0), "");
    EXPECT_EQ(LockSuffix(2), "~@#2");
    struct Case {
        const char* in;
        quint8 lock;
        const char* out;
    } cases[] = { { "x=1;~@#2", 2, "x=1;" }, { "x~@#", 0, "x~@#" }, { "x~@#12", 0, "x~@#12" }, { "~@#1", 1, "" },
        { "", 0, "" } };
    for (const Case& c : cases) {
        QString text = c.in;
        EXPECT_EQ(StripLockSuffix(text), c.lock) << c.in;
        EXPECT_EQ(text, c.out);
    }
    EXPECT_EQ(LineBreaks(3), "\r\r\r");
    EXPECT_EQ(LineBreaks(0), "");
    int counter = 41;
    EXPECT_EQ(NextCounterValue(counter), 42);
    EXPECT_EQ(counter, 42);
}

TEST(Clipboard, TextAndCellKind)
{
    ClipboardCellsMarker = "Orvek2000Info";
    ASSERT_TRUE(SetClipboardText(QString::fromUtf8("čšž text")));
    EXPECT_TRUE(ClipboardHasText());
    EXPECT_EQ(GetClipboardText(), QString::fromUtf8("čšž text"));
    int kind = 7;
    EXPECT_FALSE(PeekClipboardCellKind(kind));
    EXPECT_EQ(kind, 7);
    SetClipboardText("Orvek2000Info x...");
    EXPECT_FALSE(PeekClipboardCellKind(kind));
    EXPECT_EQ(kind, 7);
    SetClipboardText("Orvek2000Info 2\rBeginCell=");
    EXPECT_TRUE(PeekClipboardCellKind(kind));
    EXPECT_EQ(kind, 2);
    ClearClipboard();
    EXPECT_FALSE(ClipboardHasText());
    EXPECT_EQ(GetClipboardText(), "");
}

namespace {
struct RecordingHelp : HelpService {
    QStringList pages;
    void ShowHelpPage(const QString& path) override { pages << path; }
};
} // namespace

TEST(Help, ContentsAndGlossaryByLanguage)
{
    AppDir = "/p/";
    HelpBaseName = "Orvek";
    RecordingHelp help;
    SetHelpService(&help);
    for (quint8 language : { 0, 1, 2 }) {
        LanguageID = language;
        ShowHelpContents();
        ShowHelpGlossary();
    }
    SetHelpService(nullptr);
    LanguageID = EditionFlag;
    EXPECT_EQ(help.pages,
        QStringList({ "/p/help/Orvek_EN/index.html", "/p/help/Glossary_EN/index.html", "/p/help/Orvek_SK/index.html",
            "/p/help/Glossary_SK/index.html", "/p/help/Orvek_SK/index.html", "/p/help/Glossary_SK/index.html" }));
    EXPECT_EQ(ApplicationHelpFile, "/p/help/Glossary_SK");
}
