// Malformed RTF must never crash, hang or exhaust memory: explicit bad cases plus a
// seeded mutation run over a small corpus (run under AddressSanitizer in CI). A hang is
// caught by ctest's timeout.

#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"

#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace orvek;

namespace {

QByteArray Repeat(const QByteArray& piece, int times)
{
    QByteArray out;
    out.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// Reads Data into a fresh document and writes it again; returns the plain text.
QString Exercise(const QByteArray& data)
{
    QTextDocument doc;
    ReadRtfDocument(data, &doc);
    const QByteArray again = WriteRtf(&doc);
    QTextDocument back;
    EXPECT_TRUE(ReadRtfDocument(again, &back));
    return doc.toPlainText();
}

} // namespace

TEST(RtfMalformed, ExplicitCases)
{
    static const char kJunk[] = "\0\x01\xff\xfe\x80{\\\x00\\'zz";
    struct Case {
        const char* name;
        QByteArray data;
    };
    const Case cases[] = {
        { "deep nesting", "{\\rtf1 " + Repeat("{", 100000) + "x" + Repeat("}", 100000) + "}" },
        { "deep nesting, never closed", "{\\rtf1 " + Repeat("{\\b ", 100000) + "x" },
        { "extra closing braces", "{\\rtf1 a}}}}}b" },
        { "huge parameters",
            "{\\rtf1\\fs99999999999999999999 a\\u-99999999999 b\\uc999999999 c\\cf2147483647 d"
            "\\cellx99999999999\\trleft-99999999999\\picwgoal999999999999}" },
        { "truncated hex", "{\\rtf1 a\\'" },
        { "truncated hex digit", "{\\rtf1 a\\'4" },
        { "truncated unicode", "{\\rtf1 a\\u" },
        { "truncated unicode minus", "{\\rtf1 a\\u-" },
        { "long keyword", "{\\rtf1 \\" + Repeat("a", 100000) + "1 b}" },
        { "long number", "{\\rtf1 \\fs" + Repeat("9", 100000) + " b}" },
        { "binary junk", "{\\rtf1 " + QByteArray(kJunk, sizeof(kJunk) - 1) + "}" },
        { "bin beyond the end", "{\\rtf1 {\\pict\\pngblip\\bin999999 abc}}" },
        { "bad picture data", "{\\rtf1 {\\pict\\pngblip 89504e470d0a1a0a0000zz}}" },
        { "cell without row", "{\\rtf1 \\intbl a\\cell b\\cell}" },
        { "row without cells", "{\\rtf1 \\trowd\\row\\row\\row}" },
        { "cell edges cleared between rows", "{\\rtf1 a\\cell\\row\\cellx1\\trowd b\\cell\\row}" },
        { "cell edges cleared after a paragraph", "{\\rtf1 a\\cell\\row\\par\\cellx1\\trowd b\\cell\\row}" },
        { "many cells",
            "{\\rtf1 \\trowd " + Repeat("\\cellx100", 5000) + "\\intbl " + Repeat("x\\cell ", 5000) + "\\row}" },
        { "font table without names", "{\\rtf1{\\fonttbl{\\f0}{\\f1\\fcharset2}{\\f}}\\f1 a\\f0 b}" },
        { "skip count over a group end", "{\\rtf1\\uc5 \\u945}x}" },
        { "only a header", "{\\rtf" },
        { "one long paragraph of many runs", "{\\rtf1 " + Repeat("{\\b x}y", 40000) + "}" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Exercise(c.data);
    }
    EXPECT_EQ(Exercise("{\\rtf1 " + Repeat("{", 100000) + "x" + Repeat("}", 100000) + "}"), "x");
}

TEST(RtfMalformed, SeededMutationsNeverCrash)
{
    QTextDocument sample;
    QTextCursor c(&sample);
    c.insertText(QString::fromUtf8("Čo ±∞ {x} \\ 😀"));
    ReadRtf("{\\rtf1\\trowd\\trhdr\\trkeep\\cellx1000\\cellx2000\\intbl {\\b a}\\cell b\\par c\\cell\\row}", c);
    c.insertText("tail");
    const QList<QByteArray> corpus = {
        WriteRtf(&sample),
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fcharset2 Symbol;}}"
        "{\\colortbl;\\red255\\green0\\blue0;}\\uc1\\pard\\qc\\f0\\fs24\\cf1 x\\u268?\\'e8{\\f1 a}\\par}",
        "{\\rtf1{\\*\\shppict{\\pict\\pngblip\\picwgoal100\\pichgoal100 89504e47}}{\\field{\\*\\fldinst "
        "HYPERLINK \"u\"}{\\fldrslt t}}\\line\\tab}",
    };
    const QList<QByteArray> pieces = { "{", "}", "\\", "\\'", "\\u", "\\uc9", "\\*", "\\bin5 ", "\\cell", "\\row",
        "\\trowd", "\\pict", "\\par", "-", "9999999999", "\\f99" };
    QRandomGenerator random(20261210);
    for (int round = 0; round < 1500; ++round) {
        QByteArray data = corpus[random.bounded(int(corpus.size()))];
        const int edits = 1 + random.bounded(8);
        for (int e = 0; e < edits && !data.isEmpty(); ++e) {
            const int at = random.bounded(int(data.size()));
            switch (random.bounded(4)) {
            case 0:
                data[at] = char(random.bounded(256));
                break;
            case 1:
                data.remove(at, random.bounded(1, 40));
                break;
            case 2:
                data.insert(at, pieces[random.bounded(int(pieces.size()))]);
                break;
            default:
                data.truncate(at);
                break;
            }
        }
        Exercise(data);
    }
}
