#include "richtext/markup_codes.h"
#include "richtext/markup_read.h"
#include "richtext/markup_render.h"
#include "tests/platform/rtf_document_dump.h"

#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace orvek;
using orvek::test::DumpDocument;

namespace {

QString Render(const QString& markup, bool alignLines = false, MarkupRenderOutcome* outcome = nullptr)
{
    QTextDocument doc;
    RenderMarkupToRichEdit(10, "Arial", alignLines, &doc, markup, outcome);
    return DumpDocument(&doc);
}

QString ReadBack(const QString& markup)
{
    QTextDocument doc;
    RenderMarkupToRichEdit(10, "Arial", false, &doc, markup);
    QString text;
    RichEditToMarkup(&doc, text);
    return text;
}

const QString CR = QStringLiteral("\r");

} // namespace

TEST(MarkupRender, Cases)
{
    struct Case {
        QString markup;
        QStringList expected;
    };
    const Case cases[] = {
        { "[cf3][cf2]x[cf1]", { "[x] font=Arial pt=10 b i fg=#000000" } },
        { "a[cf3]x", { "[a] font=Arial pt=10\n", "[x] font=Arial pt=10 b" } },
        { "[cf3]a;pmb[cf1]", { QString::fromUtf8("[a±b] font=Arial pt=10 b") } },
        { ";gG;akl", { QString::fromUtf8("[Γľ] font=Arial pt=10\n") } },
        { "[cfcolorfuchsia]x[cf1]", { "[x] font=Arial pt=10 fg=#ff00ff" } },
        { "[cfcolorblue]a[cf1][cfcolorBLACK]b[cf1]", { "[ab] font=Arial pt=10 fg=#0000ff" } },
        { "[cfsize9]a[cf1][cfsize14]b[cf1]", { "[a] font=Arial pt=9 ", "[b] font=Arial pt=14 " } },
        { "m[cf11]2[cf1] H[cf15]2[cf1]O", { "[2] font=Arial pt=10 sup", "[2] font=Arial pt=10 sub" } },
        { "[cftimes]t[cf1][cfcourier]c[cf1]", { "[t] font=Times New Roman", "[c] font=Courier New" } },
        { "[su1]u[cf1][cf88]v[cf1][cf99]w[cf1]", { "[uv] font=Arial pt=10 u", "[w] font=Arial pt=10 fg" } },
        { "plain text", { "P align=0 li=0 fi=0\n  [plain text] font=Arial pt=10\n" } },
        // An alignment run changes only the alignment.
        { "[cf3]a[cf1][cfright]b", { "P align=1", "[a] font=Arial pt=10 b", "[b] font=Arial pt=10\n" } },
        // An unmatched close code is dropped.
        { "a[cf1]b", { "[ab] font=Arial pt=10\n" } },
        // Blocks without their end marker, or with it before the begin marker, stay text.
        { ":RTF_BEGIN{\\rtf1 x}", { "[:RTF_BEGIN{\\rtf1 x}]" } },
        { ":TABLE_END x :TABLE_BEGIN[1,1]", { "[:TABLE_END x :TABLE_BEGIN[1,1]]" } },
        // Codes inside an RTF block are not interpreted.
        { "a:RTF_BEGIN{\\rtf1 {\\b [cf3]}}:RTF_ENDb", { "[[cf3]] font=Arial pt=12 b\n", "[b] font=Arial pt=10\n" } },
        { "[cfisurl]http://x.org[cf1]", { "[http://x.org] font=Arial pt=10 u fg=#ff0000 href=http://x.org" } },
    };
    for (const Case& c : cases) {
        const QString dump = Render(c.markup);
        for (const QString& e : c.expected)
            EXPECT_TRUE(dump.contains(e)) << c.markup.toStdString() << "\nwants: " << e.toStdString() << "\n"
                                          << dump.toStdString();
    }
}

TEST(MarkupRender, AlignLinesAndStackedAlignment)
{
    const QString dump = Render("[cfcenter][cf3]Title[cf1]" + CR + "Body" + CR + "[cfright]R", true);
    EXPECT_EQ(dump.toStdString(),
        "P align=2 li=0 fi=0 keepn\n  [Title] font=Arial pt=10 b fg=#000000\n"
        "P align=0 li=0 fi=0\n  [Body] font=Arial pt=10\n"
        "P align=1 li=0 fi=0\n  [R] font=Arial pt=10\n");
    // Without AlignLines an alignment code holds to the end of the text.
    EXPECT_EQ(Render("[cfcenter]a" + CR + "b").count("align=2"), 2);
}

TEST(MarkupRender, UrlCodesAskForDetection)
{
    MarkupRenderOutcome outcome;
    Render("[cfisurl]x[cf1]", false, &outcome);
    EXPECT_TRUE(outcome.urlDetect);
    EXPECT_FALSE(outcome.urlDetectExtended);
    Render("[cfisurlext]x[cf1] [cfisurl]y[cf1]", false, &outcome);
    EXPECT_TRUE(outcome.urlDetectExtended);
    EXPECT_FALSE(outcome.urlDetect);
}

TEST(MarkupRender, EmptyTextLeavesAnEmptyUnmodifiedDocument)
{
    QTextDocument doc;
    doc.setPlainText("old");
    RenderMarkupToRichEdit(10, "Arial", true, &doc, "");
    EXPECT_TRUE(doc.isEmpty());
    EXPECT_FALSE(doc.isModified());
}

TEST(MarkupRender, TablesAtTheirPlaces)
{
    const QString table1 = ":TABLE_BEGIN[3,2]10,50,1250,3050,4250,[cf3]x[cf1]\tb;pm\t[cf11]2[cf1]" + CR
        + "1\t[cfcolorred]2[cf1]\t[cfsize12]3[cf1]" + CR + ":TABLE_END";
    const QString table2 = ":TABLE_BEGIN[1,1]8,0,1000,only" + CR + ":TABLE_END";
    QTextDocument doc;
    RenderMarkupToRichEdit(10, "Arial", false, &doc, "before" + CR + table1 + CR + "middle" + CR + table2 + "after");
    const QString dump = DumpDocument(&doc);
    const std::string d = dump.toStdString();
    EXPECT_TRUE(dump.contains("TABLE 2x3 header=0 left=50 edges=1250,3050,4250")) << d;
    EXPECT_TRUE(dump.contains("[x] font=Arial pt=10 b")) << d;
    EXPECT_TRUE(dump.contains(QString::fromUtf8("[b±] font=Arial pt=10\n"))) << d;
    EXPECT_TRUE(dump.contains("[2] font=Courier pt=12 sup")) << d; // two points larger, Courier
    EXPECT_TRUE(dump.contains("[2] font=Arial pt=10 fg=#ff0000")) << d;
    EXPECT_TRUE(dump.contains("[3] font=Arial pt=12")) << d;
    EXPECT_TRUE(dump.contains("TABLE 1x1 header=0 left=0 edges=1000")) << d;
    EXPECT_LT(dump.indexOf("[before]"), dump.indexOf("TABLE 2x3"));
    EXPECT_LT(dump.indexOf("TABLE 2x3"), dump.indexOf("[middle]"));
    EXPECT_LT(dump.indexOf("[middle]"), dump.indexOf("TABLE 1x1"));
    EXPECT_LT(dump.indexOf("TABLE 1x1"), dump.indexOf("[after]"));
    // Every row is kept together.
    QTextTable* table = nullptr;
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if ((table = qobject_cast<QTextTable*>(f)))
            break;
    ASSERT_TRUE(table);
    EXPECT_TRUE(table->format().boolProperty(rtfprop::RowKeep));
}

// Only a first row of bold labels is a header row that pages repeat; a table of label
// and value rows has none. A table of up to ten rows keeps every row but its last with
// the next, so it stays on one page; a heading keeps with what follows it.
TEST(MarkupRender, HeaderRowsShortTablesAndHeadings)
{
    const auto table = [](int rows, const QString& first) {
        QString t = QString(":TABLE_BEGIN[2,%1]10,50,1250,3050,").arg(rows) + first + CR;
        for (int r = 2; r <= rows; ++r)
            t += QString("[cf3]Label %1[cf1]\t%1,5 g").arg(r) + CR;
        return t + ":TABLE_END";
    };
    struct Case {
        const char* name;
        int rows;
        QString firstRow;
        int header;
        int keptRows;
    };
    const Case cases[] = {
        { "labels over values", 5, "[cf3]Quantity[cf1]\t[cf3]Value[cf1]", 1, 4 },
        { "label and value rows", 5, "[cf3]Value[cf1]\t0,0002150", 0, 4 },
        { "a label over an empty cell", 3, "[cf3]Symbol[cf1]\t", 1, 2 },
        { "ten rows", 10, "[cf3]A[cf1]\t[cf3]B[cf1]", 1, 9 },
        { "eleven rows", 11, "[cf3]A[cf1]\t[cf3]B[cf1]", 1, 0 },
        { "one row", 1, "[cf3]A[cf1]\t[cf3]B[cf1]", 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument doc;
        RenderMarkupToRichEdit(10, "Arial", false, &doc, "[cf3]Heading:[cf1]" + CR + table(c.rows, c.firstRow));
        const QString dump = DumpDocument(&doc);
        EXPECT_TRUE(dump.contains(QString("header=%1").arg(c.header))) << dump.toStdString();
        // Both cells of each kept row, and the heading.
        EXPECT_EQ(dump.count(" keepn"), 2 * c.keptRows + 1) << dump.toStdString();
        EXPECT_TRUE(dump.startsWith("P align=0 li=0 fi=0 keepn\n  [Heading:]")) << dump.toStdString();
    }
    // Text that is partly bold is no heading.
    QTextDocument doc;
    RenderMarkupToRichEdit(10, "Arial", false, &doc, "[cf3]Note:[cf1] none" + CR + "next");
    EXPECT_FALSE(DumpDocument(&doc).contains("keepn"));
}

TEST(MarkupRender, RtfBlockInsideATableCellIsRichText)
{
    // A cell holding a value and a unit kept as rich text: the unit is shown formatted,
    // not as its RTF source.
    const QString cell
        = "1.5 :RTF_BEGIN{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 m{\\super 2}}:RTF_END [cf3]b[cf1]";
    const QString boldCell = "[cf3]3 :RTF_BEGIN{\\rtf1 kg}:RTF_END[cf1]";
    QTextDocument doc;
    RenderMarkupToRichEdit(
        10, "Arial", false, &doc, ":TABLE_BEGIN[2,1]10,0,1000,2000," + boldCell + "\t" + cell + CR + ":TABLE_END");
    const QString dump = DumpDocument(&doc);
    EXPECT_FALSE(dump.contains("rtf")) << dump.toStdString();
    EXPECT_TRUE(dump.contains("[2] font=Arial pt=10 sup")) << dump.toStdString();
    EXPECT_TRUE(dump.contains("[b] font=Arial pt=10 b")) << dump.toStdString();
    EXPECT_TRUE(doc.toPlainText().contains("1.5 m2 b")) << doc.toPlainText().toStdString();
    // A run around a block keeps its effect on both sides.
    EXPECT_TRUE(dump.contains("[3 ] font=Arial pt=10 b")) << dump.toStdString();
    EXPECT_TRUE(doc.toPlainText().contains("3 kg")) << doc.toPlainText().toStdString();
}

TEST(MarkupRender, ElevenTablesFindTheirOwnPlaces)
{
    QString text;
    for (int i = 1; i <= 11; ++i)
        text += QString("p%1").arg(i) + CR + QString(":TABLE_BEGIN[1,1]10,0,900,t%1").arg(i) + CR + ":TABLE_END" + CR;
    QTextDocument doc;
    RenderMarkupToRichEdit(10, "Arial", false, &doc, text);
    const QString dump = DumpDocument(&doc);
    qsizetype last = -1;
    for (int i = 1; i <= 11; ++i) {
        const qsizetype p = dump.indexOf(QString("[p%1]").arg(i)), t = dump.indexOf(QString("[t%1]").arg(i));
        EXPECT_GT(p, last);
        EXPECT_GT(t, p);
        last = t;
    }
}

TEST(MarkupReadBack, NormalFormIsStable)
{
    const QStringList normal = {
        "plain",
        "[cf3]bold[cf1] and [cf2]italic[cf1]",
        "[cf3][cf2]both[cf1]",
        "H[cf15]2[cf1]O",
        "m[cf11]2[cf1]",
        "[su1]under[cf1]",
        "[cf3][su1]x[cf1]",
        ";ga;gb;pm;NE;ts;me;le;dg",
        ";aui;aga;agi;ago;akl;aal;aaL;akc;aks;akz",
        "a" + CR + "b" + CR + CR + "c",
        "[cf3]a" + CR + "b[cf1]",
        "= 3 ~ [ ] ;",
        QString::fromUtf8("ß ő € ~"),
    };
    for (const QString& m : normal)
        EXPECT_EQ(ReadBack(m).toStdString(), m.toStdString());
}

TEST(MarkupReadBack, RenderOfReadBackEqualsRender)
{
    const QStringList other = {
        "[cfcenter][cf3]Title[cf1]" + CR + "Body",
        "[cfsize14]big[cf1]",
        "[cfarial]a[cf1][cftimes]b[cf1]",
        "[cf3]a;pmb[cf1]",
        "[cf3]x",
        "[cf3]a[cf2]b[cf1]c[cf1]",
        "[cfcolorred]r[cf1]",
        ";akd ;anA",
    };
    for (const QString& m : other) {
        const QString once = ReadBack(m);
        EXPECT_EQ(ReadBack(once).toStdString(), once.toStdString()) << m.toStdString();
        QTextDocument a, b;
        RenderMarkupToRichEdit(10, "Arial", false, &a, m);
        RenderMarkupToRichEdit(10, "Arial", false, &b, once);
        QString pa, pb;
        RichEditToPlainText(&a, pa);
        RichEditToPlainText(&b, pb);
        EXPECT_EQ(pa.toStdString(), pb.toStdString()) << m.toStdString();
    }
    EXPECT_EQ(ReadBack("[cfcenter][cf3]Title[cf1]"), "[cf3]Title[cf1]");
    EXPECT_EQ(ReadBack("[cf3]a[cf1]b"), "[cf3]a[cf1]b");
    EXPECT_EQ(ReadBack("[cf3]ab"), "[cf3]ab[cf1]");
    // Trailing empty lines do not appear in the mark-up.
    EXPECT_EQ(ReadBack("a" + CR + CR + CR), "a");
    EXPECT_EQ(ReadBack("[cf3]a" + CR + CR + "[cf1]"), "[cf3]a[cf1]");
}

TEST(MarkupReadBack, PlainText)
{
    QTextDocument doc;
    RenderMarkupToRichEdit(10, "Arial", false, &doc, "[cf3];aui;agi;ago;aga[cf1] ;ga=3 x;pmy" + CR + "z");
    QString plain;
    EXPECT_FALSE(RichEditToPlainText(&doc, plain));
    EXPECT_EQ(plain.toStdString(), "denr a=3 x y\rz");
}

TEST(MarkupHelpers, SmallRoutines)
{
    EXPECT_EQ(WrapRtfBlock("plain"), "plain");
    EXPECT_EQ(WrapRtfBlock("{\\rtf1 x}"), ":RTF_BEGIN{\\rtf1 x}:RTF_END");
    EXPECT_EQ(ReplaceRtfDefaultFontSize("{\\rtf1\\fs24 a\\fs240 b\\fs24}", 10), "{\\rtf1\\fs20 a\\fs240 b\\fs20}");
    EXPECT_EQ(ReplaceRtfDefaultFontSize("\\fs24", 10), "\\fs24");
    EXPECT_TRUE(IsFormatCodeAt("x[cf3]y[cf3]", 1));
    EXPECT_FALSE(IsFormatCodeAt("x[cf3]y[cf3]", 7));
    EXPECT_EQ(FormatCodeBit(1), 1u);
    EXPECT_EQ(FormatCodeBit(17), 0x10000u);
    EXPECT_EQ(FormatCodeBit(18), 0u);
    QString comment = "{\\rtf1 [cf3]x[cf1];ga}";
    EXPECT_FALSE(IsRtfComment(comment));
    EXPECT_EQ(comment, "[cf3]x[cf1];ga");
    QString real = "{\\rtf1 {\\b x}}";
    EXPECT_TRUE(IsRtfComment(real));
    QString blank = "{\\rtf1 \\par\\par}";
    EXPECT_TRUE(TrimRtfTrailingLines(blank));
    QString lines = "{\\rtf1 x\\par\\par\\par}";
    EXPECT_FALSE(TrimRtfTrailingLines(lines));
    QTextDocument doc;
    ReadRtfDocument(lines.toLatin1(), &doc);
    EXPECT_EQ(doc.toPlainText(), "x");
}

TEST(MarkupHelpers, ApplyMarkupInPlace)
{
    QTextDocument doc;
    doc.setPlainText("a [cf3]b;pm[cf1] c [cfcenter]d");
    ApplyMarkupInRichEdit(10, &doc);
    const QString dump = DumpDocument(&doc);
    EXPECT_TRUE(dump.contains(QString::fromUtf8("[b±] font=Sans Serif pt=10 b"))) << dump.toStdString();
    EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("a b± c [cfcenter]d"));
}

// An empty line after a table shows as one, as it does in word processors: the layout
// would give the empty paragraph right after a table no height.
TEST(MarkupRender, EmptyLineAfterATableShows)
{
    const QString table = ":TABLE_BEGIN[1,2]10,50,2000,h" + CR + "v" + CR + ":TABLE_END";
    const auto gapBelowTable = [](const QString& markup) {
        QTextDocument doc;
        RenderMarkupToRichEdit(10, "Arial", true, &doc, markup);
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            doc.drawContents(&painter);
        }
        // The table's last border line, then the first ink below it.
        const auto inkAt = [&](int y) {
            for (int x = 0; x < 60; ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    return true;
            return false;
        };
        int y = image.height() - 1;
        while (y > 0 && !inkAt(y))
            --y; // the bottom of the text below the table
        while (y > 0 && inkAt(y))
            --y;
        int gap = 0;
        while (y > 0 && !inkAt(y)) {
            --y;
            ++gap;
        }
        return gap;
    };
    const int tight = gapBelowTable(table + "B");
    const int spaced = gapBelowTable(table + CR + "B");
    EXPECT_GT(spaced - tight, 10) << tight << " " << spaced;
}
