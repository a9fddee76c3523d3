#include "platform/code_pages.h"

#include <gtest/gtest.h>

using namespace orvek;

TEST(CodePages, EveryDefinedByteMapsBackToItself)
{
    for (int cp : { CodePage1250, CodePage1252, SymbolCodePage }) {
        for (int b = 0x20; b < 0x100; ++b) {
            const QChar ch = CodePageToUnicode(cp, uchar(b));
            if (ch.unicode() == 0xFFFD)
                continue;
            // The Symbol font repeats (R), (C) and TM at 0xE2..0xE4; the first byte wins.
            if (cp == SymbolCodePage && b >= 0xE2 && b <= 0xE4)
                continue;
            EXPECT_EQ(UnicodeToCodePage(cp, ch), b) << "code page " << cp << " byte " << b;
        }
    }
}

TEST(CodePages, KnownCharacters)
{
    struct Case {
        int cp;
        uchar byte;
        char16_t ch;
    };
    const Case cases[] = {
        { CodePage1250, 0xEF, u'ď' },
        { CodePage1250, 0xE0, u'ŕ' },
        { CodePage1250, 0xEC, u'ě' },
        { CodePage1250, 0xF2, u'ň' },
        { CodePage1250, 0xBE, u'ľ' },
        { CodePage1250, 0xE5, u'ĺ' },
        { CodePage1250, 0x9A, u'š' },
        { CodePage1250, 0x80, u'€' },
        { CodePage1252, 0xE5, u'å' },
        { CodePage1252, 0xE8, u'è' },
        { SymbolCodePage, 0x61, u'α' },
        { SymbolCodePage, 0x44, u'Δ' },
        { SymbolCodePage, 0x57, u'Ω' },
        { SymbolCodePage, 0xB1, u'±' },
        { SymbolCodePage, 0xA5, u'∞' },
        { SymbolCodePage, 0xB4, u'×' },
        { SymbolCodePage, 0xB3, u'≥' },
        { SymbolCodePage, 0xA3, u'≤' },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CodePageToUnicode(c.cp, c.byte).unicode(), c.ch) << int(c.byte);
        EXPECT_EQ(UnicodeToCodePage(c.cp, QChar(c.ch)), c.byte);
    }
    EXPECT_EQ(UnicodeToCodePage(CodePage1250, QChar(u'å')), -1);
    EXPECT_EQ(CodePageToUnicode(CodePage1250, 0x81).unicode(), 0xFFFD);
    // A legacy Symbol byte: 0x33 stands for greater-or-equal, 0x4C stays lambda.
    EXPECT_EQ(SymbolByteFromRtf(0x33).unicode(), u'≥');
    EXPECT_EQ(SymbolByteFromRtf(0x4C).unicode(), u'Λ');
}

TEST(CodePages, LanguagesAndConversions)
{
    EXPECT_EQ(CodePageOfLanguage(1051), 1250); // Slovak
    EXPECT_EQ(CodePageOfLanguage(1029), 1250); // Czech
    EXPECT_EQ(CodePageOfLanguage(1033), 1252); // US English
    EXPECT_EQ(CharsetOfLanguage(1051), 238);
    EXPECT_EQ(CharsetOfLanguage(1033), 0);
    EXPECT_EQ(AnsiToWideCP(QByteArray("\x9a\xe1l"), 1250), QString::fromUtf8("šál"));
    EXPECT_EQ(AnsiToWideCP(QByteArray(), 1250), QString());
    // The way out trims characters below 33 at both ends only.
    EXPECT_EQ(WideToAnsiCP(QString::fromUtf8(" \tš a\r\n"), 1250), QByteArray("\x9a a"));
    EXPECT_EQ(WideToAnsiCP(QString::fromUtf8("å"), 1250), QByteArray("?"));
    EXPECT_EQ(WideToAnsiCP(QStringLiteral("  "), 1250), QByteArray());
}
