// Malformed mark-up goes through rendering, reading back and drawing without crash or
// hang: explicit cases and a seeded mutation run. A hang is caught by ctest's timeout;
// growth is checked as the ratio of two input sizes.

#include "richtext/markup_read.h"
#include "richtext/markup_render.h"
#include "tests/support/growth.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace orvek;

namespace {
void Exercise(const QString& markup)
{
    QTextDocument doc;
    RenderMarkupToRichEdit(10, "Arial", true, &doc, markup);
    QString back, plain;
    RichEditToMarkup(&doc, back);
    RichEditToPlainText(&doc, plain);
    QTextDocument again;
    RenderMarkupToRichEdit(10, "Arial", false, &again, back);
    QImage image(200, 20, QImage::Format_ARGB32);
    QPainter painter(&image);
    for (int align : { 0, 1, 2 })
        DrawMarkupText(painter, align, markup, QRect(0, 0, 200, 20));
}
} // namespace

TEST(MarkupMalformed, ExplicitCases)
{
    const QStringList cases = {
        ":TABLE_BEGIN[]:TABLE_END",
        ":TABLE_BEGIN[,]10,0,:TABLE_END",
        ":TABLE_BEGIN[999999999,3]10,0,1,\r:TABLE_END",
        ":TABLE_BEGIN[2,999999999]10,0,100,200,a\tb\r:TABLE_END",
        ":TABLE_BEGIN[3,5]10,0,1,2,3,a\r:TABLE_END",
        ":TABLE_BEGIN[2,1]10,0,100,:TABLE_END",
        ":TABLE_BEGIN[1,1]99999999999,0,100,x\r:TABLE_END",
        ":TABLE_BEGIN[1,1]10,0,100,a\tb\tc\td\r:TABLE_END",
        "x[cfsize",
        "x[cfsize9",
        "[cfcolor",
        "[cfcolorred",
        "[cfcolor" + QString(100000, 'r'),
        "[cf1][cf1][cf1]",
        QString(20000, '[') + "cf3]",
        ":RTF_BEGIN:RTF_END",
        ":RTF_BEGIN{\\rtf1 " + QString(50000, '{') + ":RTF_END",
        ":RTF_END:RTF_BEGIN",
        QString::fromUtf16(u"\xFDD0\xFDD0:TABLE_BEGIN[1,1]1,0,1,x\r:TABLE_END\xFDD0"),
        ";;;;;g;a;",
        "[cfright][cfleft][cfcenter]",
        QString(5000, ';') + "ga",
    };
    for (const QString& c : cases) {
        SCOPED_TRACE(c.left(60).toStdString());
        Exercise(c);
    }
}

// Unclosed runs, blocks without end markers and long cells cost in proportion to their
// text: twice the text takes well under the four times a quadratic renderer would need.
TEST(MarkupMalformed, CostGrowsLinearlyWithTheText)
{
    const auto repeated = [](const QString& piece, int n) {
        QString text;
        text.reserve(piece.size() * n);
        for (int i = 0; i < n; ++i)
            text += piece;
        return text;
    };
    QTextDocument doc;
    RenderMarkupToRichEdit(10, "Arial", true, &doc, repeated("[cf3]x", 20000));
    EXPECT_EQ(doc.toPlainText(), QString(20000, 'x'));

    const auto render = [&](const QString& piece, const QString& head, const QString& tail) {
        return [&, piece, head, tail](int n) {
            QTextDocument target;
            RenderMarkupToRichEdit(10, "Arial", false, &target, head + repeated(piece, n) + tail);
        };
    };
    EXPECT_LT(test::GrowthRatio(render("[cf3]x", "", ""), 10000), 3.0) << "unclosed runs";
    EXPECT_LT(test::GrowthRatio(render(":RTF_BEGIN:TABLE_BEGIN", "", ""), 10000), 3.0) << "blocks without end";
    EXPECT_LT(test::GrowthRatio(render("[cf3]x[cf1][", ":TABLE_BEGIN[1,1]10,0,1000,", "\r:TABLE_END"), 10000), 3.0)
        << "long cell";
}

TEST(MarkupMalformed, SeededMutationsNeverCrash)
{
    const QStringList corpus = {
        "[cfcenter][cf3]Title[cf1]\r[cf2]a;pmb[cf1] [cfsize12]c[cf1] [cfcolorred]d[cf1] [cfisurl]u[cf1]",
        "\r:TABLE_BEGIN[3,2]10,50,1250,3050,4250,[cf3]x[cf1]\tb;pm\t[cf11]2[cf1]\r1\t2\t3\r:TABLE_END tail",
        "a:RTF_BEGIN{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 x\\par}:RTF_END b ;aui;ga",
    };
    const QStringList pieces = { "[cf1]", "[cf3]", "[cfsize", "[cfcolor", "]", "\r", "\t", ":TABLE_BEGIN[",
        ":TABLE_END", ":RTF_BEGIN", ":RTF_END", ",", "999999", ";g", "{", "}" };
    QRandomGenerator random(101);
    for (int round = 0; round < 600; ++round) {
        QString text = corpus[random.bounded(int(corpus.size()))];
        const int edits = 1 + random.bounded(6);
        for (int e = 0; e < edits && !text.isEmpty(); ++e) {
            const int at = random.bounded(int(text.size()));
            switch (random.bounded(4)) {
            case 0:
                text[at] = QChar(char16_t(random.bounded(1, 0x250)));
                break;
            case 1:
                text.remove(at, random.bounded(1, 12));
                break;
            case 2:
                text.insert(at, pieces[random.bounded(int(pieces.size()))]);
                break;
            default:
                text.truncate(at);
                break;
            }
        }
        Exercise(text);
    }
}

TEST(DrawMarkupText, SuperscriptIsSmallerAndRaised)
{
    QImage image(120, 30, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font("DejaVu Sans");
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(Qt::black);
    DrawMarkupText(painter, 0, "m[cf11]2[cf1]", QRect(0, 0, 120, 30));
    painter.end();
    // Rows with ink of "m" and of "2": the "2" starts higher than the "m".
    auto inkTop = [&](int x0, int x1) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = x0; x < x1; ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    return y;
        return -1;
    };
    int mStart = 0;
    while (mStart < 120 && inkTop(mStart, mStart + 1) < 0)
        ++mStart;
    int mEnd = mStart;
    while (mEnd < 120 && inkTop(mEnd, mEnd + 1) >= 0)
        ++mEnd;
    image.save(QDir::tempPath() + "/draw_markup.png");
    const int mTop = inkTop(mStart, mEnd), twoTop = inkTop(mEnd + 1, 120);
    ASSERT_GE(mTop, 0);
    ASSERT_GE(twoTop, 0);
    EXPECT_LT(twoTop, mTop);
}
