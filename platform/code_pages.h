#pragma once
// Single-byte code pages of rich text: Windows-1250 (east-European), Windows-1252
// (western) and the Symbol font's own encoding. These three tables are the only
// byte/character tables of the program; everything else is Unicode.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QtGlobal>

namespace orvek {

// Code page numbers as RTF writes them; the Symbol font has no Windows code page,
// it is given its own number here.
constexpr int CodePage1250 = 1250;
constexpr int CodePage1252 = 1252;
constexpr int SymbolCodePage = 42;

// The character of Byte in CodePage (1250, 1252 or SymbolCodePage; any other code page
// reads as 1252). Bytes that the code page leaves undefined give U+FFFD.
QChar CodePageToUnicode(int codePage, uchar byte);
// The byte of Ch in CodePage, or -1 when the code page has no such character.
int UnicodeToCodePage(int codePage, QChar ch);

// A byte of a Symbol-font run read from RTF. Besides the font's own character, two
// legacy bytes are accepted: 0x33 stands for the greater-or-equal sign (written with
// the high bit lost); 0x4C stays the capital lambda, which the font shows there.
QChar SymbolByteFromRtf(uchar byte);

// The code page of an RTF font character set (\fcharsetN): 238 → 1250, 2 → Symbol,
// anything else → 1252.
int CodePageOfCharset(int charset);
// The character set of a code page, for \fcharset: 1250 → 238, Symbol → 2, else 0.
int CharsetOfCodePage(int codePage);

// The default ANSI code page of a Windows locale id: the Central-European locales
// (Slovak, Czech, Polish, Hungarian, Slovenian, Croatian, Romanian, Albanian) use
// 1250, every other locale 1252.
quint16 CodePageOfLanguage(quint16 languageId);
// The font character set of the locale's code page.
int CharsetOfLanguage(quint16 languageId);

// Text in CodePage to Unicode; an empty text gives an empty result.
QString AnsiToWideCP(const QByteArray& text, int codePage);
// Unicode to CodePage: the characters below 33 are first removed from both ends;
// characters the code page cannot show become "?".
QByteArray WideToAnsiCP(const QString& text, int codePage);

} // namespace orvek
