#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"
#include "tests/platform/rtf_document_dump.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace orvek;
using orvek::test::DumpDocument;

namespace {

QTextDocument* Read(const QByteArray& rtf, QTextDocument* doc)
{
    QString error;
    EXPECT_TRUE(ReadRtfDocument(rtf, doc, &error)) << error.toStdString();
    return doc;
}

QString RoundTrip(const QTextDocument& doc)
{
    QTextDocument back;
    Read(WriteRtf(&doc), &back);
    return DumpDocument(&back);
}

} // namespace

TEST(RtfRoundTrip, FormattedParagraphs)
{
    QTextDocument doc;
    doc.setDefaultFont(QFont("Arial", 10));
    QTextCursor c(&doc);
    QTextCharFormat plain;
    plain.setFontFamilies({ "Arial" });
    plain.setFontPointSize(10);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat sup = plain;
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    QTextCharFormat red = plain;
    red.setForeground(QColor(255, 0, 0));
    red.setFontItalic(true);
    red.setFontUnderline(true);
    QTextCharFormat times = plain;
    times.setFontFamilies({ "Times New Roman" });
    times.setFontPointSize(14.5);
    c.insertText("Plain {braces} \\ back ", plain);
    c.insertText("bold", bold);
    c.insertText("m", plain);
    c.insertText("2", sup);
    QTextBlockFormat centre;
    centre.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centre);
    c.insertText(QString::fromUtf8("Šťastný ľad ±∞ α Ω – € ő ß 😀"), red);
    QTextBlockFormat indented;
    indented.setLeftMargin(720 * PixelsPerTwip);
    indented.setAlignment(Qt::AlignRight);
    c.insertBlock(indented);
    c.insertText("tab\there", times);
    c.insertBlock(QTextBlockFormat()); // an empty last paragraph
    const QString before = DumpDocument(&doc);
    EXPECT_EQ(RoundTrip(doc).toStdString(), before.toStdString());
    // Every character outside ASCII is escaped; the header carries the code page.
    const QByteArray rtf = WriteRtf(&doc);
    for (char ch : rtf)
        ASSERT_LT(uchar(ch), 0x80);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1051"));
    EXPECT_TRUE(rtf.contains("\\fs29 ")); // 14.5 points
    EXPECT_TRUE(rtf.contains("\\'8a\\'9dastn\\'fd"));
    EXPECT_TRUE(rtf.contains("\\u937?")); // omega has no byte in code page 1250
}

TEST(RtfRoundTrip, TableWithHeaderAndKeptRows)
{
    QTextDocument doc;
    doc.setDefaultFont(QFont("Arial", 10));
    QTextCursor c(&doc);
    c.insertText("Before");
    c.insertBlock();
    QByteArray rows = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\froman\\fcharset238 Arial;}}"
                      "\\trowd\\trgaph70\\trleft50\\trhdr\\trkeep\\cellx1250\\cellx3050\\cellx4250"
                      "\\pard\\intbl\\f0\\fs20 {\\b Nr.}\\cell x\\{y\\}\\cell z\\cell\\row"
                      "\\trowd\\trgaph70\\trleft50\\trkeep\\cellx1250\\cellx3050\\cellx4250"
                      "\\pard\\intbl\\f0\\fs20 1\\cell 2\\par two lines\\cell {\\super 3}\\cell\\row}";
    ASSERT_TRUE(ReadRtf(rows, c));
    c.insertText("After");
    const QString before = DumpDocument(&doc);
    EXPECT_TRUE(before.contains("TABLE 2x3 header=1 left=50 edges=1250,3050,4250")) << before.toStdString();
    EXPECT_EQ(RoundTrip(doc).toStdString(), before.toStdString());
    const QByteArray rtf = WriteRtf(&doc);
    EXPECT_EQ(rtf.count("\\trhdr"), 1);
    EXPECT_EQ(rtf.count("\\trkeep"), 2);
}

// A paragraph kept with the next one, also in a table row, reads back as it was
// written; the document states its page, and a page read from RTF is stated again.
TEST(RtfRoundTrip, KeepWithNextAndThePage)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextBlockFormat keep;
    keep.setProperty(rtfprop::KeepWithNext, true);
    c.setBlockFormat(keep);
    c.insertText("Heading");
    c.insertBlock(QTextBlockFormat());
    QTextTable* table = c.insertTable(2, 1, RtfTableFormat({ 1440 }, 0, 108, 0, false, 1));
    QTextCursor cell = table->cellAt(0, 0).firstCursorPosition();
    cell.setBlockFormat(keep);
    cell.insertText("kept");
    table->cellAt(1, 0).firstCursorPosition().insertText("last");
    const QString before = DumpDocument(&doc);
    EXPECT_EQ(before.count(" keepn"), 2) << before.toStdString();
    EXPECT_EQ(RoundTrip(doc).toStdString(), before.toStdString());

    // A4 from the tests' locale, with the margins of the preview's body.
    const QByteArray rtf = WriteRtf(&doc);
    EXPECT_TRUE(rtf.contains("\\paperw11906\\paperh16838\\margl600\\margr1004\\margt950\\margb2937"))
        << rtf.left(300).toStdString();
    QTextDocument letter;
    Read("{\\rtf1\\paperw12240\\paperh15840\\margl1440\\margr1440\\margt720\\margb720 x\\par}", &letter);
    EXPECT_TRUE(WriteRtf(&letter).contains("\\paperw12240\\paperh15840\\margl1440\\margr1440\\margt720\\margb720"));
    EXPECT_FALSE(WriteRtf(&letter, 0, 1).contains("\\paperw")) << "a part of a document states no page";
}

TEST(RtfRoundTrip, PictureKeepsPixelsAndSize)
{
    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(QColor(10, 200, 30));
    QTextDocument doc;
    doc.addResource(QTextDocument::ImageResource, QUrl("test:picture"), image);
    QTextCursor c(&doc);
    c.insertText("picture: ");
    QTextImageFormat f;
    f.setName("test:picture");
    f.setWidth(80);
    f.setHeight(40);
    c.insertImage(f);
    c.insertText(" end");
    const QByteArray rtf = WriteRtf(&doc);
    EXPECT_TRUE(rtf.contains("{\\pict\\pngblip\\picw40\\pich20\\picwgoal1200\\pichgoal600"));
    QTextDocument back;
    Read(rtf, &back);
    const QString dump = DumpDocument(&back);
    EXPECT_TRUE(dump.contains("IMG 40x20 shown 80x40 pixel0=ff0ac81e")) << dump.toStdString();
    EXPECT_EQ(dump, DumpDocument(&doc));
}

TEST(RtfRoundTrip, LinksBecomeFieldsAndBack)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref("https://example.org/a b");
    link.setFontUnderline(true);
    c.insertText("see ");
    c.insertText("here", link);
    c.insertText(" now");
    EXPECT_EQ(RoundTrip(doc).toStdString(), DumpDocument(&doc).toStdString());
}

TEST(RtfRoundTrip, SelectionRangeAndEmptySelection)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText("alpha beta");
    c.insertBlock();
    c.insertText("gamma");
    QTextDocument part;
    Read(WriteRtf(&doc, 6, 13), &part);
    EXPECT_EQ(part.toPlainText(), "beta\nga");
    QTextDocument none;
    Read(WriteRtf(&doc, 3, 3), &none);
    EXPECT_EQ(none.toPlainText(), "");
}

TEST(RtfRoundTrip, LatinTextInASymbolFontRunStaysLatin)
{
    // Typing on after a Greek letter inserted in the Symbol font continues in that font;
    // the letters and digits typed there are Latin and must read back as such.
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat symbol;
    symbol.setFontFamilies(QStringList { "Symbol" });
    c.insertText(QString::fromUtf8("\u03b1x3 = y\u00b1\u017e"), symbol);
    QTextDocument back;
    Read(WriteRtf(&doc), &back);
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
}

TEST(RtfRoundTrip, RangeInsideOneTableCellIsThatTextOnly)
{
    // Copying a word out of a report table gives that word, not the whole table.
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText("before");
    QTextTable* table = c.insertTable(2, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText("head");
    QTextCursor cell = table->cellAt(1, 1).firstCursorPosition();
    cell.insertText("alpha beta");
    cell.insertBlock();
    cell.insertText("gamma");
    const int start = table->cellAt(1, 1).firstPosition();
    struct Range {
        int from, to;
        QString text;
    };
    const Range ranges[] = {
        { start + 6, start + 10, "beta" },
        { start + 6, start + 13, "beta\nga" },
        { start, table->cellAt(1, 1).lastPosition(), "alpha beta\ngamma" },
    };
    for (const Range& r : ranges) {
        QTextDocument part;
        Read(WriteRtf(&doc, r.from, r.to), &part);
        EXPECT_EQ(part.toPlainText(), r.text);
        EXPECT_TRUE(part.rootFrame()->childFrames().isEmpty()) << r.text.toStdString();
    }
    // A range over two cells still carries the table.
    QTextDocument two;
    Read(WriteRtf(&doc, table->cellAt(0, 0).firstPosition(), start + 3), &two);
    EXPECT_EQ(two.rootFrame()->childFrames().size(), 1);
}

TEST(RtfReader, InsertsAtTheCursorReplacingTheSelection)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText("abcdef");
    c.setPosition(1);
    c.setPosition(4, QTextCursor::KeepAnchor);
    ASSERT_TRUE(ReadRtf("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset2 Symbol;}}\\f0\\fs20 a}", c));
    EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("aαef"));
    EXPECT_EQ(c.position(), 2);
    // Not RTF: nothing changes.
    QString error;
    EXPECT_FALSE(ReadRtf("plain words", c, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("aαef"));
}

TEST(RtfReader, WordProcessorConstructs)
{
    struct Case {
        const char* rtf;
        const char* text;
        const char* contains;
    };
    const Case cases[] = {
        // \u with a skip count of 2 and of 0; \uc inside a group
        { "{\\rtf1\\uc2 a\\u268\\'c8Cb{\\uc0 \\u269 c}\\u-3913?}", "aČb\u010dc\uf0b7", nullptr },
        // unknown \* destinations and known skipped ones disappear
        { "{\\rtf1{\\*\\generator x;}{\\*\\unknowndest {nested} text}{\\info{\\title T}}ok}", "ok", nullptr },
        // escaped symbols, special characters and \line
        { "{\\rtf1 a\\~b\\emdash c\\line d\\tab e\\{\\}\\\\}", "a\u00a0b\u2014c\u2028d\te{}\\", nullptr },
        // code page of the font's charset, not of the document
        { "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset238 A;}{\\f1\\fcharset0 B;}}\\f0\\'e8\\f1\\'e8}", "čè",
            nullptr },
        // a Symbol-font run written by a word processor as private-use \u
        { "{\\rtf1{\\fonttbl{\\f3\\fnil\\fcharset2 Symbol;}}{\\f3 \\u61537\\'61}}", "α", nullptr },
        // plain and pard reset; colour table with an automatic first entry
        { "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\b\\cf1 x\\plain y}", "xy", "fg=#ff0000" },
        // hidden text and a non-PNG picture are left out
        { "{\\rtf1 a{\\v hidden}b{\\pict\\wmetafile8 0102}c}", "abc", nullptr },
        // one-character fragments as older stored texts hold them
        { "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1051\\deftab708{\\fonttbl {\\f0\\froman\\fprq2\\fcharset2 "
          "Symbol;}}\r\n\\uc1\\pard\\tx720\\lang1033\\ulnone\\f0\\fs20 a}\r\n",
            "α", "font=Symbol pt=10" },
        { "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1051\\deftab708{\\fonttbl {\\f0\\fnil\\fcharset238 "
          "Arial;}}\r\n{\\colortbl ;\\red0\\green0\\blue0;}\r\n\\uc1\\pard\\tx720\\cf1\\lang1033\\f0\\fs20 \\'9a}\r\n",
            "š", "font=Arial pt=10 fg=#000000" },
    };
    for (const Case& k : cases) {
        QTextDocument doc;
        Read(k.rtf, &doc);
        EXPECT_EQ(doc.toRawText(), QString::fromUtf8(k.text)) << k.rtf;
        if (k.contains) {
            EXPECT_TRUE(DumpDocument(&doc).contains(k.contains)) << DumpDocument(&doc).toStdString();
        }
    }
}

TEST(RtfWriter, ReportsAFailingDevice)
{
    // A device that takes 100 bytes and then fails.
    class FailingDevice : public QIODevice {
    protected:
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char*, qint64 len) override
        {
            if (taken_ >= 100)
                return -1;
            const qint64 n = std::min<qint64>(len, 100 - taken_);
            taken_ += n;
            return n;
        }
        qint64 taken_ = 0;
    };
    QTextDocument doc;
    doc.setPlainText(QString(500, 'x'));
    FailingDevice device;
    device.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_FALSE(WriteRtf(&doc, &device, &error));
    EXPECT_FALSE(error.isEmpty());
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteRtf(&doc, &buffer));
    EXPECT_EQ(buffer.data(), WriteRtf(&doc));
}
