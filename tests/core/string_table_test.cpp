#include "core/common_vars.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "platform/sql_database.h"
#include "tests/support/test_env.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

// Writes a source file with the header line and Lines below it.
QString WriteSource(const QString& name, const QStringList& lines)
{
    const QString path = test::TestRoot() + "/" + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(("ID\tStringID\tEnglish\tSlovak\tCzech\n" + lines.join('\n') + "\n").toUtf8());
    return path;
}

class StringTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDir = test::TestRoot() + "/own/";
        QDir().mkpath(StringTableFolder());
        LanguageID = 0;
    }
    void TearDown() override
    {
        LanguageID = EditionFlag;
        AppDir.clear();
    }
};

} // namespace

TEST(Format, PlaceholdersAndMismatches)
{
    struct Case {
        const char* pattern;
        std::vector<FormatArg> args;
        const char* expected;
    } cases[] = {
        { "%s and %s", { "a", "b" }, "a and b" },
        { "%d files", { 42 }, "42 files" },
        { "[%5d][%-5d][%.4d]", { 7, 7, -7 }, "[    7][7    ][-0007]" },
        { "%x %.4x", { 255, 10 }, "FF 000A" },
        { "%u", { -1 }, "4294967295" },
        { "%f|%.3f|%.0f", { 1.5, 2.0, 2.5 }, "1.50|2.000|3" },
        { "%8.2f|", { -3.14159 }, "   -3.14|" },
        { "%e", { 1234.5 }, "1.23450000000000E+003" },
        { "%.3e", { -0.000123 }, "-1.23E-004" },
        { "%g|%g|%g|%g|%g", { 0.1, 100.0, 1e15, 0.00001, 0.000001 }, "0.1|100|1E15|0.00001|1E-6" },
        { "%.0f|%.2f|%.2f", { -0.4, 2.675, -0.001 }, "0|2.68|0.00" },
        { "%.2e", { 0.0 }, "0.0E+000" },
        { "%g", { 123456789012345.0 }, "123456789012345" },
        { "%.3g|%.3g|%.2g", { 3.14159, 1234.5, 0.000001234 }, "3.14|1.23E3|1.2E-6" },
        { "%1:s %0:s %s", { "a", "b" }, "b a b" },
        { "%*d|%-*s|", { 4, 5, 3, "x" }, "   5|x  |" },
        { "%.2s", { "abcdef" }, "ab" },
        { "100%% sure", {}, "100% sure" },
        { "no placeholders", {}, "no placeholders" },
        // Mismatches leave the pattern as it stands.
        { "%s and %s", { "only one" }, "%s and %s" },
        { "%d", { 1.5 }, "%d" },
        { "%f", { 3 }, "%f" },
        { "%s", { 7 }, "%s" },
        { "%q", { 1 }, "%q" },
        { "trailing %", {}, "trailing %" },
        { "%5", { 1 }, "%5" },
        { "%3:s", { "a" }, "%3:s" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(Format(c.pattern, QVector<FormatArg>(c.args.begin(), c.args.end())), QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(Format("%s", { QString::fromUtf8("čšž") }), QString::fromUtf8("čšž"));
    // Numbers are written with the program's own decimal separator.
    OwnDecimalSeparator = ',';
    EXPECT_EQ(Format("%.1f; %g; %.3e", { 2.25, 0.5, 1500.0 }), "2,3; 0,5; 1,50E+003");
    OwnDecimalSeparator = '.';
}

TEST(StringTableSource, EscapesRoundTripAndBadLinesAreNamed)
{
    const QString text = "tab\there\r\nnew \\ backslash";
    EXPECT_EQ(EscapeStringTableField(text), "tab\\there\\r\\nnew \\\\ backslash");

    QByteArray data = "ID\tStringID\tEnglish\tSlovak\tCzech\n5\tS5\t" + EscapeStringTableField(text).toUtf8()
        + "\tb\tc\n\n7\tS7\ta\\\\n\t\t\n";
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QVector<StringTableRow> rows;
    QString error;
    ASSERT_TRUE(ReadStringTableSource(buffer, rows, &error)) << error.toStdString();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].english, text);
    EXPECT_EQ(rows[1].english, "a\\n"); // an escaped backslash followed by a plain n
    EXPECT_EQ(rows[1].slovak, "");

    struct Bad {
        QByteArray line;
        const char* why;
    } bad[] = {
        { "5\tS\ta\tb", "fields" },
        { "x\tS\ta\tb\tc", "ID" },
        { "0\tS\ta\tb\tc", "ID" },
        { "5\tS\ta\\q\tb\tc", "backslash" },
        { "5\tS\ta\\\tb\tc", "backslash" },
    };
    for (const Bad& b : bad) {
        QByteArray bytes = "header\n1\tS1\ta\tb\tc\n" + b.line + "\n";
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        EXPECT_FALSE(ReadStringTableSource(in, rows, &error)) << b.line.constData();
        EXPECT_TRUE(error.contains("line 3")) << error.toStdString();
        EXPECT_TRUE(error.contains(b.why)) << error.toStdString();
        EXPECT_TRUE(rows.isEmpty());
    }
    QByteArray twice = "header\n1\tA\ta\tb\tc\n1\tB\ta\tb\tc\n";
    QBuffer in(&twice);
    in.open(QIODevice::ReadOnly);
    EXPECT_FALSE(ReadStringTableSource(in, rows, &error));
    EXPECT_TRUE(error.contains("already stands on line 2")) << error.toStdString();
}

TEST_F(StringTableTest, LookupByLanguageAndUnknownNumbers)
{
    QString error;
    ASSERT_TRUE(ImportStringTable(
        WriteSource(
            "s.tsv", { "1\tSOne\tFile %s not found\tSúbor %s chýba\tSoubor %s chybí", "2\tSTwo\t%s of %s\tdva\tdvě" }),
        StringTableFolder(), &error))
        << error.toStdString();
    const char* expected[3] = { "File x not found", "Súbor x chýba", "Soubor x chybí" };
    for (quint8 language : { 0, 1, 2 }) {
        LanguageID = language;
        EXPECT_EQ(GetString(1, { "x" }), QString::fromUtf8(expected[language]));
        EXPECT_EQ(GetString(99999), "");
        EXPECT_EQ(GetString(0), "");
    }
    LanguageID = 3;
    EXPECT_EQ(GetString(1, { "x" }), "");
    LanguageID = 0;
    EXPECT_EQ(GetString(2, { "one" }), "%s of %s"); // too few arguments: the raw text
    EXPECT_EQ(GetString(1), "File %s not found");
    // No database in the folder: empty texts, and no file is made by looking.
    AppDir = test::TestRoot() + "/empty/";
    EXPECT_EQ(GetString(1, { "x" }), "");
    EXPECT_FALSE(QFile::exists(FolderDatabasePath(StringTableFolder())));
}

TEST_F(StringTableTest, ReimportKeepsEditedTextsUntilTheirSourceChanges)
{
    QString error;
    ASSERT_TRUE(ImportStringTable(
        WriteSource("a.tsv", { "1\tS1\tone\tjeden\tjeden", "2\tS2\ttwo\tdva\tdva" }), StringTableFolder(), &error));
    ASSERT_TRUE(UpdateStringTexts(1, "ONE (edited)", "jeden (upravený)", &error)) << error.toStdString();
    ASSERT_TRUE(UpdateStringTexts(2, "TWO (edited)", "dva", &error));
    EXPECT_FALSE(UpdateStringTexts(77, "x", "y", &error));
    EXPECT_TRUE(error.contains("77"));

    // Row 1: nothing changed in the source. Row 2: the English source changed, the
    // Slovak one did not. Row 3 is new.
    ASSERT_TRUE(ImportStringTable(
        WriteSource("b.tsv", { "1\tS1\tone\tjeden\tjeden", "2\tS2\ttwo, new\tdva\tdva", "3\tS3\tthree\ttri\ttři" }),
        StringTableFolder(), &error))
        << error.toStdString();
    EXPECT_EQ(GetString(1), "ONE (edited)");
    EXPECT_EQ(GetString(2), "two, new");
    EXPECT_EQ(GetString(3), "three");
    LanguageID = 1;
    EXPECT_EQ(GetString(1), QString::fromUtf8("jeden (upravený)"));
    LanguageID = 2;
    EXPECT_EQ(GetString(3), QString::fromUtf8("tři"));

    // A broken source changes nothing.
    EXPECT_FALSE(ImportStringTable(
        WriteSource("c.tsv", { "1\tS1\tuno\tjeden\tjeden", "bad line" }), StringTableFolder(), &error));
    LanguageID = 0;
    EXPECT_EQ(GetString(1), "ONE (edited)");
}

namespace {

// Every text of the table as a query reads it, in the order ID, language.
QStringList TableTexts(const QList<int>& ids)
{
    QSqlDatabase db = OpenFolderDatabase(kStringsConnection, StringTableFolder(), false);
    QStringList texts;
    for (int id : ids)
        for (const char* column : kLanguageColumns) {
            QSqlQuery query(db);
            EXPECT_TRUE(ExecBound(query, QStringLiteral("SELECT %1 FROM Strings WHERE ID = ?").arg(column), { id }));
            texts << (query.next() ? query.value(0).toString() : QStringLiteral("<no row>"));
        }
    return texts;
}

QStringList LookedUpTexts(const QList<int>& ids)
{
    QStringList texts;
    for (int id : ids)
        for (quint8 language : { 0, 1, 2 }) {
            LanguageID = language;
            const QString text = GetString(id);
            texts << (text.isEmpty() ? QStringLiteral("<no row>") : text);
        }
    LanguageID = 0;
    return texts;
}

} // namespace

TEST_F(StringTableTest, LookupsFollowTheTableThroughImportsAndEdits)
{
    const QList<int> ids { 1, 2, 3, 4, 5 };
    QString error;
    bool imported = false;
    const QString first = WriteSource("first.tsv",
        { "1\tS1\tone\tjeden\tjedna", "2\tS2\ttwo\tdva\tdvě", "3\tS3\tthree\ttri\ttři", "5\tS5\tfive\tpäť\tpět" });
    ASSERT_TRUE(ImportStringTable(first, StringTableFolder(), &error, &imported)) << error.toStdString();
    EXPECT_TRUE(imported);
    EXPECT_EQ(LookedUpTexts(ids), TableTexts(ids));

    // The browser's edits write through to the table and the kept texts.
    ASSERT_TRUE(UpdateStringTexts(2, "TWO", QString::fromUtf8("DVA (upravené)"), &error)) << error.toStdString();
    EXPECT_EQ(LookedUpTexts(ids), TableTexts(ids));
    EXPECT_EQ(GetString(2), "TWO");

    // The same file again: not imported, nothing written, the edit stays.
    const QFileInfo database(FolderDatabasePath(StringTableFolder()));
    const QDateTime written = database.lastModified();
    ASSERT_TRUE(ImportStringTable(first, StringTableFolder(), &error, &imported)) << error.toStdString();
    EXPECT_FALSE(imported);
    EXPECT_EQ(QFileInfo(database.filePath()).lastModified(), written);
    EXPECT_EQ(GetString(2), "TWO");

    // A changed file is imported: a new row, a changed source text, the edit of an
    // unchanged row kept.
    const QString second = WriteSource("second.tsv",
        { "1\tS1\tone, new\tjeden\tjedna", "2\tS2\ttwo\tdva\tdvě", "3\tS3\tthree\ttri\ttři",
            "4\tS4\tfour\tštyri\tčtyři", "5\tS5\tfive\tpäť\tpět" });
    ASSERT_TRUE(ImportStringTable(second, StringTableFolder(), &error, &imported)) << error.toStdString();
    EXPECT_TRUE(imported);
    EXPECT_EQ(LookedUpTexts(ids), TableTexts(ids));
    EXPECT_EQ(GetString(1), "one, new");
    EXPECT_EQ(GetString(2), "TWO");
    LanguageID = 1;
    EXPECT_EQ(GetString(4), QString::fromUtf8("štyri"));
    LanguageID = 0;

    // The same file under another name is the same content: not imported.
    const QString copy = test::TestRoot() + "/copy.tsv";
    QFile::remove(copy);
    ASSERT_TRUE(QFile::copy(second, copy));
    ASSERT_TRUE(ImportStringTable(copy, StringTableFolder(), &error, &imported));
    EXPECT_FALSE(imported);

    // Another instance changes the table: the next lookup reads it again.
    {
        const QString other = QStringLiteral("another instance");
        QSqlDatabase db = OpenFolderDatabase(other, StringTableFolder(), false);
        ASSERT_TRUE(PostStatement(db, "UPDATE Strings SET Czech = 'tři!' WHERE ID = 3"));
        ASSERT_TRUE(PostStatement(db, "DELETE FROM Strings WHERE ID = 5"));
        CloseFolderDatabase(other);
    }
    EXPECT_EQ(LookedUpTexts(ids), TableTexts(ids));
    EXPECT_EQ(GetString(5), "");
}

TEST(StringTableData, EveryTextNumberInTheCodeHasThreeTexts)
{
    // The build's table, made from data/strings.tsv by the build step.
    AppDir = test::TestProgramFolder();
    const QString root = QDir::cleanPath(QStringLiteral(ORVEK_TEST_DATA_DIR) + "/../..");
    QFile source(root + "/data/strings.tsv");
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QVector<StringTableRow> rows;
    QString error;
    ASSERT_TRUE(ReadStringTableSource(source, rows, &error)) << error.toStdString();
    QSet<int> complete;
    for (const StringTableRow& row : rows)
        if (!row.english.isEmpty() && !row.slovak.isEmpty() && !row.czech.isEmpty())
            complete.insert(row.id);

    const QRegularExpression call(R"(GetString\(\s*(\d+))");
    int found = 0;
    for (const char* folder :
        { "app", "core", "engine", "richtext", "database", "sources", "mainwindow", "platform" }) {
        QDirIterator it(root + "/" + folder, { "*.cpp", "*.h" }, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (auto m = call.globalMatch(text); m.hasNext();) {
                const int id = m.next().captured(1).toInt();
                ++found;
                EXPECT_TRUE(complete.contains(id)) << "text " << id << " used in " << it.filePath().toStdString();
            }
        }
    }
    EXPECT_GT(found, 0);
    for (quint8 language : { 0, 1, 2 }) {
        LanguageID = language;
        EXPECT_FALSE(GetString(730).isEmpty());
    }
    LanguageID = EditionFlag;
}
