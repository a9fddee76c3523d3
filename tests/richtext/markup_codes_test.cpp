#include "platform/code_pages.h"
#include "richtext/markup_codes.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace orvek;

TEST(MarkupCodeTable, ShapeAndUniqueness)
{
    ASSERT_EQ(MarkupCodeTable.size(), 112u);
    QSet<QString> codes;
    for (int i = 1; i <= MarkupCodeCount; ++i) {
        const QString code = MarkupCodeText(i);
        EXPECT_FALSE(codes.contains(code)) << code.toStdString();
        codes.insert(code);
        const bool format = i <= FormatCodeCount;
        EXPECT_EQ(format, code.startsWith('[')) << i;
        EXPECT_EQ(QString(MarkupCodeTable[i - 1].CloseCode) == "[cf1]", i <= 14) << i;
        // No code is a prefix of another code of the same kind.
        for (int k = 1; k <= MarkupCodeCount; ++k)
            if (k != i && (k <= FormatCodeCount) == format) {
                EXPECT_FALSE(MarkupCodeText(k).startsWith(code)) << code.toStdString();
            }
    }
    EXPECT_EQ(MarkupCodeText(SymbolCodeFirst), ";NE");
    EXPECT_EQ(MarkupCodeText(SymbolCodeLast), ";dg");
    EXPECT_EQ(MarkupCodeText(LetterCodeFirst), ";alC");
    EXPECT_EQ(MarkupCodeText(LetterCodeLast), ";akU");
}

TEST(MarkupCodeTable, GlyphsAndReadingBack)
{
    struct Case {
        const char* code;
        const char* glyph;
        const char* readBack;
    };
    const Case cases[] = {
        { ";aui", "ď", ";aui" },
        { ";akd", "ď", ";aui" },
        { ";aga", "ŕ", ";aga" },
        { ";agi", "ě", ";agi" },
        { ";ago", "ň", ";ago" },
        { ";afe", "ę", ";afe" },
        { ";afu", "ű", ";afu" },
        { ";atn", "ń", ";atn" },
        { ";atN", "Ń", ";atN" },
        { ";akl", "ľ", ";akl" },
        { ";aal", "ĺ", ";aal" },
        { ";aaL", "Ĺ", ";aaL" },
        { ";ana", "å", ";ana" },
        { ";age", "è", ";age" },
        { ";akc", "č", ";akc" },
        { ";gG", "Γ", ";gG" },
        { ";ga", "α", ";ga" },
        { ";gW", "Ω", ";gW" },
        { ";gD", "Δ", ";gD" },
        { ";pm", "±", ";pm" },
        { ";NE", "∞", ";NE" },
        { ";ts", "×", ";ts" },
        { ";me", "≥", ";me" },
        { ";le", "≤", ";le" },
        { ";dg", "°", ";dg" },
        { ";gL", "Λ", ";gL" },
    };
    for (const Case& c : cases) {
        int entry = 0;
        for (int i = SymbolCodeFirst; i <= LetterCodeLast; ++i)
            if (MarkupCodeText(i) == c.code)
                entry = i;
        ASSERT_NE(entry, 0) << c.code;
        EXPECT_EQ(QString(MarkupCodeGlyph(entry)), QString::fromUtf8(c.glyph)) << c.code;
        EXPECT_EQ(MarkupCodeText(MarkupEntryForChar(MarkupCodeGlyph(entry))), c.readBack) << c.code;
    }
    // The Symbol alternative bytes, applied to Symbol-font bytes read from RTF, agree
    // with the table: the first entry showing or alternatively coding the byte wins.
    for (int i = SymbolCodeFirst; i <= SymbolCodeLast; ++i) {
        const uchar alt = MarkupCodeTable[i - 1].AltCode;
        if (alt == 0)
            continue;
        EXPECT_EQ(MarkupCodeForChar(2, alt), MarkupCodeText(MarkupEntryForChar(SymbolByteFromRtf(alt))));
    }
    EXPECT_EQ(MarkupCodeForChar(2, 0x33), ";me");
    EXPECT_EQ(MarkupCodeForChar(2, 0x4C), ";gL");
    EXPECT_EQ(MarkupCodeForChar(238, 0xEF), ";aui");
    EXPECT_EQ(MarkupCodeForChar(0, 0xE5), ";ana");
    EXPECT_EQ(MarkupCodeForChar(238, 0x41), "");
}

TEST(MarkupCodeTable, PlainBaseLettersAndColours)
{
    const struct {
        const char* ch;
        char16_t base;
    } cases[] = {
        { "ď", u'd' },
        { "ě", u'e' },
        { "ň", u'n' },
        { "ŕ", u'r' },
        { "ľ", u'l' },
        { "ů", u'u' },
        { "α", u'a' },
        { "±", u' ' },
        { "°", u'°' },
        { "ß", u'ß' },
        { "€", u'€' },
        { "x", u'x' },
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlainBaseChar(QString::fromUtf8(c.ch)[0]).unicode(), c.base) << c.ch;
    QColor color;
    ASSERT_TRUE(MarkupColorOfName("fuchsia", &color));
    EXPECT_EQ(color, QColor(255, 0, 255));
    ASSERT_TRUE(MarkupColorOfName("Navy", &color));
    EXPECT_EQ(color, QColor(0, 0, 128));
    EXPECT_FALSE(MarkupColorOfName("BLACK", &color));
}
